#include "Platform/ScrollView.h"

#include "Platform/MessageMap.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {

// A logical size in device pixels of a screen context in the mapping mode.
CSize ToDevice(CWnd* window, int mapMode, SIZE size)
{
    CClientDC dc(window);
    dc.SetMapMode(mapMode);
    dc.LPtoDP(&size);
    return CSize(size.cx, size.cy);
}

} // namespace

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = CSize(sizeTotal.cx, sizeTotal.cy);
    m_totalDev = ToDevice(this, nMapMode, sizeTotal);
    m_pageDev = ToDevice(this, nMapMode, sizePage);
    m_lineDev = ToDevice(this, nMapMode, sizeLine);
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = std::max<int>(m_totalDev.cx / 100, 1);
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = std::max<int>(m_totalDev.cy / 100, 1);
    UpdateBars();
}

CPoint CScrollView::GetDeviceScrollPosition() const { return m_position; }

CPoint CScrollView::GetScrollPosition() const
{
    SIZE size{m_position.x, m_position.y};
    CClientDC dc(const_cast<CScrollView*>(this));
    dc.SetMapMode(m_nMapMode);
    dc.DPtoLP(&size);
    return m_nMapMode == MM_TEXT ? CPoint(size.cx, size.cy) : CPoint(size.cx, -size.cy);
}

void CScrollView::ScrollToPosition(POINT pt)
{
    SIZE size{pt.x, pt.y < 0 ? -pt.y : pt.y};
    CClientDC dc(this);
    dc.SetMapMode(m_nMapMode);
    dc.LPtoDP(&size);
    ScrollToDevicePosition(size.cx, size.cy);
}

void CScrollView::ScrollBy(int nBar, UINT nSBCode)
{
    const bool vertical = nBar == SB_VERT;
    const int line = vertical ? m_lineDev.cy : m_lineDev.cx;
    const int page = vertical ? m_pageDev.cy : m_pageDev.cx;
    int delta = 0;
    switch (nSBCode) {
    case SB_LINEUP: delta = -line; break;
    case SB_LINEDOWN: delta = line; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    default: return;
    }
    if (vertical)
        ScrollToDevicePosition(m_position.x, m_position.y + delta);
    else
        ScrollToDevicePosition(m_position.x + delta, m_position.y);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    pDC->SetMapMode(m_nMapMode);
    if (!pInfo)
        pDC->SetViewportOrg(-m_position.x, -m_position.y);
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)
        ScrollToDevicePosition(int(nPos), m_position.y);
    else if (nSBCode == SB_TOP || nSBCode == SB_BOTTOM)
        ScrollToDevicePosition(nSBCode == SB_TOP ? 0 : m_totalDev.cx, m_position.y);
    else
        ScrollBy(SB_HORZ, nSBCode);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION)
        ScrollToDevicePosition(m_position.x, int(nPos));
    else if (nSBCode == SB_TOP || nSBCode == SB_BOTTOM)
        ScrollToDevicePosition(m_position.x, nSBCode == SB_TOP ? 0 : m_totalDev.cy);
    else
        ScrollBy(SB_VERT, nSBCode);
}

// A notch scrolls three lines vertically, or horizontally when only the
// horizontal bar is shown; larger deltas scroll in proportion.
BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    CRect client;
    GetClientRect(&client);
    const bool vertical = m_totalDev.cy > client.Height() || m_totalDev.cx <= client.Width();
    const int line = vertical ? m_lineDev.cy : m_lineDev.cx;
    const int delta = -zDelta * 3 * line / WHEEL_DELTA;
    if (delta == 0)
        return FALSE;
    const CPoint before = m_position;
    if (vertical)
        ScrollToDevicePosition(m_position.x, m_position.y + delta);
    else
        ScrollToDevicePosition(m_position.x + delta, m_position.y);
    return m_position != before;
}

void CScrollView::UpdateBars()
{
    if (!GetSafeHwnd())
        return;
    // Showing one bar narrows the client area, so the other may be needed
    // then too: two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        CRect client;
        GetClientRect(&client);
        const int extent[2] = {client.Width(), client.Height()};
        const int total[2] = {m_totalDev.cx, m_totalDev.cy};
        for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = 0;
            si.nMax = total[bar] > extent[bar] ? total[bar] - 1 : 0;
            si.nPage = total[bar] > extent[bar] ? UINT(extent[bar]) : 0;
            si.nPos = bar == SB_HORZ ? m_position.x : m_position.y;
            SetScrollInfo(bar, &si, TRUE);
        }
    }
    ScrollToDevicePosition(m_position.x, m_position.y);
}

void CScrollView::ScrollToDevicePosition(int x, int y)
{
    CRect client;
    GetClientRect(&client);
    const int maxX = std::max<int>(m_totalDev.cx - client.Width(), 0);
    const int maxY = std::max<int>(m_totalDev.cy - client.Height(), 0);
    const CPoint position(std::clamp(x, 0, maxX), std::clamp(y, 0, maxY));
    if (position == m_position)
        return;
    m_position = position;
    SetScrollPos(SB_HORZ, position.x, TRUE);
    SetScrollPos(SB_VERT, position.y, TRUE);
    Invalidate(FALSE);
}
