// CAboutDlg: the About box, one picture (bitmap 164) covering the whole
// dialog; a click anywhere closes it as Cancel. The dialog takes the
// picture's size, whatever the font makes of its template's units.
#pragma once

#include "Platform/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
    void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
