// Global memory blocks: movable byte blocks handed between the program and
// the clipboard. A handle stays valid until GlobalFree (or until the
// clipboard that owns it lets it go); a stale handle is refused.
#pragma once

#include "Platform/Types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE GMEM_DDESHARE
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Null when the block cannot be allocated.
HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
size_t GlobalSize(HGLOBAL hMem);
// Null on success, the handle when it names no block.
HGLOBAL GlobalFree(HGLOBAL hMem);
