#include "UML/Symbols/EnumerationSymbol.h"

#include "Pub/SYSConfig.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/MemberSymbols.h"

#include <algorithm>

int CEnumerationSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    const int font = theSysConfig.m_nFontSize;
    int tw = 0, th = 0;
    const int charWidth = MeasureText(dc, tw, th, row.Text);
    int sw = 0, sh = theSysConfig.m_nSmallFontSize;
    MeasureStereotype(sw, sh, row, charWidth);
    int width = std::max(tw, sw) + 4 * p + 300;
    row.sterey = row.y1 + p;
    int f = row.y1 + 4 * p + th + sh;
    if (!(row.ItemState & BOX_COLLAPSED)) {
        row.ItemState &= ~SYMBOL_HAS_CHILDREN;
        int members = 0;
        f = PlaceBoxMembers(row, dc, MMC_LITERAL, f, p, members);
        width = std::max(width, members + 300);
        f += 2 * font + 2 * p;
    }
    FitBox(row, f + p, width, tw, th, sh);
    return 1;
}

void CEnumerationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawPlainBox(row, dc, false);
    if (!(row.ItemState & BOX_COLLAPSED))
        DrawCompartment(row, dc, MMC_LITERAL, "Literal");
}

bool CEnumerationSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    return HitCompartment(p, row, MMC_LITERAL, "Literal", out);
}

CLiteralSymbol::CLiteralSymbol() : CSymbol(MMC_LITERAL, MSC_LINETEXT)
{
}

int CLiteralSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                 const char* elementGuid, const SymbolT* related)
{
    return CreateMemberLine(*this, start, end, pageId, text, elementGuid, related, false,
                            [](const ModelT&) { return true; });
}

void CLiteralSymbol::Draw(const SymbolT& row, CDC* dc)
{
    PageTextOut(dc, row.x1, row.y1, row.Text ? row.Text : "");
}
