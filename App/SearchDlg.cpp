#include "App/SearchDlg.h"

BOOL CSearchDlg::Create(CWnd* pParentWnd) { return CDialog::Create(152, pParentWnd); }

void CSearchDlg::Show(bool show) { ShowWindow(show ? SW_SHOW : SW_HIDE); }
