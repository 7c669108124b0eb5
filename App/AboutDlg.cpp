#include "App/AboutDlg.h"

#include "Platform/DialogHook.h"
#include "Platform/MessageMap.h"

CAboutDlg::CAboutDlg() : CDialog(100) {}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CAboutDlg::OnLButtonDown(UINT, CPoint) { EndDialog(IDCANCEL); }
