// CMainFrame: the one main window. Its lifetime brackets the model
// database's open state: the constructor opens theModelDb under theDbName
// and the destructor closes it. It owns by value every pane, bar and
// modeless dialog, the list of open diagrams and the script host, and it
// runs the project commands.
// Invariants: OpenDiagramList holds at most MaxOpenDiagrams distinct ids,
// most recently shown first, and entry 0 is the diagram the view shows;
// the Window menu mirrors it. The members below are declared in the order
// they are built; they are destroyed in the reverse order, after the
// database was closed.
#pragma once

#include "App/ModelBrowser.h"
#include "App/OptionsDlg.h"
#include "App/PropertyPane.h"
#include "App/SearchDlg.h"
#include "Controls/CoolDockBar.h"
#include "Controls/ExtMenu.h"
#include "Controls/MsgListBox.h"
#include "Controls/ToolBarEx.h"
#include "Platform/Collections.h"
#include "Platform/FrameWnd.h"
#include "Platform/StatusBar.h"

#include <string>
#include <vector>

class CVexalView;
class ScriptHost;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    static const int MaxOpenDiagrams = 16;
    // Command ids of the lists the menus hold.
    static const UINT FirstWindowId = 1025;
    static const UINT LastWindowId = 1041;
    static const UINT FirstScriptId = 1042;
    static const UINT LastScriptId = 1142;
    static const UINT FirstRecentId = 1143;
    static const UINT LastRecentId = 1148;
    // The first command id of the symbol toolbar's buttons (plus the
    // metaclass index).
    static const UINT FirstSymbolId = 2024;

    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Reads the metamodel and makes the script host; false when the
    // metamodel cannot be read.
    bool InitServices();
    // Fills the symbol toolbar for the diagram's kind and shows it; false,
    // with the toolbar as it was, for a missing diagram or a kind without
    // symbol rules.
    bool LoadSymbolToolBar(int diagramId);
    // True when every bar the saved layout of the profile names exists.
    bool VerifyBarState(const char* profileName);

    // Project commands. CloseProject is false when the user cancelled or a
    // file of the project could not be saved (the project then stays open).
    bool CloseProject();
    void OpenProject(std::string path, bool create);
    // Closes the diagram (below 1: all) and shows the next one of the list.
    void CloseDiagram(int diagramId);
    void LocateElement(int elementId);
    // Runs the whole close of the program; false keeps it running.
    bool ShutDown();

    // Menu upkeep.
    void UpdateWindowMenu(int diagramId);
    void UpdateRecentMenu(const CStringArray& list, const char* currentPath, CMenu* menu);
    void LoadScriptMenu();

    // Pane access for the shell services.
    void OutputMessage(const char* text);
    CMsgListBox& GetMessageList() { return m_wndMessages; }
    CModelBrowser& GetModelBrowser() { return m_wndModelBrowser; }
    CPropertyPane& GetPropertyPane() { return m_wndPropertyPane; }
    CSearchDlg& GetSearchDialog() { return m_dlgSearch; }
    COptionsDlg& GetOptionsDialog() { return m_dlgOptions; }
    CToolBarEx& GetSymbolBar() { return m_wndSymbolBar; }
    CToolBarEx& GetToolBar() { return m_wndToolBar; }
    CCoolDockBar& GetModelBar() { return m_wndModelBar; }
    CCoolDockBar& GetPropertyBar() { return m_wndPropertyBar; }
    CCoolDockBar& GetMessageBar() { return m_wndMessageBar; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CExtMenu& GetMainMenu() { return m_menu; }
    CVexalView* GetVexalView() const;
    const std::vector<int>& GetOpenDiagramList() const { return OpenDiagramList; }
    // The bar (toolbar, status bar or pane) with the control id, or null.
    CControlBar* GetBar(UINT nID) { return GetControlBar(nID); }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnFileNew();
    void OnFileOpen();
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAll();
    void OnAppExit();
    void OnHelpTopics();
    void OnRunScriptFile();
    void OnWindowClose();
    void OnWindowCloseAll();
    void OnSearch();
    void OnOptions();
    void OnWindowEntry(UINT nID);
    void OnScriptItem(UINT nID);
    void OnRecentProject(UINT nID);
    BOOL OnToggleBar(UINT nID);
    void OnUpdateBar(CCmdUI* pCmdUI);
    void OnPropertyCommitted(NMHDR* pNotifyStruct, LRESULT* pResult);
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    bool CreateBars();
    bool CreatePanes();
    void DockBars();
    void SaveBarLayout();
    // Shows or hides the bar and lays the window out at once.
    void ShowBar(CControlBar* bar, bool show);
    void ReloadPropertyPane();
    void RunScript(const char* path);
    // Saves the project file and the modified units of unit (-1: all),
    // naming every file not written, and every unit skipped, in the
    // Messages pane; false when a file was not written.
    bool SaveProject(int unit);
    // The command a key message of the table makes, or 0.
    static UINT TranslateKey(HACCEL table, const MSG* pMsg);
    bool RouteToFocusedPane(MSG* pMsg);

    CToolBarEx m_wndSymbolBar;
    ScriptHost* m_scriptHost = nullptr;
    CStatusBar m_wndStatusBar;
    CToolBarEx m_wndToolBar;
    CExtMenu m_menu;
    CSearchDlg m_dlgSearch;
    COptionsDlg m_dlgOptions;
    std::vector<int> OpenDiagramList;
    CPropertyPane m_wndPropertyPane;
    CCoolDockBar m_wndPropertyBar;
    CModelBrowser m_wndModelBrowser;
    CCoolDockBar m_wndModelBar;
    CMsgListBox m_wndMessages;
    CCoolDockBar m_wndMessageBar;
    HACCEL m_hAccelMain = nullptr;
    HACCEL m_hAccelPane = nullptr;
};

// The main window of the application, or null.
CMainFrame* GetMainFrame();
