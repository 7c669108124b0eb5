// CIPAddressCtrl: the IP address control, four edit fields of up to three
// digits each, one per octet, with dots between them. The fields are plain
// edit windows without objects of their own, made rightmost first, so the
// control's first child holds the fourth octet and its last the first; a
// field refuses a fourth digit with EN_MAXTEXT. Octets read back as 0-255
// (larger numbers are clamped); a blank field reads as 0 and is not counted.
#pragma once

#include "Platform/Wnd.h"

#define MAKEIPADDRESS(b1, b2, b3, b4) \
    ((DWORD(b1) << 24) + (DWORD(b2) << 16) + (DWORD(b3) << 8) + DWORD(b4))
#define FIRST_IPADDRESS(x) ((DWORD(x) >> 24) & 0xFF)
#define SECOND_IPADDRESS(x) ((DWORD(x) >> 16) & 0xFF)
#define THIRD_IPADDRESS(x) ((DWORD(x) >> 8) & 0xFF)
#define FOURTH_IPADDRESS(x) (DWORD(x) & 0xFF)

class CIPAddressCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The number of fields that are not blank.
    int GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const;
    int GetAddress(DWORD& dwAddress) const;
    void SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3);
    void SetAddress(DWORD dwAddress);
    void ClearAddress();
    BOOL IsBlank() const;
    // The edit window of octet 0-3 (0 is the leftmost), null before Create.
    HWND GetField(int nOctet) const;
};
