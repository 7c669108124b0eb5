#include "UML/Symbols/PartSymbols.h"

#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ContainedSymbols.h"
#include "UML/Symbols/NameTypeText.h"
#include "UML/Symbols/TextPieces.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const int kPin = 400;

void DrawText(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

// The text box of a pin of side at (x1, y1), text w x h under a stereotype
// line of sw x sh.
void PlacePinText(SymbolT& row, int side, int w, int h, int sw, int sh)
{
    const int p = DrawResources::PixelSize;
    switch (side) {
    case SideLeft:
        row.tx1 = row.x1 - p - std::max(w, sw);
        row.ty1 = row.y1;
        break;
    case SideTop:
        row.tx1 = row.x1 - w / 2;
        row.ty1 = row.y1 - p - h - sh;
        break;
    case SideBottom:
        row.tx1 = row.x1 - w / 2;
        row.ty1 = row.y2 + p + sh;
        break;
    default:
        row.tx1 = row.x2 + p;
        row.ty1 = row.y1;
        break;
    }
    row.sterey = row.ty1 - sh;
    row.tx2 = row.tx1 + w;
    row.ty2 = row.ty1 + h;
}

} // namespace

CPartSymbol::CPartSymbol()
{
    mmc = MMC_ATTRIBUTE;
    msc = MSC_RECTANGLE;
}

void CPartSymbol::InitExtension(ModelAttribute& row)
{
    row.Associationkind = ASSOCIATION_COMPOSITE;
}

int CPartSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                              const SymbolT* related)
{
    const bool part = std::strcmp(metaName, "Part") == 0;
    const int owner = part ? ElementIdOfSymbol(related) : PageDiagramOwner(pageId);
    if (owner <= 0)
        return 0;
    std::string name = text ? text : "", guid, model;
    if (!IsEmpty(elementGuid)) {
        ModelT dropped;
        if (!FetchElementByGuid(elementGuid, dropped))
            return 0;
        if (!IsEmpty(dropped.Type) && std::strcmp(dropped.Type, modelName) != 0)
            model = dropped.Type;
        const std::string use = elementGuid;
        if (dropped.MMC == MMC_CLASS) {
            char made[GuidTextLength + 1];
            if (!MakeGuidText(made, sizeof made, TRUE) || !CreateElement(owner, name.c_str(), made, use.c_str()))
                return 0;
            guid = made;
        } else {
            if (part && dropped.FID != owner)
                return 0;
            guid = use;
        }
    } else {
        if (name.empty()) {
            char buffer[80];
            MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE) || !CreateElement(owner, name.c_str(), made, nullptr))
            return 0;
        guid = made;
    }
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    record.Model = model.empty() ? nullptr : model.c_str();
    FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, name.c_str(), guid.c_str(), sguid, related,
                     nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

void CPartSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    DrawStereotype(dc, row);
    DrawText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawContained(row, dc);
    if (row.ItemState & SYMBOL_CHECKED) {
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
    }
}

bool CPartSymbol::RenameElement(const SymbolT& row)
{
    ModelT element;
    oid_t oid = 0;
    NameTypeText f;
    if (!ReadNamedElement(row, element, oid, f))
        return false;
    std::string use = element.Use ? element.Use : "";
    if (f.hasType) {
        const std::string typed = ResolveType(element.FID, f.type);
        if (typed != use) {
            // The child symbols (ports) belonged to the old type.
            std::vector<int> children;
            for (oid_t child : ContainedOids(row.ID)) {
                SymbolT c;
                if (theModelDb.FetchRecord(child, &SymbolT::TableInfo, &c))
                    children.push_back(c.ID);
            }
            for (int child : children)
                DeleteSymbol(child, false);
            use = typed;
        }
    }
    element.Use = use.c_str();
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    ModelAttribute a;
    oid_t extensionOid = 0;
    if (f.hasMultiplicity && FetchExtension(element.ID, a, &extensionOid)) {
        a.Multiplicity = f.multiplicity.c_str();
        MemDbUpdate(&ModelAttribute::TableInfo, &a, extensionOid);
    }
    return true;
}

int CPartSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    return ComposeTypedText(element, row, oid);
}

int CPartSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int w = 0, h = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, row, c);
    int width = std::max(w, sw) + 300;
    const int bottom = row.y1 + 4 * p + h + sh;
    if (row.ItemState & SYMBOL_AUTOLAYOUT) {
        row.y2 = bottom;
        row.x2 = row.x1 + width;
    } else {
        row.x2 = std::max(row.x2, row.x1 + width);
        row.y2 = std::max(row.y2, bottom);
        width = row.x2 - row.x1;
    }
    row.sterey = row.y1 + p;
    row.tx1 = row.x1 + (width - w) / 2;
    row.tx2 = row.tx1 + w;
    row.ty1 = row.y1 + p + sh;
    row.ty2 = row.ty1 + h;
    if (row.ID > 0) {
        const std::vector<oid_t> children = ContainedOids(row.ID);
        for (oid_t child : children) {
            SymbolT laidOut;
            LayoutContained(child, row, dc, laidOut);
        }
        row.ItemState = int16_t(children.empty() ? row.ItemState & ~SYMBOL_HAS_CHILDREN
                                                 : row.ItemState | SYMBOL_HAS_CHILDREN);
    }
    return 1;
}

bool CPartSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitContained(point, row, out))
        return true;
    if (point.x < std::min(row.x1, row.x2) || point.x > std::max(row.x1, row.x2) ||
        point.y < std::min(row.y1, row.y2) || point.y > std::max(row.y1, row.y2))
        return false;
    out.Set(row);
    return true;
}

void CObjectnodeSymbol::Draw(const SymbolT& row, CDC* dc)
{
    CSymbol::Draw(row, dc);
}

int CObjectnodeSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    return CSymbol::Layout(row, dc, related);
}

bool CObjectnodeSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    return CSymbol::HitTest(point, row, out);
}

void CPinSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SelectSymbolFill(dc, row.Color);
    PageRectangle(dc, row.x1, row.y1, row.x1 + kPin, row.y1 + kPin);
    DrawStereotype(dc, row);
    DrawText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_CHECKED) {
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 1, row.x1, row.y1, row.x2, row.y2);
    }
}

int CPinSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    int w = 0, h = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, row, c);
    const SymbolT before = row;
    int side = SideRight;
    int cx = row.x1 + kPin / 2, cy = row.y1 + kPin / 2;
    if (related)
        side = SnapToNearestSide(cx, cy, RECT{related->x1, related->y1, related->x2, related->y2});
    row.x1 = cx - kPin / 2;
    row.y1 = cy - kPin / 2;
    row.x2 = row.x1 + kPin;
    row.y2 = row.y1 + kPin;
    PlacePinText(row, side, w, h, sw, sh);
    return related || MemDbRecordChanged(&SymbolT::TableInfo, &row, &before) ? 1 : 0;
}

bool CPinSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    return CSymbol::HitTest(point, row, out);
}

int CPinSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    x = (target.x1 + target.x2) / 2;
    y = (target.y1 + target.y2) / 2;
    return CSymbol::GetAttachPoint(target, x, y, refX, refY);
}
