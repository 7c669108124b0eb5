// The main window's panes and bars: their creation, docking and saved layout.
#include "App/MainFrm.h"

#include "Controls/CommandImageList.h"
#include "Controls/SCBMiniDockFrameWnd.h"
#include "Platform/DockBar.h"
#include "Platform/DockState.h"
#include "Platform/WinApp.h"
#include "Platform/Gdi.h"

namespace {

const UINT kPropertiesBarId = 32774;
const UINT kModelBarId = 32775;
const UINT kMessagesBarId = 32776;
const UINT kPropertyPaneId = 102;
const DWORD kPaneOptions = 0x18;

CFont* DefaultGuiFont() { return CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))); }

} // namespace

// Each pane is a sizing bar holding its window; the bars notify the main
// window as if their windows were its own.
bool CMainFrame::CreatePanes()
{
    const CRect none(0, 0, 0, 0);
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP;
    if (!m_wndModelBar.Create(nullptr, this, kModelBarId, barStyle) ||
        !m_wndModelBrowser.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | 0x0809, none, &m_wndModelBar,
                                  kModelBarId))
        return false;
    m_wndModelBrowser.SetFont(DefaultGuiFont());
    m_wndModelBrowser.SetImageSource(&GetCommandImages());
    if (!m_wndMessageBar.Create(nullptr, this, kMessagesBarId, barStyle) ||
        !m_wndMessages.Create(WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, none, &m_wndMessageBar, kMessagesBarId))
        return false;
    m_wndMessages.SetFont(DefaultGuiFont());
    if (!m_wndPropertyBar.Create(nullptr, this, kPropertiesBarId, barStyle))
        return false;
    m_wndPropertyBar.SetBarStyle(m_wndPropertyBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    return m_wndPropertyPane.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, none, &m_wndPropertyBar,
                                    kPaneOptions, kPropertyPaneId, 90) != FALSE;
}

void CMainFrame::DockBars()
{
    m_wndSymbolBar.SetBarStyle(m_wndSymbolBar.GetBarStyle() | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS);
    for (CCoolDockBar* bar : { &m_wndModelBar, &m_wndMessageBar, &m_wndPropertyBar })
        bar->SetBarStyle(bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndSymbolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndModelBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndMessageBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndPropertyBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    m_pFloatingFrameClass = RUNTIME_CLASS(CSCBMiniDockFrameWnd);

    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    m_wndSymbolBar.DockNextTo(&m_wndToolBar);
    DockControlBar(&m_wndModelBar, AFX_IDW_DOCKBAR_LEFT);
    DockControlBar(&m_wndPropertyBar, AFX_IDW_DOCKBAR_RIGHT);
    DockControlBar(&m_wndMessageBar, AFX_IDW_DOCKBAR_BOTTOM);

    const char* profile = AfxGetApp()->m_pszProfileName;
    if (VerifyBarState(profile)) {
        CSizeControlBar::LoadAllBarStates(this, profile);
        LoadBarState(profile);
    }
}

void CMainFrame::SaveBarLayout()
{
    const char* profile = AfxGetApp()->m_pszProfileName;
    CProfileWriteBatch batch;
    CSizeControlBar::SaveAllBarStates(this, profile);
    SaveBarState(profile);
}

// A layout saved by a build with other bars is not applied.
bool CMainFrame::VerifyBarState(const char* profileName)
{
    CDockState state;
    state.LoadState(profileName);
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
        for (int j = 0; j < info->m_arrBarID.GetSize(); ++j) {
            const UINT id = UINT(reinterpret_cast<UINT_PTR>(info->m_arrBarID[j])) % 0x10000;
            if (id && !GetControlBar(id))
                return false;
        }
        if (!info->m_bFloating && !GetControlBar(info->m_nBarID))
            return false;
    }
    return true;
}

void CMainFrame::ShowBar(CControlBar* bar, bool show) { ShowControlBar(bar, show, FALSE); }

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
