// COptionTreeDateItem: the row of a date or time, edited in a date-time
// picker over the value column. Idle, the value shows the picker's text.
// A focus move from the picker to any other window of the program commits
// with notification, except to its own month calendar; a move to no
// window commits nothing and leaves the picker shown. The date itself is
// the picker's: set and read with SetTime and GetTime.
#pragma once

#include "Controls/OptionTreeItem.h"
#include "Platform/DateTimeCtrl.h"

#define OT_ITEM_DATE 5

class COptionTreeDateItem : public CDateTimeCtrl, public COptionTreeItem {
public:
    COptionTreeDateItem();
    ~COptionTreeDateItem() override;

    // 0 outside a grid or when the picker exists; otherwise the creation result.
    BOOL CreateEditor(LPCTSTR lpszFormat, DWORD dwDateStyle = 0);

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
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bFocus = FALSE;
};
