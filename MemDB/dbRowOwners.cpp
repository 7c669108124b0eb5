// The table that owns each record identifier, so that checking a record's
// table costs one look-up instead of a walk of its row list.
//
// Invariant: while rowOwnersBuilt holds and rowOwnersVersion equals the
// monitor's rowListVersion, rowOwners[id] is the dictionary identifier of
// the table whose row list holds id, and 0 for every other identifier
// (identifiers past its end included). Every change of a row list by any
// engine on the image bumps rowListVersion: a change this engine makes
// itself also updates the table, other changes leave it to be rebuilt from
// the row lists at the next look-up.
//
// The table describes the one state that every thread of an all-access or
// read-only engine sees; the threads of the concurrent modes see the
// committed and the working state side by side and walk the row list.
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"

namespace {

uint32_t LoadVersion(const dbSharedMonitor* monitor)
{
    return __atomic_load_n(&monitor->rowListVersion, __ATOMIC_ACQUIRE);
}

} // namespace

oid_t dbEngine::RowOwner(oid_t id) const
{
    dbCriticalSection cs(rowOwnersLock);
    if (!rowOwnersBuilt || rowOwnersVersion != LoadVersion(monitor))
        RebuildRowOwners();
    return id < rowOwners.size() ? rowOwners[id] : 0;
}

void dbEngine::SetRowOwner(oid_t id, oid_t tableId)
{
    dbCriticalSection cs(rowOwnersLock);
    const bool current = rowOwnersBuilt && rowOwnersVersion == LoadVersion(monitor);
    const uint32_t version = __atomic_add_fetch(&monitor->rowListVersion, 1, __ATOMIC_ACQ_REL);
    if (!current)
        return;
    if (id >= rowOwners.size())
        rowOwners.resize(size_t(id) + 1, 0);
    rowOwners[id] = tableId;
    rowOwnersVersion = version;
}

void dbEngine::ForgetRowOwners()
{
    if (monitor != nullptr)
        __atomic_add_fetch(&monitor->rowListVersion, 1, __ATOMIC_ACQ_REL);
    dbCriticalSection cs(rowOwnersLock);
    rowOwnersBuilt = false;
}

// Walks the Metatable's rows, the stored tables, and the rows of each; a
// list cut short by a bad link ends there.
void dbEngine::RebuildRowOwners() const
{
    rowOwners.assign(currIndexSize, 0);
    rowOwnersVersion = LoadVersion(monitor);
    rowOwnersBuilt = true;
    auto walk = [this](oid_t tableId) {
        const dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(GetRow(tableId)));
        oid_t row = dict.FirstRow();
        for (uint32_t n = 0; n < dict.RowCount() && IsLiveRecord(row); ++n) {
            rowOwners[row] = tableId;
            row = reinterpret_cast<const dbRecordHeader*>(GetRow(row))->next;
        }
    };
    if (!IsLiveRecord(dbMetatableId))
        return;
    walk(dbMetatableId);
    std::vector<oid_t> stored;
    for (oid_t id = 0; id < rowOwners.size(); ++id)
        if (rowOwners[id] == dbMetatableId && id != dbMetatableId)
            stored.push_back(id);
    for (oid_t tableId : stored)
        walk(tableId);
}
