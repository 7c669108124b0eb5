// CDataExchange: one exchange between a dialog's controls and the
// variables that mirror them, in one direction: saving (controls to
// variables) or loading (variables to controls).
#pragma once

#include "Platform/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The dialog's control nIDC, null when it has none.
    HWND PrepareCtrl(int nIDC);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};
