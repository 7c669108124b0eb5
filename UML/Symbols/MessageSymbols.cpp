#include "UML/Symbols/MessageSymbols.h"

#include "MemDB/dbCursor.h"
#include "MemDB/db.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/LineGeometry.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kHeadSize = 300;
const int kBoxHalf = 150;     // half the width of an activation box
const int kBoxHeight = 500;   // an activation box; the return runs this far below the call

bool IsType(const char* type, const char* name)
{
    return type && std::strcmp(type, name) == 0;
}

bool ShowsElement(const SymbolT& row)
{
    return row.GUID && *row.GUID;
}

bool FetchSymbolBySguid(const char* sguid, SymbolT& row)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (!sguid || !*sguid || c.SelectByKey("SGUID", sguid) <= 0)
        return false;
    row = *c.GetRecord();
    return true;
}

void OpenArrowHead(CDC* dc, const LineSegment& segment)
{
    POINT barbs[2];
    ArrowHeadPoints(segment, barbs, kHeadSize);
    for (const POINT& barb : barbs) {
        PageMoveTo(dc, segment.x2, segment.y2);
        PageLineTo(dc, barb.x, barb.y);
    }
}

// y, or P below the head box when y is not below its bottom.
int BelowHead(const SymbolT& lifeline, int y)
{
    return y > lifeline.y2 ? y : lifeline.y2 + DrawResources::PixelSize;
}

} // namespace

int CMessageSymbol::InsertMessage(POINT start, POINT end, int pageId, const SymbolT& destination)
{
    const HitSymbol from = RememberedSource();
    ForgetSource();
    HitSymbol to;
    to.Set(destination);
    char sguid[GuidTextLength + 1];
    if (!from.sguid[0] || !to.sguid[0] || !MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, "", "", sguid, &from.rec, &to.rec);
    // Placed as a dragged end is: a drawn message is levelled like a moved one.
    ConnectLineEnd(record, &from.rec, start, nullptr, 0);
    ConnectLineEnd(record, &to.rec, end, nullptr, 1);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

int CMessageSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char*, CDC*, const char*,
                                 const SymbolT* related)
{
    const HitSymbol& source = RememberedSource();
    if (!related || (IsType(related->Type, "Lifeline") && !ShowsElement(*related)) ||
        (IsType(source.rec.Type, "Lifeline") && !ShowsElement(source.rec))) {
        ForgetSource();
        return 0;
    }
    return InsertMessage(start, end, pageId, *related);
}

int CFlowSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char*, CDC*, const char*,
                              const SymbolT* related)
{
    if (!related || (related->SGUID && std::strcmp(related->SGUID, RememberedSource().sguid) == 0)) {
        ForgetSource();
        return 0;
    }
    return InsertMessage(start, end, pageId, *related);
}

void CMessageSymbol::DrawArrowPath(const SymbolT& row, CDC* dc)
{
    LineSegment first, last;
    DrawLinePath(row, dc, first, last);
    OpenArrowHead(dc, last);
}

void CMessageSymbol::DrawMessageMarks(const SymbolT& row, CDC* dc)
{
    DrawStereotype(dc, row);
    DrawLineSelection(row, dc);
    if (row.Text && *row.Text) {
        SyntaxRunCodec runs;
        runs.Attach(row.Syntax);
        DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    }
}

void CMessageSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawArrowPath(row, dc);
    DrawMessageMarks(row, dc);
}

void CCreateSymbol::Draw(const SymbolT& row, CDC* dc)
{
    CPen* old = dc->SelectObject(&DrawResources::DottedPen);
    DrawArrowPath(row, dc);
    dc->SelectObject(old);
    DrawMessageMarks(row, dc);
}

void CMethodcallSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int b = row.x1 <= row.x2 ? kBoxHalf : -kBoxHalf;
    CPen* old = dc->SelectObject(&DrawResources::BlackPen);
    PageMoveTo(dc, row.x1 + b, row.y1);
    PageLineTo(dc, row.x2 - b, row.y2);
    PageRectangle(dc, row.x2 - b, row.y2, row.x2 + b, row.y2 + kBoxHeight);
    OpenArrowHead(dc, LineSegment{row.x1, row.y1, row.x2 - b, row.y2});
    dc->SelectObject(&DrawResources::DottedPen);
    PageMoveTo(dc, row.x2 - b, row.y2 + kBoxHeight);
    PageLineTo(dc, row.x1 + b, row.y1 + kBoxHeight);
    PageRectangle(dc, row.x1 - b, row.y1, row.x1 + b, row.y1 + kBoxHeight);
    OpenArrowHead(dc, LineSegment{row.x2, row.y2 + kBoxHeight, row.x1 + b, row.y1 + kBoxHeight});
    dc->SelectObject(old);
    DrawStereotype(dc, row);
    if (row.ItemState & SYMBOL_CHECKED) {
        DrawPointHandle(dc, row.x1 - 200, row.y1 - 100, 0);
        DrawPointHandle(dc, row.x2 - 200, row.y2 - 100, 1);
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
    }
    if (row.Text && *row.Text) {
        SyntaxRunCodec runs;
        runs.Attach(row.Syntax);
        DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    }
}

bool CMessageSymbol::ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC* dc, int end)
{
    if (end >= 2)
        return CSymbol::ConnectLineEnd(line, target, point, dc, end);
    if (!target)
        return false;
    const int snap = 2 * DrawResources::PixelSize;
    const bool destination = end == 1;
    int& x = destination ? line.x2 : line.x1;
    int& y = destination ? line.y2 : line.y1;
    const int otherX = destination ? line.x1 : line.x2, otherY = destination ? line.y1 : line.y2;
    if (IsType(target->Type, "Lifeline")) {
        x = (target->x1 + target->x2) / 2;
        y = BelowHead(*target, point.y);
        if (std::abs(y - otherY) < snap)
            y = otherY;
    } else {
        y = (target->y1 + target->y2) / 2;
        x = point.x;
        if (destination && std::abs(x - otherX) < snap)
            x = otherX;
    }
    (destination ? line.DestID : line.SrcID) = target->SGUID;
    return true;
}

bool CCreateSymbol::ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC* dc, int end)
{
    if (end >= 2)
        return CSymbol::ConnectLineEnd(line, target, point, dc, end);
    if (!target)
        return false;
    if (end == 1) {
        line.x2 = line.x1 >= target->x1 ? target->x2 : target->x1;
        line.y2 = (target->y1 + target->y2) / 2;
        line.DestID = target->SGUID;
    } else {
        line.x1 = (target->x1 + target->x2) / 2;
        line.y1 = BelowHead(*target, point.y);
        line.SrcID = target->SGUID;
    }
    return true;
}

int CMessageSymbol::GetOwnerElement(const SymbolT& row, int defaultId)
{
    SymbolT receiver;
    if (!FetchSymbolBySguid(row.DestID, receiver))
        return defaultId;
    if (IsType(receiver.Type, "Timeline")) {
        const std::string lane = receiver.SrcID ? receiver.SrcID : "";
        if (!FetchSymbolBySguid(lane.c_str(), receiver))
            return defaultId;
    }
    ModelT shown, type;
    if (!FetchElementByGuid(receiver.GUID, shown) || !FetchElementByGuid(shown.Use, type))
        return defaultId;
    return type.ID;
}

const char* CMessageSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(false, scopeId, row.PID);
        theExprChecker.CheckSignalCall(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}

const char* CMethodcallSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(false, scopeId, row.PID);
        theExprChecker.CheckOperationCall(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}
