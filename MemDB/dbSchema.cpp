// Schema load at open: binding the static table descriptors to their
// dictionary records, adding new tables, converting tables whose stored
// layout differs from their descriptor, and creating or dropping indices.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldIndex.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbNameTable.h"
#include "MemDB/dbTableInfo.h"

namespace {

uint8_t* Bytes(char* p)
{
    return reinterpret_cast<uint8_t*>(p);
}

} // namespace

void dbEngine::BindTable(dbTableInfo* table, oid_t tableId)
{
    table->db = this;
    table->tableId = tableId;
    table->nextDbTable = tables;
    tables = table;
    size_t bucket = reinterpret_cast<uintptr_t>(table->name) % dbTableHashSize;
    table->collisionChain = tableHash[bucket];
    tableHash[bucket] = table;
}

void dbEngine::UnbindTable(dbTableInfo* table)
{
    size_t bucket = reinterpret_cast<uintptr_t>(table->name) % dbTableHashSize;
    for (dbTableInfo** at = &tableHash[bucket]; *at; at = &(*at)->collisionChain) {
        if (*at == table) {
            *at = table->collisionChain;
            break;
        }
    }
    table->collisionChain = nullptr;
    table->tableId = 0;
}

dbTableInfo* dbEngine::FindTableByInternedName(const char* name) const
{
    size_t bucket = reinterpret_cast<uintptr_t>(name) % dbTableHashSize;
    for (dbTableInfo* t = tableHash[bucket]; t; t = t->collisionChain) {
        if (t->name == name)
            return t;
    }
    return nullptr;
}

dbTableInfo* dbEngine::FindTable(const char* name) const
{
    const char* interned = dbNameTable::Instance().Find(name);
    return interned != nullptr ? FindTableByInternedName(interned) : nullptr;
}

int dbEngine::LoadDictionary()
{
    if (!BeginTransaction(dbSharedLock))
        return 0;
    std::vector<dbTableInfo*> made;
    dbDictionaryRecord meta(Bytes(GetRow(dbMetatableId)));
    oid_t row = meta.FirstRow();
    for (uint32_t i = 0; i < meta.RowCount() && row != 0; ++i) {
        bool bound = false;
        for (dbTableInfo* t = tables; t && !bound; t = t->nextDbTable)
            bound = t->tableId == row;
        if (!bound) {
            if (dbTableInfo* t = dbTableInfo::FromDictionary(this, Bytes(GetRow(row)))) {
                BindTable(t, row);
                made.push_back(t);
            }
        }
        row = reinterpret_cast<const dbRecordHeader*>(GetRow(row))->next;
    }
    ResolveReferences();
    for (dbTableInfo* t : made)
        t->CheckInverseReferences();
    schemaVersion += 1;
    return static_cast<int>(made.size());
}

dbTableInfo* dbEngine::FindBoundTable(dbTableInfo* table) const
{
    for (dbTableInfo* t = tables; t; t = t->nextDbTable) {
        if (t == table || t->cloneOf == table)
            return t;
    }
    return nullptr;
}

void dbEngine::UnbindTables()
{
    for (dbTableInfo* t = tables; t;) {
        dbTableInfo* next = t->nextDbTable;
        t->tableId = 0;
        t->nextDbTable = nullptr;
        t->collisionChain = nullptr;
        if (!t->isStatic)
            delete t;
        else if (!t->fixedDatabase)
            t->db = nullptr;
        t = next;
    }
    tables = nullptr;
    memset(tableHash, 0, sizeof tableHash);
}

oid_t dbEngine::AddTableRecord(dbTableInfo* table)
{
    size_t size = table->DictionaryRecordSize();
    oid_t id = AllocateIds(1);
    LinkRecord(dbMetatableId, id, size);
    BindTable(table, id);
    table->WriteDictionaryRecord(Bytes(GetRow(id)));
    return id;
}

void dbEngine::UpdateTableRecord(dbTableInfo* table, oid_t row)
{
    BindTable(table, row);
    dbDictionaryRecord stored(Bytes(GetRow(row)));
    uint32_t nRows = stored.RowCount(), first = stored.FirstRow(), last = stored.LastRow();
    struct Index {
        oid_t hash, tree;
        int type;
    };
    std::vector<Index> dropped;
    for (uint32_t i = 0; i < stored.FieldCount(); ++i) {
        const uint8_t* f = stored.Field(i);
        dropped.push_back({dbGet32(f, dbFieldRecHashTable), dbGet32(f, dbFieldRecTTree),
                           static_cast<int>(dbGet32(f, dbFieldRecType) & 0xFF)});
    }
    for (const Index& index : dropped) {
        if (index.hash != 0)
            dbHashIndex::Drop(this, index.hash);
        if (index.tree != 0)
            dbFieldIndex::DropTree(this, index.type, index.tree);
    }
    char* rec = PlaceRecord(row, table->DictionaryRecordSize());
    table->WriteDictionaryRecord(Bytes(rec));
    dbPut32(rec, dbDictRows, nRows);
    dbPut32(rec, dbDictFirstRow, first);
    dbPut32(rec, dbDictLastRow, last);
}

void dbEngine::ConvertTable(oid_t row, dbTableInfo* table)
{
    if (table->MatchStored(Bytes(MakePrivate(row)))) {
        UpdateTableRecord(table, row);
        return;
    }
    oid_t id = dbDictionaryRecord(Bytes(GetRow(row))).FirstRow();
    UpdateTableRecord(table, row);
    std::vector<uint8_t> old;
    while (id != 0) {
        const char* rec = GetRow(id);
        old.assign(rec, rec + reinterpret_cast<const dbRecordHeader*>(rec)->size);
        size_t size = dbFieldInfo::ConvertedSize(table->columns, old.data(), table->fixedSize);
        char* place = PlaceRecord(id, size);
        memset(place + sizeof(dbRecordHeader), 0, size - sizeof(dbRecordHeader));
        dbFieldInfo::ConvertRecord(table->columns, Bytes(place), old.data(), table->fixedSize);
        id = reinterpret_cast<const dbRecordHeader*>(GetRow(id))->next;
    }
}

bool dbEngine::AlterIndices(bool alter, dbTableInfo* table)
{
    bool shared = IsShared(table->tableId);
    uint32_t nRows = dbDictionaryRecord(Bytes(GetRow(table->tableId))).RowCount();
    bool changed = false;
    struct Build {
        dbFieldInfo* field;
        bool hash;
    };
    std::vector<Build> built;
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField) {
        if (fd->type == dbFieldInfo::tpStructure)
            continue;
        bool wantsHash = (fd->indexType & dbFieldInfo::HASHED) != 0;
        bool wantsTree = (fd->indexType & dbFieldInfo::INDEXED) != 0;
        if (wantsHash != (fd->hashTable != 0) || wantsTree != (fd->tTree != 0)) {
            if (!alter && shared)
                return false;
        }
        if (wantsHash && fd->hashTable == 0) {
            fd->hashTable = dbHashIndex::Create(this, 2 * size_t(nRows));
            fd->indexType |= dbFieldInfo::BEING_BUILT;
            built.push_back({fd, true});
        } else if (!wantsHash && fd->hashTable != 0) {
            fd->hashTable = 0;
            changed = true;
        }
        if (wantsTree && fd->tTree == 0) {
            fd->tTree = dbFieldIndex::CreateTree(this, fd);
            fd->indexType |= dbFieldInfo::BEING_BUILT;
            built.push_back({fd, false});
        } else if (!wantsTree && fd->tTree != 0) {
            fd->tTree = 0;
            changed = true;
        }
    }
    if (!built.empty()) {
        modified = true;
        oid_t id = dbDictionaryRecord(Bytes(GetRow(table->tableId))).FirstRow();
        for (; id != 0; id = reinterpret_cast<const dbRecordHeader*>(GetRow(id))->next) {
            for (const Build& b : built)
                FillIndex(b.field, b.hash, id, nRows);
        }
        for (const Build& b : built)
            b.field->indexType &= ~dbFieldInfo::BEING_BUILT;
    }
    if (!built.empty() || changed)
        StoreIndexIdentifiers(table);
    return true;
}

void dbEngine::FillIndex(const dbFieldInfo* fd, bool hash, oid_t id, size_t growthLimit)
{
    if (hash)
        dbHashIndex::Insert(this, fd->hashTable, id, fd->type, fd->dbsSize, fd->dbsOffs,
                            growthLimit);
    else
        dbFieldIndex::InsertIntoTree(this, fd, id);
}

void dbEngine::StoreIndexIdentifiers(dbTableInfo* table)
{
    MakePrivate(table->tableId);
    uint32_t i = 0;
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField, ++i) {
        auto field = [&] {
            return const_cast<uint8_t*>(dbDictionaryRecord(Bytes(GetRow(table->tableId))).Field(i));
        };
        int type = static_cast<int>(dbGet32(field(), dbFieldRecType) & 0xFF);
        oid_t hash = dbGet32(field(), dbFieldRecHashTable);
        if (hash != fd->hashTable) {
            if (hash != 0)
                dbHashIndex::Drop(this, hash);
            dbPut32(field(), dbFieldRecHashTable, fd->hashTable);
        }
        oid_t tree = dbGet32(field(), dbFieldRecTTree);
        if (tree != fd->tTree) {
            if (tree != 0)
                dbFieldIndex::DropTree(this, type, tree);
            dbPut32(field(), dbFieldRecTTree, fd->tTree);
        }
    }
}

void dbEngine::ResolveReferences()
{
    for (dbTableInfo* t = tables; t; t = t->nextDbTable) {
        for (dbFieldInfo* fd = t->firstField; fd; fd = fd->nextField) {
            if (fd->refTableName)
                fd->refTable = FindTableByInternedName(fd->refTableName);
        }
    }
}

bool dbTableInfo::CheckInverseReferences()
{
    bool ok = true;
    char message[1024];
    for (dbFieldInfo* fd = inverseFields; fd; fd = fd->nextInverseField) {
        dbFieldInfo* refField = fd->type == dbFieldInfo::tpArray ? fd->components : fd;
        dbTableInfo* ref = refField->refTable;
        if (!ref) {
            snprintf(message, sizeof message, "Failed to locate referenced table %s",
                     refField->refTableName ? refField->refTableName : "");
            db->HandleError(dbInconsistentInverseReference, message);
            ok = false;
            continue;
        }
        dbFieldInfo* inv = ref->FindInternedField(fd->inverseRefName);
        if (!inv) {
            snprintf(message, sizeof message,
                     "Failed to locate inverse reference field %s.%s for field %s.%s", ref->name,
                     fd->inverseRefName, name, fd->longName);
            db->HandleError(dbInconsistentInverseReference, message);
            ok = false;
            continue;
        }
        fd->inverseRef = inv;
        if (inv->inverseRefName != fd->name) {
            snprintf(message, sizeof message,
                     "Inverse references for field %s.%s is %s.%s, but its inverse reference is %s",
                     name, fd->longName, ref->name, fd->inverseRefName,
                     inv->inverseRefName ? inv->inverseRefName : "");
            db->HandleError(dbInconsistentInverseReference, message);
            ok = false;
        }
    }
    return ok;
}

bool dbEngine::LoadSchema(bool alter)
{
    schemaVersion += 1;  // compiled queries hold descriptors and offsets of the old schema
    bool writable = accessType == dbAllAccess || accessType == dbConcurrentUpdate;
    bool exclusive = (alter && writable) || accessType == dbConcurrentUpdate;
    if (!BeginTransaction(exclusive ? dbExclusiveLock : dbSharedLock))
        return false;
    dbCriticalSection guard(dbTableInfo::GetDescriptorChainLock());
    for (dbTableInfo* desc = dbStaticTableChain; desc; desc = desc->next) {
        dbTableInfo* table = desc;
        if (desc->db == dbTableInfo::Detached)
            table = desc->CloneFor();
        else if (desc->db && desc->db != this)
            continue;
        for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField) {
            fd->hashTable = fd->tTree = 0;
            fd->attr &= ~dbFieldInfo::Updated;
        }

        dbDictionaryRecord meta(Bytes(GetRow(dbMetatableId)));
        uint32_t nTables = meta.RowCount();
        oid_t found = 0;
        oid_t row = meta.FirstRow();
        for (uint32_t i = 0; i < nTables && row != 0; ++i) {
            if (!IsLiveRecord(row)) {
                HandleError(dbDatabaseOpenError, "Database scheme is corrupted");
                if (table != desc)
                    delete table;
                UnbindTables();
                return false;
            }
            if (strcmp(dbDictionaryRecord(Bytes(GetRow(row))).Name(), table->name) == 0) {
                found = row;
                break;
            }
            row = reinterpret_cast<const dbRecordHeader*>(GetRow(row))->next;
        }

        const char* failure = nullptr;
        if (found) {
            if (table->EqualsStored(Bytes(GetRow(found)))) {
                BindTable(table, found);
            } else if (!alter) {
                failure = "Incompatible class definition in application";
            } else {
                BeginTransaction(dbExclusiveLock);
                modified = true;
                if (dbDictionaryRecord(Bytes(GetRow(found))).RowCount() != 0) {
                    ConvertTable(found, table);
                } else {
                    table->MatchStored(Bytes(MakePrivate(found)));
                    UpdateTableRecord(table, found);
                }
            }
            if (!failure)
                table->SetIndexFlagsFromStored();
        } else if (!writable) {
            dbTrace("Table '%s' can not be added to the read-only database\n", table->name);
            failure = "New table definition can not be added to read only database";
        } else {
            AddTableRecord(table);
            modified = true;
        }
        if (!failure && writable && !AlterIndices(alter, table)) {
            HandleError(dbDatabaseOpenError, "Failed to alter indices with active applications");
            Rollback();
            if (table->tableId == 0 && table != desc)
                delete table;
            UnbindTables();
            return false;
        }
        if (failure) {
            HandleError(dbDatabaseOpenError, failure);
            if (table != desc)
                delete table;
            UnbindTables();
            return false;
        }
    }
    ResolveReferences();
    for (dbTableInfo* t = tables; t; t = t->nextDbTable)
        t->CheckInverseReferences();
    keyHash = dbHashIndex::FunctionFor(GetVersion());
    Commit();
    return true;
}
