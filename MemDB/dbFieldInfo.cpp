// Field descriptors and the conversion of records between their application
// and stored forms.
#include "MemDB/dbFieldInfo.h"

#include <cmath>
#include <cstring>
#include <new>

#include "MemDB/dbNameTable.h"

namespace {

const char* Intern(const char* text)
{
    if (text)
        dbNameTable::Instance().Intern(&text, 0, false);
    return text;
}

uint32_t Read32(const uint8_t* p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

void Write32(uint8_t* p, uint32_t v)
{
    memcpy(p, &v, 4);
}

size_t Align(size_t offs, size_t alignment)
{
    return alignment > 1 ? (offs + alignment - 1) & ~(alignment - 1) : offs;
}

bool IsNumeric(int type)
{
    return type <= dbFieldInfo::tpReal8 || type == dbFieldInfo::tpReference;
}

// Reads a numeric value of the given type; reals report through *real.
int64_t ReadNumber(const uint8_t* p, int type, double* real, bool* isReal)
{
    *isReal = false;
    switch (type) {
    case dbFieldInfo::tpBool:
        return *p != 0;
    case dbFieldInfo::tpInt1:
        return static_cast<int8_t>(*p);
    case dbFieldInfo::tpInt2: {
        int16_t v;
        memcpy(&v, p, 2);
        return v;
    }
    case dbFieldInfo::tpInt4: {
        int32_t v;
        memcpy(&v, p, 4);
        return v;
    }
    case dbFieldInfo::tpReference:
        return Read32(p);
    case dbFieldInfo::tpInt8: {
        int64_t v;
        memcpy(&v, p, 8);
        return v;
    }
    case dbFieldInfo::tpReal4: {
        float v;
        memcpy(&v, p, 4);
        *isReal = true;
        *real = v;
        return 0;
    }
    case dbFieldInfo::tpReal8: {
        double v;
        memcpy(&v, p, 8);
        *isReal = true;
        *real = v;
        return 0;
    }
    }
    return 0;
}

// Reals convert to integers by truncation; values out of the target's range
// saturate instead of being undefined.
int64_t Truncate(double d)
{
    if (!(d == d))
        return 0;
    if (d >= 9.2233720368547758e18)
        return INT64_MAX;
    if (d <= -9.2233720368547758e18)
        return INT64_MIN;
    return static_cast<int64_t>(d);
}

void WriteNumber(uint8_t* p, int type, int64_t i, double d, bool isReal)
{
    switch (type) {
    case dbFieldInfo::tpBool:
        *p = isReal ? d != 0 : i != 0;
        return;
    case dbFieldInfo::tpReal4: {
        float v = isReal ? static_cast<float>(d) : static_cast<float>(i);
        memcpy(p, &v, 4);
        return;
    }
    case dbFieldInfo::tpReal8: {
        double v = isReal ? d : static_cast<double>(i);
        memcpy(p, &v, 8);
        return;
    }
    }
    int64_t v = isReal ? Truncate(d) : i;
    switch (type) {
    case dbFieldInfo::tpInt1:
        *p = static_cast<uint8_t>(v);
        return;
    case dbFieldInfo::tpInt2: {
        int16_t s = static_cast<int16_t>(v);
        memcpy(p, &s, 2);
        return;
    }
    case dbFieldInfo::tpInt4:
    case dbFieldInfo::tpReference: {
        uint32_t s = static_cast<uint32_t>(v);
        memcpy(p, &s, 4);
        return;
    }
    case dbFieldInfo::tpInt8:
        memcpy(p, &v, 8);
        return;
    }
}

// Writes an empty string or array slot at the varying offset offs.
size_t StoreEmpty(const dbFieldInfo* fd, uint8_t* dst, size_t offs)
{
    if (fd->type == dbFieldInfo::tpString) {
        if (dst) {
            Write32(dst + fd->dbsOffs, 1);
            Write32(dst + fd->dbsOffs + 4, static_cast<uint32_t>(offs));
            dst[offs] = 0;
        }
        return offs + 1;
    }
    if (fd->type == dbFieldInfo::tpArray) {
        offs = Align(offs, fd->components->alignment);
        if (dst) {
            Write32(dst + fd->dbsOffs, 0);
            Write32(dst + fd->dbsOffs + 4, static_cast<uint32_t>(offs));
        }
        return offs;
    }
    if (dst)
        memset(dst + fd->dbsOffs, 0, fd->dbsSize);
    return offs;
}

// Repacks a stored record (or structure, or array element) into dst with
// the varying part from offs. With useOld the source layout is the field's
// old type, offset and size; a field equal to skip is left out.
size_t Repack(dbFieldInfo* ring, uint8_t* dst, const uint8_t* src, size_t offs, bool useOld,
              const dbFieldInfo* skip)
{
    if (!ring)
        return offs;
    dbFieldInfo* fd = ring;
    do {
        if (fd == skip)
            continue;
        if (fd->type == dbFieldInfo::tpStructure) {
            offs = Repack(fd->components, dst, src, offs, useOld, skip);
            continue;
        }
        int oldType = useOld ? fd->oldDbsType : fd->type;
        size_t oldOffs = useOld ? fd->oldDbsOffs : fd->dbsOffs;
        size_t oldSize = useOld ? fd->oldDbsSize : fd->dbsSize;
        const uint8_t* from = src + oldOffs;
        switch (fd->type) {
        case dbFieldInfo::tpString:
            if (oldType != dbFieldInfo::tpString) {
                offs = StoreEmpty(fd, dst, offs);
            } else {
                uint32_t len = Read32(from);
                if (dst) {
                    Write32(dst + fd->dbsOffs, len);
                    Write32(dst + fd->dbsOffs + 4, static_cast<uint32_t>(offs));
                    memcpy(dst + offs, src + Read32(from + 4), len);
                }
                offs += len;
            }
            break;
        case dbFieldInfo::tpArray: {
            if (oldType != dbFieldInfo::tpArray) {
                offs = StoreEmpty(fd, dst, offs);
                break;
            }
            dbFieldInfo* elem = fd->components;
            uint32_t n = Read32(from);
            const uint8_t* items = src + Read32(from + 4);
            size_t oldStride = useOld ? elem->oldDbsSize : elem->dbsSize;
            offs = Align(offs, elem->alignment);
            if (dst) {
                Write32(dst + fd->dbsOffs, n);
                Write32(dst + fd->dbsOffs + 4, static_cast<uint32_t>(offs));
            }
            size_t base = offs;
            size_t stride = elem->dbsSize;
            offs += n * stride;
            for (uint32_t i = 0; i < n; ++i) {
                size_t at = base + i * stride;
                offs = at + Repack(elem, dst ? dst + at : nullptr, items + i * oldStride,
                                   offs - at, useOld, skip);
            }
            break;
        }
        case dbFieldInfo::tpRawBinary:
            if (dst) {
                memset(dst + fd->dbsOffs, 0, fd->dbsSize);
                if (oldType == dbFieldInfo::tpRawBinary)
                    memcpy(dst + fd->dbsOffs, from, oldSize < fd->dbsSize ? oldSize : fd->dbsSize);
            }
            break;
        case dbFieldInfo::tpRectangle:
            if (dst) {
                if (oldType == dbFieldInfo::tpRectangle)
                    memcpy(dst + fd->dbsOffs, from, 16);
                else
                    memset(dst + fd->dbsOffs, 0, 16);
            }
            break;
        default:
            if (!dst)
                break;
            if (IsNumeric(fd->type) && IsNumeric(oldType)) {
                double d = 0;
                bool isReal;
                int64_t i = ReadNumber(from, oldType, &d, &isReal);
                WriteNumber(dst + fd->dbsOffs, fd->type, i, d, isReal);
            } else {
                memset(dst + fd->dbsOffs, 0, fd->dbsSize);
            }
        }
    } while ((fd = fd->next) != ring);
    return offs;
}

} // namespace

dbFieldInfo::dbFieldInfo(const char* fieldName, size_t appOffset, size_t size, int flags,
                         const char* inverse, dbFieldInfo* members)
    : next(this), prev(this), nextField(nullptr), nextHashedField(nullptr),
      nextIndexedField(nullptr), nextInverseField(nullptr), fieldNo(0), name(Intern(fieldName)),
      longName(nullptr), refTableName(nullptr), refTable(nullptr), defTable(nullptr),
      inverseRef(nullptr), inverseRefName(Intern(inverse)), type(tpStructure),
      appType(tpStructure), indexType(static_cast<uint32_t>(flags)), dbsOffs(0),
      appOffs(appOffset), components(members), hashTable(0), tTree(0), dbsSize(size),
      appSize(size), alignment(size), comparator(nullptr), attr(0), oldDbsType(tpUnknown),
      oldDbsOffs(0), oldDbsSize(0), method(nullptr), arrayAllocator(nullptr)
{
}

dbFieldInfo::~dbFieldInfo()
{
    // Structure members and array elements are in the table's list of all
    // fields and are destroyed from there; a string's component is not.
    if ((type == tpString || appType == tpStdString) && components)
        delete components;
    delete[] longName;
}

void dbFieldInfo::InitComponent()
{
    components = new dbFieldInfo("[]", 0, 1, 0);
    components->type = components->appType = tpInt1;
    components->attr = OneToOneMapping;
}

dbFieldInfo* dbFieldInfo::FindComponent(const char* text)
{
    if (!text || type != tpStructure || !components)
        return nullptr;
    text = dbNameTable::Instance().Find(text);
    if (text == nullptr)
        return nullptr;
    dbFieldInfo* fd = components;
    do {
        if (fd->name == text)
            return fd;
    } while ((fd = fd->next) != components);
    return nullptr;
}

void dbFieldInfo::FetchRecordFields(dbFieldInfo* ring, uint8_t* app, const uint8_t* rec)
{
    dbFieldInfo* fd = ring;
    do {
        uint8_t* to = app + fd->appOffs;
        const uint8_t* from = rec + fd->dbsOffs;
        switch (fd->appType) {
        case tpString:
            *reinterpret_cast<const char**>(to) =
                reinterpret_cast<const char*>(rec + Read32(from + 4));
            break;
        case tpStdString:
            reinterpret_cast<std::string*>(to)->assign(
                reinterpret_cast<const char*>(rec + Read32(from + 4)), Read32(from) - 1);
            break;
        case tpArray: {
            dbFieldInfo* elem = fd->components;
            auto* a = reinterpret_cast<dbAnyArray*>(to);
            uint32_t n = Read32(from);
            uint8_t* items = const_cast<uint8_t*>(rec) + Read32(from + 4);
            if (fd->attr & OneToOneMapping) {
                fd->arrayAllocator(a, items, n);
            } else {
                fd->arrayAllocator(a, nullptr, n);
                auto* data = static_cast<uint8_t*>(a->data);
                for (uint32_t i = 0; i < n; ++i)
                    FetchRecordFields(elem, data + i * elem->appSize, items + i * elem->dbsSize);
            }
            break;
        }
        case tpStructure:
            FetchRecordFields(fd->components, to, rec);
            break;
        default:
            // Fixed sizes copy inline: a fetch is mostly small fields.
            switch (fd->dbsSize) {
            case 1: *to = *from; break;
            case 2: memcpy(to, from, 2); break;
            case 4: memcpy(to, from, 4); break;
            case 8: memcpy(to, from, 8); break;
            default: memcpy(to, from, fd->dbsSize);
            }
        }
    } while ((fd = fd->next) != ring);
}

size_t dbFieldInfo::StoreRecordFields(dbFieldInfo* ring, uint8_t* rec, const uint8_t* app,
                                      size_t offs)
{
    dbFieldInfo* fd = ring;
    do {
        const uint8_t* from = app + fd->appOffs;
        uint8_t* to = rec ? rec + fd->dbsOffs : nullptr;
        switch (fd->appType) {
        case tpString:
        case tpStdString: {
            const char* s;
            size_t len;
            if (fd->appType == tpString) {
                s = *reinterpret_cast<const char* const*>(from);
                if (!s)
                    s = "";
                len = strlen(s) + 1;
            } else {
                auto* str = reinterpret_cast<const std::string*>(from);
                s = str->c_str();
                len = str->size() + 1;
            }
            if (to) {
                Write32(to, static_cast<uint32_t>(len));
                Write32(to + 4, static_cast<uint32_t>(offs));
                memcpy(rec + offs, s, len);
            }
            offs += len;
            break;
        }
        case tpArray: {
            dbFieldInfo* elem = fd->components;
            auto* a = reinterpret_cast<const dbAnyArray*>(from);
            auto* data = static_cast<const uint8_t*>(a->data);
            uint32_t n = a->used;
            offs = Align(offs, elem->alignment);
            if (to) {
                Write32(to, n);
                Write32(to + 4, static_cast<uint32_t>(offs));
            }
            size_t base = offs;
            offs += n * elem->dbsSize;
            if (fd->attr & OneToOneMapping) {
                if (rec && n != 0)
                    memcpy(rec + base, data, n * elem->dbsSize);
                break;
            }
            for (uint32_t i = 0; i < n; ++i) {
                size_t at = base + i * elem->dbsSize;
                offs = at + StoreRecordFields(elem, rec ? rec + at : nullptr,
                                              data + i * elem->appSize, offs - at);
            }
            break;
        }
        case tpStructure:
            offs = StoreRecordFields(fd->components, rec, from, offs);
            break;
        default:
            if (to)
                memcpy(to, from, fd->dbsSize);
        }
    } while ((fd = fd->next) != ring);
    return offs;
}

size_t dbFieldInfo::StoredSize(dbFieldInfo* ring, const uint8_t* app, size_t fixedSize)
{
    return StoreRecordFields(ring, nullptr, app, fixedSize);
}

void dbFieldInfo::MarkUpdatedFields(dbFieldInfo* ring, const uint8_t* rec, const uint8_t* app)
{
    dbFieldInfo* fd = ring;
    do {
        const uint8_t* from = app + fd->appOffs;
        const uint8_t* stored = rec + fd->dbsOffs;
        if (fd->type == tpStructure) {
            MarkUpdatedFields(fd->components, rec, from);
            continue;
        }
        if (!(fd->indexType & (HASHED | INDEXED)) || fd->type == tpArray)
            continue;
        bool differs;
        if (fd->type == tpString) {
            const char* old = reinterpret_cast<const char*>(rec + Read32(stored + 4));
            if (fd->appType == tpStdString) {
                differs = *reinterpret_cast<const std::string*>(from) != old;
            } else {
                const char* s = *reinterpret_cast<const char* const*>(from);
                differs = !s || strcmp(s, old) != 0;
            }
        } else {
            differs = memcmp(from, stored, fd->dbsSize) != 0;
        }
        if (differs)
            fd->attr |= Updated;
    } while ((fd = fd->next) != ring);
}

size_t dbFieldInfo::ConvertRecord(dbFieldInfo* ring, uint8_t* dst, const uint8_t* src,
                                  size_t offs)
{
    return Repack(ring, dst, src, offs, true, nullptr);
}

size_t dbFieldInfo::ConvertedSize(dbFieldInfo* ring, const uint8_t* src, size_t fixedSize)
{
    return Repack(ring, nullptr, src, fixedSize, true, nullptr);
}

size_t dbFieldInfo::SizeWithoutField(dbFieldInfo* skip, dbFieldInfo* ring, const uint8_t* rec,
                                     size_t fixedSize)
{
    return Repack(ring, nullptr, rec, fixedSize, false, skip);
}

size_t dbFieldInfo::CopyWithoutField(dbFieldInfo* skip, dbFieldInfo* ring, uint8_t* dst,
                                     const uint8_t* src, size_t offs)
{
    return Repack(ring, dst, src, offs, false, skip);
}

void dbFieldInfo::RebasePointers(dbFieldInfo* ring, uint8_t* app, const char* oldBase,
                                 size_t oldSize, ptrdiff_t shift)
{
    auto rebase = [&](void* slot) {
        char* p;
        memcpy(&p, slot, sizeof p);
        if (p >= oldBase && p < oldBase + oldSize) {
            p += shift;
            memcpy(slot, &p, sizeof p);
        }
    };
    dbFieldInfo* fd = ring;
    do {
        uint8_t* at = app + fd->appOffs;
        switch (fd->appType) {
        case tpString:
            rebase(at);
            break;
        case tpArray: {
            auto* a = reinterpret_cast<dbAnyArray*>(at);
            if (a->allocated == 0) {
                rebase(&a->data);
            } else if (fd->components->attr & HasArrayOrString || fd->components->appType == tpString) {
                for (uint32_t i = 0; i < a->used; ++i)
                    RebasePointers(fd->components,
                                   static_cast<uint8_t*>(a->data) + i * fd->components->appSize,
                                   oldBase, oldSize, shift);
            }
            break;
        }
        case tpStructure:
            RebasePointers(fd->components, at, oldBase, oldSize, shift);
            break;
        }
    } while ((fd = fd->next) != ring);
}

// A total order on reals with NaN above every number, so that index keys
// holding NaN keep the tree ordered.
static int CompareReals(double x, double y)
{
    if (x < y)
        return -1;
    if (x > y)
        return 1;
    if (x == y)
        return 0;
    return std::isnan(x) == std::isnan(y) ? 0 : std::isnan(x) ? 1 : -1;
}

int dbFieldInfo::CompareKeys(int type, const void* a, const void* b, size_t size,
                             dbComparator cmp)
{
    switch (type) {
    case tpBool: {
        uint8_t x = *static_cast<const uint8_t*>(a), y = *static_cast<const uint8_t*>(b);
        return x < y ? -1 : x > y;
    }
    case tpInt1: {
        int8_t x = *static_cast<const int8_t*>(a), y = *static_cast<const int8_t*>(b);
        return x < y ? -1 : x > y;
    }
    case tpInt2: {
        int16_t x, y;
        memcpy(&x, a, 2);
        memcpy(&y, b, 2);
        return x < y ? -1 : x > y;
    }
    case tpInt4: {
        int32_t x, y;
        memcpy(&x, a, 4);
        memcpy(&y, b, 4);
        return x < y ? -1 : x > y;
    }
    case tpReference: {
        uint32_t x, y;
        memcpy(&x, a, 4);
        memcpy(&y, b, 4);
        return x < y ? -1 : x > y;
    }
    case tpInt8: {
        int64_t x, y;
        memcpy(&x, a, 8);
        memcpy(&y, b, 8);
        return x < y ? -1 : x > y;
    }
    case tpReal4: {
        float x, y;
        memcpy(&x, a, 4);
        memcpy(&y, b, 4);
        return CompareReals(x, y);
    }
    case tpReal8: {
        double x, y;
        memcpy(&x, a, 8);
        memcpy(&y, b, 8);
        return CompareReals(x, y);
    }
    case tpString: {
        int c = strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
        return c < 0 ? -1 : c > 0;
    }
    case tpRawBinary:
        return cmp ? cmp(a, b, size) : memcmp(a, b, size);
    }
    return 0;
}

dbFieldInfo* dbFieldList(std::initializer_list<dbFieldInfo*> fields)
{
    dbFieldInfo* head = nullptr;
    for (dbFieldInfo* fd : fields) {
        if (!head) {
            head = fd;
            continue;
        }
        fd->next = head;
        fd->prev = head->prev;
        head->prev->next = fd;
        head->prev = fd;
    }
    return head;
}

dbFieldInfo* dbDescribeField(const char* name, size_t offset, int type, int indexFlags)
{
    size_t appSize = 0;
    size_t alignment = 0;
    switch (type) {
    case dbFieldInfo::tpBool:
    case dbFieldInfo::tpInt1:
        appSize = 1;
        break;
    case dbFieldInfo::tpInt2:
        appSize = 2;
        break;
    case dbFieldInfo::tpInt4:
    case dbFieldInfo::tpReal4:
    case dbFieldInfo::tpReference:
        appSize = 4;
        break;
    case dbFieldInfo::tpInt8:
    case dbFieldInfo::tpReal8:
        appSize = 8;
        break;
    case dbFieldInfo::tpString:
        appSize = sizeof(char*);
        break;
    case dbFieldInfo::tpStdString:
        appSize = sizeof(std::string);
        break;
    case dbFieldInfo::tpRectangle:
        appSize = sizeof(dbRectangle);
        alignment = 4;
        break;
    }
    auto* fd = new dbFieldInfo(name, offset, appSize, indexFlags);
    fd->appType = type;
    fd->type = type == dbFieldInfo::tpStdString ? dbFieldInfo::tpString : type;
    if (fd->type == dbFieldInfo::tpString) {
        fd->dbsSize = 8;
        fd->alignment = 4;
        fd->InitComponent();
    }
    if (alignment)
        fd->alignment = alignment;
    return fd;
}

dbFieldInfo* dbDescribeReference(const char* name, size_t offset, const char* table,
                                 const char* inverse, int indexFlags)
{
    auto* fd = new dbFieldInfo(name, offset, sizeof(dbReference), indexFlags, inverse);
    fd->type = fd->appType = dbFieldInfo::tpReference;
    fd->refTableName = Intern(table);
    return fd;
}

dbFieldInfo* dbDescribeRaw(const char* name, size_t offset, size_t size, dbComparator cmp,
                           int indexFlags)
{
    auto* fd = new dbFieldInfo(name, offset, size, indexFlags);
    fd->type = fd->appType = dbFieldInfo::tpRawBinary;
    fd->alignment = 1;
    fd->comparator = cmp;
    return fd;
}

dbFieldInfo* dbDescribeStruct(const char* name, size_t offset, size_t size,
                              dbFieldInfo* members, int indexFlags)
{
    return new dbFieldInfo(name, offset, size, indexFlags, nullptr, members);
}

dbFieldInfo* dbDescribeArrayOf(const char* name, size_t offset, dbFieldInfo* element,
                               dbArrayAllocator allocator, const char* inverse, int indexFlags)
{
    element->name = Intern("[]");
    element->appOffs = 0;
    auto* fd = new dbFieldInfo(name, offset, sizeof(dbAnyArray), indexFlags, inverse, element);
    fd->type = fd->appType = dbFieldInfo::tpArray;
    fd->dbsSize = 8;
    fd->alignment = 4;
    fd->arrayAllocator = allocator;
    return fd;
}

dbFieldInfo* dbDescribeMethod(const char* name, int resultType, const dbFieldMethod* method)
{
    auto* fd = new dbFieldInfo(name, 0, 0, 0);
    fd->type = fd->appType = dbFieldInfo::tpMethodBool + resultType;
    fd->alignment = 1;
    fd->method = method;
    return fd;
}

dbFieldInfo* dbDescribeReferenceArray(const char* name, size_t offset, const char* table,
                                      const char* inverse, int indexFlags)
{
    return dbDescribeArrayOf(name, offset, dbDescribeReference("[]", 0, table),
                             &dbArray<dbReference>::Allocate, inverse, indexFlags);
}
