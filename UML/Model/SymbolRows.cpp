#include "UML/Model/SymbolRows.h"

#include "MemDB/dbCursor.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <vector>

namespace {

bool FetchElement(int id, ModelT& out)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    out = *c.GetRecord();
    return true;
}

} // namespace

int ElementIdOfSymbol(const SymbolT* row)
{
    if (!row || !row->GUID || !*row->GUID)
        return 0;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("GUID", row->GUID) > 0 ? c->ID : 0;
}

void CompletePageSymbols(int pageId)
{
    ModelT page, diagram;
    if (!FetchElement(pageId, page) || !FetchElement(page.FID, diagram))
        return;
    const int diagramOwner = diagram.FID;

    // The rows are collected first: each update may move a record.
    std::vector<oid_t> oids;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                oids.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : oids) {
        SymbolT row;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row) || !FindMetaclass(row.Type, prototype))
            continue;
        int scope;
        if (row.GUID && *row.GUID) {
            dbTypedCursor<ModelT> element(&ModelT::TableInfo);
            if (element.SelectByKey("GUID", row.GUID) <= 0)
                continue;
            scope = element->FID;
        } else {
            scope = prototype->GetOwnerElement(row, diagramOwner);
        }
        row.Syntax = prototype->MakeSyntax(row, scope);
        theModelDb.UpdateRecord(oid, &SymbolT::TableInfo, &row);
    }
}
