#include "Platform/DockBar.h"

#include "Platform/Dc.h"
#include "Platform/DockContext.h"
#include "Platform/DockState.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const int kOverlap = 2;

bool IsPlaceHolder(void* entry) { return entry && reinterpret_cast<UINT_PTR>(entry) < 0x10000; }

} // namespace

void* AfxPlaceHolderOf(CControlBar* pBar) { return reinterpret_cast<void*>(UINT_PTR(UINT(pBar->GetDlgCtrlID()) & 0xFFFF)); }

UINT AfxDockBarIdOf(DWORD dwBarStyle)
{
    if (dwBarStyle & CBRS_ALIGN_TOP)
        return AFX_IDW_DOCKBAR_TOP;
    if (dwBarStyle & CBRS_ALIGN_BOTTOM)
        return AFX_IDW_DOCKBAR_BOTTOM;
    if (dwBarStyle & CBRS_ALIGN_LEFT)
        return AFX_IDW_DOCKBAR_LEFT;
    return (dwBarStyle & CBRS_ALIGN_RIGHT) ? AFX_IDW_DOCKBAR_RIGHT : 0;
}

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    m_arrBars.Add(nullptr);
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL & ~CBRS_BORDER_ANY;
    const DWORD windowStyle = dwStyle & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    return CWnd::Create(nullptr, nullptr, windowStyle | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID);
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const
{
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i) {
        if (i != nPosExclude && m_arrBars[i] == pBar)
            return i;
    }
    return -1;
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    void* entry = m_arrBars[nPos];
    return IsPlaceHolder(entry) ? nullptr : static_cast<CControlBar*>(entry);
}

int CDockBar::GetDockedCount() const
{
    int n = 0;
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i)
        n += GetDockedControlBar(i) != nullptr;
    return n;
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        n += bar && bar->IsVisible();
    }
    return n;
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int after = 0, thickness = 0, total = 0;
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar && bar != pBarIns && bar->IsVisible()) {
            CRect r;
            bar->GetWindowRect(&r);
            ScreenToClient(&r);
            thickness = std::max<int>(thickness, horz ? r.Height() : r.Width());
            if (horz ? rect.left > r.left : rect.top > r.top)
                after = i;
        } else if (!m_arrBars[i]) {
            total += thickness - kOverlap;
            thickness = 0;
            if ((horz ? ptMid.y : ptMid.x) < total) {
                if (i == 0)
                    m_arrBars.InsertAt(after + 1, nullptr);
                m_arrBars.InsertAt(after + 1, pBarIns);
                return after + 1;
            }
            after = i;
        }
    }
    m_arrBars.InsertAt(after + 1, nullptr);
    m_arrBars.InsertAt(after + 1, pBarIns);
    return after + 1;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) { Dock(pBar, lpRect, false); }

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) { Dock(pBar, lpRect, true); }

// The bar joins the list, then this window, then leaves its old dock bar,
// and only then moves: a bar that asks its dock bar about its row while it
// is being positioned finds itself there.
void CDockBar::Dock(CControlBar* pBar, LPCRECT lpRect, bool usePlaceHolder)
{
    CRect barRect;
    pBar->GetWindowRect(&barRect);
    if (pBar->m_pDockBar == this && (!lpRect || barRect == *lpRect))
        return;
    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle = (m_dwStyle & ~DWORD(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC)) |
                (pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        char title[256] = {};
        pBar->GetWindowText(title, int(sizeof title));
        SetWindowText(title);
    }
    DWORD style = (pBar->m_dwStyle & ~DWORD(CBRS_ALIGN_ANY)) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    style = m_bFloating ? (style | CBRS_FLOATING) : (style & ~DWORD(CBRS_FLOATING));
    pBar->SetBarStyle(style);

    // Hidden while it changes sites, so that it never shows in between.
    bool show = false;
    if (pBar->m_pDockBar != this && (pBar->GetStyle() & WS_VISIBLE)) {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        show = true;
    }

    int nPos = usePlaceHolder ? FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(pBar))) : -1;
    if (nPos > 0)
        m_arrBars[nPos] = pBar;
    CRect rect;
    if (lpRect) {
        rect = *lpRect;
        ScreenToClient(&rect);
        if (nPos < 1)
            nPos = Insert(pBar, rect, rect.CenterPoint());
    } else if (nPos < 1) {
        m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
        nPos = int(m_arrBars.GetSize()) - 2;
    }

    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    if (pBar->m_pDockBar == this)
        RemoveControlBar(pBar, nPos);
    else if (CDockBar* old = pBar->m_pDockBar)
        old->RemoveControlBar(pBar, -1, m_bFloating && !old->m_bFloating);
    pBar->m_pDockBar = this;
    if (!m_bFloating && pBar->m_pDockContext)
        pBar->m_pDockContext->m_uMRUDockID = UINT(GetDlgCtrlID());

    if (lpRect)
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    else
        pBar->SetWindowPos(nullptr, -kOverlap, -kOverlap, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (show)
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RemovePlaceHolder(pBar);
    if (CFrameWnd* frame = GetDockingFrame())
        frame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    const int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    if (nAddPlaceHolder == 1) {
        m_arrBars[nPos] = AfxPlaceHolderOf(pBar);
        // One placeholder per bar is enough.
        if (FindBar(static_cast<CControlBar*>(m_arrBars[nPos]), nPos) > 0)
            m_arrBars.RemoveAt(nPos);
    } else {
        m_arrBars.RemoveAt(nPos);
        if (nAddPlaceHolder != -1)
            RemovePlaceHolder(pBar);
    }
    if (nPos < m_arrBars.GetSize() && !m_arrBars[nPos - 1] && !m_arrBars[nPos])
        m_arrBars.RemoveAt(nPos);

    CFrameWnd* frame = GetDockingFrame();
    if (m_bFloating && GetDockedVisibleCount() == 0 && frame) {
        if (GetDockedCount() == 0) {
            frame->DestroyWindow();
            return TRUE;
        }
        frame->ShowWindow(SW_HIDE);
    } else if (frame) {
        frame->DelayRecalcLayout();
    }
    return FALSE;
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
    const int nPos = FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(pBar)));
    if (nPos <= 0)
        return;
    m_arrBars.RemoveAt(nPos);
    if (nPos < m_arrBars.GetSize() && !m_arrBars[nPos - 1] && !m_arrBars[nPos])
        m_arrBars.RemoveAt(nPos);
}

void CDockBar::ForgetControlBar(CControlBar* pBar)
{
    const int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    m_arrBars.RemoveAt(nPos);
    if (nPos < m_arrBars.GetSize() && !m_arrBars[nPos - 1] && !m_arrBars[nPos])
        m_arrBars.RemoveAt(nPos);
}

void CDockBar::ShowAll(BOOL bShow)
{
    CFrameWnd* site = m_pDockSite;
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i) {
        if (CControlBar* bar = GetDockedControlBar(i); bar && site)
            site->ShowControlBar(bar, bShow, FALSE);
    }
}

void CDockBar::OnDestroy()
{
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i) {
        if (CControlBar* bar = GetDockedControlBar(i))
            bar->m_pDockBar = nullptr;
    }
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    CControlBar::OnDestroy();
}

void CDockBar::PostNcDestroy()
{
    CControlBar::PostNcDestroy();
    if (m_bAutoDelete)
        delete this;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    m_bLayoutQuery = layout->hDWP == nullptr;
    m_rectLayout = layout->rect;
    const LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = FALSE;
    m_rectLayout.SetRectEmpty();
    return result;
}

// Rows one after the other from the edge; in a row, bars one after the
// other from the row's start, each no further back than it stands now and,
// unless floating, pushed back in when it would reach past the end.
CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize fixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    CSize most;
    if (!m_rectLayout.IsRectEmpty()) {
        most = m_rectLayout.Size();
    } else if (CFrameWnd* frame = GetParentFrame()) {
        CRect client;
        frame->GetClientRect(&client);
        most = client.Size();
    }
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : BeginDeferWindowPos(int(m_arrBars.GetSize()));
    CPoint pt(-kOverlap, -kOverlap);
    int thickness = 0;
    for (int nPos = 0; nPos < int(m_arrBars.GetSize()); ++nPos) {
        CControlBar* bar = GetDockedControlBar(nPos);
        if (bar && bar->IsVisible()) {
            DWORD mode = 0;
            if (m_bFloating)
                mode = LM_HORZ | LM_MRUWIDTH;
            else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
                mode = LM_HORZ | LM_HORZDOCK;
            else
                mode = LM_VERTDOCK;
            const CSize size = bar->CalcDynamicLayout(-1, mode);
            // The bar may have split the row before it: then it starts the next.
            if (nPos < int(m_arrBars.GetSize()) && m_arrBars[nPos] != bar) {
                --nPos;
                continue;
            }
            CRect rect(pt, size);
            CRect now;
            bar->GetWindowRect(&now);
            ScreenToClient(&now);
            if (bHorz) {
                if (now.left > rect.left && !m_bFloating)
                    rect.OffsetRect(now.left - rect.left, 0);
                if (rect.right > most.cx && !m_bFloating)
                    rect.OffsetRect(std::max<int>(most.cx - (rect.Width() - kOverlap), pt.x) - rect.left, 0);
                pt.x = rect.left + size.cx - kOverlap;
                thickness = std::max<int>(thickness, size.cy);
            } else {
                if (now.top > rect.top && !m_bFloating)
                    rect.OffsetRect(0, now.top - rect.top);
                if (rect.bottom > most.cy && !m_bFloating)
                    rect.OffsetRect(0, std::max<int>(most.cy - (rect.Height() - kOverlap), pt.y) - rect.top);
                pt.y = rect.top + size.cy - kOverlap;
                thickness = std::max<int>(thickness, size.cx);
            }
            // The place is kept even when the bar stands there already
            // (a sizing bar may have moved itself while it was asked).
            if (!m_bLayoutQuery && bar->m_pDockContext && !m_bFloating)
                bar->m_pDockContext->m_rectMRUDockPos = rect;
            if (rect != now)
                AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
        }
        if (bar)
            bar->RecalcDelayShow(&layout);
        if (!m_arrBars[nPos] && thickness) {
            if (bHorz) {
                pt.y += thickness - kOverlap;
                fixed.cx = std::max<LONG>(fixed.cx, pt.x);
                fixed.cy = std::max<LONG>(fixed.cy, pt.y);
                pt.x = -kOverlap;
            } else {
                pt.x += thickness - kOverlap;
                fixed.cx = std::max<LONG>(fixed.cx, pt.x);
                fixed.cy = std::max<LONG>(fixed.cy, pt.y);
                pt.y = -kOverlap;
            }
            thickness = 0;
        }
    }
    if (layout.hDWP)
        EndDeferWindowPos(layout.hDWP);
    return fixed;
}

void CDockBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    CControlBar::GetBarInfo(pInfo);
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = m_bFloating;
    pInfo->m_bDocking = FALSE;
    if (m_bFloating) {
        pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_arrBarID.RemoveAll();
    for (int i = 1; i < int(m_arrBars.GetSize()); ++i) {
        void* entry = m_arrBars[i];
        UINT id = 0;
        if (IsPlaceHolder(entry))
            id = UINT(reinterpret_cast<UINT_PTR>(entry)) | 0x10000;
        else if (entry)
            id = UINT(static_cast<CControlBar*>(entry)->GetDlgCtrlID()) & 0xFFFF;
        pInfo->m_arrBarID.Add(reinterpret_cast<void*>(UINT_PTR(id)));
    }
}

// The saved entries in their order; a bar docked elsewhere moves here. Bars
// the record does not name keep a row of their own at the end.
void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    CPtrArray old;
    for (int i = 0; i < int(m_arrBars.GetSize()); ++i)
        old.Add(m_arrBars[i]);
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    for (int i = 0; i < int(pInfo->m_arrBarID.GetSize()); ++i) {
        const UINT id = UINT(reinterpret_cast<UINT_PTR>(pInfo->m_arrBarID[i]));
        if (id == 0) {
            if (m_arrBars[m_arrBars.GetSize() - 1])
                m_arrBars.Add(nullptr);
        } else if (id & 0x10000) {
            m_arrBars.Add(reinterpret_cast<void*>(UINT_PTR(id & 0xFFFF)));
        } else if (CControlBar* bar = pFrameWnd->GetControlBar(id); bar && !bar->IsDockBar() && FindBar(bar) < 0) {
            if (bar->m_pDockBar && bar->m_pDockBar != this) {
                CDockBar* from = bar->m_pDockBar;
                if (bar->GetParent() != this)
                    bar->SetParent(this);
                bar->m_pDockBar = this;
                from->RemoveControlBar(bar, -1, -1);
            } else if (bar->GetParent() != this) {
                bar->SetParent(this);
            }
            bar->m_pDockBar = this;
            const DWORD style = (bar->m_dwStyle & ~DWORD(CBRS_ALIGN_ANY)) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
            bar->SetBarStyle(m_bFloating ? (style | CBRS_FLOATING) : (style & ~DWORD(CBRS_FLOATING)));
            m_arrBars.Add(bar);
        }
    }
    for (int i = 0; i < int(old.GetSize()); ++i) {
        void* entry = old[i];
        if (entry && !IsPlaceHolder(entry) && FindBar(static_cast<CControlBar*>(entry)) < 0 &&
            static_cast<CControlBar*>(entry)->m_pDockBar == this) {
            if (m_arrBars[m_arrBars.GetSize() - 1])
                m_arrBars.Add(nullptr);
            m_arrBars.Add(entry);
        }
    }
    if (m_arrBars[m_arrBars.GetSize() - 1])
        m_arrBars.Add(nullptr);
    pFrameWnd->DelayRecalcLayout();
}
