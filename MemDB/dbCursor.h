// Cursors: a selection of records of one table, a position in it, and a
// record buffer that every move fills.
//
// A cursor either walks a selection of identifiers or, in all-rows mode,
// the table's row list. It belongs to the thread that made its selection
// (it sits in that thread's cursor ring) and is reset when that thread's
// transaction ends. Records the thread removes after the select are
// remembered and skipped by every move, so a cursor never stands on a
// removed or recycled identifier. Texts in the record buffer point into the
// stored record; they stay readable until the transaction ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_set>

#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbSelection.h"
#include "MemDB/dbThreadState.h"

class dbEngine;
class dbTableInfo;
class dbQueryText;

enum dbCursorType { dbCursorViewOnly = 0, dbCursorForUpdate = 1 };

class dbRecordCursor : public dbTransactionCursor {
public:
    enum { DefaultLimit = 2000000000 };

    dbRecordCursor(dbTableInfo* table, int type = dbCursorViewOnly, void* record = nullptr);
    virtual ~dbRecordCursor();
    dbRecordCursor(const dbRecordCursor&) = delete;
    dbRecordCursor& operator=(const dbRecordCursor&) = delete;

    void Reset();
    void OnTransactionEnd() override { Reset(); }

    // Runs a query (select execution); returns the number of records selected.
    int Select(dbQueryText& query, int type, void* params = nullptr);

    // Selects the records whose field equals the key, through the field's
    // index. An unknown or unindexed field, or a key whose type is not the
    // field's, selects nothing. Texts are given as char pointers.
    template <class T>
    int SelectByKey(const char* field, const T& key)
    {
        if constexpr (std::is_array<T>::value || std::is_pointer<T>::value)
            return SelectByKeyValues(field, dbFieldInfo::tpString, key, key);
        else if constexpr (std::is_same<T, std::string>::value)
            return SelectByKeyValues(field, dbFieldInfo::tpString, key.c_str(), key.c_str());
        else
            return SelectByKeyValues(field, dbFieldTypeOf<T>::code, &key, &key);
    }
    // Selects low <= key <= high in key order through the field's tree index.
    template <class T>
    int SelectByKeyRange(const char* field, const T& low, const T& high)
    {
        if constexpr (std::is_array<T>::value || std::is_pointer<T>::value)
            return SelectByKeyValues(field, dbFieldInfo::tpString, low, high);
        else
            return SelectByKeyValues(field, dbFieldTypeOf<T>::code, &low, &high);
    }
    // Selects one record; an identifier that is not a live record of this
    // cursor's table selects nothing. Returns the number selected.
    int SelectById(uint32_t id);
    void SetCurrent(dbReference ref);

    bool First();
    bool Last();
    void* Next();
    void* Prev();
    bool Skip(int n);
    void Fetch();
    bool HasNext();
    bool IsFirst();
    bool IsLast();
    bool MoveNext();
    bool MovePrev();
    // Position of id in the selection, -1 when absent.
    int Seek(uint32_t id);
    bool IsSelected(uint32_t id);
    void ToArray(uint32_t* out) const;

    void RemoveCurrent();
    void RemoveAllSelected();

    uint32_t GetCurrentOid() const { return currId; }
    // Selected identifiers, or the table's rows in all-rows mode.
    int GetNumberOfRecords() const;
    void* GetRecord() const { return record; }
    dbTableInfo* GetTable() const { return table; }
    dbEngine* GetEngine() const { return db; }

    // Adding rule of every search: false when the search must stop.
    bool Add(uint32_t id);
    void AllocateDuplicateBitmap();
    void FreeDuplicateBitmap();
    void Unlink() { dbListLink::Unlink(); }
    // Links the cursor into the calling thread's cursor ring.
    void LinkToThread();
    // Switches to walking the table's row list and stands on its first row.
    void SelectAllRows();
    // Called by the engine for every cursor of the thread before record id
    // of table is removed; next and prev are the record's row-list links.
    void OnRemove(uint32_t id, uint32_t next, uint32_t prev);
    // Called when every row of the cursor's table has been removed.
    void OnTableDeleted();

    // State shared with select execution.
    dbEngine* db;
    dbTableInfo* table;
    int type;
    int defaultType;
    dbIdSelection selection;
    bool allRecords;
    uint32_t firstId;
    uint32_t lastId;
    uint32_t currId;
    void* record;
    size_t limit;
    uint32_t* bitmap;
    size_t bitmapSize;
    bool checkForDuplicatedIsEnabled;
    bool eliminateDuplicates;
    bool prefetch;
    bool removed;
    bool lastRecordWasDeleted;
    size_t stmtLimitStart;
    size_t stmtLimitLen;
    size_t nSkipped;
    void* paramBase;

protected:
    int SelectByKeyValues(const char* field, int keyType, const void* low, const void* high);
    bool StepForward();
    bool StepBack();
    bool GotoFirst();
    bool GotoLast();
    bool IsLive(uint32_t id) const;
    uint32_t PositionId() const;

    std::unordered_set<uint32_t> removedIds;
    uint32_t resumeNext;
    uint32_t resumePrev;
};

// A cursor followed by one record of its table that serves as its buffer.
template <class T>
class dbTypedCursor : public dbRecordCursor {
public:
    explicit dbTypedCursor(dbTableInfo* table, int type = dbCursorViewOnly)
        : dbRecordCursor(table, type, &rec)
    {
    }
    T* GetRecord() { return &rec; }
    T* operator->() { return &rec; }
    T* Next() { return static_cast<T*>(dbRecordCursor::Next()); }
    T* Prev() { return static_cast<T*>(dbRecordCursor::Prev()); }

private:
    T rec{};
};
