// Font enumeration: the families of the screen, or the styles of one family.
#pragma once

#include "Platform/Dc.h"

#include <functional>

#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004

#define NTM_ITALIC 0x00000001
#define NTM_BOLD 0x00000020
#define NTM_REGULAR 0x00000040

#define LF_FULLFACESIZE 64

struct NEWTEXTMETRIC : TEXTMETRIC {
    DWORD ntmFlags;
    UINT ntmSizeEM;
    UINT ntmCellHeight;
    UINT ntmAvgWidth;
};

struct NEWTEXTMETRICEX {
    NEWTEXTMETRIC ntmTm;
};

struct ENUMLOGFONTEX {
    LOGFONT elfLogFont;
    char elfFullName[LF_FULLFACESIZE];
    char elfStyle[LF_FACESIZE];
    char elfScript[LF_FACESIZE];
};

// The LOGFONT is the start of an ENUMLOGFONTEX and the TEXTMETRIC the start
// of a NEWTEXTMETRICEX. Returning 0 stops the enumeration.
typedef int (*FONTENUMPROC)(const LOGFONT* font, const TEXTMETRIC* metrics, DWORD fontType, LPARAM data);

// An empty face name enumerates one entry per family; a face name the
// styles of that family. Returns the last callback result (1 when none ran).
int EnumFontFamiliesEx(HDC dc, const LOGFONT* font, FONTENUMPROC proc, LPARAM data, DWORD flags);

// Stands in for the font database in every enumeration (tests present a
// fixed set of faces); an empty hook restores the database. Returns the
// previous hook.
using FontEnumHook = std::function<int(const LOGFONT* font, FONTENUMPROC proc, LPARAM data)>;
FontEnumHook AfxSetFontEnumHook(FontEnumHook hook);
