#include "App/OptionsDlg.h"

BOOL COptionsDlg::Create(CWnd* pParentWnd) { return CDialog::Create(156, pParentWnd); }

void COptionsDlg::Show(bool show) { ShowWindow(show ? SW_SHOW : SW_HIDE); }
