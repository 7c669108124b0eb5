#include "Controls/SCBMiniDockFrameWnd.h"

#include "Controls/SizeControlBar.h"
#include "Platform/MessageMap.h"

IMPLEMENT_DYNCREATE(CSCBMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CSCBMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CSizeControlBar* CSCBMiniDockFrameWnd::GetSizeBar()
{
    CWnd* dockBar = GetWindow(GW_CHILD);
    CWnd* bar = dockBar ? dockBar->GetWindow(GW_CHILD) : nullptr;
    return DYNAMIC_DOWNCAST(CSizeControlBar, bar);
}

void CSCBMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest != HTCAPTION && nHitTest != HTCLOSE && GetSizeBar())
        CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
    else
        CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

// The first change with a sizing bar inside converts the frame, once. The
// styles change without recomputing the frame, so that no size reaches
// the bar before the delayed layout gives the frame the bar's size.
void CSCBMiniDockFrameWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CSizeControlBar* bar = (GetStyle() & MFS_4THICKFRAME) ? GetSizeBar() : nullptr;
    if (bar) {
        lpwndpos->flags |= SWP_NOSIZE;
        if (CWnd* dockBar = GetWindow(GW_CHILD))
            dockBar->ModifyStyle(0, WS_CLIPCHILDREN);
        ModifyStyle(MFS_4THICKFRAME, 0);
        ModifyStyle(WS_CAPTION | WS_SYSMENU, 0);
        DelayRecalcLayout();
        bar->PostMessage(WM_NCPAINT);
    }
    CMiniDockFrameWnd::OnWindowPosChanging(lpwndpos);
}

void CSCBMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CSizeControlBar* bar = GetSizeBar();
    if (bar && (bar->GetStyle() & WS_VISIBLE) && !(GetStyle() & MFS_4THICKFRAME))
        bar->m_sizeFloat = CSize(cx + 4, cy + 4);
    CMiniDockFrameWnd::OnSize(nType, cx, cy);
}

void CSCBMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CMiniDockFrameWnd::OnGetMinMaxInfo(lpMMI);
    if (CSizeControlBar* bar = GetSizeBar()) {
        CRect r(0, 0, bar->m_sizeMinFloat.cx - 4, bar->m_sizeMinFloat.cy - 4);
        CMiniFrameWnd::CalcBorders(&r, WS_THICKFRAME);
        lpMMI->ptMinTrackSize = POINT{ r.Width(), r.Height() };
    }
}
