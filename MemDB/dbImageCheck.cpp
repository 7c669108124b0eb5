#include "MemDB/dbImageCheck.h"

#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbFieldInfo.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

class Report {
public:
    explicit Report(std::string* out) : out(out), count(0) {}
    void Add(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (++count > 40 || out == nullptr)
            return;
        char line[256];
        va_list args;
        va_start(args, format);
        vsnprintf(line, sizeof line, format, args);
        va_end(args);
        *out += line;
        *out += '\n';
    }
    bool Ok() const { return count == 0; }

private:
    std::string* out;
    int count;
};

uint32_t Get32(const char* p, size_t offs)
{
    uint32_t v;
    memcpy(&v, p + offs, 4);
    return v;
}

// Walks the indices named by the stored tables' field records and checks
// that each index object is reached once and every one is reached.
class IndexObjects {
public:
    IndexObjects(const char* base, const oid_t* work, oid_t used, Report& report)
        : base(base), work(work), used(used), report(report), reached(used, 0)
    {
    }

    void Check()
    {
        oid_t row = Get32(Object(dbMetatableId), dbDictFirstRow);
        for (oid_t steps = 0; row != 0 && steps < used; steps++) {
            if (row >= used || (work[row] & dbFreeHandleFlag)) {
                report.Add("table row %u is not live", row);
                return;
            }
            const char* dict = Object(row);
            uint32_t n = Get32(dict, dbDictFields), at = Get32(dict, dbDictFields + 4);
            for (uint32_t i = 0; i < n; i++) {
                const char* f = dict + at + i * dbFieldRecordSize;
                if (oid_t hash = Get32(f, dbFieldRecHashTable))
                    Hash(hash);
                if (oid_t tree = Get32(f, dbFieldRecTTree)) {
                    if ((Get32(f, dbFieldRecType) & 0xFF) == dbFieldInfo::tpRectangle)
                        Rtree(tree);
                    else
                        Ttree(tree);
                }
            }
            row = Get32(dict, 4);
        }
        for (oid_t id = dbFirstUserId; id < used; id++) {
            uint32_t kind = work[id] & dbFlagsMask;
            if (!(work[id] & dbFreeHandleFlag) && kind != dbRecordKind && !reached[id])
                report.Add("index object %u of kind %u belongs to no index", id, kind);
        }
    }

private:
    const char* Object(oid_t id) const { return base + (work[id] & ~dbFlagsMask); }
    // The object when it is live, of the kind, and reached the first time.
    const char* Reach(oid_t id, uint32_t kind)
    {
        if (id == 0 || id >= used || (work[id] & dbFreeHandleFlag)
            || (work[id] & dbFlagsMask) != kind) {
            report.Add("index object %u is not a live object of kind %u", id, kind);
            return nullptr;
        }
        if (reached[id]++) {
            report.Add("index object %u is reached twice", id);
            return nullptr;
        }
        return Object(id);
    }
    void Ttree(oid_t id)
    {
        if (const char* h = Reach(id, dbTtreeKind))
            TtreeNode(Get32(h, 0));
    }
    void TtreeNode(oid_t id)
    {
        if (id == 0)
            return;
        if (const char* n = Reach(id, dbTtreeNodeKind)) {
            TtreeNode(Get32(n, 0));
            TtreeNode(Get32(n, 4));
        }
    }
    void Hash(oid_t id)
    {
        const char* h = Reach(id, dbHashTableKind);
        if (!h)
            return;
        uint32_t buckets = Get32(h, 0), first = Get32(h, 8);
        for (uint32_t p = 0; p < (buckets + 1023) / 1024; p++) {
            const char* page = Reach(first + p, dbBitmapPageKind);
            for (uint32_t slot = 0; page && slot < 1024; slot++) {
                for (oid_t item = Get32(page, 4 * slot); item != 0;) {
                    const char* it = Reach(item, dbHashTableItemKind);
                    item = it ? Get32(it, 0) : 0;
                }
                page = Object(first + p);
            }
        }
    }
    void Rtree(oid_t id)
    {
        if (const char* h = Reach(id, dbRtreeKind)) {
            if (Get32(h, 0) != 0)
                RtreePage(Get32(h, 4), Get32(h, 0));
        }
    }
    void RtreePage(oid_t id, uint32_t level)
    {
        const char* page = Reach(id, dbRtreePageKind);
        if (!page || level <= 1)
            return;
        uint32_t n = Get32(page, 0);
        for (uint32_t i = 0; i < n && i < 204; i++)
            RtreePage(Get32(Object(id), 4 + 20 * i + 16), level - 1);
    }

    const char* base;
    const oid_t* work;
    oid_t used;
    Report& report;
    std::vector<uint8_t> reached;
};

} // namespace

bool dbImageChecker::Check(const dbEngine& db, std::string* problems)
{
    Report report(problems);
    if (problems != nullptr)
        problems->clear();
    const dbImageHeader* h = db.header;
    if (h == nullptr || db.currIndex == nullptr) {
        report.Add("image is not mapped");
        return false;
    }
    const char* base = db.baseAddr;
    if (h->curr != 0 && h->curr != 1) {
        report.Add("current root %d", h->curr);
        return false;
    }
    int c = h->curr;
    const oid_t* work = db.currIndex;
    const oid_t* committed = reinterpret_cast<const oid_t*>(base + h->root[c].index);
    int w = work == committed ? c : 1 - c;
    oid_t used = db.currIndexSize;
    oid_t committedUsed = db.committedIndexSize;
    if (used != h->root[w].indexUsed)
        report.Add("entries in use %u, working root says %u", used, h->root[w].indexUsed);
    for (int r = 0; r < 2; r++) {
        const dbIndexRoot& root = h->root[r];
        if (root.indexUsed > root.indexSize || root.indexUsed < dbFirstUserId)
            report.Add("root %d: %u entries in use of %u", r, root.indexUsed, root.indexSize);
        if (root.index % dbAllocationQuantum != 0
            || size_t(root.index) + size_t(root.indexSize) * 4 > h->size)
            report.Add("root %d: index at %u is outside the image", r, root.index);
    }
    if (!report.Ok())
        return false;

    // The allocatable area: slots 2.. with a bitmap page, without gaps.
    size_t pages = 0;
    while (pages < dbBitmapPages && work[dbBitmapId + pages] != dbFreeHandleFlag)
        pages++;
    for (size_t p = pages; p < dbBitmapPages; p++) {
        if (work[dbBitmapId + p] != dbFreeHandleFlag)
            report.Add("bitmap slot %zu follows a slot without page", p + dbBitmapId);
    }
    size_t quanta = pages * dbPageSize * 8;
    std::vector<uint8_t> owner(quanta, 0); // 0 free, 1 taken
    auto claim = [&](offs_t offset, size_t size, const char* what, oid_t id) {
        if (offset % dbAllocationQuantum != 0) {
            report.Add("%s %u at %u is not aligned", what, id, offset);
            return;
        }
        size_t first = offset / dbAllocationQuantum;
        size_t count = (size + dbAllocationQuantum - 1) / dbAllocationQuantum;
        if (first + count > quanta || offset + size > h->size) {
            report.Add("%s %u at %u size %zu is outside the allocatable area", what, id, offset, size);
            return;
        }
        for (size_t q = first; q < first + count; q++) {
            if (owner[q]) {
                report.Add("%s %u at %u size %zu overlaps other space", what, id, offset, size);
                return;
            }
            owner[q] = 1;
        }
    };
    auto objectSize = [base](oid_t entry) -> size_t {
        uint32_t kind = entry & dbFlagsMask;
        return kind != dbRecordKind
            ? dbInternalObjectSize(kind)
            : reinterpret_cast<const dbRecordHeader*>(base + (entry & ~dbFlagsMask))->size;
    };

    claim(0, dbPageSize, "header", 0);
    claim(h->root[0].index, size_t(h->root[0].indexSize) * 4, "index", 0);
    if (h->root[1].index != h->root[0].index)
        claim(h->root[1].index, size_t(h->root[1].indexSize) * 4, "index", 1);

    if (!(work[0] & dbFreeHandleFlag))
        report.Add("entry 0 is not free");
    std::vector<uint8_t> isFree(used, 0);
    for (oid_t id = 1; id < used; id++) {
        oid_t entry = work[id];
        bool bitmapSlot = id >= dbBitmapId && id < dbFirstUserId;
        if (entry & dbFreeHandleFlag) {
            isFree[id] = 1;
            if (id == dbMetatableId)
                report.Add("the Metatable record is free");
            continue;
        }
        uint32_t kind = entry & dbFlagsMask;
        if (bitmapSlot && kind != dbBitmapPageKind)
            report.Add("identifier %u has kind %u", id, kind);
        offs_t offset = entry & ~dbFlagsMask;
        if (kind == dbRecordKind && (size_t(offset) + sizeof(dbRecordHeader) > h->size)) {
            report.Add("record %u at %u is outside the image", id, offset);
            continue;
        }
        size_t size = objectSize(entry);
        if (kind == dbRecordKind && size < sizeof(dbRecordHeader)) {
            report.Add("record %u has size %zu", id, size);
            continue;
        }
        claim(offset, size, "object", id);
        // Replaced committed version, still used until the commit frees it.
        if (id < committedUsed && work != committed && committed[id] != entry
            && !(committed[id] & dbFreeHandleFlag))
            claim(committed[id] & ~dbFlagsMask, objectSize(committed[id]), "old version", id);
    }
    if (work != committed) {
        for (oid_t id = 1; id < committedUsed && id < used; id++) {
            if ((work[id] & dbFreeHandleFlag) && !(committed[id] & dbFreeHandleFlag))
                claim(committed[id] & ~dbFlagsMask, objectSize(committed[id]), "removed version", id);
        }
    }

    // Record places given up in this transaction stay used until the commit.
    for (const auto& area : db.deferredAreas)
        claim(area.offset, area.size, "set-aside record", 0);

    // Bitmap against the claimed space.
    size_t leaked = 0, unmarked = 0;
    for (size_t p = 0; p < pages; p++) {
        const uint8_t* bitmap = reinterpret_cast<const uint8_t*>(base + (work[dbBitmapId + p] & ~dbFlagsMask));
        for (size_t bit = 0; bit < dbPageSize * 8; bit++) {
            bool set = (bitmap[bit >> 3] >> (bit & 7)) & 1;
            size_t q = p * dbPageSize * 8 + bit;
            if (set && !owner[q]) {
                if (leaked++ == 0)
                    report.Add("space at %zu is marked used but holds no object", q * dbAllocationQuantum);
            } else if (!set && owner[q]) {
                if (unmarked++ == 0)
                    report.Add("space at %zu holds an object but is marked free", q * dbAllocationQuantum);
            }
        }
    }
    if (leaked > 1)
        report.Add("%zu quanta marked used without an object", leaked);
    if (unmarked > 1)
        report.Add("%zu quanta of objects marked free", unmarked);

    // The free list.
    std::vector<uint8_t> onList(used, 0);
    oid_t next = h->root[w].freeList;
    while (next != 0) {
        if (next >= used || next < dbFirstUserId) {
            report.Add("free list holds identifier %u", next);
            break;
        }
        if (!isFree[next]) {
            report.Add("free list holds live identifier %u", next);
            break;
        }
        if (onList[next]) {
            report.Add("free list has a cycle at %u", next);
            break;
        }
        onList[next] = 1;
        next = work[next] & ~dbFreeHandleFlag;
    }
    for (oid_t id = dbFirstUserId; id < used; id++) {
        if (isFree[id] && !onList[id])
            report.Add("free identifier %u is not on the free list", id);
    }

    IndexObjects(base, work, used, report).Check();

    // Nothing pending: both indices agree.
    if (!db.modified && h->root[0].indexUsed == h->root[1].indexUsed) {
        const oid_t* other = reinterpret_cast<const oid_t*>(base + h->root[1 - w].index);
        for (oid_t id = 0; id < used; id++) {
            if (other[id] != work[id]) {
                report.Add("indices differ at %u after commit", id);
                break;
            }
        }
    }
    return report.Ok();
}
