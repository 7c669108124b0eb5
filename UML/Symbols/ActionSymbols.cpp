#include "UML/Symbols/ActionSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Model/TypeResolution.h"
#include "UML/Symbols/ChildSymbols.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const COLORREF kBlue = 0xFF0000;
const COLORREF kGrey = 0x969696;
const COLORREF kSendShadow = 0xC8C8C8;
const int kMargin = 150;          // text inset and hit widening
const int kFrameEdge = 300;       // the band inside a fragment's edges that hits it
const int kPoint = 200;           // the point of a send, the notch of a receive
const int kCorner = 200;          // rounded corners of action nodes
const int kFrameLeft = 1200;      // a new fragment spans from here to the usable width less the gap
const int kFrameRightGap = 2400;

bool Inside(POINT p, int x1, int y1, int x2, int y2)
{
    return p.x >= x1 && p.x <= x2 && p.y >= y1 && p.y <= y2;
}

void Line(CDC* dc, int x1, int y1, int x2, int y2)
{
    PageMoveTo(dc, x1, y1);
    PageLineTo(dc, x2, y2);
}

// Counts a whole text as a behaviour name, coloured as one run.
const char* ColourAsBehaviourName(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text)
        theSyntaxWriter.AddRun(0, ResolveTypeName(scopeId, MMC_OPERATION, "", row.Text, nullptr) ? kBlue : kGrey);
    return theSyntaxWriter.GetText();
}

} // namespace

void CActionSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    SelectSymbolFill(dc, row.Color);
    DrawOutline(row, dc);
    DrawStereotype(dc, row);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    RestoreSymbolFill(dc, row.Color);
    DrawInside(row, dc);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

void CActionSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
}

void CActionSymbol::FitBox(SymbolT& row, int width, int height)
{
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.x2 = row.x1 + width;
        row.y2 = row.y1 + height;
        return;
    }
    row.x2 = std::max(row.x2, row.x1 + width);
    row.y2 = std::max(row.y2, row.y1 + height);
}

int CActionSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureTextLines(dc, w, h, row.Text, 0);
    MeasureStereotype(sw, sh, row, c);
    FitBox(row, std::max(w, sw) + 2 * kMargin, h + sh + 2 * kMargin);
    row.tx1 = row.x1 + kMargin;
    row.tx2 = row.x2 - kMargin;
    row.sterey = row.y1 + kMargin;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

int CActionSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    const int midX = (target.x1 + target.x2) >> 1, midY = (target.y1 + target.y2) >> 1;
    bool sideways;
    if (target.x2 == target.x1 || target.y2 == target.y1) {
        // No diagonals to divide by: the nearest of the four edge middles.
        auto distance = [&](double x, double y) { return (x - refX) * (x - refX) + (y - refY) * (y - refY); };
        const double side = std::min(distance(target.x1, midY), distance(target.x2, midY));
        const double end = std::min(distance(midX, target.y1), distance(midX, target.y2));
        sideways = side < end;
    } else {
        const double slope = double(target.y2 - target.y1) / double(target.x2 - target.x1);
        const double down = target.y1 + slope * (refX - target.x1);
        const double up = target.y2 - slope * (refX - target.x1);
        sideways = refY >= std::min(down, up) && refY <= std::max(down, up);
    }
    if (!sideways) {
        x = midX;
        y = refY < midY ? target.y1 : target.y2;
        return refY < midY ? 2 : 4;
    }
    y = midY;
    x = refX < midX ? target.x1 : target.x2;
    return refX < midX ? 1 : 3;
}

const char* CActionSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(true, scopeId, row.PID);
        theExprChecker.CheckExpression(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}

int CActionSymbol::GetOwnerElement(const SymbolT& row, int defaultId)
{
    SymbolT enclosing;
    ModelT shown;
    if (row.FID <= 0 || !FetchSymbolById(row.FID, enclosing) || !FetchElementByGuid(enclosing.GUID, shown))
        return defaultId;
    const int id = FindElementIdByGuid(shown.Use);
    return id > 0 ? id : defaultId;
}

void CActionnodeSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    PageRoundRect(dc, row.x1, row.y1, row.x2, row.y2, kCorner, kCorner);
}

void CActionnodeSymbol::DrawInside(const SymbolT& row, CDC* dc)
{
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawChildSymbols(row.ID, dc);
}

void CActionSymbol::LayoutRounded(SymbolT& row, CDC* dc)
{
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    FitBox(row, std::max(w, sw) + 2 * kCorner, sh + h + 2 * kCorner);
    row.tx1 = (row.x1 + row.x2 - w) / 2;
    row.tx2 = row.tx1 + w;
    row.sterey = row.y1 + kCorner;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
}

int CActionnodeSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    LayoutRounded(row, dc);
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    for (oid_t oid : ChildRows(row.ID)) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype) &&
            prototype->Layout(child, dc, &row))
            StoreLaidOutChild(prototype, child, oid, dc);
    }
    return 1;
}

bool CActionnodeSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitChildSymbols(p, row.ID, out))
        return true;
    if (!Inside(p, row.x1, row.y1, row.x2, row.y2))
        return false;
    out.Set(row);
    return true;
}

void CChoiceSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    const int midX = (row.x1 + row.x2) / 2, midY = (row.y1 + row.y2) / 2;
    POINT diamond[4] = {{row.x1, midY}, {midX, row.y1}, {row.x2, midY}, {midX, row.y2}};
    PagePolygon(dc, diamond, 4);
}

int CChoiceSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureTextLines(dc, w, h, row.Text, 0);
    MeasureStereotype(sw, sh, row, c);
    const int f = sh + h;
    FitBox(row, 2 * std::max(sw, w), 2 * f);
    row.tx1 = (row.x1 + row.x2 - w) / 2;
    row.tx2 = row.tx1 + w;
    row.sterey = row.y1 + f / 2;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

bool CChoiceSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if (row.x2 == row.x1 || row.y2 == row.y1) {
        if (!Inside(p, row.x1 - kMargin, row.y1 - kMargin, row.x2 + kMargin, row.y2 + kMargin))
            return false;
    } else {
        if (!Inside(p, row.x1, row.y1, row.x2, row.y2))
            return false;
        const double slope = double(row.y2 - row.y1) / double(row.x2 - row.x1);
        const int centre = (row.y1 + row.y2) / 2;
        const double half = p.x > (row.x1 + row.x2) / 2 ? slope * (row.x2 - p.x) : slope * (p.x - row.x1);
        const int top = static_cast<int>(centre - half - kMargin), bottom = static_cast<int>(centre + half + kMargin);
        if (p.y < top || p.y > bottom)
            return false;
    }
    out.Set(row);
    return true;
}

const char* CChoiceSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(true, scopeId, -1);
        theExprChecker.CheckCall(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}

int CInlineframeSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char*, CDC*, const char*,
                                     const SymbolT* related)
{
    if (related && related->ID > 0)
        return 0;
    return InsertSymbolRow(POINT{kFrameLeft, start.y}, POINT{thePageState.UsableWidth - kFrameRightGap, end.y}, pageId,
                           "alt", nullptr, nullptr);
}

void CInlineframeSymbol::DrawTab(const SymbolT& row, CDC* dc)
{
    PageMoveTo(dc, row.tx2 + 100, row.y1);
    PageLineTo(dc, row.tx2 + 100, row.ty2);
    PageLineTo(dc, row.tx2, row.ty2 + 100);
    PageLineTo(dc, row.x1, row.ty2 + 100);
    PageTextOut(dc, row.tx1, row.ty1, row.Text ? row.Text : "");
}

void CInlineframeSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const COLORREF oldColour = dc->SetTextColor(kBlue);
    PageBorderRect(dc, row.x1, row.y1, row.x2, row.y2);
    DrawTab(row, dc);
    SymbolT operand;
    for (oid_t oid : ChildRows(row.ID)) {
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &operand))
            continue;
        Line(dc, row.x1, operand.y1, row.x2, operand.y1);
        DrawTab(operand, dc);
        if (operand.ItemState & SYMBOL_CHECKED)
            DrawBoxHandles(dc, 0, operand.x1, operand.y1, operand.x2, operand.y2);
    }
    dc->SetTextColor(oldColour);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

void CInlineframeSymbol::PlaceTab(SymbolT& row, CDC* dc, int& width, int& height)
{
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    const int p = DrawResources::PixelSize;
    width = w + 2 * p + 400;
    height = h + 2 * p + 400;
    row.tx1 = row.x1 + kMargin;
    row.tx2 = row.x1 + w + kMargin;
    row.ty1 = row.y1 + kMargin;
    row.ty2 = row.y1 + h + kMargin;
    row.sterey = row.ty1;
}

int CInlineframeSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int width = 0, height = 0;
    PlaceTab(row, dc, width, height);
    row.x2 = std::max(row.x2, row.x1 + width);
    row.y2 = std::max(row.y2, row.y1 + height);
    int top = row.ty2 + 2 * DrawResources::PixelSize + 100;
    bool any = false;
    for (oid_t oid : ChildRows(row.ID, nullptr, true)) {
        SymbolT operand;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &operand))
            continue;
        any = true;
        int w = 0, h = 0;
        operand.x1 = row.x1;
        operand.x2 = row.x2 = std::max(row.x2, row.x1 + width);
        const int tall = operand.y2 - operand.y1;
        if (operand.y1 < top)
            operand.y1 = top;
        operand.y2 = operand.y1 + std::max(tall, height);
        PlaceTab(operand, dc, w, h);
        MemDbUpdate(&SymbolT::TableInfo, &operand, oid);
        top = operand.y2;
        row.y2 = std::max(row.y2, top);
    }
    if (any)
        row.y2 = top;
    return 1;
}

bool CInlineframeSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if (!Inside(p, row.x1 - kMargin, row.y1 - kMargin, row.x2 + kMargin, row.y2 + kMargin))
        return false;
    SymbolT operand;
    for (oid_t oid : ChildRows(row.ID))
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &operand) && HitTest(p, operand, out))
            return true;
    const bool inTab = Inside(p, row.tx1, row.ty1, row.tx2, row.ty2);
    const bool deep = Inside(p, row.x1 + kFrameEdge, row.y1 + kFrameEdge, row.x2 - kFrameEdge, row.y2 - kFrameEdge);
    if (!inTab && deep)
        return false;
    out.Set(row);
    return true;
}

void CReferenceSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize, s = theSysConfig.m_nSmallFontSize;
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    CFont* oldFont = dc->SelectObject(&DrawResources::SmallFont);
    const COLORREF oldColour = dc->SetTextColor(kBlue);
    PageTextOut(dc, row.x1 + p, row.y1 + p, "ref");
    PageMoveTo(dc, row.tx1 - p + 100, row.y1);
    PageLineTo(dc, row.tx1 - p + 100, row.y1 + p + s);
    PageLineTo(dc, row.tx1 - p, row.y1 + p + s + 100);
    PageLineTo(dc, row.x1, row.y1 + p + s + 100);
    dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

int CReferenceSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    const int m = MeasureText(dc, w, h, row.Text);
    const int p = DrawResources::PixelSize, s = theSysConfig.m_nSmallFontSize;
    const int font = std::max(1, theSysConfig.m_nFontSize);
    const int r = static_cast<int>(double(m) * s / font);
    FitBox(row, 3 * r + w + 300, h + s + 400);
    row.tx1 = row.x1 + 2 * p + 3 * r;
    row.tx2 = row.tx1 + w;
    row.sterey = row.ty1 = row.y1 + p + s + 100;
    row.ty2 = row.ty1 + h;
    return 1;
}

const char* CReferenceSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    return ColourAsBehaviourName(row, scopeId);
}

void CSendSymbol::DrawShadow(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    PageFillRect(dc, row.x1 + 2 * p, row.y2, row.x2 + p - kPoint, row.y2 + 2 * p, kSendShadow);
}

void CSendSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    const int midY = (row.y1 + row.y2) / 2;
    POINT shape[5] = {{row.x1, row.y1}, {row.x2 - kPoint, row.y1}, {row.x2, midY}, {row.x2 - kPoint, row.y2},
                      {row.x1, row.y2}};
    PagePolygon(dc, shape, 5);
}

int CSendSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0, sw = 0, sh = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    MeasureStereotype(sw, sh, row, c);
    FitBox(row, std::max(sw, w) + 650, h + sh + 450);
    row.tx1 = (row.x1 + row.x2 - w - kPoint) / 2;
    row.tx2 = row.tx1 + w;
    row.sterey = (row.y1 + row.y2 - h - sh) / 2;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

const char* CSendSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(false, scopeId, -1);
        theExprChecker.CheckSignalCall(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}

void CReceiveSymbol::DrawShadow(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    PageFillRect(dc, row.x1 + 2 * p, row.y2, row.x2 + p, row.y2 + 2 * p, kSendShadow);
}

void CReceiveSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    const int midY = (row.y1 + row.y2) / 2;
    POINT shape[5] = {{row.x1, row.y1}, {row.x2, row.y1}, {row.x2 - kPoint, midY}, {row.x2, row.y2},
                      {row.x1, row.y2}};
    PagePolygon(dc, shape, 5);
}
