#include "UML/Symbols/PackageSymbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

const int kTabWidth = 1000;
const int kTabHeight = 300;
const int kMargin = 300;

// The element that owns the new package: the one the container shows, or the
// owner of the page's diagram; -1 when a row on the way is missing.
int OwnerOf(int pageId, const SymbolT* container)
{
    if (container && container->GUID && *container->GUID)
        return ElementIdOfSymbol(container);
    ModelT page, diagram;
    if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
        return -1;
    return diagram.FID;
}

// Whether element lies on the owner chain of id (id itself included).
bool OwnsOrIs(int element, int id)
{
    std::set<int> visited;
    ModelT row;
    while (id > 0 && visited.insert(id).second) {
        if (id == element)
            return true;
        if (!FetchElementById(id, row))
            return false;
        id = row.FID;
    }
    return false;
}

// Moves the dropped element into owner; false when it must not move there.
bool MoveInto(const std::string& guid, int owner)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo, dbCursorForUpdate);
    if (c.SelectByKey("GUID", guid.c_str()) <= 0)
        return false;
    ModelT element = *c.GetRecord();
    if (element.FID == owner || (element.ItemState & ITEM_FIXED))
        return true;
    if (OwnsOrIs(element.ID, owner))
        return false;
    const int oldOwner = element.FID;
    element.FID = owner;
    if (MemDbUpdate(&ModelT::TableInfo, &element, c.GetCurrentOid())) {
        theShellHooks.MarkModified(oldOwner, 1);
        theShellHooks.MarkModified(owner, 1);
        theShellHooks.RefreshModelTree();
    }
    return true;
}

std::vector<oid_t> ChildRows(int symbolId)
{
    std::vector<oid_t> rows;
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &symbolId).Append(dbFragText, " order by ID");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

} // namespace

int CPackageSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                                 const SymbolT* related)
{
    const int owner = OwnerOf(pageId, related);
    if (owner < 0)
        return 0;
    std::string name, guid;
    if (elementGuid && *elementGuid) {
        guid = elementGuid;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("GUID", elementGuid) <= 0)
            return 0;
        name = c->Name ? c->Name : "";
        if (!MoveInto(guid, owner))
            return 0;
    } else {
        name = text ? text : "";
        if (name.empty()) {
            char buffer[80];
            MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (!CreateElement(owner, name.c_str(), guid.c_str(), nullptr))
            return 0;
    }
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, name.c_str(), guid.c_str(), sguid, related,
                     nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

void CPackageSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SelectSymbolFill(dc, row.Color);
    DrawShadow(row, dc);
    PageRectangle(dc, row.x1, row.y1 - kTabHeight, row.x1 + kTabWidth, row.y1 + DrawResources::PixelSize);
    PageRectangle(dc, row.x1, row.y1, row.x2, row.y2);
    dc->SetTextColor(RGB(0, 0, 0));
    DrawStereotype(dc, row);
    PageTextOut(dc, row.tx1, row.ty1, row.Text ? row.Text : "");
    RestoreSymbolFill(dc, row.Color);
    if (row.ItemState & SYMBOL_HAS_CHILDREN) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        for (oid_t oid : ChildRows(row.ID))
            if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype))
                prototype->Draw(child, dc);
    }
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 0, row.x1, row.y1, row.x2, row.y2);
}

int CPackageSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    const int c = MeasureText(dc, w, h, row.Text);
    int sw = 0, sh = 0;
    MeasureStereotype(sw, sh, row, c);
    row.x2 = std::max(row.x2, row.x1 + std::max(w, sw) + kMargin);
    row.y2 = std::max(row.y2, row.y1 + h + sh + kMargin);
    FitChildren(row, dc);
    row.sterey = row.y1 + DrawResources::PixelSize;
    row.tx1 = (row.x1 + row.x2 - w) / 2;
    row.tx2 = row.tx1 + w;
    row.ty1 = row.sterey + sh;
    row.ty2 = row.ty1 + h;
    return 1;
}

bool CPackageSymbol::FitChildren(SymbolT& row, CDC* dc)
{
    const int p = DrawResources::PixelSize;
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    for (oid_t oid : ChildRows(row.ID)) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || !FindMetaclass(child.Type, prototype))
            continue;
        row.ItemState |= SYMBOL_HAS_CHILDREN;
        if (prototype->Layout(child, dc, &row) && MemDbUpdate(&SymbolT::TableInfo, &child, oid))
            prototype->UpdateAttachedLines(child, dc);
        if (!FindMetaRuleSymbol(modelName, child.Type, nullptr))
            continue;
        row.x1 = std::min(row.x1, child.x1 - p);
        row.x2 = std::max(row.x2, child.x2 + p);
        if (child.y1 - p < row.y1 + kTabHeight)
            row.y1 = child.y1 - p - kTabHeight;
        row.y2 = std::max(row.y2, child.y2 + p);
    }
    return (row.ItemState & SYMBOL_HAS_CHILDREN) != 0;
}

bool CPackageSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    if (row.ItemState & SYMBOL_HAS_CHILDREN) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        for (oid_t oid : ChildRows(row.ID))
            if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype) &&
                prototype->HitTest(p, child, out))
                return true;
    }
    const bool inColumn = p.x >= row.x1 && p.x <= row.x2;
    const bool inBody = p.y >= row.y1 && p.y <= row.y2;
    const bool onTab = p.y >= row.y1 - kTabHeight && p.y < row.y1 && p.x <= row.x1 + kTabWidth;
    if (!inColumn || (!inBody && !onTab))
        return false;
    out.Set(row);
    return true;
}
