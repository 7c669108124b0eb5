// Input played through the path the desktop's own input takes, and the
// picture of a window as the screen shows it: for tests and demonstrations
// that run without a display.
#pragma once

#include "Platform/Geometry.h"
#include "Platform/Types.h"

// A mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
// WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP) at a screen point, with
// MK_SHIFT and MK_CONTROL for held keys. The buttons held afterwards follow
// the message.
void PlayMouse(UINT message, POINT screen, UINT keyFlags = 0);
// Alt held, for PlayKey (the mouse flags have no bit of their own for it).
#define MK_ALT 0x0020

// A key pressed and released (MK_SHIFT, MK_CONTROL, MK_ALT held), with the
// text it types; messages it causes are dispatched before the call returns.
void PlayKey(UINT vk, UINT keyFlags = 0, LPCTSTR text = nullptr);
// Types text: one key press per character.
void PlayText(LPCTSTR text);
// Writes the window with its children, as shown, to a PNG file.
BOOL SaveWindowPicture(HWND hWnd, LPCTSTR path);
