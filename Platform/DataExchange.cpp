#include "Platform/DataExchange.h"

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    return control ? control->GetSafeHwnd() : nullptr;
}
