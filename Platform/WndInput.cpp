// Input: Qt's mouse and key events become queued messages; the layer's own
// focus, capture and activation; key state and the cursor position.
// Order kept: kill-focus (naming the new window) before set-focus; with a
// capture every mouse message goes to the capturing window as a client
// message; without one, moves and releases go to the window under the
// cursor, whatever window the press went to.
#include "Platform/Cursor.h"
#include "Platform/CursorData.h"
#include "Platform/WndData.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstring>

namespace {

HWND g_focus = nullptr;
HWND g_capture = nullptr;
HWND g_active = nullptr;
HWND g_mouseWindow = nullptr;   // the window the last mouse message went to
HWND g_losingFocus = nullptr;   // WM_KILLFOCUS is being sent to this window
HWND g_focusPending = nullptr;  // SetFocus is activating this window's top level
POINT g_cursorPos = {};
DWORD g_messageTime = 0;
BYTE g_keys[256] = {};          // bit 0x80: down, bit 0x01: toggled

WndData* Live(HWND h) { return WndData::From(h); }

bool Within(HWND h, WndData* root)
{
    for (WndData* d = Live(h); d; d = d->isChild() ? Live(d->parent) : nullptr) {
        if (d == root)
            return true;
    }
    return false;
}

WndData* TopOf(WndData* d)
{
    while (d && d->isChild())
        d = Live(d->parent);
    return d;
}

void SetKey(int vk, bool down)
{
    BYTE& k = g_keys[vk & 0xFF];
    if (down && !(k & 0x80))
        k ^= 0x01;
    k = BYTE(down ? (k | 0x80) : (k & ~0x80));
}

void NoteModifiers(Qt::KeyboardModifiers mods)
{
    SetKey(VK_SHIFT, mods & Qt::ShiftModifier);
    SetKey(VK_CONTROL, mods & Qt::ControlModifier);
    SetKey(VK_MENU, mods & Qt::AltModifier);
}

void NoteButtons(Qt::MouseButtons buttons)
{
    SetKey(VK_LBUTTON, buttons & Qt::LeftButton);
    SetKey(VK_RBUTTON, buttons & Qt::RightButton);
    SetKey(VK_MBUTTON, buttons & Qt::MiddleButton);
}

WPARAM MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM mk = 0;
    if (buttons & Qt::LeftButton)
        mk |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        mk |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        mk |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        mk |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        mk |= MK_CONTROL;
    return mk;
}

bool IsButtonDown(UINT kind)
{
    return kind == WM_LBUTTONDOWN || kind == WM_RBUTTONDOWN || kind == WM_MBUTTONDOWN ||
           kind == WM_LBUTTONDBLCLK || kind == WM_RBUTTONDBLCLK || kind == WM_MBUTTONDBLCLK;
}

UINT NonClient(UINT kind)
{
    switch (kind) {
    case WM_MOUSEMOVE: return WM_NCMOUSEMOVE;
    case WM_LBUTTONDOWN: return WM_NCLBUTTONDOWN;
    case WM_LBUTTONUP: return WM_NCLBUTTONUP;
    case WM_LBUTTONDBLCLK: return WM_NCLBUTTONDBLCLK;
    case WM_RBUTTONDOWN: return WM_NCRBUTTONDOWN;
    case WM_RBUTTONUP: return WM_NCRBUTTONUP;
    case WM_RBUTTONDBLCLK: return WM_NCRBUTTONDBLCLK;
    default: return 0;
    }
}

// A double click reaches only windows whose class asks for double clicks.
UINT ClientKind(WndData* d, UINT kind)
{
    if (d->classStyle & CS_DBLCLKS)
        return kind;
    switch (kind) {
    case WM_LBUTTONDBLCLK: return WM_LBUTTONDOWN;
    case WM_RBUTTONDBLCLK: return WM_RBUTTONDOWN;
    case WM_MBUTTONDBLCLK: return WM_MBUTTONDOWN;
    default: return kind;
    }
}

void Queue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = { hwnd, message, wParam, lParam, g_messageTime, g_cursorPos };
    Wnd::Pump(msg);
}

int VirtualKey(int key, Qt::KeyboardModifiers mods)
{
    if (mods & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + (key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Slash: return VK_DIVIDE;
        case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Enter: return VK_RETURN;
        default: break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + (key - Qt::Key_F1);
    static const char shiftedDigits[] = ")!@#$%^&*(";
    if (key < 0x80) {
        if (const char* p = std::strchr(shiftedDigits, key); p && key)
            return '0' + int(p - shiftedDigits);
    }
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

bool IsExtendedKey(int vk)
{
    switch (vk) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT:
    case VK_DOWN: case VK_INSERT: case VK_DELETE: case VK_DIVIDE: case VK_NUMLOCK:
        return true;
    default:
        return false;
    }
}

} // namespace

void Wnd::ForgetWindow(WndData* d)
{
    if (g_focus && Within(g_focus, d)) {
        HWND old = g_focus;
        g_focus = nullptr;
        Send(Live(old), WM_KILLFOCUS, 0, 0);
    }
    if (g_capture && Within(g_capture, d))
        ReleaseCapture();
    if (g_active == d->handle())
        g_active = nullptr;
    if (g_mouseWindow == d->handle())
        g_mouseWindow = nullptr;
    ForgetCaret(d->handle());
    ForgetLock(d->handle());
}

namespace {

void TellTopLevels(UINT message, WPARAM wParam)
{
    for (HWND h : std::vector<HWND>(Wnd::TopLevels())) {
        if (WndData* t = Live(h))
            Wnd::Send(t, message, wParam, 0);
    }
}

} // namespace

void Wnd::WatchApplication()
{
    static bool watching = false;
    if (watching || !QGuiApplication::instance())
        return;
    watching = true;
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
        // Leaving the program deactivates its window; coming back activates
        // it through the window's own activation.
        if (state == Qt::ApplicationActive || !Live(g_active))
            return;
        WndData* old = Live(g_active);
        g_active = nullptr;
        Send(old, WM_NCACTIVATE, FALSE, 0);
        if (Live(old->handle()))
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
        TellTopLevels(WM_ACTIVATEAPP, FALSE);
    });
}

void Wnd::SetActive(WndData* top, bool byMouse)
{
    HWND h = top ? top->handle() : nullptr;
    HWND old = Live(g_active) ? g_active : nullptr;
    if (h == old)
        return;
    g_active = h;
    if (WndData* o = Live(old)) {
        Send(o, WM_NCACTIVATE, FALSE, 0);
        if (Live(old))
            Send(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(h));
    } else if (top) {
        TellTopLevels(WM_ACTIVATEAPP, TRUE);
    }
    if (!Live(h) || g_active != h)
        return;
    Send(top, WM_NCACTIVATE, TRUE, 0);
    if (Live(h))
        Send(top, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
    if (Live(h) && !top->frame->isActiveWindow() && top->frame->isVisible())
        top->frame->activateWindow();
}

void Wnd::ApplyCursor(HCURSOR cursor, WndData* d)
{
    if (!d)
        d = Live(g_mouseWindow);
    if (!d)
        return;
    // No cursor hides it.
    const QCursor c = cursor ? CursorData::From(cursor)->cursor : QCursor(Qt::BlankCursor);
    d->frame->setCursor(c);
    d->clientWidget->setCursor(c);
}

void Wnd::RouteMouse(WndWidget* receiver, UINT kind, QPoint global, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers mods, int wheelDelta)
{
    g_cursorPos = { global.x(), global.y() };
    g_messageTime = DWORD(QDateTime::currentMSecsSinceEpoch());
    NoteButtons(buttons);
    NoteModifiers(mods);
    const WPARAM mk = MouseFlags(buttons, mods);
    const LPARAM screen = MAKELPARAM(WORD(global.x()), WORD(global.y()));

    if (kind == WM_MOUSEWHEEL) {
        HWND target = Live(g_focus) ? g_focus : (receiver->data ? receiver->data->handle() : nullptr);
        if (target)
            Queue(target, WM_MOUSEWHEEL, MAKEWPARAM(WORD(mk), WORD(short(wheelDelta))), screen);
        return;
    }

    if (WndData* cap = Live(g_capture)) {
        const CRect c = cap->clientInScreen();
        Queue(cap->handle(), ClientKind(cap, kind), mk,
              MAKELPARAM(WORD(global.x() - c.left), WORD(global.y() - c.top)));
        return;
    }

    WndData* target = nullptr;
    if (IsButtonDown(kind))
        target = receiver->data;
    else
        target = Live(::WindowFromPoint(g_cursorPos));
    if (!target || (target->style & WS_DISABLED))
        return;
    HWND h = target->handle();
    LRESULT hit = Send(target, WM_NCHITTEST, 0, screen);
    while (Live(h) && hit == HTTRANSPARENT && target->isChild()) {
        target = Live(target->parent);
        if (!target)
            return;
        h = target->handle();
        hit = Send(target, WM_NCHITTEST, 0, screen);
    }
    if (!Live(h))
        return;
    g_mouseWindow = h;
    Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(WORD(hit), WORD(kind)));
    if (!Live(h))
        return;

    if (IsButtonDown(kind)) {
        WndData* top = TopOf(target);
        const LRESULT answer = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top ? top->handle() : nullptr),
                                    MAKELPARAM(WORD(hit), WORD(kind)));
        if (!Live(h))
            return;
        if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT && top && top->handle() != g_active)
            SetActive(top, true);
        if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT || !Live(h))
            return;
    }

    if (hit == HTCLIENT) {
        const CRect c = target->clientInScreen();
        Queue(h, ClientKind(target, kind), mk, MAKELPARAM(WORD(global.x() - c.left), WORD(global.y() - c.top)));
    } else if (const UINT nc = NonClient(kind)) {
        Queue(h, nc, WPARAM(hit), screen);
    }
}

void Wnd::RouteKey(WndWidget* receiver, bool press, int qtKey, quint32 nativeScan, Qt::KeyboardModifiers mods,
                   const QString& text, bool autoRepeat)
{
    g_messageTime = DWORD(QDateTime::currentMSecsSinceEpoch());
    const int vk = VirtualKey(qtKey, mods);
    NoteModifiers(mods);
    if (vk)
        SetKey(vk, press);
    // A pop-up holding the capture takes the keys while the focus stays
    // where it is (drop-down palettes, lists).
    WndData* cap = Live(g_capture);
    HWND target = cap && !cap->isChild() ? g_capture : Live(g_focus) ? g_focus : nullptr;
    if (!target && receiver->data)
        target = receiver->data->handle();
    if (!target)
        return;
    if (!vk) {
        // A character without a key of its own (composed, or of another
        // script) only types its text.
        const QByteArray bytes = press ? text.toUtf8() : QByteArray();
        for (char ch : bytes) {
            if (Live(target))
                Queue(target, WM_CHAR, WPARAM(BYTE(ch)), 1);
        }
        return;
    }

    const bool alt = (mods & Qt::AltModifier) != 0;
    const bool sys = alt || vk == VK_F10;
    LPARAM lParam = 1 | (LPARAM(nativeScan & 0xFF) << 16);
    if (IsExtendedKey(vk))
        lParam |= LPARAM(1) << 24;
    if (alt)
        lParam |= LPARAM(1) << 29;
    if (!press)
        lParam |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    else if (autoRepeat)
        lParam |= LPARAM(1) << 30;
    lParam &= LPARAM(0xFFFFFFFF);

    const UINT message = press ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    MSG msg = { target, message, WPARAM(vk), lParam, g_messageTime, g_cursorPos };
    if (!Wnd::Pump(msg) || !press || vk == VK_DELETE)
        return;
    // Translation: the typed text follows as one character message per
    // byte; Ctrl with a letter types that letter's control character.
    const bool control = (mods & Qt::ControlModifier) && !alt && vk >= 'A' && vk <= 'Z';
    const QByteArray bytes = control ? QByteArray(1, char(vk - 'A' + 1)) : text.toUtf8();
    for (char ch : bytes) {
        if (!Live(target))
            return;
        Queue(target, sys ? WM_SYSCHAR : WM_CHAR, WPARAM(BYTE(ch)), lParam);
    }
}

HWND GetFocus() { return Live(g_focus) ? g_focus : nullptr; }

HWND SetFocus(HWND hWnd)
{
    WndData* d = Live(hWnd);
    HWND old = GetFocus();
    if (hWnd == old)
        return old;
    if (d) {
        WndData* top = TopOf(d);
        if (top && top->handle() != g_active) {
            g_focusPending = hWnd;
            Wnd::SetActive(top, false);
            g_focusPending = nullptr;
            if (!Live(hWnd))
                return old;
            old = GetFocus();
            if (hWnd == old)
                return old;
        }
    }
    if (WndData* o = Live(old)) {
        const HWND outer = g_losingFocus;
        g_losingFocus = old;
        Wnd::Send(o, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
        g_losingFocus = outer;
    }
    if (hWnd && !Live(hWnd))
        return old;
    g_focus = hWnd;
    if (d) {
        if (d->frame->isVisible())
            d->clientWidget->setFocus(Qt::OtherFocusReason);
        Wnd::Send(d, WM_SETFOCUS, reinterpret_cast<WPARAM>(Live(old) ? old : nullptr), 0);
    }
    return Live(old) ? old : nullptr;
}

bool Wnd::LosingFocus(HWND h) { return h && h == g_losingFocus; }

bool Wnd::FocusPendingWithin(WndData* top) { return g_focusPending && Within(g_focusPending, top); }

HWND GetCapture() { return Live(g_capture) ? g_capture : nullptr; }

HWND SetCapture(HWND hWnd)
{
    HWND old = GetCapture();
    if (!Live(hWnd))
        return old;
    g_capture = hWnd;
    if (old && old != hWnd)
        Wnd::Send(Live(old), WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL ReleaseCapture()
{
    HWND old = GetCapture();
    g_capture = nullptr;
    if (old)
        Wnd::Send(Live(old), WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetActiveWindow() { return Live(g_active) ? g_active : nullptr; }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::GetForegroundWindow() { return GetActiveWindow(); }

CWnd* CWnd::SetActiveWindow()
{
    HWND old = ::GetActiveWindow();
    Wnd::SetActive(TopOf(Live(m_hWnd)), false);
    return FromHandle(old);
}

BOOL CWnd::SetForegroundWindow()
{
    SetActiveWindow();
    return ::GetActiveWindow() == m_hWnd;
}

short GetKeyState(int nVirtKey)
{
    const BYTE k = g_keys[nVirtKey & 0xFF];
    return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int vKey) { return short((g_keys[vKey & 0xFF] & 0x80) ? 0x8000 : 0); }

BOOL GetCursorPos(LPPOINT lpPoint)
{
    *lpPoint = g_cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    g_cursorPos = { x, y };
    QCursor::setPos(x, y);
    return TRUE;
}

DWORD GetMessagePos() { return MAKELONG(WORD(g_cursorPos.x), WORD(g_cursorPos.y)); }
DWORD GetMessageTime() { return g_messageTime; }

WndWidget::WndWidget(WndData* d, bool client, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), data(d), isClient(client)
{
    setAttribute(Qt::WA_NoSystemBackground);
    if (!client)
        setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

namespace {

UINT ButtonKind(Qt::MouseButton b, UINT left, UINT right, UINT middle)
{
    switch (b) {
    case Qt::LeftButton: return left;
    case Qt::RightButton: return right;
    case Qt::MiddleButton: return middle;
    default: return 0;
    }
}

} // namespace

void WndWidget::mousePressEvent(QMouseEvent* e)
{
    e->accept();
    if (const UINT kind = ButtonKind(e->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN); kind && data)
        Wnd::RouteMouse(this, kind, e->globalPosition().toPoint(), e->buttons(), e->modifiers(), 0);
}

void WndWidget::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    if (const UINT kind = ButtonKind(e->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP); kind && data)
        Wnd::RouteMouse(this, kind, e->globalPosition().toPoint(), e->buttons(), e->modifiers(), 0);
}

void WndWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    e->accept();
    if (const UINT kind = ButtonKind(e->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK); kind && data)
        Wnd::RouteMouse(this, kind, e->globalPosition().toPoint(), e->buttons(), e->modifiers(), 0);
}

void WndWidget::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    if (data)
        Wnd::RouteMouse(this, WM_MOUSEMOVE, e->globalPosition().toPoint(), e->buttons(), e->modifiers(), 0);
}

void WndWidget::wheelEvent(QWheelEvent* e)
{
    e->accept();
    if (data && e->angleDelta().y())
        Wnd::RouteMouse(this, WM_MOUSEWHEEL, e->globalPosition().toPoint(), e->buttons(), e->modifiers(),
                        e->angleDelta().y());
}

void WndWidget::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    if (data)
        Wnd::RouteKey(this, true, e->key(), e->nativeScanCode(), e->modifiers(), e->text(), e->isAutoRepeat());
}

void WndWidget::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
    if (data && !e->isAutoRepeat())
        Wnd::RouteKey(this, false, e->key(), e->nativeScanCode(), e->modifiers(), QString(), false);
}

bool WndWidget::focusNextPrevChild(bool) { return false; }

void WndWidget::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (!data || isClient || data->isChild())
        return;
    // A window shown without activation stays inactive whatever the
    // desktop does; the layer itself may still activate it.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !testAttribute(Qt::WA_ShowWithoutActivating))
        Wnd::SetActive(data, false);
}

void WndWidget::closeEvent(QCloseEvent* e)
{
    e->ignore();
    if (data && !isClient)
        Wnd::Send(data, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void WndWidget::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (!data || isClient || data->isChild() || data->geometryFromQt)
        return;
    data->geometryFromQt = true;
    CWnd::FromHandle(data->handle())->SetWindowPos(nullptr, x(), y(), 0, 0,
                                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (data)
        data->geometryFromQt = false;
}

void WndWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!data || isClient || data->isChild() || data->geometryFromQt)
        return;
    data->geometryFromQt = true;
    CWnd::FromHandle(data->handle())->SetWindowPos(nullptr, 0, 0, width(), height(),
                                                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (data)
        data->geometryFromQt = false;
}
