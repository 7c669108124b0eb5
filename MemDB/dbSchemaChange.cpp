// Schema changes on an open engine: creating and dropping one field's hash
// or tree index while its table holds rows, and dropping a whole table.
// Each takes the exclusive lock and ends with a commit: the descriptors,
// which a rollback would not restore, and the image stay in step.
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldIndex.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbTableInfo.h"

namespace {

// Whether field is a field of table that may carry an index.
bool Indexable(const dbTableInfo* table, const dbFieldInfo* field)
{
    if (!field || field->defTable != table)
        return false;
    return field->type != dbFieldInfo::tpStructure && field->type != dbFieldInfo::tpArray
        && (field->attr & dbFieldInfo::ComponentOfArray) == 0;
}

// Links field into the list through next, keeping the order of the list of
// all fields.
void LinkField(dbTableInfo* table, dbFieldInfo** head, dbFieldInfo* dbFieldInfo::*next,
               dbFieldInfo* field)
{
    dbFieldInfo** at = head;
    for (dbFieldInfo* fd = table->firstField; fd != field; fd = fd->nextField) {
        if (*at == fd)
            at = &(fd->*next);
    }
    field->*next = *at;
    *at = field;
}

void UnlinkField(dbFieldInfo** head, dbFieldInfo* dbFieldInfo::*next, dbFieldInfo* field)
{
    for (dbFieldInfo** at = head; *at; at = &((*at)->*next)) {
        if (*at == field) {
            *at = field->*next;
            field->*next = nullptr;
            return;
        }
    }
}

} // namespace

bool dbEngine::IsLiveTable(const dbTableInfo* table) const
{
    return table && table->db == this && table->tableId != 0;
}

bool dbEngine::CreateHashIndex(dbTableInfo* table, dbFieldInfo* field)
{
    if (!IsLiveTable(table) || !Indexable(table, field) || field->hashTable != 0
        || field->type == dbFieldInfo::tpRectangle || !BeginTransaction(dbExclusiveLock))
        return false;
    modified = true;
    dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(GetRow(table->tableId)));
    uint32_t nRows = dict.RowCount();
    oid_t first = dict.FirstRow();
    field->hashTable = dbHashIndex::Create(this, 2 * size_t(nRows));
    field->indexType |= dbFieldInfo::HASHED;
    LinkField(table, &table->hashedFields, &dbFieldInfo::nextHashedField, field);
    StoreIndexIdentifiers(table);
    for (oid_t id = first; id != 0; id = reinterpret_cast<const dbRecordHeader*>(GetRow(id))->next)
        FillIndex(field, true, id, nRows + 1);
    Commit();
    return true;
}

bool dbEngine::CreateTreeIndex(dbTableInfo* table, dbFieldInfo* field)
{
    if (!IsLiveTable(table) || !Indexable(table, field) || field->tTree != 0
        || !BeginTransaction(dbExclusiveLock))
        return false;
    modified = true;
    field->tTree = dbFieldIndex::CreateTree(this, field);
    field->indexType |= dbFieldInfo::INDEXED;
    LinkField(table, &table->indexedFields, &dbFieldInfo::nextIndexedField, field);
    StoreIndexIdentifiers(table);
    oid_t id = dbDictionaryRecord(reinterpret_cast<const uint8_t*>(GetRow(table->tableId))).FirstRow();
    for (; id != 0; id = reinterpret_cast<const dbRecordHeader*>(GetRow(id))->next)
        FillIndex(field, false, id, 0);
    Commit();
    return true;
}

bool dbEngine::DropHashIndex(dbTableInfo* table, dbFieldInfo* field)
{
    if (!IsLiveTable(table) || !Indexable(table, field) || field->hashTable == 0
        || !BeginTransaction(dbExclusiveLock))
        return false;
    modified = true;
    field->hashTable = 0;
    field->indexType &= ~dbFieldInfo::HASHED;
    UnlinkField(&table->hashedFields, &dbFieldInfo::nextHashedField, field);
    StoreIndexIdentifiers(table);
    Commit();
    return true;
}

bool dbEngine::DropTreeIndex(dbTableInfo* table, dbFieldInfo* field)
{
    if (!IsLiveTable(table) || !Indexable(table, field) || field->tTree == 0
        || !BeginTransaction(dbExclusiveLock))
        return false;
    modified = true;
    field->tTree = 0;
    field->indexType &= ~dbFieldInfo::INDEXED;
    UnlinkField(&table->indexedFields, &dbFieldInfo::nextIndexedField, field);
    StoreIndexIdentifiers(table);
    Commit();
    return true;
}

bool dbEngine::DropTable(dbTableInfo* table)
{
    if (!IsLiveTable(table) || !BeginTransaction(dbExclusiveLock))
        return false;
    DeleteTable(table);
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField) {
        fd->hashTable = 0;
        fd->tTree = 0;
    }
    StoreIndexIdentifiers(table);
    UnlinkRecord(dbMetatableId, table->tableId);
    UnbindTable(table);
    schemaVersion += 1;  // compiled queries may name the dropped table
    Commit();
    return true;
}
