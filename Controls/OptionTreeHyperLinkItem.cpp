#include "Controls/OptionTreeHyperLinkItem.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Controls/SafeLink.h"
#include "Platform/Cursor.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeHyperLinkItem, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

COptionTreeHyperLinkItem::~COptionTreeHyperLinkItem()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COptionTreeHyperLinkItem::CreateEditor(DWORD dwOptions, LPCTSTR lpszLink, COLORREF crLink, COLORREF crHover,
                                            COLORREF crVisited)
{
    if (!GetOptionTree() || GetSafeHwnd())
        return FALSE;
    LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, GetValueRect(),
                  GetOptionTree()->GetListWnd(), GetItemID()))
        return FALSE;
    SetFont(COptionTree::GetNormalFont(), TRUE);
    LOGFONT font{};
    COptionTree::GetNormalFont()->GetLogFont(&font);
    font.lfUnderline = TRUE;
    m_fontUnderline.CreateFontIndirect(&font);
    m_crLink = crLink;
    m_crHover = crHover;
    m_crVisited = crVisited;
    m_strLink = lpszLink;
    SetLinkCursor(nullptr);
    m_dwOptions = dwOptions;
    PlaceEditor(this);
    ShowWindow(SW_HIDE);
    return TRUE;
}

void COptionTreeHyperLinkItem::SetOption(DWORD dwBits, BOOL bOn)
{
    if (bOn)
        m_dwOptions |= dwBits;
    else
        m_dwOptions &= ~dwBits;
}

void COptionTreeHyperLinkItem::SetLinkCursor(HCURSOR hCursor)
{
    m_hLinkCursor = hCursor ? hCursor : LoadCursor(nullptr, IDC_HAND);
}

// Grey in a disabled grid as well, like every other row's value.
COLORREF COptionTreeHyperLinkItem::TextColor() const
{
    if (IsReadOnly() || (GetOptionTree() && !GetOptionTree()->IsWindowEnabled()))
        return GetSysColor(COLOR_GRAYTEXT);
    if (m_bHover && GetOption(OT_HYPERLINK_USEHOVER))
        return m_crHover;
    if (m_bVisited && GetOption(OT_HYPERLINK_USEVISITED))
        return m_crVisited;
    return m_crLink;
}

// The window is shown only while its row is drawn, so a row added under an
// expanded parent shows its link, and one under a collapsed parent never
// shows it at a place the grid no longer draws the row.
void COptionTreeHyperLinkItem::DrawValue(CDC*, CRect)
{
    if (!GetOptionTree() || !GetSafeHwnd())
        return;
    PlaceEditor(this);
    if (!IsWindowVisible())
        ShowWindow(SW_SHOWNOACTIVATE);
}

void COptionTreeHyperLinkItem::ActivateEditor()
{
    if (!GetSafeHwnd())
        return;
    PlaceEditor(this);
    SetFocus();
    if (!IsReadOnly())
        OpenSafeLink(m_strLink);
}

void COptionTreeHyperLinkItem::MoveEditor() { PlaceEditor(this); }

void COptionTreeHyperLinkItem::RefreshEditor() { PlaceEditor(this); }

void COptionTreeHyperLinkItem::DestroyEditor() { DestroyWindowEditor(this); }

// Expanding an ancestor leaves the showing to the next paint: the row may
// still sit under a collapsed parent.
void COptionTreeHyperLinkItem::OnExpandChanged(BOOL bExpanded)
{
    if (GetSafeHwnd() && !bExpanded)
        ShowWindow(SW_HIDE);
}

BOOL COptionTreeHyperLinkItem::OnEraseBkgnd(CDC*) { return FALSE; }

void COptionTreeHyperLinkItem::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    const bool underline =
        GetOption(OT_HYPERLINK_UNDERLINE) || (GetOption(OT_HYPERLINK_UNDERLINEHOVER) && m_bHover);
    CFont* old = mem.SelectObject(underline ? &m_fontUnderline : COptionTree::GetNormalFont());
    mem.SetBkMode(TRANSPARENT);
    mem.SetBkColor(GetValueBackColor());
    mem.SetTextColor(TextColor());
    CRect text = client;
    mem.DrawText(m_strLink, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const CSize extent = mem.GetTextExtent(m_strLink);
    m_rcText = CRect(client.left, client.top, client.left + extent.cx, client.top + extent.cy);
    mem.SelectObject(old);
}

void COptionTreeHyperLinkItem::Repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void COptionTreeHyperLinkItem::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsReadOnly()) {
        m_bHover = FALSE;
        KillTimer(OT_HYPERLINK_TIMER);
        if (m_rcText.PtInRect(point)) {
            m_bHover = TRUE;
            ::SetCursor(m_hLinkCursor);
            SetTimer(OT_HYPERLINK_TIMER, 100);
        }
        Repaint();
    }
    CWnd::OnMouseMove(nFlags, point);
}

void COptionTreeHyperLinkItem::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != OT_HYPERLINK_TIMER) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    CPoint mouse;
    ::GetCursorPos(&mouse);
    CRect text = m_rcText;
    ClientToScreen(&text);
    if (!text.PtInRect(mouse)) {
        KillTimer(OT_HYPERLINK_TIMER);
        m_bHover = FALSE;
        Repaint();
    }
}

void COptionTreeHyperLinkItem::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!IsReadOnly()) {
        KillTimer(OT_HYPERLINK_TIMER);
        if (m_rcText.PtInRect(point)) {
            m_bVisited = TRUE;
            OpenSafeLink(m_strLink);
            SetTimer(OT_HYPERLINK_TIMER, 100);
        }
        Repaint();
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void COptionTreeHyperLinkItem::OnKillFocus(CWnd* pNewWnd)
{
    if (GetOptionTree() && pNewWnd)
        CommitChanges(TRUE);
    CWnd::OnKillFocus(pNewWnd);
}
