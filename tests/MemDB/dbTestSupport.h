// Helpers of the engine's storage tests: fresh database names, and stored
// objects written and checked through the allocation API.
#pragma once

#include "MemDB/dbEngine.h"
#include "MemDB/dbImageCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <unistd.h>

namespace dbtest {

// A database name that no other test process uses.
inline std::string UniqueName(const char* tag)
{
    static int counter = 0;
    return std::string("t") + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// A record of the given size whose body repeats the byte seed.
inline oid_t NewRecord(dbEngine& db, uint32_t size, uint8_t seed)
{
    oid_t id = db.AllocateIds(1);
    offs_t offset = db.AllocateSpace(size);
    db.SetEntry(id, offset, dbRecordKind);
    char* record = db.GetRow(id);
    dbRecordHeader header = {size, 0, 0};
    memcpy(record, &header, sizeof header);
    memset(record + sizeof header, seed, size - sizeof header);
    return id;
}

inline bool RecordHolds(const dbEngine& db, oid_t id, uint32_t size, uint8_t seed)
{
    const char* record = db.GetRow(id);
    dbRecordHeader header;
    memcpy(&header, record, sizeof header);
    if (header.size != size)
        return false;
    for (uint32_t i = sizeof header; i < size; i++) {
        if (static_cast<uint8_t>(record[i]) != seed)
            return false;
    }
    return true;
}

// Removes a record the way record removal does: a version that belongs to
// the committed state is left for the commit to free.
inline void RemoveRecord(dbEngine& db, oid_t id)
{
    offs_t offset = db.GetEntry(id) & ~dbFlagsMask;
    uint32_t size;
    memcpy(&size, db.GetRow(id), sizeof size);
    if (db.IsShared(id))
        db.CopyBitmapPages(offset, size);
    else
        db.FreeSpace(offset, size);
    db.FreeIds(id, 1);
}

// Gives a record a private copy before it changes, as record updates do.
inline void MakePrivate(dbEngine& db, oid_t id)
{
    if (!db.IsShared(id))
        return;
    uint32_t size;
    memcpy(&size, db.GetRow(id), sizeof size);
    db.SetDirty(id);
    db.CopyBitmapPages(db.GetEntry(id) & ~dbFlagsMask, size);
    db.AllocateSpace(size, id);
}

inline offs_t OffsetOf(const dbEngine& db, oid_t id)
{
    return db.GetEntry(id) & ~dbFlagsMask;
}

// Entry of an identifier in the index of the given root.
inline oid_t RootEntry(const dbEngine& db, int root, oid_t id)
{
    const dbImageHeader* h = db.GetHeader();
    const oid_t* index = reinterpret_cast<const oid_t*>(db.GetBase() + h->root[root].index);
    return index[id];
}

inline testing::AssertionResult ImageIsConsistent(const dbEngine& db)
{
    std::string problems;
    if (dbImageChecker::Check(db, &problems))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << problems;
}

} // namespace dbtest
