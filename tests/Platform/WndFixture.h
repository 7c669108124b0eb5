// Helpers for window tests: a message log, windows that record what they
// receive, and Qt input delivered to a window's widget at a screen point.
#pragma once

#include "Platform/Dc.h"
#include "Platform/MessageMap.h"
#include "Platform/Wnd.h"
#include "Platform/WndData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using Log = std::vector<std::string>;

inline std::string Fmt(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// A parent that notes every control notification as "id:code".
class CommandParent : public CWnd {
public:
    Log log;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        log.push_back(Fmt("%u:%u", unsigned(LOWORD(wParam)), unsigned(HIWORD(wParam))));
        return CWnd::OnCommand(wParam, lParam);
    }
};

// A window that notes every mouse, focus and capture message in a shared log.
class LoggingWnd : public CWnd {
public:
    LoggingWnd(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    Log& m_log;
    std::string m_name;

    static std::string NameOf(CWnd* w)
    {
        auto* l = dynamic_cast<LoggingWnd*>(w);
        return l ? l->m_name : (w ? "?" : "none");
    }

protected:
    void OnLButtonDown(UINT flags, CPoint p) { m_log.push_back(Fmt("%s down %u %ld,%ld", m_name.c_str(), flags, long(p.x), long(p.y))); }
    void OnLButtonUp(UINT flags, CPoint p) { m_log.push_back(Fmt("%s up %u %ld,%ld", m_name.c_str(), flags, long(p.x), long(p.y))); }
    void OnLButtonDblClk(UINT, CPoint) { m_log.push_back(m_name + " dblclk"); }
    void OnMouseMove(UINT flags, CPoint p) { m_log.push_back(Fmt("%s move %u %ld,%ld", m_name.c_str(), flags, long(p.x), long(p.y))); }
    void OnNcLButtonDown(UINT hit, CPoint p) { m_log.push_back(Fmt("%s ncdown %u %ld,%ld", m_name.c_str(), hit, long(p.x), long(p.y))); }
    void OnSetFocus(CWnd* old) { m_log.push_back(m_name + " setfocus from " + NameOf(old)); }
    void OnKillFocus(CWnd* next) { m_log.push_back(m_name + " killfocus to " + NameOf(next)); }
    void OnCaptureChanged(CWnd* next) { m_log.push_back(m_name + " capturechanged to " + NameOf(next)); }
    void OnKeyDown(UINT vk, UINT, UINT) { m_log.push_back(Fmt("%s keydown %u", m_name.c_str(), vk)); }
    void OnChar(UINT ch, UINT, UINT) { m_log.push_back(Fmt("%s char %u", m_name.c_str(), ch)); }
    DECLARE_MESSAGE_MAP()
};

// Delivers a Qt mouse event to the window's client widget; only the
// screen point matters to the layer.
inline void SendMouse(CWnd& receiver, QEvent::Type type, Qt::MouseButton button, QPoint screen,
                      Qt::MouseButtons held, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* w = WndClientWidget(receiver.GetSafeHwnd());
    QMouseEvent e(type, QPointF(w->mapFromGlobal(screen)), QPointF(screen), button, held, mods);
    QApplication::sendEvent(w, &e);
}

inline void SendKey(CWnd& receiver, int key, Qt::KeyboardModifiers mods, const QString& text)
{
    QWidget* w = WndClientWidget(receiver.GetSafeHwnd());
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

// Runs the event loop until done() holds or the time runs out. The limit
// only bounds a failing test; it is generous so that a loaded machine or a
// sanitizer build does not fail a test that would pass.
template <class Done>
bool SpinUntil(Done done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// A top-level popup at a fixed screen position, so screen points are known.
inline void CreateTop(CWnd& w, int x, int y, int cx, int cy, DWORD style = WS_POPUP | WS_VISIBLE)
{
    ASSERT_TRUE(w.CreateEx(0, nullptr, "top", style, x, y, cx, cy, nullptr, nullptr));
}
