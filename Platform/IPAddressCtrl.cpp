#include "Platform/IPAddressCtrl.h"

#include "Platform/Edit.h"

#include <cstdio>
#include <cstdlib>

namespace {

const int kFieldWidth = 30;

// The text of a field and whether it holds a number.
bool ReadField(HWND field, int* value)
{
    char text[8] = {};
    CWnd* wnd = CWnd::FromHandle(field);
    if (!wnd || wnd->GetWindowText(text, sizeof text) == 0)
        return false;
    const int number = std::atoi(text);
    *value = number > 255 ? 255 : number < 0 ? 0 : number;
    return true;
}

} // namespace

BOOL CIPAddressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCTSTR cls = AfxRegisterWndClass(0);
    if (!CWnd::Create(cls, "", dwStyle, rect, pParentWnd, nID))
        return FALSE;
    for (int octet = 3; octet >= 0; --octet) {
        CEdit field;
        const CRect place(octet * (kFieldWidth + 5), 0, octet * (kFieldWidth + 5) + kFieldWidth,
                          rect.bottom - rect.top);
        if (!field.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, place, this, UINT(1000 + octet))) {
            DestroyWindow();
            return FALSE;
        }
        field.LimitText(3);
        field.Detach();
    }
    return TRUE;
}

HWND CIPAddressCtrl::GetField(int nOctet) const
{
    if (!GetSafeHwnd() || nOctet < 0 || nOctet > 3)
        return nullptr;
    CWnd* child = GetWindow(GW_CHILD);
    for (int i = 0; child && i < 3 - nOctet; ++i)
        child = child->GetNextWindow(GW_HWNDNEXT);
    return child ? child->GetSafeHwnd() : nullptr;
}

int CIPAddressCtrl::GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const
{
    BYTE* fields[4] = { &nField0, &nField1, &nField2, &nField3 };
    int filled = 0;
    for (int octet = 0; octet < 4; ++octet) {
        int value = 0;
        if (ReadField(GetField(octet), &value))
            ++filled;
        *fields[octet] = BYTE(value);
    }
    return filled;
}

int CIPAddressCtrl::GetAddress(DWORD& dwAddress) const
{
    BYTE b[4];
    const int filled = GetAddress(b[0], b[1], b[2], b[3]);
    dwAddress = MAKEIPADDRESS(b[0], b[1], b[2], b[3]);
    return filled;
}

void CIPAddressCtrl::SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3)
{
    const BYTE fields[4] = { nField0, nField1, nField2, nField3 };
    for (int octet = 0; octet < 4; ++octet) {
        char text[4];
        std::snprintf(text, sizeof text, "%d", fields[octet]);
        if (CWnd* field = CWnd::FromHandle(GetField(octet)))
            field->SetWindowText(text);
    }
}

void CIPAddressCtrl::SetAddress(DWORD dwAddress)
{
    SetAddress(BYTE(FIRST_IPADDRESS(dwAddress)), BYTE(SECOND_IPADDRESS(dwAddress)),
               BYTE(THIRD_IPADDRESS(dwAddress)), BYTE(FOURTH_IPADDRESS(dwAddress)));
}

void CIPAddressCtrl::ClearAddress()
{
    for (int octet = 0; octet < 4; ++octet)
        if (CWnd* field = CWnd::FromHandle(GetField(octet)))
            field->SetWindowText("");
}

BOOL CIPAddressCtrl::IsBlank() const
{
    BYTE b[4];
    return GetAddress(b[0], b[1], b[2], b[3]) == 0;
}
