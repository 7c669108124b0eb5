#include "Platform/MiniDockFrameWnd.h"

#include "Platform/CString.h"
#include "Platform/DockContext.h"
#include "Platform/Menu.h"
#include "Platform/MessageMap.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

// The string id of the hide command's text.
const UINT kIdsHide = 0xF011;

} // namespace

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

// A popup starts empty (no size) until its bars give it one. The dock bar
// is made a child of the dock site first, so that it docks to that frame.
BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    m_bInRecalcLayout = TRUE;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                  MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC)
        style &= ~DWORD(MFS_MOVEFRAME);
    if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, CRect(0, 0, 0, 0), pParent)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    DWORD barStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    barStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
    if (CMenu* menu = GetSystemMenu(FALSE)) {
        CString hide;
        if (hide.LoadString(kIdsHide)) {
            menu->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
            menu->AppendMenu(MF_STRING | MF_ENABLED, SC_CLOSE, hide);
        }
    }
    if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | barStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    char title[256] = {};
    m_wndDockBar.GetWindowText(title, int(sizeof title));
    SetWindowText(title);
}

CControlBar* CMiniDockFrameWnd::SingleBar()
{
    if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)
        return nullptr;
    for (int i = 1; i < int(m_wndDockBar.m_arrBars.GetSize()); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i))
            return bar->m_pDockContext ? bar : nullptr;
    }
    return nullptr;
}

void CMiniDockFrameWnd::OnClose() { m_wndDockBar.ShowAll(FALSE); }

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CControlBar* bar = SingleBar();
    if (nHitTest == HTCAPTION && bar) {
        bar->m_pDockContext->StartDrag(point);
        return;
    }
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT && bar && (m_wndDockBar.m_dwStyle & CBRS_SIZE_DYNAMIC)) {
        bar->m_pDockContext->StartResize(int(nHitTest), point);
        return;
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        if (CControlBar* bar = SingleBar()) {
            bar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}
