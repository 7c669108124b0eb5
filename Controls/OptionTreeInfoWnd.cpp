#include "Controls/OptionTreeInfoWnd.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeInfoWnd, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL COptionTreeInfoWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void COptionTreeInfoWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    mem.DrawEdge(&client, BDR_SUNKENOUTER, BF_RECT);
    if (!m_otOption)
        return;
    CRect rc = client;
    rc.DeflateRect(4, 4);
    mem.SetTextColor(GetSysColor(m_otOption->IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    mem.SetBkMode(TRANSPARENT);
    CString title, body;
    if (COptionTreeItem* focus = m_otOption->GetFocusedItem()) {
        title = focus->GetLabelText();
        body = focus->GetInfoText();
    } else if (m_otOption->GetOptions() & OT_OPT_NOSELTEXT) {
        title = "No Item Selected";
        body = "Select an item to see its description.";
    }
    CFont* old = mem.SelectObject(COptionTree::GetBoldFont());
    CRect titleRect = rc;
    mem.DrawText(title, &titleRect, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    mem.DrawText(title, &rc, DT_SINGLELINE | DT_NOPREFIX);
    mem.SelectObject(COptionTree::GetNormalFont());
    CRect bodyRect(rc.left, titleRect.bottom, rc.right, rc.bottom);
    mem.DrawText(body, &bodyRect, DT_WORDBREAK | DT_NOPREFIX);
    mem.SelectObject(old);
}
