#include "App/MainFrm.h"

#include "App/ScriptSeam.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "Controls/CommandImageList.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Accelerators.h"
#include "Platform/ProcessHooks.h"
#include "Platform/Resource.h"
#include "Platform/ResourceId.h"
#include "Platform/SysColors.h"
#include "Pub/DiagramCursors.h"
#include "Pub/Log.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace {

const UINT kMainToolBarId = 59392;
const UINT kStatusBarId = 59393;
const UINT kSymbolBarId = 32778;

const UINT kMainButtons[] = { 57600, 57601, 57603, 32783, 57602, 0, 57635, 57634, 57637, 0, 57643, 57644, 0, 57607, 57664 };
const UINT kIndicators[] = { ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };

} // namespace

CMainFrame::CMainFrame()
{
    MemDbOpen();
    OpenDiagramList.reserve(MaxOpenDiagrams + 1);
}

CMainFrame::~CMainFrame()
{
    // A window destroyed without ShutDown takes its script host along.
    if (m_scriptHost)
        theScriptSeam.Destroy(m_scriptHost);
    MemDbClose();
    theShellHooks.LocateElement = nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    m_bAutoMenuEnable = FALSE;
    cs.x = -4;
    cs.y = -4;
    cs.cx = 2 * GetSystemMetrics(SM_CXSCREEN);
    cs.cy = 2 * GetSystemMetrics(SM_CYSCREEN);
    cs.style |= WS_MAXIMIZE;
    return CFrameWnd::PreCreateWindow(cs);
}

bool CMainFrame::InitServices()
{
    SetMetaIconList(&GetCommandImages());
    RegisterUmlSymbolClasses();
    if (!LoadMetaModel()) {
        LogFailure(4, __FILE__, 115, "Fail to read meta model\r\n");
        return false;
    }
    m_scriptHost = theScriptSeam.Init();
    UndoLog::Clear();
    return true;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    LoadDiagramCursors();
    m_hAccelPane = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(160));
    m_hAccelMain = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(128));
    if (!InitServices())
        return -1;
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!CreateBars() || !CreatePanes())
        return -1;
    m_wndPropertyPane.SetNotify(TRUE, this);
    DockBars();
    m_wndSymbolBar.ShowWindow(SW_HIDE);
    RecalcLayout();

    m_menu.LoadMenu(128);
    m_menu.LoadImages(&GetCommandImages());
    SetMenu(&m_menu);
    LoadScriptMenu();
    UpdateRecentMenu(theSysConfig.m_recentProjects, "", &m_menu);

    InstallShellHooks();
    ProjectStore::InstallHooks();
    return 0;
}

bool CMainFrame::CreateBars()
{
    CCommandImageList& icons = GetCommandImages();
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_WRAPABLE,
                               WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), kMainToolBarId))
        return false;
    m_wndToolBar.SetImageList(&icons);
    for (UINT id : kMainButtons) {
        if (id)
            m_wndToolBar.AddButton(id);
        else
            m_wndToolBar.AddSeparator();
    }

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, kStatusBarId) ||
        !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
        return false;

    if (!m_dlgSearch.Create(this) || !m_dlgOptions.Create(this))
        return false;

    if (!m_wndSymbolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_WRAPABLE,
                                 WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_ANY | CBRS_TOOLTIPS |
                                     CBRS_SIZE_DYNAMIC,
                                 CRect(0, 0, 0, 0), kSymbolBarId))
        return false;
    m_wndSymbolBar.SetImageList(&icons);
    return true;
}

CVexalView* CMainFrame::GetVexalView() const { return DYNAMIC_DOWNCAST(CVexalView, GetActiveView()); }

bool CMainFrame::LoadSymbolToolBar(int diagramId)
{
    dbTypedCursor<ModelT> element(&ModelT::TableInfo);
    if (element.SelectByKey("ID", diagramId) <= 0)
        return false;
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(element->Type ? element->Type : "");
    q.Append(dbFragText, " and Symbol!='' order by ID");
    dbTypedCursor<MetaEle> rules(&MetaEle::TableInfo);
    if (rules.Select(q, dbCursorViewOnly) <= 0)
        return false;
    m_wndSymbolBar.LockWindowUpdate();
    m_wndSymbolBar.DeleteAllButtons();
    for (bool more = true; more; more = rules.Next() != nullptr) {
        CSymbol* prototype = nullptr;
        if (FindMetaclass(rules->Symbol, prototype))
            m_wndSymbolBar.AddButton(FirstSymbolId + UINT(prototype->metaIndex));
    }
    m_wndSymbolBar.UnlockWindowUpdate();
    m_wndSymbolBar.ShowWindow(SW_SHOW);
    RecalcLayout();
    return true;
}
