// The handles of a selected symbol: drawn in page units and registered in the
// hot-spot list as they are drawn.
#pragma once

#include "Platform/Types.h"

class CDC;

// The corner marks of a selected box, 50 units outside it and reaching 150 into
// it, each clickable over a 200-unit square whatever the zoom: id 0 top-left,
// id 1 bottom-right. Style 0 draws black, 1 grey, any other green.
void DrawBoxHandles(CDC* dc, int style, int x1, int y1, int x2, int y2);

// A filled 200-unit square with its top-left corner at (x, y); callers pass a
// line end or bend point minus 100 so the square is centred on it.
void DrawPointHandle(CDC* dc, int x, int y, int id);
