// CWinApp: the application object. It runs Qt's event loop as the message
// loop, with idle processing each time the queue runs empty (OnIdle with a
// rising count until it asks for no more), filters every queued message
// through the windows' PreTranslateMessage, and keeps the profile (the
// registry settings of the application, on QSettings).
#pragma once

#include "Platform/CmdTarget.h"
#include "Platform/Messages.h"

#include <memory>
#include <string>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CString;
class CWnd;

// The application's title: its name and profile name unless one is given.
#define AFX_IDS_APP_TITLE 0xE000

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // There is one application object; it registers itself here and is
    // what AfxGetApp returns until it is destroyed.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = 1;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the message loop until the quit message; returns ExitInstance().
    virtual int Run();
    // Idle work; lCount counts the calls since the queue last held a
    // message. The base updates the main window's command UI at count 0.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    CWnd* GetMainWnd() { return m_pMainWnd; }

    // The profile: sections and entries under the registry key and the
    // profile name ("Software\<key>\<profile>\<section>\<entry>").
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null value removes the entry; a null entry removes the whole section.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // The bytes of a binary entry; the caller frees *ppData with delete[].
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes);

    // The command line (the arguments after the program, joined by blanks)
    // and its parsing, parameter by parameter.
    LPCTSTR m_lpCmdLine = "";
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Replaces the arguments after the program's name (as a test starts
    // the program with a command line of its own); an application without
    // a name takes its title's.
    void SetArguments(const std::vector<std::string>& arguments);

    // The recent-file list kept in the profile ("Recent File List",
    // "File1".."Filen"), most recent first; written back by ExitInstance.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    int GetRecentFileCount() const { return int(m_recentFiles.size()); }
    LPCTSTR GetRecentFile(int index) const;

    // Document templates, owned by the application from here on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    // Does what the command line asks: a new document (which makes the main
    // window) or the named file's. FALSE when that fails; print, DDE and
    // unregister requests are refused.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // A new document of the first template.
    void OnFileNew();
    // The page set-up of the printer the program prints to, through the
    // dialog hook (DialogKind::PrintSetup).
    void OnFilePrintSetup();

    // The 3-D look is Qt's own; kept for the start-up code that asks for it.
    BOOL Enable3dControls() { return TRUE; }

    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

private:
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    // The texts behind m_pszAppName, m_pszRegistryKey and m_pszProfileName.
    std::string m_appName;
    std::string m_registryKey;
    std::string m_profileName;
    std::string m_commandLine;
    std::vector<std::string> m_arguments;
    std::vector<std::string> m_recentFiles;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    UINT m_maxRecentFiles = 0;
    LONG m_idleCount = 0;
    bool m_inIdle = false;
    friend struct WinAppIdle;
    friend int AfxWinMain(int argc, char** argv);
    // Takes the program's name and arguments once Qt's application exists.
    void TakeProgramArguments();
    void NameApplication(const std::string& name);
};

// Holds the application's profile open for the writes of its scope and
// writes it out once, at the end, instead of once per value: each write out
// reads and rewrites the whole file. Scopes nest; the outermost one writes.
// Reads within the scope see its writes.
class CProfileWriteBatch {
public:
    CProfileWriteBatch();
    ~CProfileWriteBatch();
    CProfileWriteBatch(const CProfileWriteBatch&) = delete;
    CProfileWriteBatch& operator=(const CProfileWriteBatch&) = delete;
};

// The program's entry: makes Qt's application (unless one exists), gives
// the application object its name and command line, runs InitInstance and
// then the message loop; when InitInstance fails, the main window (if
// any) is destroyed and ExitInstance's result returned at once.
int AfxWinMain(int argc, char** argv);

// Keeps the profiles of the run under folder instead of the user's
// configuration folder (tests and benchmarks).
void AfxSetProfileFolder(LPCTSTR folder);

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();
// Ends the message loop with the given exit code. Posted while no loop
// runs, the quit stays pending until a loop or GetMessage takes it.
void PostQuitMessage(int nExitCode);
// Takes a pending quit: true with its exit code when there was one.
bool AfxTakeQuitMessage(int* exitCode);
// The filter every queued message passes before it is dispatched: the
// application's PreTranslateMessage, or without an application the
// windows from the target up to its top level. True when consumed.
BOOL AfxPreTranslateMessage(MSG* pMsg);
