// The default window procedure: what a window does with a message its
// message map leaves alone. It carves borders, caption, client edge and
// scroll bars out of the window rectangle, paints and hit-tests them in the
// classic look, and passes mouse-wheel, cursor, activation and context-menu
// requests of child windows up to their parents.
#include "Platform/Cursor.h"
#include "Platform/Dc.h"
#include "Platform/MenuTrack.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <cstring>

namespace {

const int kResizeCorner = 16;

QColor Sys(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A top-level overlapped window gets its frame and caption from the
// desktop; everything else draws its own.
bool OwnFrame(const WndData* d) { return d->isChild() || (d->style & WS_POPUP); }

int FrameWidth(const WndData* d)
{
    if (!OwnFrame(d))
        return 0;
    if (d->style & WS_THICKFRAME)
        return GetSystemMetrics(SM_CXFRAME);
    if ((d->style & WS_DLGFRAME) || (d->exStyle & WS_EX_DLGMODALFRAME))
        return GetSystemMetrics(SM_CXDLGFRAME);
    return (d->style & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

int CaptionHeight(const WndData* d)
{
    if (!OwnFrame(d) || (d->style & WS_CAPTION) != WS_CAPTION)
        return 0;
    return GetSystemMetrics((d->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int EdgeWidth(const WndData* d)
{
    if (d->exStyle & WS_EX_CLIENTEDGE)
        return GetSystemMetrics(SM_CXEDGE);
    return (d->exStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0;
}

// Window-relative rectangles of the parts, from the window size.
CRect CaptionRect(const WndData* d)
{
    const int f = FrameWidth(d);
    return CRect(f, f, d->window.Width() - f, f + CaptionHeight(d));
}

CRect CloseButtonRect(const WndData* d)
{
    const CRect cap = CaptionRect(d);
    if (cap.IsRectEmpty() || !(d->style & WS_SYSMENU))
        return CRect();
    const int size = cap.Height() - 4;
    return CRect(cap.right - 2 - size, cap.top + 2, cap.right - 2, cap.top + 2 + size);
}

void DefaultNcCalcSize(WndData* d, RECT* r)
{
    const int f = FrameWidth(d);
    const int e = EdgeWidth(d);
    CRect c(r);
    c.DeflateRect(f + e, f + e);
    c.top += CaptionHeight(d) + MenuTrack::BarHeight(d);
    const int vbar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
    if ((d->style & WS_VSCROLL) && c.Width() >= vbar)
        c.right -= vbar;
    if ((d->style & WS_HSCROLL) && c.Height() >= hbar)
        c.bottom -= hbar;
    c.right = std::max(c.right, c.left);
    c.bottom = std::max(c.bottom, c.top);
    *r = c;
}

LRESULT DefaultNcHitTest(WndData* d, POINT screen)
{
    const CRect w = d->windowInScreen();
    if (!w.PtInRect(screen))
        return HTNOWHERE;
    if (d->clientInScreen().PtInRect(screen))
        return HTCLIENT;
    const CPoint p(screen.x - w.left, screen.y - w.top);
    for (int bar : { SB_VERT, SB_HORZ }) {
        if (Wnd::ScrollBarRect(d, bar).PtInRect(p))
            return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    if (Wnd::SizeBoxRect(d).PtInRect(p))
        return (d->style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTNOWHERE;
    if (CloseButtonRect(d).PtInRect(p))
        return HTCLOSE;
    if (MenuTrack::BarItemAt(d, p) >= 0 || (MenuTrack::BarHeight(d) && p.y >= d->client.top - MenuTrack::BarHeight(d) &&
                                            p.y < d->client.top && p.x >= d->client.left && p.x < d->client.right))
        return HTMENU;
    if (CaptionRect(d).PtInRect(p))
        return HTCAPTION;
    const int f = FrameWidth(d);
    if (f && !CRect(f, f, w.Width() - f, w.Height() - f).PtInRect(p)) {
        if (!(d->style & WS_THICKFRAME))
            return HTBORDER;
        const bool left = p.x < kResizeCorner, right = p.x >= w.Width() - kResizeCorner;
        const bool top = p.y < kResizeCorner, bottom = p.y >= w.Height() - kResizeCorner;
        if (p.y < f)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (p.y >= w.Height() - f)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < f)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    return HTBORDER;
}

void Edge(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

void DefaultNcPaint(WndData* d)
{
    Wnd::EnsureBuffer(d);
    // A context still open on the buffer finishes first.
    Wnd::FlushBuffer(d);
    const int width = d->window.Width(), height = d->window.Height();
    QPainter p(&d->buffer);
    QRegion frame(0, 0, width, height);
    frame -= QRegion(d->client.left, d->client.top, d->client.Width(), d->client.Height());
    p.setClipRegion(frame);
    p.fillRect(0, 0, width, height, Sys(COLOR_BTNFACE));

    QRect r(0, 0, width, height);
    const int f = FrameWidth(d);
    if (f == GetSystemMetrics(SM_CXBORDER)) {
        Edge(p, r, Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DDKSHADOW));
    } else if (f > 1) {
        Edge(p, r, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW));
        Edge(p, r.adjusted(1, 1, -1, -1), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    }
    const CRect cap = CaptionRect(d);
    if (!cap.IsRectEmpty()) {
        const bool active = ::GetActiveWindow() == d->handle() || ::GetActiveWindow() == d->owner;
        p.fillRect(cap.left, cap.top, cap.Width(), cap.Height() - 1, active ? Sys(COLOR_ACTIVECAPTION) : Sys(COLOR_INACTIVECAPTION));
        QFont font("Arial");
        font.setPixelSize(cap.Height() - 6);
        font.setBold(true);
        p.setFont(font);
        p.setPen(active ? Sys(COLOR_CAPTIONTEXT) : Sys(COLOR_INACTIVECAPTIONTEXT));
        const CRect close = CloseButtonRect(d);
        const int textRight = close.IsRectEmpty() ? cap.right : close.left;
        p.drawText(QRect(cap.left + 3, cap.top, textRight - cap.left - 5, cap.Height() - 1),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(d->text.c_str()));
        if (!close.IsRectEmpty()) {
            const QRect b(close.left, close.top, close.Width(), close.Height());
            p.fillRect(b, Sys(COLOR_BTNFACE));
            Edge(p, b, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW));
            p.setPen(Sys(COLOR_3DDKSHADOW));
            p.drawLine(b.left() + 4, b.top() + 3, b.right() - 4, b.bottom() - 4);
            p.drawLine(b.right() - 4, b.top() + 3, b.left() + 4, b.bottom() - 4);
        }
    }
    const int e = EdgeWidth(d);
    if (e) {
        QRect inner = r.adjusted(f, f + cap.Height() + MenuTrack::BarHeight(d), -f, -f);
        if (e == GetSystemMetrics(SM_CXEDGE)) {
            Edge(p, inner, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
            Edge(p, inner.adjusted(1, 1, -1, -1), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT));
        } else {
            Edge(p, inner, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
        }
    }
}

// An Alt key (alone, or with a character) and F10 go to the menu bar of the
// top-level window.
bool g_altAlone = false;

void KeyMenu(WndData* d, UINT key)
{
    while (d && d->isChild())
        d = WndData::From(d->parent);
    if (d && MenuTrack::BarHeight(d))
        MenuTrack::TrackBar(d, -1, key);
}

void ContextMenu(WndData* d, LPARAM screen)
{
    Wnd::Send(d, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(d->handle()), screen);
}

} // namespace

CRect Wnd::ScrollBarRect(WndData* d, int bar)
{
    const CRect& c = d->client;
    const int vbar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
    if (bar == SB_VERT && (d->style & WS_VSCROLL) && c.right + vbar <= d->window.Width())
        return CRect(c.right, c.top, c.right + vbar, c.bottom);
    if (bar == SB_HORZ && (d->style & WS_HSCROLL) && c.bottom + hbar <= d->window.Height())
        return CRect(c.left, c.bottom, c.right, c.bottom + hbar);
    return CRect();
}

CRect Wnd::SizeBoxRect(WndData* d)
{
    if (ScrollBarRect(d, SB_VERT).IsRectEmpty() || ScrollBarRect(d, SB_HORZ).IsRectEmpty())
        return CRect();
    return CRect(d->client.right, d->client.bottom, d->client.right + GetSystemMetrics(SM_CXVSCROLL),
                 d->client.bottom + GetSystemMetrics(SM_CYHSCROLL));
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return 0;
    WndData* parent = d->isChild() ? WndData::From(d->parent) : nullptr;
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCCALCSIZE:
        DefaultNcCalcSize(d, reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCHITTEST:
        return DefaultNcHitTest(d, POINT{ GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) });
    case WM_NCPAINT:
        DefaultNcPaint(d);
        if (MenuTrack::BarHeight(d)) {
            CWindowDC dc(CWnd::FromHandle(hWnd));
            MenuTrack::PaintBar(d, &dc);
        }
        Wnd::FlushBuffer(d);
        Wnd::Present(d, QRect(0, 0, d->window.Width(), d->window.Height()));
        return 0;
    case WM_NCACTIVATE:
        if (CaptionHeight(d))
            Wnd::InvalidateFrame(d);
        // Owned tool windows show their captions active along with the owner.
        for (HWND top : Wnd::TopLevels()) {
            WndData* owned = WndData::From(top);
            if (owned && owned->owner == hWnd && CaptionHeight(owned))
                Wnd::InvalidateFrame(owned);
        }
        return TRUE;
    case WM_PAINT: {
        // Beginning the paint erases the background and validates.
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return Wnd::EraseBackground(d, reinterpret_cast<HDC>(wParam));
    case WM_SETREDRAW:
        d->redrawOff = !wParam;
        return 0;
    case WM_SETTEXT: {
        d->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        if (!d->isChild())
            d->frame->setWindowTitle(QString::fromUtf8(d->text.c_str()));
        if (CaptionHeight(d))
            Wnd::InvalidateFrame(d);
        return TRUE;
    }
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        const size_t size = size_t(wParam);
        if (!buffer || size == 0)
            return 0;
        const size_t n = std::min(d->text.size(), size - 1);
        std::memcpy(buffer, d->text.data(), n);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(d->text.size());
    case WM_SETFONT:
        d->font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            CWnd::FromHandle(hWnd)->Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(d->font);
    case WM_CLOSE:
        CWnd::FromHandle(hWnd)->DestroyWindow();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            Wnd::Send(d, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            CWnd::FromHandle(hWnd)->ShowWindow(SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            CWnd::FromHandle(hWnd)->ShowWindow(SW_SHOWMAXIMIZED);
            break;
        case SC_RESTORE:
            CWnd::FromHandle(hWnd)->ShowWindow(SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOMOVE))
            Wnd::Send(d, WM_MOVE, 0,
                      MAKELPARAM(WORD(d->window.left + d->client.left), WORD(d->window.top + d->client.top)));
        if (!(pos->flags & SWP_NOSIZE) && WndData::From(hWnd)) {
            const WPARAM type = (d->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                : (d->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                           : SIZE_RESTORED;
            Wnd::Send(d, WM_SIZE, type, MAKELPARAM(WORD(d->client.Width()), WORD(d->client.Height())));
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && !Wnd::FocusPendingWithin(d)) {
            HWND focus = ::GetFocus();
            if (focus != hWnd && !CWnd::FromHandle(hWnd)->IsChild(CWnd::FromHandle(focus)))
                ::SetFocus(hWnd);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (parent) {
            if (const LRESULT r = Wnd::Send(parent, WM_MOUSEACTIVATE, wParam, lParam))
                return r;
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR: {
        if (parent && Wnd::Send(parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        const WORD hit = LOWORD(lParam);
        const LPCTSTR shape = hit == HTLEFT || hit == HTRIGHT ? IDC_SIZEWE
                              : hit == HTTOP || hit == HTBOTTOM ? IDC_SIZENS
                              : hit == HTTOPLEFT || hit == HTBOTTOMRIGHT ? IDC_SIZENWSE
                              : hit == HTTOPRIGHT || hit == HTBOTTOMLEFT ? IDC_SIZENESW
                                                                         : IDC_ARROW;
        HCURSOR cursor = hit == HTCLIENT && d->classCursor ? d->classCursor : LoadCursor(nullptr, shape);
        Wnd::ApplyCursor(cursor, d);
        SetCursor(cursor);
        return FALSE;
    }
    case WM_MOUSEWHEEL:
        return parent ? Wnd::Send(parent, WM_MOUSEWHEEL, wParam, lParam) : 0;
    case WM_CONTEXTMENU:
        return parent ? Wnd::Send(parent, WM_CONTEXTMENU, wParam, lParam) : 0;
    case WM_RBUTTONUP: {
        POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        CWnd::FromHandle(hWnd)->ClientToScreen(&pt);
        ContextMenu(d, MAKELPARAM(WORD(pt.x), WORD(pt.y)));
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_APPS)
            ContextMenu(d, LPARAM(-1));
        return 0;
    case WM_SYSKEYDOWN:
        g_altAlone = wParam == VK_MENU;
        if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
            ContextMenu(d, LPARAM(-1));
        else if (wParam == VK_F10)
            KeyMenu(d, 0);
        return 0;
    case WM_SYSKEYUP:
        if (wParam == VK_MENU && g_altAlone)
            KeyMenu(d, 0);
        g_altAlone = false;
        return 0;
    case WM_SYSCHAR:
        g_altAlone = false;
        KeyMenu(d, UINT(wParam));
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTMENU) {
            const CRect w = d->windowInScreen();
            const int item = MenuTrack::BarItemAt(d, CPoint(GET_X_LPARAM(lParam) - w.left, GET_Y_LPARAM(lParam) - w.top));
            if (item >= 0)
                MenuTrack::TrackBar(d, item, 0);
            return 0;
        }
        // Moving and sizing a top-level window by its own caption and frame
        // is the desktop's business.
        if (!d->isChild() && d->frame->windowHandle()) {
            QWindow* window = d->frame->windowHandle();
            if (wParam == HTCAPTION) {
                window->startSystemMove();
            } else if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT && (d->style & WS_THICKFRAME)) {
                Qt::Edges edges;
                if (wParam == HTLEFT || wParam == HTTOPLEFT || wParam == HTBOTTOMLEFT)
                    edges |= Qt::LeftEdge;
                if (wParam == HTRIGHT || wParam == HTTOPRIGHT || wParam == HTBOTTOMRIGHT)
                    edges |= Qt::RightEdge;
                if (wParam == HTTOP || wParam == HTTOPLEFT || wParam == HTTOPRIGHT)
                    edges |= Qt::TopEdge;
                if (wParam == HTBOTTOM || wParam == HTBOTTOMLEFT || wParam == HTBOTTOMRIGHT)
                    edges |= Qt::BottomEdge;
                window->startSystemResize(edges);
            }
        }
        return 0;
    case WM_NCLBUTTONUP:
        // Only the close box of the window's own caption closes it.
        if (wParam == HTCLOSE && CaptionHeight(d) && (d->style & WS_SYSMENU))
            Wnd::Send(d, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && !d->isChild() && (d->style & WS_MAXIMIZEBOX))
            Wnd::Send(d, WM_SYSCOMMAND, (d->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_CANCELMODE:
        if (::GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_QUERYNEWPALETTE:
        return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return Wnd::DefaultCtlColor(message, reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}
