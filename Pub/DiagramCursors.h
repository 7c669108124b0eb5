// The diagram cursors: eleven slots loaded once when the main window is
// created. Slots 1 and 5 are empty; resource cursors come through the
// resource chain, the language library first.
#pragma once

#include "Platform/Types.h"

const int DiagramCursorCount = 11;

extern HCURSOR theDiagramCursors[DiagramCursorCount];

void LoadDiagramCursors();
// The cursor of slot; the arrow of slot 0 for a slot outside 0-10.
HCURSOR GetDiagramCursor(int slot);
