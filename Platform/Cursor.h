// Mouse cursors: the standard shapes, cursors from the resources, and the
// one current cursor that SetCursor changes (the window under the mouse
// shows it until its next WM_SETCURSOR).
#pragma once

#include "Platform/ResourceId.h"

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZE MAKEINTRESOURCE(32640)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP MAKEINTRESOURCE(32651)

// A standard cursor (hInstance null) or a resource cursor of the module
// chain; null when there is no such cursor.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName);
// Returns the previous cursor.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
