// Invalidation and the paint cycle. A window draws into its back buffer
// when its update region or its frame is due (WM_NCPAINT, then WM_PAINT),
// and the widget copies the buffer to the screen; Qt never erases.
#include "Platform/WndData.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

// The one window LockWindowUpdate holds; kept apart from SetRedraw's flag
// so that neither undoes the other.
HWND g_locked = nullptr;

bool PaintSuppressed(WndData* d)
{
    for (WndData* w = d; w; w = w->isChild() ? WndData::From(w->parent) : nullptr) {
        if (w->redrawOff || w->handle() == g_locked)
            return true;
    }
    return !d->isVisible();
}

QRegion ClientBounds(WndData* d) { return QRegion(0, 0, d->client.Width(), d->client.Height()); }

} // namespace

void Wnd::EnsureBuffer(WndData* d)
{
    const QSize size(std::max<int>(d->window.Width(), 1), std::max<int>(d->window.Height(), 1));
    if (d->buffer.size() == size)
        return;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!d->buffer.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, d->buffer);
    }
    d->buffer = image;
}

namespace {

class OverlayWidget : public QWidget {
public:
    OverlayWidget(WndData* d) : QWidget(d->frame), m_window(d->handle())
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        WndData* d = WndData::From(m_window);
        if (!d)
            return;
        Wnd::FlushBuffer(d);
        QPainter p(this);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(event->rect(), d->overlay, event->rect());
    }

private:
    HWND m_window;
};

} // namespace

QImage* Wnd::Overlay(WndData* d)
{
    const QSize size(std::max<int>(d->window.Width(), 1), std::max<int>(d->window.Height(), 1));
    if (d->overlay.size() != size) {
        d->overlay = QImage(size, QImage::Format_RGB32);
        d->overlay.fill(Qt::black);
    }
    if (!d->overlayWidget)
        d->overlayWidget = new OverlayWidget(d);
    d->overlayWidget->setGeometry(0, 0, size.width(), size.height());
    d->overlayWidget->raise();
    d->overlayWidget->show();
    return &d->overlay;
}

void Wnd::InvalidateClient(WndData* d, const QRegion& region, bool erase)
{
    const QRegion r = region & ClientBounds(d);
    if (r.isEmpty())
        return;
    d->update |= r;
    d->eraseNeeded = d->eraseNeeded || erase;
    d->frame->update(r.boundingRect().translated(d->client.left, d->client.top));
}

void Wnd::InvalidateFrame(WndData* d)
{
    d->frameNeeded = true;
    d->frame->update();
}

void Wnd::PaintNow(WndData* d)
{
    if (PaintSuppressed(d))
        return;
    HWND h = d->handle();
    if (d->frameNeeded) {
        d->frameNeeded = false;
        if (d->client != CRect(0, 0, d->window.Width(), d->window.Height()))
            Send(d, WM_NCPAINT, 1, 0);
        if (!WndData::From(h))
            return;
    }
    if (!d->update.isEmpty()) {
        Send(d, WM_PAINT, 0, 0);
        if (!WndData::From(h))
            return;
        // A handler that never began painting would be asked forever.
        d->update = QRegion();
        d->eraseNeeded = false;
    }
}

void Wnd::Present(WndData* d, const QRect& windowRect) { d->frame->update(windowRect); }

void WndWidget::paintEvent(QPaintEvent* event)
{
    if (!data || isClient)
        return;
    Wnd::PaintNow(data);
    if (!data)
        return;
    Wnd::FlushBuffer(data);
    QPainter p(this);
    p.drawImage(event->rect(), data->buffer, event->rect());
    WndPaintCaret(data, p);
}

QImage* WndBackBuffer(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d ? &d->buffer : nullptr;
}

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    const CRect r = lpRect ? CRect(lpRect) : CRect(0, 0, d->client.Width(), d->client.Height());
    if (!r.IsRectEmpty())
        Wnd::InvalidateClient(d, QRegion(r.left, r.top, r.Width(), r.Height()), bErase);
}

void CWnd::ValidateRect(LPCRECT lpRect)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    if (!lpRect) {
        d->update = QRegion();
        d->eraseNeeded = false;
        return;
    }
    const CRect r(lpRect);
    d->update -= QRegion(r.left, r.top, r.Width(), r.Height());
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase)
{
    (void)bErase;
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    const QRect b = d->update.boundingRect();
    if (lpRect)
        *lpRect = b.isEmpty() ? CRect() : CRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
    return !b.isEmpty();
}

void CWnd::UpdateWindow()
{
    if (WndData* d = WndData::From(m_hWnd))
        Wnd::PaintNow(d);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    (void)prgnUpdate;
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE)
        ValidateRect(lpRectUpdate);
    if ((flags & RDW_FRAME) && (flags & RDW_INVALIDATE))
        Wnd::InvalidateFrame(d);
    if (flags & RDW_ALLCHILDREN) {
        const UINT childFlags = flags & ~UINT(RDW_UPDATENOW | RDW_ERASENOW);
        for (HWND c : std::vector<HWND>(d->children)) {
            if (CWnd* child = FromHandle(c))
                child->RedrawWindow(nullptr, nullptr, childFlags);
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        struct Walk {
            static void Paint(HWND h, bool deep)
            {
                WndData* w = WndData::From(h);
                if (!w)
                    return;
                Wnd::PaintNow(w);
                if (deep) {
                    for (HWND c : std::vector<HWND>(w->children))
                        Paint(c, deep);
                }
            }
        };
        Walk::Paint(m_hWnd, (flags & RDW_ALLCHILDREN) != 0);
    }
    return TRUE;
}

void CWnd::SetRedraw(BOOL bRedraw) { SendMessage(WM_SETREDRAW, WPARAM(bRedraw)); }

BOOL CWnd::LockWindowUpdate()
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || WndData::From(g_locked))
        return FALSE;
    g_locked = m_hWnd;
    return TRUE;
}

void Wnd::ForgetLock(HWND h)
{
    if (g_locked == h)
        g_locked = nullptr;
}

void CWnd::UnlockWindowUpdate()
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || g_locked != m_hWnd)
        return;
    g_locked = nullptr;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
