// Query text objects, their fragment pool and their dumps.
#include "MemDB/dbQueryText.h"

#include "MemDB/dbTableInfo.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

struct FragmentPool {
    std::mutex lock;
    dbQueryFragment* freeList = nullptr;
};

// Static queries are reset during exit in any order, so the pool is never
// destroyed; its fragments go with the process.
FragmentPool& Pool()
{
    static FragmentPool* pool = new FragmentPool;
    return *pool;
}

// Appends formatted text to a bounded buffer, counting what it would need.
class DumpWriter {
  public:
    DumpWriter(char* buf, size_t size) : buf(buf), size(size)
    {
        if (size > 0)
            buf[0] = '\0';
    }

    void Put(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        char tmp[512];
        va_list ap;
        va_start(ap, fmt);
        int n = std::vsnprintf(tmp, sizeof tmp, fmt, ap);
        va_end(ap);
        if (n < 0)
            return;
        if (static_cast<size_t>(n) >= sizeof tmp) {
            std::string big(n + 1, '\0');
            va_start(ap, fmt);
            std::vsnprintf(&big[0], big.size(), fmt, ap);
            va_end(ap);
            Raw(big.c_str(), n);
        } else {
            Raw(tmp, n);
        }
    }

    size_t Length() const { return used; }

  private:
    void Raw(const char* s, size_t n)
    {
        for (size_t i = 0; i < n; i++, used++)
            if (used + 1 < size)
                buf[used] = s[i];
        if (size > 0)
            buf[used < size ? used : size - 1] = '\0';
    }

    char* buf;
    size_t size;
    size_t used = 0;
};

void PutDescriptor(DumpWriter& w, const dbQueryFragment* f)
{
    static const char* const plain[] = {
        nullptr, "{boolean}", "{int1}", "{int2}", "{int4}", "{int8}", "{real4}", "{real8}",
        "{char*}", "{char**}", nullptr, "{rectangle}", nullptr, "{dbArray<int4>}",
        "{dbArray<int8>}", nullptr, "{dbArray<int4>*}", "{dbArray<int8>*}", "{raw binary}",
        "{string}"};
    const char* tableName = f->table != nullptr ? f->table->name : nullptr;
    switch (f->kind) {
      case dbFragReference:
        if (tableName != nullptr)
            w.Put("{dbReference<%s>}", tableName);
        else
            w.Put("{dbAnyReference}");
        return;
      case dbFragArrayOfRef:
        if (tableName != nullptr)
            w.Put("{dbArray< dbReference<%s> >}", tableName);
        else
            w.Put("{dbArray<dbAnyReference>}");
        return;
      case dbFragArrayPtrOfRef:
        if (tableName != nullptr)
            w.Put("{dbArray< dbReference<%s> >*}", tableName);
        else
            w.Put("{dbArray<dbAnyReference>*}");
        return;
      default:
        if (f->kind > 0 && f->kind < dbFragKindCount && plain[f->kind] != nullptr)
            w.Put("%s", plain[f->kind]);
        else
            w.Put("{?}");
    }
}

void PutValue(DumpWriter& w, const dbQueryFragment* f)
{
    const void* v = f->value;
    switch (f->kind) {
      case dbFragBoolean: w.Put("%s", *static_cast<const bool*>(v) ? "true" : "false"); return;
      case dbFragInt1: w.Put("%d", *static_cast<const int8_t*>(v)); return;
      case dbFragInt2: w.Put("%d", *static_cast<const int16_t*>(v)); return;
      case dbFragInt4: w.Put("%d", *static_cast<const int32_t*>(v)); return;
      case dbFragInt8: w.Put("%lld", static_cast<long long>(*static_cast<const int64_t*>(v))); return;
      case dbFragReal4: w.Put("%f", *static_cast<const float*>(v)); return;
      case dbFragReal8: w.Put("%f", *static_cast<const double*>(v)); return;
      case dbFragString: w.Put("'%s'", v != nullptr ? static_cast<const char*>(v) : ""); return;
      case dbFragStringPtr: {
        const char* s = *static_cast<const char* const*>(v);
        w.Put("'%s'", s != nullptr ? s : "");
        return;
      }
      case dbFragReference: {
        unsigned long id = *static_cast<const uint32_t*>(v);
        const char* tableName = f->table != nullptr ? f->table->name : nullptr;
        if (tableName != nullptr)
            w.Put("@%s:%lx", tableName, id);
        else
            w.Put("@%lx", id);
        return;
      }
      case dbFragRectangle: {
        const int32_t* r = static_cast<const int32_t*>(v);
        for (int i = 0; i < 4; i++)
            w.Put("%c%f", i == 0 ? '(' : ',', static_cast<double>(r[i]));
        w.Put(")");
        return;
      }
      case dbFragStdString: {
        const std::string* s = static_cast<const std::string*>(v);
        w.Put("'%s'", s->c_str());
        return;
      }
      default:
        PutDescriptor(w, f);
    }
}

}  // namespace

dbQueryFragment* dbTakeFragment()
{
    FragmentPool& pool = Pool();
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (pool.freeList != nullptr) {
            dbQueryFragment* f = pool.freeList;
            pool.freeList = f->next;
            return f;
        }
    }
    return new dbQueryFragment;
}

void dbGiveBackFragments(dbQueryFragment* first, dbQueryFragment* last)
{
    if (first == nullptr)
        return;
    FragmentPool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.lock);
    last->next = pool.freeList;
    pool.freeList = first;
}

// The link a chain's tail points at is the next field of its last fragment,
// which is the fragment's first member: the last fragment in constant time.
static dbQueryFragment* LastOf(dbQueryFragment** tail)
{
    static_assert(offsetof(dbQueryFragment, next) == 0, "next must lead the fragment");
    return reinterpret_cast<dbQueryFragment*>(tail);
}

dbQueryExpression::dbQueryExpression(const char* fieldName)
{
    AppendText(fieldName);
}

dbQueryExpression::dbQueryExpression(const char* fieldName, const char* componentName)
{
    AppendText(fieldName);
    AppendText(".");
    AppendText(componentName);
}

dbQueryExpression::dbQueryExpression(dbQueryExpression& inner)
{
    AppendText("(");
    if (inner.first != nullptr) {
        *tail = inner.first;
        tail = inner.tail;
        inner.first = nullptr;
        inner.tail = &inner.first;
    }
    AppendText(")");
}

dbQueryExpression::~dbQueryExpression()
{
    if (first != nullptr)
        dbGiveBackFragments(first, LastOf(tail));
}

void dbQueryExpression::AppendText(const char* text)
{
    dbQueryFragment* f = dbTakeFragment();
    f->next = nullptr;
    f->value = const_cast<char*>(text);
    f->kind = dbFragText;
    f->table = nullptr;
    *tail = f;
    tail = &f->next;
    expectingValue = true;
}

dbQueryText::dbQueryText() = default;

dbQueryText::~dbQueryText()
{
    Reset();
}

dbQueryText& dbQueryText::Append(int kind, const void* value, dbTableInfo* table)
{
    dbQueryFragment* f = dbTakeFragment();
    f->next = nullptr;
    f->value = const_cast<void*>(value);
    f->kind = kind;
    f->table = table;
    *tail = f;
    tail = &f->next;
    expectingValue = (kind == dbFragText);
    return *this;
}

dbQueryText& dbQueryText::AppendString(const char* s)
{
    return Append(expectingValue ? dbFragString : dbFragText, s);
}

dbQueryText& dbQueryText::Append(dbQueryExpression& expr)
{
    Append(dbFragText, "(");
    if (expr.first != nullptr) {
        *tail = expr.first;
        tail = expr.tail;
        expr.first = nullptr;
        expr.tail = &expr.first;
    }
    return Append(dbFragText, ")");
}

dbQueryText& dbQueryText::Reset()
{
    if (head != nullptr)
        dbGiveBackFragments(head, LastOf(tail));
    head = nullptr;
    tail = &head;
    expectingValue = false;
    tree.Clear();
    return *this;
}

size_t dbQueryText::Dump(char* buf, size_t size) const
{
    DumpWriter w(buf, size);
    for (const dbQueryFragment* f = head; f != nullptr; f = f->next) {
        if (f->kind == dbFragText)
            w.Put(" %s ", static_cast<const char*>(f->value));
        else
            PutDescriptor(w, f);
    }
    return w.Length();
}

size_t dbQueryText::DumpValues(char* buf, size_t size) const
{
    DumpWriter w(buf, size);
    for (const dbQueryFragment* f = head; f != nullptr; f = f->next) {
        if (f->kind == dbFragText)
            w.Put(" %s ", static_cast<const char*>(f->value));
        else
            PutValue(w, f);
    }
    return w.Length();
}
