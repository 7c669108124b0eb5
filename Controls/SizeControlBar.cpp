#include "Controls/SizeControlBar.h"

#include "Controls/SizeBarDockContext.h"
#include "Platform/Cursor.h"
#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/MiniDockFrameWnd.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSizeControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CSizeControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// Rows overlap by this much, and so do the first bar and the edge.
const int kOverlap = 2;

} // namespace

CSizeControlBar::CSizeControlBar() = default;

BOOL CSizeControlBar::Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCTSTR wndClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(UINT_PTR(COLOR_BTNFACE + 1)));
    const DWORD windowStyle = (dwStyle & ~DWORD(CBRS_ALL)) | WS_CLIPCHILDREN;
    return CWnd::Create(wndClass, lpszWindowName, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CSizeControlBar::CreateWithSize(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL, UINT nID,
                                     DWORD dwStyle)
{
    m_sizeHorz = m_sizeVert = m_sizeFloat = sizeDefault;
    return Create(lpszWindowName, pParentWnd, nID, dwStyle);
}

void CSizeControlBar::EnableDocking(DWORD dwDockStyle)
{
    if (!m_pDockContext)
        m_pDockContext = new CSizeBarDockContext(this);
    CControlBar::EnableDocking(dwDockStyle);
}

int CSizeControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) { return CControlBar::OnCreate(lpCreateStruct); }

BOOL CSizeControlBar::IsSideHorz() const { return m_nDockSide == AFX_IDW_DOCKBAR_TOP || m_nDockSide == AFX_IDW_DOCKBAR_BOTTOM; }

BOOL CSizeControlBar::IsSideVert() const { return m_nDockSide == AFX_IDW_DOCKBAR_LEFT || m_nDockSide == AFX_IDW_DOCKBAR_RIGHT; }

BOOL CSizeControlBar::IsSideFloating() const { return !IsSideHorz() && !IsSideVert(); }

BOOL CSizeControlBar::IsAlongRow() const
{
    const bool horzEdge = m_nTrackHit == HTLEFT || m_nTrackHit == HTRIGHT;
    return horzEdge ? IsSideHorz() : IsSideVert();
}

int& CSizeControlBar::Length(CSizeControlBar* pBar, BOOL bHorz) { return bHorz ? pBar->m_sizeHorz.cx : pBar->m_sizeVert.cy; }

int& CSizeControlBar::Thickness(CSizeControlBar* pBar, BOOL bHorz) { return bHorz ? pBar->m_sizeHorz.cy : pBar->m_sizeVert.cx; }

int CSizeControlBar::MinLength(const CSizeControlBar* pBar, BOOL bHorz)
{
    return bHorz ? pBar->m_sizeMinHorz.cx : pBar->m_sizeMinVert.cy;
}

BOOL CSizeControlBar::GetRowInfo(int& nFirst, int& nLast, int& nThis) const
{
    if (!m_pDockBar)
        return FALSE;
    const CPtrArray& bars = m_pDockBar->m_arrBars;
    nThis = m_pDockBar->FindBar(const_cast<CSizeControlBar*>(this));
    if (nThis < 0)
        return FALSE;
    nFirst = nThis;
    while (nFirst > 0 && bars[nFirst - 1])
        --nFirst;
    nLast = nThis;
    while (nLast + 1 < int(bars.GetSize()) && bars[nLast + 1])
        ++nLast;
    return TRUE;
}

std::vector<CSizeControlBar*> CSizeControlBar::GetRowSizingBars(int* pThis) const
{
    std::vector<CSizeControlBar*> row;
    if (pThis)
        *pThis = -1;
    int first, last, self;
    if (!GetRowInfo(first, last, self))
        return row;
    for (int i = first; i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (!bar || !bar->IsVisible() || !bar->IsKindOf(RUNTIME_CLASS(CSizeControlBar)))
            continue;
        if (bar == this && pThis)
            *pThis = int(row.size());
        row.push_back(static_cast<CSizeControlBar*>(bar));
    }
    return row;
}

void CSizeControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    m_dwSizeFlags &= ~DWORD(SCBS_EDGEALL);
    if (!IsSideFloating() && m_pDockBar) {
        int n = -1;
        const std::vector<CSizeControlBar*> row = GetRowSizingBars(&n);
        if (n > 0)
            m_dwSizeFlags |= IsSideHorz() ? SCBS_EDGELEFT : SCBS_EDGETOP;
        if (n >= 0 && n < int(row.size()) - 1)
            m_dwSizeFlags |= IsSideHorz() ? SCBS_EDGERIGHT : SCBS_EDGEBOTTOM;
    }
    NcCalcClient(&lpncsp->rgrc[0], m_nDockSide);
}

void CSizeControlBar::NcCalcClient(LPRECT pRc, UINT nDockBarID)
{
    CRect& rc = *static_cast<CRect*>(pRc);
    rc.DeflateRect(3, 5, 3, 3);
    if (nDockBarID != AFX_IDW_DOCKBAR_FLOAT)
        rc.DeflateRect(2, 0, 2, 2);
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        m_dwSizeFlags |= SCBS_EDGEBOTTOM;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        m_dwSizeFlags |= SCBS_EDGERIGHT;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        m_dwSizeFlags |= SCBS_EDGELEFT;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        m_dwSizeFlags |= SCBS_EDGETOP;
        break;
    default:
        break;
    }
    if (m_dwSizeFlags & SCBS_SHOWEDGES) {
        const int w = m_nEdgeWidth;
        rc.DeflateRect((m_dwSizeFlags & SCBS_EDGELEFT) ? w : 0, (m_dwSizeFlags & SCBS_EDGETOP) ? w : 0,
                       (m_dwSizeFlags & SCBS_EDGERIGHT) ? w : 0, (m_dwSizeFlags & SCBS_EDGEBOTTOM) ? w : 0);
    }
}

BOOL CSizeControlBar::GetEdgeRect(CRect rcWnd, UINT nHitTest, CRect& rcEdge) const
{
    rcEdge = rcWnd;
    if (m_dwSizeFlags & SCBS_SHOWEDGES)
        rcEdge.DeflateRect(1, 1);
    const int w = m_nEdgeWidth;
    const BOOL horz = IsSideHorz();
    switch (nHitTest) {
    case HTLEFT:
        if (!(m_dwSizeFlags & SCBS_EDGELEFT))
            return FALSE;
        rcEdge.right = rcEdge.left + w;
        if (horz)
            rcEdge.DeflateRect(0, w);
        return TRUE;
    case HTRIGHT:
        if (!(m_dwSizeFlags & SCBS_EDGERIGHT))
            return FALSE;
        rcEdge.left = rcEdge.right - w;
        if (horz)
            rcEdge.DeflateRect(0, w);
        return TRUE;
    case HTTOP:
        if (!(m_dwSizeFlags & SCBS_EDGETOP))
            return FALSE;
        rcEdge.bottom = rcEdge.top + w;
        if (!horz)
            rcEdge.DeflateRect(w, 0);
        return TRUE;
    case HTBOTTOM:
        if (!(m_dwSizeFlags & SCBS_EDGEBOTTOM))
            return FALSE;
        rcEdge.top = rcEdge.bottom - w;
        if (!horz)
            rcEdge.DeflateRect(w, 0);
        return TRUE;
    default:
        return TRUE;
    }
}

LRESULT CSizeControlBar::OnNcHitTest(CPoint point)
{
    if (IsSideFloating())
        return HTCLIENT;
    CRect window;
    GetWindowRect(&window);
    for (UINT hit : { HTLEFT, HTTOP, HTRIGHT, HTBOTTOM }) {
        CRect edge;
        if (GetEdgeRect(window, hit, edge) && edge.PtInRect(point))
            return hit;
    }
    return HTCLIENT;
}

// Composed off screen and copied in one step, around the client area, so
// that the bar does not flicker while the frame is resized.
void CSizeControlBar::OnNcPaint()
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    if (window.IsRectEmpty())
        return;

    CWindowDC dc(this);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, window.Width(), window.Height());
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);

    CRect inner = window;
    DrawBorders(&memory, inner);
    memory.FillSolidRect(&inner, GetSysColor(COLOR_BTNFACE));
    if (m_dwSizeFlags & SCBS_SHOWEDGES) {
        for (UINT hit : { HTLEFT, HTTOP, HTRIGHT, HTBOTTOM }) {
            CRect edge;
            if (GetEdgeRect(window, hit, edge))
                memory.Draw3dRect(&edge, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        }
    }
    PaintGripper(&memory, client);

    dc.IntersectClipRect(&window);
    dc.ExcludeClipRect(&client);
    dc.BitBlt(0, 0, window.Width(), window.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
}

void CSizeControlBar::PaintGripper(CDC*, const CRect&) {}

void CSizeControlBar::OnPaint() { CPaintDC dc(this); }

void CSizeControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

CSize CSizeControlBar::CalcDynamicLayout(int nLength, DWORD nMode)
{
    if (nMode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (nLength == -1)
            m_bRowLayout = TRUE;
        return CControlBar::CalcDynamicLayout(nLength, nMode);
    }
    if (!(nMode & (LM_MRUWIDTH | LM_COMMIT))) {
        if (nMode & LM_LENGTHY)
            m_sizeFloat.cy = nLength;
        else
            m_sizeFloat.cx = nLength;
    }
    m_sizeFloat.cx = std::max(m_sizeFloat.cx, m_sizeMinFloat.cx);
    m_sizeFloat.cy = std::max(m_sizeFloat.cy, m_sizeMinFloat.cy);
    return m_sizeFloat;
}

CSize CSizeControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (bStretch)
        return bHorz ? CSize(32767, m_sizeHorz.cy) : CSize(m_sizeVert.cx, 32767);
    if (m_pDockBar) {
        int self = -1;
        const std::vector<CSizeControlBar*> row = GetRowSizingBars(&self);
        // Pending delayed shows and hides of the row, in one go.
        AFX_SIZEPARENTPARAMS layout = {};
        layout.hDWP = m_pDockBar->m_bLayoutQuery ? nullptr : BeginDeferWindowPos(int(row.size()));
        for (CSizeControlBar* bar : row) {
            if (bar->m_nStateFlags & (delayHide | delayShow))
                bar->RecalcDelayShow(&layout);
        }
        if (layout.hDWP)
            EndDeferWindowPos(layout.hDWP);

        CRect rc = m_pDockBar->m_rectLayout;
        if (rc.IsRectEmpty() && m_pDockSite)
            m_pDockSite->GetClientRect(&rc);
        const int total = bHorz ? rc.Width() + kOverlap : rc.Height() - kOverlap;
        if (IsVisible() && !IsSideFloating() && m_bRowLayout && self == 0 && NegotiateSpace(total, bHorz))
            ArrangeRow();
    }
    m_bRowLayout = FALSE;
    return bHorz ? CSize(std::max(m_sizeHorz.cx, m_sizeMinHorz.cx), std::max(m_sizeHorz.cy, m_sizeMinHorz.cy))
                 : CSize(std::max(m_sizeVert.cx, m_sizeMinVert.cx), std::max(m_sizeVert.cy, m_sizeMinVert.cy));
}

// Every bar counts with its length less the overlap; the row starts at the
// overlap. A row whose minimum lengths do not fit is split. What is left
// over (or missing) goes to the one sizing bar, or pixel by pixel to all of
// them, those just shown last; no bar goes below its minimum length, so the
// sharing stops when no bar can give any more.
BOOL CSizeControlBar::NegotiateSpace(int nLengthTotal, BOOL bHorz)
{
    int first, last, self;
    if (!GetRowInfo(first, last, self))
        return FALSE;
    CPtrArray& bars = m_pDockBar->m_arrBars;
    int available = nLengthTotal, actual = 0, used = kOverlap, widest = 0;
    for (int i = first; i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (!bar || !bar->IsVisible())
            continue;
        auto* sizing = DYNAMIC_DOWNCAST(CSizeControlBar, bar);
        CRect rect;
        bar->GetWindowRect(&rect);
        const int current = bHorz ? rect.Width() : rect.Height();
        const int minimum = sizing ? MinLength(sizing, bHorz) : current;
        used += minimum - kOverlap;
        if (used > available) {
            if (i < self) {
                bars.InsertAt(i + 1, nullptr);
                return FALSE;
            }
            if (i == self) {
                Length(this, bHorz) = minimum;
                return TRUE;
            }
            bars.InsertAt(i, nullptr);
            break;
        }
        if (sizing) {
            actual += Length(sizing, bHorz) - kOverlap;
            widest = std::max(widest, Thickness(sizing, bHorz));
        } else {
            available -= current - kOverlap;
        }
    }

    const std::vector<CSizeControlBar*> row = GetRowSizingBars();
    int delta = available - actual;
    if (row.size() == 1) {
        if (delta != 0) {
            row[0]->m_bJustShown = FALSE;
            Length(row[0], bHorz) += delta;
        }
        return TRUE;
    }
    for (CSizeControlBar* bar : row)
        Thickness(bar, bHorz) = widest;
    while (delta != 0) {
        bool changed = false;
        for (CSizeControlBar* bar : row) {
            if (delta == 0)
                break;
            if (bar->m_bJustShown || (delta < 0 && Length(bar, bHorz) <= MinLength(bar, bHorz)))
                continue;
            Length(bar, bHorz) += delta > 0 ? 1 : -1;
            delta += delta > 0 ? -1 : 1;
            changed = true;
        }
        if (changed)
            continue;
        bool anyJustShown = false;
        for (CSizeControlBar* bar : row) {
            anyJustShown = anyJustShown || bar->m_bJustShown;
            bar->m_bJustShown = FALSE;
        }
        if (!anyJustShown)
            break;
    }
    for (CSizeControlBar* bar : row)
        bar->m_bJustShown = FALSE;
    return TRUE;
}

BOOL CSizeControlBar::ArrangeRow()
{
    int first, last, self;
    if (!GetRowInfo(first, last, self))
        return FALSE;
    const BOOL horz = IsSideHorz();
    int pos = horz ? -kOverlap : 0;
    BOOL moved = FALSE;
    for (int i = first; i <= last; ++i) {
        CControlBar* bar = m_pDockBar->GetDockedControlBar(i);
        if (!bar || !bar->IsVisible())
            continue;
        CRect rect;
        bar->GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        if (auto* sizing = DYNAMIC_DOWNCAST(CSizeControlBar, bar))
            rect = CRect(rect.TopLeft(), horz ? sizing->m_sizeHorz : sizing->m_sizeVert);
        if ((horz ? rect.left : rect.top) != pos) {
            if (!horz)
                rect.OffsetRect(0, pos - rect.top - kOverlap);
            else if (m_nDockSide == AFX_IDW_DOCKBAR_TOP)
                rect.OffsetRect(pos - rect.left, -kOverlap);
            else
                rect.OffsetRect(pos - rect.left, 0);
            bar->MoveWindow(&rect);
            moved = TRUE;
        }
        pos += (horz ? rect.Width() : rect.Height()) - kOverlap;
    }
    if (moved && m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return moved;
}

void CSizeControlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    lpwndpos->flags |= SWP_FRAMECHANGED;
    CControlBar::OnWindowPosChanging(lpwndpos);
    if (CWnd* parent = GetParent())
        m_nDockSide = UINT(parent->GetDlgCtrlID());
    if (!IsSideFloating() && (lpwndpos->flags & SWP_SHOWWINDOW))
        m_bJustShown = TRUE;
}

void CSizeControlBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    if (!(m_dwSizeFlags & SCBS_SIZECHILD))
        return;
    if (CWnd* child = GetWindow(GW_CHILD))
        child->MoveWindow(0, 0, cx, cy, TRUE);
}

LRESULT CSizeControlBar::OnSetText(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    if (IsSideFloating() && m_pDockBar && m_pDockBar->GetParentFrame() &&
        m_pDockBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        m_pDockBar->SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
        m_pDockBar->GetParentFrame()->DelayRecalcLayout();
    }
    return result;
}

void CSizeControlBar::OnClose() {}
