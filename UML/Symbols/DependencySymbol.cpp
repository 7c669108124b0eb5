#include "UML/Symbols/DependencySymbol.h"

#include "Platform/Dc.h"
#include "Platform/Resource.h"
#include "Platform/CString.h"
#include "Pub/SyntaxRunCodec.h"
#include "Pub/TextPool.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Symbols/TextPieces.h"

namespace {

const int kHeadSize = 300;
const int kNameCharacters = 63;
const int kRealizedCharacters = 192;

} // namespace

void CDependencySymbol::Draw(const SymbolT& row, CDC* dc)
{
    CPen* old = dc->SelectObject(&DrawResources::DottedPen);
    LineSegment first, last;
    DrawLinePath(row, dc, first, last);
    POINT barbs[2];
    ArrowHeadPoints(last, barbs, kHeadSize);
    for (const POINT& barb : barbs) {
        PageMoveTo(dc, row.x2, row.y2);
        PageLineTo(dc, barb.x, barb.y);
    }
    dc->SelectObject(old);
    DrawLineMarks(row, dc);
}

void CDependencySymbol::DrawLineMarks(const SymbolT& row, CDC* dc)
{
    DrawStereotype(dc, row);
    DrawLineSelection(row, dc);
    DrawLineText(row, dc);
}

int CDependencySymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    TextPool.Reset();
    theSyntaxWriter.Reset();
    Piece(element.Name, 0);
    return StoreBuiltText(row, oid, element.Stereotype ? element.Stereotype : "");
}

COptionTreeItem* CDependencySymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    if (base)
        AddTypeRow(base, grid, "Use", LoadResString(61521), element.Use, element.FID,
                   readOnly || ElementHasSymbols(element.GUID));
    return base;
}

const char* CDependencySymbol::GetLabel(const ModelT& element)
{
    ClearLineLabel();
    AppendLineLabel(element.Name, kNameCharacters);
    ModelT other;
    if (FetchElementByGuid(element.Stereotype, other)) {
        AppendLineLabel("<<");
        AppendLineLabel(other.Name);
        AppendLineLabel(">>");
    }
    if (FetchElementByGuid(element.Use, other))
        AppendLineLabel(other.Name);
    return AppendLineLabel("");
}

void CRealizationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    LineSegment first, last;
    DrawLinePath(row, dc, first, last);
    POINT barbs[2];
    ArrowHeadPoints(last, barbs, kHeadSize);
    POINT head[3] = {{row.x2, row.y2}, barbs[0], barbs[1]};
    PagePolygon(dc, head, 3);
    DrawLineMarks(row, dc);
}

const char* CRealizationSymbol::GetLabel(const ModelT& element)
{
    ClearLineLabel();
    ModelT realized;
    if (FetchElementByGuid(element.Use, realized))
        AppendLineLabel(realized.Name, kRealizedCharacters);
    return AppendLineLabel("");
}
