#include "UML/Model/ElementPath.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"

#include <unordered_set>

void GetElementPath(std::string& path, int elementId)
{
    std::unordered_set<int> named;
    while (elementId > 0 && named.insert(elementId).second) {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", elementId) <= 0)
            return;
        const char* name = c->Name ? c->Name : "";
        path = path.empty() ? std::string(name) : std::string(name) + "/" + path;
        elementId = c->FID;
    }
}

void GetSymbolPagePath(std::string& path, int symbolId)
{
    if (symbolId < 1)
        return;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("ID", symbolId) > 0)
        GetElementPath(path, c->PID);
}
