#include "UML/Symbols/PortSymbols.h"

#include "Controls/OptionTreeComboBoxItem.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/CString.h"
#include "Platform/Resource.h"
#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/LineGeometry.h"
#include "UML/Model/LinePath.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/StereotypeRows.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Model/TypeResolution.h"
#include "UML/Symbols/ContainedSymbols.h"
#include "UML/Symbols/ExtendedElement.h"
#include "UML/Symbols/NameTypeText.h"
#include "UML/Symbols/RelationshipLine.h"
#include "UML/Symbols/TextPieces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kHalfPort = 225;
const int kStick = 1150;
const int kRadius = 210;
const int kLabelGap = 1360;
const int kAside = 575;
const int kInterfaceCharacters = 192;
const COLORREF kPunctuation = 0xFF0000;
const COLORREF kResolved = 0x008000;
const COLORREF kPortUnresolved = 0x969696;
const COLORREF kInterfaceUnresolved = 0xC8C8C8;

bool IsType(const SymbolT& row, const char* type)
{
    return row.Type && std::strcmp(row.Type, type) == 0;
}

RECT BoxOf(const SymbolT& row)
{
    return RECT{row.x1, row.y1, row.x2, row.y2};
}

// 1 left when x is the box's x1, else 2 top for its y1, 3 right for its x2, 4
// bottom for its y2; 0 when the point lies on no side line.
int SideOfPoint(const SymbolT& box, int x, int y)
{
    if (x == box.x1)
        return SideLeft;
    if (y == box.y1)
        return SideTop;
    if (x == box.x2)
        return SideRight;
    if (y == box.y2)
        return SideBottom;
    return SideNone;
}

// The owner of what is placed in container: the element it shows, or for a
// typed element (a part) its type, which must exist and be writable. 0 when
// refused; shown gets the container's element.
int OwnerInContainer(const SymbolT* container, ModelT& shown)
{
    if (!container || !FetchElementByGuid(container->GUID, shown))
        return 0;
    if (shown.MMC != MMC_ATTRIBUTE)
        return shown.ID;
    ModelT type;
    if (!FetchElementByGuid(shown.Use, type) || (type.ItemState & ITEM_FIXED))
        return 0;
    return type.ID;
}

// The text extent and stereotype line of a row: w, h, the wider of the two
// and the stereotype height.
struct TextExtent {
    int w = 0, h = 0, wm = 0, sh = 0;
};

TextExtent MeasureRow(CSymbol& prototype, const SymbolT& row, CDC* dc)
{
    TextExtent e;
    const int c = MeasureText(dc, e.w, e.h, row.Text);
    int sw = 0;
    prototype.MeasureStereotype(sw, e.sh, row, c);
    e.wm = std::max(e.w, sw);
    return e;
}

void DrawRowText(const SymbolT& row, CDC* dc)
{
    if (IsEmpty(row.Text))
        return;
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

// The ends of the circle's diameter across the stick, and the stick's end
// pulled back to the circle.
void EndCirclePoints(const SymbolT& row, POINT diameter[2], POINT& stickEnd)
{
    const int sx = row.x1, sy = row.y1, ex = row.x2, ey = row.y2;
    if (sx == ex) {
        const int r = ey < sy ? -kRadius : kRadius;
        diameter[0] = POINT{ex - r, ey};
        diameter[1] = POINT{ex + r, ey};
        stickEnd = POINT{ex, ey - r};
        return;
    }
    const double d = double(ey - sy) / double(ex - sx);
    const double e = kRadius / std::sqrt(d * d + 1);
    const int f = int(sx < ex ? -e : e);
    const int g = int(d * f);
    diameter[0] = POINT{ex + g, ey - f};
    diameter[1] = POINT{ex - g, ey + f};
    stickEnd = POINT{ex + f, ey + g};
}

// The first child element of parent of type, by ID order.
bool ChildOfType(int parent, const char* type, ModelT& out)
{
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &parent);
    q.Append(dbFragText, " and Type=").AppendString(type);
    q.Append(dbFragText, " order by ID");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) <= 0)
        return false;
    out = *c.GetRecord();
    return true;
}

bool ShownInContainer(const char* guid, int containerId)
{
    dbQueryText q;
    q.Append(dbFragText, "GUID=").AppendString(guid);
    q.Append(dbFragText, " and FID=").Append(dbFragInt4, &containerId);
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0;
}

int InsertContainedSymbol(CSymbol& prototype, POINT start, POINT end, int pageId, const std::string& text,
                          const std::string& guid, const SymbolT* container)
{
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    prototype.FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, text.c_str(), guid.c_str(), sguid,
                               container, nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

// Stores a laid-out interface end and has its lines follow.
void StoreEnd(CSymbol& prototype, SymbolT& end, oid_t oid, CDC* dc)
{
    if (MemDbUpdate(&SymbolT::TableInfo, &end, oid))
        prototype.UpdateAttachedLines(end, dc);
}

} // namespace

int CPortSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                              const SymbolT* related)
{
    ModelT shown;
    const int owner = OwnerInContainer(related, shown);
    if (owner <= 0)
        return 0;
    std::string name = text ? text : "", guid;
    if (IsEmpty(elementGuid)) {
        if (name.empty()) {
            char buffer[80];
            MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE) || !CreateElement(owner, name.c_str(), made, nullptr))
            return 0;
        guid = made;
    } else {
        ModelT dropped;
        if (!FetchElementByGuid(elementGuid, dropped) || dropped.FID != owner)
            return 0;
        guid = elementGuid;
    }
    return InsertContainedSymbol(*this, start, end, pageId, name, guid, related);
}

void CPortSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SelectSymbolFill(dc, row.Color);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    RestoreSymbolFill(dc, row.Color);
    DrawRowText(row, dc);
    if (row.ItemState & SYMBOL_CHECKED) {
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 1, row.x1, row.y1, row.x2, row.y2);
    }
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawContained(row, dc);
}

bool CPortSymbol::RenameElement(const SymbolT& row)
{
    ModelT element;
    oid_t oid = 0;
    NameTypeText f;
    if (!ReadNamedElement(row, element, oid, f))
        return false;
    std::string use;
    if (f.hasType) {
        use = ResolveType(element.FID, f.type);
        element.Use = use.c_str();
    }
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

int CPortSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    return ComposeTypedText(element, row, oid);
}

int CPortSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    SymbolT stored;
    if (!related || !FetchSymbolById(related->ID, stored))
        return 0;
    const int p = DrawResources::PixelSize;
    const TextExtent e = MeasureRow(*this, row, dc);
    int cx = row.x1 + kHalfPort, cy = row.y1 + kHalfPort;
    const int side = ClampToRectSide(cx, cy, BoxOf(*related), SideOfPoint(stored, cx, cy));
    const std::vector<oid_t> ends = ContainedOids(row.ID);
    row.ItemState = int16_t(ends.empty() ? row.ItemState & ~SYMBOL_HAS_CHILDREN : row.ItemState | SYMBOL_HAS_CHILDREN);
    row.x1 = cx - kHalfPort;
    row.x2 = cx + kHalfPort;
    row.y1 = cy - kHalfPort;
    row.y2 = cy + kHalfPort;
    switch (side) {
    case SideLeft:
        row.tx2 = cx - 2 * p;
        row.tx1 = row.tx2 - e.wm;
        row.ty1 = row.y2 + 2 * p;
        row.ty2 = row.ty1 + e.sh + e.h;
        break;
    case SideTop:
        row.tx1 = cx + kHalfPort + 2 * p;
        row.tx2 = row.tx1 + e.wm;
        row.ty2 = cy - 2 * p;
        row.ty1 = row.ty2 - e.sh - e.h;
        break;
    case SideRight:
        row.tx1 = cx + 2 * p;
        row.tx2 = row.tx1 + e.wm;
        row.ty1 = row.y2;
        row.ty2 = row.ty1 + e.sh + e.h;
        break;
    default:
        row.tx1 = cx + kHalfPort + 2 * p;
        row.tx2 = row.tx1 + e.wm;
        row.ty1 = cy + 2 * p;
        row.ty2 = row.ty1 + e.sh + e.h;
        break;
    }
    row.sterey = row.ty1;
    row.ty1 += e.sh;
    if (ends.size() == 1) {
        SymbolT end;
        LayoutContained(ends[0], row, dc, end);
    } else if (ends.size() == 2) {
        for (oid_t oid : ends) {
            SymbolT end;
            CSymbol* prototype = nullptr;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &end) || !FindMetaclass(end.Type, prototype))
                continue;
            if (auto* interfaceEnd = dynamic_cast<CRealizedSymbol*>(prototype)) {
                interfaceEnd->ArrangeAttached(end, row, dc, side);
                StoreEnd(*prototype, end, oid, dc);
            }
        }
    }
    return 1;
}

bool CPortSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    if (CSymbol::HitTest(point, row, out))
        return true;
    return (row.ItemState & SYMBOL_HAS_CHILDREN) && HitContained(point, row, out);
}

int CPortSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    x = (target.x1 + target.x2) / 2;
    y = (target.y1 + target.y2) / 2;
    return CSymbol::GetAttachPoint(target, x, y, refX, refY);
}

const char* CPortSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    const std::string text = row.Text ? row.Text : "";
    size_t pos = 0, start = 0;
    std::string word;
    if (!NextWord(text, pos, ": ", word, start))
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(0, 0);
    const size_t colon = text.find(':', pos);
    if (colon == std::string::npos)
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(int(colon), kPunctuation);
    pos = colon + 1;
    if (NextWord(text, pos, "\r\n\t ", word, start))
        theSyntaxWriter.AddRun(int(colon + 1), ResolveType(scopeId, word).empty() ? kPortUnresolved : kResolved);
    return theSyntaxWriter.GetText();
}

COptionTreeItem* CPortSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    if (!base)
        return nullptr;
    AddTypeRow(base, grid, "Use", LoadResString(61517), element.Use, element.FID, readOnly);
    ModelT end;
    if (ChildOfType(element.ID, "Realized", end))
        AddTextRow(base, grid, LoadResString(61504), end.Name);
    if (ChildOfType(element.ID, "Required", end))
        AddTextRow(base, grid, LoadResString(61503), end.Name);
    return base;
}

int CRealizedSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                  const char* elementGuid, const SymbolT* related)
{
    ModelT shown;
    if (!related || !FetchElementByGuid(related->GUID, shown))
        return 0;
    int owner = shown.ID;
    std::string name = text ? text : "", guid = elementGuid ? elementGuid : "";
    ModelT existing;
    if (IsType(*related, "Port")) {
        if (ChildOfType(shown.ID, metaName, existing))
            guid = existing.GUID;
    } else if (shown.MMC == MMC_ATTRIBUTE) {
        owner = OwnerInContainer(related, shown);
        if (owner <= 0)
            return 0;
    }
    if (!guid.empty()) {
        ModelT element;
        if (ShownInContainer(guid.c_str(), related->ID) || !FetchElementByGuid(guid.c_str(), element) ||
            element.FID != owner)
            return 0;
    } else {
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE) || !CreateElement(owner, name.c_str(), made, nullptr))
            return 0;
        guid = made;
    }
    return InsertContainedSymbol(*this, start, end, pageId, name, guid, related);
}

void CRealizedSymbol::DrawEnd(const SymbolT& row, CDC* dc)
{
    POINT diameter[2], stickEnd;
    EndCirclePoints(row, diameter, stickEnd);
    SelectSymbolFill(dc, row.Color);
    PageMoveTo(dc, row.x1, row.y1);
    PageLineTo(dc, stickEnd.x, stickEnd.y);
    PageEllipse(dc, row.x2 - kRadius, row.y2 - kRadius, row.x2 + kRadius, row.y2 + kRadius);
    RestoreSymbolFill(dc, row.Color);
}

void CRequiredSymbol::DrawEnd(const SymbolT& row, CDC* dc)
{
    POINT diameter[2], stickEnd;
    EndCirclePoints(row, diameter, stickEnd);
    PageMoveTo(dc, row.x1, row.y1);
    PageLineTo(dc, stickEnd.x, stickEnd.y);
    PageArc(dc, row.x2 - kRadius, row.y2 - kRadius, row.x2 + kRadius, row.y2 + kRadius, diameter[1].x,
            diameter[1].y, diameter[0].x, diameter[0].y);
}

void CRealizedSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawEnd(row, dc);
    DrawStereotype(dc, row);
    DrawRowText(row, dc);
    if (row.ItemState & SYMBOL_CHECKED) {
        HotSpotList::SetOwner(row.ID);
        DrawPointHandle(dc, row.x1 - 100, row.y1 - 100, 0);
        DrawPointHandle(dc, row.x2 - 100, row.y2 - 100, 1);
        PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
    }
}

bool CRealizedSymbol::RenameElement(const SymbolT& row)
{
    ModelT element;
    oid_t oid = 0;
    if (!ElementOfSymbol(row, element, oid))
        return false;
    const std::string use = IsEmpty(row.Text) ? std::string() : ResolveType(element.FID, row.Text, "Interface");
    element.Use = use.c_str();
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

int CRealizedSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    ModelT used;
    if (!FetchElementByGuid(element.Use, used))
        return 0;
    if (std::strcmp(used.Name ? used.Name : "", row.Text ? row.Text : "") == 0)
        return 0;
    SymbolT updated = row;
    updated.Text = used.Name;
    updated.Stereotype = used.Stereotype;
    return MemDbUpdate(&SymbolT::TableInfo, &updated, oid);
}

int CRealizedSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT* related)
{
    if (!related)
        return 0;
    int side = SideNone;
    if (IsType(*related, "Port")) {
        SymbolT outer;
        if (!FetchSymbolById(related->FID, outer))
            return 0;
        int cx = (related->x1 + related->x2) / 2, cy = (related->y1 + related->y2) / 2;
        side = SnapToNearestSide(cx, cy, BoxOf(outer));
        row.x1 = cx;
        row.y1 = cy;
        ClampToRectSide(row.x1, row.y1, BoxOf(*related), side);
    } else {
        side = ClampToRectSide(row.x1, row.y1, BoxOf(*related), SideNone);
    }
    const TextExtent e = MeasureRow(*this, row, dc);
    const int f = e.sh + e.h;
    switch (side) {
    case SideLeft:
        row.x2 = row.x1 - kStick;
        row.y2 = row.y1;
        row.tx2 = row.x1 - kLabelGap;
        row.tx1 = row.tx2 - e.wm;
        row.ty1 = row.y1 - f / 2;
        row.ty2 = row.ty1 + f;
        break;
    case SideTop:
        row.x2 = row.x1;
        row.y2 = row.y1 - kStick;
        row.tx1 = row.x1 - e.wm / 2;
        row.tx2 = row.tx1 + e.wm;
        row.ty2 = row.y1 - kLabelGap;
        row.ty1 = row.ty2 - f;
        break;
    case SideRight:
        row.x2 = row.x1 + kStick;
        row.y2 = row.y1;
        row.tx1 = row.x1 + kLabelGap;
        row.tx2 = row.tx1 + e.wm;
        row.ty1 = row.y1 - f / 2;
        row.ty2 = row.ty1 + f;
        break;
    default:
        row.x2 = row.x1;
        row.y2 = row.y1 + kStick;
        row.tx1 = row.x1 - e.wm / 2;
        row.tx2 = row.tx1 + e.wm;
        row.ty1 = row.y1 + kLabelGap;
        row.ty2 = row.ty1 + f;
        break;
    }
    row.sterey = row.ty1;
    row.ty1 += e.sh;
    return 1;
}

void CRealizedSymbol::ArrangeAttached(SymbolT& end, const SymbolT& port, CDC* dc, int side)
{
    if (side < SideLeft || side > SideBottom)
        return;
    const int p = DrawResources::PixelSize;
    ClampToRectSide(end.x1, end.y1, BoxOf(port), side);
    const bool across = side == SideLeft || side == SideRight;
    (across ? end.y1 : end.x1) = across ? (port.y1 + port.y2) / 2 : (port.x1 + port.x2) / 2;
    const int m = across ? end.y1 : end.x1;
    const TextExtent e = MeasureRow(*this, end, dc);
    const int t = e.sh + e.h;
    const int aside = Aside();
    switch (side) {
    case SideLeft:
        end.x2 = end.x1 - kStick;
        end.y2 = m - aside * kAside;
        end.tx2 = end.x2 - 4 * p;
        end.tx1 = end.tx2 - e.wm;
        if (aside > 0) {
            end.ty2 = end.y2 - 4 * p;
            end.ty1 = end.ty2 - t;
        } else {
            end.ty1 = end.y2;
            end.ty2 = end.ty1 + t;
        }
        break;
    case SideTop:
        end.x2 = m + aside * kAside;
        end.y2 = end.y1 - kStick;
        if (aside > 0) {
            end.tx1 = end.x2 + 4 * p;
            end.tx2 = end.tx1 + e.wm;
            end.ty1 = end.y2 - 4 * p - t;
            end.ty2 = end.ty1 + t;
        } else {
            end.tx2 = end.x2;
            end.tx1 = end.tx2 - e.wm;
            end.ty1 = end.y2 - t;
            end.ty2 = end.y2;
        }
        break;
    case SideRight:
        end.x2 = end.x1 + kStick;
        end.y2 = m + aside * kAside;
        end.tx1 = end.x2 + 4 * p;
        end.tx2 = end.tx1 + e.wm;
        if (aside > 0) {
            end.ty1 = end.y2 + 4 * p;
            end.ty2 = end.ty1 + t;
        } else {
            end.ty2 = end.y2;
            end.ty1 = end.ty2 - t;
        }
        break;
    default:
        end.x2 = m - aside * kAside;
        end.y2 = end.y1 + kStick;
        if (aside > 0) {
            end.tx2 = end.x2 - 4 * p;
            end.tx1 = end.tx2 - e.wm;
        } else {
            end.tx1 = end.x2;
            end.tx2 = end.tx1 + e.wm;
        }
        end.ty1 = end.y2 + 4 * p;
        end.ty2 = end.ty1 + t;
        break;
    }
}

bool CRealizedSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    const bool hit = IsNearSegment(point, row.x1, row.y1, row.x2, row.y2) || PointInTextBox(point, row) ||
                     (std::abs(point.x - row.x2) <= kRadius && std::abs(point.y - row.y2) <= kRadius);
    if (hit)
        out.Set(row);
    return hit;
}

int CRealizedSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY)
{
    AttachPointOnEllipse(x, y, refX, refY,
                         RECT{target.x2 - kRadius, target.y2 - kRadius, target.x2 + kRadius, target.y2 + kRadius});
    return 6;
}

int CRequiredSymbol::GetAttachPoint(const SymbolT& target, int& x, int& y, int, int)
{
    x = target.x2;
    y = target.y2;
    return 6;
}

const char* CRealizedSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    if (IsEmpty(row.Text))
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(0, ResolveType(scopeId, row.Text, "Interface").empty() ? kInterfaceUnresolved : kResolved);
    return theSyntaxWriter.GetText();
}

const char* CRealizedSymbol::GetLabel(const ModelT& element)
{
    ClearLineLabel();
    ModelT used;
    if (FetchElementByGuid(element.Use, used))
        AppendLineLabel(used.Name, kInterfaceCharacters);
    return AppendLineLabel("");
}

COptionTreeItem* CRealizedSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61447), PROPERTY_BASE);
    if (!category)
        return nullptr;
    AddEditRow(category, grid, "Type", LoadResString(61471), element.Type, true, false);
    AddStereotypeRow(category, grid, metaName, element.ID, element.Stereotype, readOnly);
    AddVisibilityRow(category, grid, LoadResString(61476), element.Visibility, readOnly);
    AddInterfaceRow(category, grid, element.Use, element.FID, readOnly);
    return category;
}

void CRealizedSymbol::AddInterfaceRow(COptionTreeItem* category, COptionTree* grid, const char* currentUse,
                                      int scope, bool readOnly)
{
    COptionTreeComboBoxItem* combo = AddComboRow(category, grid, "Use", LoadResString(61531), readOnly);
    if (!combo)
        return;
    auto add = [combo](const char* text, const char* datum, bool selected) {
        const int at = combo->AddString(text ? text : "");
        combo->SetItemData(at, reinterpret_cast<DWORD_PTR>(datum ? datum : ""));
        if (selected)
            combo->SetCurSel(at);
    };
    const char* current = currentUse ? currentUse : "";
    if (readOnly) {
        dbTypedCursor<ModelT> used(&ModelT::TableInfo);
        if (*current && used.SelectByKey("GUID", current) > 0)
            add(used->Name, used->GUID, true);
        return;
    }
    add("", "", !*current);
    TypeMatchList found;
    found.reserve(100);
    ResolveTypeName(scope, MMC_CLASS, "Interface", nullptr, &found);
    for (const TypeMatch& m : found)
        add(m.name, m.guid, *current && m.guid && std::strcmp(m.guid, current) == 0);
}
