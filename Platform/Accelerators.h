// Accelerator tables: keys that become commands before they are dispatched.
#pragma once

#include "Platform/Messages.h"
#include "Platform/ResourceTemplates.h"

// A table of a module's resources (null: the program's own); null when missing.
HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName);
// A key message matching an entry sends WM_COMMAND (command id, code 1) to
// hWnd and is consumed (1); anything else gives 0. Entries with Alt match
// only system key messages, the others only plain ones.
int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
// Copies up to count entries (all with a null buffer: the count).
int CopyAcceleratorTable(HACCEL hAccelSrc, ACCEL* lpAccelDst, int count);
BOOL DestroyAcceleratorTable(HACCEL hAccel);
