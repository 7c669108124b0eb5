#include "UML/Model/PageDraw.h"

#include "Platform/Dc.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageZoom.h"

#include <cstring>

namespace {

int X(int x)
{
    return ZoomScale(x);
}

int Y(int y)
{
    return -ZoomScale(y);
}

} // namespace

void PageMoveTo(CDC* dc, int x, int y)
{
    dc->MoveTo(X(x), Y(y));
}

void PageLineTo(CDC* dc, int x, int y)
{
    dc->LineTo(X(x), Y(y));
}

void PageRectangle(CDC* dc, int x1, int y1, int x2, int y2)
{
    dc->Rectangle(X(x1), Y(y1), X(x2), Y(y2));
}

void PageRoundRect(CDC* dc, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    dc->RoundRect(X(x1), Y(y1), X(x2), Y(y2), ZoomScale(cornerWidth), ZoomScale(cornerHeight));
}

void PageFillRect(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    dc->FillSolidRect(X(x1), Y(y1), ZoomScale(x2 - x1), -ZoomScale(y2 - y1), colour);
}

void PageBorderRect(CDC* dc, int x1, int y1, int x2, int y2)
{
    // One device pixel at the current zoom: PixelSize alone is half a pixel at
    // zoom 0.5, which would put the sides outside a picture of the page's size.
    const int pixel = ZoomUnscale(DrawResources::PixelSize);
    const int right = x2 - pixel;
    const int bottom = y2 - pixel;
    PageMoveTo(dc, x1, y1);
    PageLineTo(dc, right, y1);
    PageLineTo(dc, right, bottom);
    PageLineTo(dc, x1, bottom);
    PageLineTo(dc, x1, y1);
}

void PagePolygon(CDC* dc, POINT* points, int count)
{
    for (int i = 0; i < count; ++i) {
        points[i].x = X(points[i].x);
        points[i].y = Y(points[i].y);
    }
    dc->Polygon(points, count);
}

void PageTextOutChars(CDC* dc, int x, int y, const char* chars, int length)
{
    if (!chars || !*chars || length <= 0)
        return;
    dc->TextOut(X(x), Y(y), chars, length);
}

void PageTextOut(CDC* dc, int x, int y, const char* text)
{
    if (!text || !*text)
        return;
    dc->TextOut(X(x), Y(y), text, static_cast<int>(std::strlen(text)));
}

void PageEllipse(CDC* dc, int x1, int y1, int x2, int y2)
{
    dc->Ellipse(X(x1), Y(y1), X(x2), Y(y2));
}

void PageArc(CDC* dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    dc->Arc(X(x1), Y(y1), X(x2), Y(y2), X(x3), Y(y3), X(x4), Y(y4));
}
