// The main window's commands: project files, exit, the pane toggles, the
// Window list, scripts, search, options, help and tooltips, and the message
// filter that sends keys and editing commands to the focused pane.
#include "App/MainFrm.h"

#include "App/HelpSeam.h"
#include "App/ScriptSeam.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "Controls/CommandImageList.h"
#include "Controls/OptionTreeFileDialog.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbEngine.h"
#include "Platform/Accelerators.h"
#include "Platform/DialogHook.h"
#include "Platform/MessageMap.h"
#include "Platform/Resource.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"
#include "Pub/SYSConfig.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

const UINT kUndo = 57643;
const UINT kRedo = 57644;
const UINT kNoProjectOpened = 61557;
const UINT kNoDiagramOpened = 61559;
const UINT kSaveQuestion = 61458;
const UINT kFilterName = 57611;

// The editing and view commands a menu choice gives to the focused pane first.
bool GoesToFocusedPane(UINT id)
{
    static const UINT kIds[] = { 32773, 32787, 32788, 32789, 32790, 32791, 32793, 32794,
                                 32800, 32801, 57634, 57635, 57637, 57642, 57643, 57644 };
    return std::find(std::begin(kIds), std::end(kIds), id) != std::end(kIds);
}

// Undo and Redo answered by the property pane or a window inside it are its
// editor's own text undo: no model value changed, so the pane is not read
// again, which would throw away the open edit.
bool InPane(const CWnd& pane, const CWnd* wnd) { return wnd == &pane || pane.IsChild(wnd); }

void Say(UINT stringId) { OutputMessage(LoadResString(stringId).GetString()); }

CString Filter(const char* pattern)
{
    CString filter;
    filter.Format("%s (%s)|%s||", LoadResString(kFilterName).GetString(), pattern, pattern);
    return filter;
}

} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(57603, OnFileSave)
    ON_COMMAND(32783, OnFileSaveAll)
    ON_COMMAND(57601, OnFileOpen)
    ON_COMMAND(57602, OnFileClose)
    ON_COMMAND(57667, OnHelpTopics)
    ON_COMMAND(57600, OnFileNew)
    ON_COMMAND(32795, OnRunScriptFile)
    ON_COMMAND(32785, OnWindowClose)
    ON_COMMAND(32799, OnSearch)
    ON_COMMAND(32798, OnOptions)
    ON_COMMAND(32786, OnWindowCloseAll)
    ON_COMMAND(57665, OnAppExit)
    ON_NOTIFY(OTN_ITEMCOMMITTED, 102, OnPropertyCommitted)
    ON_COMMAND_RANGE(FirstWindowId, LastWindowId, OnWindowEntry)
    ON_COMMAND_RANGE(FirstScriptId, LastScriptId, OnScriptItem)
    ON_COMMAND_RANGE(FirstRecentId, LastRecentId, OnRecentProject)
    ON_WM_CLOSE()
    ON_COMMAND_EX(32774, OnToggleBar)
    ON_UPDATE_COMMAND_UI(32774, OnUpdateBar)
    ON_COMMAND_EX(32775, OnToggleBar)
    ON_UPDATE_COMMAND_UI(32775, OnUpdateBar)
    ON_COMMAND_EX(32778, OnToggleBar)
    ON_UPDATE_COMMAND_UI(32778, OnUpdateBar)
    ON_COMMAND_EX(32776, OnToggleBar)
    ON_UPDATE_COMMAND_UI(32776, OnUpdateBar)
    ON_COMMAND_EX(59392, OnToggleBar)
    ON_UPDATE_COMMAND_UI(59392, OnUpdateBar)
    ON_COMMAND_EX(59393, OnToggleBar)
    ON_UPDATE_COMMAND_UI(59393, OnUpdateBar)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && TranslateAccelerator(m_hWnd, m_hAccelMain, pMsg))
        return TRUE;
    CWnd* focus = GetFocus();
    if (focus && pMsg->message == WM_KEYDOWN) {
        if (const UINT command = TranslateKey(m_hAccelPane, pMsg)) {
            const bool reload = (command == kUndo || command == kRedo) && !InPane(m_wndPropertyPane, focus);
            focus->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(command), 1));
            if (reload)
                ReloadPropertyPane();
            return TRUE;
        }
    }
    if (focus && pMsg->message == WM_COMMAND && GoesToFocusedPane(LOWORD(pMsg->wParam)) && RouteToFocusedPane(pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

// True when the command was answered here: by the no-project message or
// by the focused pane's own handler.
bool CMainFrame::RouteToFocusedPane(MSG* pMsg)
{
    const UINT id = LOWORD(pMsg->wParam);
    CWnd* focus = GetFocus();
    if (ProjectStore::IsClosed() && focus != &m_wndMessages) {
        Say(kNoProjectOpened);
        return true;
    }
    const bool reload = (id == kUndo || id == kRedo) && !InPane(m_wndPropertyPane, focus);
    if (!focus->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr))
        return false;
    if (reload)
        ReloadPropertyPane();
    return true;
}

// The command an entry without Alt gives for the key press, or 0: the
// entries with Alt never match, since keys pressed with Alt come as system
// keys.
UINT CMainFrame::TranslateKey(HACCEL table, const MSG* pMsg)
{
    ACCEL entries[256];
    const int n = std::min(CopyAcceleratorTable(table, entries, 256), 256);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    for (int i = 0; i < n; ++i) {
        const ACCEL& a = entries[i];
        if ((a.fVirt & FVIRTKEY) && !(a.fVirt & FALT) && a.key == pMsg->wParam &&
            bool(a.fVirt & FSHIFT) == shift && bool(a.fVirt & FCONTROL) == control)
            return a.cmd;
    }
    return 0;
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL handled = CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (handled && nCode == CN_COMMAND && !pHandlerInfo && (nID == kUndo || nID == kRedo))
        ReloadPropertyPane();
    return handled;
}

// After an undo or a redo the pane's rows may be stale: they are read again
// so that no commit writes them back over the replayed values.
void CMainFrame::ReloadPropertyPane()
{
    if (m_wndPropertyPane.GetShownId() > 0)
        PropertyPaneReload(m_wndPropertyPane.GetShownId(), m_wndPropertyPane.IsShownElement());
}

void CMainFrame::OnFileNew()
{
    m_wndPropertyPane.CommitOpenEdit();
    COptionTreeFileDialog dialog(FALSE, "fup", nullptr,
                                 OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER,
                                 Filter("*.fup"), this);
    if (dialog.DoModal() == IDOK)
        OpenProject(dialog.GetPathName().GetString(), true);
}

void CMainFrame::OnFileOpen()
{
    m_wndPropertyPane.CommitOpenEdit();
    COptionTreeFileDialog dialog(TRUE, "fup", nullptr,
                                 OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER,
                                 Filter("*.fup"), this);
    if (dialog.DoModal() == IDOK)
        OpenProject(dialog.GetPathName().GetString(), false);
}

void CMainFrame::OnFileClose()
{
    if (ProjectStore::IsClosed())
        Say(kNoProjectOpened);
    else
        CloseProject();
}

void CMainFrame::OnRecentProject(UINT nID)
{
    const int index = int(nID - FirstRecentId);
    if (index < theSysConfig.m_recentProjects.GetSize())
        OpenProject(theSysConfig.m_recentProjects[index].GetString(), false);
}

void CMainFrame::OnFileSave()
{
    m_wndPropertyPane.CommitOpenEdit();
    const int element = GetCheckedModel();
    if (element > 0)
        SaveProject(element);
}

void CMainFrame::OnFileSaveAll()
{
    m_wndPropertyPane.CommitOpenEdit();
    SaveProject(-1);
}

bool CMainFrame::SaveProject(int unit)
{
    FileFailures failures;
    ProjectStore::Save(unit, &failures);
    bool written = true;
    for (const FileFailure& failure : failures) {
        CString line;
        line.Format(failure.skipped ? "Not saved %s: %s" : "Fail to save %s: %s", failure.path.c_str(),
                    failure.reason.c_str());
        ::OutputMessage(line.GetString());
        written = written && failure.skipped;
    }
    return written;
}

bool CMainFrame::CloseProject()
{
    if (ProjectStore::IsClosed())
        return true;
    m_wndPropertyPane.CommitOpenEdit();
    if (ProjectStore::IsModified()) {
        const int answer = AfxMessageBox(LoadResString(kSaveQuestion), MB_YESNOCANCEL | MB_ICONINFORMATION);
        if (answer == IDCANCEL)
            return false;
        if (answer == IDYES && !SaveProject(-1)) {
            AfxMessageBox("Some files of the project could not be saved (see the Messages pane); "
                          "the project stays open.",
                          MB_OK | MB_ICONERROR);
            return false;
        }
    }
    PropertyPaneClear();
    CloseDiagram(0);
    ProjectStore::Close();
    UndoLog::Reset();
    m_wndModelBrowser.Refresh(true);
    return true;
}

void CMainFrame::OpenProject(std::string path, bool create)
{
    if (!CloseProject())
        return;
    const BOOL opened = create ? ProjectStore::New(path.c_str()) : ProjectStore::Open(path.c_str());
    if (!opened) {
        // The store reports files it could read; a missing or unreadable
        // one is reported here.
        if (!create && access(path.c_str(), R_OK) != 0)
            ::OutputMessage("Fail to open " + path);
        return;
    }
    theSysConfig.AddRecentProject(path.c_str());
    UpdateRecentMenu(theSysConfig.m_recentProjects, path.c_str(), &m_menu);
    m_wndModelBrowser.Refresh(true);
}

void CMainFrame::OnAppExit() { SendMessage(WM_CLOSE); }

void CMainFrame::OnClose()
{
    if (ShutDown())
        CFrameWnd::OnClose();
}

bool CMainFrame::ShutDown()
{
    if (!CloseProject())
        return false;
    theScriptSeam.Destroy(m_scriptHost);
    m_scriptHost = nullptr;
    SaveBarLayout();
    theSysConfig.Save();
    UndoLog::Reset();
    return true;
}

BOOL CMainFrame::OnToggleBar(UINT nID)
{
    CControlBar* bar = GetBar(nID);
    if (!bar || (bar == &m_wndSymbolBar && m_wndSymbolBar.GetButtonCount() == 0))
        return FALSE;
    ShowBar(bar, !bar->IsVisible());
    return TRUE;
}

void CMainFrame::OnUpdateBar(CCmdUI* pCmdUI)
{
    if (CControlBar* bar = GetBar(pCmdUI->m_nID))
        pCmdUI->SetCheck(bar->IsVisible());
    else
        pCmdUI->ContinueRouting();
}

void CMainFrame::OnWindowClose()
{
    if (OpenDiagramList.empty())
        Say(kNoDiagramOpened);
    else
        CloseDiagram(OpenDiagramList.front());
}

void CMainFrame::OnWindowCloseAll()
{
    if (OpenDiagramList.empty())
        Say(kNoDiagramOpened);
    else
        CloseDiagram(0);
}

void CMainFrame::OnWindowEntry(UINT nID)
{
    const size_t index = nID - FirstWindowId;
    if (index < OpenDiagramList.size())
        ::OpenDiagram(OpenDiagramList[index], 0);
}

void CMainFrame::CloseDiagram(int diagramId)
{
    CVexalView* view = GetVexalView();
    if (diagramId < 1) {
        if (!OpenDiagramList.empty()) {
            OpenDiagramList.clear();
            if (view)
                view->CloseDiagram();
            UpdateWindowMenu(-1);
        }
    } else {
        auto found = std::find(OpenDiagramList.rbegin(), OpenDiagramList.rend(), diagramId);
        if (found != OpenDiagramList.rend()) {
            const bool shown = found.base() - 1 == OpenDiagramList.begin();
            OpenDiagramList.erase(found.base() - 1);
            if (shown) {
                if (view)
                    view->CloseDiagram();
                if (!OpenDiagramList.empty())
                    ::OpenDiagram(OpenDiagramList.front(), 0);
            }
            UpdateWindowMenu(-1);
        }
    }
    if (OpenDiagramList.empty())
        ShowBar(&m_wndSymbolBar, false);
}

void CMainFrame::LocateElement(int elementId) { m_wndModelBrowser.LocateElement(elementId); }

void CMainFrame::OnScriptItem(UINT nID)
{
    // Options, Run Javascript and the separator stand before the scripts.
    CExtMenu* tools = DYNAMIC_DOWNCAST(CExtMenu, m_menu.GetSubMenu(3));
    CString text;
    if (!tools || !tools->GetMenuText(nID - FirstScriptId + 3, text, MF_BYPOSITION))
        return;
    const CString path = PathJoin(PathJoin(theModuleDir, "Script"), CString("menu_") + text + ".js");
    RunScript(path.GetString());
}

void CMainFrame::OnRunScriptFile()
{
    m_wndPropertyPane.CommitOpenEdit();
    COptionTreeFileDialog dialog(TRUE, "js", nullptr,
                                 OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING,
                                 Filter("*.js"), this);
    if (dialog.DoModal() == IDOK)
        RunScript(dialog.GetPathName().GetString());
}

// A script starts from committed data, the pane's open edit included.
void CMainFrame::RunScript(const char* path)
{
    m_wndPropertyPane.CommitOpenEdit();
    theModelDb.Commit();
    theScriptSeam.RunFile(m_scriptHost, path);
    if (CVexalView* view = GetMainView())
        view->RefreshPage();
}

void CMainFrame::OnSearch()
{
    if (ProjectStore::IsClosed()) {
        Say(kNoProjectOpened);
        return;
    }
    m_dlgSearch.CenterWindow(this);
    m_dlgSearch.Show(true);
}

void CMainFrame::OnOptions()
{
    m_dlgOptions.CenterWindow(this);
    m_dlgOptions.Show(true);
}

void CMainFrame::OnHelpTopics()
{
    CWnd* focus = GetFocus();
    CWnd* view = GetActiveView();
    if (focus && (focus == &m_wndModelBrowser || focus == view)) {
        focus->SendMessage(WM_COMMAND, 57667);
        return;
    }
    const CString target = CString(theModuleDir) + "help.chm::/Index.htm";
    theHelpSeam.ShowTopic(target.GetString());
}

void CMainFrame::OnPropertyCommitted(NMHDR*, LRESULT* pResult)
{
    m_wndPropertyPane.CommitEdit();
    *pResult = 0;
}

BOOL CMainFrame::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    CommandImageInfo info = {};
    if (!GetCommandImages().Lookup(UINT(pNMHDR->idFrom), info))
        return FALSE;
    std::snprintf(tip->szText, sizeof tip->szText, "%s", info.name);
    tip->lpszText = tip->szText;
    tip->hinst = nullptr;
    *pResult = 0;
    return TRUE;
}
