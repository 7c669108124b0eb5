// Where lines meet their end symbols: border points, attaching an end (with
// what that does to the element the line shows), moving a bend point and
// fitting both ends again.
#include "UML/Model/Symbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/LineNodes.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

std::vector<POINT> BendPoints(const char* nodes)
{
    std::vector<POINT> points;
    int x = 0, y = 0, pos = 0;
    while ((pos = NextLineNode(nodes, x, y, pos)) >= 0)
        points.push_back(POINT{x, y});
    return points;
}

// The line's end symbol named by sguid, with its prototype.
bool FetchEnd(const char* sguid, SymbolT& row, CSymbol*& prototype)
{
    if (IsEmpty(sguid))
        return false;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("SGUID", sguid) <= 0)
        return false;
    row = *c.GetRecord();
    return FindMetaclass(row.Type, prototype);
}

// Moves the line's element with its new end: under the source's element, or
// using the destination's. False when the line's element is missing.
bool FollowEndElement(const SymbolT& line, const SymbolT& target, int end)
{
    if (line.MMC == MMC_NONE || IsEmpty(target.GUID))
        return true;
    int targetId = 0;
    {
        dbTypedCursor<ModelT> t(&ModelT::TableInfo);
        CSymbol* prototype = nullptr;
        if (t.SelectByKey("GUID", target.GUID) <= 0 || !FindMetaclass(t->Type, prototype))
            return true;
        targetId = t->ID;
    }
    if (IsEmpty(line.GUID))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", line.GUID) <= 0)
        return false;
    ModelT element = *c.GetRecord();
    if (end == 0)
        element.FID = targetId;
    else
        element.Use = target.GUID;
    MemDbUpdate(&ModelT::TableInfo, &element, c.GetCurrentOid());
    if (end == 0)
        theShellHooks.RefreshModelTree();
    return true;
}

} // namespace

int CSymbol::GetAttachPoint(const SymbolT& t, int& x, int& y, int ax, int ay)
{
    const int px = x, py = y;
    if (std::abs(px - ax) <= 9) {
        if (px < std::min(t.x1, t.x2) || px > std::max(t.x1, t.x2))
            x = t.x1;
        if (std::abs(t.y2 - ay) >= std::abs(t.y1 - ay)) {
            y = t.y1;
            return SideTop;
        }
        y = t.y2;
        return SideBottom;
    }
    // Crossings are tested in floating point and truncated only once inside
    // the box: a nearly horizontal line crosses the top and bottom edge lines
    // far outside the range of int.
    const double g = (static_cast<double>(ay) - py) / (static_cast<double>(ax) - px);
    const double h = py - g * px;
    struct Candidate {
        double x, y;
        int side;
    } c[4] = {
        {double(t.x1), h + g * t.x1, SideLeft},
        {double(t.x2), h + g * t.x2, SideRight},
        {g != 0 ? (t.y1 - h) / g : 0, double(t.y1), SideTop},
        {g != 0 ? (t.y2 - h) / g : 0, double(t.y2), SideBottom},
    };
    auto within = [](double v, int a, int b) {
        return std::trunc(v) >= std::min(a, b) && std::trunc(v) <= std::max(a, b);
    };
    const bool valid[4] = {within(c[0].y, t.y1, t.y2), within(c[1].y, t.y1, t.y2),
                           g != 0 && within(c[2].x, t.x1, t.x2), g != 0 && within(c[3].x, t.x1, t.x2)};
    int best = -1, bestX = 0, bestY = 0;
    long long bestDistance = 0;
    for (int i = 0; i < 4; ++i) {
        if (!valid[i])
            continue;
        const int cx = static_cast<int>(c[i].x), cy = static_cast<int>(c[i].y);
        const long long dx = (static_cast<long long>(cx) - ax) >> 4, dy = (static_cast<long long>(cy) - ay) >> 4;
        const long long d = dx * dx + dy * dy;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestX = cx;
            bestY = cy;
            bestDistance = d;
        }
    }
    if (best < 0)
        return SnapToNearestSide(x, y, RECT{t.x1, t.y1, t.x2, t.y2});
    x = bestX;
    y = bestY;
    return c[best].side;
}

bool CSymbol::ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC*, int end)
{
    if (end >= 2) {
        std::vector<POINT> points = BendPoints(line.Nodes);
        const size_t moved = size_t(end - 2);
        if (moved >= points.size())
            return false;
        int mx = point.x, my = point.y;
        ClampToPage(mx, my);
        points[moved] = POINT{mx, my};
        const int snap = 2 * DrawResources::PixelSize;
        POINT previous{line.x1, line.y1};
        std::string nodes;
        char number[HexTextSize];
        for (POINT& p : points) {
            if (std::abs(p.x - previous.x) < snap)
                p.x = previous.x;
            if (std::abs(p.y - previous.y) < snap)
                p.y = previous.y;
            for (int v : {int(p.x), int(p.y)}) {
                FormatHex(v, number, sizeof number);
                if (!nodes.empty())
                    nodes += ',';
                nodes += number;
            }
            previous = p;
        }
        if (!TextPool.Append(nodes.c_str()))
            return false;
        line.Nodes = TextPool.Built();
        return true;
    }
    CSymbol* targetPrototype = nullptr;
    // A symbol without an identifier cannot be named as a line end.
    if (!target || IsEmpty(target->SGUID) || !FindMetaclass(target->Type, targetPrototype) ||
        !CanConnect(*target, end == 0))
        return false;
    SymbolT updated = line;
    const char*& endId = end == 0 ? updated.SrcID : updated.DestID;
    if (!SameText(endId, target->SGUID)) {
        if (!FollowEndElement(line, *target, end))
            return false;
        endId = target->SGUID;
    }
    int rx = end == 0 ? line.x2 : line.x1, ry = end == 0 ? line.y2 : line.y1;
    GetLineNode(line.Nodes, rx, ry, end == 0 ? 0 : -1);
    int x = point.x, y = point.y;
    targetPrototype->GetAttachPoint(*target, x, y, rx, ry);
    ClampToPage(x, y);
    (end == 0 ? updated.x1 : updated.x2) = x;
    (end == 0 ? updated.y1 : updated.y2) = y;
    line = updated;
    return true;
}

bool CSymbol::FitLineEnds(SymbolT& line, CDC* dc)
{
    int w = 0, h = 0;
    const int c = MeasureText(dc, w, h, line.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, line, c);
    const int total = sh + h;
    POINT firstEnd{line.x2, line.y2}, lastStart{line.x1, line.y1};
    const std::vector<POINT> bends = BendPoints(line.Nodes);
    if (!bends.empty()) {
        firstEnd = bends.front();
        lastStart = bends.back();
    }
    const POINT start{line.x1, line.y1};
    SymbolT endRow;
    CSymbol* endPrototype = nullptr;
    if (!FetchEnd(line.SrcID, endRow, endPrototype))
        return false;
    endPrototype->GetAttachPoint(endRow, line.x1, line.y1, firstEnd.x, firstEnd.y);
    if (!FetchEnd(line.DestID, endRow, endPrototype))
        return false;
    endPrototype->GetAttachPoint(endRow, line.x2, line.y2, lastStart.x, lastStart.y);
    if (line.ItemState & SYMBOL_AUTOLAYOUT) {
        int top = (firstEnd.y + start.y - total) >> 1;
        if (2 * std::abs(firstEnd.y - start.y) < std::abs(firstEnd.x - start.x))
            top -= total >> 1;
        line.sterey = top;
        line.tx1 = (firstEnd.x + start.x - w) >> 1;
        line.ty1 = top + sh;
        line.tx2 = line.tx1 + w;
        line.ty2 = top + sh + h;
    } else {
        line.tx2 = line.tx1 + w;
        line.sterey = line.ty1 - sh;
        line.ty2 = line.ty1 + h;
    }
    return true;
}
