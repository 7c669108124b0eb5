#include "UML/Symbols/ComponentSymbols.h"

#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ContainedSymbols.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

namespace {

const int kDepth = 100;
const COLORREF kStereotypeColour = 0xFF0000;

bool Inside(POINT p, const SymbolT& row)
{
    return p.x >= std::min(row.x1, row.x2) && p.x <= std::max(row.x1, row.x2) && p.y >= std::min(row.y1, row.y2) &&
           p.y <= std::max(row.y1, row.y2);
}

// Whether the element ancestor is element or one of its owners.
bool OwnsOrIs(int ancestor, int element)
{
    std::unordered_set<int> seen;
    ModelT row;
    for (int id = element; id > 0 && seen.insert(id).second; id = row.FID) {
        if (id == ancestor)
            return true;
        if (!FetchElementById(id, row))
            return false;
    }
    return false;
}

void Handles(const SymbolT& row, CDC* dc)
{
    if (row.ItemState & SYMBOL_CHECKED) {
        HotSpotList::SetOwner(row.ID);
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
    }
}

void DrawText(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
}

int InsertBox(CSymbol& prototype, POINT start, POINT end, int pageId, const std::string& text,
              const std::string& guid, const std::string& model, const SymbolT* container)
{
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    record.Model = model.empty() ? nullptr : model.c_str();
    prototype.FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, text.c_str(), guid.c_str(), sguid,
                               container, nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

// A new element of prototype's kind under owner named text (a default name
// when empty); its GUID, empty when refused.
std::string NewElement(CSymbol& prototype, int owner, std::string& text)
{
    if (text.empty()) {
        char buffer[80];
        prototype.MakeDefaultName(buffer, sizeof buffer);
        text = buffer;
    }
    char made[GuidTextLength + 1];
    if (!MakeGuidText(made, sizeof made, TRUE) || !prototype.CreateElement(owner, text.c_str(), made, nullptr))
        return std::string();
    return made;
}

} // namespace

int CComponentSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                   const char* elementGuid, const SymbolT* related)
{
    const int container = ElementIdOfSymbol(related);
    const int owner = container > 0 ? container : PageDiagramOwner(pageId);
    if (owner <= 0)
        return 0;
    std::string name = text ? text : "", guid, model;
    if (!IsEmpty(elementGuid)) {
        ModelT dropped;
        oid_t oid = 0;
        {
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (c.SelectByKey("GUID", elementGuid) <= 0)
                return 0;
            dropped = *c.GetRecord();
            oid = c.GetCurrentOid();
        }
        guid = elementGuid;
        name = dropped.Name ? dropped.Name : "";
        if (!IsEmpty(dropped.Type) && std::strcmp(dropped.Type, modelName) != 0)
            model = dropped.Type;
        ModelT target;
        if (MovesDropped() && container > 0 && dropped.FID != container && FetchElementById(container, target)) {
            // Under its own descendant the element would hang in a loop that
            // no browser or unit reaches.
            if (OwnsOrIs(dropped.ID, container))
                return 0;
            // A read-only element (a library's) is never saved after a move:
            // it is shown where it is.
            if (!(dropped.ItemState & ITEM_FIXED) && !(target.ItemState & ITEM_FIXED)) {
                dropped.FID = container;
                MemDbUpdate(&ModelT::TableInfo, &dropped, oid);
                theShellHooks.RefreshModelTree();
            }
        }
    } else {
        guid = NewElement(*this, owner, name);
        if (guid.empty())
            return 0;
    }
    return InsertBox(*this, start, end, pageId, name, guid, model, related);
}

void CComponentSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawPlainBox(row, dc, true);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawContained(row, dc);
}

int CComponentSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int tw = 0, th = 0;
    const int c = MeasureText(dc, tw, th, row.Text);
    int sw = 0, sh = theSysConfig.m_nSmallFontSize;
    MeasureStereotype(sw, sh, row, c);
    row.x2 = std::max(row.x2, row.x1 + std::max(tw, sw) + 300);
    row.y2 = std::max(row.y2, row.y1 + th + sh + 300);
    ArrangeAttached(row, dc);
    row.sterey = row.y1 + p;
    row.tx1 = (row.x1 + row.x2 - tw) / 2;
    row.tx2 = row.tx1 + tw;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + th;
    return 1;
}

bool CComponentSymbol::ArrangeAttached(SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    std::vector<oid_t> inner;
    for (oid_t oid : ContainedOids(row.ID)) {
        SymbolT child;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && !IsBorderSymbol(child))
            inner.push_back(oid);
    }
    const std::vector<oid_t> border = BorderOids(row.ID);
    inner.insert(inner.end(), border.begin(), border.end());
    for (oid_t oid : inner) {
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (!LayoutContained(oid, row, dc, child) && !theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
            continue;
        if (GrowsAround(child, FindMetaclass(child.Type, prototype)))
            GrowAround(row, child, p);
    }
    return !inner.empty();
}

bool CComponentSymbol::GrowsAround(const SymbolT& child, bool hasPrototype) const
{
    return hasPrototype && !IsBorderSymbol(child);
}

bool CCompositionSymbol::GrowsAround(const SymbolT& child, bool) const
{
    return child.Type && std::strcmp(child.Type, "Part") == 0;
}

bool CComponentSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitContained(point, row, out))
        return true;
    if (!Inside(point, row))
        return false;
    out.Set(row);
    return true;
}

bool CComponentSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    return CSymbol::ApplySymbolProperties(symbolId, row, category);
}

void CNodeSymbol::Draw(const SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    SelectSymbolFill(dc, row.Color);
    PageRectangle(dc, row.x1, row.y1, row.x2 + p, row.y2 + p);
    PageMoveTo(dc, row.x1, row.y1);
    PageLineTo(dc, row.x1 + kDepth, row.y1 - kDepth);
    PageLineTo(dc, row.x2 + kDepth, row.y1 - kDepth);
    PageLineTo(dc, row.x2 + kDepth, row.y2 - kDepth);
    PageLineTo(dc, row.x2, row.y2);
    PageMoveTo(dc, row.x2 + kDepth, row.y1 - kDepth);
    PageLineTo(dc, row.x2, row.y1);
    DrawStereotype(dc, row);
    DrawText(row, dc);
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawContained(row, dc);
    Handles(row, dc);
}

int CSubjectSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                 const char* elementGuid, const SymbolT*)
{
    std::string name = text ? text : "", guid, model;
    if (!IsEmpty(elementGuid)) {
        ModelT dropped;
        if (!FetchElementByGuid(elementGuid, dropped))
            return 0;
        guid = elementGuid;
        name = dropped.Name ? dropped.Name : "";
        if (!IsEmpty(dropped.Type) && std::strcmp(dropped.Type, modelName) != 0)
            model = dropped.Type;
    } else {
        const int owner = PageDiagramOwner(pageId);
        if (owner <= 0)
            return 0;
        guid = NewElement(*this, owner, name);
        if (guid.empty())
            return 0;
    }
    return InsertBox(*this, start, end, pageId, name, guid, model, nullptr);
}

void CSubjectSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawShadow(row, dc);
    PageBorderRect(dc, row.x1, row.y1, row.x2, row.y2);
    DrawStereotype(dc, row);
    PageTextOut(dc, row.tx1, row.ty1, row.Text ? row.Text : "");
    if (row.ItemState & SYMBOL_CHECKED) {
        if (IsEmpty(row.Text))
            PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
        Handles(row, dc);
    }
    if (row.ItemState & SYMBOL_HAS_CHILDREN)
        DrawContained(row, dc);
}

void CSubjectSymbol::DrawStereotype(CDC* dc, const SymbolT& row)
{
    const std::string byDefault = DefaultStereotypeOf(row);
    ModelT own;
    const bool hasOwn = FetchElementByGuid(row.Stereotype, own);
    if (byDefault.empty() && !hasOwn)
        return;
    CFont* oldFont = dc->SelectObject(&DrawResources::SmallFont);
    const COLORREF oldColour = dc->SetTextColor(kStereotypeColour);
    int y = row.sterey;
    if (!byDefault.empty()) {
        PageTextOut(dc, row.tx1, y, ("<<" + byDefault + ">>").c_str());
        y += theSysConfig.m_nSmallFontSize;
    }
    if (hasOwn)
        PageTextOut(dc, row.tx1, y, ("<<" + std::string(own.Name ? own.Name : "") + ">>").c_str());
    dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
}

int CSubjectSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    const int p = DrawResources::PixelSize;
    int tw = 0, th = 0;
    const int c = MeasureText(dc, tw, th, row.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, row, c);
    row.x2 = std::max(row.x2, row.x1 + std::max(tw, sw) + 600);
    row.y2 = std::max(row.y2, row.y1 + sh + th + 600);
    const std::vector<oid_t> children = ContainedOids(row.ID);
    row.ItemState = int16_t(children.empty() ? row.ItemState & ~SYMBOL_HAS_CHILDREN
                                             : row.ItemState | SYMBOL_HAS_CHILDREN);
    for (oid_t oid : children) {
        SymbolT child;
        if (LayoutContained(oid, row, dc, child))
            GrowAround(row, child, p);
    }
    row.tx1 = row.x1 + 150;
    row.tx2 = row.tx1 + tw;
    row.sterey = row.y1 + 150;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + th;
    return 1;
}

bool CSubjectSymbol::HitTest(POINT point, const SymbolT& row, HitSymbol& out)
{
    if (!Inside(point, row))
        return false;
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitContained(point, row, out))
        return true;
    out.Set(row);
    return true;
}

bool CSubjectSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    return CSymbol::ApplySymbolProperties(symbolId, row, category);
}
