#include "Controls/OptionTreeCheckBoxItem.h"

#include "Controls/OptionTree.h"

BEGIN_MESSAGE_MAP(COptionTreeCheckBoxItem, COptionTreeCheckWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

COptionTreeCheckBoxItem::COptionTreeCheckBoxItem() { SetType(OT_ITEM_CHECKBOX); }

COptionTreeCheckBoxItem::~COptionTreeCheckBoxItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeCheckBoxItem::CreateEditor(BOOL bChecked, DWORD dwOptions)
{
    if (!GetOptionTree() || GetSafeHwnd() || !CreateOwnerDrawnEditor(this))
        return FALSE;
    m_dwOptions = dwOptions;
    SetCheck(bChecked);
    m_bCheckAtFocus = GetCheck();
    SetCheckOptionsOwner(GetOptionTree());
    SettleEditor(this);
    return TRUE;
}

int COptionTreeCheckBoxItem::GetValueInt() { return GetCheck() ? 1 : 0; }

void COptionTreeCheckBoxItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    CFont* old = pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    CRect text = rcValue;
    if (GetOption(OT_CHECK_SHOWBOX)) {
        CRect box(rcValue.left, rcValue.top + 3, rcValue.left + 14, rcValue.top + 17);
        pDC->DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (GetCheck() ? DFCS_CHECKED : 0));
        text.left = box.right + 5;
    }
    if (GetOption(OT_CHECK_SHOWTEXT))
        pDC->DrawText(GetCheck() ? GetCheckedText() : GetUncheckedText(), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void COptionTreeCheckBoxItem::ActivateEditor() { ActivateWindow(this); }

void COptionTreeCheckBoxItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeCheckBoxItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeCheckBoxItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeCheckBoxItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeCheckBoxItem::OnDeselect() { CommitChanges(TRUE); }
void COptionTreeCheckBoxItem::OnSelect() { CommitChanges(FALSE); }

void COptionTreeCheckBoxItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    m_bCheckAtFocus = GetCheck();
    COptionTreeCheckWnd::OnSetFocus(pOldWnd);
}

void COptionTreeCheckBoxItem::OnKillFocus(CWnd* pNewWnd)
{
    COptionTreeCheckWnd::OnKillFocus(pNewWnd);
    if (!GetOptionTree() || !pNewWnd)
        return;
    m_bFocus = FALSE;
    CommitChanges(GetCheck() != m_bCheckAtFocus);
}
