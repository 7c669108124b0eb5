#include "Controls/OptionTreeCheckWnd.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeCheckWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void COptionTreeCheckWnd::SetCheckText(LPCTSTR lpszChecked, LPCTSTR lpszUnchecked)
{
    m_strChecked = lpszChecked ? lpszChecked : "";
    m_strUnchecked = lpszUnchecked ? lpszUnchecked : "";
}

void COptionTreeCheckWnd::SetOption(DWORD dwOption, BOOL bSet)
{
    if (bSet)
        m_dwOptions |= dwOption;
    else
        m_dwOptions &= ~dwOption;
}

BOOL COptionTreeCheckWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeCheckWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    const bool enabled = !m_otCheckOption || m_otCheckOption->IsWindowEnabled();
    mem.FillSolidRect(&client, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    mem.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    mem.SetBkMode(TRANSPARENT);
    CFont* old = mem.SelectObject(COptionTree::GetNormalFont());
    CRect box(client.left + 1, client.top + 4, client.left + 15, client.top + 18);
    mem.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONCHECK | (m_bCheck ? DFCS_CHECKED : 0));
    if (GetOption(OT_CHECK_SHOWTEXT)) {
        CRect text(box.right + 5, client.top, client.right, client.bottom);
        mem.DrawText(m_bCheck ? m_strChecked : m_strUnchecked, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    mem.SelectObject(old);
}

CRect COptionTreeCheckWnd::HitRect() const
{
    CRect client;
    GetClientRect(&client);
    CRect hit(client.left + 1, client.top + 4, client.left + 15, client.top + 18);
    if (GetOption(OT_CHECK_SHOWTEXT))
        hit.right = client.right;
    return hit;
}

void COptionTreeCheckWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (HitRect().PtInRect(point)) {
        m_bCheck = !m_bCheck;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    CWnd::OnLButtonUp(nFlags, point);
}
