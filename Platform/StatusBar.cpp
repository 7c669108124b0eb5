#include "Platform/StatusBar.h"

#include "Platform/CmdTarget.h"
#include "Platform/Dc.h"
#include "Platform/FrameWnd.h"
#include "Platform/Resource.h"
#include "Platform/SysColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

const int kGap = 2;        // between panes
const int kPanePad = 4;    // around a pane's text

// The update state of one pane: enabled panes show their text.
class PaneCmdUI : public CCmdUI {
public:
    explicit PaneCmdUI(CStatusBar* bar) : m_bar(bar) {}
    void Enable(BOOL bOn) override
    {
        UINT id, style;
        int width;
        m_bar->GetPaneInfo(int(m_nIndex), id, style, width);
        m_bar->SetPaneInfo(int(m_nIndex), id, bOn ? style & ~UINT(SBPS_DISABLED) : style | SBPS_DISABLED, width);
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(LPCTSTR text) override { m_bar->SetPaneText(int(m_nIndex), text); }

private:
    CStatusBar* m_bar;
};

} // namespace

CStatusBar::CStatusBar()
{
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    if (!CWnd::Create(nullptr, nullptr, (dwStyle & (WS_VISIBLE | WS_CLIPSIBLINGS)) | WS_CHILD, CRect(0, 0, 0, 0),
                      pParentWnd, nID))
        return FALSE;
    NONCLIENTMETRICS metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfStatusFont);
    SetFont(&m_font, FALSE);
    return TRUE;
}

int CStatusBar::TextHeight() const
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* old = dc.SelectObject(const_cast<CFont*>(&m_font));
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    return int(tm.tmHeight);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* old = dc.SelectObject(&m_font);
    BOOL ok = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = { lpIDArray[i], SBPS_NORMAL, 0, CString() };
        if (pane.id != ID_SEPARATOR) {
            pane.text = LoadResString(pane.id);
            ok = ok && !pane.text.IsEmpty();
            pane.width = dc.GetTextExtent(pane.text).cx;
        } else if (i == 0) {
            pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
        }
        m_panes.push_back(pane);
    }
    dc.SelectObject(old);
    Invalidate();
    return ok;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == nIDFind)
            return int(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)].id : 0;
}

// Panes lie from the right edge leftwards; the stretching one takes the rest.
void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    *lpRect = CRect();
    CRect client;
    GetClientRect(&client);
    client.top += m_cyTopBorder;
    int right = client.right;
    int stretch = -1;
    for (int i = int(m_panes.size()) - 1; i >= 0; --i) {
        const Pane& pane = m_panes[size_t(i)];
        if (pane.style & SBPS_STRETCH) {
            stretch = i;
            continue;
        }
        const CRect r(right - pane.width - 2 * kPanePad, client.top, right, client.bottom);
        if (i == nIndex)
            *lpRect = r;
        right = r.left - kGap;
    }
    if (nIndex == stretch)
        *lpRect = CRect(client.left, client.top, std::max(client.left, right), client.bottom);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return FALSE;
    m_panes[size_t(nIndex)].text = lpszNewText ? lpszNewText : "";
    if (bUpdate)
        Invalidate();
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)].text : CString();
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return;
    Pane& pane = m_panes[size_t(nIndex)];
    if (pane.id != nID || pane.style != nStyle || pane.width != cxWidth)
        Invalidate();
    pane.id = nID;
    pane.style = nStyle;
    pane.width = cxWidth;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const Pane pane = nIndex >= 0 && size_t(nIndex) < m_panes.size() ? m_panes[size_t(nIndex)] : Pane{ 0, 0, 0, {} };
    nID = pane.id;
    nStyle = pane.style;
    cxWidth = pane.width;
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    size.cy += TextHeight() + 2 * kGap;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    PaneCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        if (state.m_nID != ID_SEPARATOR)
            state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CStatusBar::DoPaint(CDC* pDC)
{
    CControlBar::DoPaint(pDC);
    CFont* old = pDC->SelectObject(&m_font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < int(m_panes.size()); ++i) {
        const Pane& pane = m_panes[size_t(i)];
        CRect r;
        GetItemRect(i, &r);
        if (!(pane.style & SBPS_NOBORDERS))
            pDC->Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        if (pane.style & SBPS_DISABLED)
            continue;
        r.DeflateRect(kPanePad, 0);
        pDC->DrawText(pane.text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    pDC->SelectObject(old);
}
