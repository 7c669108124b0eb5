// Type rules of the query compiler: the node each construct becomes, with
// implicit conversions, literal folding and the rewritings that prepare
// conditions for index use (constants to the right of relations, LIKE with a
// literal pattern reduced to equality or substring search).
#include "MemDB/dbQueryCompiler.h"

#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryToken.h"
#include "MemDB/dbTableInfo.h"

#include <cstring>
#include <utility>

namespace {

enum RelationError { relOk, relBadLeft, relBadRight, relRefOrder, relBoolOrder, relRawField };

int Mirror(int rel)
{
    switch (rel) {
      case relGt: return relLt;
      case relGe: return relLe;
      case relLt: return relGt;
      case relLe: return relGe;
      default: return rel;
    }
}

bool IsNumber(const dbOpNode* n)
{
    return n->type == exInteger || n->type == exReal;
}

}  // namespace

dbOpNode* dbQueryCompiler::Node(int kind, int type, dbOpNode* a, dbOpNode* b, dbOpNode* c)
{
    int depth = 0;
    for (dbOpNode* operand : {a, b, c})
        if (operand != nullptr && operand->depth > depth)
            depth = operand->depth;
    // The interpreter walks the right spine of OR and AND chains in a loop.
    if ((kind == dbOr || kind == dbAnd) && b->depth > a->depth)
        depth = b->depth - 1;
    if (depth + 1 > maxDepth)
        ErrorAtLast("Expression is too complex");
    dbOpNode* node = dbNewNode(kind, type);
    made.push_back(node);
    node->op[0] = a;
    node->op[1] = b;
    node->op[2] = c;
    node->depth = static_cast<uint16_t>(depth + 1);
    return node;
}

void dbQueryCompiler::Free(dbOpNode* node)
{
    dbFreeNode(node);
}

void dbQueryCompiler::FreeTree(dbOpNode* node)
{
    dbDestroyTree(node);
}

dbOpNode* dbQueryCompiler::CopyTree(const dbOpNode* node)
{
    dbOpNode* copy = dbCopyTree(node);
    std::vector<dbOpNode*> pending{copy};
    while (!pending.empty()) {
        dbOpNode* n = pending.back();
        pending.pop_back();
        for (; n != nullptr; n = dbNodeOperandCount(n->kind) > 0 ? n->op[dbNodeOperandCount(n->kind) - 1] : nullptr) {
            made.push_back(n);
            for (int i = 0; i + 1 < dbNodeOperandCount(n->kind); i++)
                pending.push_back(n->op[i]);
        }
    }
    return copy;
}

dbOpNode* dbQueryCompiler::IntLiteral(int64_t value)
{
    dbOpNode* node = Node(dbIntLiteral, exInteger);
    node->ivalue = value;
    return node;
}

dbOpNode* dbQueryCompiler::ToReal(dbOpNode* node)
{
    if (node->kind == dbIntLiteral) {
        node->kind = dbRealLiteral;
        node->type = exReal;
        node->rvalue = static_cast<double>(node->ivalue);
        return node;
    }
    if (node->type == exInteger)
        return Node(dbIntToReal, exReal, node);
    return node;
}

dbOpNode* dbQueryCompiler::ListToRectangle(dbOpNode* list)
{
    int32_t coord[4];
    int n = 0;
    for (dbOpNode* e = list; e != nullptr; e = e->op[1]) {
        dbOpNode* v = e->op[0];
        if (n == 4 || (v->kind != dbIntLiteral && v->kind != dbRealLiteral))
            ErrorAtLast("Bad rectangle constant");
        coord[n++] = v->kind == dbIntLiteral ? static_cast<int32_t>(v->ivalue)
                                             : static_cast<int32_t>(static_cast<int64_t>(v->rvalue));
    }
    if (n != 4)
        ErrorAtLast("Bad rectangle constant");
    FreeTree(list);
    dbOpNode* rect = Node(dbRectLiteral, exRectangle);
    std::memcpy(rect->rect, coord, sizeof coord);
    return rect;
}

dbOpNode* dbQueryCompiler::Logical(int token, dbOpNode* a, dbOpNode* b, int bStart)
{
    if (a->type == exBoolean && b->type == exBoolean)
        return Node(token == tkOr ? dbOr : dbAnd, exBoolean, a, b);
    if (a->type == exInteger && b->type == exInteger)
        return Node(token == tkOr ? dbIntOr : dbIntAnd, exInteger, a, b);
    ErrorAtStart(token == tkOr ? "Bad operands for OR operator" : "Bad operands for AND operator",
                 bStart);
}

dbOpNode* dbQueryCompiler::Arithmetic(int token, dbOpNode* a, dbOpNode* b, int aStart, int bStart)
{
    if (token == tkAdd || token == tkSub) {
        if (a->type == exString && b->type == exString) {
            if (token == tkSub)
                ErrorAtStart("Operation - is not defined for strings", bStart);
            return Node(dbConcat, exString, a, b);
        }
        if (a->type == exRectangle || b->type == exRectangle) {
            dbOpNode*& other = a->type == exRectangle ? b : a;
            if (other->type != exRectangle && other->type != exList)
                ErrorAtStart("Rectangle can be added only with rectangle", bStart);
            if (token == tkSub)
                ErrorAtStart("Operation - is not defined for rectangles", bStart);
            if (other->type == exList)
                other = ListToRectangle(other);
            return Node(dbRectAdd, exRectangle, a, b);
        }
    }
    if (a->type == exReal || b->type == exReal) {
        if (!IsNumber(a))
            ErrorAtStart("operands of arithmetic operators should be of integer or real type", aStart);
        if (!IsNumber(b))
            ErrorAtStart("operands of arithmetic operator should be of integer or real type", bStart);
        if (token == tkPower) {
            if (b->type == exInteger)
                return Node(dbRealPowInt, exReal, a, b);
            return Node(dbRealPow, exReal, ToReal(a), b);
        }
        int kind = token == tkAdd ? dbRealAdd : token == tkSub ? dbRealSub
                 : token == tkMul ? dbRealMul : dbRealDiv;
        return Node(kind, exReal, ToReal(a), ToReal(b));
    }
    if (a->type != exInteger || b->type != exInteger)
        ErrorAtStart("operands of arithmentic operator should be of integer or real type", bStart);
    int kind = token == tkAdd ? dbIntAdd : token == tkSub ? dbIntSub : token == tkMul ? dbIntMul
             : token == tkDiv ? dbIntDiv : dbIntPow;
    return Node(kind, exInteger, a, b);
}

dbOpNode* dbQueryCompiler::RelationNode(int rel, dbOpNode* a, dbOpNode* b, int* error)
{
    *error = relOk;
    if (a->type == exReal || b->type == exReal) {
        if (!IsNumber(a)) {
            *error = relBadLeft;
            return nullptr;
        }
        if (!IsNumber(b)) {
            *error = relBadRight;
            return nullptr;
        }
        return Node(dbRealRel + rel, exBoolean, ToReal(a), ToReal(b));
    }
    if (a->type == exInteger && b->type == exInteger)
        return Node(dbIntRel + rel, exBoolean, a, b);
    if (a->type == exString && b->type == exString)
        return Node(dbStrRel + rel, exBoolean, a, b);
    if ((a->type == exRectangle && (b->type == exRectangle || b->type == exList))
        || (a->type == exList && b->type == exRectangle)) {
        if (a->type == exList)
            a = ListToRectangle(a);
        if (b->type == exList)
            b = ListToRectangle(b);
        return Node(dbRectRel + rel, exBoolean, a, b);
    }
    if ((a->type == exReference && (b->type == exReference || b->type == exInteger))
        || (b->type == exReference && a->type == exInteger)) {
        if (rel != relEq && rel != relNe) {
            *error = relRefOrder;
            return nullptr;
        }
        if (a->type == exInteger)
            a = Node(dbIntToRef, exReference, a);
        if (b->type == exInteger)
            b = Node(dbIntToRef, exReference, b);
        return Node(dbRefRel + rel, exBoolean, a, b);
    }
    if (a->type == exBoolean && b->type == exBoolean) {
        if (rel != relEq && rel != relNe) {
            *error = relBoolOrder;
            return nullptr;
        }
        return Node(dbBoolRel + rel, exBoolean, a, b);
    }
    if (a->type == exRawBinary && b->type == exRawBinary) {
        const dbOpNode* load = a->IsLoad() ? a : b->IsLoad() ? b : nullptr;
        if (load == nullptr) {
            *error = relRawField;
            return nullptr;
        }
        dbOpNode* node = Node(dbRawRel + rel, exBoolean, a, b);
        node->offs = static_cast<uint16_t>(load->load.field->dbsSize);
        node->comparator = load->load.field->comparator;
        return node;
    }
    bool leftFits = IsNumber(a) || a->type == exString;
    *error = leftFits ? relBadRight : relBadLeft;
    return nullptr;
}

dbOpNode* dbQueryCompiler::Relation(int rel, dbOpNode* a, dbOpNode* b, int aStart, int bStart)
{
    int error;
    dbOpNode* node = RelationNode(rel, a, b, &error);
    switch (error) {
      case relBadLeft:
        ErrorAtStart("operands of relation operator should be of intger, real or string type", aStart);
      case relBadRight:
        ErrorAtStart("operands of relation operator should be of intger, real or string type", bStart);
      case relRefOrder:
        ErrorAtStart("References can be checked only for equality", aStart);
      case relBoolOrder:
        ErrorAtStart("Boolean variables can be checked only for equality", aStart);
      case relRawField:
        ErrorAtLast("Operations with raw binary types should include at least one record field");
      default:
        break;
    }
    if (node->op[0]->IsConstant()) {
        std::swap(node->op[0], node->op[1]);
        node->kind = static_cast<uint8_t>(node->kind - rel + Mirror(rel));
    }
    return node;
}

dbOpNode* dbQueryCompiler::Equality(dbOpNode* a, dbOpNode* b)
{
    int error;
    return RelationNode(relEq, a, b, &error);
}

dbOpNode* dbQueryCompiler::Between(dbOpNode* v, dbOpNode* lo, dbOpNode* hi, int vStart,
                                   int loStart, int hiStart)
{
    if (v->type == exReal || lo->type == exReal || hi->type == exReal) {
        dbOpNode** operands[3] = {&v, &lo, &hi};
        int starts[3] = {vStart, loStart, hiStart};
        for (int i = 0; i < 3; i++) {
            if (!IsNumber(*operands[i]))
                ErrorAtStart("operand of BETWEEN operator should be of integer, real or string type",
                             starts[i]);
            *operands[i] = ToReal(*operands[i]);
        }
        return Node(dbRealBetween, exBoolean, v, lo, hi);
    }
    if (v->type == exInteger && lo->type == exInteger && hi->type == exInteger)
        return Node(dbIntBetween, exBoolean, v, lo, hi);
    if (v->type == exString && lo->type == exString && hi->type == exString)
        return Node(dbStrBetween, exBoolean, v, lo, hi);
    if (v->type == exRawBinary && lo->type == exRawBinary && hi->type == exRawBinary) {
        if (!v->IsLoad())
            ErrorAtLast("Operations with raw binary types should include at least one record field");
        dbOpNode* node = Node(dbRawBetween, exBoolean, v, lo, hi);
        node->offs = static_cast<uint16_t>(v->load.field->dbsSize);
        node->comparator = v->load.field->comparator;
        return node;
    }
    ErrorAtStart("operands of BETWEEN operator should be of integer, real or string type", vStart);
}

dbOpNode* dbQueryCompiler::Like(dbOpNode* subject, dbOpNode* pattern, dbOpNode* escape, int start)
{
    if (subject->type != exString || pattern->type != exString)
        ErrorAtStart("operands of LIKE operator should be of string type", start);
    if (escape != nullptr)
        return Node(dbLikeEscape, exBoolean, subject, pattern, escape);
    if (pattern->kind == dbStrLiteral) {
        char* p = pattern->str.chars;
        size_t n = static_cast<size_t>(pattern->str.len) - 1;
        size_t w = std::strcspn(p, "%_");
        if (w == n)
            return Node(dbStrRel + relEq, exBoolean, subject, pattern);
        if (w == 0 && p[0] == '%') {
            size_t w2 = 1 + std::strcspn(p + 1, "%_");
            if (w2 == n - 1 && p[w2] == '%') {
                std::memmove(p, p + 1, n - 2);
                p[n - 2] = '\0';
                pattern->str.len -= 2;
                return Node(dbInString, exBoolean, pattern, subject);
            }
        }
    }
    return Node(dbLike, exBoolean, subject, pattern);
}

int dbQueryCompiler::ArrayElementType(const dbOpNode* node) const
{
    if (node->IsLoad())
        return node->load.field->components->type;
    switch (node->kind - dbVariable) {
      case dbFragArrayOfRef: case dbFragArrayPtrOfRef: return dbFieldInfo::tpReference;
      case dbFragArrayOfInt4: case dbFragArrayPtrOfInt4: return dbFieldInfo::tpInt4;
      case dbFragArrayOfInt8: case dbFragArrayPtrOfInt8: return dbFieldInfo::tpInt8;
      default: return -1;
    }
}

dbOpNode* dbQueryCompiler::In(dbOpNode* a, dbOpNode* b, int bStart)
{
    switch (b->type) {
      case exString:
        if (a->type != exString)
            ErrorAtLast("Left operand of IN expression hasn't string type");
        return Node(dbInString, exBoolean, a, b);
      case exRectangle:
        if (a->type == exRectangle) {
            if (a->IsConstant())
                return Node(dbRectRel + relGe, exBoolean, b, a);
            return Node(dbRectRel + relLe, exBoolean, a, b);
        }
        if (a->type == exList)
            return Node(dbRectRel + relGe, exBoolean, b, ListToRectangle(a));
        ErrorAtLast("Left operand of IN expression hasn't rectangle type");
      case exArray: {
        int element = ArrayElementType(b);
        bool fits;
        switch (element) {
          case dbFieldInfo::tpBool: fits = a->type == exBoolean; break;
          case dbFieldInfo::tpInt1: case dbFieldInfo::tpInt2: case dbFieldInfo::tpInt4:
          case dbFieldInfo::tpInt8: fits = a->type == exInteger; break;
          case dbFieldInfo::tpReal4: case dbFieldInfo::tpReal8: fits = a->type == exReal; break;
          case dbFieldInfo::tpString: fits = a->type == exString; break;
          case dbFieldInfo::tpReference:
            fits = a->type == exReference || a->type == exInteger;
            if (a->type == exInteger)
                a = Node(dbIntToRef, exReference, a);
            break;
          case dbFieldInfo::tpRectangle:
            fits = a->type == exRectangle || a->type == exList;
            if (a->type == exList)
                a = ListToRectangle(a);
            break;
          default: fits = false;
        }
        if (!fits)
            ErrorAtLast("Type of selective expression of IN operator doesn't match type of the array");
        int kind = element == dbFieldInfo::tpRectangle ? dbInArrayRectangle : dbInArray + element;
        return Node(kind, exBoolean, a, b);
      }
      case exList: {
        if (a->type == exRectangle)
            return Node(dbRectRel + relLe, exBoolean, a, ListToRectangle(b));
        std::vector<dbOpNode*> elements;
        bool anyReal = false;
        for (dbOpNode* e = b; e != nullptr; e = e->op[1]) {
            elements.push_back(e);
            anyReal |= e->op[0]->type == exReal;
        }
        // Mixed integers and reals compare as reals throughout.
        if (anyReal && a->type == exInteger)
            for (dbOpNode* e : elements)
                e->op[0] = ToReal(e->op[0]);
        std::vector<dbOpNode*> subjects{a};
        for (size_t i = 1; i < elements.size(); i++)
            subjects.push_back(CopyTree(a));
        std::vector<dbOpNode*> tests;
        for (size_t i = 0; i < elements.size(); i++) {
            dbOpNode* test = Equality(subjects[i], elements[i]->op[0]);
            if (test == nullptr) {
                message = "Expression " + std::to_string(i + 1)
                        + " in right part of IN operator have incompatible type";
                ErrorAtLast(message.c_str());
            }
            tests.push_back(test);
        }
        for (dbOpNode* e : elements)
            Free(e);
        dbOpNode* result = tests.back();
        for (size_t i = tests.size() - 1; i-- > 0;)
            result = Node(dbOr, exBoolean, tests[i], result);
        return result;
      }
      default:
        ErrorAtStart("List of expressions or array expected", bStart);
    }
}

dbOpNode* dbQueryCompiler::Overlaps(dbOpNode* a, dbOpNode* b, int start)
{
    if (a->type == exList && b->type == exRectangle)
        return Node(dbRectOverlaps, exBoolean, b, ListToRectangle(a));
    if (a->type == exRectangle && b->type == exList)
        return Node(dbRectOverlaps, exBoolean, a, ListToRectangle(b));
    if (a->type != exRectangle || b->type != exRectangle)
        ErrorAtStart("operands of OVERLAPS operator should be of rectangle type", start);
    if (a->IsConstant())
        std::swap(a, b);
    return Node(dbRectOverlaps, exBoolean, a, b);
}

dbOpNode* dbQueryCompiler::Function(int token)
{
    int at = NextStart();
    dbOpNode* arg = Term();
    dbOpNode* node = nullptr;
    switch (token) {
      case tkLength:
        if (arg->type == exArray)
            node = Node(dbArrayLength, exInteger, arg);
        else if (arg->type == exString)
            node = Node(dbStringLength, exInteger, arg);
        else
            ErrorAtStart("LENGTH function is defined only for arrays and strings", at);
        break;
      case tkLower:
      case tkUpper:
        if (arg->type != exString)
            ErrorAtStart(token == tkLower ? "LOWER function can be applied only to string argument"
                                          : "UPPER function can be applied only to string argument",
                         at);
        node = Node(token == tkLower ? dbLower : dbUpper, exString, arg);
        break;
      case tkAbs:
        if (arg->type == exInteger)
            node = Node(dbIntAbs, exInteger, arg);
        else if (arg->type == exReal)
            node = Node(dbRealAbs, exReal, arg);
        else
            ErrorAtStart("ABS function can be applied only to integer or real expression", at);
        break;
      case tkArea:
        if (arg->type == exList)
            arg = ListToRectangle(arg);
        if (arg->type != exRectangle)
            ErrorAtStart("AREA function can be applied only to rectangles", at);
        node = Node(dbRectArea, exReal, arg);
        break;
      case tkInteger:
        if (arg->type != exReal)
            ErrorAtStart("INTEGER function can be applied only to expression of real type", at);
        node = Node(dbRealToInt, exInteger, arg);
        break;
      case tkRealFn:
        if (arg->type != exInteger)
            ErrorAtStart("REAL function can be applied only to expression of integer type", at);
        node = Node(dbIntToReal, exReal, arg);
        break;
      default:
        if (arg->type == exInteger)
            node = Node(dbIntToStr, exString, arg);
        else if (arg->type == exReal)
            node = Node(dbRealToStr, exString, arg);
        else
            ErrorAtStart("STRING function can be applied only to integer or real expression", at);
    }
    return Selectors(node);
}

dbTableInfo* dbQueryCompiler::ReferencedTable(const dbOpNode* node) const
{
    return BoundTable(node->refTable);
}

// The table a reference field designates. References are resolved when the
// schema is loaded; before that a reference to the compiled table itself is
// still known by its name.
dbTableInfo* dbQueryCompiler::FieldTable(const dbFieldInfo* field) const
{
    if (field->refTable != nullptr)
        return BoundTable(field->refTable);
    if (field->refTableName != nullptr && std::strcmp(field->refTableName, table->name) == 0)
        return table;
    return nullptr;
}

// The engine's own descriptor of a table the program names by its static
// descriptor; the program's descriptors are bound to its one engine.
dbTableInfo* dbQueryCompiler::BoundTable(dbTableInfo* t) const
{
    return t;
}
