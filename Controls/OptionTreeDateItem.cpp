#include "Controls/OptionTreeDateItem.h"

#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeDateItem, CDateTimeCtrl)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

COptionTreeDateItem::COptionTreeDateItem() { SetType(OT_ITEM_DATE); }

COptionTreeDateItem::~COptionTreeDateItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeDateItem::CreateEditor(LPCTSTR lpszFormat, DWORD dwDateStyle)
{
    if (!GetOptionTree() || GetSafeHwnd())
        return FALSE;
    if (!Create(dwDateStyle | WS_CHILD | WS_VISIBLE, GetValueRect(), GetOptionTree()->GetListWnd(), GetItemID()))
        return FALSE;
    SetFont(COptionTree::GetNormalFont(), TRUE);
    SetFormat(lpszFormat);
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    return TRUE;
}

void COptionTreeDateItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    const bool grey = IsReadOnly() || !GetOptionTree()->IsWindowEnabled();
    pDC->SetTextColor(grey ? GetSysColor(COLOR_GRAYTEXT) : GetValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    char text[256];
    GetWindowText(text, sizeof text);
    pDC->DrawText(text, &rcValue, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->RestoreDC(saved);
}

void COptionTreeDateItem::ActivateEditor()
{
    if (!GetSafeHwnd())
        return;
    ShowWindow(SW_SHOW);
    PlaceEditor(this);
    SetFocus();
}

void COptionTreeDateItem::MoveEditor()
{
    RefreshEditor();
    if (GetSafeHwnd() && !m_bFocus)
        ShowWindow(SW_HIDE);
}

void COptionTreeDateItem::RefreshEditor()
{
    if (GetSafeHwnd())
        PlaceEditor(this);
}

void COptionTreeDateItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeDateItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeDateItem::OnDeselect() { HideWindowEditor(this); }

void COptionTreeDateItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CDateTimeCtrl::OnSetFocus(pOldWnd);
}

void COptionTreeDateItem::OnKillFocus(CWnd* pNewWnd)
{
    const CWnd* calendar = GetMonthCalCtrl();
    if (GetOptionTree() && pNewWnd && pNewWnd != calendar && pNewWnd != this) {
        m_bFocus = FALSE;
        CommitChanges(TRUE);
    }
    CDateTimeCtrl::OnKillFocus(pNewWnd);
}
