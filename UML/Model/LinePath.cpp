#include "UML/Model/LinePath.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/LineNodes.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every point of the path: start, bend points, end.
std::vector<POINT> PathOf(const SymbolT& row)
{
    std::vector<POINT> points{POINT{row.x1, row.y1}};
    int x = 0, y = 0, pos = 0;
    while ((pos = NextLineNode(row.Nodes, x, y, pos)) >= 0)
        points.push_back(POINT{x, y});
    points.push_back(POINT{row.x2, row.y2});
    return points;
}

void AppendPoint(std::string& nodes, POINT p)
{
    char x[HexTextSize], y[HexTextSize];
    FormatHex(p.x, x, sizeof x);
    FormatHex(p.y, y, sizeof y);
    if (!nodes.empty())
        nodes += ',';
    nodes += x;
    nodes += ',';
    nodes += y;
}

bool Near(POINT p, POINT a, POINT b)
{
    return IsNearSegment(p, a.x, a.y, b.x, b.y);
}

// Stores the line's new bend points through the undoable wrapper.
void StoreNodes(oid_t oid, SymbolT row, const std::string& nodes)
{
    row.Nodes = nodes.c_str();
    MemDbUpdate(&SymbolT::TableInfo, &row, oid);
}

} // namespace

bool PointInTextBox(POINT p, const SymbolT& row)
{
    return p.x >= row.tx1 && p.x <= row.tx2 && p.y >= row.ty1 && p.y <= row.ty2;
}

bool HitTestLine(POINT p, const SymbolT& row, LineSegment* last)
{
    const std::vector<POINT> path = PathOf(row);
    if (last) {
        const POINT& a = path[path.size() - 2];
        *last = LineSegment{a.x, a.y, row.x2, row.y2};
    }
    if (PointInTextBox(p, row))
        return true;
    for (size_t i = 1; i < path.size(); ++i)
        if (Near(p, path[i - 1], path[i]))
            return true;
    return false;
}

void GetSymbolExtent(const SymbolT& row, RECT& r)
{
    r = RECT{std::min(row.x1, row.x2), std::min(row.y1, row.y2), std::max(row.x1, row.x2), std::max(row.y1, row.y2)};
    int x = 0, y = 0, pos = 0;
    while ((pos = NextLineNode(row.Nodes, x, y, pos)) >= 0) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x);
        r.bottom = std::max<LONG>(r.bottom, y);
    }
}

void DrawLinePath(const SymbolT& row, CDC* dc, LineSegment& first, LineSegment& last)
{
    const std::vector<POINT> path = PathOf(row);
    HotSpotList::SetOwner(row.ID);
    PageMoveTo(dc, row.x1, row.y1);
    for (size_t i = 1; i < path.size(); ++i)
        PageLineTo(dc, path[i].x, path[i].y);
    if (row.ItemState & SYMBOL_CHECKED)
        for (size_t k = 1; k + 1 < path.size(); ++k)
            DrawPointHandle(dc, path[k].x - 100, path[k].y - 100, static_cast<int>(2 + k - 1));
    first = LineSegment{row.x1, row.y1, path[1].x, path[1].y};
    last = LineSegment{path[path.size() - 2].x, path[path.size() - 2].y, row.x2, row.y2};
}

void AddLineNode(int symbolId, POINT point)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("ID", symbolId) <= 0)
        return;
    const SymbolT row = *c.GetRecord();
    const std::vector<POINT> path = PathOf(row);
    std::string nodes;
    if (path.size() == 2) {
        AppendPoint(nodes, point);
    } else {
        for (size_t k = 1; k + 1 < path.size(); ++k) {
            if (Near(point, path[k - 1], path[k]))
                AppendPoint(nodes, point);
            AppendPoint(nodes, path[k]);
        }
        if (Near(point, path[path.size() - 2], path.back()))
            AppendPoint(nodes, point);
    }
    StoreNodes(c.GetCurrentOid(), row, nodes);
}

void RemoveLineNode(int symbolId, int handle)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("ID", symbolId) <= 0)
        return;
    const SymbolT row = *c.GetRecord();
    const std::vector<POINT> path = PathOf(row);
    std::string nodes;
    for (size_t k = 1; k + 1 < path.size(); ++k)
        if (static_cast<int>(k - 1) != handle - 2)
            AppendPoint(nodes, path[k]);
    StoreNodes(c.GetCurrentOid(), row, nodes);
}

void AttachPointOnSymbolEllipse(int& x, int& y, int refX, int refY, const SymbolT& row)
{
    AttachPointOnEllipse(x, y, refX, refY, RECT{row.x1, row.y1, row.x2, row.y2});
}
