// COptionTreeComboBoxItem: the row whose value is picked from a drop-down
// list shown over the value column while the row is edited. Picking an
// entry commits with notification; a focus move to another window of the
// program commits silently; a focus leaving for no window commits nothing.
// Entries may carry a text as item datum (CB_SETITEMDATA with a text
// pointer): the row keeps its own copy of each, so the caller's text need
// not outlive the call.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/ComboBox.h"

#include <deque>

class COptionTreeComboBoxItem : public CComboBox, public COptionTreeItem {
public:
    COptionTreeComboBoxItem();
    ~COptionTreeComboBoxItem() override;

    // 1 when the list was made; 0 outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwAddStyle = 0);
    void SetDropHeight(long lHeight) { m_lDropHeight = lHeight; }
    long GetDropHeight() const { return m_lDropHeight; }

    // The selected index, -1 for none.
    int GetValueInt() override;
    // The selected entry's datum text; empty for none or an entry without one.
    LPCTSTR GetValueText() override;
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
    void OnSelChange();
    LRESULT OnSetItemData(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bFocus = FALSE;
    long m_lDropHeight = 100;
    std::deque<CString> m_texts;  // copies of the datum texts; addresses stay put
};
