// COptionTreeCheckBoxItem: the row of a boolean value, drawn as a flat
// check box (OT_CHECK_SHOWBOX) with the state's text (OT_CHECK_SHOWTEXT).
// While edited, its check window covers the value column; a focus move to
// another window of the program commits, with notification when the state
// changed. Deselecting the row commits with notification: a row never
// edited reports once, at the grid's first deselect pass.
#pragma once

#include "Controls/OptionTreeCheckWnd.h"
#include "Controls/OptionTreeItem.h"

class COptionTreeCheckBoxItem : public COptionTreeCheckWnd, public COptionTreeItem {
public:
    COptionTreeCheckBoxItem();
    ~COptionTreeCheckBoxItem() override;

    // 1 when the window was made; 0 outside a grid or when it exists.
    BOOL CreateEditor(BOOL bChecked, DWORD dwOptions);

    int GetValueInt() override;
    void DrawValue(CDC* pDC, CRect rcValue) override;
    void ActivateEditor() override;
    void MoveEditor() override;
    void RefreshEditor() override;
    void CommitEditor() override;
    void DestroyEditor() override;
    void OnDeselect() override;
    void OnSelect() override;

protected:
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bFocus = FALSE;
    BOOL m_bCheckAtFocus = FALSE;
};
