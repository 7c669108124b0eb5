// The Metatable's own dictionary record and the repair of row lists.
#include "MemDB/dbEngine.h"

#include <cstring>

namespace {

struct MetatableField {
    const char* name;
    uint32_t type;
    uint32_t size;
    uint32_t offset;
};

// The fields of a dictionary record; strings are {size, offset} pairs.
const MetatableField metatableFields[] = {
    {"name", 7, 8, 12},
    {"fields", 9, 8, 20},
    {"fields[]", 19, 44, 0},
    {"fields[].name", 7, 8, 0},
    {"fields[].tableName", 7, 8, 8},
    {"fields[].inverse", 7, 8, 16},
    {"fields[].type", 3, 4, 24},
    {"fields[].offset", 3, 4, 28},
    {"fields[].size", 3, 4, 32},
    {"fields[].hashTable", 8, 4, 36},
    {"fields[].tTree", 8, 4, 40},
    {"fixedSize", 3, 4, 28},
    {"nRows", 3, 4, 32},
    {"nColumns", 3, 4, 36},
    {"firstRow", 8, 4, 40},
    {"lastRow", 8, 4, 44},
};

const uint32_t fieldCount = sizeof metatableFields / sizeof metatableFields[0];
const uint32_t dictionaryHeadSize = 48;
const uint32_t fieldRecordSize = 44;
const uint32_t lastRowOffset = 44;
const char metatableName[] = "Metatable";

void Put32(char* p, uint32_t value)
{
    memcpy(p, &value, sizeof value);
}

uint32_t Get32(const char* p)
{
    uint32_t value;
    memcpy(&value, p, sizeof value);
    return value;
}

} // namespace

void dbEngine::InitMetatable()
{
    uint32_t size = dictionaryHeadSize + fieldRecordSize * fieldCount + sizeof metatableName;
    for (const MetatableField& f : metatableFields)
        size += static_cast<uint32_t>(strlen(f.name)) + 3;

    offs_t offset = AllocateSpace(size);
    currIndex[dbMetatableId] = offset | dbRecordKind;
    char* record = baseAddr + offset;
    memset(record, 0, size);
    dbRecordHeader* rh = reinterpret_cast<dbRecordHeader*>(record);
    rh->size = size;
    rh->next = rh->prev = 0;

    uint32_t strings = dictionaryHeadSize + fieldRecordSize * fieldCount;
    Put32(record + 12, sizeof metatableName);
    Put32(record + 16, strings);
    memcpy(record + strings, metatableName, sizeof metatableName);
    strings += sizeof metatableName;
    Put32(record + 20, fieldCount);
    Put32(record + 24, dictionaryHeadSize);
    Put32(record + 28, dictionaryHeadSize);  // fixed size of a dictionary row
    Put32(record + 32, 0);                   // rows
    Put32(record + 36, 5);                   // top-level columns
    Put32(record + 40, 0);
    Put32(record + 44, 0);

    for (uint32_t i = 0; i < fieldCount; i++) {
        uint32_t at = dictionaryHeadSize + fieldRecordSize * i;
        char* field = record + at;
        const MetatableField& f = metatableFields[i];
        uint32_t length = static_cast<uint32_t>(strlen(f.name)) + 1;
        Put32(field + 0, length);
        Put32(field + 4, strings - at);
        memcpy(record + strings, f.name, length);
        strings += length;
        for (int empty = 0; empty < 2; empty++) {
            Put32(field + 8 + 8 * empty, 1);
            Put32(field + 12 + 8 * empty, strings - at);
            record[strings++] = '\0';
        }
        Put32(field + 24, f.type);
        Put32(field + 28, f.offset);
        Put32(field + 32, f.size);
    }
}

void dbEngine::RepairRowLists()
{
    ForgetRowOwners();
    auto isLive = [this](oid_t id) {
        return id != 0 && id < currIndexSize && !(currIndex[id] & dbFreeHandleFlag);
    };
    auto clearNextOfLastRow = [this, &isLive](oid_t table) {
        oid_t last = Get32(GetRow(table) + lastRowOffset);
        if (isLive(last)) {
            dbRecordHeader* rh = reinterpret_cast<dbRecordHeader*>(GetRow(last));
            if (rh->next != 0)
                rh->next = 0;
        }
    };
    if (!isLive(dbMetatableId))
        return;
    clearNextOfLastRow(dbMetatableId);
    oid_t row = Get32(GetRow(dbMetatableId) + 40);
    for (oid_t visited = 0; isLive(row) && visited < currIndexSize; visited++) {
        clearNextOfLastRow(row);
        row = reinterpret_cast<dbRecordHeader*>(GetRow(row))->next;
    }
}
