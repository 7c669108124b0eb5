#include "UML/Symbols/ChildSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

std::vector<oid_t> ChildRows(int symbolId, const char* type, bool byTop)
{
    std::vector<oid_t> rows;
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &symbolId);
    if (type)
        q.Append(dbFragText, " and Type=").AppendString(type);
    q.Append(dbFragText, byTop ? " order by y1" : " order by ID");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

void DrawChildSymbols(int symbolId, CDC* dc, const char* type)
{
    CSymbol* fixed = nullptr;
    if (type && !FindMetaclass(type, fixed))
        return;
    SymbolT child;
    for (oid_t oid : ChildRows(symbolId, type)) {
        CSymbol* prototype = fixed;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && (prototype || FindMetaclass(child.Type, prototype)))
            prototype->Draw(child, dc);
    }
}

bool HitChildSymbols(POINT point, int symbolId, HitSymbol& out)
{
    SymbolT child;
    CSymbol* prototype = nullptr;
    for (oid_t oid : ChildRows(symbolId))
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) && FindMetaclass(child.Type, prototype) &&
            prototype->HitTest(point, child, out))
            return true;
    return false;
}

bool HitBoundsThenChildren(POINT point, const SymbolT& row, HitSymbol& out)
{
    if (point.x < row.x1 || point.x > row.x2 || point.y < row.y1 || point.y > row.y2)
        return false;
    if ((row.ItemState & SYMBOL_HAS_CHILDREN) && HitChildSymbols(point, row.ID, out))
        return true;
    out.Set(row);
    return true;
}

void StoreLaidOutChild(CSymbol* prototype, SymbolT& child, oid_t oid, CDC* dc)
{
    if (MemDbUpdate(&SymbolT::TableInfo, &child, oid))
        prototype->UpdateAttachedLines(child, dc);
}
