// COptionsDlg: the modeless Options dialog (template 156), made hidden
// with the main window and shown when asked for.
#pragma once

#include "Platform/Dialog.h"

class COptionsDlg : public CDialog {
public:
    BOOL Create(CWnd* pParentWnd);
    void Show(bool show);
};
