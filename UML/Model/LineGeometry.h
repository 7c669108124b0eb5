// Segments of line symbols: hit tolerance and arrow heads, in page units.
#pragma once

#include "Platform/Geometry.h"

// One straight piece of a line path, running from (x1, y1) to (x2, y2).
struct LineSegment {
    int x1, y1, x2, y2;
};

// True when point lies within 150 units of the segment. Segments less than 150
// units wide are treated as vertical, then those less than 150 high as
// horizontal; both ends are included.
bool IsNearSegment(POINT point, int x1, int y1, int x2, int y2);

// The two base corners of an arrow head whose tip is the segment's end: 0.8 x size
// back along the segment and 0.6 x size to either side, offsets truncated to zero.
void ArrowHeadPoints(const LineSegment& segment, POINT out[2], int size);
