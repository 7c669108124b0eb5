#include "App/AboutDlg.h"

#include "Platform/DialogHook.h"
#include "Platform/MessageMap.h"

CAboutDlg::CAboutDlg() : CDialog(100) {}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* picture = GetWindow(GW_CHILD)) {
        CRect shown, client, window;
        picture->GetWindowRect(&shown);
        GetClientRect(&client);
        GetWindowRect(&window);
        SetWindowPos(nullptr, 0, 0, window.Width() + shown.Width() - client.Width(),
                     window.Height() + shown.Height() - client.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        picture->MoveWindow(0, 0, shown.Width(), shown.Height());
        CenterWindow();
    }
    return TRUE;
}

void CAboutDlg::OnLButtonDown(UINT, CPoint) { EndDialog(IDCANCEL); }
