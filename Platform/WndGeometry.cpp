// Window positions, sizes, z-order, showing, enabling and the client
// rectangle that WM_NCCALCSIZE carves out of the window rectangle.
#include "Platform/DialogHook.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// Moves h within its sibling list: front is the top of the z-order. Child
// widgets follow; top-level windows are stacked by the desktop when they
// are activated.
void Restack(WndData* d, HWND insertAfter)
{
    std::vector<HWND>* siblings = &Wnd::TopLevels();
    if (WndData* p = WndData::From(d->parent))
        siblings = &p->children;
    HWND h = d->handle();
    siblings->erase(std::remove(siblings->begin(), siblings->end(), h), siblings->end());
    auto at = siblings->begin();
    if (insertAfter == HWND_BOTTOM) {
        at = siblings->end();
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto it = std::find(siblings->begin(), siblings->end(), insertAfter);
        if (it != siblings->end())
            at = it + 1;
    }
    at = siblings->insert(at, h);
    if (!d->isChild())
        return;
    if (at == siblings->begin())
        d->frame->raise();
    else if (WndData* above = WndData::From(*(at - 1)))
        d->frame->stackUnder(above->frame);
}

// The client rectangle for a window rectangle (both in parent coordinates).
CRect CalcClient(WndData* d, const CRect& window, const CRect& oldWindow, WINDOWPOS* pos)
{
    NCCALCSIZE_PARAMS params = {};
    params.rgrc[0] = window;
    params.rgrc[1] = oldWindow;
    CRect oldClient = d->client;
    oldClient.OffsetRect(oldWindow.left, oldWindow.top);
    params.rgrc[2] = oldClient;
    params.lppos = pos;
    Wnd::Send(d, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    CRect client(params.rgrc[0]);
    client.OffsetRect(-window.left, -window.top);
    // A client area never extends past the window nor turns inside out.
    client.left = std::clamp<LONG>(client.left, 0, window.Width());
    client.top = std::clamp<LONG>(client.top, 0, window.Height());
    client.right = std::clamp<LONG>(client.right, client.left, window.Width());
    client.bottom = std::clamp<LONG>(client.bottom, client.top, window.Height());
    return client;
}

} // namespace

void Wnd::ClampSize(WndData* d, int* cx, int* cy)
{
    if (d->isChild())
        return;
    const bool sizable = (d->style & WS_THICKFRAME) || (d->style & WS_CAPTION) == WS_CAPTION;
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                          : QRect(0, 0, 1920, 1080);
    MINMAXINFO mmi = {};
    mmi.ptMaxSize = { screen.width(), screen.height() };
    mmi.ptMinTrackSize = sizable ? POINT{ GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN) } : POINT{ 0, 0 };
    mmi.ptMaxTrackSize = { QWIDGETSIZE_MAX, QWIDGETSIZE_MAX };
    Wnd::Send(d, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (!WndData::From(d->handle()))
        return;
    const int minX = std::max<int>(mmi.ptMinTrackSize.x, 0), minY = std::max<int>(mmi.ptMinTrackSize.y, 0);
    const int maxX = std::max<int>(mmi.ptMaxTrackSize.x, minX), maxY = std::max<int>(mmi.ptMaxTrackSize.y, minY);
    *cx = std::clamp(*cx, minX, maxX);
    *cy = std::clamp(*cy, minY, maxY);
    d->frame->setMinimumSize(minX, minY);
    d->frame->setMaximumSize(std::min(maxX, QWIDGETSIZE_MAX), std::min(maxY, QWIDGETSIZE_MAX));
}

void Wnd::ApplyGeometry(WndData* d)
{
    if (!d->geometryFromQt) {
        d->geometryFromQt = true;
        d->frame->setGeometry(d->window.left, d->window.top, d->window.Width(), d->window.Height());
        d->geometryFromQt = false;
    }
    d->clientWidget->setGeometry(d->client.left, d->client.top, d->client.Width(), d->client.Height());
    LayoutScrollBars(d);
    EnsureBuffer(d);
}

void Wnd::RecalcFrame(WndData* d, bool sendSize)
{
    const CSize oldSize = d->client.Size();
    d->client = CalcClient(d, d->window, d->window, nullptr);
    if (!WndData::From(d->handle()))
        return;
    ApplyGeometry(d);
    InvalidateFrame(d);
    if (sendSize && d->client.Size() != oldSize)
        Send(d, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(d->client.Width()), WORD(d->client.Height())));
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    WndData* d = WndData::From(m_hWnd);
    *lpRect = d ? d->windowInScreen() : CRect();
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    WndData* d = WndData::From(m_hWnd);
    *lpRect = d ? CRect(0, 0, d->client.Width(), d->client.Height()) : CRect();
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    if (WndData* d = WndData::From(m_hWnd)) {
        const CRect c = d->clientInScreen();
        lpPoint->x += c.left;
        lpPoint->y += c.top;
    }
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    if (WndData* d = WndData::From(m_hWnd)) {
        const CRect c = d->clientInScreen();
        lpPoint->x -= c.left;
        lpPoint->y -= c.top;
    }
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
{
    for (UINT i = 0; i < nCount; ++i) {
        ClientToScreen(&lpPoint[i]);
        if (pwndTo)
            pwndTo->ScreenToClient(&lpPoint[i]);
    }
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
{
    MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    HWND self = m_hWnd;
    // The request as the handler sees it: unchanged parts hold their current values.
    WINDOWPOS pos = { self, pWndInsertAfter ? pWndInsertAfter->m_hWnd : HWND_TOP, x, y, cx, cy, nFlags };
    if (nFlags & SWP_NOMOVE) {
        pos.x = d->window.left;
        pos.y = d->window.top;
    }
    if (nFlags & SWP_NOSIZE) {
        pos.cx = d->window.Width();
        pos.cy = d->window.Height();
    }
    if (!(nFlags & SWP_NOSENDCHANGING))
        Wnd::Send(d, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!WndData::From(self))
        return FALSE;
    const UINT flags = pos.flags;

    const CRect oldWindow = d->window;
    const CRect oldClient = d->client;
    CRect window = oldWindow;
    if (!(flags & SWP_NOMOVE))
        window.OffsetRect(pos.x - window.left, pos.y - window.top);
    if (!(flags & SWP_NOSIZE)) {
        int cx = std::max(pos.cx, 0), cy = std::max(pos.cy, 0);
        Wnd::ClampSize(d, &cx, &cy);
        if (!WndData::From(self))
            return FALSE;
        window.right = window.left + cx;
        window.bottom = window.top + cy;
    }
    const bool sized = window.Size() != oldWindow.Size();
    if (sized || (flags & SWP_FRAMECHANGED)) {
        d->client = CalcClient(d, window, oldWindow, &pos);
        if (!WndData::From(self))
            return FALSE;
    }
    d->window = window;
    if (!(flags & SWP_NOZORDER))
        Restack(d, pos.hwndInsertAfter);
    if (pos.hwndInsertAfter == HWND_TOPMOST && !(flags & SWP_NOZORDER))
        d->exStyle |= WS_EX_TOPMOST;
    else if (pos.hwndInsertAfter == HWND_NOTOPMOST && !(flags & SWP_NOZORDER))
        d->exStyle &= ~WS_EX_TOPMOST;
    Wnd::ApplyGeometry(d);

    const bool clientSized = d->client.Size() != oldClient.Size();
    const bool clientMoved = d->client.TopLeft() + window.TopLeft() != oldClient.TopLeft() + oldWindow.TopLeft();
    if (!(flags & SWP_NOREDRAW)) {
        if (sized || (flags & SWP_FRAMECHANGED) || clientSized)
            Wnd::InvalidateFrame(d);
        if (clientSized) {
            const bool whole = (d->classStyle & (CS_HREDRAW | CS_VREDRAW)) || d->client.Width() < oldClient.Width() ||
                               d->client.Height() < oldClient.Height();
            QRegion exposed(0, 0, d->client.Width(), d->client.Height());
            if (!whole)
                exposed -= QRegion(0, 0, oldClient.Width(), oldClient.Height());
            Wnd::InvalidateClient(d, exposed, true);
        }
    }

    if ((flags & SWP_SHOWWINDOW) && !(d->style & WS_VISIBLE)) {
        d->style |= WS_VISIBLE;
        d->frame->setAttribute(Qt::WA_ShowWithoutActivating, (flags & SWP_NOACTIVATE) != 0);
        d->frame->show();
        Wnd::InvalidateFrame(d);
        Wnd::InvalidateClient(d, QRegion(0, 0, d->client.Width(), d->client.Height()), true);
        if (!d->isChild() && !(flags & SWP_NOACTIVATE)) {
            Wnd::SetActive(d, false);
            if (!WndData::From(self))
                return FALSE;
        }
    } else if ((flags & SWP_HIDEWINDOW) && (d->style & WS_VISIBLE)) {
        d->style &= ~WS_VISIBLE;
        d->frame->hide();
        // A hidden child cannot keep the focus; its parent takes it. A
        // hidden top-level window hands the activation, and with it the
        // focus, back to its owner. A window hidden while it loses the
        // focus leaves it to the window receiving it.
        const HWND focus = ::GetFocus();
        const bool holdsFocus = (focus == self || ::IsChild(self, focus)) && !Wnd::LosingFocus(focus);
        if (d->isChild()) {
            if (holdsFocus)
                ::SetFocus(d->parent);
        } else if (::GetActiveWindow() == self || holdsFocus) {
            if (WndData* owner = WndData::From(d->owner); owner && owner->isVisible())
                Wnd::SetActive(owner, false);
            if (WndData::From(self) && (::GetFocus() == self || ::IsChild(self, ::GetFocus())))
                ::SetFocus(nullptr);
        }
        if (!WndData::From(self))
            return FALSE;
    }

    WINDOWPOS done = { self, pos.hwndInsertAfter, d->window.left, d->window.top, d->window.Width(),
                       d->window.Height(), flags };
    if (!clientSized && !sized)
        done.flags |= SWP_NOSIZE;
    if (!clientMoved && window.TopLeft() == oldWindow.TopLeft())
        done.flags |= SWP_NOMOVE;
    else
        done.flags &= ~UINT(SWP_NOMOVE);
    if (clientSized)
        done.flags &= ~UINT(SWP_NOSIZE);
    Wnd::Send(d, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    CRect area;
    if (d->isChild()) {
        GetParent()->GetClientRect(&area);
    } else if (CWnd* owner = pAlternateOwner ? pAlternateOwner : GetOwner()) {
        owner->GetWindowRect(&area);
    } else {
        const QRect s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                         : QRect(0, 0, 800, 600);
        area = CRect(s.left(), s.top(), s.left() + s.width(), s.top() + s.height());
    }
    const int x = area.left + (area.Width() - d->window.Width()) / 2;
    const int y = area.top + (area.Height() - d->window.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop() { SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL CWnd::ShowWindow(int nCmdShow)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    const BOOL wasVisible = (d->style & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        if (!wasVisible)
            return FALSE;
        SendMessage(WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    // SW_SHOW and the other plain states keep a window maximised or
    // minimised (a frame created with WS_MAXIMIZE is shown maximised).
    if (!d->isChild()) {
        const bool restore = nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_RESTORE;
        const bool minimise = nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_SHOWMINNOACTIVE;
        if (restore || minimise || nCmdShow == SW_SHOWMAXIMIZED)
            d->style &= ~DWORD(WS_MAXIMIZE | WS_MINIMIZE);
        if (nCmdShow == SW_SHOWMAXIMIZED)
            d->style |= WS_MAXIMIZE;
        else if (minimise)
            d->style |= WS_MINIMIZE;
    }
    if (!wasVisible) {
        SendMessage(WM_SHOWWINDOW, TRUE, 0);
        if (!WndData::From(m_hWnd))
            return FALSE;
    }
    const bool activate = nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWMINNOACTIVE;
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE) |
                     (d->isChild() ? SWP_NOZORDER : 0));
    if (WndData::From(m_hWnd) && !d->isChild()) {
        // Maximised at the fixed screen size (a display's own screen then
        // sets the real size), so pictures are the same everywhere.
        if (d->style & WS_MAXIMIZE) {
            SetWindowPos(nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (!AfxHeadless())
                d->frame->showMaximized();
        } else if (d->style & WS_MINIMIZE) {
            d->frame->showMinimized();
        }
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsIconic() const { return (GetStyle() & WS_MINIMIZE) != 0; }
BOOL CWnd::IsZoomed() const { return (GetStyle() & WS_MAXIMIZE) != 0; }

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    const BOOL wasDisabled = (d->style & WS_DISABLED) != 0;
    if (bEnable == wasDisabled) {
        HWND self = m_hWnd;
        if (bEnable) {
            d->style &= ~DWORD(WS_DISABLED);
        } else {
            // Whatever the window is tracking ends (by default its capture
            // goes), and a disabled window cannot keep the focus.
            SendMessage(WM_CANCELMODE);
            if (!WndData::From(self))
                return wasDisabled;
            d->style |= WS_DISABLED;
            if (::GetFocus() == self)
                ::SetFocus(nullptr);
            if (!WndData::From(self))
                return wasDisabled;
        }
        d->frame->setEnabled(bEnable);
        // Qt disables a widget's child windows with it; a window this one
        // owns (a modal dialog over it) keeps its own state.
        if (!bEnable) {
            for (QWidget* child : d->frame->findChildren<QWidget*>()) {
                auto* owned = dynamic_cast<WndWidget*>(child);
                if (owned && owned->isWindow() && owned->data && !(owned->data->style & WS_DISABLED))
                    owned->setEnabled(true);
            }
        }
        SendMessage(WM_ENABLE, WPARAM(bEnable));
    }
    return wasDisabled;
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return nullptr;
    for (HWND c : d->children) {
        WndData* w = WndData::From(c);
        if (w && (w->style & WS_VISIBLE) && w->window.PtInRect(point))
            return FromHandle(c);
    }
    return CRect(0, 0, d->client.Width(), d->client.Height()).PtInRect(point) ? FromHandle(m_hWnd) : nullptr;
}

CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }

namespace {

// The deepest visible window at a screen point within d, or null. A
// disabled child and all within it leave the point to their parent, which
// is also where Qt sends a press on a disabled widget.
HWND DeepestAt(WndData* d, POINT screen)
{
    if (!(d->style & WS_VISIBLE) || !d->windowInScreen().PtInRect(screen))
        return nullptr;
    if (d->clientInScreen().PtInRect(screen)) {
        for (HWND c : d->children) {
            WndData* child = WndData::From(c);
            if (HWND hit = DeepestAt(child, screen))
                return (child->style & WS_DISABLED) ? d->handle() : hit;
        }
    }
    return d->handle();
}

} // namespace

HWND WindowFromPoint(POINT point)
{
    for (HWND top : Wnd::TopLevels()) {
        if (HWND hit = DeepestAt(WndData::From(top), point))
            return hit;
    }
    return nullptr;
}
