// CCommandLineInfo: what the program's command line asks for. Flags start
// with '-' (not '/', which starts a path here); the first other parameter
// names the file to open.
#pragma once

#include "Platform/CString.h"
#include "Platform/Object.h"

class CCommandLineInfo : public CObject {
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;
    CString m_strPrinterName;

    // One parameter: a flag without its '-', or a plain parameter.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);
};
