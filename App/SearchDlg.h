// CSearchDlg: the modeless Search dialog (template 152), made hidden with
// the main window and shown when asked for.
#pragma once

#include "Platform/Dialog.h"

class CSearchDlg : public CDialog {
public:
    BOOL Create(CWnd* pParentWnd);
    void Show(bool show);
};
