#include "Platform/MiniFrameWnd.h"

#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

const DWORD kThick = WS_THICKFRAME | MFS_THICKFRAME | MFS_4THICKFRAME;

} // namespace

CMiniFrameWnd::CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    if (dwStyle & (MFS_THICKFRAME | MFS_4THICKFRAME))
        dwStyle |= WS_THICKFRAME;
    (void)nID;
    return CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top,
                          pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr, lpParam);
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD)
{
    int border = (dwStyle & kThick) ? GetSystemMetrics(SM_CXFRAME) : (dwStyle & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
    int caption = 0;
    if ((dwStyle & WS_CAPTION) == WS_CAPTION) {
        border += GetSystemMetrics(SM_CXBORDER);
        caption = GetSystemMetrics(SM_CYSMCAPTION);
    }
    CRect* r = static_cast<CRect*>(lpClientRect);
    r->InflateRect(border, border + caption, border, border);
}

void CMiniFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT) { CalcBorders(lpClientRect, GetStyle(), GetExStyle()); }

void CMiniFrameWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect borders(0, 0, 0, 0);
    CalcBorders(&borders, GetStyle(), GetExStyle());
    CRect& r = static_cast<CRect&>(lpncsp->rgrc[0]);
    r.left -= borders.left;
    r.top -= borders.top;
    r.right -= borders.right;
    r.bottom -= borders.bottom;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
}

// A frame sizable by its four sides answers no corners.
LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    const LRESULT hit = CFrameWnd::OnNcHitTest(point);
    if (!(GetStyle() & MFS_4THICKFRAME))
        return hit;
    switch (hit) {
    case HTTOPLEFT:
    case HTTOPRIGHT:
        return HTTOP;
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return HTBOTTOM;
    default:
        return hit;
    }
}

void CMiniFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) { CFrameWnd::OnNcLButtonDown(nHitTest, point); }
