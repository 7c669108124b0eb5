#include "Platform/ToolTipCtrl.h"

#include "Platform/Dc.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BEGIN_MESSAGE_MAP(CToolTipCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kShowTimer = 1;
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "", WS_POPUP | WS_BORDER | dwStyle, 0, 0, 1, 1,
                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    return TRUE;
}

CToolTipCtrl::Tool* CToolTipCtrl::Find(HWND wnd, UINT_PTR id)
{
    for (Tool& tool : m_tools) {
        if (tool.wnd == wnd && tool.id == id)
            return &tool;
    }
    return nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    DelTool(pWnd, nIDTool);
    m_tools.push_back({ pWnd->GetSafeHwnd(), nIDTool, lpRectTool ? CRect(*lpRectTool) : CRect(), !lpRectTool,
                        CString(lpszText ? lpszText : "") });
    return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    const HWND wnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    auto gone = std::find_if(m_tools.begin(), m_tools.end(),
                             [&](const Tool& t) { return t.wnd == wnd && t.id == nIDTool; });
    if (gone == m_tools.end())
        return;
    if (m_current == int(gone - m_tools.begin()))
        Pop();
    m_current = -1;
    m_tools.erase(gone);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    if (Tool* tool = Find(pWnd ? pWnd->GetSafeHwnd() : nullptr, nIDTool)) {
        tool->rect = lpRect ? CRect(*lpRect) : CRect();
        tool->wholeClient = !lpRect;
    }
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    if (Tool* tool = Find(pWnd ? pWnd->GetSafeHwnd() : nullptr, nIDTool))
        tool->text = lpszText ? lpszText : "";
}

int CToolTipCtrl::GetToolCount() const { return int(m_tools.size()); }

void CToolTipCtrl::Activate(BOOL bActivate)
{
    m_active = bActivate != FALSE;
    if (!m_active)
        Pop();
}

void CToolTipCtrl::SetDelayTime(UINT nDelay) { m_delay = nDelay; }

int CToolTipCtrl::ToolAt(HWND wnd, CPoint point) const
{
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& tool = m_tools[i];
        if (tool.wnd != wnd)
            continue;
        CRect rect = tool.rect;
        if (tool.wholeClient)
            CWnd::FromHandle(wnd)->GetClientRect(&rect);
        if (rect.PtInRect(point))
            return int(i);
    }
    return -1;
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (!lpMsg || !m_hWnd)
        return;
    switch (lpMsg->message) {
    case WM_MOUSEMOVE: {
        const int tool = ToolAt(lpMsg->hwnd, CPoint(GET_X_LPARAM(lpMsg->lParam), GET_Y_LPARAM(lpMsg->lParam)));
        if (tool == m_current)
            return;
        Pop();
        m_current = tool;
        if (tool >= 0 && m_active)
            SetTimer(kShowTimer, m_delay);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Pop();
        return;
    default:
        return;
    }
}

void CToolTipCtrl::Pop()
{
    if (!m_hWnd)
        return;
    KillTimer(kShowTimer);
    if (IsWindowVisible())
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CToolTipCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kShowTimer)
        return;
    KillTimer(kShowTimer);
    ShowTip();
}

void CToolTipCtrl::ShowTip()
{
    if (!m_active || m_current < 0 || m_current >= int(m_tools.size()) || !::IsWindow(m_tools[size_t(m_current)].wnd))
        return;
    const CString& text = m_tools[size_t(m_current)].text;
    SetWindowText(text);
    CClientDC dc(this);
    CFont* old = dc.SelectObject(GetFont());
    const CSize extent = dc.GetTextExtent(text.IsEmpty() ? " " : static_cast<LPCTSTR>(text));
    dc.SelectObject(old);
    CPoint at;
    ::GetCursorPos(&at);
    SetWindowPos(&wndTopMost, at.x, at.y + 20, extent.cx + 8, extent.cy + 6, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void CToolTipCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_INFOBK));
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    dc.SetBkMode(TRANSPARENT);
    CFont* old = dc.SelectObject(GetFont());
    char text[512];
    GetWindowText(text, sizeof text);
    client.DeflateRect(3, 2);
    dc.DrawText(text, &client, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    dc.SelectObject(old);
}
