// The expression interpreter.
#include "MemDB/dbEvaluate.h"

#include "MemDB/dbCustomFunction.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbRectangle.h"

#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

// Ends the EXISTS iteration of one level: an index by that level's
// variable fell outside its array, string or rectangle.
struct ExistsEnd {
    int level;
};

template <class T>
T Read(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

int64_t Wrap(uint64_t v)
{
    return static_cast<int64_t>(v);
}

bool RealRelation(int rel, double a, double b)
{
    switch (rel) {
      case relEq: return a == b;
      case relNe: return a != b;
      case relGt: return a > b;
      case relGe: return a >= b;
      case relLt: return a < b;
      default: return a <= b;
    }
}

template <class T>
bool Relation(int rel, T a, T b)
{
    switch (rel) {
      case relEq: return a == b;
      case relNe: return a != b;
      case relGt: return a > b;
      case relGe: return a >= b;
      case relLt: return a < b;
      default: return a <= b;
    }
}

bool Contains(const int32_t* a, const int32_t* b)
{
    return a[0] <= b[0] && a[1] <= b[1] && b[2] <= a[2] && b[3] <= a[3];
}

bool RectangleRelation(int rel, const int32_t* a, const int32_t* b)
{
    bool equal = std::memcmp(a, b, 16) == 0;
    switch (rel) {
      case relEq: return equal;
      case relNe: return !equal;
      case relGt: return Contains(a, b) && !equal;
      case relGe: return Contains(a, b);
      case relLt: return Contains(b, a) && !equal;
      default: return Contains(b, a);
    }
}

const char* VariableAddress(const dbOpNode* node, const dbEvalContext& ctx)
{
    const char* addr = static_cast<const char*>(node->var);
    if (ctx.params != nullptr && addr != nullptr)
        addr = ctx.params + reinterpret_cast<uintptr_t>(addr);
    return addr;
}

void LoadField(int code, const char* p, const dbOpNode* node, dbEvalValue& v)
{
    const char* at = p + node->offs;
    switch (code) {
      case dbFieldInfo::tpBool: v.ivalue = *at != 0; return;
      case dbFieldInfo::tpInt1: v.ivalue = Read<int8_t>(at); return;
      case dbFieldInfo::tpInt2: v.ivalue = Read<int16_t>(at); return;
      case dbFieldInfo::tpInt4: v.ivalue = Read<int32_t>(at); return;
      case dbFieldInfo::tpInt8: v.ivalue = Read<int64_t>(at); return;
      case dbFieldInfo::tpReal4: v.rvalue = Read<float>(at); return;
      case dbFieldInfo::tpReal8: v.rvalue = Read<double>(at); return;
      case dbFieldInfo::tpString:
        v.str.len = Read<int32_t>(at);
        v.str.chars = p + Read<uint32_t>(at + 4);
        return;
      case dbFieldInfo::tpReference: v.oid = Read<uint32_t>(at); return;
      case dbFieldInfo::tpArray:
        v.arr.n = Read<int32_t>(at);
        v.arr.base = p + Read<uint32_t>(at + 4);
        return;
      case dbLoadRectangleOffs: std::memcpy(v.rect, at, 16); return;
      default: v.ptr = at; return;
    }
}

void LoadVariable(int fragKind, const char* addr, dbEvalValue& v)
{
    switch (fragKind) {
      case dbFragBoolean: v.ivalue = *addr != 0; return;
      case dbFragInt1: v.ivalue = Read<int8_t>(addr); return;
      case dbFragInt2: v.ivalue = Read<int16_t>(addr); return;
      case dbFragInt4: v.ivalue = Read<int32_t>(addr); return;
      case dbFragInt8: v.ivalue = Read<int64_t>(addr); return;
      case dbFragReal4: v.rvalue = Read<float>(addr); return;
      case dbFragReal8: v.rvalue = Read<double>(addr); return;
      case dbFragString:
        v.str.chars = addr != nullptr ? addr : "";
        v.str.len = static_cast<int32_t>(std::strlen(v.str.chars) + 1);
        return;
      case dbFragStringPtr: {
        const char* s = Read<const char*>(addr);
        v.str.chars = s != nullptr ? s : "";
        v.str.len = static_cast<int32_t>(std::strlen(v.str.chars) + 1);
        return;
      }
      case dbFragReference: v.oid = Read<uint32_t>(addr); return;
      case dbFragRectangle: std::memcpy(v.rect, addr, 16); return;
      case dbFragArrayOfRef: case dbFragArrayOfInt4: case dbFragArrayOfInt8: {
        const dbAnyArray* a = reinterpret_cast<const dbAnyArray*>(addr);
        v.arr.n = static_cast<int32_t>(a->used);
        v.arr.base = static_cast<const char*>(a->data);
        return;
      }
      case dbFragArrayPtrOfRef: case dbFragArrayPtrOfInt4: case dbFragArrayPtrOfInt8: {
        const dbAnyArray* a = Read<const dbAnyArray*>(addr);
        v.arr.n = static_cast<int32_t>(a->used);
        v.arr.base = static_cast<const char*>(a->data);
        return;
      }
      case dbFragStdString: {
        const std::string* s = reinterpret_cast<const std::string*>(addr);
        v.str.chars = s->c_str();
        v.str.len = static_cast<int32_t>(s->size() + 1);
        return;
      }
      default: v.ptr = addr; return;
    }
}

size_t ElementSize(int code)
{
    switch (code) {
      case dbFieldInfo::tpBool: case dbFieldInfo::tpInt1: return 1;
      case dbFieldInfo::tpInt2: return 2;
      case dbFieldInfo::tpInt8: case dbFieldInfo::tpReal8: case dbFieldInfo::tpString: return 8;
      default: return 4;
    }
}

bool InArray(int code, const dbEvalValue& x, const dbEvalValue& a)
{
    size_t size = ElementSize(code);
    const char* p = a.arr.base;
    for (int32_t i = 0; i < a.arr.n; i++, p += size) {
        switch (code) {
          case dbFieldInfo::tpBool:
            if ((*p != 0) == (x.ivalue != 0))
                return true;
            break;
          case dbFieldInfo::tpInt1:
            if (static_cast<int8_t>(*p) == static_cast<int8_t>(x.ivalue))
                return true;
            break;
          case dbFieldInfo::tpInt2:
            if (Read<int16_t>(p) == static_cast<int16_t>(x.ivalue))
                return true;
            break;
          case dbFieldInfo::tpInt4:
            if (Read<int32_t>(p) == static_cast<int32_t>(x.ivalue))
                return true;
            break;
          case dbFieldInfo::tpInt8:
            if (Read<int64_t>(p) == x.ivalue)
                return true;
            break;
          case dbFieldInfo::tpReal4:
            if (Read<float>(p) == static_cast<float>(x.rvalue))
                return true;
            break;
          case dbFieldInfo::tpReal8:
            if (Read<double>(p) == x.rvalue)
                return true;
            break;
          case dbFieldInfo::tpString:
            if (std::strcmp(p + Read<uint32_t>(p + 4), x.str.chars) == 0)
                return true;
            break;
          default:
            if (Read<uint32_t>(p) == x.oid)
                return true;
        }
    }
    return false;
}

int64_t IntPower(int64_t base, int64_t exponent, dbEvalContext& ctx)
{
    if (base == 2 && exponent >= 0)
        return exponent < 64 ? Wrap(uint64_t(1) << exponent) : 0;
    if (exponent < 0) {
        if (base == 0)
            ctx.Fault(dbArithmeticError, "Raise zero to negative power", 0);
        base = base == 1 ? 1 : base == -1 ? -1 : 0;
        exponent = exponent == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max()
                                                                   : -exponent;
    }
    uint64_t result = 1;
    uint64_t b = static_cast<uint64_t>(base);
    while (exponent != 0) {
        if (exponent & 1)
            result *= b;
        b *= b;
        exponent >>= 1;
    }
    return Wrap(result);
}

double RealPowerInt(double base, int64_t exponent, dbEvalContext& ctx)
{
    if (exponent < 0) {
        if (base == 0)
            ctx.Fault(dbArithmeticError, "Raise zero to negative power", 0);
        base = 1 / base;
        exponent = exponent == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max()
                                                                   : -exponent;
    }
    double result = 1.0;
    while (exponent != 0) {
        if (exponent & 1)
            result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}

// An index into something of `length` items: an EXISTS variable past the end
// ends that level's iteration, any other index out of range is a fault.
int64_t CheckIndex(const dbOpNode* indexNode, const dbEvalValue& index, int64_t length,
                   dbEvalContext& ctx)
{
    int64_t i = index.ivalue;
    if (indexNode->kind == dbExistsVar) {
        int level = indexNode->offs;
        ctx.existsTouched[level] = true;
        if (length > ctx.existsBound[level])
            ctx.existsBound[level] = length;
        if (i < 0 || i >= length)
            throw ExistsEnd{level};
        return i;
    }
    if (i < 0 || i >= length)
        ctx.Fault(dbIndexOutOfRange, nullptr, static_cast<int>(i));
    return i;
}

char* CopyText(dbEvalContext& ctx, const char* s, size_t len)
{
    char* t = ctx.AllocateText(len);
    std::memcpy(t, s, len);
    return t;
}

}  // namespace

char* dbEvalContext::AllocateText(size_t size)
{
    if (textUsed + size <= textAreaSize) {
        char* t = textArea + textUsed;
        textUsed += size;
        return t;
    }
    HeapText* block = static_cast<HeapText*>(std::malloc(sizeof(HeapText) + size));
    if (block == nullptr)
        throw std::bad_alloc();
    block->next = heapTexts;
    heapTexts = block;
    return reinterpret_cast<char*>(block + 1);
}

void dbEvalContext::FreeHeapTexts()
{
    while (heapTexts != nullptr) {
        HeapText* next = heapTexts->next;
        std::free(heapTexts);
        heapTexts = next;
    }
}

void dbEvalContext::Fault(int code, const char* message, int arg)
{
    FreeHeapTexts();
    if (message == nullptr)
        message = dbErrorText(code);
    if (engine != nullptr)
        engine->HandleError(code, message, arg);
    throw dbException(code, message, arg);
}

int dbCompareReals(double a, double b)
{
    if (a < b)
        return -1;
    if (a > b)
        return 1;
    if (a == b)
        return 0;
    bool aNan = std::isnan(a);
    bool bNan = std::isnan(b);
    return aNan == bNan ? 0 : aNan ? 1 : -1;
}

int dbCompareStrings(const char* a, const char* b)
{
    return std::strcmp(a, b);
}

bool dbMatchLike(const char* s, const char* p)
{
    const char* star = nullptr;
    const char* retry = nullptr;
    for (;;) {
        if (*p == '%') {
            star = ++p;
            retry = s;
        } else if (*s == '\0') {
            while (*p == '%')
                p++;
            return *p == '\0';
        } else if (*p == '_' || *p == *s) {
            p++;
            s++;
        } else if (star != nullptr) {
            p = star;
            s = ++retry;
        } else {
            return false;
        }
    }
}

bool dbMatchLikeEscape(const char* s, const char* p, char escape)
{
    const char* star = nullptr;
    const char* retry = nullptr;
    for (;;) {
        if (*p == '%') {
            star = ++p;
            retry = s;
        } else if (*s == '\0') {
            while (*p == '%')
                p++;
            return *p == '\0';
        } else if (*p == escape && escape != '\0' && p[1] != '\0' && p[1] == *s) {
            p += 2;
            s++;
        } else if (*p != escape && (*p == '_' || *p == *s)) {
            p++;
            s++;
        } else if (star != nullptr) {
            p = star;
            s = ++retry;
        } else {
            return false;
        }
    }
}

bool dbContainsSubstring(const char* hay, size_t n, const char* needle, size_t m)
{
    if (m > n)
        return false;
    if (m == 0)
        return true;
    if (n < 512) {
        // Short texts: find each place of the needle's first character and
        // compare the rest there.
        const char* end = hay + (n - m) + 1;
        for (const char* p = hay; p < end; p++) {
            p = static_cast<const char*>(std::memchr(p, needle[0], end - p));
            if (p == nullptr)
                return false;
            if (std::memcmp(p + 1, needle + 1, m - 1) == 0)
                return true;
        }
        return false;
    }
    size_t shift[256];
    for (size_t i = 0; i < 256; i++)
        shift[i] = m;
    for (size_t i = 0; i + 1 < m; i++)
        shift[static_cast<unsigned char>(needle[i])] = m - 1 - i;
    const unsigned char last = static_cast<unsigned char>(needle[m - 1]);
    for (size_t i = m - 1; i < n;) {
        unsigned char c = static_cast<unsigned char>(hay[i]);
        if (c == last) {
            size_t j = 1;
            while (j < m && hay[i - j] == needle[m - 1 - j])
                j++;
            if (j == m)
                return true;
        }
        i += shift[c];
    }
    return false;
}

namespace {

// Copies a text the application handed over into the evaluation's area
// and frees it; a null text reads as the empty text.
void TakeText(dbEvalContext& ctx, char* text, dbEvalValue& v)
{
    size_t size = text != nullptr ? std::strlen(text) + 1 : 1;
    char* copy = ctx.AllocateText(size);
    if (text != nullptr)
        std::memcpy(copy, text, size);
    else
        copy[0] = '\0';
    std::free(text);
    v.str.chars = copy;
    v.str.len = static_cast<int32_t>(size);
}

template <class R, class... A>
R Call(const dbCustomFunction* f, A... args)
{
    return reinterpret_cast<R (*)(A...)>(f->function)(args...);
}

// Calls the function with the given arguments and converts its result.
template <class... A>
void CallFunction(const dbCustomFunction* f, dbEvalContext& ctx, dbEvalValue& v, A... args)
{
    switch (dbCustomFunction::ResultOf(f->kind)) {
      case 0: v.ivalue = Call<bool>(f, args...) ? 1 : 0; return;
      case 1: v.ivalue = Call<int64_t>(f, args...); return;
      case 2: v.rvalue = Call<double>(f, args...); return;
      default: {
        TakeText(ctx, Call<char*>(f, args...), v);
      }
    }
}

dbCustomArgument ToArgument(const dbOpNode* node, const dbEvalValue& value)
{
    dbCustomArgument arg{};
    switch (node->type) {
      case exInteger: arg.kind = dbCustomArgument::Integer; arg.i = value.ivalue; break;
      case exBoolean: arg.kind = dbCustomArgument::Boolean; arg.b = value.ivalue != 0; break;
      case exReal: arg.kind = dbCustomArgument::Real; arg.r = value.rvalue; break;
      case exString: arg.kind = dbCustomArgument::String; arg.s = value.str.chars; break;
      case exReference: arg.kind = dbCustomArgument::Reference; arg.oid = value.oid; break;
      default: arg.kind = dbCustomArgument::RawBinary; arg.raw = value.ptr; break;
    }
    return arg;
}

// A field computed by its method object from the record.
void LoadMethod(const dbOpNode* node, const char* record, dbEvalContext& ctx, dbEvalValue& v)
{
    union {
        uint8_t byte;
        int8_t i1;
        int16_t i2;
        int32_t i4;
        int64_t i8;
        float r4;
        double r8;
        char* text;
        uint32_t oid;
    } out;
    out.i8 = 0;
    const dbFieldInfo* field = node->load.field;
    field->method->Invoke(record, &out);
    switch (field->type - dbFieldInfo::tpMethodBool) {
      case dbFieldInfo::tpBool: v.ivalue = out.byte != 0; return;
      case dbFieldInfo::tpInt1: v.ivalue = out.i1; return;
      case dbFieldInfo::tpInt2: v.ivalue = out.i2; return;
      case dbFieldInfo::tpInt4: v.ivalue = out.i4; return;
      case dbFieldInfo::tpInt8: v.ivalue = out.i8; return;
      case dbFieldInfo::tpReal4: v.rvalue = out.r4; return;
      case dbFieldInfo::tpReal8: v.rvalue = out.r8; return;
      case dbFieldInfo::tpString: TakeText(ctx, out.text, v); return;
      default: v.oid = out.oid; return;
    }
}

// A user function call: the arguments from the last to the first.
void EvaluateCall(const dbOpNode* node, dbEvalContext& ctx, dbEvalValue& v)
{
    const dbCustomFunction* f = node->function;
    int kind = node->kind - dbUserFunction;
    int n = dbCustomFunction::ArgumentCount(kind);
    dbEvalValue values[3];
    for (int i = n; i-- > 0;)
        dbEvaluate(node->op[i], ctx, values[i]);
    if (kind < 12) {
        switch (kind % 3) {
          case 0: CallFunction(f, ctx, v, values[0].ivalue); return;
          case 1: CallFunction(f, ctx, v, values[0].rvalue); return;
          default: CallFunction(f, ctx, v, values[0].str.chars); return;
        }
    }
    dbCustomArgument args[3];
    for (int i = 0; i < n; i++)
        args[i] = ToArgument(node->op[i], values[i]);
    switch (n) {
      case 1: CallFunction(f, ctx, v, &args[0]); return;
      case 2: CallFunction(f, ctx, v, &args[0], &args[1]); return;
      default: CallFunction(f, ctx, v, &args[0], &args[1], &args[2]); return;
    }
}

} // namespace

void dbEvaluate(const dbOpNode* node, dbEvalContext& ctx, dbEvalValue& v)
{
    dbEvalValue a, b, c;
    int kind = node->kind;
    if (kind >= dbUserFunction && kind < dbUserFunction + dbCustomFunction::KindCount) {
        EvaluateCall(node, ctx, v);
        return;
    }
    if (kind < dbLoadCurrent) {
        dbEvaluate(node->load.base, ctx, a);
        if (dbFieldInfo::IsMethod(kind))
            LoadMethod(node, a.ptr, ctx, v);
        else
            LoadField(kind, a.ptr, node, v);
        return;
    }
    if (kind <= dbLoadCurrent + dbLoadRawOffs) {
        if (dbFieldInfo::IsMethod(kind - dbLoadCurrent))
            LoadMethod(node, ctx.record, ctx, v);
        else
            LoadField(kind - dbLoadCurrent, ctx.record, node, v);
        return;
    }
    if (kind >= dbInArray && kind < dbInArrayRectangle) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = InArray(kind - dbInArray, a, b);
        return;
    }
    if (kind > dbVariable && kind < dbTrue) {
        LoadVariable(kind - dbVariable, VariableAddress(node, ctx), v);
        return;
    }
    if (kind >= dbIntRel && kind < dbIntRel + 6) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = Relation(kind - dbIntRel, a.ivalue, b.ivalue);
        return;
    }
    if (kind >= dbRealRel && kind < dbRealRel + 6) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = RealRelation(kind - dbRealRel, a.rvalue, b.rvalue);
        return;
    }
    if (kind >= dbStrRel && kind < dbStrRel + 6) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = Relation(kind - dbStrRel, std::strcmp(a.str.chars, b.str.chars), 0);
        return;
    }
    if (kind >= dbRectRel && kind < dbRectRel + 6) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = RectangleRelation(kind - dbRectRel, a.rect, b.rect);
        return;
    }
    if (kind >= dbRawRel && kind < dbRawRel + 6) {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        int d = node->comparator != nullptr ? node->comparator(a.ptr, b.ptr, node->offs)
                                            : std::memcmp(a.ptr, b.ptr, node->offs);
        v.ivalue = Relation(kind - dbRawRel, d, 0);
        return;
    }
    switch (kind) {
      case dbInArrayRectangle: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = 0;
        for (int32_t i = 0; i < b.arr.n; i++)
            if (std::memcmp(b.arr.base + 16 * i, a.rect, 16) == 0) {
                v.ivalue = 1;
                break;
            }
        return;
      }
      case dbInString:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = dbContainsSubstring(b.str.chars, b.str.len - 1, a.str.chars, a.str.len - 1);
        return;
      case dbRectOverlaps:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = a.rect[0] <= b.rect[2] && b.rect[0] <= a.rect[2] && a.rect[1] <= b.rect[3]
                && b.rect[1] <= a.rect[3];
        return;
      case dbRectArea:
        dbEvaluate(node->op[0], ctx, a);
        v.rvalue = static_cast<double>(dbRectangleArea(dbRectangle{a.rect[0], a.rect[1], a.rect[2], a.rect[3]}));
        return;
      case dbArrayLength:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = a.arr.n;
        return;
      case dbStringLength:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = a.str.len - 1;
        return;
      case dbArrayElement: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        int64_t i = CheckIndex(node->op[1], b, a.arr.n, ctx);
        v.ptr = a.arr.base + i * node->offs;
        return;
      }
      case dbStringChar: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        int64_t i = CheckIndex(node->op[1], b, a.str.len - 1, ctx);
        v.ivalue = static_cast<unsigned char>(a.str.chars[i]);
        return;
      }
      case dbTrue: v.ivalue = 1; return;
      case dbFalse: v.ivalue = 0; return;
      case dbNull: v.oid = 0; return;
      case dbIntLiteral: v.ivalue = node->ivalue; return;
      case dbRealLiteral: v.rvalue = node->rvalue; return;
      case dbStrLiteral:
        v.str.chars = node->str.chars;
        v.str.len = node->str.len;
        return;
      case dbRectLiteral: std::memcpy(v.rect, node->rect, 16); return;
      case dbCurrent: v.oid = ctx.recordId; return;
      case dbFirst: v.oid = ctx.tableRow != nullptr ? dbGet32(ctx.tableRow, dbDictFirstRow) : 0; return;
      case dbLast: v.oid = ctx.tableRow != nullptr ? dbGet32(ctx.tableRow, dbDictLastRow) : 0; return;
      case dbOr:
      case dbAnd:
        // Chains are right-nested: walk their spine instead of recursing.
        for (;;) {
            dbEvaluate(node->op[0], ctx, a);
            if ((a.ivalue != 0) == (kind == dbOr)) {
                v.ivalue = kind == dbOr;
                return;
            }
            node = node->op[1];
            if (node->kind != kind) {
                dbEvaluate(node, ctx, b);
                v.ivalue = b.ivalue != 0;
                return;
            }
        }
      case dbNot:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = a.ivalue == 0;
        return;
      case dbIsNull:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = a.oid == 0;
        return;
      case dbIntNeg:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = Wrap(0 - static_cast<uint64_t>(a.ivalue));
        return;
      case dbIntAdd: case dbIntSub: case dbIntMul: case dbIntDiv:
      case dbIntAnd: case dbIntOr: case dbIntPow: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        uint64_t x = static_cast<uint64_t>(a.ivalue);
        uint64_t y = static_cast<uint64_t>(b.ivalue);
        switch (kind) {
          case dbIntAdd: v.ivalue = Wrap(x + y); return;
          case dbIntSub: v.ivalue = Wrap(x - y); return;
          case dbIntMul: v.ivalue = Wrap(x * y); return;
          case dbIntAnd: v.ivalue = Wrap(x & y); return;
          case dbIntOr: v.ivalue = Wrap(x | y); return;
          case dbIntPow: v.ivalue = IntPower(a.ivalue, b.ivalue, ctx); return;
          default:
            if (b.ivalue == 0)
                ctx.Fault(dbArithmeticError, "Division by zero", 0);
            if (b.ivalue == -1 && a.ivalue == std::numeric_limits<int64_t>::min())
                ctx.Fault(dbArithmeticError, "Integer overflow", 0);
            v.ivalue = a.ivalue / b.ivalue;
            return;
        }
      }
      case dbIntNot:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = ~a.ivalue;
        return;
      case dbIntAbs:
        dbEvaluate(node->op[0], ctx, a);
        v.ivalue = a.ivalue < 0 ? Wrap(0 - static_cast<uint64_t>(a.ivalue)) : a.ivalue;
        return;
      case dbIntBetween:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        if (a.ivalue < b.ivalue) {
            v.ivalue = 0;
            return;
        }
        dbEvaluate(node->op[2], ctx, c);
        v.ivalue = a.ivalue <= c.ivalue;
        return;
      case dbRealNeg:
        dbEvaluate(node->op[0], ctx, a);
        v.rvalue = -a.rvalue;
        return;
      case dbRealAdd: case dbRealSub: case dbRealMul: case dbRealDiv:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        switch (kind) {
          case dbRealAdd: v.rvalue = a.rvalue + b.rvalue; return;
          case dbRealSub: v.rvalue = a.rvalue - b.rvalue; return;
          case dbRealMul: v.rvalue = a.rvalue * b.rvalue; return;
          default:
            if (b.rvalue == 0)
                ctx.Fault(dbArithmeticError, "Division by zero", 0);
            v.rvalue = a.rvalue / b.rvalue;
            return;
        }
      case dbRealAbs:
        dbEvaluate(node->op[0], ctx, a);
        v.rvalue = std::fabs(a.rvalue);
        return;
      case dbRealPow:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        if (a.rvalue < 0)
            ctx.Fault(dbArithmeticError, "Power operator returns complex result", 0);
        if (a.rvalue == 0 && b.rvalue < 0)
            ctx.Fault(dbArithmeticError, "Raise zero to negative power", 0);
        v.rvalue = std::pow(a.rvalue, b.rvalue);
        return;
      case dbRealPowInt:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.rvalue = RealPowerInt(a.rvalue, b.ivalue, ctx);
        return;
      case dbRawBetween: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        auto cmp = [&](const char* x, const char* y) {
            return node->comparator != nullptr ? node->comparator(x, y, node->offs)
                                               : std::memcmp(x, y, node->offs);
        };
        if (cmp(a.ptr, b.ptr) < 0) {
            v.ivalue = 0;
            return;
        }
        dbEvaluate(node->op[2], ctx, c);
        v.ivalue = cmp(a.ptr, c.ptr) <= 0;
        return;
      }
      case dbRectAdd:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        for (int i = 0; i < 2; i++) {
            v.rect[i] = a.rect[i] < b.rect[i] ? a.rect[i] : b.rect[i];
            v.rect[i + 2] = a.rect[i + 2] > b.rect[i + 2] ? a.rect[i + 2] : b.rect[i + 2];
        }
        return;
      case dbRectCoord: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        int64_t i = CheckIndex(node->op[1], b, 4, ctx);
        v.rvalue = a.rect[i];
        return;
      }
      case dbRealBetween:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        if (!(b.rvalue <= a.rvalue)) {
            v.ivalue = 0;
            return;
        }
        dbEvaluate(node->op[2], ctx, c);
        v.ivalue = a.rvalue <= c.rvalue;
        return;
      case dbBoolRel: case dbBoolRel + 1:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = ((a.ivalue != 0) == (b.ivalue != 0)) == (kind == dbBoolRel);
        return;
      case dbRefRel: case dbRefRel + 1:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = (a.oid == b.oid) == (kind == dbRefRel);
        return;
      case dbStrBetween:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        if (std::strcmp(a.str.chars, b.str.chars) < 0) {
            v.ivalue = 0;
            return;
        }
        dbEvaluate(node->op[2], ctx, c);
        v.ivalue = std::strcmp(a.str.chars, c.str.chars) <= 0;
        return;
      case dbLike:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        v.ivalue = dbMatchLike(a.str.chars, b.str.chars);
        return;
      case dbLikeEscape:
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        dbEvaluate(node->op[2], ctx, c);
        v.ivalue = dbMatchLikeEscape(a.str.chars, b.str.chars, c.str.chars[0]);
        return;
      case dbUpper: case dbLower: {
        dbEvaluate(node->op[0], ctx, a);
        char* t = CopyText(ctx, a.str.chars, a.str.len);
        for (char* p = t; *p != '\0'; p++)
            *p = static_cast<char>(kind == dbUpper ? std::toupper(static_cast<unsigned char>(*p))
                                                   : std::tolower(static_cast<unsigned char>(*p)));
        v.str.chars = t;
        v.str.len = a.str.len;
        return;
      }
      case dbIntToRef:
        dbEvaluate(node->op[0], ctx, a);
        v.oid = static_cast<uint32_t>(a.ivalue);
        return;
      case dbIntToReal:
        dbEvaluate(node->op[0], ctx, a);
        v.rvalue = static_cast<double>(a.ivalue);
        return;
      case dbRealToInt:
        dbEvaluate(node->op[0], ctx, a);
        if (!(a.rvalue > -9223372036854775808.0 && a.rvalue < 9223372036854775808.0))
            ctx.Fault(dbArithmeticError, "Integer overflow", 0);
        v.ivalue = static_cast<int64_t>(a.rvalue);
        return;
      case dbIntToStr: case dbRealToStr: {
        dbEvaluate(node->op[0], ctx, a);
        char buf[512];
        int n = kind == dbIntToStr ? std::snprintf(buf, sizeof buf, "%" PRId64, a.ivalue)
                                   : std::snprintf(buf, sizeof buf, "%f", a.rvalue);
        v.str.chars = CopyText(ctx, buf, n + 1);
        v.str.len = n + 1;
        return;
      }
      case dbConcat: {
        dbEvaluate(node->op[0], ctx, a);
        dbEvaluate(node->op[1], ctx, b);
        size_t len = size_t(a.str.len) + b.str.len - 1;
        char* t = ctx.AllocateText(len);
        std::memcpy(t, a.str.chars, a.str.len - 1);
        std::memcpy(t + a.str.len - 1, b.str.chars, b.str.len);
        v.str.chars = t;
        v.str.len = static_cast<int32_t>(len);
        return;
      }
      case dbDeref:
        // A reference to a removed or foreign record reads nothing.
        dbEvaluate(node->op[0], ctx, a);
        if (a.oid == 0 || ctx.engine == nullptr || !ctx.engine->IsRecordOf(a.oid, node->refTable))
            ctx.Fault(dbNullReferenceError, nullptr, 0);
        v.ptr = ctx.engine->GetRow(a.oid);
        return;
      case dbExists: {
        int level = node->offs;
        ctx.existsCounter[level] = 0;
        ctx.existsBound[level] = 0;
        for (;;) {
            ctx.existsTouched[level] = false;
            try {
                dbEvaluate(node->op[0], ctx, a);
            } catch (const ExistsEnd& end) {
                if (end.level != level)
                    throw;
                v.ivalue = 0;
                return;
            }
            if (a.ivalue != 0) {
                v.ivalue = 1;
                return;
            }
            // A round that indexed nothing with the variable did not depend
            // on it; past the longest array indexed, every round would end.
            int64_t next = int64_t(ctx.existsCounter[level]) + 1;
            if (!ctx.existsTouched[level] || next >= ctx.existsBound[level]) {
                v.ivalue = 0;
                return;
            }
            ctx.existsCounter[level] = static_cast<int32_t>(next);
        }
      }
      case dbExistsVar:
        v.ivalue = ctx.existsCounter[node->offs];
        return;
      case dbEmpty:
        v.ivalue = 1;
        return;
      default:
        ctx.Fault(dbAssertionFailed, "Bad node kind", kind);
    }
}
