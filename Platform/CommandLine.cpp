#include "Platform/CommandLine.h"

#include <strings.h>

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (strcasecmp(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (strcasecmp(pszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (strcasecmp(pszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (strcasecmp(pszParam, "Embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (strcasecmp(pszParam, "Automation") == 0)
            m_bRunAutomated = TRUE;
        else if (strcasecmp(pszParam, "Unregister") == 0 || strcasecmp(pszParam, "Unregserver") == 0)
            m_nShellCommand = AppUnregister;
        if (m_bRunEmbedded || m_bRunAutomated)
            m_bShowSplash = FALSE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty()) {
        m_strPrinterName = pszParam;
    }
}
