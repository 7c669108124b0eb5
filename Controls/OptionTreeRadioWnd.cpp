#include "Controls/OptionTreeRadioWnd.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeRadioWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

int COptionTreeRadioWnd::GetChosenIndex() const
{
    for (size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i].chosen)
            return int(i);
    return -1;
}

int COptionTreeRadioWnd::FindOption(LPCTSTR lpszText) const
{
    for (size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i].text == lpszText)
            return int(i);
    return -1;
}

void COptionTreeRadioWnd::AppendOption(LPCTSTR lpszText, BOOL bChosen)
{
    if (bChosen)
        for (Option& option : m_options)
            option.chosen = FALSE;
    Option option;
    option.text = lpszText ? lpszText : "";
    option.chosen = bChosen ? TRUE : FALSE;
    m_options.push_back(option);
}

CRect COptionTreeRadioWnd::MarkRect(CPoint origin, int index)
{
    const long top = origin.y + OT_RADIO_LINEHEIGHT * index + 2;
    return CRect(origin.x, top, origin.x + 14, top + 14);
}

CRect COptionTreeRadioWnd::LineRect(const CRect& area, int index)
{
    const long top = area.top + OT_RADIO_LINEHEIGHT * index;
    return CRect(area.left, top, area.right, top + OT_RADIO_LINEHEIGHT);
}

BOOL COptionTreeRadioWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeRadioWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_otRadioOption)
        return;
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(m_otRadioOption->IsWindowEnabled() ? COLOR_WINDOW : COLOR_BTNFACE));
    mem.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    mem.SetBkMode(TRANSPARENT);
    CFont* old = mem.SelectObject(COptionTree::GetNormalFont());
    for (size_t i = 0; i < m_options.size(); ++i) {
        Option& option = m_options[i];
        CRect mark = MarkRect(client.TopLeft(), int(i));
        mem.DrawFrameControl(&mark, DFC_BUTTON, DFCS_BUTTONRADIO | (option.chosen ? DFCS_CHECKED : 0));
        CRect line = LineRect(client, int(i));
        CRect text(mark.right + 5, line.top, line.right, line.bottom);
        mem.DrawText(option.text, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        option.hit = CRect(client.left, mark.top, client.right, line.bottom);
    }
    mem.SelectObject(old);
}

void COptionTreeRadioWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    for (Option& hit : m_options) {
        if (!hit.hit.PtInRect(point))
            continue;
        for (Option& option : m_options)
            option.chosen = FALSE;
        hit.chosen = TRUE;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    }
    CWnd::OnLButtonUp(nFlags, point);
}
