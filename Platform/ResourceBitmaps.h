// Bitmap resources: BMP images registered per module and found along the
// resource chain (the resource library first, then the program).
#pragma once

#include "Platform/Gdi.h"

#include <cstddef>

// A bitmap resource: the bytes of a BMP file.
struct ResourceBitmap {
    UINT id;
    const BYTE* data;
    size_t size;
};

// Gives a module its bitmaps (the bytes must outlive the registration); a
// null table removes them.
void AfxSetBitmapTable(HINSTANCE module, const ResourceBitmap* entries, int count);
// The first module of the chain that holds bitmap id, or null.
HINSTANCE AfxFindBitmapHandle(UINT id);
// The info header of bitmap id in module; FALSE when the module has none.
BOOL GetResourceBitmapHeader(HINSTANCE module, UINT id, BITMAPINFOHEADER* header);
HBITMAP LoadBitmap(HINSTANCE module, UINT id);
// A bitmap with a colour table whose button colours (black, dark grey, light
// grey, white) become the current system colours; null for none or for a
// bitmap without a colour table.
HBITMAP AfxLoadSysColorBitmap(HINSTANCE module, UINT id);
