#include "Controls/OptionTreeColorItem.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Controls/OptionTreeColorPopup.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeColorItem, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(OT_COLOR_HOVER, OnHover)
    ON_MESSAGE(OT_COLOR_POPUPCLOSE, OnPopupClose)
    ON_MESSAGE(OT_COLOR_CHOSEN, OnChosen)
    ON_MESSAGE(OT_COLOR_CANCEL, OnCancel)
END_MESSAGE_MAP()

COptionTreeColorItem::COptionTreeColorItem() { SetType(OT_ITEM_COLOR); }

COptionTreeColorItem::~COptionTreeColorItem()
{
    if (GetSafeHwnd())
        DestroyEditor();
}

BOOL COptionTreeColorItem::CreateEditor(DWORD dwOptions, COLORREF crColor, COLORREF crAutomatic)
{
    if (!GetOptionTree() || GetSafeHwnd())
        return FALSE;
    if (!CreateOwnerDrawnEditor(this))
        return FALSE;
    m_crColor = crColor;
    m_crAutomatic = crAutomatic;
    m_dwOptions = dwOptions;
    SettleEditor(this);
    return TRUE;
}

void COptionTreeColorItem::SetOption(DWORD dwOption, BOOL bSet)
{
    if (bSet)
        m_dwOptions |= dwOption;
    else
        m_dwOptions &= ~dwOption;
}

CString COptionTreeColorItem::GetColorText() const
{
    CString text;
    if (GetOption(OT_COLOR_HEXTEXT))
        text.Format("#%02X%02X%02X", GetRValue(m_crColor), GetGValue(m_crColor), GetBValue(m_crColor));
    else
        text.Format("RGB (%d, %d, %d)", GetRValue(m_crColor), GetGValue(m_crColor), GetBValue(m_crColor));
    return text;
}

int COptionTreeColorItem::GetValueInt() { return int(m_crColor); }

void COptionTreeColorItem::DrawColor(CDC* pDC, const CRect& rcValue) const
{
    const CRect swatch(rcValue.left + 1, rcValue.top + 3, rcValue.left + 15, rcValue.top + 17);
    CRect border = swatch;
    border.InflateRect(1, 1);
    pDC->FillSolidRect(&border, GetSysColor(COLOR_BTNSHADOW));
    pDC->FillSolidRect(&swatch, m_crColor);
    CFont* old = pDC->SelectObject(COptionTree::GetNormalFont());
    pDC->SetTextColor(ValueTextColor());
    pDC->SetBkMode(TRANSPARENT);
    CRect text(swatch.right + 5, rcValue.top, rcValue.right, rcValue.bottom);
    pDC->DrawText(GetColorText(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
}

void COptionTreeColorItem::DrawValue(CDC* pDC, CRect rcValue)
{
    if (m_bFocus || !GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    DrawColor(pDC, rcValue);
}

BOOL COptionTreeColorItem::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeColorItem::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetValueBackColor());
    if (m_bFocus)
        DrawColor(&mem, client);
}

void COptionTreeColorItem::ActivateEditor() { ActivateWindow(this); }

void COptionTreeColorItem::MoveEditor() { MoveWindowEditor(this); }

void COptionTreeColorItem::RefreshEditor() { RefreshWindowEditor(this); }

void COptionTreeColorItem::CommitEditor() { HideWindowEditor(this); }

void COptionTreeColorItem::DestroyEditor()
{
    if (CWnd* popup = ::IsWindow(m_hPopup) ? CWnd::FromHandle(m_hPopup) : nullptr)
        popup->DestroyWindow();
    m_hPopup = nullptr;
    if (GetSafeHwnd())
        DestroyWindow();
}

void COptionTreeColorItem::OnDeselect() { CommitEditor(); }

void COptionTreeColorItem::OnSetFocus(CWnd* pOldWnd)
{
    m_bFocus = TRUE;
    CWnd::OnSetFocus(pOldWnd);
}

void COptionTreeColorItem::OnKillFocus(CWnd* pNewWnd)
{
    m_bFocus = FALSE;
    CWnd::OnKillFocus(pNewWnd);
}

void COptionTreeColorItem::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    ShowWindow(SW_HIDE);
    CPoint at;
    ::GetCursorPos(&at);
    auto* popup = new COptionTreeColorPopup(at, m_crColor, m_crAutomatic, this, "Automatic", "More Colors...");
    m_hPopup = popup->GetSafeHwnd();
    if (!m_hPopup)
        delete popup;
    if (COptionTree* grid = GetOptionTree())
        grid->UpdateScroll();
}

void COptionTreeColorItem::HideAndUpdate()
{
    ShowWindow(SW_HIDE);
    if (COptionTree* grid = GetOptionTree())
        grid->UpdateScroll();
}

LRESULT COptionTreeColorItem::OnHover(WPARAM wParam, LPARAM)
{
    if (GetOption(OT_COLOR_LIVE))
        m_crColor = COLORREF(wParam);
    HideAndUpdate();
    return 0;
}

LRESULT COptionTreeColorItem::OnPopupClose(WPARAM wParam, LPARAM)
{
    m_crColor = COLORREF(wParam);
    HideAndUpdate();
    return 0;
}

LRESULT COptionTreeColorItem::OnChosen(WPARAM wParam, LPARAM)
{
    m_hPopup = nullptr;
    m_crColor = COLORREF(wParam);
    CommitChanges(TRUE);
    if (COptionTree* grid = GetOptionTree())
        grid->UpdateScroll();
    return 0;
}

LRESULT COptionTreeColorItem::OnCancel(WPARAM wParam, LPARAM)
{
    m_hPopup = nullptr;
    m_crColor = COLORREF(wParam);
    HideAndUpdate();
    return 0;
}
