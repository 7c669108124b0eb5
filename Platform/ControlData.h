// What the controls' class procedures share. Private to Platform/ (it
// pulls in Qt).
#pragma once

#include "Platform/Gdi.h"

#include <QFont>

// The Qt font of a font handle, at its pixel height; the default face and
// height for no handle.
QFont ControlFont(HFONT font);
// A control's notification to its parent: WM_COMMAND with the control's
// id and the code in the high word.
void NotifyParent(HWND control, WORD code);

// The Qt key of a virtual key the text controls pass on to their Qt
// editors (arrows, paging, editing keys, Ctrl with a letter); 0 for others.
int QtKeyOfVirtualKey(UINT vk);

// The class procedures of the predefined controls, registered on first use
// (by the control's Create or by a dialog template that names the class).
void RegisterStaticClass();
void RegisterEditClass();
void RegisterComboBoxClass();
void RegisterListBoxClass();
void RegisterButtonClass();
