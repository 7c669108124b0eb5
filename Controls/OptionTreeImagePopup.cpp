#include "Controls/OptionTreeImagePopup.h"

#include "Controls/BufferDC.h"
#include "Controls/OptionTree.h"
#include "Platform/ImageList.h"
#include "Platform/Messages.h"
#include "Platform/SysColors.h"

BEGIN_MESSAGE_MAP(COptionTreeImagePopup, CWnd)
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATEAPP()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

COptionTreeImagePopup::COptionTreeImagePopup(CPoint ptScreen, int nCellWidth, int nCellHeight, int nColumns,
                                             CImageList* pImages, COptionTree* pGrid, const CStringArray& strTips,
                                             int nSelected, CWnd* pNotifyWnd)
    : m_pGrid(pGrid),
      m_pImages(pImages),
      m_hNotify(pNotifyWnd ? pNotifyWnd->GetSafeHwnd() : nullptr),
      m_nCellWidth(nCellWidth),
      m_nCellHeight(nCellHeight),
      m_nColumns(nColumns < 1 ? 3 : nColumns),
      m_nSelected(nSelected),
      m_nReport(nSelected)
{
    m_strTips.Copy(strTips);
    LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, ptScreen.x, ptScreen.y, 100, 100, m_hNotify, nullptr))
        return;
    ShowWindow(SW_SHOWNOACTIVATE);
    const int count = ImageCount();
    m_nRows = count == 0 ? m_nColumns : count / m_nColumns + (count % m_nColumns ? 1 : 0);
    SetWindowPos(nullptr, 0, 0, m_nColumns * (m_nCellWidth + 10) + 10, m_nRows * (m_nCellHeight + 10) + 10,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int r = 0; r < m_nRows; ++r)
        for (int c = 0; c < m_nColumns; ++c) {
            const int left = 10 + c * (m_nCellWidth + 10), top = 10 + r * (m_nCellHeight + 10);
            m_rcCells.emplace_back(left, top, left + m_nCellWidth, top + m_nCellHeight);
        }
    if (m_tooltip.Create(this)) {
        for (int i = 0; i < count; ++i) {
            const CRect cell = GetCellRect(i);
            m_tooltip.AddTool(this, i < m_strTips.GetSize() ? static_cast<LPCTSTR>(m_strTips[i]) : "", &cell,
                              UINT_PTR(i + 1));
        }
        m_tooltip.Activate(TRUE);
    }
    SetCapture();
}

int COptionTreeImagePopup::ImageCount() const { return m_pImages ? m_pImages->GetImageCount() : 0; }

int COptionTreeImagePopup::CellAt(CPoint point, bool growSelected) const
{
    for (int i = 0; i < ImageCount(); ++i) {
        CRect cell = GetCellRect(i);
        if (growSelected && i == m_nSelected)
            cell.InflateRect(3, 3);
        if (cell.PtInRect(point))
            return i;
    }
    return -1;
}

BOOL COptionTreeImagePopup::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.RelayEvent(pMsg);
    if (!m_bClosing && GetCapture() != this)
        SetCapture();
    return CWnd::PreTranslateMessage(pMsg);
}

void COptionTreeImagePopup::Close(bool picked)
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    if (picked)
        m_nReport = m_nSelected;
    if (GetCapture() == this)
        ReleaseCapture();
    DestroyWindow();
}

// Every end of the popup comes here once: the one report.
void COptionTreeImagePopup::OnDestroy()
{
    m_bClosing = true;
    if (m_tooltip.GetSafeHwnd())
        m_tooltip.DestroyWindow();
    CWnd::OnDestroy();
    if (::IsWindow(m_hNotify))
        ::SendMessage(m_hNotify, OT_IMAGE_PICKED, 0, LPARAM(m_nReport));
}

void COptionTreeImagePopup::PostNcDestroy() { delete this; }

BOOL COptionTreeImagePopup::OnEraseBkgnd(CDC*) { return FALSE; }

void COptionTreeImagePopup::DrawCell(CDC* pDC, int nIndex)
{
    const CRect cell = GetCellRect(nIndex);
    CRect grown = cell;
    grown.InflateRect(3, 3);
    if (cell.PtInRect(m_ptHot)) {
        pDC->DrawEdge(&grown, BDR_RAISEDINNER, BF_RECT);
    } else if (nIndex == m_nSelected) {
        static const WORD halftone[8] = { 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 };
        CBitmap pattern;
        pattern.CreateBitmap(8, 8, 1, 1, halftone);
        CBrush brush;
        brush.CreatePatternBrush(&pattern);
        const COLORREF oldText = pDC->SetTextColor(GetSysColor(COLOR_HIGHLIGHT));
        const COLORREF oldBack = pDC->SetBkColor(GetSysColor(COLOR_BTNFACE));
        pDC->SetBrushOrg(0, 0);
        pDC->FillRect(&grown, &brush);
        pDC->SetTextColor(oldText);
        pDC->SetBkColor(oldBack);
        pDC->DrawEdge(&grown, BDR_SUNKENOUTER, BF_RECT);
    }
    m_pImages->Draw(pDC, nIndex, cell.TopLeft(), ILD_NORMAL);
}

void COptionTreeImagePopup::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CBufferDC mem(&dc, client);
    mem.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    CFont* old = mem.SelectObject(COptionTree::GetNormalFont());
    for (int i = 0; i < ImageCount(); ++i)
        DrawCell(&mem, i);
    if (ImageCount() == 0)
        mem.DrawText("No Images.", &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    mem.DrawEdge(&client, EDGE_RAISED, BF_RECT);
    mem.SelectObject(old);
}

void COptionTreeImagePopup::OnMouseMove(UINT nFlags, CPoint point)
{
    const int cell = CellAt(point, false);
    if ((cell < 0 ? ImageCount() : cell) != m_nSelected) {
        m_ptHot = point;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void COptionTreeImagePopup::OnLButtonUp(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        Close(false);
        return;
    }
    const int cell = CellAt(point, true);
    if (cell >= 0) {
        m_nSelected = cell;
        Close(true);
        return;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void COptionTreeImagePopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_nSelected == -1) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const int count = ImageCount();
    int next = m_nSelected;
    switch (nChar) {
    case VK_RETURN:
        Close(true);
        return;
    case VK_ESCAPE:
        Close(false);
        return;
    case VK_LEFT:
        if (m_nSelected != 0)
            next = m_nSelected - 1;
        break;
    case VK_RIGHT:
        if (m_nSelected + 1 < count)
            next = m_nSelected + 1;
        break;
    case VK_UP:
        if (m_nSelected >= m_nColumns)
            next = m_nSelected - m_nColumns;
        break;
    case VK_DOWN:
        if (m_nSelected + m_nColumns < count)
            next = m_nSelected + m_nColumns;
        break;
    default:
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    m_nSelected = next;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void COptionTreeImagePopup::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    if (GetCapture() == this)
        ReleaseCapture();
}

void COptionTreeImagePopup::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CWnd::OnActivateApp(bActive, dwThreadID);
    if (GetCapture() == this)
        ReleaseCapture();
}
