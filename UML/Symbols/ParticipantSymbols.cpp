#include "UML/Symbols/ParticipantSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ChildSymbols.h"

#include <algorithm>
#include <cstring>

namespace {

const int kFigureWidth = 500;
const int kFigureHeight = 1050;
const int kHeadRadius = 175;
const int kColumn = 150;      // half the width of a lifeline's clickable column
const int kStopMargin = 150;  // a lifeline without a stop ends this far above the page bottom

bool IsType(const char* type, const char* name)
{
    return type && std::strcmp(type, name) == 0;
}

void DrawRowText(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

// Moves a child horizontally by dx, its text box with it.
void ShiftX(SymbolT& row, int dx)
{
    row.x1 += dx;
    row.x2 += dx;
    row.tx1 += dx;
    row.tx2 += dx;
}

} // namespace

int CreateShownElementSymbol(CSymbol& prototype, POINT start, POINT end, int pageId, const char* text,
                             const char* elementGuid, const SymbolT* container, bool nameFromElement)
{
    int owner = ElementIdOfSymbol(container);
    const bool inside = owner > 0;
    if (!inside) {
        ModelT page, diagram;
        if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
            return 0;
        owner = diagram.FID;
    }
    std::string name = text ? text : "", guid, model;
    if (elementGuid && *elementGuid) {
        ModelT dropped;
        if (!FetchElementByGuid(elementGuid, dropped) || (inside && dropped.FID != owner))
            return 0;
        if (nameFromElement || name.empty())
            name = dropped.Name ? dropped.Name : "";
        if (dropped.Type && std::strcmp(dropped.Type, prototype.modelName) != 0)
            model = dropped.Type;
        guid = elementGuid;
    } else {
        if (name.empty()) {
            char buffer[80];
            prototype.MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (!prototype.CreateElement(owner, name.c_str(), guid.c_str(), nullptr))
            return 0;
    }
    return prototype.InsertSymbolRow(start, end, pageId, name.c_str(), guid.c_str(), container,
                                     model.empty() ? nullptr : model.c_str());
}

int CActorSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                               const SymbolT* related)
{
    return CreateShownElementSymbol(*this, start, end, pageId, text, elementGuid, related, false);
}

int CActorSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    row.x2 = row.x1 + kFigureWidth;
    row.y2 = row.y1 + kFigureHeight;
    row.sterey = row.y1 + kFigureHeight + DrawResources::PixelSize;
    row.tx1 = (2 * row.x1 + kFigureWidth - w) / 2;
    row.tx2 = row.tx1 + w;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

void CActorSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int cx = (row.x1 + row.x2) / 2;
    SelectSymbolFill(dc, row.Color);
    PageEllipse(dc, cx - kHeadRadius, row.y1, cx + kHeadRadius, row.y1 + 2 * kHeadRadius);
    PageMoveTo(dc, row.x1, row.y1 + 440);
    PageLineTo(dc, row.x2, row.y1 + 440);
    PageMoveTo(dc, cx, row.y1 + 350);
    PageLineTo(dc, cx, row.y1 + 700);
    PageLineTo(dc, row.x1, row.y2);
    PageMoveTo(dc, cx, row.y1 + 700);
    PageLineTo(dc, row.x2, row.y2);
    DrawStereotype(dc, row);
    DrawRowText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED) {
        if (!row.Text || !*row.Text)
            PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
        DrawBoxHandles(dc, 1, row.x1, row.y1, row.x2, row.y2);
    }
}

int CActorSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    x = (target.x1 + target.x2) / 2;
    y = (target.y1 + target.y2) / 2;
    return CSymbol::GetAttachPoint(target, x, y, refX, refY);
}

int CLifelineSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    const int width = std::max(w, sw) + 300;
    row.x2 = row.x1 + width;
    row.y2 = row.y1 + 4 * p + h + sh;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    const int cx = (row.x1 + row.x2) / 2;
    for (oid_t oid : ChildRows(row.ID)) {
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || !FindMetaclass(child.Type, prototype))
            continue;
        prototype->Layout(child, dc, &row);
        if (IsType(child.Type, "Duration")) {
            const int across = std::abs(child.x2 - child.x1), high = std::abs(child.y2 - child.y1);
            if (high < across) {
                child.y2 = child.y1 + across;
                child.x2 = child.x1 + high;
            }
            ShiftX(child, child.x1 < cx ? cx - child.x2 : cx - child.x1);
        } else {
            ShiftX(child, cx - (child.x1 + child.x2) / 2);
        }
        if (row.y2 >= child.y1) {
            const int dy = row.y2 + p - child.y1;
            child.y1 += dy;
            child.y2 += dy;
            child.ty1 += dy;
            child.ty2 += dy;
            child.sterey += dy;
        }
        StoreLaidOutChild(prototype, child, oid, dc);
    }
    row.sterey = row.y1 + p;
    row.tx1 = row.x1 + (width - w) / 2;
    row.tx2 = row.tx1 + w;
    row.ty1 = row.y1 + p + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

void CLifelineSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int cx = (row.x1 + row.x2) / 2;
    int bottom = thePageState.UsableHeight - kStopMargin;
    const std::vector<oid_t> stops = ChildRows(row.ID, "Lifelinestop");
    SymbolT stop;
    if (!stops.empty() && theModelDb.FetchRecord(stops.front(), &SymbolT::TableInfo, &stop))
        bottom = (stop.y1 + stop.y2) / 2;
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    PageMoveTo(dc, cx, row.y2);
    PageLineTo(dc, cx, bottom);
    DrawStereotype(dc, row);
    DrawRowText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawChildSymbols(row.ID, dc);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 3, row.x1, row.y1, row.x2, row.y2);
}

bool CLifelineSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitChildSymbols(p, row.ID, out))
        return true;
    const int cx = (row.x1 + row.x2) / 2;
    const bool inHead = p.x >= row.x1 && p.x <= row.x2 && p.y >= row.y1 && p.y <= row.y2;
    if (!inHead && std::abs(p.x - cx) > kColumn)
        return false;
    out.Set(row);
    return true;
}

int CLifelineSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int)
{
    if (y > target.y2) {
        x = (target.x1 + target.x2) / 2;
    } else {
        x = target.x2 >= refX ? target.x1 : target.x2;
        y = (target.y1 + target.y2) / 2;
    }
    return 6;
}

void CLifelineSymbol::UpdateAttachedLines(const SymbolT& moved, CDC* dc)
{
    if (!moved.SGUID || !*moved.SGUID)
        return;
    const int p = DrawResources::PixelSize, cx = (moved.x1 + moved.x2) / 2;
    struct Attached {
        oid_t oid;
        SymbolT line;
        CSymbol* prototype;
    };
    // One entry per line, even with both ends here.
    std::vector<Attached> lines;
    struct End {
        int y;
        size_t line;
        bool source;
    };
    std::vector<End> onLine;
    for (const char* column : {"SrcID", "DestID"}) {
        const bool source = column[0] == 'S';
        std::vector<oid_t> oids;
        {
            dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
            if (c.SelectByKey(column, moved.SGUID) > 0)
                do
                    if (c->MSC == MSC_LINE)
                        oids.push_back(c.GetCurrentOid());
                while (c.Next());
        }
        for (oid_t oid : oids) {
            size_t i = 0;
            while (i < lines.size() && lines[i].oid != oid)
                ++i;
            if (i == lines.size()) {
                Attached a{oid, SymbolT(), nullptr};
                if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &a.line) ||
                    !FindMetaclass(a.line.Type, a.prototype))
                    continue;
                lines.push_back(a);
            }
            SymbolT& line = lines[i].line;
            if (!source && IsType(line.Type, "Create")) {
                line.x2 = line.x1 < moved.x1 ? moved.x1 : moved.x2;
                line.y2 = (moved.y1 + moved.y2) / 2;
                continue;
            }
            (source ? line.x1 : line.x2) = cx;
            onLine.push_back(End{source ? line.y1 : line.y2, i, source});
        }
    }
    // The ends keep their order down the line: one the head now covers goes
    // P below it, and each end after it at least 2P below the one before
    // that had to move.
    std::stable_sort(onLine.begin(), onLine.end(), [](const End& a, const End& b) { return a.y < b.y; });
    int floor = moved.y2 + p;
    for (const End& e : onLine)
        if (e.y < floor) {
            (e.source ? lines[e.line].line.y1 : lines[e.line].line.y2) = floor;
            floor += 2 * p;
        }
    for (Attached& a : lines)
        if (a.prototype->Layout(a.line, dc, &moved))
            MemDbUpdate(&SymbolT::TableInfo, &a.line, a.oid);
}
