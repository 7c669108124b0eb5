// Line symbols as paths: from (x1, y1) through the bend points of Nodes to
// (x2, y2), in page units; and the row-based forms of the box geometry.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Geometry.h"
#include "UML/Model/LineGeometry.h"

class CDC;

// Edges included.
bool PointInTextBox(POINT point, const SymbolT& row);

// True when point lies in the row's text box or within 150 units of one of its
// segments; last, when given, receives the final segment.
bool HitTestLine(POINT point, const SymbolT& row, LineSegment* last);

// The normalised box widened to take in every bend point.
void GetSymbolExtent(const SymbolT& row, RECT& r);

// Draws the path with the current pen; a selected line gets a point handle on
// each bend point (ids 2, 3, ...). first and last receive the end segments.
void DrawLinePath(const SymbolT& row, CDC* dc, LineSegment& first, LineSegment& last);

// Inserts point as a bend point of the line symbolId in front of each bend
// point whose incoming segment passes near it, and after the last one when
// the final segment does; a straight line gets it as its only bend point.
// Undoable.
void AddLineNode(int symbolId, POINT point);
// Removes bend point handle - 2 of the line symbolId. Undoable.
void RemoveLineNode(int symbolId, int handle);

// AttachPointOnEllipse on the row's box.
void AttachPointOnSymbolEllipse(int& x, int& y, int refX, int refY, const SymbolT& row);
