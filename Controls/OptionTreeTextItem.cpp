#include "Controls/OptionTreeTextItem.h"

#include "Controls/OptionTree.h"

COptionTreeTextItem::COptionTreeTextItem() { SetType(OT_ITEM_PLAIN); }

BOOL COptionTreeTextItem::Init(DWORD dwOptions)
{
    if (!GetOptionTree())
        return FALSE;
    m_dwOptions = dwOptions;
    return TRUE;
}

void COptionTreeTextItem::SetOption(DWORD dwOption, BOOL bSet)
{
    if (bSet)
        m_dwOptions |= dwOption;
    else
        m_dwOptions &= ~dwOption;
}

void COptionTreeTextItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (!GetOptionTree())
        return;
    CFont* old = pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    pDC->DrawText(m_strText, &rcValue, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SelectObject(old);
}
