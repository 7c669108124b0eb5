// The edge drag of a docked sizing bar. While the mouse moves only the
// tracker is drawn; the frame lays the bars out once, after the drag.
// Invariants while tracking: the bar holds the capture, the tracker is
// shown at m_nTrackPos, and m_nTrackMin <= m_nTrackPos <= m_nTrackMax.
#include "Controls/SizeControlBar.h"

#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool HorzEdge(UINT hit) { return hit == HTLEFT || hit == HTRIGHT; }

int CentreOn(const CRect& r, bool x) { return x ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2; }

} // namespace

void CSizeControlBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!m_bTracking && !IsSideFloating() && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT)
        StartTracking(nHitTest, point);
}

void CSizeControlBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking) {
        CPoint screen = point;
        ClientToScreen(&screen);
        TrackSize(screen);
    }
    CControlBar::OnMouseMove(nFlags, point);
}

void CSizeControlBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bTracking)
        StopTracking();
    CControlBar::OnLButtonUp(nFlags, point);
}

void CSizeControlBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (m_bTracking)
        StopTracking();
    CControlBar::OnRButtonDown(nFlags, point);
}

void CSizeControlBar::OnCaptureChanged(CWnd* pWnd)
{
    if (m_bTracking && pWnd != this)
        StopTracking();
    CControlBar::OnCaptureChanged(pWnd);
}

// The limits: a thickness drag may take the frame's free client area
// (less 2) on one side and the bar's spare thickness on the other; a drag
// along the row the spare lengths of the bars on either side. Room and
// spare below 0 count as 0, so that the limits never cross.
void CSizeControlBar::StartTracking(UINT nHitTest, CPoint point)
{
    SetCapture();
    RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_nTrackHit = nHitTest;
    m_bTracking = TRUE;
    const bool alongX = HorzEdge(nHitTest);
    m_nTrackPos = alongX ? point.x : point.y;
    CRect window, edge;
    GetWindowRect(&window);
    GetEdgeRect(window, nHitTest, edge);
    m_nTrackGrab = m_nTrackPos - CentreOn(edge, alongX);

    int self = -1;
    const std::vector<CSizeControlBar*> row = GetRowSizingBars(&self);
    m_nTrackMin = m_nTrackMax = m_nTrackPos;
    const BOOL horz = IsSideHorz();
    if (!IsAlongRow()) {
        int minimum = horz ? m_sizeMinHorz.cy : m_sizeMinVert.cx;
        for (CSizeControlBar* bar : row)
            minimum = std::max<int>(minimum, horz ? bar->m_sizeMinHorz.cy : bar->m_sizeMinVert.cx);
        const int spare = std::max(Thickness(this, horz) - minimum, 0);
        CRect free;
        if (m_pDockSite)
            m_pDockSite->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &free, nullptr, TRUE);
        const int room = std::max<int>((horz ? free.Height() : free.Width()) - 2, 0);
        if (nHitTest == HTTOP || nHitTest == HTLEFT) {
            m_nTrackMin -= room;
            m_nTrackMax += spare;
        } else {
            m_nTrackMin -= spare;
            m_nTrackMax += room;
        }
    } else {
        if (nHitTest == HTBOTTOM || nHitTest == HTRIGHT)
            ++self;
        for (int i = 0; i < int(row.size()); ++i) {
            const int spare = std::max(Length(row[size_t(i)], horz) - MinLength(row[size_t(i)], horz), 0);
            if (i < self)
                m_nTrackMin -= spare;
            else
                m_nTrackMax += spare;
        }
    }
    DrawTracker();
}

void CSizeControlBar::StopTracking()
{
    DrawTracker();
    m_bTracking = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
}

void CSizeControlBar::TrackSize(CPoint point)
{
    const bool alongX = HorzEdge(m_nTrackHit);
    const int pos = std::clamp(int(alongX ? point.x : point.y), m_nTrackMin, m_nTrackMax);
    int delta = pos - m_nTrackPos;
    if (delta == 0)
        return;
    DrawTracker();
    m_nTrackPos = pos;
    const BOOL horz = IsSideHorz();
    CSize size = horz ? m_sizeHorz : m_sizeVert;
    switch (m_nTrackHit) {
    case HTLEFT: size.cx -= delta; break;
    case HTRIGHT: size.cx += delta; break;
    case HTTOP: size.cy -= delta; break;
    case HTBOTTOM: size.cy += delta; break;
    default: break;
    }
    int self = -1;
    const std::vector<CSizeControlBar*> row = GetRowSizingBars(&self);
    if (!IsAlongRow()) {
        for (CSizeControlBar* bar : row)
            Thickness(bar, horz) = horz ? size.cy : size.cx;
    } else if (self >= 0) {
        // One bar grows by the move; the bars on the other side of the
        // edge give way, the nearest first, down to their minimums.
        int growing = self;
        bool before = m_nTrackHit == HTTOP || m_nTrackHit == HTLEFT;
        if (before && delta > 0)
            --growing;
        if (!before && delta < 0)
            ++growing;
        if (growing != self)
            before = !before;
        if (growing >= 0 && growing < int(row.size())) {
            delta = std::abs(delta);
            Length(row[size_t(growing)], horz) += delta;
            for (int i = before ? growing - 1 : growing + 1; delta != 0 && i >= 0 && i < int(row.size());
                 i += before ? -1 : 1) {
                CSizeControlBar* bar = row[size_t(i)];
                const int give = std::clamp(Length(bar, horz) - MinLength(bar, horz), 0, delta);
                Length(bar, horz) -= give;
                delta -= give;
            }
        }
    }
    DrawTracker();
}

void CSizeControlBar::DrawTracker()
{
    if (!m_pDockSite || !m_pDockBar)
        return;
    const bool alongX = HorzEdge(m_nTrackHit);
    CRect window, dock, frame, tracker;
    GetWindowRect(&window);
    m_pDockBar->GetWindowRect(&dock);
    m_pDockSite->GetWindowRect(&frame);
    GetEdgeRect(window, m_nTrackHit, tracker);
    if (!IsAlongRow()) {
        if (IsSideHorz())
            tracker = CRect(dock.left + 1, tracker.top, dock.right - 1, tracker.bottom);
        else
            tracker = CRect(tracker.left, dock.top + 1, tracker.right, dock.bottom - 1);
    }
    const int offset = m_nTrackPos - m_nTrackGrab - CentreOn(tracker, alongX);
    tracker.OffsetRect(alongX ? offset : 0, alongX ? 0 : offset);
    tracker.OffsetRect(-frame.left, -frame.top);
    CDC* dc = m_pDockSite->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc)
        return;
    CBrush* old = dc->SelectObject(CDC::GetHalftoneBrush());
    dc->PatBlt(tracker.left, tracker.top, tracker.Width(), tracker.Height(), PATINVERT);
    dc->SelectObject(old);
    m_pDockSite->ReleaseDC(dc);
}
