#include "Platform/DockContext.h"

#include "Platform/ControlBar.h"
#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"
#include "Platform/MiniFrameWnd.h"
#include "Platform/SysColors.h"
#include "Platform/WinApp.h"

namespace {

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

// Moves rect by the least amount that puts pt inside it.
void TakeIn(CRect& rect, CPoint pt)
{
    if (pt.x < rect.left)
        rect.OffsetRect(pt.x - rect.left, 0);
    else if (pt.x >= rect.right)
        rect.OffsetRect(pt.x - rect.right + 1, 0);
    if (pt.y < rect.top)
        rect.OffsetRect(0, pt.y - rect.top);
    else if (pt.y >= rect.bottom)
        rect.OffsetRect(0, pt.y - rect.bottom + 1);
}

// The screen point of a mouse message, from its window and client point.
CPoint ScreenPoint(const MSG& msg)
{
    POINT pt = { short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam)) };
    if (CWnd* w = CWnd::FromHandle(msg.hwnd))
        w->ClientToScreen(&pt);
    return pt;
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {}

CDockContext::~CDockContext()
{
    if (m_pDC)
        CancelLoop();
}

void CDockContext::StartDrag(CPoint pt) { BeginDrag(pt, WS_THICKFRAME | WS_CAPTION); }

void CDockContext::BeginDrag(CPoint pt, DWORD dwFrameStyle)
{
    m_bDragging = TRUE;
    InitLoop();
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    const CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    const CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    const CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), horz);
    m_rectDragVert = CRect(rect.TopLeft(), vert);
    m_rectFrameDragHorz = CRect(rect.TopLeft(), floating);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz, dwFrameStyle);
    m_rectFrameDragHorz.InflateRect(-2, -2);
    m_rectFrameDragVert = m_rectFrameDragHorz;
    for (CRect* r : { &m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert })
        TakeIn(*r, pt);
    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

void CDockContext::Move(CPoint pt)
{
    const CSize offset = pt - m_ptLast;
    for (CRect* r : { &m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert })
        r->OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar == VK_CONTROL) {
        m_bForceFrame = bDown;
        Move(m_ptLast);
    } else if (nChar == VK_SHIFT) {
        m_bFlip = bDown;
        Move(m_ptLast);
    }
}

// The orientation the bar has now is tried first; the other one only
// when both outlines land on the same side.
DWORD CDockContext::CanDock()
{
    const bool horz = m_bFlip ? !Horz(m_dwStyle) : Horz(m_dwStyle);
    DWORD dock = 0;
    if (horz && Horz(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~DWORD(CBRS_ORIENT_VERT));
    else if (Vert(m_dwDockStyle))
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~DWORD(CBRS_ORIENT_HORZ));
    if (m_bFlip)
        return dock;
    if (!dock && Horz(m_dwDockStyle)) {
        const DWORD other = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~DWORD(CBRS_ORIENT_VERT));
        dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~DWORD(CBRS_ORIENT_VERT));
        dock = dock == other ? dock : 0;
    }
    if (!dock && Vert(m_dwDockStyle)) {
        const DWORD other = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~DWORD(CBRS_ORIENT_HORZ));
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~DWORD(CBRS_ORIENT_HORZ));
        dock = dock == other ? dock : 0;
    }
    return dock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* dockBar = nullptr;
    if (Horz(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~DWORD(CBRS_ORIENT_VERT), &dockBar);
    if (!dockBar && Vert(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~DWORD(CBRS_ORIENT_HORZ), &dockBar);
    return dockBar;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_dwOverDockStyle) {
        CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (!dockBar)
            return;
        CRect rect = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        const UINT id = UINT(dockBar->GetDlgCtrlID());
        if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = id;
            m_rectMRUDockPos = rect;
            dockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    const bool horz = (m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip);
    m_dwMRUFloatStyle = (horz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = (horz ? m_rectFrameDragHorz : m_rectFrameDragVert).TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    m_bDragging = FALSE;
    InitLoop();
    m_nHitTest = nHitTest;
    m_ptLast = pt;
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_rectRequestedSize = m_rectActualSize = rect;
    CFrameWnd* frame = m_pBar->GetParentFrame();
    frame->GetWindowRect(&m_rectActualFrameSize);
    m_rectFrameBorders = CRect(rect.left - m_rectActualFrameSize.left, rect.top - m_rectActualFrameSize.top,
                               m_rectActualFrameSize.right - rect.right, m_rectActualFrameSize.bottom - rect.bottom);
    DrawFocusRect();
    Track();
}

void CDockContext::Stretch(CPoint pt)
{
    const CSize offset = pt - m_ptLast;
    m_ptLast = pt;
    const bool left = m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT;
    const bool right = m_nHitTest == HTRIGHT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT;
    const bool top = m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT;
    const bool bottom = m_nHitTest == HTBOTTOM || m_nHitTest == HTBOTTOMLEFT || m_nHitTest == HTBOTTOMRIGHT;
    if (left)
        m_rectRequestedSize.left += offset.cx;
    if (right)
        m_rectRequestedSize.right += offset.cx;
    if (top)
        m_rectRequestedSize.top += offset.cy;
    if (bottom)
        m_rectRequestedSize.bottom += offset.cy;
    const bool byHeight = (top || bottom) && !(left || right);
    const CSize size = byHeight ? m_pBar->CalcDynamicLayout(m_rectRequestedSize.Height(), LM_HORZ | LM_LENGTHY)
                                : m_pBar->CalcDynamicLayout(m_rectRequestedSize.Width(), LM_HORZ);
    CRect actual(m_rectRequestedSize.TopLeft(), size);
    if (left)
        actual.OffsetRect(m_rectRequestedSize.right - actual.right, 0);
    if (top)
        actual.OffsetRect(0, m_rectRequestedSize.bottom - actual.bottom);
    m_rectActualSize = actual;
    m_rectActualFrameSize = CRect(actual.left - m_rectFrameBorders.left, actual.top - m_rectFrameBorders.top,
                                  actual.right + m_rectFrameBorders.right, actual.bottom + m_rectFrameBorders.bottom);
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// Docked: float where it floated last (or where it stands). Floating: dock
// where it docked last, taking its kept place in that dock bar.
void CDockContext::ToggleDocking()
{
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;
        CRect rect = m_rectMRUDockPos;
        CDockBar* dockBar = nullptr;
        if (m_uMRUDockID) {
            dockBar = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
            if (dockBar)
                dockBar->ClientToScreen(&rect);
        }
        m_pDockSite->ReDockControlBar(m_pBar, dockBar, dockBar ? &rect : nullptr);
        m_pDockSite->RecalcLayout();
        return;
    }
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
        pt = m_rectMRUDockPos.TopLeft();
        if (CWnd* parent = m_pBar->GetParent())
            parent->ClientToScreen(&pt);
    }
    m_pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
}

void CDockContext::InitLoop()
{
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;
    if (!m_pDC)
        m_pDC = m_pDockSite->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
}

void CDockContext::CancelLoop()
{
    if (m_pDC)
        DrawFocusRect(TRUE);
    if (CWnd::GetCapture() == m_pBar)
        ReleaseCapture();
    if (m_pDC) {
        m_pDockSite->ReleaseDC(m_pDC);
        m_pDC = nullptr;
    }
}

BOOL CDockContext::Track()
{
    if (::GetCapture())
        return FALSE;
    m_pBar->SetCapture();
    const HWND bar = m_pBar->GetSafeHwnd();
    while (CWnd::GetCapture() == m_pBar) {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE:
            if (m_bDragging)
                Move(ScreenPoint(msg));
            else
                Stretch(ScreenPoint(msg));
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey(int(msg.wParam), FALSE);
            break;
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey(int(msg.wParam), TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            DispatchMessage(&msg);
            if (!IsWindow(bar))
                return FALSE;
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

// Docking outlines are thin, the floating outline thick and halftone;
// screen rectangles go to the dock site's window coordinates.
void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (!m_pDC)
        return;
    CSize size(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CBrush* dither = CDC::GetHalftoneBrush();
    CBrush* brush = white;
    CRect rect;
    if (!m_bDragging) {
        rect = m_rectActualFrameSize;
        size = CSize(GetSystemMetrics(SM_CXFRAME) - 1, GetSystemMetrics(SM_CYFRAME) - 1);
        brush = dither;
    } else if (Horz(m_dwOverDockStyle)) {
        rect = m_rectDragHorz;
    } else if (Vert(m_dwOverDockStyle)) {
        rect = m_rectDragVert;
    } else {
        size = CSize(GetSystemMetrics(SM_CXFRAME) - 1, GetSystemMetrics(SM_CYFRAME) - 1);
        rect = (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
        brush = dither;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    CRect site;
    m_pDockSite->GetWindowRect(&site);
    CRect drawn = rect;
    drawn.OffsetRect(-site.left, -site.top);
    CRect last = m_rectLast;
    last.OffsetRect(-site.left, -site.top);
    m_pDC->DrawDragRect(&drawn, size, m_rectLast.IsRectNull() ? nullptr : &last, m_sizeLast, brush,
                        m_bDitherLast ? dither : white);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = brush == dither;
}
