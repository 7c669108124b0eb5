// The stored dictionary record: one row of the Metatable per stored table.
//
//   0  dbRecordHeader (12)     28 fixedSize    40 firstRow
//  12  name {size, offset}     32 nRows        44 lastRow
//  20  fields {count, offset}  36 nColumns     48 field records, then strings
//
// A field record is 44 bytes; the offsets of its strings are relative to the
// field record itself, those of the table name to the dictionary record.
#pragma once

#include <cstdint>
#include <cstring>

enum dbDictionaryLayout {
    dbDictName = 12,
    dbDictFields = 20,
    dbDictFixedSize = 28,
    dbDictRows = 32,
    dbDictColumns = 36,
    dbDictFirstRow = 40,
    dbDictLastRow = 44,
    dbDictFieldRecords = 48,

    dbFieldRecName = 0,
    dbFieldRecTableName = 8,
    dbFieldRecInverse = 16,
    dbFieldRecType = 24,
    dbFieldRecOffset = 28,
    dbFieldRecSize = 32,
    dbFieldRecHashTable = 36,
    dbFieldRecTTree = 40,
    dbFieldRecordSize = 44
};

inline uint32_t dbGet32(const void* p, size_t offs)
{
    uint32_t v;
    memcpy(&v, static_cast<const uint8_t*>(p) + offs, 4);
    return v;
}

inline void dbPut32(void* p, size_t offs, uint32_t v)
{
    memcpy(static_cast<uint8_t*>(p) + offs, &v, 4);
}

// Read access to a stored dictionary record.
class dbDictionaryRecord {
public:
    explicit dbDictionaryRecord(const uint8_t* rec) : rec(rec) {}

    const char* Name() const { return Text(rec, dbDictName); }
    uint32_t FieldCount() const { return dbGet32(rec, dbDictFields); }
    uint32_t FixedSize() const { return dbGet32(rec, dbDictFixedSize); }
    uint32_t RowCount() const { return dbGet32(rec, dbDictRows); }
    uint32_t ColumnCount() const { return dbGet32(rec, dbDictColumns); }
    uint32_t FirstRow() const { return dbGet32(rec, dbDictFirstRow); }
    uint32_t LastRow() const { return dbGet32(rec, dbDictLastRow); }
    const uint8_t* Field(uint32_t i) const
    {
        return rec + dbGet32(rec, dbDictFields + 4) + i * dbFieldRecordSize;
    }

    static const char* FieldName(const uint8_t* f) { return Text(f, dbFieldRecName); }
    static const char* FieldTableName(const uint8_t* f) { return Text(f, dbFieldRecTableName); }
    static const char* FieldInverse(const uint8_t* f) { return Text(f, dbFieldRecInverse); }

private:
    static const char* Text(const uint8_t* base, size_t slot)
    {
        return reinterpret_cast<const char*>(base + dbGet32(base, slot + 4));
    }
    const uint8_t* rec;
};
