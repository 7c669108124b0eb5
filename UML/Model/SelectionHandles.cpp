#include "UML/Model/SelectionHandles.h"

#include "Platform/Dc.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/PageZoom.h"

namespace {

const int kMark = 200;

COLORREF HandleColour(int style)
{
    if (style == 0)
        return RGB(0, 0, 0);
    return style == 1 ? 0xB4B4B4 : 0x00B400;
}

} // namespace

void DrawBoxHandles(CDC* dc, int style, int x1, int y1, int x2, int y2)
{
    CPen pen(PS_SOLID, 1, HandleColour(style));
    CPen* old = dc->SelectObject(&pen);
    const int len = ZoomScale(kMark);

    HotSpotList::Add(RECT{x1 - 50, y1 - 50, x1 + 150, y1 + 150}, 0);
    const int lx = ZoomScale(x1 - 50), ly = -ZoomScale(y1 - 50);
    dc->MoveTo(lx, ly - len);
    dc->LineTo(lx, ly);
    dc->LineTo(lx + len, ly);

    HotSpotList::Add(RECT{x2 - 150, y2 - 150, x2 + 50, y2 + 50}, 1);
    const int rx = ZoomScale(x2 + 50), ry = -ZoomScale(y2 + 50);
    dc->MoveTo(rx, ry + len);
    dc->LineTo(rx, ry);
    dc->LineTo(rx - len, ry);

    dc->SelectObject(old);
}

void DrawPointHandle(CDC* dc, int x, int y, int id)
{
    HotSpotList::Add(RECT{x, y, x + kMark, y + kMark}, id);
    dc->FillSolidRect(ZoomScale(x), -ZoomScale(y), ZoomScale(kMark), -ZoomScale(kMark), 0xC8C8C8);
}
