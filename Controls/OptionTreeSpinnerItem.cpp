#include "Controls/OptionTreeSpinnerItem.h"

#include "Controls/OptionTree.h"

BEGIN_MESSAGE_MAP(COptionTreeSpinnerItem, COptionTreeSpinnerWnd)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(OT_SPINNER_COMMIT, OnCommit)
END_MESSAGE_MAP()

COptionTreeSpinnerItem::COptionTreeSpinnerItem() { SetType(OT_ITEM_SPINNER); }

COptionTreeSpinnerItem::~COptionTreeSpinnerItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeSpinnerItem::CreateEditor(DWORD dwOptions, double dValue, double dMin, double dMax)
{
    if (!GetOptionTree() || GetSafeHwnd() || !CreateOwnerDrawnEditor(this))
        return FALSE;
    SetOptions(dwOptions);
    SetRange(dMin, dMax);
    SetEditValue(dValue);
    m_otSpinnerOption = GetOptionTree();
    SettleEditor(this);
    return TRUE;
}

void COptionTreeSpinnerItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    const int length = GetEdit()->GetWindowTextLength();
    CString text;
    GetEdit()->GetWindowText(text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
    const int saved = pDC->SaveDC();
    pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetValueBackColor());
    pDC->DrawText(text, &rcValue, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->RestoreDC(saved);
}

void COptionTreeSpinnerItem::ActivateEditor() { ActivateWindow(this); }

void COptionTreeSpinnerItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeSpinnerItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeSpinnerItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeSpinnerItem::DestroyEditor() { DestroyWindowEditor(this); }

void COptionTreeSpinnerItem::OnDeselect() { HideWindowEditor(this); }

void COptionTreeSpinnerItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    COptionTreeSpinnerWnd::OnSetFocus(pOldWnd);
}

void COptionTreeSpinnerItem::OnKillFocus(CWnd* pNewWnd)
{
    if (GetOptionTree() && pNewWnd && pNewWnd != GetEdit()) {
        m_bFocus = FALSE;
        CommitChanges(TRUE);
    }
    COptionTreeSpinnerWnd::OnKillFocus(pNewWnd);
}

LRESULT COptionTreeSpinnerItem::OnCommit(WPARAM, LPARAM)
{
    m_bFocus = FALSE;
    CommitChanges(TRUE);
    return 0;
}
