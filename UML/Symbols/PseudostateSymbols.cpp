#include "UML/Symbols/PseudostateSymbols.h"

#include "Platform/Dc.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/ExprChecker.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolText.h"

#include <cstdlib>

namespace {

// Inset of the flow final's cross, the history's H and the final's inner disc.
const int kMarkInset = 120;
const int kInnerDiscInset = 60;
const int kBarThickness = 200;
const int kBarMinLength = 500;

} // namespace

CInitialSymbol::CInitialSymbol(int8_t shape, int side) : CSymbol(MMC_NONE, shape), side_(side)
{
}

void CInitialSymbol::DrawCircle(const SymbolT& row, CDC* dc) const
{
    PageEllipse(dc, row.x1, row.y1, row.x1 + side_, row.y1 + side_);
}

void CInitialSymbol::DrawHandles(const SymbolT& row, CDC* dc, int style)
{
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, style, row.x1, row.y1, row.x2, row.y2);
}

void CInitialSymbol::Draw(const SymbolT& row, CDC* dc)
{
    CBrush* old = dc->SelectObject(&DrawResources::BlackBrush);
    DrawCircle(row, dc);
    dc->SelectObject(old);
    DrawStereotype(dc, row);
    DrawHandles(row, dc, 1);
}

int CInitialSymbol::Layout(SymbolT& row, CDC*, const SymbolT*)
{
    row.x2 = row.x1 + side_;
    row.y2 = row.y1 + side_;
    return 1;
}

int CInitialSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    AttachPointOnEllipse(x, y, refX, refY, RECT{target.x1, target.y1, target.x2, target.y2});
    return 0;
}

int CFinalSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    CInitialSymbol::Layout(row, dc, related);
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    row.tx1 = row.x2 + DrawResources::PixelSize;
    row.tx2 = row.tx1 + w;
    row.ty1 = row.y1;
    row.ty2 = row.y1 + h;
    return 1;
}

void CFinalSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawCircle(row, dc);
    CBrush* old = dc->SelectObject(&DrawResources::BlackBrush);
    PageEllipse(dc, row.x1 + kInnerDiscInset, row.y1 + kInnerDiscInset, row.x1 + side_ - kInnerDiscInset,
                row.y1 + side_ - kInnerDiscInset);
    dc->SelectObject(old);
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    // An empty text shows where to type while the symbol is selected.
    if ((row.ItemState & SYMBOL_CHECKED) && (!row.Text || !*row.Text))
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
    DrawHandles(row, dc, 1);
}

const char* CFinalSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (row.Text && *row.Text) {
        theExprChecker.SetContext(true, scopeId, -1);
        theExprChecker.CheckCall(row.Text, theSyntaxWriter);
    }
    return theSyntaxWriter.GetText();
}

void CFlowfinalSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawCircle(row, dc);
    PageMoveTo(dc, row.x1 + kMarkInset, row.y1 + kMarkInset);
    PageLineTo(dc, row.x2 - kMarkInset, row.y2 - kMarkInset);
    PageMoveTo(dc, row.x2 - kMarkInset, row.y1 + kMarkInset);
    PageLineTo(dc, row.x1 + kMarkInset, row.y2 - kMarkInset);
    DrawHandles(row, dc, 1);
}

void CHistorySymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawCircle(row, dc);
    const int left = row.x1 + kMarkInset, right = row.x2 - kMarkInset;
    const int top = row.y1 + kMarkInset, bottom = row.y2 - kMarkInset;
    const int middle = (row.y1 + row.y2) >> 1;
    PageMoveTo(dc, left, top);
    PageLineTo(dc, left, bottom);
    PageMoveTo(dc, right, top);
    PageLineTo(dc, right, bottom);
    PageMoveTo(dc, left, middle);
    PageLineTo(dc, right, middle);
    DrawHandles(row, dc, 1);
}

void CTerminalSymbol::Draw(const SymbolT& row, CDC* dc)
{
    PageMoveTo(dc, row.x1, row.y1);
    PageLineTo(dc, row.x2, row.y2);
    PageMoveTo(dc, row.x2, row.y1);
    PageLineTo(dc, row.x1, row.y2);
    DrawHandles(row, dc, 1);
}

int CTerminalSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int, int)
{
    x = (target.x1 + target.x2) >> 1;
    y = (target.y1 + target.y2) >> 1;
    return 6;
}

int CForkSymbol::Layout(SymbolT& row, CDC*, const SymbolT*)
{
    if (std::abs(row.y2 - row.y1) < std::abs(row.x2 - row.x1)) {
        row.y2 = row.y1 + kBarThickness;
        if (row.x2 - row.x1 < kBarMinLength)
            row.x2 = row.x1 + kBarMinLength;
    } else {
        row.x2 = row.x1 + kBarThickness;
        if (row.y2 - row.y1 < kBarMinLength)
            row.y2 = row.y1 + kBarMinLength;
    }
    row.tx1 = row.ty1 = row.tx2 = row.ty2 = 0;
    return 1;
}

void CForkSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    PageFillRect(dc, row.x1, row.y1, row.x2, row.y2, 0);
    DrawStereotype(dc, row);
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}
