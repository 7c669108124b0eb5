#include "Platform/Playback.h"

#include "Platform/WndData.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

Qt::MouseButtons g_held;

QWidget* MouseReceiver(POINT screen)
{
    if (WndData* d = WndData::From(::GetCapture()))
        return d->clientWidget;
    if (WndData* d = WndData::From(::WindowFromPoint(screen)))
        return d->clientWidget;
    return nullptr;
}

Qt::KeyboardModifiers Modifiers(UINT keyFlags)
{
    Qt::KeyboardModifiers mods;
    if (keyFlags & MK_SHIFT)
        mods |= Qt::ShiftModifier;
    if (keyFlags & MK_CONTROL)
        mods |= Qt::ControlModifier;
    if (keyFlags & MK_ALT)
        mods |= Qt::AltModifier;
    return mods;
}

int QtKey(UINT vk, UINT keyFlags)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return int(vk);
    if (vk >= VK_F1 && vk <= VK_F12)
        return Qt::Key_F1 + int(vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return (keyFlags & MK_SHIFT) ? Qt::Key_Backtab : Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    default: return 0;
    }
}

QWidget* KeyReceiver()
{
    for (HWND h : { ::GetCapture(), ::GetFocus(), ::GetActiveWindow() }) {
        if (WndData* d = WndData::From(h))
            return d->clientWidget;
    }
    return nullptr;
}

void Settle() { QCoreApplication::sendPostedEvents(); }

} // namespace

void PlayMouse(UINT message, POINT screen, UINT keyFlags)
{
    QWidget* w = MouseReceiver(screen);
    if (!w)
        return;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    switch (message) {
    case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::LeftButton; break;
    case WM_LBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::LeftButton; break;
    case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::LeftButton; break;
    case WM_RBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::RightButton; break;
    case WM_RBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::RightButton; break;
    default: break;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        g_held |= button;
    else if (type == QEvent::MouseButtonRelease)
        g_held &= ~Qt::MouseButtons(button);
    const QPointF global(screen.x, screen.y);
    QMouseEvent e(type, w->mapFromGlobal(global), global, button, g_held, Modifiers(keyFlags));
    QApplication::sendEvent(w, &e);
    Settle();
}

void PlayKey(UINT vk, UINT keyFlags, LPCTSTR text)
{
    const int key = QtKey(vk, keyFlags);
    const QString typed = QString::fromUtf8(text ? text : "");
    if (QWidget* w = KeyReceiver()) {
        QKeyEvent press(QEvent::KeyPress, key, Modifiers(keyFlags), typed);
        QApplication::sendEvent(w, &press);
    }
    Settle();
    if (QWidget* w = KeyReceiver()) {
        QKeyEvent release(QEvent::KeyRelease, key, Modifiers(keyFlags), typed);
        QApplication::sendEvent(w, &release);
    }
    Settle();
}

void PlayText(LPCTSTR text)
{
    for (QChar c : QString::fromUtf8(text ? text : "")) {
        const QByteArray bytes = QString(c).toUtf8();
        // ASCII keys are their own Qt key codes; other characters come
        // without a key, as composed text does.
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        const Qt::KeyboardModifiers mods = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        if (QWidget* w = KeyReceiver()) {
            QKeyEvent press(QEvent::KeyPress, key, mods, QString(c));
            QApplication::sendEvent(w, &press);
        }
        Settle();
        if (QWidget* w = KeyReceiver()) {
            QKeyEvent release(QEvent::KeyRelease, key, mods, QString(c));
            QApplication::sendEvent(w, &release);
        }
        Settle();
    }
}

BOOL SaveWindowPicture(HWND hWnd, LPCTSTR path)
{
    QWidget* frame = WndFrameWidget(hWnd);
    if (!frame || !path)
        return FALSE;
    return frame->grab().save(QString::fromUtf8(path), "PNG");
}
