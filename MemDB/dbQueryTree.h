// Compiled expression trees and the compiled part of a query.
//
// Every node carries its result type and its exact operation, so evaluation
// never inspects types. Node kinds form families: a kind is derived by adding
// a base to a stored type code, a fragment kind or a relation (= <> > >= < <=).
// Literals and bound variables (dbLitFirst..dbLitLast) are the constant
// operands; the compiler keeps them on the right-hand side of relations.
//
// Nodes come from one process-wide pool of blocks of 1024; a free node is
// linked through op[0]; blocks are freed only at process exit.
#ifndef VEXAL_MEMDB_DBQUERYTREE_H
#define VEXAL_MEMDB_DBQUERYTREE_H

#include <cstddef>
#include <cstdint>

class dbCustomFunction;
class dbFieldInfo;
class dbTableInfo;

enum dbExprType : uint8_t {
    exInteger = 0,
    exBoolean,
    exReal,
    exString,
    exReference,
    exRectangle,
    exArray,
    exRawBinary,
    exFreeVar,
    exList,
    exVoid  // empty condition: always true
};

enum dbRelation { relEq = 0, relNe, relGt, relGe, relLt, relLe };

enum dbOpKind : uint8_t {
    dbLoadField = 0,           // + stored type code, via base address (19 rectangle, 20 raw)
    dbLoadCurrent = 21,        // + stored type code, from the record tested (40, 41)
    dbLoadRectangleOffs = 19,
    dbLoadRawOffs = 20,
    dbInArray = 42,            // + element stored type code (0..8)
    dbInArrayRectangle = 51,
    dbInString = 52,
    dbRectOverlaps = 53,
    dbRectArea = 54,
    dbArrayLength = 55,
    dbStringLength = 56,
    dbArrayElement = 57,
    dbStringChar = 58,
    dbVariable = 58,           // + fragment kind (59..77)
    dbTrue = 78,
    dbFalse = 79,
    dbNull = 80,
    dbIntLiteral = 81,
    dbRealLiteral = 82,
    dbStrLiteral = 83,
    dbRectLiteral = 84,
    dbCurrent = 85,
    dbFirst = 86,
    dbLast = 87,
    dbOr = 88,
    dbAnd = 89,
    dbNot = 90,
    dbIsNull = 91,
    dbIntNeg = 92,
    dbIntAdd = 93, dbIntSub, dbIntMul, dbIntDiv,
    dbIntAnd = 97, dbIntOr, dbIntNot,
    dbIntAbs = 100,
    dbIntPow = 101,
    dbIntRel = 102,            // + relation
    dbIntBetween = 108,
    dbRectRel = 109,
    dbRealNeg = 115,
    dbRealAdd = 116, dbRealSub, dbRealMul, dbRealDiv,
    dbRealAbs = 120,
    dbRealPow = 121,
    dbRealPowInt = 122,
    dbRawRel = 123,
    dbRawBetween = 129,
    dbRectAdd = 130,
    dbRectCoord = 131,
    dbRealRel = 132,
    dbRealBetween = 138,
    dbBoolRel = 139,           // = and <> only
    dbRefRel = 141,            // = and <> only
    dbStrRel = 143,
    dbStrBetween = 149,
    dbLike = 150,
    dbLikeEscape = 151,
    dbUpper = 153,
    dbLower = 154,
    dbIntToRef = 155,
    dbIntToReal = 156,
    dbRealToInt = 157,
    dbIntToStr = 158,
    dbRealToStr = 159,
    dbConcat = 160,
    dbDeref = 161,
    dbExists = 162,
    dbExistsVar = 163,
    dbListElem = 164,
    dbUserFunction = 165,      // + signature kind (0..23); operands are the arguments
    dbEmpty = 189,
    dbFreedNode = 255           // on the pool's free list
};

constexpr int dbLitFirst = 59;
constexpr int dbLitLast = 84;

class dbOpNode {
  public:
    uint8_t kind;
    uint8_t type;
    uint16_t offs;  // field offset, element size, EXISTS level or raw size
    uint16_t depth;  // evaluation depth; the right spine of OR and AND chains is iterated
    union {
        dbOpNode* op[3];
        int64_t ivalue;
        double rvalue;
        struct {
            char* chars;
            int32_t len;  // counts the terminating NUL
        } str;
        int32_t rect[4];
        const void* var;  // bound variable's address
        struct {
            dbOpNode* base;  // null: the record tested
            dbFieldInfo* field;
        } load;
    };
    union {
        int (*comparator)(const void*, const void*, size_t);  // raw binary relations
        const dbCustomFunction* function;                     // user function calls
    };
    dbTableInfo* refTable;  // table a reference value designates, when known

    bool IsConstant() const { return kind >= dbLitFirst && kind <= dbLitLast; }
    bool IsCurrentLoad() const { return kind >= dbLoadCurrent && kind <= dbLoadCurrent + 20; }
    bool IsLoad() const { return kind <= dbLoadCurrent + 20; }
};

struct dbOrderKey {
    dbOrderKey* next;
    dbFieldInfo* field;  // plain field key, else null
    dbTableInfo* table;
    dbOpNode* expr;      // expression key, else null
    bool ascending;
};

struct dbFollowField {
    dbFollowField* next;
    dbFieldInfo* field;
};

enum dbStartFrom { dbStartNone = 0, dbStartFirst, dbStartLast, dbStartRef, dbStartArray, dbStartArrayPtr };

struct dbQueryTree {
    dbOpNode* root = nullptr;
    dbOrderKey* order = nullptr;
    dbFollowField* follow = nullptr;  // reverse of the order written
    dbTableInfo* table = nullptr;
    int32_t schemaVersion = 0;
    int32_t limitStart = 0;
    int32_t limitCount = 0;
    const int32_t* limitStartVar = nullptr;
    const int32_t* limitCountVar = nullptr;
    bool limit = false;
    int32_t startFrom = dbStartNone;
    const void* startFromVar = nullptr;

    dbQueryTree() = default;
    ~dbQueryTree() { Clear(); }
    dbQueryTree(const dbQueryTree&) = delete;
    dbQueryTree& operator=(const dbQueryTree&) = delete;

    void Clear();
};

// Node pool.
dbOpNode* dbNewNode(int kind, int type);
void dbFreeNode(dbOpNode* node);           // one node; a string literal's text with it
void dbDestroyTree(dbOpNode* node);        // operands first
dbOpNode* dbCopyTree(const dbOpNode* node);  // throws std::bad_alloc, leaving nothing behind
int dbNodeOperandCount(int kind);
void dbFreeOrderKeys(dbOrderKey* key);
void dbFreeFollowFields(dbFollowField* field);
size_t dbNodePoolFreeCount();

#endif
