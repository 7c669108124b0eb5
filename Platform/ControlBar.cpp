#include "Platform/ControlBar.h"

#include "Platform/Dc.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

#include <initializer_list>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

const int kGripper = 8;

} // namespace

CControlBar::CControlBar() = default;

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pDockSite = GetParentFrame();
    return 0;
}

void CControlBar::DelayShow(BOOL bShow) { m_nDelayedShow = bShow ? 1 : 0; }

BOOL CControlBar::IsVisible() const
{
    if (m_nDelayedShow >= 0)
        return m_nDelayedShow == 1;
    return IsWindowVisible();
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += 2;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += 2;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= 2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= 2;
    rect.left += m_cxLeftBorder;
    rect.right -= m_cxRightBorder;
    rect.top += m_cyTopBorder;
    rect.bottom -= m_cyBottomBorder;
    if (m_dwStyle & CBRS_GRIPPER) {
        if (bHorz)
            rect.left += kGripper;
        else
            rect.top += kGripper;
    }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    CSize size(-inside.Width(), -inside.Height());
    if (bStretch) {
        const int screen = GetSystemMetrics(bHorz ? SM_CXSCREEN : SM_CYSCREEN);
        (bHorz ? size.cx : size.cy) = screen;
    }
    return size;
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_nDelayedShow >= 0) {
        ShowWindow(m_nDelayedShow ? SW_SHOWNOACTIVATE : SW_HIDE);
        m_nDelayedShow = -1;
        if (CFrameWnd* frame = GetParentFrame())
            frame->DelayRecalcLayout();
    }
    CFrameWnd* target = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (target && IsWindowVisible())
        OnUpdateCmdUI(target, BOOL(wParam));
    return 0;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!IsWindowVisible())
        return 0;
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (!horz && !(m_dwStyle & CBRS_ORIENT_VERT))
        return 0;
    CRect rect = layout->rect;
    const CSize size = CalcFixedLayout(layout->bStretch, horz);
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        rect.bottom = rect.top + size.cy;
        layout->rect.top = rect.bottom;
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        rect.top = rect.bottom - size.cy;
        layout->rect.bottom = rect.top;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        rect.right = rect.left + size.cx;
        layout->rect.left = rect.right;
    } else {
        rect.left = rect.right - size.cx;
        layout->rect.right = rect.left;
    }
    if (horz)
        layout->sizeTotal.cy += size.cy;
    else
        layout->sizeTotal.cx += size.cx;
    AfxRepositionWindow(layout, m_hWnd, &rect);
    return 0;
}

BOOL CControlBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

void CControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
        rect.top += 2;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, shadow);
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, light);
        rect.bottom -= 2;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
        pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
        rect.left += 2;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), shadow);
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), light);
        rect.right -= 2;
    }
}

// Two raised ridges along the leading edge.
void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if (!(m_dwStyle & CBRS_GRIPPER))
        return;
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        const int top = rect.top + m_cyTopBorder, bottom = rect.bottom - m_cyBottomBorder;
        for (int x : { rect.left + 2, rect.left + 5 })
            pDC->Draw3dRect(x, top, 3, bottom - top, light, shadow);
    } else {
        const int left = rect.left + m_cxLeftBorder, right = rect.right - m_cxRightBorder;
        for (int y : { rect.top + 2, rect.top + 5 })
            pDC->Draw3dRect(left, y, right - left, 3, light, shadow);
    }
}
