// Record operations: insert, update, remove and fetch, the row lists of the
// tables, the upkeep of the indices and of inverse references, and the
// refresh of the calling thread's cursors.
//
// Addresses into the image are taken afresh after every call that may
// allocate. Record places given up inside a transaction are freed only at
// commit, so that texts fetched from a record stay readable until then.
#include <algorithm>
#include <cstring>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldIndex.h"
#include "MemDB/dbTableInfo.h"
#include "MemDB/dbTreeIndex.h"

namespace {

dbRecordHeader* Header(char* p)
{
    return reinterpret_cast<dbRecordHeader*>(p);
}

uint8_t* Bytes(char* p)
{
    return reinterpret_cast<uint8_t*>(p);
}

// The references a field holds in a stored record.
std::vector<oid_t> StoredReferences(const dbFieldInfo* fd, const uint8_t* rec)
{
    std::vector<oid_t> refs;
    if (fd->type == dbFieldInfo::tpArray) {
        uint32_t n = dbGet32(rec, fd->dbsOffs);
        uint32_t at = dbGet32(rec, fd->dbsOffs + 4);
        for (uint32_t i = 0; i < n; ++i)
            refs.push_back(dbGet32(rec, at + 4 * i));
    } else {
        refs.push_back(dbGet32(rec, fd->dbsOffs));
    }
    return refs;
}

// The references a field holds in an application record.
std::vector<oid_t> AppReferences(const dbFieldInfo* fd, const uint8_t* app)
{
    std::vector<oid_t> refs;
    if (fd->appType == dbFieldInfo::tpArray) {
        auto* a = reinterpret_cast<const dbAnyArray*>(app + fd->appOffs);
        auto* items = static_cast<const dbReference*>(a->data);
        for (uint32_t i = 0; i < a->used; ++i)
            refs.push_back(items[i].oid);
    } else {
        refs.push_back(reinterpret_cast<const dbReference*>(app + fd->appOffs)->oid);
    }
    return refs;
}

bool Contains(const std::vector<oid_t>& v, oid_t id)
{
    return std::find(v.begin(), v.end(), id) != v.end();
}

// What a new or rewritten record of its size may take: the record, a copy
// of its row-list neighbour and dictionary, and index nodes.
size_t RoomForRecord(size_t size)
{
    return 2 * size + 16 * dbPageSize;
}

} // namespace

// While the image can still grow by twice that much, there is room. Near
// the limit, a place of that size, taken and given back at once, shows that
// the allocator finds the room below it.
void dbEngine::CheckRoomFor(size_t bytes)
{
    if (pastLimitAllowed || header->size + 2 * bytes <= sizeLimit)
        return;
    offs_t probe = AllocateSpace(bytes);
    FreeSpace(probe, bytes);
}

size_t dbEngine::ObjectSize(oid_t id) const
{
    oid_t entry = currIndex[id];
    uint32_t kind = entry & dbFlagsMask;
    if (kind == dbRecordKind)
        return Header(baseAddr + (entry & ~dbFlagsMask))->size;
    return dbInternalObjectSize(kind);
}

bool dbEngine::IsLiveRecord(oid_t id) const
{
    return id != 0 && id < currIndexSize && !(currIndex[id] & dbFreeHandleFlag)
        && (currIndex[id] & dbFlagsMask) == dbRecordKind && currIndex[id] != 0;
}

bool dbEngine::IsRecordOf(oid_t id, const dbTableInfo* table) const
{
    if (!table || table->db != this || table->tableId == 0 || id < dbFirstUserId
        || !IsLiveRecord(id) || !IsLiveRecord(table->tableId)) {
        return false;
    }
    const char* rec = GetRow(id);
    uint32_t size = Header(const_cast<char*>(rec))->size;
    if (size < table->fixedSize)
        return false;
    // One look-up where every thread sees one state (dbRowOwners.cpp).
    if (RowOwnersUsable())
        return RowOwner(id) == table->tableId;
    // A row of the table is in each of its tree indices under its key: a
    // hit there settles it in logarithmic time. Keys shared by many rows
    // and misses fall back to the row list.
    for (dbFieldInfo* fd = table->indexedFields; fd; fd = fd->nextIndexedField) {
        if (fd->tTree == 0 || fd->type == dbFieldInfo::tpRectangle)
            continue;
        const void* key = rec + fd->dbsOffs;
        if (fd->type == dbFieldInfo::tpString) {
            uint32_t len = dbGet32(rec, fd->dbsOffs), at = dbGet32(rec, fd->dbsOffs + 4);
            if (len == 0 || at > size || len > size - at || rec[at + len - 1] != 0)
                return false;
            key = rec + at;
        }
        int found = dbTreeIndex::Contains(const_cast<dbEngine*>(this), fd->tTree, id, key,
                                          fd->type, fd->dbsSize, fd->comparator, fd->dbsOffs);
        if (found > 0)
            return true;
        if (found == 0)
            break;
    }
    // Walk the row list both ways until an end is reached; the record is a
    // row of the table when that end is the table's first or last row.
    dbDictionaryRecord dict(Bytes(GetRow(table->tableId)));
    oid_t back = id, forth = id;
    for (uint32_t steps = 0; steps <= dict.RowCount(); ++steps) {
        oid_t prev = Header(GetRow(back))->prev;
        if (prev == 0)
            return back == dict.FirstRow();
        oid_t next = Header(GetRow(forth))->next;
        if (next == 0)
            return forth == dict.LastRow();
        if (!IsLiveRecord(prev) || !IsLiveRecord(next))
            return false;
        back = prev;
        forth = next;
    }
    return false;
}

char* dbEngine::MakePrivate(oid_t id)
{
    if (IsShared(id)) {
        SetDirty(id);
        offs_t old = currIndex[id] & ~dbFlagsMask;
        size_t size = ObjectSize(id);
        AllocateSpace(size, id);
        CopyBitmapPages(old, size);
    }
    return GetRow(id);
}

oid_t dbEngine::AllocateObject(dbObjectKind kind)
{
    oid_t id = AllocateIds(1);
    offs_t offs = AllocateSpace(dbInternalObjectSize(kind));
    currIndex[id] = offs | kind;
    return id;
}

void dbEngine::FreeObject(oid_t id)
{
    offs_t offs = currIndex[id] & ~dbFlagsMask;
    size_t size = ObjectSize(id);
    if (IsShared(id))
        CopyBitmapPages(offs, size);
    else
        FreeSpace(offs, size);
    FreeIds(id, 1);
}

void dbEngine::ReleaseRecordSpace(oid_t id)
{
    offs_t offs = currIndex[id] & ~dbFlagsMask;
    size_t size = Header(GetRow(id))->size;
    if (IsShared(id))
        CopyBitmapPages(offs, size);
    else
        deferredAreas.push_back({offs, size});
}

void dbEngine::FreeDeferredSpace()
{
    std::vector<dbDeferredArea> areas;
    areas.swap(deferredAreas);
    for (const dbDeferredArea& area : areas)
        FreeSpace(area.offset, area.size);
}

char* dbEngine::PlaceRecord(oid_t id, size_t newSize)
{
    offs_t old = currIndex[id] & ~dbFlagsMask;
    dbRecordHeader links = *Header(GetRow(id));
    if (IsShared(id)) {
        SetDirty(id);
        offs_t place = AllocateSpace(newSize);
        CopyBitmapPages(old, links.size);
        currIndex[id] = place;
    } else if (dbAlignUp(static_cast<uint32_t>(newSize), dbAllocationQuantum)
               != dbAlignUp(links.size, dbAllocationQuantum)) {
        offs_t place = AllocateSpace(newSize);
        deferredAreas.push_back({old, links.size});
        currIndex[id] = place;
    }
    dbRecordHeader* hdr = Header(GetRow(id));
    hdr->size = static_cast<uint32_t>(newSize);
    hdr->next = links.next;
    hdr->prev = links.prev;
    return GetRow(id);
}

void dbEngine::LinkRecord(oid_t tableId, oid_t id, size_t size)
{
    offs_t place = AllocateSpace(size);
    currIndex[id] = place;
    MakePrivate(tableId);
    oid_t last = dbGet32(GetRow(tableId), dbDictLastRow);
    if (last != 0)
        Header(MakePrivate(last))->next = id;
    dbRecordHeader* hdr = Header(GetRow(id));
    hdr->size = static_cast<uint32_t>(size);
    hdr->next = 0;
    hdr->prev = last;
    char* dict = GetRow(tableId);
    if (last == 0)
        dbPut32(dict, dbDictFirstRow, id);
    dbPut32(dict, dbDictLastRow, id);
    dbPut32(dict, dbDictRows, dbGet32(dict, dbDictRows) + 1);
    SetRowOwner(id, tableId);
}

void dbEngine::UnlinkRecord(oid_t tableId, oid_t id)
{
    MakePrivate(tableId);
    dbRecordHeader links = *Header(GetRow(id));
    char* dict = GetRow(tableId);
    dbPut32(dict, dbDictRows, dbGet32(dict, dbDictRows) - 1);
    if (links.prev == 0)
        dbPut32(dict, dbDictFirstRow, links.next);
    if (links.next == 0)
        dbPut32(dict, dbDictLastRow, links.prev);
    if (links.prev != 0)
        Header(MakePrivate(links.prev))->next = links.next;
    if (links.next != 0)
        Header(MakePrivate(links.next))->prev = links.prev;
    SetRowOwner(id, 0);
    ReleaseRecordSpace(id);
    FreeIds(id, 1);
}

void dbEngine::InsertIntoIndices(dbTableInfo* table, oid_t id, bool updatedOnly)
{
    // A new row may grow a hash index up to the table's row count; a
    // re-keyed one never does.
    size_t growthLimit = updatedOnly ? 0 : dbGet32(GetRow(table->tableId), dbDictRows);
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField) {
        if (updatedOnly && !(fd->attr & dbFieldInfo::Updated))
            continue;
        dbFieldIndex::Insert(this, fd, id, growthLimit);
    }
}

void dbEngine::RemoveFromIndices(dbTableInfo* table, oid_t id, bool updatedOnly)
{
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField) {
        if (updatedOnly && !(fd->attr & dbFieldInfo::Updated))
            continue;
        dbFieldIndex::Remove(this, fd, id);
    }
}

oid_t dbEngine::InsertRecord(dbTableInfo* table, const void* record)
{
    if (!table || table->db != this || table->tableId == 0 || !record)
        return 0;
    if (!BeginTransaction(dbExclusiveLock))
        return 0;
    auto* app = static_cast<const uint8_t*>(record);
    size_t size = dbFieldInfo::StoredSize(table->columns, app, table->fixedSize);
    CheckRoomFor(RoomForRecord(size));
    LimitWaiver waiver(*this);
    modified = true;
    oid_t id = AllocateIds(1);
    LinkRecord(table->tableId, id, size);
    dbFieldInfo::StoreRecordFields(table->columns, Bytes(GetRow(id)), app, table->fixedSize);
    for (dbFieldInfo* fd = table->inverseFields; fd; fd = fd->nextInverseField) {
        std::vector<oid_t> refs = StoredReferences(fd, Bytes(GetRow(id)));
        for (size_t i = refs.size(); i-- > 0;) {
            if (refs[i] != 0)
                AddInverseReference(fd, id, refs[i]);
        }
    }
    InsertIntoIndices(table, id, false);
    return id;
}

bool dbEngine::UpdateRecord(oid_t id, dbTableInfo* table, const void* record)
{
    if (!record || !IsRecordOf(id, table))
        return false;
    if (!BeginTransaction(dbExclusiveLock))
        return false;
    auto* app = static_cast<const uint8_t*>(record);
    size_t size = dbFieldInfo::StoredSize(table->columns, app, table->fixedSize);
    CheckRoomFor(RoomForRecord(size));
    LimitWaiver waiver(*this);
    dbFieldInfo::MarkUpdatedFields(table->columns, Bytes(GetRow(id)), app);

    updatedRecordId = id;
    for (dbFieldInfo* fd = table->inverseFields; fd; fd = fd->nextInverseField) {
        std::vector<oid_t> oldRefs = StoredReferences(fd, Bytes(GetRow(id)));
        std::vector<oid_t> newRefs = AppReferences(fd, app);
        for (oid_t x : oldRefs) {
            if (x != 0 && !Contains(newRefs, x))
                RemoveInverseReference(fd, id, x);
        }
        for (oid_t x : newRefs) {
            if (x != 0 && !Contains(oldRefs, x))
                AddInverseReference(fd, id, x);
        }
    }
    updatedRecordId = 0;

    RemoveFromIndices(table, id, true);
    offs_t before = currIndex[id] & ~dbFlagsMask;
    char* rec = PlaceRecord(id, size);
    if ((currIndex[id] & ~dbFlagsMask) == before) {
        // The application record may point into this very record: pack
        // aside first.
        dbInlineBuffer buffer;
        uint8_t* packed = Bytes(buffer.Get(size));
        dbFieldInfo::StoreRecordFields(table->columns, packed, app, table->fixedSize);
        memcpy(rec + sizeof(dbRecordHeader), packed + sizeof(dbRecordHeader),
               size - sizeof(dbRecordHeader));
    } else {
        dbFieldInfo::StoreRecordFields(table->columns, Bytes(rec), app, table->fixedSize);
    }
    modified = true;
    InsertIntoIndices(table, id, true);
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField)
        fd->attr &= ~dbFieldInfo::Updated;
    RefreshCursors(id);
    return true;
}

bool dbEngine::RemoveRecord(dbTableInfo* table, oid_t id)
{
    if (!IsRecordOf(id, table))
        return false;
    if (!BeginTransaction(dbExclusiveLock))
        return false;
    LimitWaiver waiver(*this);
    modified = true;
    RemoveInverseReferences(table, id);
    if (!IsRecordOf(id, table))
        return true;
    RemoveFromIndices(table, id, false);
    dbRecordHeader links = *Header(GetRow(id));
    UnlinkRecord(table->tableId, id);
    NotifyRemoval(table, id, links.next, links.prev);
    return true;
}

bool dbEngine::FetchRecord(oid_t id, dbTableInfo* table, void* record)
{
    if (!record || !IsRecordOf(id, table))
        return false;
    dbFieldInfo::FetchRecordFields(table->columns, static_cast<uint8_t*>(record),
                                   Bytes(GetRow(id)));
    return true;
}

void dbEngine::DeleteTable(dbTableInfo* table)
{
    if (!table || table->db != this || table->tableId == 0)
        return;
    if (!BeginTransaction(dbExclusiveLock))
        return;
    LimitWaiver waiver(*this);
    modified = true;
    char* dict = MakePrivate(table->tableId);
    std::vector<oid_t> rows;
    for (oid_t row = dbGet32(dict, dbDictFirstRow); row != 0; row = Header(GetRow(row))->next)
        rows.push_back(row);
    dict = GetRow(table->tableId);
    dbPut32(dict, dbDictFirstRow, 0);
    dbPut32(dict, dbDictLastRow, 0);
    dbPut32(dict, dbDictRows, 0);
    for (oid_t row : rows)
        SetRowOwner(row, 0);

    std::vector<oid_t> sorted(rows);
    std::sort(sorted.begin(), sorted.end());
    const std::vector<oid_t>* outer = deletedRows;
    deletedRows = &sorted;
    for (oid_t row : rows)
        RemoveInverseReferences(table, row);
    deletedRows = outer;
    for (oid_t row : rows) {
        ReleaseRecordSpace(row);
        FreeIds(row, 1);
    }
    for (dbFieldInfo* fd = table->firstField; fd; fd = fd->nextField)
        dbFieldIndex::Clear(this, fd);
    if (dbThreadState* state = GetThreadState()) {
        for (dbListLink* l = state->cursors.next; l != &state->cursors; l = l->next) {
            auto* cursor = static_cast<dbRecordCursor*>(static_cast<dbTransactionCursor*>(l));
            if (cursor->table && cursor->table->tableId == table->tableId)
                cursor->OnTableDeleted();
        }
    }
}

bool dbEngine::IsBeingRemoved(oid_t id) const
{
    if (Contains(removingRecords, id))
        return true;
    return deletedRows && std::binary_search(deletedRows->begin(), deletedRows->end(), id);
}

void dbEngine::RemoveInverseReferences(dbTableInfo* table, oid_t record)
{
    removingRecords.push_back(record);
    for (dbFieldInfo* fd = table->inverseFields; fd; fd = fd->nextInverseField) {
        std::vector<oid_t> refs = StoredReferences(fd, Bytes(GetRow(record)));
        for (size_t i = refs.size(); i-- > 0;) {
            if (refs[i] != 0)
                RemoveInverseReference(fd, record, refs[i]);
        }
    }
    removingRecords.pop_back();
}

void dbEngine::RemoveInverseReference(dbFieldInfo* fd, oid_t record, oid_t target)
{
    dbFieldInfo* inv = fd->inverseRef;
    if (target == record || target == updatedRecordId || !inv || IsBeingRemoved(target)
        || !IsRecordOf(target, inv->defTable)) {
        return;
    }
    dbTableInfo* targetTable = inv->defTable;
    bool isArray = inv->type == dbFieldInfo::tpArray;
    if ((fd->indexType & dbFieldInfo::CASCADE)
        && (!isArray || dbGet32(GetRow(target), inv->dbsOffs) < 2)) {
        RemoveRecord(targetTable, target);
        return;
    }
    char* rec = MakePrivate(target);
    if (isArray) {
        uint32_t n = dbGet32(rec, inv->dbsOffs);
        uint32_t at = dbGet32(rec, inv->dbsOffs + 4);
        for (uint32_t i = n; i-- > 0;) {
            if (dbGet32(rec, at + 4 * i) == record) {
                memmove(rec + at + 4 * i, rec + at + 4 * (i + 1), 4 * (n - i - 1));
                dbPut32(rec, inv->dbsOffs, n - 1);
                break;
            }
        }
    } else if (dbGet32(rec, inv->dbsOffs) == record) {
        dbFieldIndex::Remove(this, inv, target);
        dbPut32(MakePrivate(target), inv->dbsOffs, 0);
        dbFieldIndex::Insert(this, inv, target, 0);
    }
    RefreshCursors(target);
}

void dbEngine::AddInverseReference(dbFieldInfo* fd, oid_t record, oid_t target)
{
    dbFieldInfo* inv = fd->inverseRef;
    if (target == record || !inv || !IsRecordOf(target, inv->defTable))
        return;
    dbTableInfo* targetTable = inv->defTable;
    if (inv->type == dbFieldInfo::tpArray) {
        const uint8_t* rec = Bytes(GetRow(target));
        uint32_t size = Header(GetRow(target))->size;
        uint32_t n = dbGet32(rec, inv->dbsOffs);
        size_t end = dbFieldInfo::SizeWithoutField(inv, targetTable->columns, rec,
                                                   targetTable->fixedSize);
        uint32_t p = dbAlignUp(static_cast<uint32_t>(end), 4);
        size_t need = p + 4 * (n + 1);
        bool atEnd = dbGet32(rec, inv->dbsOffs + 4) == p;
        if (size >= need && atEnd) {
            char* w = MakePrivate(target);
            dbPut32(w, p + 4 * n, record);
            dbPut32(w, inv->dbsOffs, n + 1);
        } else {
            size_t newSize = size >= need ? size : p + 8 * n + 8;
            std::vector<uint8_t> old(rec, rec + size);
            char* w = PlaceRecord(target, newSize);
            memset(w + sizeof(dbRecordHeader), 0, newSize - sizeof(dbRecordHeader));
            dbFieldInfo::CopyWithoutField(inv, targetTable->columns, Bytes(w), old.data(),
                                          targetTable->fixedSize);
            uint32_t oldAt = dbGet32(old.data(), inv->dbsOffs + 4);
            memcpy(w + p, old.data() + oldAt, 4 * n);
            dbPut32(w, p + 4 * n, record);
            dbPut32(w, inv->dbsOffs, n + 1);
            dbPut32(w, inv->dbsOffs + 4, p);
        }
    } else {
        dbFieldIndex::Remove(this, inv, target);
        oid_t other = dbGet32(GetRow(target), inv->dbsOffs);
        if (other != 0 && other != record)
            RemoveInverseReference(inv, target, other);
        dbPut32(MakePrivate(target), inv->dbsOffs, record);
        dbFieldIndex::Insert(this, inv, target, 0);
    }
    RefreshCursors(target);
}

void dbEngine::RefreshCursors(oid_t id)
{
    dbThreadState* state = GetThreadState();
    if (!state)
        return;
    for (dbListLink* l = state->cursors.next; l != &state->cursors; l = l->next) {
        auto* cursor = static_cast<dbRecordCursor*>(static_cast<dbTransactionCursor*>(l));
        if (cursor->currId == id && !cursor->removed)
            cursor->Fetch();
    }
}

void dbEngine::NotifyRemoval(dbTableInfo* table, oid_t id, oid_t next, oid_t prev)
{
    dbThreadState* state = GetThreadState();
    if (!state)
        return;
    for (dbListLink* l = state->cursors.next; l != &state->cursors; l = l->next) {
        auto* cursor = static_cast<dbRecordCursor*>(static_cast<dbTransactionCursor*>(l));
        if (cursor->table && cursor->table->tableId == table->tableId)
            cursor->OnRemove(id, next, prev);
    }
}
