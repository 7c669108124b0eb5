// Drawing in page units. Every primitive maps a page point (x, y) to the
// logical point (ZoomScale(x), -ZoomScale(y)) of a context in MM_HIMETRIC,
// whose y grows upwards, and calls the context operation of the same name.
#pragma once

#include "Platform/Geometry.h"

class CDC;

void PageMoveTo(CDC* dc, int x, int y);
void PageLineTo(CDC* dc, int x, int y);
void PageRectangle(CDC* dc, int x1, int y1, int x2, int y2);
void PageRoundRect(CDC* dc, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
void PageFillRect(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour);
// An outline whose right and bottom sides lie one device pixel inside x2 and y2
// at the current zoom, so an outline at the page's own size stays inside the
// picture.
void PageBorderRect(CDC* dc, int x1, int y1, int x2, int y2);
// Converts the points in place, then draws them as one closed polygon.
void PagePolygon(CDC* dc, POINT* points, int count);
void PageTextOutChars(CDC* dc, int x, int y, const char* chars, int length);
void PageTextOut(CDC* dc, int x, int y, const char* text);
void PageEllipse(CDC* dc, int x1, int y1, int x2, int y2);
void PageArc(CDC* dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
