#include "UML/Symbols/ContainedSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <cstring>

std::vector<oid_t> ContainedOids(int containerId)
{
    std::vector<std::pair<int, oid_t>> rows;
    if (containerId > 0) {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("FID", containerId) > 0)
            do
                rows.emplace_back(c->ID, c.GetCurrentOid());
            while (c.Next());
    }
    std::sort(rows.begin(), rows.end());
    std::vector<oid_t> oids;
    oids.reserve(rows.size());
    for (const auto& row : rows)
        oids.push_back(row.second);
    return oids;
}

bool IsBorderSymbol(const SymbolT& row)
{
    return row.Type && (std::strcmp(row.Type, "Port") == 0 || std::strcmp(row.Type, "Realized") == 0 ||
                        std::strcmp(row.Type, "Required") == 0);
}

std::vector<oid_t> BorderOids(int containerId)
{
    // One pass over the selection: the cursor has each row in hand, so a
    // second fetch per child (and the members a class box holds) is saved.
    std::vector<std::pair<int, oid_t>> ports, ends;
    if (containerId > 0) {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("FID", containerId) > 0)
            do
                if (IsBorderSymbol(*c.GetRecord()))
                    (std::strcmp(c->Type, "Port") == 0 ? ports : ends).emplace_back(c->ID, c.GetCurrentOid());
            while (c.Next());
    }
    std::sort(ports.begin(), ports.end());
    std::sort(ends.begin(), ends.end());
    std::vector<oid_t> oids;
    oids.reserve(ports.size() + ends.size());
    for (const auto& row : ports)
        oids.push_back(row.second);
    for (const auto& row : ends)
        oids.push_back(row.second);
    return oids;
}

bool LayoutContained(oid_t oid, const SymbolT& container, CDC* dc, SymbolT& child)
{
    CSymbol* prototype = nullptr;
    if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || !FindMetaclass(child.Type, prototype) ||
        !prototype->Layout(child, dc, &container))
        return false;
    if (MemDbUpdate(&SymbolT::TableInfo, &child, oid))
        prototype->UpdateAttachedLines(child, dc);
    return true;
}

void DrawContained(const SymbolT& container, CDC* dc)
{
    for (oid_t oid : ContainedOids(container.ID)) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype))
            prototype->Draw(child, dc);
    }
}

bool HitContained(POINT point, const SymbolT& container, HitSymbol& out)
{
    for (oid_t oid : ContainedOids(container.ID)) {
        SymbolT child;
        CSymbol* prototype = nullptr;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype) &&
            prototype->HitTest(point, child, out))
            return true;
    }
    return false;
}

void GrowAround(SymbolT& bounds, const SymbolT& child, int margin)
{
    bounds.x1 = std::min(bounds.x1, child.x1 - margin);
    bounds.x2 = std::max(bounds.x2, child.x2 + margin);
    bounds.y1 = std::min(bounds.y1, child.y1 - margin);
    bounds.y2 = std::max(bounds.y2, child.y2 + margin);
}

int PageDiagramOwner(int pageId)
{
    ModelT page, diagram;
    if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
        return 0;
    return diagram.FID;
}
