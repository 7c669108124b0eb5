// The identifier source: 128 random bits laid out as a GUID.
#pragma once

#include "Platform/Types.h"

typedef LONG HRESULT;
#ifndef S_OK
#define S_OK HRESULT(0)
#endif
#ifndef E_FAIL
#define E_FAIL HRESULT(0x80004005)
#endif

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};

// Fills guid with bytes from the system's random source; E_FAIL (and guid
// untouched) when the source cannot deliver.
HRESULT CoCreateGuid(GUID* guid);
