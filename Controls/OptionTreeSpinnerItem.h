// COptionTreeSpinnerItem: the row of a number edited in a spinner. Its
// value is read with GetEditValue. A focus move from the spinner's parts
// (its edit field and its window) to any other window of the program
// commits with notification; moves between the parts, and to no window, do
// not.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Controls/OptionTreeSpinnerWnd.h"

#define OT_ITEM_SPINNER 9

class COptionTreeSpinnerItem : public COptionTreeSpinnerWnd, public COptionTreeItem {
public:
    COptionTreeSpinnerItem();
    ~COptionTreeSpinnerItem() override;

    // TRUE when the window was made; FALSE outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwOptions, double dValue, double dMin, double dMax);

    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;

protected:
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    LRESULT OnCommit(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bFocus = FALSE;
};
