// The clipboard, on Qt's: text as plain text, registered formats as the
// MIME type "application/x-<name>", a bitmap as PNG and an enhanced
// metafile as SVG. Data set between OpenClipboard and CloseClipboard is
// published at CloseClipboard; blocks read from it belong to the clipboard
// until it is closed.
#pragma once

#include "Platform/Types.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8
#define CF_UNICODETEXT 13
#define CF_ENHMETAFILE 14

BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// Takes ownership of the data: a global block for CF_TEXT and registered
// formats, an HBITMAP for CF_BITMAP, an HENHMETAFILE for CF_ENHMETAFILE.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// A global block (CF_TEXT, registered formats) or null.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
// Numbers in 0xC000..0xFFFF, the same for the same name during the run.
UINT RegisterClipboardFormat(LPCTSTR lpszFormat);
