// The window's own scroll bars. Their state is the classic SCROLLINFO; the
// Qt scroll bars only show it and report the user's requests as
// WM_HSCROLL/WM_VSCROLL, leaving the position to the window's handler.
// A bar whose range needs no scrolling is hidden, which removes its style
// and gives its space to the client area.
#include "Platform/WndData.h"

#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

const UINT SBM_SETSCROLLINFO = 0x00E9;
const UINT SBM_GETSCROLLINFO = 0x00EA;

class WndScrollBarWidget : public QScrollBar {
public:
    WndScrollBarWidget(HWND owner, int bar, QWidget* parent)
        : QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, parent), m_owner(owner), m_bar(bar)
    {
        setFocusPolicy(Qt::NoFocus);
        connect(this, &QAbstractSlider::actionTriggered, [this](int action) { OnAction(action); });
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const bool dragging = isSliderDown();
        const int position = sliderPosition();
        QScrollBar::mouseReleaseEvent(e);
        if (dragging)
            Report(SB_THUMBPOSITION, position);
        Report(SB_ENDSCROLL, 0);
    }

private:
    void OnAction(int action)
    {
        WndData* d = WndData::From(m_owner);
        if (!d)
            return;
        UINT code;
        switch (action) {
        case SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case SliderSingleStepSub: code = SB_LINEUP; break;
        case SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case SliderPageStepSub: code = SB_PAGEUP; break;
        case SliderToMinimum: code = SB_TOP; break;
        case SliderToMaximum: code = SB_BOTTOM; break;
        case SliderMove: code = SB_THUMBTRACK; break;
        default: return;
        }
        const int track = sliderPosition();
        d->bars[m_bar].info.nTrackPos = track;
        if (code != SB_THUMBTRACK)
            setSliderPosition(d->bars[m_bar].info.nPos);
        Report(code, code == SB_THUMBTRACK ? track : 0);
    }

    void Report(UINT code, int position)
    {
        if (WndData* d = WndData::From(m_owner))
            Wnd::Send(d, m_bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(WORD(code), WORD(position)), 0);
    }

    HWND m_owner;
    int m_bar;
};

DWORD StyleOf(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

int Limit(const SCROLLINFO& si) { return std::max(si.nMin, si.nMax - std::max<int>(int(si.nPage) - 1, 0)); }

// Whether the range leaves anything to scroll.
bool Scrollable(const SCROLLINFO& si) { return si.nMax > si.nMin && si.nPage <= UINT(si.nMax - si.nMin); }

void Sync(WndData* d, int bar)
{
    QScrollBar* q = d->bars[bar].bar;
    if (!q)
        return;
    const SCROLLINFO& si = d->bars[bar].info;
    const QSignalBlocker block(q);
    q->setRange(si.nMin, Limit(si));
    q->setPageStep(std::max<int>(int(si.nPage), 1));
    q->setSingleStep(1);
    q->setValue(si.nPos);
    q->setEnabled(d->bars[bar].enabled && Scrollable(si));
}

void SetBarShown(WndData* d, int bar, bool show)
{
    const DWORD style = StyleOf(bar);
    if (bool(d->style & style) == show)
        return;
    if (show)
        d->style |= style;
    else
        d->style &= ~style;
    CWnd::FromHandle(d->handle())
        ->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

} // namespace

void Wnd::LayoutScrollBars(WndData* d)
{
    for (int bar : { SB_HORZ, SB_VERT }) {
        const CRect r = ScrollBarRect(d, bar);
        QScrollBar*& q = d->bars[bar].bar;
        if (r.IsRectEmpty()) {
            if (q)
                q->hide();
            continue;
        }
        if (!q)
            q = new WndScrollBarWidget(d->handle(), bar, d->frame);
        q->setGeometry(r.left, r.top, r.Width(), r.Height());
        Sync(d, bar);
        q->show();
    }
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    (void)bRedraw;
    WndData* d = WndData::From(m_hWnd);
    if (!d || !lpScrollInfo)
        return FALSE;
    if (nBar == SB_CTL)
        return BOOL(SendMessage(SBM_SETSCROLLINFO, WPARAM(bRedraw), reinterpret_cast<LPARAM>(lpScrollInfo)));
    if (nBar != SB_HORZ && nBar != SB_VERT)
        return FALSE;
    SCROLLINFO& si = d->bars[nBar].info;
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = std::max(lpScrollInfo->nMin, lpScrollInfo->nMax);
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & (SIF_RANGE | SIF_PAGE))
        si.nPage = std::min<UINT>(si.nPage, UINT(si.nMax - si.nMin + 1));
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    si.nPos = std::clamp(si.nPos, si.nMin, Limit(si));
    if (mask & (SIF_RANGE | SIF_PAGE)) {
        const bool needed = Scrollable(si);
        d->bars[nBar].enabled = true;
        if (needed || (mask & SIF_DISABLENOSCROLL))
            SetBarShown(d, nBar, true);
        else
            SetBarShown(d, nBar, false);
        if (!WndData::From(m_hWnd))
            return FALSE;
    }
    Sync(d, nBar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || !lpScrollInfo)
        return FALSE;
    lpScrollInfo->fMask = nMask;
    if (nBar == SB_CTL)
        return BOOL(SendMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpScrollInfo)));
    if (nBar != SB_HORZ && nBar != SB_VERT)
        return FALSE;
    const SCROLLINFO& si = d->bars[nBar].info;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = si.nTrackPos;
    return TRUE;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    const int old = GetScrollPos(nBar);
    SCROLLINFO si = { sizeof si, SIF_POS, 0, 0, 0, nPos, 0 };
    SetScrollInfo(nBar, &si, bRedraw);
    return old;
}

int CWnd::GetScrollPos(int nBar) const
{
    SCROLLINFO si = { sizeof si, SIF_POS, 0, 0, 0, 0, 0 };
    return const_cast<CWnd*>(this)->GetScrollInfo(nBar, &si, SIF_POS) ? si.nPos : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si = { sizeof si, SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0 };
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const
{
    SCROLLINFO si = { sizeof si, SIF_RANGE, 0, 0, 0, 0, 0 };
    const_cast<CWnd*>(this)->GetScrollInfo(nBar, &si, SIF_RANGE);
    *lpMinPos = si.nMin;
    *lpMaxPos = si.nMax;
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    return GetScrollInfo(nBar, &si, SIF_ALL) ? Limit(si) : 0;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    if (nBar == SB_HORZ || nBar == SB_BOTH)
        SetBarShown(d, SB_HORZ, bShow);
    if ((nBar == SB_VERT || nBar == SB_BOTH) && WndData::From(m_hWnd))
        SetBarShown(d, SB_VERT, bShow);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    for (int bar : { SB_HORZ, SB_VERT }) {
        if (nBar == bar || nBar == SB_BOTH) {
            d->bars[bar].enabled = bEnable;
            Sync(d, bar);
        }
    }
}
