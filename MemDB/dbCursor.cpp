// Cursors: selecting, moving and removing through a cursor.
#include "MemDB/dbCursor.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbIndexSearch.h"
#include "MemDB/dbTableInfo.h"
#include "MemDB/dbTreeIndex.h"

dbRecordCursor::dbRecordCursor(dbTableInfo* t, int cursorType, void* buffer)
    : db(t ? t->db : nullptr), table(t), type(cursorType), defaultType(cursorType),
      allRecords(false), firstId(0), lastId(0), currId(0), record(buffer), limit(DefaultLimit),
      bitmap(nullptr), bitmapSize(0), checkForDuplicatedIsEnabled(false),
      eliminateDuplicates(true), prefetch(buffer != nullptr), removed(false),
      lastRecordWasDeleted(false), stmtLimitStart(0), stmtLimitLen(DefaultLimit), nSkipped(0),
      paramBase(nullptr), resumeNext(0), resumePrev(0)
{
    if (db == dbTableInfo::Detached)
        db = nullptr;
}

dbRecordCursor::~dbRecordCursor()
{
    selection.Reset();
    free(bitmap);
    dbListLink::Unlink();
}

void dbRecordCursor::Reset()
{
    if (!db && table && table->db != dbTableInfo::Detached)
        db = table->db;
    if (db && table && table->db != db) {
        if (dbTableInfo* bound = db->FindBoundTable(table))
            table = bound;
    }
    dbListLink::Unlink();
    selection.Reset();
    removedIds.clear();
    currId = 0;
    allRecords = false;
    checkForDuplicatedIsEnabled = false;
    removed = false;
    lastRecordWasDeleted = false;
    resumeNext = resumePrev = 0;
    nSkipped = 0;
    stmtLimitStart = 0;
    stmtLimitLen = DefaultLimit;
}

void dbRecordCursor::LinkToThread()
{
    dbThreadState* state = db->GetThreadState();
    if (!state) {
        db->Attach();
        state = db->GetThreadState();
    }
    dbListLink::Unlink();
    LinkAfter(&state->cursors);
}

// A duplicate is recognised before it counts against START, so a record
// found twice (an OR whose operands both hold) is skipped or kept once.
bool dbRecordCursor::Add(uint32_t id)
{
    if (selection.nRows >= limit || selection.nRows >= stmtLimitLen)
        return false;
    if (checkForDuplicatedIsEnabled) {
        size_t word = id >> 5;
        if (word >= bitmapSize) {
            size_t size = bitmapSize ? bitmapSize : 1024;
            while (size <= word)
                size *= 2;
            auto* grown = static_cast<uint32_t*>(realloc(bitmap, size * sizeof(uint32_t)));
            if (!grown) {
                // A cut-short result must not pass for a whole one.
                db->HandleError(dbOutOfMemoryError, nullptr, int(size * sizeof(uint32_t)));
                return false;
            }
            memset(grown + bitmapSize, 0, (size - bitmapSize) * sizeof(uint32_t));
            bitmap = grown;
            bitmapSize = size;
        }
        if (bitmap[word] & (1u << (id & 31)))
            return true;
        bitmap[word] |= 1u << (id & 31);
    }
    if (nSkipped < stmtLimitStart) {
        nSkipped += 1;
        return true;
    }
    selection.Add(id);
    return selection.nRows < limit;
}

void dbRecordCursor::AllocateDuplicateBitmap()
{
    if (checkForDuplicatedIsEnabled || !eliminateDuplicates || limit < 2)
        return;
    checkForDuplicatedIsEnabled = true;
    if (bitmap)
        memset(bitmap, 0, bitmapSize * sizeof(uint32_t));
}

void dbRecordCursor::FreeDuplicateBitmap()
{
    free(bitmap);
    bitmap = nullptr;
    bitmapSize = 0;
    checkForDuplicatedIsEnabled = false;
}

int dbRecordCursor::SelectByKeyValues(const char* field, int keyType, const void* low,
                                      const void* high)
{
    type = defaultType;
    Reset();
    if (!db || !table || table->tableId == 0)
        return 0;
    if (!db->BeginTransaction(type == dbCursorForUpdate ? dbEngine::dbExclusiveLock
                                                        : dbEngine::dbSharedLock)) {
        return 0;
    }
    LinkToThread();
    dbFieldInfo* fd = table->FindField(field);
    // A search by one key (both bounds the same value) prefers the hash.
    bool byHash = fd && fd->hashTable != 0 && low == high;
    if (!fd || fd->type != keyType || (fd->tTree == 0 && !byHash)
        || fd->type == dbFieldInfo::tpRectangle)
        return 0;
    if (keyType == dbFieldInfo::tpString) {
        if (!low)
            low = "";
        if (!high)
            high = "";
    }
    dbIndexSearch search;
    search.db = db;
    search.cursor = this;
    search.firstKey = low;
    search.lastKey = high;
    search.type = fd->type;
    search.sizeofType = fd->dbsSize;
    search.comparator = fd->comparator;
    search.offs = fd->dbsOffs;
    if (byHash)
        dbHashIndex::Find(db, fd->hashTable, search);
    else
        dbTreeIndex::Find(db, fd->tTree, search);
    if (GotoFirst() && prefetch)
        Fetch();
    return static_cast<int>(selection.nRows);
}

int dbRecordCursor::SelectById(uint32_t id)
{
    type = defaultType;
    Reset();
    if (!db || !table || table->tableId == 0)
        return 0;
    if (!db->BeginTransaction(type == dbCursorForUpdate ? dbEngine::dbExclusiveLock
                                                        : dbEngine::dbSharedLock)) {
        return 0;
    }
    LinkToThread();
    if (!db->IsRecordOf(id, table) || !Add(id))
        return 0;
    currId = id;
    if (prefetch)
        Fetch();
    return 1;
}

void dbRecordCursor::SetCurrent(dbReference ref)
{
    if (ref.oid == 0) {
        if (db)
            db->HandleError(dbNullReferenceError,
                            "Attempt to set NULL reference as cursor current value");
        return;
    }
    SelectById(ref.oid);
}

void dbRecordCursor::SelectAllRows()
{
    allRecords = true;
    dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(db->GetRow(table->tableId)));
    firstId = dict.FirstRow();
    lastId = dict.LastRow();
    LinkToThread();
    currId = firstId;
    if (currId && prefetch)
        Fetch();
}

int dbRecordCursor::GetNumberOfRecords() const
{
    if (allRecords)
        return static_cast<int>(
            dbDictionaryRecord(reinterpret_cast<const uint8_t*>(db->GetRow(table->tableId)))
                .RowCount());
    return static_cast<int>(selection.nRows);
}

bool dbRecordCursor::IsLive(uint32_t id) const
{
    return removedIds.empty() || removedIds.count(id) == 0;
}

uint32_t dbRecordCursor::PositionId() const
{
    return selection.curr->rows[selection.pos];
}

bool dbRecordCursor::GotoFirst()
{
    removed = false;
    if (allRecords) {
        dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(db->GetRow(table->tableId)));
        currId = dict.FirstRow();
        return currId != 0;
    }
    if (!selection.first || selection.nRows == 0)
        return currId != 0;
    selection.curr = selection.first;
    selection.pos = 0;
    if (IsLive(PositionId())) {
        currId = PositionId();
        return true;
    }
    currId = 0;
    return StepForward();
}

bool dbRecordCursor::GotoLast()
{
    removed = false;
    if (allRecords) {
        dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(db->GetRow(table->tableId)));
        currId = dict.LastRow();
        return currId != 0;
    }
    if (!selection.last || selection.nRows == 0)
        return currId != 0;
    selection.curr = selection.last;
    selection.pos = selection.last->nRows - 1;
    if (IsLive(PositionId())) {
        currId = PositionId();
        return true;
    }
    currId = 0;
    return StepBack();
}

bool dbRecordCursor::StepForward()
{
    removed = false;
    if (allRecords) {
        if (currId == 0)
            return false;
        uint32_t next = reinterpret_cast<const dbRecordHeader*>(db->GetRow(currId))->next;
        if (next == 0)
            return false;
        currId = next;
        return true;
    }
    dbIdSelection::Segment* seg = selection.curr;
    uint32_t pos = selection.pos;
    while (seg) {
        if (pos + 1 < seg->nRows) {
            pos += 1;
        } else {
            seg = seg->next;
            pos = 0;
            if (!seg || seg->nRows == 0)
                return false;
        }
        uint32_t id = seg->rows[pos];
        if (IsLive(id)) {
            selection.curr = seg;
            selection.pos = pos;
            currId = id;
            return true;
        }
    }
    return false;
}

bool dbRecordCursor::StepBack()
{
    removed = false;
    if (allRecords) {
        if (currId == 0)
            return false;
        uint32_t prev = reinterpret_cast<const dbRecordHeader*>(db->GetRow(currId))->prev;
        if (prev == 0)
            return false;
        currId = prev;
        return true;
    }
    dbIdSelection::Segment* seg = selection.curr;
    uint32_t pos = selection.pos;
    while (seg) {
        if (pos > 0) {
            pos -= 1;
        } else {
            seg = seg->prev;
            if (!seg || seg->nRows == 0)
                return false;
            pos = seg->nRows - 1;
        }
        uint32_t id = seg->rows[pos];
        if (IsLive(id)) {
            selection.curr = seg;
            selection.pos = pos;
            currId = id;
            return true;
        }
    }
    return false;
}

bool dbRecordCursor::First()
{
    return GotoFirst();
}

bool dbRecordCursor::Last()
{
    return GotoLast();
}

bool dbRecordCursor::MoveNext()
{
    if (removed) {
        removed = false;
        if (currId != 0)
            return true;
        if (allRecords) {
            currId = resumeNext;
            resumeNext = resumePrev = 0;
            return currId != 0;
        }
        if (!selection.curr)
            return false;
        if (IsLive(PositionId())) {
            currId = PositionId();
            return true;
        }
    }
    return StepForward();
}

bool dbRecordCursor::MovePrev()
{
    if (removed) {
        removed = false;
        if (allRecords) {
            currId = resumePrev;
            resumeNext = resumePrev = 0;
            return currId != 0;
        }
        if (!selection.curr)
            return false;
    }
    return StepBack();
}

void* dbRecordCursor::Next()
{
    if (!MoveNext())
        return nullptr;
    Fetch();
    return record;
}

void* dbRecordCursor::Prev()
{
    if (!MovePrev())
        return nullptr;
    Fetch();
    return record;
}

bool dbRecordCursor::Skip(int n)
{
    bool ok = true;
    for (; n > 0 && ok; --n)
        ok = MoveNext();
    for (; n < 0 && ok; ++n)
        ok = MovePrev();
    if (prefetch && currId != 0)
        Fetch();
    return ok;
}

void dbRecordCursor::Fetch()
{
    if (record && currId != 0 && table->columns) {
        dbFieldInfo::FetchRecordFields(table->columns, static_cast<uint8_t*>(record),
                                       reinterpret_cast<const uint8_t*>(db->GetRow(currId)));
    }
}

bool dbRecordCursor::HasNext()
{
    if (currId == 0 && !removed)
        return false;
    if (removed && currId != 0)
        return true;
    dbIdSelection::Segment* seg = selection.curr;
    uint32_t pos = selection.pos;
    uint32_t id = currId;
    bool wasRemoved = removed;
    uint32_t next = resumeNext, prev = resumePrev;
    bool found = MoveNext();
    selection.curr = seg;
    selection.pos = pos;
    currId = id;
    removed = wasRemoved;
    resumeNext = next;
    resumePrev = prev;
    return found;
}

bool dbRecordCursor::IsLast()
{
    return currId != 0 && !HasNext();
}

bool dbRecordCursor::IsFirst()
{
    if (currId == 0)
        return false;
    dbIdSelection::Segment* seg = selection.curr;
    uint32_t pos = selection.pos;
    uint32_t id = currId;
    bool found = StepBack();
    selection.curr = seg;
    selection.pos = pos;
    currId = id;
    return !found;
}

int dbRecordCursor::Seek(uint32_t id)
{
    if (allRecords) {
        int pos = 0;
        for (uint32_t row = firstId; row != 0; ++pos) {
            if (row == id) {
                currId = id;
                removed = false;
                if (prefetch)
                    Fetch();
                return pos;
            }
            row = reinterpret_cast<const dbRecordHeader*>(db->GetRow(row))->next;
        }
        return -1;
    }
    if (!IsLive(id))
        return -1;
    int pos = 0;
    for (dbIdSelection::Segment* seg = selection.first; seg; seg = seg->next) {
        for (uint32_t i = 0; i < seg->nRows; ++i, ++pos) {
            if (seg->rows[i] == id) {
                selection.curr = seg;
                selection.pos = i;
                currId = id;
                removed = false;
                if (prefetch)
                    Fetch();
                return pos;
            }
        }
    }
    return -1;
}

bool dbRecordCursor::IsSelected(uint32_t id)
{
    if (allRecords)
        return db->IsRecordOf(id, table);
    if (!IsLive(id))
        return false;
    for (dbIdSelection::Segment* seg = selection.first; seg; seg = seg->next) {
        for (uint32_t i = 0; i < seg->nRows; ++i) {
            if (seg->rows[i] == id)
                return true;
        }
    }
    return false;
}

void dbRecordCursor::ToArray(uint32_t* out) const
{
    if (allRecords) {
        for (uint32_t row = firstId; row != 0;
             row = reinterpret_cast<const dbRecordHeader*>(db->GetRow(row))->next) {
            *out++ = row;
        }
        return;
    }
    selection.ToArray(out);
}

void dbRecordCursor::RemoveCurrent()
{
    if (currId == 0) {
        if (db)
            db->HandleError(dbNullReferenceError, "Attempt to remove unexisted record");
        return;
    }
    uint32_t id = currId;
    db->RemoveRecord(table, id);
    // The cursor now stands on the record that followed; Next returns it
    // without moving.
    if (MoveNext()) {
        removed = true;
        if (prefetch)
            Fetch();
    } else {
        removed = true;
        currId = 0;
        resumeNext = resumePrev = 0;
        lastRecordWasDeleted = true;
    }
}

void dbRecordCursor::RemoveAllSelected()
{
    if (!db || !table)
        return;
    if (allRecords) {
        db->DeleteTable(table);
    } else {
        std::vector<uint32_t> ids(selection.nRows);
        selection.ToArray(ids.data());
        for (uint32_t id : ids) {
            if (IsLive(id) && db->IsRecordOf(id, table))
                db->RemoveRecord(table, id);
        }
    }
    Reset();
}

void dbRecordCursor::OnRemove(uint32_t id, uint32_t next, uint32_t prev)
{
    if (!allRecords && selection.nRows != 0)
        removedIds.insert(id);
    if (resumeNext == id)
        resumeNext = next;
    if (resumePrev == id)
        resumePrev = prev;
    if (currId == id) {
        currId = 0;
        removed = true;
        resumeNext = next;
        resumePrev = prev;
    }
}

void dbRecordCursor::OnTableDeleted()
{
    selection.Reset();
    removedIds.clear();
    currId = 0;
    allRecords = false;
    removed = false;
    resumeNext = resumePrev = 0;
}
