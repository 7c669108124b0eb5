#include "Platform/Static.h"

#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"
#include "Platform/WndData.h"

#include <mutex>

IMPLEMENT_DYNAMIC(CStatic, CWnd)

namespace {

// The bitmap of an SS_BITMAP control rides on its client widget.
const char* const kBitmapProperty = "vexalStaticBitmap";

HBITMAP BitmapOf(HWND hWnd)
{
    QWidget* w = WndClientWidget(hWnd);
    return w ? reinterpret_cast<HBITMAP>(w->property(kBitmapProperty).value<quintptr>()) : nullptr;
}

LRESULT SetImage(HWND hWnd, HBITMAP bitmap)
{
    const HBITMAP old = BitmapOf(hWnd);
    WndClientWidget(hWnd)->setProperty(kBitmapProperty, QVariant::fromValue(quintptr(bitmap)));
    BITMAP info{};
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (bitmap && ::GetObject(bitmap, sizeof info, &info))
        wnd->SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd->Invalidate();
    return reinterpret_cast<LRESULT>(old);
}

void PaintBitmap(CDC& dc, HWND hWnd, const CRect& client)
{
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CDC memory;
    if (!BitmapOf(hWnd) || !memory.CreateCompatibleDC(&dc))
        return;
    CBitmap* old = memory.SelectObject(CBitmap::FromHandle(BitmapOf(hWnd)));
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void Paint(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    if ((wnd->GetStyle() & SS_TYPEMASK) == SS_BITMAP) {
        PaintBitmap(dc, hWnd, client);
        return;
    }
    HBRUSH brush = nullptr;
    if (CWnd* parent = wnd->GetParent())
        brush = reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                                             reinterpret_cast<LPARAM>(hWnd)));
    if (brush)
        dc.FillRect(&client, CBrush::FromHandle(brush));
    else
        dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont* old = dc.SelectObject(wnd->GetFont());
    dc.SetBkMode(TRANSPARENT);
    if (!wnd->IsWindowEnabled())
        dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    const DWORD style = wnd->GetStyle();
    UINT format = DT_WORDBREAK | DT_EXPANDTABS;
    if ((style & 0x3) == SS_CENTER)
        format |= DT_CENTER;
    else if ((style & 0x3) == SS_RIGHT)
        format |= DT_RIGHT;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    char text[1024];
    wnd->GetWindowText(text, sizeof text);
    dc.DrawText(text, &client, format);
    dc.SelectObject(old);
}

LRESULT StaticProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETTEXT: {
        const LRESULT done = ::DefWindowProc(hWnd, message, wParam, lParam);
        CWnd::FromHandle(hWnd)->Invalidate();
        return done;
    }
    case STM_SETIMAGE:
        return wParam == IMAGE_BITMAP ? SetImage(hWnd, reinterpret_cast<HBITMAP>(lParam)) : 0;
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(BitmapOf(hWnd)) : 0;
    case WM_NCHITTEST:
        // Without SS_NOTIFY the mouse passes through to the parent.
        if (!(CWnd::FromHandle(hWnd)->GetStyle() & SS_NOTIFY))
            return HTTRANSPARENT;
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    case WM_LBUTTONDOWN:
        if (CWnd::FromHandle(hWnd)->GetStyle() & SS_NOTIFY)
            NotifyParent(hWnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (CWnd::FromHandle(hWnd)->GetStyle() & SS_NOTIFY)
            NotifyParent(hWnd, STN_DBLCLK);
        return 0;
    default:
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_STATIC, StaticProc); });
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    RegisterStaticClass();
    return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const
{
    return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
}
