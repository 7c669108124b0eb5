// The running of menus: popups as layer windows, the tracking loop with its
// keys and mouse, and the menu bar of a frame's non-client area. Private to
// the window and menu files of Platform/.
#pragma once

#include "Platform/Menu.h"

struct WndData;

namespace MenuTrack {
// Runs the popup at a screen point (or, from the bar, below a bar item)
// until a choice or a cancel; the chosen command or 0.
UINT Run(HMENU menu, UINT flags, POINT at, HWND owner);
// The menu bar of a top-level window: its height in the non-client area
// (0 without a menu), its painting, the item under a window-relative
// point (-1 for none) and its tracking from a click or a key.
int BarHeight(const WndData* d);
void PaintBar(WndData* d, CDC* dc);
int BarItemAt(WndData* d, POINT windowPoint);
// item: the bar item to open (-1: select the first without opening);
// key: the character of an Alt+key mnemonic, or 0.
void TrackBar(WndData* d, int item, UINT key);
// The menu whose owner-drawn item the owner is measuring now, or null.
HMENU MeasuringMenu();
} // namespace MenuTrack
