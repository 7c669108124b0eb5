// The grammar of the query language and the compilation of its clauses.
#include "MemDB/dbQueryCompiler.h"

#include "MemDB/dbCustomFunction.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryToken.h"
#include "MemDB/dbTableInfo.h"

#include <algorithm>
#include <utility>
#include <cstdlib>

dbQueryCompiler::dbQueryCompiler(dbEngine* engine) : engine(engine) {}

dbQueryCompiler::~dbQueryCompiler()
{
    std::free(svalue);
}

bool dbQueryCompiler::Compile(dbQueryText& query, dbTableInfo* t)
{
    dbQueryTree& q = query.tree;
    q.Clear();
    table = t;
    tree = &q;
    frag = query.Fragments();
    pos = tokenPos = wherePos = lineBias = 0;
    whereSeen = false;
    nesting = 0;
    pushedBack = false;
    afterIn = false;
    freeVars.clear();
    existsDepth = 0;
    made.clear();
    try {
        dbOpNode* root = Disjunction();
        if (root->type != exBoolean && root->type != exVoid)
            ErrorAtLast("Conditional expression should have boolean type\n");
        StartFromClause();
        OrderByClause();
        LimitClause();
        if (lex != tkEof)
            ErrorAtLast("START, ORDER BY or LIMIT expected");
        q.root = root;
        q.table = t;
        made.clear();
        return true;
    } catch (const Aborted&) {
        Abandon();
        return false;
    } catch (...) {
        Abandon();
        throw;
    }
}

// Gives back everything a failed compile made. Order keys own their
// expressions in a finished tree, but here every node is in `made`.
void dbQueryCompiler::Abandon()
{
    for (dbOrderKey* k = tree->order; k != nullptr; k = k->next)
        k->expr = nullptr;
    tree->Clear();
    std::sort(made.begin(), made.end());
    made.erase(std::unique(made.begin(), made.end()), made.end());
    for (dbOpNode* node : made)
        if (node->kind != dbFreedNode)
            dbFreeNode(node);
    made.clear();
    std::free(svalue);
    svalue = nullptr;
}

// OR and AND group to the right; their operands are gathered in a loop and
// folded from the right, so long chains need no deep recursion.
dbOpNode* dbQueryCompiler::Disjunction()
{
    dbOpNode* left = Conjunction();
    if (lex != tkOr)
        return left;
    std::vector<std::pair<dbOpNode*, int>> operands{{left, 0}};
    while (lex == tkOr) {
        int bStart = pos;
        operands.emplace_back(Conjunction(), bStart);
    }
    dbOpNode* result = operands.back().first;
    for (size_t i = operands.size() - 1; i-- > 0;)
        result = Logical(tkOr, operands[i].first, result, operands[i + 1].second);
    return result;
}

dbOpNode* dbQueryCompiler::Conjunction()
{
    dbOpNode* left = Comparison();
    if (lex != tkAnd)
        return left;
    std::vector<std::pair<dbOpNode*, int>> operands{{left, 0}};
    while (lex == tkAnd) {
        int bStart = pos;
        operands.emplace_back(Comparison(), bStart);
    }
    dbOpNode* result = operands.back().first;
    for (size_t i = operands.size() - 1; i-- > 0;)
        result = Logical(tkAnd, operands[i].first, result, operands[i + 1].second);
    return result;
}

dbOpNode* dbQueryCompiler::Comparison()
{
    int aStart = NextStart();
    dbOpNode* left = Addition();
    int op = lex;
    if (op >= tkEq && op <= tkLe) {
        int bStart = pos;
        dbOpNode* right = Addition();
        return Relation(op - tkEq, left, right, aStart, bStart);
    }
    bool negate = false;
    if (op == tkNot) {
        int at = pos;
        op = Scan();
        if (op != tkLike && op != tkBetween && op != tkIn)
            ErrorAtStart("LIKE, MATCH, BETWEEN or IN expected", at);
        negate = true;
    }
    dbOpNode* result;
    switch (op) {
      case tkLike: {
        dbOpNode* pattern = Addition();
        dbOpNode* escape = nullptr;
        if (lex == tkEscape) {
            int at = pos;
            if (Scan() != tkString)
                ErrorAtStart("String literal espected after ESCAPE", at);
            escape = StringLiteral();
            lex = Scan();
        }
        result = Like(left, pattern, escape, aStart);
        break;
      }
      case tkBetween: {
        int loStart = pos;
        dbOpNode* lo = Addition();
        if (lex != tkAnd)
            ErrorAtLast("AND expected");
        int hiStart = pos;
        dbOpNode* hi = Addition();
        result = Between(left, lo, hi, aStart, loStart, hiStart);
        break;
      }
      case tkIn: {
        int bStart = pos;
        afterIn = true;
        dbOpNode* right = Addition();
        result = In(left, right, bStart);
        break;
      }
      case tkIs: {
        int at = pos;
        int t = Scan();
        bool isNot = false;
        if (t == tkNot) {
            at = pos;
            if (Scan() != tkNull)
                ErrorAtStart("NULL expected", at);
            isNot = true;
        } else if (t != tkNull) {
            ErrorAtStart("[NOT] NULL expected", at);
        }
        if (left->type != exReference)
            ErrorAtStart("IS [NOT] NULL predicate can be applied only to references", aStart);
        result = Node(dbIsNull, exBoolean, left);
        if (isNot)
            result = Node(dbNot, exBoolean, result);
        lex = Scan();
        break;
      }
      case tkOverlaps: {
        dbOpNode* right = Addition();
        result = Overlaps(left, right, aStart);
        break;
      }
      default:
        return left;
    }
    if (negate)
        result = Node(dbNot, exBoolean, result);
    return result;
}

dbOpNode* dbQueryCompiler::Addition()
{
    int aStart = NextStart();
    dbOpNode* left = Multiplication();
    while (lex == tkAdd || lex == tkSub) {
        int op = lex;
        int bStart = pos;
        dbOpNode* right = Multiplication();
        left = Arithmetic(op, left, right, aStart, bStart);
    }
    return left;
}

dbOpNode* dbQueryCompiler::Multiplication()
{
    int aStart = NextStart();
    dbOpNode* left = Power();
    while (lex == tkMul || lex == tkDiv) {
        int op = lex;
        int bStart = pos;
        dbOpNode* right = Power();
        left = Arithmetic(op, left, right, aStart, bStart);
    }
    return left;
}

dbOpNode* dbQueryCompiler::Power()
{
    std::vector<std::pair<dbOpNode*, int>> operands;
    int start = NextStart();
    operands.emplace_back(Infix(), start);
    while (lex == tkPower) {
        start = pos;
        operands.emplace_back(Infix(), start);
    }
    dbOpNode* result = operands.back().first;
    for (size_t i = operands.size() - 1; i-- > 0;)
        result = Arithmetic(tkPower, operands[i].first, result, operands[i].second,
                            operands[i + 1].second);
    return result;
}

namespace {

bool OfAnyType(const dbOpNode* node)
{
    return node->type == exBoolean || node->type == exInteger || node->type == exReal
        || node->type == exString || node->type == exReference || node->type == exRawBinary;
}

int ResultType(int kind)
{
    static const int types[4] = {exBoolean, exInteger, exReal, exString};
    return types[dbCustomFunction::ResultOf(kind)];
}

} // namespace

// Primaries joined by user functions of two arguments written between
// their operands, grouped to the left.
dbOpNode* dbQueryCompiler::Infix()
{
    dbOpNode* left = Term();
    while (lex == tkIdent) {
        const dbCustomFunction* function = dbCustomFunction::Find(ident);
        if (function == nullptr)
            break;
        if (dbCustomFunction::ArgumentCount(function->kind) != 2)
            ErrorAtStart("Only function with two arguments can be used as operator", pos);
        int rightStart = pos;
        dbOpNode* right = Term();
        if (!OfAnyType(left) || !OfAnyType(right))
            ErrorAtStart("User function should receive parameter of boolean, integer, real, "
                         "string, reference or user defined type", rightStart);
        left = Node(dbUserFunction + function->kind, ResultType(function->kind), left, right);
        left->function = function;
    }
    return left;
}

// A prefix call; the function's name was the last token scanned.
dbOpNode* dbQueryCompiler::UserCall(const dbCustomFunction* function)
{
    int kind = function->kind;
    dbOpNode* args[3] = {nullptr, nullptr, nullptr};
    int count = dbCustomFunction::ArgumentCount(kind);
    if (count == 1) {
        int start = NextStart();
        args[0] = Term();
        if (kind < 12) {
            static const int declared[3] = {exInteger, exReal, exString};
            if (kind % 3 == 1 && args[0]->type == exInteger)
                args[0] = ToReal(args[0]);
            else if (args[0]->type != declared[kind % 3])
                ErrorAtStart("Incompatible function argument", start);
        } else if (!OfAnyType(args[0])) {
            ErrorAtStart("User function should receive parameter of boolean, integer, real, "
                         "string, reference or user defined type", start);
        }
    } else {
        if (Scan() != tkLpar)
            ErrorAtLast("Too few paramters for user defined function");
        int n = 0;
        for (;;) {
            int start = NextStart();
            dbOpNode* arg = Disjunction();
            if (!OfAnyType(arg))
                ErrorAtStart("User function should receive parameters of boolean, integer, real, "
                             "string, reference or user defined type", start);
            if (n == count)
                ErrorAtLast("Too many parameters for user defined function");
            args[n++] = arg;
            if (lex == tkRpar)
                break;
            if (lex != tkComma)
                ErrorAtLast("')' expected");
        }
        if (n < count)
            ErrorAtLast("Too few parameters for user defined function");
        lex = Scan();
    }
    dbOpNode* node = Node(dbUserFunction + kind, ResultType(kind), args[0], args[1], args[2]);
    node->function = function;
    return node;
}

dbOpNode* dbQueryCompiler::Term()
{
    struct Nesting {
        int& depth;
        explicit Nesting(int& depth) : depth(depth) { ++depth; }
        ~Nesting() { --depth; }
    } nest(nesting);
    if (nesting > maxNesting)
        ErrorAtLast("Expression is too complex");
    bool inList = afterIn;
    afterIn = false;
    int t = Scan();
    int start = tokenPos;
    while (t == tkWhere) {
        if (!whereSeen) {
            wherePos = pos;
            whereSeen = true;
        }
        t = Scan();
        start = tokenPos;
    }
    dbOpNode* node;
    switch (t) {
      case tkIdent: {
        for (auto v = freeVars.rbegin(); v != freeVars.rend(); ++v) {
            if (v->name == name) {
                v->used = true;
                node = Node(dbExistsVar, exFreeVar);
                node->offs = static_cast<uint16_t>(v->level);
                lex = Scan();
                return node;
            }
        }
        dbFieldInfo* field = table->FindField(ident);
        if (field == nullptr) {
            const dbCustomFunction* function = dbCustomFunction::Find(ident);
            if (function == nullptr)
                ErrorAtStart("Field not found", start);
            return Selectors(UserCall(function));
        }
        node = FieldLoad(nullptr, field);
        lex = Scan();
        return Selectors(node);
      }
      case tkInt:
        node = IntLiteral(ivalue);
        lex = Scan();
        return node;
      case tkReal:
        node = Node(dbRealLiteral, exReal);
        node->rvalue = fvalue;
        lex = Scan();
        return node;
      case tkString:
        node = StringLiteral();
        lex = Scan();
        return Selectors(node);
      case tkTrue:
      case tkFalse:
        node = Node(t == tkTrue ? dbTrue : dbFalse, exBoolean);
        lex = Scan();
        return node;
      case tkNull:
        node = Node(dbNull, exReference);
        lex = Scan();
        return node;
      case tkVar:
        node = Variable();
        lex = Scan();
        return Selectors(node);
      case tkLpar:
        return Parenthesised(inList);
      case tkSub: {
        int at = pos;
        dbOpNode* operand = Term();
        if (operand->kind == dbIntLiteral) {
            operand->ivalue = static_cast<int64_t>(0 - static_cast<uint64_t>(operand->ivalue));
            return operand;
        }
        if (operand->kind == dbRealLiteral) {
            operand->rvalue = -operand->rvalue;
            return operand;
        }
        if (operand->type == exInteger)
            return Node(dbIntNeg, exInteger, operand);
        if (operand->type == exReal)
            return Node(dbRealNeg, exReal, operand);
        ErrorAtStart("Unary minus can be applied only to integer or real expressions", at);
      }
      case tkAdd:
        ErrorAtLast("Using of unary plus operator has no sence");
      case tkNot: {
        int at = pos;
        dbOpNode* operand = Comparison();
        if (operand->type == exBoolean)
            return Node(dbNot, exBoolean, operand);
        if (operand->kind == dbIntLiteral) {
            operand->ivalue = ~operand->ivalue;
            return operand;
        }
        if (operand->type == exInteger)
            return Node(dbIntNot, exInteger, operand);
        ErrorAtStart("NOT operator can be applied only to integer or boolean expressions", at);
      }
      case tkLength: case tkLower: case tkUpper: case tkAbs: case tkArea:
      case tkInteger: case tkRealFn: case tkStringFn:
        return Function(t);
      case tkExists:
        return Exists();
      case tkFirst:
      case tkLast:
      case tkCurrent:
        node = Node(t == tkFirst ? dbFirst : t == tkLast ? dbLast : dbCurrent, exReference);
        node->refTable = table;
        lex = Scan();
        return Selectors(node);
      case tkStart:
      case tkOrder:
      case tkLimit:
      case tkEof:
        lex = t;
        return Node(dbEmpty, exVoid);
      default:
        ErrorAtLast("operand expected");
    }
}

dbOpNode* dbQueryCompiler::Parenthesised(bool inList)
{
    dbOpNode* e = Disjunction();
    if (lex == tkComma || inList) {
        dbOpNode* head = Node(dbListElem, exList, e, nullptr);
        dbOpNode* tail = head;
        while (lex == tkComma) {
            e = Disjunction();
            dbOpNode* elem = Node(dbListElem, exList, e, nullptr);
            tail->op[1] = elem;
            tail = elem;
        }
        e = head;
    }
    if (lex != tkRpar)
        ErrorAtLast("')' expected");
    lex = Scan();
    return e;
}

dbOpNode* dbQueryCompiler::Exists()
{
    if (existsDepth >= maxExistsDepth)
        ErrorAtLast("Too many nested EXISTS clauses\n");
    if (Scan() != tkIdent)
        ErrorAtLast("Free variable name expected");
    freeVars.push_back(FreeVar{name, false, existsDepth});
    int at = pos;
    if (Scan() != tkColon)
        ErrorAtStart("':' expected", at);
    existsDepth += 1;
    dbOpNode* body = Term();
    existsDepth -= 1;
    FreeVar v = freeVars.back();
    freeVars.pop_back();
    if (body->type != exBoolean)
        ErrorAtLast("Expresion in EXISTS clause should be of boolean type");
    if (!v.used)
        return body;
    dbOpNode* node = Node(dbExists, exBoolean, body);
    node->offs = static_cast<uint16_t>(v.level);
    return node;
}

dbOpNode* dbQueryCompiler::Selectors(dbOpNode* node)
{
    for (;;) {
        if (lex == tkDot) {
            int at = pos;
            if (node->type != exReference)
                ErrorAtStart("Left operand of '.' should be structure or reference", at);
            if (Scan() != tkIdent)
                ErrorAtStart("identifier expected", at);
            dbTableInfo* target = ReferencedTable(node);
            dbFieldInfo* field = target != nullptr ? target->FindField(ident) : nullptr;
            if (field == nullptr)
                ErrorAtLast("Field not found");
            dbOpNode* deref = Node(dbDeref, exRawBinary, node);
            deref->refTable = target;
            node = FieldLoad(deref, field);
            lex = Scan();
        } else if (lex == tkLbr) {
            dbOpNode* index = Disjunction();
            if (index->type != exInteger && index->type != exFreeVar)
                ErrorAtLast("Index should have integer type");
            if (lex != tkRbr)
                ErrorAtLast("']' expected");
            if (node->type == exString) {
                lex = Scan();
                return Node(dbStringChar, exInteger, node, index);
            }
            if (node->type == exRectangle) {
                lex = Scan();
                return Node(dbRectCoord, exReal, node, index);
            }
            if (node->type != exArray)
                ErrorAtLast("Index can be applied only to arrays");
            dbOpNode* at = Node(dbArrayElement, exRawBinary, node, index);
            if (node->IsLoad()) {
                dbFieldInfo* element = node->load.field->components;
                at->offs = static_cast<uint16_t>(element->dbsSize);
                node = FieldLoad(at, element);
            } else {
                at->offs = 4;
                dbOpNode* load = Node(dbLoadField + dbFieldInfo::tpReference, exReference, at);
                load->refTable = node->refTable;
                node = load;
            }
            lex = Scan();
        } else {
            return node;
        }
    }
}

// A structure has no node of its own: its components are loaded by their
// own stored offsets.
dbOpNode* dbQueryCompiler::FieldLoad(dbOpNode* base, dbFieldInfo* field)
{
    while (field->type == dbFieldInfo::tpStructure) {
        if (Scan() != tkDot)
            ErrorAtLast("'.' expected");
        int at = pos;
        if (Scan() != tkIdent)
            ErrorAtStart("identifier expected", at);
        field = field->FindComponent(ident);
        if (field == nullptr)
            ErrorAtLast("Field not found");
    }
    int code;
    int type;
    switch (field->type) {
      case dbFieldInfo::tpBool: code = field->type; type = exBoolean; break;
      case dbFieldInfo::tpInt1: case dbFieldInfo::tpInt2: case dbFieldInfo::tpInt4:
      case dbFieldInfo::tpInt8: code = field->type; type = exInteger; break;
      case dbFieldInfo::tpReal4: case dbFieldInfo::tpReal8: code = field->type; type = exReal; break;
      case dbFieldInfo::tpString: case dbFieldInfo::tpStdString:
        code = dbFieldInfo::tpString;
        type = exString;
        break;
      case dbFieldInfo::tpReference: code = field->type; type = exReference; break;
      case dbFieldInfo::tpArray: code = field->type; type = exArray; break;
      case dbFieldInfo::tpRectangle: code = dbLoadRectangleOffs; type = exRectangle; break;
      case dbFieldInfo::tpRawBinary: code = dbLoadRawOffs; type = exRawBinary; break;
      default: {
        if (!dbFieldInfo::IsMethod(field->type))
            ErrorAtLast("Field not found");
        static const int types[9] = {exBoolean, exInteger, exInteger, exInteger, exInteger,
                                     exReal, exReal, exString, exReference};
        code = field->type;
        type = types[field->type - dbFieldInfo::tpMethodBool];
      }
    }
    dbOpNode* node = Node((base == nullptr ? dbLoadCurrent : dbLoadField) + code, type);
    node->load.base = base;
    node->load.field = field;
    node->offs = static_cast<uint16_t>(field->dbsOffs);
    node->depth = static_cast<uint16_t>(base != nullptr ? base->depth + 1 : 1);
    if (node->depth > maxDepth)
        ErrorAtLast("Expression is too complex");
    if (type == exReference)
        node->refTable = FieldTable(field);
    return node;
}

dbOpNode* dbQueryCompiler::Variable()
{
    static const uint8_t types[dbFragKindCount] = {
        exVoid, exBoolean, exInteger, exInteger, exInteger, exInteger, exReal, exReal,
        exString, exString, exReference, exRectangle, exArray, exArray, exArray, exArray,
        exArray, exArray, exRawBinary, exString};
    if (varKind <= dbFragText || varKind >= dbFragKindCount)
        ErrorAtLast("operand expected");
    dbOpNode* node = Node(dbVariable + varKind, types[varKind]);
    node->var = varAddr;
    if (varKind == dbFragReference || varKind == dbFragArrayOfRef || varKind == dbFragArrayPtrOfRef)
        node->refTable = varTable;
    return node;
}

dbOpNode* dbQueryCompiler::StringLiteral()
{
    dbOpNode* node = Node(dbStrLiteral, exString);
    node->str.chars = svalue;
    node->str.len = slength;
    svalue = nullptr;
    return node;
}

void dbQueryCompiler::StartFromClause()
{
    if (lex != tkStart)
        return;
    int at = pos;
    if (Scan() != tkFrom)
        ErrorAtStart("FROM expected after START", at);
    at = pos;
    switch (Scan()) {
      case tkFirst:
        tree->startFrom = dbStartFirst;
        break;
      case tkLast:
        tree->startFrom = dbStartLast;
        break;
      case tkVar:
        if (varKind == dbFragReference) {
            if (varTable != table)
                ErrorAtLast("Incompatiable type of reference variable");
            tree->startFrom = dbStartRef;
        } else if (varKind == dbFragArrayOfRef || varKind == dbFragArrayPtrOfRef) {
            if (varTable != table)
                ErrorAtLast("Incompatiable type of array of reference variable");
            tree->startFrom = varKind == dbFragArrayOfRef ? dbStartArray : dbStartArrayPtr;
        } else {
            ErrorAtLast("Reference or array of reference variable expected");
        }
        tree->startFromVar = varAddr;
        break;
      default:
        ErrorAtStart("FIRST, LAST or reference varaible expected", at);
    }
    lex = Scan();
    if (lex != tkFollow)
        return;
    at = pos;
    if (Scan() != tkBy)
        ErrorAtStart("BY expected after FOLLOW", at);
    do {
        at = pos;
        if (Scan() != tkIdent)
            ErrorAtStart("Field name expected", at);
        dbFieldInfo* field = table->FindField(ident);
        if (field == nullptr)
            ErrorAtLast("Field not found");
        while (field->type == dbFieldInfo::tpStructure) {
            at = pos;
            if (Scan() != tkDot)
                ErrorAtStart("'.' expected", at);
            at = pos;
            if (Scan() != tkIdent)
                ErrorAtStart("Field name expected", at);
            field = field->FindComponent(ident);
            if (field == nullptr)
                ErrorAtLast("Field not found");
        }
        bool fits = (field->type == dbFieldInfo::tpReference && FieldTable(field) == table)
            || (field->type == dbFieldInfo::tpArray
                && field->components->type == dbFieldInfo::tpReference
                && FieldTable(field->components) == table);
        if (!fits)
            ErrorAtLast("Follow field should be of compatibale reference or array of reference type");
        tree->follow = new dbFollowField{tree->follow, field};
        lex = Scan();
    } while (lex == tkComma);
}

void dbQueryCompiler::OrderByClause()
{
    if (lex != tkOrder)
        return;
    int at = pos;
    if (Scan() != tkBy)
        ErrorAtStart("BY expected after ORDER", at);
    int parens = 0;
    dbOrderKey** link = &tree->order;
    for (;;) {
        int t = Scan();
        if (t == tkLpar)
            parens += 1;
        else
            Unscan(t);
        int start = NextStart();
        dbOpNode* e = Disjunction();
        dbOrderKey* key = new dbOrderKey{nullptr, nullptr, table, nullptr, true};
        *link = key;
        link = &key->next;
        if (lex == tkAsc || lex == tkDesc) {
            key->ascending = (lex == tkAsc);
            lex = Scan();
        }
        if ((e->kind >= dbLoadCurrent && e->kind <= dbLoadCurrent + dbFieldInfo::tpArray)
            || e->kind == dbLoadCurrent + dbLoadRawOffs) {
            key->field = e->load.field;
            Free(e);
        } else if (e->kind == dbArrayLength && e->op[0]->kind == dbLoadCurrent + dbFieldInfo::tpArray) {
            key->field = e->op[0]->load.field;
            FreeTree(e);
        } else if (e->type == exInteger || e->type == exBoolean || e->type == exReal
                   || e->type == exString || e->type == exReference) {
            key->expr = e;
        } else {
            ErrorAtStart("Expressions in ORDER BY part should have scalar type", start);
        }
        while (lex == tkRpar) {
            if (--parens < 0)
                ErrorAtLast("Unbalanced parentheses ");
            lex = Scan();
        }
        if (lex != tkComma)
            break;
    }
}

void dbQueryCompiler::LimitValue(int32_t& constant, const int32_t*& variable)
{
    int at = pos;
    int t = Scan();
    if (t == tkInt) {
        constant = static_cast<int32_t>(ivalue);
        variable = nullptr;
    } else if (t == tkVar) {
        if (varKind != dbFragInt4)
            ErrorAtStart("LIMIT parameter should have int4 type", at);
        variable = static_cast<const int32_t*>(varAddr);
    } else {
        ErrorAtStart("Parameter or integer constant expected", at);
    }
}

void dbQueryCompiler::LimitClause()
{
    if (lex != tkLimit)
        return;
    tree->limit = true;
    int32_t first = 0;
    const int32_t* firstVar = nullptr;
    LimitValue(first, firstVar);
    lex = Scan();
    if (lex == tkComma) {
        tree->limitStart = first;
        tree->limitStartVar = firstVar;
        LimitValue(tree->limitCount, tree->limitCountVar);
        lex = Scan();
    } else {
        tree->limitCount = first;
        tree->limitCountVar = firstVar;
    }
}
