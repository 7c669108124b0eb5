#include "App/VexalApp.h"

#include "App/AboutDlg.h"
#include "App/HelpSeam.h"
#include "App/HelpViewer.h"
#include "App/MainFrm.h"
#include "App/ModulePath.h"
#include "App/VexalDoc.h"
#include "App/VexalView.h"
#include "Controls/CommandImageList.h"
#include "MemDB/db.h"
#include "Platform/Clipboard.h"
#include "Platform/CommandLine.h"
#include "Platform/DocTemplate.h"
#include "Platform/Library.h"
#include "Platform/MessageMap.h"
#include "Platform/ProcessHooks.h"
#include "Pub/GuidText.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/SYSConfig.h"

#include <climits>
#include <unistd.h>

unsigned int theMdlClipboardFormat = 0;
unsigned int theSymClipboardFormat = 0;

IMPLEMENT_DYNAMIC(CVexalApp, CWinApp)

CVexalApp::CVexalApp()
{
    char exe[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    exe[n > 0 ? n : 0] = 0;
    ModuleDirFromPath(exe, theModuleDir, ModuleDirSize);
}

BEGIN_MESSAGE_MAP(CVexalApp, CWinApp)
    ON_COMMAND(57664, OnAppAbout)
    ON_COMMAND(57606, OnFilePrintSetup)
END_MESSAGE_MAP()

// The resource library in the program folder stays loaded for the rest of
// the process: its strings, menus and dialogs replace the program's own.
void CVexalApp::LoadResourceLibrary()
{
    static const HMODULE library = LoadLibrary(CString(theModuleDir) + "VexalEN.dll");
    if (library)
        AfxSetResourceHandle(library);
}

BOOL CVexalApp::InitInstance()
{
    m_started = false;
    Enable3dControls();
    SetRegistryKey("VexalUML");
    LoadStdProfileSettings(4);
    LoadResourceLibrary();
    MakeGuidText(theDbName, DbNameSize, FALSE);

    theSysConfig.Load();
    theLog.SetLevel(theSysConfig.m_nLogLevel);
    theSysConfig.LoadCommandIcons();
    GetCommandImages().LoadCommandIcons(theSysConfig.GetCommandIconFiles());

    theHelpSeam.ShowTopic = CHelpViewer::ShowTopic;

    theMdlClipboardFormat = RegisterClipboardFormat("VexalUMLClipboardMdl");
    theSymClipboardFormat = RegisterClipboardFormat("VexalUMLClipboardSym");

    AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(CVexalDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CVexalView)));

    // The document reads nothing from a file named on the command line, so
    // only the main window's creation can fail here; the project itself is
    // opened below, where a failure is reported and the program goes on.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) {
        LogFailure(4, __FILE__, 128, "Fail to call ProcessShellCommand(cmdInfo)\r\n");
        return FALSE;
    }
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    // The toolkit has loaded its plugins by now.
    AfxModulesChanged();
    m_started = true;
    if (!cmdInfo.m_strFileName.IsEmpty())
        static_cast<CMainFrame*>(m_pMainWnd)->OpenProject(cmdInfo.m_strFileName.GetString(), false);
    return TRUE;
}

int CVexalApp::ExitInstance()
{
    // The viewer has no owner: it would outlive the main window.
    if (CHelpViewer* viewer = CHelpViewer::Get())
        viewer->DestroyWindow();
    const int result = CWinApp::ExitInstance();
    m_pMainWnd = nullptr;
    return result;
}

void CVexalApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
