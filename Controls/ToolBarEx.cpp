#include "Controls/ToolBarEx.h"

#include "Controls/CommandImageList.h"
#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/FrameWnd.h"
#include "Platform/MessageMap.h"
#include "Platform/SysColors.h"

IMPLEMENT_DYNAMIC(CToolBarEx, CToolBar)

BEGIN_MESSAGE_MAP(CToolBarEx, CToolBar)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CImageList* CToolBarEx::SetImageList(CCommandImageList* registry)
{
    m_registry = registry;
    const LRESULT old =
        SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(registry ? registry->GetSafeHandle() : nullptr));
    return old ? CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(old)) : nullptr;
}

BOOL CToolBarEx::AddButton(UINT id)
{
    CommandImageInfo info{};
    if (!m_registry || !m_registry->Lookup(id, info))
        return FALSE;
    if (SendMessage(TB_COMMANDTOINDEX, id) >= 0)
        return FALSE;
    TBBUTTON button = { info.image, int(id), TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1 };
    return BOOL(SendMessage(TB_INSERTBUTTON, WPARAM(GetButtonCount()), reinterpret_cast<LPARAM>(&button)));
}

BOOL CToolBarEx::AddSeparator()
{
    TBBUTTON button = { 0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, -1 };
    return BOOL(SendMessage(TB_INSERTBUTTON, WPARAM(GetButtonCount()), reinterpret_cast<LPARAM>(&button)));
}

int CToolBarEx::GetButtonCount() const { return int(::SendMessage(m_hWnd, TB_BUTTONCOUNT)); }

void CToolBarEx::DeleteAllButtons()
{
    for (int i = GetButtonCount() - 1; i >= 0; --i)
        SendMessage(TB_DELETEBUTTON, WPARAM(i));
}

void CToolBarEx::EnableButton(UINT id, BOOL enable) { SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0)); }

void CToolBarEx::PaintBackground(CDC* pDC, const CRect& rect)
{
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
    DrawGripper(pDC, rect);
}

// The face and the gripper, the borders, then the toolbar's own buttons.
void CToolBarEx::DoPaint(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    PaintBackground(pDC, client);
    DrawBorders(pDC, client);
    DrawButtons(pDC);
}

void CToolBarEx::PaintNonClient()
{
    CWindowDC dc(this);
    CRect client, window;
    GetClientRect(&client);
    ClientToScreen(&client);
    GetWindowRect(&window);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    CRect border = window;
    if (border.left >= m_cxLeftBorder)
        border.left -= m_cxLeftBorder;
    border.right += m_cxRightBorder;
    DrawBorders(&dc, border);
    dc.IntersectClipRect(&window);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    PaintBackground(&dc, window);
}

void CToolBarEx::OnNcPaint() { PaintNonClient(); }

void CToolBarEx::DockNextTo(CControlBar* pOther)
{
    CFrameWnd* frame = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (!frame || !pOther)
        return;
    // The other bar's place is current only after a layout.
    frame->RecalcLayout(TRUE);
    CRect rect;
    pOther->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    frame->DockControlBar(this, AfxDockBarIdOf(pOther->GetBarStyle()), &rect);
}
