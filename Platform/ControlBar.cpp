#include "Platform/ControlBar.h"

#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/DockContext.h"
#include "Platform/DockState.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

#include <algorithm>
#include <initializer_list>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

const int kGripper = 8;

} // namespace

CControlBar::CControlBar() = default;

// The window goes first, while this object is still a control bar, so that
// its frame and dock bar forget it.
CControlBar::~CControlBar()
{
    DestroyWindow();
    delete m_pDockContext;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pDockSite = GetParentFrame();
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockBar) {
        CDockBar* dockBar = m_pDockBar;
        m_pDockBar = nullptr;
        dockBar->ForgetControlBar(this);
    }
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    CWnd::OnDestroy();
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext)
        m_pDockContext = new CDockContext(this);
    // Commands keep going to the parent once the bar moves into a dock bar.
    if (CWnd* parent = GetParent(); parent && !GetWindow(GW_OWNER))
        SetOwner(parent);
}

void CControlBar::DelayShow(BOOL bShow)
{
    const bool visible = (GetStyle() & WS_VISIBLE) != 0;
    m_nStateFlags &= ~UINT(delayHide | delayShow);
    if (bShow && !visible)
        m_nStateFlags |= delayShow;
    else if (!bShow && visible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

BOOL CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

BOOL CControlBar::IsDockBar() const { return IsKindOf(RUNTIME_CLASS(CDockBar)); }

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame ? frame : m_pDockSite;
}

void CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    if (!(m_nStateFlags & (delayHide | delayShow)) || !lpLayout->hDWP)
        return;
    const bool visible = (GetStyle() & WS_VISIBLE) != 0;
    UINT flags = 0;
    if ((m_nStateFlags & delayHide) && visible)
        flags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !visible)
        flags = SWP_SHOWWINDOW;
    m_nStateFlags &= ~UINT(delayHide | delayShow);
    if (flags)
        lpLayout->hDWP = DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                        flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockBar) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockBar) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
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

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode)
{
    const BOOL horz = (nMode & (LM_HORZDOCK | LM_VERTDOCK)) ? (nMode & LM_HORZDOCK) != 0 : (nMode & LM_HORZ) != 0;
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, horz);
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A bar no layout took care of shows or hides now.
    if (m_nStateFlags & (delayHide | delayShow)) {
        const bool show = (m_nStateFlags & delayShow) != 0;
        m_nStateFlags &= ~UINT(delayHide | delayShow);
        ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
        if (CFrameWnd* frame = GetDockingFrame())
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
    RecalcDelayShow(layout);
    if (!IsVisible())
        return 0;
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (!horz && !(m_dwStyle & CBRS_ORIENT_VERT))
        return 0;
    CRect rect = layout->rect;
    const CSize size = CalcDynamicLayout(-1, (layout->bStretch ? LM_STRETCH : 0) | (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK));
    // Without stretching a bar keeps its own length too.
    if (!layout->bStretch) {
        if (horz)
            rect.right = rect.left + size.cx;
        else
            rect.bottom = rect.top + size.cy;
    }
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
    if (horz) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
    }
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

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_nBarID = UINT(GetDlgCtrlID());
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    if (m_pDockBar) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    if (m_pDockContext) {
        pInfo->m_bDocking = TRUE;
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    pFrameWnd->ShowControlBar(this, pInfo->m_bVisible, TRUE);
    m_nMRUWidth = pInfo->m_nMRUWidth;
    if (pInfo->m_bDocking && m_pDockContext) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    if (m_pDockBar && (pInfo->m_pointPos.x != -1 || pInfo->m_pointPos.y != -1))
        SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
