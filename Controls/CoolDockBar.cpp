#include "Controls/CoolDockBar.h"

#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"
#include "Platform/Gdi.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNAMIC(CCoolDockBar, CSizeControlBar)

BEGIN_MESSAGE_MAP(CCoolDockBar, CSizeControlBar)
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONUP()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

void CDockCloseButton::Paint(CDC* pDC) const
{
    const CRect r = GetRect();
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    if (bPushed)
        pDC->Draw3dRect(&r, shadow, light);
    else if (bHot)
        pDC->Draw3dRect(&r, light, shadow);
    CFont font;
    font.CreatePointFont(MulDiv(60, 96, pDC->GetDeviceCaps(LOGPIXELSX)), "Marlett");
    CFont* oldFont = pDC->SelectObject(&font);
    const COLORREF oldColor = pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(ptOrg.x + 3, ptOrg.y + 3, "r");
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
    pDC->SelectObject(oldFont);
}

CCoolDockBar::CCoolDockBar()
{
    m_dwSizeFlags = (m_dwSizeFlags & ~DWORD(SCBS_EDGEALL)) | SCBS_SIZECHILD;
}

BOOL CCoolDockBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    m_hWndNotify = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    return CSizeControlBar::Create(lpszWindowName, pParentWnd, nID, dwStyle);
}

BOOL CCoolDockBar::CreateWithSize(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL bHasGripper,
                                  UINT nID, DWORD dwStyle)
{
    m_hWndNotify = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    return CSizeControlBar::CreateWithSize(lpszWindowName, pParentWnd, sizeDefault, bHasGripper, nID, dwStyle);
}

// Neither reflected to the child nor routed through the pane's commands.
BOOL CCoolDockBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    ::SendMessage(m_hWndNotify, WM_NOTIFY, wParam, lParam);
    *pResult = 0;
    return TRUE;
}

void CCoolDockBar::NcCalcClient(LPRECT pRc, UINT nDockBarID)
{
    const CRect window(pRc);
    CSizeControlBar::NcCalcClient(pRc, nDockBarID);
    if (!HasGripper())
        return;
    CRect& c = *static_cast<CRect*>(pRc);
    CPoint corner;
    if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) {
        c.left += m_cyCaption;
        corner = CPoint(c.left - 14, c.top);
    } else {
        c.top += m_cyCaption;
        corner = CPoint(c.right - 12, c.top - 14);
    }
    m_btnClose.ptOrg = CPoint(corner.x - window.left, corner.y - window.top);
}

// Two raised lines along the strip up to the close button, then the button.
void CCoolDockBar::PaintGripper(CDC* pDC, const CRect& rcClient)
{
    if (!HasGripper())
        return;
    CRect r = rcClient;
    r.DeflateRect(1, 1);
    const bool leftStrip = GetDockSide() == AFX_IDW_DOCKBAR_TOP || GetDockSide() == AFX_IDW_DOCKBAR_BOTTOM;
    if (leftStrip) {
        r.left -= m_cyCaption;
        r.right = r.left + 3;
        r.top = m_btnClose.ptOrg.y + 16;
    } else {
        r.top -= m_cyCaption;
        r.bottom = r.top + 3;
        r.right = m_btnClose.ptOrg.x - 3;
    }
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    pDC->Draw3dRect(&r, light, shadow);
    r.OffsetRect(leftStrip ? 3 : 0, leftStrip ? 0 : 3);
    pDC->Draw3dRect(&r, light, shadow);
    m_btnClose.Paint(pDC);
}

LRESULT CCoolDockBar::OnNcHitTest(CPoint point)
{
    const LRESULT hit = CSizeControlBar::OnNcHitTest(point);
    if (hit != HTCLIENT || !HasGripper())
        return hit;
    CRect window;
    GetWindowRect(&window);
    CRect button = m_btnClose.GetRect();
    button.OffsetRect(window.TopLeft());
    return button.PtInRect(point) ? HTCLOSE : hit;
}

void CCoolDockBar::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCLOSE && m_pDockSite)
        m_pDockSite->ShowControlBar(this, FALSE, FALSE);
    CSizeControlBar::OnNcLButtonUp(nHitTest, point);
}

LRESULT CCoolDockBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CSizeControlBar::OnSetText(wParam, lParam);
    SendMessage(WM_NCPAINT);
    return result;
}

void CCoolDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    if (!HasGripper())
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    const bool over = SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(cursor.x), WORD(cursor.y))) == HTCLOSE;
    const bool down = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    const BOOL pushed = over && down, hot = over && !down;
    if (pushed == m_btnClose.bPushed && hot == m_btnClose.bHot)
        return;
    m_btnClose.bPushed = pushed;
    m_btnClose.bHot = hot;
    SendMessage(WM_NCPAINT);
}

void CCoolDockBar::DockBeside(CControlBar* pOther, UINT nSide)
{
    if (!m_pDockSite || !pOther)
        return;
    m_pDockSite->RecalcLayout(TRUE);
    CRect rect;
    pOther->GetWindowRect(&rect);
    switch (nSide) {
    case AFX_IDW_DOCKBAR_TOP: rect.OffsetRect(0, -1); break;
    case AFX_IDW_DOCKBAR_LEFT: rect.OffsetRect(-1, 0); break;
    case AFX_IDW_DOCKBAR_RIGHT: rect.OffsetRect(1, 0); break;
    case AFX_IDW_DOCKBAR_BOTTOM: rect.OffsetRect(0, 1); break;
    default: break;
    }
    m_pDockSite->DockControlBar(this, AfxDockBarIdOf(pOther->GetBarStyle()), &rect);
}
