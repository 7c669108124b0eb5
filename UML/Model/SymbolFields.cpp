// The script access of the base handler: rows inserted and updated from
// column/value pairs, straight through the engine and so never journalled.
#include "UML/Model/Symbol.h"

#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "UML/Model/FieldText.h"

#include <cstring>
#include <strings.h>
#include <unordered_set>

namespace {

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

// Applies each pair whose column is not skipped; unknown columns are ignored.
void ApplyPairs(const ColumnValueList& pairs, dbTableInfo* table, void* record, const char* skipped = nullptr)
{
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        if (pairs[i] && !(skipped && strcasecmp(pairs[i], skipped) == 0))
            SetFieldText(pairs[i], pairs[i + 1], table, record);
}

// Whether owner is the element itself or lies below it.
bool IsUnder(int owner, int elementId)
{
    std::unordered_set<int> seen;
    while (owner > 0 && seen.insert(owner).second) {
        if (owner == elementId)
            return true;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", owner) <= 0)
            return false;
        owner = c->FID;
    }
    return false;
}

template <class Row>
bool UpdateRowFields(const char* key, int id, const ColumnValueList& pairs, bool (*refuse)(const Row&, int))
{
    dbTypedCursor<Row> c(&Row::TableInfo, dbCursorForUpdate);
    if (c.SelectByKey(key, id) <= 0)
        return false;
    Row row = *c.GetRecord();
    ApplyPairs(pairs, &Row::TableInfo, &row, "ID");
    if (refuse && refuse(row, id))
        return false;
    return theModelDb.UpdateRecord(c.GetCurrentOid(), &Row::TableInfo, &row);
}

} // namespace

int CSymbol::GetElementField(const ModelT& element, const char* column, char* buffer, int size)
{
    return GetFieldText(column, &ModelT::TableInfo, &element, buffer, size);
}

int CSymbol::InsertElementFields(const ColumnValueList& pairs)
{
    ModelT row;
    row.MMC = MMC_CLASS;
    ApplyPairs(pairs, &ModelT::TableInfo, &row);
    row.ID = row.SN = ++theNextElementId;
    row.Type = metaName;
    char guid[GuidTextLength + 1];
    if (IsEmpty(row.GUID) && MakeGuidText(guid, sizeof guid, TRUE))
        row.GUID = guid;
    theModelDb.InsertRecord(&ModelT::TableInfo, &row);
    return row.ID;
}

bool CSymbol::UpdateElementFields(int elementId, const ColumnValueList& pairs)
{
    return UpdateRowFields<ModelT>("ID", elementId, pairs,
                                   [](const ModelT& row, int id) { return IsUnder(row.FID, id); });
}

int CSymbol::InsertSymbolFields(const ColumnValueList& pairs)
{
    SymbolT row;
    row.MMC = mmc;
    row.MSC = msc;
    ApplyPairs(pairs, &SymbolT::TableInfo, &row);
    row.ID = ++theNextSymbolId;
    row.Type = metaName;
    char sguid[GuidTextLength + 1];
    if (IsEmpty(row.SGUID) && MakeGuidText(sguid, sizeof sguid, FALSE))
        row.SGUID = sguid;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &row);
    return row.ID;
}

bool UpdateSymbolFields(int symbolId, const ColumnValueList& pairs)
{
    return UpdateRowFields<SymbolT>("ID", symbolId, pairs, nullptr);
}
