// CAboutDlg: the About box, one picture (bitmap 164) covering the whole
// dialog; a click anywhere closes it as Cancel.
#pragma once

#include "Platform/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
