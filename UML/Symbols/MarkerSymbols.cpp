#include "UML/Symbols/MarkerSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"

#include <algorithm>
#include <string>

namespace {

const int kMinMarkHeight = 800;
const int kArrowLength = 261;
const int kArrowHalfWidth = 150;
const int kTimedurationMargin = 600;
const int kTimelineMinLength = 150;
const int kTimelineHitDistance = 150;
const int kBracketPixels = 4;

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

// Selects the rows matching q; false when there are none.
bool AnySymbol(dbQueryText& q)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0;
}

// A border around an empty text box while the symbol is selected, so the user
// sees where to type.
void DrawEmptyTextBorder(const SymbolT& row, CDC* dc)
{
    if ((row.ItemState & SYMBOL_CHECKED) && IsEmpty(row.Text))
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
}

void DrawRowText(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

void Line(CDC* dc, int x1, int y1, int x2, int y2)
{
    PageMoveTo(dc, x1, y1);
    PageLineTo(dc, x2, y2);
}

} // namespace

int CLifelinestopSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc,
                                      const char* elementGuid, const SymbolT* related)
{
    if (!related || IsEmpty(related->SGUID))
        return 0;
    int lifeline = related->ID;
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &lifeline);
    q.Append(dbFragText, " and Type=").AppendString(metaName);
    if (AnySymbol(q))
        return 0;
    return CSymbol::CreateSymbol(start, end, pageId, text, dc, elementGuid, related);
}

void CLifelinestopSymbol::Draw(const SymbolT& row, CDC* dc)
{
    CPen* old = dc->SelectObject(&DrawResources::BlackPen);
    Line(dc, row.x1, row.y1, row.x1 + side_, row.y1 + side_);
    Line(dc, row.x1, row.y1 + side_, row.x1 + side_, row.y1);
    dc->SelectObject(old);
    DrawHandles(row, dc, 1);
}

int CCoregionSymbol::Layout(SymbolT& row, CDC*, const SymbolT*)
{
    row.x2 = row.x1 + side_;
    if (row.y2 - row.y1 < kMinMarkHeight)
        row.y2 = row.y1 + kMinMarkHeight;
    return 1;
}

void CCoregionSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int tip = kBracketPixels * DrawResources::PixelSize;
    CPen* old = dc->SelectObject(&DrawResources::BlackPen);
    PageMoveTo(dc, row.x1, row.y1 + tip);
    PageLineTo(dc, row.x1, row.y1);
    PageLineTo(dc, row.x2, row.y1);
    PageLineTo(dc, row.x2, row.y1 + tip);
    PageMoveTo(dc, row.x1, row.y2 - tip);
    PageLineTo(dc, row.x1, row.y2);
    PageLineTo(dc, row.x2, row.y2);
    PageLineTo(dc, row.x2, row.y2 - tip);
    // The lifeline beneath is erased first, so only the dots show.
    const int centre = (row.x1 + row.x2) >> 1;
    CPen erase(PS_SOLID, 0, theSysConfig.m_clrDiagramBg);
    dc->SelectObject(&erase);
    Line(dc, centre, row.y1, centre, row.y2);
    dc->SelectObject(&DrawResources::DottedPen);
    Line(dc, centre, row.y1, centre, row.y2);
    dc->SelectObject(old);
    DrawHandles(row, dc, 2);
}

int CDurationSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc,
                                  const char* elementGuid, const SymbolT* related)
{
    if (!related || related->ID <= 0)
        return 0;
    return CSymbol::CreateSymbol(start, end, pageId, text, dc, elementGuid, related);
}

int CDurationSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    const int p = DrawResources::PixelSize;
    row.x2 = row.x1 + side_;
    if (row.y2 - row.y1 < kMinMarkHeight)
        row.y2 = row.y1 + kMinMarkHeight;
    row.tx1 = row.x1 + (side_ - w) / 2;
    row.ty1 = row.y1 + (row.y2 - row.y1 - h) / 2;
    row.tx2 = row.tx1 + p + w;
    row.ty2 = row.ty1 + p + h;
    return 1;
}

void CDurationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    const int c = (row.x1 + row.x2) >> 1;
    Line(dc, row.x1, row.y1, row.x2, row.y1);
    Line(dc, row.x1, row.y2, row.x2, row.y2);
    Line(dc, c, row.y1, c, row.ty1 - p);
    Line(dc, c, row.ty2 + p, c, row.y2);
    Line(dc, c, row.y1, c - kArrowHalfWidth, row.y1 + kArrowLength);
    Line(dc, c, row.y1, c + kArrowHalfWidth, row.y1 + kArrowLength);
    Line(dc, c, row.y2, c - kArrowHalfWidth, row.y2 - kArrowLength);
    Line(dc, c, row.y2, c + kArrowHalfWidth, row.y2 - kArrowLength);
    DrawRowText(row, dc);
    DrawEmptyTextBorder(row, dc);
    DrawHandles(row, dc, 2);
}

int CTimedurationSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    const int p = DrawResources::PixelSize;
    if (row.x2 - row.x1 < w + kTimedurationMargin)
        row.x2 = row.x1 + w + kTimedurationMargin;
    row.tx1 = (row.x2 + row.x1 - w) >> 1;
    row.ty1 = (row.y1 + row.y2 - h) >> 1;
    row.tx2 = row.tx1 + p + w;
    row.ty2 = row.ty1 + p + h;
    return 1;
}

void CTimedurationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    const int m = (row.y1 + row.y2) >> 1;
    CPen* old = dc->SelectObject(&DrawResources::BlackPen);
    Line(dc, row.x1, row.y1, row.x1, row.y2);
    Line(dc, row.x2, row.y1, row.x2, row.y2);
    Line(dc, row.x1, m, row.tx1 - p, m);
    Line(dc, row.tx2 + p, m, row.x2, m);
    Line(dc, row.x1, m, row.x1 + kArrowLength, m - kArrowHalfWidth);
    Line(dc, row.x1, m, row.x1 + kArrowLength, m + kArrowHalfWidth);
    Line(dc, row.x2, m, row.x2 - kArrowLength, m - kArrowHalfWidth);
    Line(dc, row.x2, m, row.x2 - kArrowLength, m + kArrowHalfWidth);
    DrawRowText(row, dc);
    dc->SelectObject(old);
    DrawEmptyTextBorder(row, dc);
    DrawHandles(row, dc, 3);
}

int CTimelineSymbol::CreateSymbol(POINT start, POINT, int pageId, const char*, CDC*, const char*,
                                  const SymbolT* related)
{
    if (!related || related->ID <= 0 || related->FID <= 0 || !related->Type ||
        std::string(related->Type) != "Timestate")
        return 0;
    SymbolT enclosing;
    if (!FetchSymbolById(related->FID, enclosing))
        return 0;
    const std::string lifeline = enclosing.SGUID ? enclosing.SGUID : "";
    // Every symbol without a source end would pass for a timeline of a
    // lifeline without an identifier.
    if (lifeline.empty())
        return 0;
    int startX = start.x;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        const SymbolT* last = nullptr;
        SymbolT best;
        if (c.SelectByKey("SrcID", lifeline.c_str()) > 0)
            do
                if (!last || c->x2 > best.x2) {
                    best = *c.GetRecord();
                    last = &best;
                }
            while (c.Next());
        if (last) {
            if (last->FID == related->ID)
                return 0;
            startX = last->x2;
        }
    }
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    FillSymbolRecord(record, startX, start.y, std::max(start.x, startX + kTimelineMinLength), start.y, pageId,
                     nullptr, nullptr, sguid, related, nullptr);
    record.SrcID = lifeline.c_str();
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

int CTimelineSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    row.tx1 = (row.x2 + row.x1 - w) >> 1;
    row.tx2 = row.tx1 + w;
    row.ty2 = row.y1 - DrawResources::PixelSize;
    row.ty1 = row.ty2 - h;
    return 1;
}

void CTimelineSymbol::Draw(const SymbolT& row, CDC* dc)
{
    Line(dc, row.x1, row.y1, row.x2, row.y1);
    PageTextOut(dc, row.tx1, row.ty1, row.Text ? row.Text : "");
    DrawEmptyTextBorder(row, dc);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawPointHandle(dc, row.x2 - 100, row.y1 - 100, 1);
}

bool CTimelineSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    const bool onLine = std::abs(p.y - row.y1) <= kTimelineHitDistance && p.x >= row.x1 && p.x <= row.x2;
    const bool inText = p.x >= row.tx1 && p.x <= row.tx2 && p.y >= row.ty1 && p.y <= row.ty2;
    if (!onLine && !inText)
        return false;
    out.Set(row);
    return true;
}
