// The hash index. Object addresses are taken afresh after every step that
// may allocate (making an object private, allocating an item or a page).
#include "MemDB/dbHashIndex.h"

#include <cstring>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbError.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbIndexSearch.h"

static_assert(sizeof(dbHashHeader) == 12, "hash header layout");
static_assert(sizeof(dbHashItem) == 12, "hash item layout");

namespace {

const uint32_t kPrimes[] = {
    17,        37,        79,        163,       331,        673,        1361,
    2729,      5471,      10949,     21911,     43853,      87719,      175447,
    350899,    701819,    1403641,   2807303,   5614657,    11229331,   22458671,
    44917381,  89834777,  179669557, 359339171, 718678369, 1437356741,
};
const size_t kPrimeCount = sizeof kPrimes / sizeof kPrimes[0];

// h = h * 31 + byte over the key. Four bytes a step, by powers of 31, give
// the same value (arithmetic mod 2^32) with a quarter of the dependent
// multiplications: a lookup hashes its key before anything else can start.
uint32_t BytesHash(const void* key, size_t size)
{
    auto* p = static_cast<const uint8_t*>(key);
    uint32_t h = 0;
    size_t i = 0;
    for (; i + 4 <= size; i += 4)
        h = h * (31u * 31 * 31 * 31) + p[i] * (31u * 31 * 31) + p[i + 1] * (31u * 31) + p[i + 2] * 31u
          + p[i + 3];
    for (; i < size; i++)
        h = h * 31 + p[i];
    return h;
}

uint32_t LittleEndianWord(const void* key, size_t size)
{
    uint32_t h = 0;
    memcpy(&h, key, size < 4 ? size : 4);
    return h;
}

// Bool and int1 by the byte, int2 by the 16-bit value, 32-bit types by the
// word, 64-bit types by the two words; false for any other type.
bool TypedHash(const void* key, int type, uint32_t* h)
{
    switch (type) {
    case dbFieldInfo::tpBool: case dbFieldInfo::tpInt1:
        *h = *static_cast<const uint8_t*>(key);
        return true;
    case dbFieldInfo::tpInt2: {
        uint16_t v;
        memcpy(&v, key, 2);
        *h = v;
        return true;
    }
    case dbFieldInfo::tpInt4: case dbFieldInfo::tpReal4:
        memcpy(h, key, 4);
        return true;
    case dbFieldInfo::tpInt8: case dbFieldInfo::tpReal8: {
        uint32_t w[2];
        memcpy(w, key, 8);
        *h = w[0] ^ w[1];
        return true;
    }
    default:
        return false;
    }
}

uint32_t CurrentHash(const void* key, int type, size_t size)
{
    uint32_t h;
    return TypedHash(key, type, &h) ? h : BytesHash(key, size);
}

uint32_t TypedOrWordHash(const void* key, int type, size_t size)
{
    uint32_t h;
    return TypedHash(key, type, &h) ? h : LittleEndianWord(key, size);
}

uint32_t AllBytesHash(const void* key, int, size_t size)
{
    return BytesHash(key, size);
}

uint32_t WordHash(const void* key, int, size_t size)
{
    return LittleEndianWord(key, size);
}

bool IsReal(int type)
{
    return type == dbFieldInfo::tpReal4 || type == dbFieldInfo::tpReal8;
}

// Reals compare by value: -0.0 equals 0.0 and NaN equals nothing.
bool KeysEqual(int type, const void* a, const void* b, size_t size, dbComparator cmp)
{
    if (type == dbFieldInfo::tpReal4) {
        float x, y;
        memcpy(&x, a, 4);
        memcpy(&y, b, 4);
        return x == y;
    }
    if (type == dbFieldInfo::tpReal8) {
        double x, y;
        memcpy(&x, a, 8);
        memcpy(&y, b, 8);
        return x == y;
    }
    if (type == dbFieldInfo::tpRawBinary)
        return (cmp ? cmp(a, b, size) : memcmp(a, b, size)) == 0;
    return dbFieldInfo::CompareKeys(type, a, b, size, cmp) == 0;
}

struct Table {
    dbEngine* db;
    uint32_t hashId;

    dbHashHeader Header() const
    {
        dbHashHeader h;
        memcpy(&h, db->GetObject(hashId), sizeof h);
        return h;
    }
    void SetHeader(const dbHashHeader& h) const { memcpy(db->PutObject(hashId), &h, sizeof h); }
    static uint32_t PageOf(const dbHashHeader& h, uint32_t bucket)
    {
        return h.firstPage + bucket / dbHashIndex::BucketsPerPage;
    }
    static size_t SlotOf(uint32_t bucket) { return bucket % dbHashIndex::BucketsPerPage * 4; }
    uint32_t Head(const dbHashHeader& h, uint32_t bucket) const
    {
        uint32_t head;
        memcpy(&head, db->GetObject(PageOf(h, bucket)) + SlotOf(bucket), 4);
        return head;
    }
    void SetHead(const dbHashHeader& h, uint32_t bucket, uint32_t item) const
    {
        memcpy(db->PutObject(PageOf(h, bucket)) + SlotOf(bucket), &item, 4);
    }
    dbHashItem Item(uint32_t id) const
    {
        dbHashItem item;
        memcpy(&item, db->GetObject(id), sizeof item);
        return item;
    }
    void SetNext(uint32_t id, uint32_t next) const { memcpy(db->PutObject(id), &next, 4); }

    bool Grow(dbHashHeader& h) const;
    void FreeChains(const dbHashHeader& h, bool keepPages) const;
};

uint32_t PageCount(uint32_t buckets)
{
    return (buckets + dbHashIndex::BucketsPerPage - 1) / dbHashIndex::BucketsPerPage;
}

// A run of zeroed bucket pages with consecutive identifiers; 0 when the
// space or the identifiers cannot be had (nothing is then left allocated).
uint32_t NewPages(dbEngine* db, uint32_t n)
{
    uint32_t first;
    try {
        first = db->AllocateIds(static_cast<int>(n));
    } catch (const dbException&) {
        return 0;
    }
    uint32_t made = 0;
    try {
        for (; made < n; made++) {
            offs_t offs = db->AllocateSpace(dbPageSize);
            db->SetEntry(first + made, offs, dbBitmapPageKind);
            memset(db->GetRow(first + made), 0, dbPageSize);
        }
    } catch (const dbException&) {
        for (uint32_t k = 0; k < made; k++)
            db->FreeObject(first + k);
        db->FreeIds(first + made, static_cast<int>(n - made));
        return 0;
    }
    return first;
}

bool Table::Grow(dbHashHeader& h) const
{
    dbHashHeader grown{dbHashIndex::GrownBucketCount(h.size), 0, 0};
    if (grown.size == 0)
        return false;
    grown.firstPage = NewPages(db, PageCount(grown.size));
    if (grown.firstPage == 0)
        return false;
    for (uint32_t b = 0; b < h.size; b++) {
        for (uint32_t id = Head(h, b); id != 0;) {
            dbHashItem item = Item(id);
            uint32_t to = item.hash % grown.size;
            uint32_t head = Head(grown, to);
            if (head == 0)
                grown.used += 1;
            SetNext(id, head);
            SetHead(grown, to, id);
            id = item.next;
        }
    }
    for (uint32_t k = 0; k < PageCount(h.size); k++)
        db->FreeObject(h.firstPage + k);
    h = grown;
    SetHeader(h);
    return true;
}

void Table::FreeChains(const dbHashHeader& h, bool keepPages) const
{
    for (uint32_t k = 0; k < PageCount(h.size); k++) {
        uint32_t page = h.firstPage + k;
        bool any = false;
        for (uint32_t slot = 0; slot < dbHashIndex::BucketsPerPage; slot++) {
            uint32_t id;
            memcpy(&id, db->GetObject(page) + 4 * slot, 4);
            any |= id != 0;
            while (id != 0) {
                uint32_t next = Item(id).next;
                db->FreeObject(id);
                id = next;
            }
        }
        if (!keepPages)
            db->FreeObject(page);
        else if (any)
            memset(db->PutObject(page), 0, dbPageSize);
    }
}

// The key of a stored record: the text of a string field, else the field's
// bytes; length receives the key's size (a text's without its NUL).
const void* RecordKey(dbEngine* db, uint32_t recordId, int type, size_t size, size_t offs,
                      size_t* length)
{
    auto* rec = reinterpret_cast<const uint8_t*>(db->GetRow(recordId));
    if (type == dbFieldInfo::tpString) {
        // The text's bytes usually lie on the line after its descriptor:
        // both load at once.
        __builtin_prefetch(rec + offs + 64);
        uint32_t field[2];
        memcpy(field, rec + offs, 8);
        *length = field[0] - 1;
        return rec + field[1];
    }
    *length = size;
    return rec + offs;
}

uint32_t RecordHash(dbEngine* db, uint32_t recordId, int type, size_t size, size_t offs)
{
    size_t length;
    const void* key = RecordKey(db, recordId, type, size, offs, &length);
    return dbHashIndex::KeyHash(db->GetKeyHash(), key, type, length);
}

} // namespace

uint32_t dbHashIndex::BucketCount(size_t requestedSize)
{
    size_t want = requestedSize > MinRequestedSize ? requestedSize : size_t(MinRequestedSize);
    size_t i = 0;
    while (i + 1 < kPrimeCount && kPrimes[i] < want)
        i++;
    return kPrimes[i];
}

uint32_t dbHashIndex::GrownBucketCount(uint32_t buckets)
{
    for (uint32_t p : kPrimes) {
        if (p > buckets)
            return p;
    }
    return 0;
}

dbKeyHashFunction dbHashIndex::FunctionFor(int version)
{
    if (version < 288)
        return AllBytesHash;
    if (version < 308)
        return WordHash;
    if (version < 333)
        return TypedOrWordHash;
    return CurrentHash;
}

uint32_t dbHashIndex::StringHash(const char* text, size_t length)
{
    return BytesHash(text, length);
}

uint32_t dbHashIndex::KeyHash(dbKeyHashFunction function, const void* key, int type, size_t size)
{
    if (type == dbFieldInfo::tpString)
        return StringHash(static_cast<const char*>(key), size);
    if (IsReal(type)) {
        // -0.0 hashes as 0.0, since the two compare equal.
        static const uint8_t zero[8] = {};
        double v;
        if (type == dbFieldInfo::tpReal4) {
            float f;
            memcpy(&f, key, 4);
            v = f;
        } else {
            memcpy(&v, key, 8);
        }
        if (v == 0)
            key = zero;
    }
    return function(key, type, size);
}

uint32_t dbHashIndex::Create(dbEngine* db, size_t requestedSize)
{
    dbHashHeader h{BucketCount(requestedSize), 0, 0};
    h.firstPage = NewPages(db, PageCount(h.size));
    if (h.firstPage == 0) {
        db->HandleError(dbOutOfMemoryError, nullptr, static_cast<int>(PageCount(h.size)));
        throw dbException(dbOutOfMemoryError);
    }
    uint32_t id = db->AllocateObject(dbHashTableKind);
    Table{db, id}.SetHeader(h);
    return id;
}

void dbHashIndex::Insert(dbEngine* db, uint32_t hashId, uint32_t recordId, int type, size_t size,
                         size_t offs, size_t growthLimit)
{
    Table t{db, hashId};
    uint32_t code = RecordHash(db, recordId, type, size, offs);
    dbHashHeader h = t.Header();
    if (h.size < growthLimit && uint64_t(h.size) * 2 < uint64_t(h.used) * 3)
        t.Grow(h);
    uint32_t bucket = code % h.size;
    uint32_t head = t.Head(h, bucket);
    uint32_t item = db->AllocateObject(dbHashTableItemKind);
    dbHashItem value{head, recordId, code};
    memcpy(db->GetRow(item), &value, sizeof value);
    t.SetHead(h, bucket, item);
    if (head == 0) {
        h.used += 1;
        t.SetHeader(h);
    }
}

void dbHashIndex::Remove(dbEngine* db, uint32_t hashId, uint32_t recordId, int type, size_t size,
                         size_t offs)
{
    Table t{db, hashId};
    uint32_t code = RecordHash(db, recordId, type, size, offs);
    dbHashHeader h = t.Header();
    uint32_t bucket = code % h.size;
    uint32_t prev = 0;
    uint32_t id = t.Head(h, bucket);
    while (id != 0 && t.Item(id).record != recordId) {
        prev = id;
        id = t.Item(id).next;
    }
    if (id == 0)
        return;
    uint32_t next = t.Item(id).next;
    if (prev != 0) {
        t.SetNext(prev, next);
    } else {
        t.SetHead(h, bucket, next);
        if (next == 0) {
            h.used -= 1;
            t.SetHeader(h);
        }
    }
    db->FreeObject(id);
}

bool dbHashIndex::Find(dbEngine* db, uint32_t hashId, dbIndexSearch& search)
{
    Table t{db, hashId};
    int type = search.type;
    const void* key = search.firstKey;
    size_t length = type == dbFieldInfo::tpString ? strlen(static_cast<const char*>(key))
                                                   : search.sizeofType;
    uint32_t code = KeyHash(db->GetKeyHash(), key, type, length);
    dbHashHeader h = t.Header();
    for (uint32_t id = t.Head(h, code % h.size); id != 0;) {
        dbHashItem item = t.Item(id);
        search.probes += 1;
        id = item.next;
        if (item.hash != code)
            continue;
        size_t stored;
        const void* k = RecordKey(db, item.record, type, search.sizeofType, search.offs, &stored);
        bool match = type == dbFieldInfo::tpString
            ? stored == length && memcmp(k, key, length) == 0
            : KeysEqual(type, key, k, search.sizeofType, search.comparator);
        if (!match || (search.filter && !search.filter(search, item.record)))
            continue;
        if (!search.cursor->Add(item.record))
            return false;
    }
    return true;
}

void dbHashIndex::Clear(dbEngine* db, uint32_t hashId)
{
    Table t{db, hashId};
    dbHashHeader h = t.Header();
    t.FreeChains(h, true);
    h.used = 0;
    t.SetHeader(h);
}

void dbHashIndex::Drop(dbEngine* db, uint32_t hashId)
{
    Table t{db, hashId};
    t.FreeChains(t.Header(), false);
    db->FreeObject(hashId);
}
