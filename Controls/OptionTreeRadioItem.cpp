#include "Controls/OptionTreeRadioItem.h"

#include "Controls/OptionTree.h"

BEGIN_MESSAGE_MAP(COptionTreeRadioItem, COptionTreeRadioWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

COptionTreeRadioItem::COptionTreeRadioItem() { SetType(OT_ITEM_RADIO); }

COptionTreeRadioItem::~COptionTreeRadioItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeRadioItem::CreateEditor()
{
    if (!GetOptionTree() || GetSafeHwnd() || !CreateOwnerDrawnEditor(this))
        return FALSE;
    SetLabelAtTop(TRUE);
    m_otRadioOption = GetOptionTree();
    SettleEditor(this);
    return TRUE;
}

void COptionTreeRadioItem::AddOption(LPCTSTR lpszText, BOOL bChosen)
{
    AppendOption(lpszText, bChosen);
    UpdateHeight();
}

void COptionTreeRadioItem::UpdateHeight()
{
    SetHeight(OT_RADIO_LINEHEIGHT * GetOptionCount() + 2);
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void COptionTreeRadioItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    for (int i = 0; i < GetOptionCount(); ++i) {
        CRect mark = MarkRect(rcValue.TopLeft(), i);
        pDC->DrawFrameControl(&mark, DFC_BUTTON,
                              DFCS_BUTTONRADIO | DFCS_FLAT | (IsOptionChosen(i) ? DFCS_CHECKED : 0));
        const CRect line = LineRect(rcValue, i);
        CRect text(mark.right + 5, line.top, line.right, line.bottom);
        pDC->DrawText(GetOptionText(i), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    pDC->RestoreDC(saved);
}

void COptionTreeRadioItem::ActivateEditor() { ActivateWindow(this); }

void COptionTreeRadioItem::MoveEditor()
{
    MoveWindowEditor(this);
    UpdateHeight();
}

void COptionTreeRadioItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeRadioItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeRadioItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeRadioItem::OnDeselect() { CommitChanges(TRUE); }
void COptionTreeRadioItem::OnSelect() { CommitChanges(TRUE); }

void COptionTreeRadioItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    COptionTreeRadioWnd::OnSetFocus(pOldWnd);
}

void COptionTreeRadioItem::OnKillFocus(CWnd* pNewWnd)
{
    COptionTreeRadioWnd::OnKillFocus(pNewWnd);
    if (!GetOptionTree() || !pNewWnd)
        return;
    m_bFocus = FALSE;
    CommitChanges(TRUE);
}
