// The handles of the last painted page as clickable rectangles in page units
// (y downwards). The list is cleared when a page paint starts and refilled as
// selected symbols draw their handles, so it always describes the last paint.
// Handle ids: 0 a box's top-left corner or a line's start, 1 the bottom-right
// corner or the end, 2 + k the bend point k of a line.
#pragma once

#include "Platform/Geometry.h"

class HotSpotList {
public:
    // Room for 100 entries, so a paint normally registers without reallocating.
    static void Reserve();
    static void Clear();
    // Entries added from now on belong to the symbol symbolId: a symbol sets
    // itself before it draws its handles.
    static void SetOwner(int symbolId);
    static void Add(const RECT& rect, int id);
    // The id of the first entry, in registration order, whose rectangle holds the
    // point (left and top edges inside, right and bottom outside); -1 for none.
    // owner, when given, receives the symbol that registered it.
    static int Hit(POINT point, int* owner = nullptr);
    static int Count();
};
