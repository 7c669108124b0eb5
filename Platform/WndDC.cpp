// The window side of device contexts: paint, client and window contexts
// draw on the window's back buffer, clipped to what they may touch; the
// buffer reaches the screen when the context is released.
#include "Platform/Dc.h"
#include "Platform/GdiData.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <cstring>

namespace {

QRegion ClientArea(WndData* d)
{
    return QRegion(d->client.left, d->client.top, d->client.Width(), d->client.Height());
}

} // namespace

HDC BeginPaint(HWND window, PAINTSTRUCT* paint)
{
    std::memset(paint, 0, sizeof *paint);
    WndData* d = WndData::From(window);
    if (!d)
        return nullptr;
    Wnd::EnsureBuffer(d);
    const QRegion update = d->update;
    const QRect bounds = update.boundingRect();
    paint->rcPaint = bounds.isEmpty() ? CRect() : CRect(bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1);
    const bool erase = d->eraseNeeded;
    d->update = QRegion();
    d->eraseNeeded = false;
    const QRegion clip = update.translated(d->client.left, d->client.top) & ClientArea(d);
    paint->hdc = CreateImageDC(&d->buffer, QPoint(d->client.left, d->client.top), &clip);
    // fErase stays set when the window left its background unerased.
    paint->fErase = erase && !Wnd::Send(d, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0);
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint)
{
    DeleteDC(paint->hdc);
    WndData* d = WndData::From(window);
    if (!d)
        return FALSE;
    const CRect r(paint->rcPaint);
    Wnd::Present(d, QRect(r.left + d->client.left, r.top + d->client.top, r.Width(), r.Height()));
    return TRUE;
}

HDC GetDC(HWND window)
{
    WndData* d = WndData::From(window);
    if (!d)
        return nullptr;
    Wnd::EnsureBuffer(d);
    const QRegion clip = ClientArea(d);
    return CreateImageDC(&d->buffer, QPoint(d->client.left, d->client.top), &clip);
}

HDC GetWindowDC(HWND window)
{
    WndData* d = WndData::From(window);
    if (!d)
        return nullptr;
    Wnd::EnsureBuffer(d);
    const QRegion clip(0, 0, d->window.Width(), d->window.Height());
    return CreateImageDC(&d->buffer, QPoint(0, 0), &clip);
}

HDC GetDCEx(HWND window, HRGN, DWORD flags)
{
    WndData* d = WndData::From(window);
    if (!d)
        return nullptr;
    if (!(flags & DCX_LOCKWINDOWUPDATE))
        return (flags & DCX_WINDOW) ? GetWindowDC(window) : GetDC(window);
    // Over the children too: the window's overlay, in window or client coordinates.
    QImage* overlay = Wnd::Overlay(d);
    const QPoint origin = (flags & DCX_WINDOW) ? QPoint(0, 0) : QPoint(d->client.left, d->client.top);
    const QRegion clip(0, 0, overlay->width(), overlay->height());
    return CreateImageDC(overlay, origin, &clip);
}

int ReleaseDC(HWND window, HDC dc)
{
    if (!DeleteDC(dc))
        return 0;
    if (WndData* d = WndData::From(window)) {
        Wnd::Present(d, QRect(0, 0, d->window.Width(), d->window.Height()));
        if (d->overlayWidget)
            d->overlayWidget->update();
    }
    return 1;
}

LRESULT Wnd::EraseBackground(WndData* d, HDC dc)
{
    const auto value = reinterpret_cast<uintptr_t>(d->classBrush);
    if (!dc || !value)
        return 0;
    // A class background below 64 is a system colour index plus one.
    HBRUSH brush = value <= 64 ? GetSysColorBrush(int(value) - 1) : d->classBrush;
    CDC* cdc = CDC::FromHandle(dc);
    if (!cdc || !brush)
        return 0;
    const CRect client(0, 0, d->client.Width(), d->client.Height());
    cdc->FillRect(&client, CBrush::FromHandle(brush));
    return 1;
}

LRESULT Wnd::DefaultCtlColor(UINT message, HDC dc)
{
    // Edits and lists are window-coloured, everything else button-face.
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    if (CDC* cdc = CDC::FromHandle(dc)) {
        cdc->SetTextColor(GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
        cdc->SetBkColor(GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
}

void Wnd::FlushBuffer(WndData* d)
{
    DcReleaseImage(&d->buffer);
    DcReleaseImage(&d->overlay);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->GetSafeHwnd()) { Attach(BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC()
{
    Detach();
    EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() { ReleaseDC(m_hWnd, Detach()); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(CRgn*, DWORD flags) { return CDC::FromHandle(::GetDCEx(m_hWnd, nullptr, flags)); }
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()) : 0; }

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? HFONT(*pFont) : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(const_cast<CWnd*>(this)->SendMessage(WM_GETFONT)));
}
