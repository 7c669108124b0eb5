#include "Controls/OptionTreeComboBoxItem.h"

#include "Controls/OptionTree.h"

BEGIN_MESSAGE_MAP(COptionTreeComboBoxItem, CComboBox)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
    ON_MESSAGE(CB_SETITEMDATA, OnSetItemData)
END_MESSAGE_MAP()

COptionTreeComboBoxItem::COptionTreeComboBoxItem() { SetType(OT_ITEM_COMBOBOX); }

COptionTreeComboBoxItem::~COptionTreeComboBoxItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeComboBoxItem::CreateEditor(DWORD dwAddStyle)
{
    COptionTree* grid = GetOptionTree();
    if (!grid || GetSafeHwnd())
        return FALSE;
    if (!Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | dwAddStyle, GetValueRect(), grid->GetListWnd(),
                GetItemID()))
        return FALSE;
    SettleEditor(this);
    return TRUE;
}

LRESULT COptionTreeComboBoxItem::OnSetItemData(WPARAM wParam, LPARAM lParam)
{
    if (lParam) {
        m_texts.emplace_back(reinterpret_cast<const char*>(lParam));
        lParam = reinterpret_cast<LPARAM>(static_cast<const char*>(m_texts.back()));
    }
    return DefWindowProc(CB_SETITEMDATA, wParam, lParam);
}

int COptionTreeComboBoxItem::GetValueInt() { return GetSafeHwnd() ? GetCurSel() : -1; }

LPCTSTR COptionTreeComboBoxItem::GetValueText()
{
    const int selected = GetSafeHwnd() ? GetCurSel() : CB_ERR;
    if (selected == CB_ERR)
        return "";
    const DWORD_PTR datum = GetItemData(selected);
    return datum && datum != DWORD_PTR(CB_ERR) ? reinterpret_cast<const char*>(datum) : "";
}

void COptionTreeComboBoxItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    const int length = GetWindowTextLength();
    CString text;
    GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer(length);
    CFont* old = pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(text, &rcValue, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void COptionTreeComboBoxItem::ActivateEditor() { ActivateWindow(this, m_lDropHeight); }

void COptionTreeComboBoxItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeComboBoxItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeComboBoxItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeComboBoxItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeComboBoxItem::OnDeselect() { CommitEditor(); }

void COptionTreeComboBoxItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CComboBox::OnSetFocus(pOldWnd);
}

void COptionTreeComboBoxItem::OnKillFocus(CWnd* pNewWnd)
{
    CComboBox::OnKillFocus(pNewWnd);
    if (!GetOptionTree() || !pNewWnd)
        return;
    m_bFocus = FALSE;
    CommitChanges(FALSE);
}

void COptionTreeComboBoxItem::OnSelChange() { CommitChanges(TRUE); }
