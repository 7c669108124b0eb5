// The model database wrapper.
#include "MemDB/db.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MemDB/UndoLog.h"
#include "Pub/Log.h"

char theDbName[DbNameSize];

namespace {

// Model records fit this; a larger table gets a heap block.
const size_t ScratchSize = 512;

// A record buffer of a table's record size, on the stack when it fits.
class ScratchRecord {
public:
    explicit ScratchRecord(const dbTableInfo* table)
    {
        if (table->appSize > ScratchSize)
            heap.resize((table->appSize + sizeof(uint64_t) - 1) / sizeof(uint64_t));
        memset(Data(), 0, table->appSize);
    }
    void* Data() { return heap.empty() ? static_cast<void*>(local) : heap.data(); }

private:
    alignas(std::max_align_t) unsigned char local[ScratchSize];
    std::vector<uint64_t> heap;
};

template <class T>
bool Differ(const char* a, const char* b)
{
    return memcmp(a, b, sizeof(T)) != 0;
}

// Closes a database left open at exit. Registered after the first open,
// it runs before the engine's own process-wide state and the table
// descriptors are destroyed.
void CloseAtExit()
{
    MemDbClose();
}

} // namespace

int MemDbOpen()
{
    ReuseFreedHoles(theModelDb);
    if (theDbName[0] && theModelDb.Open(theDbName, nullptr, -1, 0)) {
        static bool closeAtExit = std::atexit(CloseAtExit) == 0;
        (void)closeAtExit;
        return 1;
    }
    LOG_FAILURE(4, "Fail to open DataBase(UML)\r\n");
    return 0;
}

int MemDbClose()
{
    if (theModelDb.IsOpen())
        theModelDb.Close();
    return 1;
}

oid_t MemDbInsert(dbTableInfo* table, const void* record)
{
    oid_t id = theModelDb.InsertRecord(table, record);
    if (id != 0)
        UndoLog::Push(UndoLog::Inserted, id, table, record);
    return id;
}

int MemDbUpdate(dbTableInfo* table, const void* record, oid_t id)
{
    ScratchRecord stored(table);
    if (!theModelDb.FetchRecord(id, table, stored.Data()))
        return 0;
    if (!MemDbRecordChanged(table, record, stored.Data()))
        return 0;
    // The old image is taken while the fetched texts still point at the
    // stored values: the update may move the record.
    UndoLog::Push(UndoLog::Updated, id, table, stored.Data());
    theModelDb.UpdateRecord(id, table, record);
    return 1;
}

void MemDbRemove(dbTableInfo* table, oid_t id)
{
    ScratchRecord stored(table);
    if (!theModelDb.FetchRecord(id, table, stored.Data()))
        return;
    // Only a removal that happened is undone; the fetched texts stay
    // readable until the commit.
    if (theModelDb.RemoveRecord(table, id))
        UndoLog::Push(UndoLog::Removed, id, table, stored.Data());
}

int MemDbRecordChanged(dbTableInfo* table, const void* a, const void* b)
{
    dbFieldInfo* fd = table->columns;
    if (!fd)
        return 0;
    do {
        const char* pa = static_cast<const char*>(a) + fd->appOffs;
        const char* pb = static_cast<const char*>(b) + fd->appOffs;
        bool differ = false;
        switch (fd->appType) {
        case dbFieldInfo::tpInt1:
            differ = Differ<int8_t>(pa, pb);
            break;
        case dbFieldInfo::tpInt2:
            differ = Differ<int16_t>(pa, pb);
            break;
        case dbFieldInfo::tpInt4:
            differ = Differ<int32_t>(pa, pb);
            break;
        case dbFieldInfo::tpInt8:
            differ = Differ<int64_t>(pa, pb);
            break;
        case dbFieldInfo::tpString: {
            const char* ta;
            const char* tb;
            memcpy(&ta, pa, sizeof ta);
            memcpy(&tb, pb, sizeof tb);
            differ = ta != tb && strcmp(ta ? ta : "", tb ? tb : "") != 0;
            break;
        }
        default:
            break;
        }
        if (differ)
            return 1;
    } while ((fd = fd->next) != table->columns);
    return 0;
}

int MemDbSetId(dbTableInfo* table, void* record, int value)
{
    dbFieldInfo* fd = table->columns;
    if (!fd)
        return 0;
    do {
        if (strcmp(fd->name, "ID") == 0)
            break;
    } while ((fd = fd->next) != table->columns);
    if (strcmp(fd->name, "ID") != 0)
        return 0;
    char* field = static_cast<char*>(record) + fd->appOffs;
    switch (fd->appType) {
    case dbFieldInfo::tpInt2: {
        int16_t v = static_cast<int16_t>(value);
        memcpy(field, &v, sizeof v);
        return 1;
    }
    case dbFieldInfo::tpInt4: {
        int32_t v = value;
        memcpy(field, &v, sizeof v);
        return 1;
    }
    case dbFieldInfo::tpInt8: {
        int64_t v = value;
        memcpy(field, &v, sizeof v);
        return 1;
    }
    }
    return 0;
}

void MemDbClearModel()
{
    dbTableInfo* tables[] = {
        &ModelT::TableInfo,         &SymbolT::TableInfo,        &ModelPage::TableInfo,
        &ModelClass::TableInfo,     &ModelOperation::TableInfo, &ModelAttribute::TableInfo,
        &ModelParameter::TableInfo, &ModelUsecase::TableInfo,   &StereotypeT::TableInfo,
        &StereotypeObj::TableInfo,
    };
    for (dbTableInfo* table : tables)
        theModelDb.DeleteTable(table);
}
