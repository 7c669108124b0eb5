// The expression interpreter: evaluates a compiled tree against one stored
// record, reading fields in place from the image.
//
// Texts made during an evaluation (case changes, concatenations, numbers
// written as text) take the context's 8192-byte area first and heap blocks
// after that; the blocks are freed when the context ends or before a fault
// is reported. Faults go to the engine's error handler: code 2 arithmetic,
// code 3 index out of range (argument: the index), code 8 null reference.
#ifndef VEXAL_MEMDB_DBEVALUATE_H
#define VEXAL_MEMDB_DBEVALUATE_H

#include "MemDB/dbQueryTree.h"

#include <cstddef>
#include <cstdint>

class dbEngine;

struct dbEvalValue {
    union {
        int64_t ivalue;  // integers and booleans (0 or 1)
        double rvalue;
        struct {
            const char* chars;
            int32_t len;  // counts the NUL
        } str;
        uint32_t oid;
        int32_t rect[4];
        struct {
            const char* base;
            int32_t n;
        } arr;
        const char* ptr;  // raw binary, record and element addresses
    };
};

class dbEvalContext {
  public:
    enum { textAreaSize = 8192, maxExistsLevels = 4 };

    dbEvalContext(dbEngine* engine, const char* record, uint32_t recordId, const uint8_t* tableRow,
                  const char* params = nullptr)
        : record(record), recordId(recordId), tableRow(tableRow), engine(engine), params(params)
    {
    }
    ~dbEvalContext() { FreeHeapTexts(); }
    dbEvalContext(const dbEvalContext&) = delete;
    dbEvalContext& operator=(const dbEvalContext&) = delete;

    // Room for a text made during this evaluation.
    char* AllocateText(size_t size);
    void FreeHeapTexts();
    [[noreturn]] void Fault(int code, const char* message, int arg);

    const char* record;
    uint32_t recordId;
    const uint8_t* tableRow;  // the table's dictionary record: first and last row
    dbEngine* engine;
    const char* params;       // added to bound variables' addresses; null: absolute

    struct HeapText {
        HeapText* next;
    };
    HeapText* heapTexts = nullptr;
    size_t textUsed = 0;
    // Per EXISTS level: the iteration counter, whether this round indexed
    // with the level's variable, and the longest array it indexed.
    int32_t existsCounter[maxExistsLevels];
    bool existsTouched[maxExistsLevels];
    int64_t existsBound[maxExistsLevels];
    char textArea[textAreaSize];
};

void dbEvaluate(const dbOpNode* node, dbEvalContext& ctx, dbEvalValue& value);

// Pattern matching and substring search as the interpreter does them.
bool dbMatchLike(const char* subject, const char* pattern);
bool dbMatchLikeEscape(const char* subject, const char* pattern, char escape);
bool dbContainsSubstring(const char* haystack, size_t haystackLength, const char* needle,
                         size_t needleLength);

// Three-way comparisons shared with ORDER BY: reals in a total order with
// NaN above every number.
int dbCompareReals(double a, double b);
int dbCompareStrings(const char* a, const char* b);

#endif
