// Where lines meet boxes and ellipses. Boxes are (x1, y1, x2, y2) in page units
// with y growing downwards; sides are numbered 1 left, 2 top, 3 right, 4 bottom.
#pragma once

#include "Platform/Geometry.h"

enum BoxSide { SideNone = 0, SideLeft = 1, SideTop = 2, SideRight = 3, SideBottom = 4 };

// Clamps (x, y) into the box, then moves it onto the nearest side. Ties go to
// left, then right, then top: a later side wins only when strictly nearer.
int SnapToNearestSide(int& x, int& y, const RECT& box);

// Puts (x, y) on the given side, clamped to its extent; any other side value
// snaps to the nearest side instead.
int ClampToRectSide(int& x, int& y, const RECT& box, int side);

// The point where the line from the centre of the ellipse inscribed in rect
// towards (refX, refY) crosses the ellipse. A reference within 100 units of the
// vertical centre line meets the top or bottom apex.
void AttachPointOnEllipse(int& x, int& y, int refX, int refY, const RECT& rect);
