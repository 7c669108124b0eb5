// COptionTreeIPAddressItem: the row of an IPv4 address, edited in an IP
// address control over the value column whose four fields the row lays out
// itself: w = (W - 25) / 4 wide at x = 5, w + 10, 2w + 15 and 3w + 20, with
// the dots in the gaps. A full field (or a typed full stop) moves on to the
// next. A focus move from the control or a field to any other window of the
// program commits, with notification when the address differs from the one
// the edit began with; moves between the fields, and to no window, do not.
// The address is read with GetAddress.
#pragma once

#include "Controls/OptionTreeIPAddressEdit.h"
#include "Controls/OptionTreeItem.h"
#include "Platform/IPAddressCtrl.h"

#define OT_ITEM_IPADDRESS 12

class COptionTreeIPAddressItem : public CIPAddressCtrl, public COptionTreeItem {
public:
    COptionTreeIPAddressItem();
    ~COptionTreeIPAddressItem() override;

    // TRUE when the control was made; FALSE outside a grid or when it exists.
    BOOL CreateEditor(DWORD dwStyle = 0);
    // Field 1-4, left to right.
    COptionTreeIPAddressEdit* GetFieldEdit(int nField);
    // The address as the value shows it.
    CString GetShownText() const;

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
    LRESULT OnFieldFocusLost(WPARAM wParam, LPARAM lParam);
    LRESULT OnNextField(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int FieldWidth() const;
    void LayoutFields(bool repaint);
    bool IsField(HWND hWnd) const;
    // Commits when the focus went to another window of the program.
    void CommitOnFocusMove(HWND hNew);

    BOOL m_bFocus = FALSE;
    DWORD m_dwAddressAtEdit = 0;
    COptionTreeIPAddressEdit m_field4;
    COptionTreeIPAddressEdit m_field3;
    COptionTreeIPAddressEdit m_field2;
    COptionTreeIPAddressEdit m_field1;
};
