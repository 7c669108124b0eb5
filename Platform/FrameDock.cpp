// The docking side of CFrameWnd: its dock bars, docking, floating and
// showing bars, and saving and restoring their layout.
#include "Platform/DockBar.h"
#include "Platform/DockContext.h"
#include "Platform/DockState.h"
#include "Platform/FrameWnd.h"
#include "Platform/MiniDockFrameWnd.h"

#include <vector>

namespace {

// The dock bars in layout order: top and bottom span the frame, left and
// right stand between them.
const struct {
    UINT id;
    DWORD style;
} kDockBars[] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_TOP },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT },
};

} // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const auto& side : kDockBars) {
        if (!(side.style & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id))
            continue;
        auto* dockBar = new CDockBar;
        dockBar->m_bAutoDelete = TRUE;
        if (!dockBar->Create(this, WS_CLIPSIBLINGS | WS_CHILD | WS_VISIBLE | side.style, side.id)) {
            delete dockBar;
            continue;
        }
        // Below the bars made so far (a status bar keeps the very bottom).
        dockBar->SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return nullptr;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (UINT(bar->GetDlgCtrlID()) == nID)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (!m_listControlBars.Find(pBar))
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    if (POSITION pos = m_listControlBars.Find(pBar))
        m_listControlBars.RemoveAt(pos);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* dockBar = nDockBarID ? DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID)) : nullptr;
    DockControlBar(pBar, dockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    if (!pDockBar) {
        for (const auto& side : kDockBars) {
            if ((side.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
                pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.id));
                break;
            }
        }
    }
    if (pDockBar)
        pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pDockBar) {
        CDockBar* aligned = nullptr;
        for (const auto& side : kDockBars) {
            auto* candidate = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.id));
            if (!candidate)
                continue;
            if (candidate->FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(pBar))) > 0) {
                pDockBar = candidate;
                break;
            }
            if ((side.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
                aligned = candidate;
        }
        if (!pDockBar)
            pDockBar = aligned;
    }
    if (pDockBar)
        pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    auto* frame = m_pFloatingFrameClass ? DYNAMIC_DOWNCAST(CMiniDockFrameWnd, m_pFloatingFrameClass->CreateObject())
                                        : nullptr;
    if (!frame)
        return nullptr;
    if (!frame->Create(this, dwStyle)) {
        if (!frame->GetSafeHwnd())
            delete frame;
        return nullptr;
    }
    return frame;
}

void CFrameWnd::RecalcLayoutSettled()
{
    RecalcLayout(TRUE);
    if (m_bLayoutDue)
        RecalcLayout(TRUE);
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    // A bar floating alone in the same orientation only moves its frame.
    if (CDockBar* dockBar = pBar->m_pDockBar;
        dockBar && dockBar->m_bFloating && dockBar->GetDockedCount() == 1 && (dwStyle & dockBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        CFrameWnd* frame = dockBar->GetParentFrame();
        frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout(TRUE);
        frame->UpdateWindow();
        return;
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT)
            dwStyle = (dwStyle & ~DWORD(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* frame = CreateFloatingFrame(dwStyle);
    if (!frame)
        return;
    frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(pBar);
    frame->RecalcLayoutSettled();
    if (pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
}

// A floating frame shows while it holds a visible bar.
void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    CFrameWnd* frame = pBar->GetDockingFrame();
    if (bDelay) {
        pBar->DelayShow(bShow);
        if (frame)
            frame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->DelayShow(bShow);
        if (frame && (bShow || !pBar->IsFloating()))
            frame->RecalcLayout(FALSE);
    }
    if (!pBar->IsFloating() || !frame)
        return;
    const int visible = pBar->m_pDockBar->GetDockedVisibleCount();
    if (visible > 0 && !frame->IsWindowVisible()) {
        frame->RecalcLayoutSettled();
        frame->ShowWindow(SW_SHOWNA);
    } else if (visible == 0 && frame->IsWindowVisible()) {
        frame->ShowWindow(SW_HIDE);
    } else if (!bDelay) {
        frame->RecalcLayout(FALSE);
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar)
        *ppDockBar = nullptr;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* dockBar = DYNAMIC_DOWNCAST(CDockBar, static_cast<CControlBar*>(m_listControlBars.GetNext(pos)));
        if (!dockBar || !dockBar->IsWindowVisible() || !(dockBar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY))
            continue;
        if (dockBar->m_bFloating && !(dwDockStyle & dockBar->m_dwStyle & CBRS_FLOAT_MULTI))
            continue;
        CRect bar;
        dockBar->GetWindowRect(&bar);
        // An empty dock bar still catches what touches its edge.
        if (bar.Width() == 0)
            ++bar.right;
        if (bar.Height() == 0)
            ++bar.bottom;
        if (bar.IntersectRect(bar, rect)) {
            if (ppDockBar)
                *ppDockBar = dockBar;
            return dockBar->m_dwStyle & dwDockStyle;
        }
    }
    return 0;
}

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        auto* info = new CControlBarInfo;
        bar->GetBarInfo(info);
        state.m_arrBarInfo.Add(info);
    }
}

// Floating frames are made first, so that the dock bars' records can place
// bars into them; then the dock bars take their bars, then each bar its
// visibility and place.
void CFrameWnd::SetDockState(const CDockState& state)
{
    std::vector<CControlBarInfo*> infos;
    for (int i = 0; i < int(state.m_arrBarInfo.GetSize()); ++i)
        infos.push_back(static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]));
    for (CControlBarInfo* info : infos) {
        info->m_pBar = nullptr;
        if (info->m_bFloating && info->m_bDockBar) {
            CMiniDockFrameWnd* frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            if (!frame)
                continue;
            CRect rect(info->m_pointPos, CSize(10, 10));
            frame->CalcWindowRect(&rect);
            frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            info->m_pBar = &frame->m_wndDockBar;
        } else if (!info->m_bFloating) {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (CControlBarInfo* info : infos) {
            if (info->m_pBar && info->m_pBar->IsDockBar() == (pass == 0))
                info->m_pBar->SetBarInfo(info, this);
        }
    }
    for (CControlBarInfo* info : infos) {
        if (!info->m_bFloating || !info->m_pBar)
            continue;
        auto* dockBar = static_cast<CDockBar*>(info->m_pBar);
        CFrameWnd* frame = dockBar->GetParentFrame();
        if (dockBar->GetDockedCount() == 0) {
            frame->DestroyWindow();
        } else if (dockBar->GetDockedVisibleCount() > 0) {
            frame->RecalcLayoutSettled();
            frame->ShowWindow(SW_SHOWNA);
        }
        info->m_pBar = nullptr;
    }
    DelayRecalcLayout();
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}
