// COptionTreeNumberEdit: the edit field of a spinner. The arrow keys step
// the spinner; typing and the editing commands act only while the spinner
// allows editing (OT_SPINNER_EDITABLE). Its context menu offers Undo, Cut,
// Copy, Paste, Delete and Select All, enabled as the state allows.
#pragma once

#include "Platform/Edit.h"

class COptionTreeSpinnerWnd;

class COptionTreeNumberEdit : public CEdit {
public:
    void SetSpinner(COptionTreeSpinnerWnd* pSpinner) { m_pSpinner = pSpinner; }

protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    BOOL OnChange();
    void OnKillFocus(CWnd* pNewWnd);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    bool Editable() const;

    COptionTreeSpinnerWnd* m_pSpinner = nullptr;
};
