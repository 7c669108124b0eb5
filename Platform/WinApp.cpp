#include "Platform/WinApp.h"

#include "Platform/CString.h"
#include "Platform/CommandLine.h"
#include "Platform/Cursor.h"
#include "Platform/DocTemplate.h"
#include "Platform/FrameWnd.h"
#include "Platform/Resource.h"
#include "Platform/Wnd.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;
bool g_quit = false;
int g_quitCode = 0;
bool g_running = false;  // Run's loop is executing

} // namespace

// Idle processing: Qt announces each time its loop is about to wait.
struct WinAppIdle {
    static void Run(CWinApp* app)
    {
        if (app->m_inIdle)
            return;
        app->m_inIdle = true;
        app->m_idleCount = 0;
        while (app->OnIdle(app->m_idleCount++)) {
        }
        app->m_inIdle = false;
    }
};

// The application object is usually a static one, made before Qt's
// application exists; it takes its name and command line from Qt later.
CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    if (lpszAppName)
        m_appName = lpszAppName;
    m_pszAppName = m_appName.c_str();
    m_profileName = m_appName;
    m_pszProfileName = m_profileName.c_str();
    m_lpCmdLine = m_commandLine.c_str();
    TakeProgramArguments();
    g_app = this;
}

// The application's title string names it, else the executable.
void CWinApp::TakeProgramArguments()
{
    if (!QCoreApplication::instance())
        return;
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    SetArguments(arguments);
    if (m_appName.empty())
        NameApplication(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
}

void CWinApp::SetArguments(const std::vector<std::string>& arguments)
{
    const char* title = AfxFindResourceString(AFX_IDS_APP_TITLE);
    if (m_appName.empty() && title && *title)
        NameApplication(title);
    m_arguments = arguments;
    m_commandLine.clear();
    for (const std::string& argument : arguments)
        m_commandLine += (m_commandLine.empty() ? "" : " ") + argument;
    m_lpCmdLine = m_commandLine.c_str();
}

void CWinApp::NameApplication(const std::string& name)
{
    m_appName = name;
    m_pszAppName = m_appName.c_str();
    if (!m_pszRegistryKey || m_profileName.empty()) {
        m_profileName = m_appName;
        m_pszProfileName = m_profileName.c_str();
    }
}

int AfxWinMain(int argc, char** argv)
{
    std::unique_ptr<QApplication> qt;
    if (!QCoreApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->TakeProgramArguments();
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd())
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate)
        m_templates.emplace_back(pTemplate);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    if (m_templates.empty())
        return FALSE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return m_templates.front()->OpenDocumentFile(nullptr) != nullptr;
    case CCommandLineInfo::FileOpen:
        return m_templates.front()->OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE;
    }
}
int CWinApp::ExitInstance()
{
    if (m_maxRecentFiles) {
        CProfileWriteBatch batch;
        for (UINT i = 0; i < m_maxRecentFiles; ++i) {
            char entry[16];
            std::snprintf(entry, sizeof entry, "File%u", i + 1);
            WriteProfileString("Recent File List", entry,
                               i < m_recentFiles.size() ? m_recentFiles[i].c_str() : nullptr);
        }
    }
    return 0;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (size_t i = 0; i < m_arguments.size(); ++i) {
        const std::string& param = m_arguments[i];
        const bool flag = param.size() > 1 && param[0] == '-';
        rCmdInfo.ParseParam(param.c_str() + (flag ? 1 : 0), flag, i + 1 == m_arguments.size());
    }
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_maxRecentFiles = nMaxMRU;
    m_recentFiles.clear();
    for (UINT i = 0; i < nMaxMRU; ++i) {
        char entry[16];
        std::snprintf(entry, sizeof entry, "File%u", i + 1);
        const CString path = GetProfileString("Recent File List", entry);
        if (!path.IsEmpty())
            m_recentFiles.push_back(path.GetString());
    }
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (!m_maxRecentFiles || !lpszPathName || !*lpszPathName)
        return;
    const std::string path = lpszPathName;
    m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), path), m_recentFiles.end());
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > m_maxRecentFiles)
        m_recentFiles.resize(m_maxRecentFiles);
}

LPCTSTR CWinApp::GetRecentFile(int index) const
{
    return index >= 0 && index < int(m_recentFiles.size()) ? m_recentFiles[size_t(index)].c_str() : nullptr;
}

int CWinApp::Run()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QMetaObject::Connection idle;
    if (dispatcher)
        idle = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this]() { WinAppIdle::Run(this); });
    // Qt's exit before exec would stop every later loop, so a quit posted
    // before the loop ran ends it here instead.
    if (!g_quit) {
        g_running = true;
        QApplication::exec();
        g_running = false;
    }
    g_quit = false;
    QObject::disconnect(idle);
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount == 0 && m_pMainWnd && IsWindow(m_pMainWnd->GetSafeHwnd())) {
        // The main window and every other visible frame (floating bars live
        // in frames of their own) update their command UI.
        std::vector<HWND> frames;
        for (CWnd* w = m_pMainWnd->GetWindow(GW_HWNDFIRST); w; w = w->GetWindow(GW_HWNDNEXT)) {
            if (w == m_pMainWnd || (w->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && w->IsWindowVisible()))
                frames.push_back(w->GetSafeHwnd());
        }
        for (HWND h : frames) {
            if (CWnd* w = CWnd::FromHandle(h)) {
                w->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
                if (IsWindow(h))
                    w->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            }
        }
    }
    return lCount < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    CWnd* main = m_pMainWnd && IsWindow(m_pMainWnd->GetSafeHwnd()) ? m_pMainWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(main ? main->GetSafeHwnd() : nullptr, pMsg))
        return TRUE;
    // A modeless window outside the main window still gets the main
    // window's keyboard table.
    if (main) {
        CWnd* target = CWnd::FromHandle(pMsg->hwnd);
        if (target && target->GetTopLevelParent() != main)
            return main->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (g_app)
        return g_app->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
LPCTSTR AfxGetAppName() { return g_app ? g_app->m_pszAppName : ""; }

void PostQuitMessage(int nExitCode)
{
    g_quit = true;
    g_quitCode = nExitCode;
    if (g_running)
        QCoreApplication::exit(nExitCode);
}

bool AfxTakeQuitMessage(int* exitCode)
{
    *exitCode = g_quitCode;
    const bool pending = g_quit;
    g_quit = false;
    return pending;
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
