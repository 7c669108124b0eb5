// Timers by window and id, and the caret.
// Timer messages travel through the input queue like the classic WM_TIMER.
// The caret is one for the whole program; it is drawn over the window's
// picture when it is copied to the screen, never into the back buffer, so
// painting and blinking do not disturb each other.
#include "Platform/TimerHook.h"
#include "Platform/WndData.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {
TimerHook g_timerHook = nullptr;
}

TimerHook AfxSetTimerHook(TimerHook hook)
{
    TimerHook previous = g_timerHook;
    g_timerHook = hook;
    return previous;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return 0;
    WndTimer& t = d->timers[nIDEvent];
    if (!t.timer) {
        t.timer = new QTimer;
        HWND h = m_hWnd;
        QObject::connect(t.timer, &QTimer::timeout, [h, nIDEvent]() {
            WndData* w = WndData::From(h);
            if (!w)
                return;
            auto it = w->timers.find(nIDEvent);
            if (it == w->timers.end())
                return;
            MSG msg = { h, WM_TIMER, WPARAM(nIDEvent), reinterpret_cast<LPARAM>(it->second.proc), GetMessageTime(), {} };
            GetCursorPos(&msg.pt);
            Wnd::Pump(msg);
        });
    }
    t.proc = lpfnTimer;
    // The classic timer never fires faster than every 10 ms.
    if (g_timerHook)
        g_timerHook(m_hWnd, nIDEvent, nElapse);
    else
        t.timer->start(int(std::max<UINT>(nElapse, 10)));
    return nIDEvent ? nIDEvent : 1;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    auto it = d->timers.find(nIDEvent);
    if (it == d->timers.end())
        return FALSE;
    // The timer may be the one whose signal is running now.
    it->second.timer->stop();
    it->second.timer->deleteLater();
    d->timers.erase(it);
    return TRUE;
}

namespace {

struct Caret {
    HWND owner = nullptr;
    QSize size;
    QPoint pos;
    int hidden = 1;     // shown when 0
    bool blinkOn = false;
    QTimer* blink = nullptr;
};

Caret g_caret;

void RefreshCaret()
{
    if (WndData* d = WndData::From(g_caret.owner))
        d->frame->update(QRect(g_caret.pos + QPoint(d->client.left, d->client.top), g_caret.size));
}

void CreateCaret(HWND owner, int width, int height)
{
    DestroyCaret();
    if (!WndData::From(owner))
        return;
    g_caret.owner = owner;
    g_caret.size = QSize(std::max(width, 1), std::max(height, 1));
    g_caret.hidden = 1;
    g_caret.blinkOn = true;
    if (!g_caret.blink) {
        g_caret.blink = new QTimer;
        QObject::connect(g_caret.blink, &QTimer::timeout, []() {
            g_caret.blinkOn = !g_caret.blinkOn;
            RefreshCaret();
        });
    }
    g_caret.blink->start(530);
}

} // namespace

// Draws the caret over a window's picture while it is shown.
void WndPaintCaret(WndData* d, QPainter& painter)
{
    if (g_caret.owner != d->handle() || g_caret.hidden > 0 || !g_caret.blinkOn)
        return;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(g_caret.pos + QPoint(d->client.left, d->client.top), g_caret.size), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CWnd::CreateSolidCaret(int nWidth, int nHeight) { CreateCaret(m_hWnd, nWidth, nHeight); }
void CWnd::CreateGrayCaret(int nWidth, int nHeight) { CreateCaret(m_hWnd, nWidth, nHeight); }

void CWnd::ShowCaret()
{
    if (g_caret.owner != m_hWnd || g_caret.hidden == 0)
        return;
    if (--g_caret.hidden == 0) {
        g_caret.blinkOn = true;
        RefreshCaret();
    }
}

void CWnd::HideCaret()
{
    if (g_caret.owner != m_hWnd)
        return;
    if (g_caret.hidden++ == 0)
        RefreshCaret();
}

void CWnd::SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }

CPoint CWnd::GetCaretPos()
{
    POINT p;
    ::GetCaretPos(&p);
    return CPoint(p);
}

void Wnd::ForgetCaret(HWND h)
{
    if (g_caret.owner == h)
        DestroyCaret();
}

BOOL DestroyCaret()
{
    if (!g_caret.owner)
        return FALSE;
    RefreshCaret();
    g_caret.owner = nullptr;
    if (g_caret.blink)
        g_caret.blink->stop();
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    if (!g_caret.owner)
        return FALSE;
    RefreshCaret();
    g_caret.pos = QPoint(x, y);
    g_caret.blinkOn = true;
    RefreshCaret();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT lpPoint)
{
    lpPoint->x = g_caret.pos.x();
    lpPoint->y = g_caret.pos.y();
    return g_caret.owner != nullptr;
}
