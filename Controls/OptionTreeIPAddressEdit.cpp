#include "Controls/OptionTreeIPAddressEdit.h"

#include "Platform/Messages.h"

BEGIN_MESSAGE_MAP(COptionTreeIPAddressEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
    ON_CONTROL_REFLECT_EX(EN_MAXTEXT, OnMaxText)
END_MESSAGE_MAP()

void COptionTreeIPAddressEdit::NextField()
{
    if (m_hIPAddress && ::IsWindow(m_hIPAddress) && GetSafeHwnd())
        ::SendMessage(m_hIPAddress, OT_IPADDRESS_NEXTFIELD, reinterpret_cast<WPARAM>(GetSafeHwnd()), 0);
}

void COptionTreeIPAddressEdit::OnKillFocus(CWnd* pNewWnd)
{
    if (m_hIPAddress && ::IsWindow(m_hIPAddress))
        ::SendMessage(m_hIPAddress, OT_IPADDRESS_FOCUSLOST,
                      reinterpret_cast<WPARAM>(pNewWnd ? pNewWnd->GetSafeHwnd() : nullptr), 0);
    CEdit::OnKillFocus(pNewWnd);
}

void COptionTreeIPAddressEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == '.') {
        NextField();
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

BOOL COptionTreeIPAddressEdit::OnMaxText()
{
    NextField();
    return FALSE;
}
