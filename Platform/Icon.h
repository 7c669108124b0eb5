// Icons: a colour image drawn through a mask. Drawing keeps the destination
// where the mask is white and combines the colour by exclusive or, so a
// masked-out pixel must be black in the colour image to leave the
// destination unchanged.
#pragma once

#include "Platform/Gdi.h"

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};

// Copies the bitmaps; the caller keeps and deletes its own.
HICON CreateIconIndirect(const ICONINFO* info);
// Hands out new copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
// A width or height of 0 takes the icon's own.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker,
                UINT flags);

// An icon resource along the resource chain: a 16x16 BMP whose white
// pixels are transparent. Null when no module has it or it is not a BMP.
HICON LoadIcon(HINSTANCE module, LPCTSTR name);
