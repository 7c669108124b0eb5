#include "UML/Symbols/ParticipantSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ChildSymbols.h"

#include <algorithm>
#include <string>

namespace {

const int kHeaderOnTop = 8;    // ItemState bit of a partition whose header is a strip at the top
const int kLaneMargin = 300;   // a timing lane's distance from the page sides
const int kNameLeft = 450;
const int kStateGap = 300;
const int kTimelineGap = 150;
const int kTimelineMin = 300;

void DrawRowText(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

// The timelines of a lane, left to right.
std::vector<oid_t> Timelines(const char* lane)
{
    std::vector<oid_t> rows;
    dbQueryText q;
    q.Append(dbFragText, "SrcID=").AppendString(lane);
    q.Append(dbFragText, " order by x2");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

} // namespace

int CPartitionSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    const int b = std::max(w, sw) + 300, g = h + sh + 300;
    const bool onTop = !(std::abs(row.y2 - row.y1) < std::abs(row.x2 - row.x1));
    if (onTop)
        row.ItemState |= kHeaderOnTop;
    else
        row.ItemState &= ~kHeaderOnTop;
    int d = onTop ? row.x1 : row.x1 + b, e = onTop ? row.y1 + g : row.y1;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    for (oid_t oid : ChildRows(row.ID)) {
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || !FindMetaclass(child.Type, prototype) ||
            !prototype->Layout(child, dc, &row))
            continue;
        row.x2 = std::max(row.x2, child.x2);
        row.y2 = std::max(row.y2, child.y2);
        StoreLaidOutChild(prototype, child, oid, dc);
        d = std::min(d, child.x1);
        e = std::min(e, child.y1);
    }
    if (onTop) {
        row.x1 = d;
        row.y1 = e - g;
        row.x2 = std::max(row.x2, row.x1 + b);
        row.y2 = std::max(row.y2, row.y1 + 6 * g);
        row.sterey = row.y1 + p;
        row.tx1 = (row.x1 + row.x2 - w) / 2;
    } else {
        row.x1 = d - b;
        row.y1 = e;
        row.x2 = std::max(row.x2, row.x1 + 3 * b);
        row.y2 = std::max(row.y2, row.y1 + g);
        row.sterey = (e + row.y2 - h - sh) / 2;
        row.tx1 = row.x1 + p;
    }
    row.ty1 = row.sterey + sh;
    row.tx2 = row.tx1 + w;
    row.ty2 = row.ty1 + h;
    return 1;
}

void CPartitionSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    const bool onTop = (row.ItemState & kHeaderOnTop) != 0;
    SelectSymbolFill(dc, row.Color);
    if (onTop)
        PageRectangle(dc, row.x1, row.y1, row.x2, row.ty2 + 2 * p);
    else
        PageRectangle(dc, row.x1, row.y1, row.tx2 + 2 * p, row.y2);
    DrawStereotype(dc, row);
    DrawRowText(row, dc);
    const int left = onTop ? row.x1 : row.tx2 + p, top = onTop ? row.ty2 + p : row.y1;
    const COLORREF colour = static_cast<COLORREF>(row.Color);
    if (colour != 0 && colour != theSysConfig.m_clrSymbolBg) {
        CBrush hatch(HS_FDIAGONAL, colour);
        CBrush* old = dc->SelectObject(&hatch);
        PageRectangle(dc, left, top, row.x2, row.y2);
        dc->SelectObject(old);
    } else {
        PageBorderRect(dc, left, top, row.x2, row.y2);
    }
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawChildSymbols(row.ID, dc);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

bool CPartitionSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitChildSymbols(p, row.ID, out))
        return true;
    if (p.x < row.x1 || p.x > row.x2 || p.y < row.y1 || p.y > row.y2)
        return false;
    out.Set(row);
    return true;
}

int CTimelifelineSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    row.x1 = kLaneMargin;
    row.x2 = thePageState.UsableWidth - kLaneMargin;
    row.tx1 = kNameLeft;
    row.tx2 = kNameLeft + std::max(w, sw) + 2 * p;
    row.sterey = row.y1 + p;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    int f = row.y1 + h + 2 * p + sh + 100;
    int widest = 0;
    CSymbol* state = nullptr;
    const std::vector<oid_t> states = ChildRows(row.ID, nullptr, true);
    if (!states.empty() && FindMetaclass("Timestate", state)) {
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        for (oid_t oid : states) {
            SymbolT child;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
                continue;
            child.y1 = f;
            child.x1 = row.x1;
            child.x2 = row.x2;
            child.y2 = f = f + 2 * h + kStateGap;
            if (!state->Layout(child, dc, &row))
                continue;
            widest = std::max(widest, child.tx2);
            StoreLaidOutChild(state, child, oid, dc);
        }
    }
    row.y2 = f;
    CSymbol* timeline = nullptr;
    if (!(row.ItemState & SYMBOL_HAS_CHILDREN) || !row.SGUID || !FindMetaclass("Timeline", timeline))
        return 1;
    const std::string lane = row.SGUID;
    int a = widest + kTimelineGap;
    for (oid_t oid : Timelines(lane.c_str())) {
        SymbolT line;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &line))
            continue;
        line.x1 = a;
        line.x2 = std::max(line.x2, a + kTimelineMin);
        if (timeline->Layout(line, dc, &row))
            StoreLaidOutChild(timeline, line, oid, dc);
        a = line.x2;
    }
    return 1;
}

void CTimelifelineSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    PageMoveTo(dc, row.tx2 + 100, row.y1);
    PageLineTo(dc, row.tx2 + 100, row.ty2);
    PageLineTo(dc, row.tx2, row.ty2 + 100);
    PageLineTo(dc, row.x1, row.ty2 + 100);
    DrawStereotype(dc, row);
    DrawRowText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    CSymbol* state = nullptr;
    CSymbol* timeline = nullptr;
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && FindMetaclass("Timestate", state)) {
        SymbolT child;
        for (oid_t oid : ChildRows(row.ID))
            if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
                state->Draw(child, dc);
        if (row.SGUID && FindMetaclass("Timeline", timeline)) {
            CPen* old = dc->SelectObject(&DrawResources::BlackPen);
            SymbolT line, previous;
            bool first = true;
            for (oid_t oid : Timelines(row.SGUID)) {
                if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &line))
                    continue;
                timeline->Draw(line, dc);
                if (!first) {
                    PageMoveTo(dc, previous.x2, line.y1);
                    PageLineTo(dc, previous.x2, previous.y1);
                }
                previous = line;
                first = false;
            }
            dc->SelectObject(old);
        }
    }
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 2, row.x1, row.y1, row.x2, row.y2);
}

bool CTimelifelineSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    return HitBoundsThenChildren(p, row, out);
}
