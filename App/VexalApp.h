// CVexalApp: the application object. It prepares what every part of the
// program relies on (the program folder, the run's identifier, the
// configuration, the command icons, the clipboard formats), binds the
// placeholder document, the main window and the view into one template,
// and opens a project named on the command line.
#pragma once

#include "Platform/MessageMap.h"
#include "Platform/WinApp.h"

// The registered clipboard formats of model elements and of symbols.
extern unsigned int theMdlClipboardFormat;
extern unsigned int theSymClipboardFormat;

class CVexalApp : public CWinApp {
    DECLARE_DYNAMIC(CVexalApp)
public:
    // Fills theModuleDir from the executable's path.
    CVexalApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    void OnAppAbout();
    // True once InitInstance succeeded.
    bool Started() const { return m_started; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    bool m_started = false;
    // Loaded once per process; later starts (tests) keep it.
    void LoadResourceLibrary();
};

// The program's one application object; the program's entry defines it,
// and so does each test program that drives the shell.
extern CVexalApp theApp;
