// A small table for query tests, and a readable rendering of compiled trees.
#ifndef VEXAL_TESTS_MEMDB_QUERYFIXTURE_H
#define VEXAL_TESTS_MEMDB_QUERYFIXTURE_H

#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryTree.h"
#include "MemDB/dbTableInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct QueryRow {
    int32_t ID;
    int32_t FID;
    int32_t SN;
    int32_t PID;
    int8_t MMC;
    int16_t Kind;
    int64_t Big;
    double Weight;
    float Ratio;
    bool Flag;
    char* Name;
    char* GUID;
    char* Type;
    char* Symbol;
    dbReference Parent;
    dbArray<int32_t> Items;
    dbRectangle Box;
    struct {
        int32_t x;
        int32_t y;
    } Pos;
};

dbFieldInfo* DescribeQueryRow();
// The descriptor for compiling without an engine.
dbTableInfo& QueryRowTable();

// The stored form of a row (header, fixed part, varying part), 16-byte aligned.
class StoredRow {
  public:
    explicit StoredRow(const QueryRow& row);
    const char* Data() const { return reinterpret_cast<const char*>(words.data()); }

  private:
    std::vector<uint64_t> words;
};

// Renders a compiled tree as nested "(op operand...)" text, for example
// "(int= FID 5)"; field loads show the field name, literals their value.
std::string RenderTree(const dbOpNode* node);
std::string RenderOrder(const dbOrderKey* keys);

#endif
