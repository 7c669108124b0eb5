// The main window's panes and bars: their creation, docking and saved layout.
#include "App/MainFrm.h"

#include "Controls/CommandImageList.h"
#include "Platform/Gdi.h"

namespace {

const UINT kPropertiesBarId = 32774;
const UINT kModelBarId = 32775;
const UINT kMessagesBarId = 32776;
const UINT kPropertyPaneId = 102;
const DWORD kPaneOptions = 0x18;

CFont* DefaultGuiFont() { return CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))); }

} // namespace

bool CMainFrame::CreatePanes()
{
    const CRect none(0, 0, 0, 0);
    if (!m_wndModelBrowser.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | 0x0809, none, this, kModelBarId))
        return false;
    m_wndModelBrowser.SetFont(DefaultGuiFont());
    m_wndModelBrowser.SetImageList(&GetCommandImages());
    if (!m_wndMessages.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, none, this, kMessagesBarId))
        return false;
    m_wndMessages.SetFont(DefaultGuiFont());
    return m_wndPropertyPane.Create(WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, none, this, kPaneOptions,
                                    kPropertyPaneId, 90) != FALSE;
}

void CMainFrame::DockBars() {}

void CMainFrame::SaveBarLayout() {}

bool CMainFrame::VerifyBarState(const char*) { return false; }

CControlBar* CMainFrame::GetBar(UINT nID)
{
    return DYNAMIC_DOWNCAST(CControlBar, GetDlgItem(int(nID)));
}

void CMainFrame::ShowBar(CControlBar* bar, bool show)
{
    bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CMainFrame::OutputMessage(const char* text)
{
    int count = m_wndMessages.GetCount();
    if (count >= 300) {
        for (int i = 0; i < 20; ++i)
            m_wndMessages.DeleteString(0);
        count -= 20;
    }
    m_wndMessages.AddString(text);
    m_wndMessages.SetTopIndex(count);
}
