#include "UML/Symbols/AssociationSymbol.h"

#include "Platform/Dc.h"
#include "Platform/Gdi.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/TextPieces.h"

#include <string>

namespace {

const int kHeadSize = 300;
const COLORREF kBracket = 0xFF0000;
const COLORREF kMultiplicity = 0x0000FF;
const size_t kNameBytes = 64;

// The diamond at the start S of the first segment: S, the two barb points B1
// and B2 of the reversed segment, and the far corner B1 + B2 - S.
void DrawEndDiamond(CDC* dc, const LineSegment& first, COLORREF colour)
{
    const LineSegment reversed{first.x2, first.y2, first.x1, first.y1};
    POINT b[2];
    ArrowHeadPoints(reversed, b, kHeadSize);
    POINT corners[4] = {{first.x1, first.y1}, b[0], {b[0].x + b[1].x - first.x1, b[0].y + b[1].y - first.y1}, b[1]};
    CBrush brush(colour);
    CBrush* old = dc->SelectObject(&brush);
    PagePolygon(dc, corners, 4);
    dc->SelectObject(old);
}

} // namespace

CAssociationSymbol::CAssociationSymbol()
{
    msc = MSC_LINE;
}

void CAssociationSymbol::InitExtension(ModelAttribute& row)
{
    row.Navigable = 1;
    row.Associationkind = ASSOCIATION_NONE;
}

void CAssociationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    LineSegment first, last;
    DrawLinePath(row, dc, first, last);
    ModelT element;
    if (FetchElementByGuid(row.GUID, element)) {
        const ModelAttribute a = Extension(element.ID);
        if (a.Navigable == 1) {
            POINT barbs[2];
            ArrowHeadPoints(last, barbs, kHeadSize);
            for (const POINT& barb : barbs) {
                PageMoveTo(dc, row.x2, row.y2);
                PageLineTo(dc, barb.x, barb.y);
            }
        }
        if (a.Associationkind == ASSOCIATION_SHARED || a.Associationkind == ASSOCIATION_COMPOSITE)
            DrawEndDiamond(dc, first, a.Associationkind == ASSOCIATION_SHARED ? 0xFFFFFF : 0);
    }
    DrawLineSelection(row, dc);
    if (!IsEmpty(row.Text)) {
        SyntaxRunCodec runs;
        runs.Attach(row.Syntax);
        DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    }
}

bool CAssociationSymbol::RenameElement(const SymbolT& row)
{
    if (IsEmpty(row.Text))
        return false;
    ModelT element;
    oid_t oid = 0;
    if (!ElementOfSymbol(row, element, oid))
        return false;
    const std::string text = row.Text;
    size_t pos = 0, start = 0;
    std::string name, multiplicity;
    if (!NextWord(text, pos, " \t[]", name, start))
        return false;
    name = name.substr(0, kNameBytes);
    if (NextWord(text, pos, " []", multiplicity, start)) {
        ModelAttribute a;
        oid_t extensionOid = 0;
        if (FetchExtension(element.ID, a, &extensionOid)) {
            a.Multiplicity = multiplicity.c_str();
            MemDbUpdate(&ModelAttribute::TableInfo, &a, extensionOid);
        }
    }
    element.Name = name.c_str();
    // An end that cannot be read keeps its link: owner 0 would leave the
    // association in no unit.
    const int ownerId = ElementIdOfSguid(row.SrcID);
    if (ownerId > 0)
        element.FID = ownerId;
    std::string use;
    {
        dbTypedCursor<SymbolT> d(&SymbolT::TableInfo);
        if (!IsEmpty(row.DestID) && d.SelectByKey("SGUID", row.DestID) > 0 && !IsEmpty(d->GUID))
            use = d->GUID;
    }
    if (!use.empty())
        element.Use = use.c_str();
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

int CAssociationSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    TextPool.Reset();
    theSyntaxWriter.Reset();
    Piece(element.Name, 0);
    const ModelAttribute a = Extension(element.ID);
    if (!IsEmpty(a.Multiplicity)) {
        Piece("[", kBracket);
        Piece(a.Multiplicity, kMultiplicity);
        Piece("]", kBracket);
    }
    return StoreBuiltText(row, oid, element.Stereotype ? element.Stereotype : "");
}

const char* CAssociationSymbol::MakeSyntax(const SymbolT& row, int)
{
    theSyntaxWriter.Reset();
    const std::string text = row.Text ? row.Text : "";
    if (text.empty())
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(0, 0);
    const size_t open = text.find('[');
    if (open == std::string::npos)
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(int(open), kBracket);
    const size_t close = text.find(']', open);
    if (close == std::string::npos) {
        theSyntaxWriter.AddRun(int(open + 1), kMultiplicity);
        return theSyntaxWriter.GetText();
    }
    if (open + 1 < close)
        theSyntaxWriter.AddRun(int(open + 1), kMultiplicity);
    theSyntaxWriter.AddRun(int(close), kBracket);
    return theSyntaxWriter.GetText();
}

COptionTreeItem* CAssociationSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    ModelAttribute a;
    const bool hasExtension = FetchExtension(element.ID, a);
    COptionTreeItem* last = AddTypedRows(element, readOnly, readOnly || ElementHasSymbols(element.GUID), grid);
    if (last && hasExtension)
        AddCheckRow(last, grid, "Navigable", LoadResString(61518), a.Navigable != 0, readOnly);
    return last;
}
