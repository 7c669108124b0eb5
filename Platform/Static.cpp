#include "Platform/Static.h"

#include "Platform/ControlData.h"
#include "Platform/Dc.h"
#include "Platform/SysColors.h"

#include <mutex>

IMPLEMENT_DYNAMIC(CStatic, CWnd)

namespace {

void Paint(HWND hWnd)
{
    CWnd* wnd = CWnd::FromHandle(hWnd);
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
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

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    static std::once_flag registered;
    std::call_once(registered, [] { AfxRegisterClassProc(WC_STATIC, StaticProc); });
    return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}
