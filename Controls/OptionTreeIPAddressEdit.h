// COptionTreeIPAddressEdit: one number field of an IP address row, attached
// to a field window of the row's control. It reports to the control when it
// loses the focus (OT_IPADDRESS_FOCUSLOST, wParam the window gaining it)
// and asks for the next field (OT_IPADDRESS_NEXTFIELD, wParam itself) when
// it is full or a full stop is typed; Delete deletes as in any edit.
#pragma once

#include "Platform/Edit.h"

#define OT_IPADDRESS_FOCUSLOST (WM_USER + 1017)
#define OT_IPADDRESS_NEXTFIELD (WM_USER + 1018)

class COptionTreeIPAddressEdit : public CEdit {
public:
    void SetIPAddressWnd(HWND hWnd) { m_hIPAddress = hWnd; }

protected:
    void OnKillFocus(CWnd* pNewWnd);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    BOOL OnMaxText();
    DECLARE_MESSAGE_MAP()

private:
    void NextField();

    HWND m_hIPAddress = nullptr;
};
