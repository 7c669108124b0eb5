#include "MemDB/dbTreeBatch.h"

#include <algorithm>
#include <cstring>

#include "MemDB/dbEngine.h"
#include "MemDB/dbThreadState.h"
#include "MemDB/dbTreeIndex.h"

namespace {

// Where a record sorts by its first 16 key bytes, then its identifier. It
// only orders the insertions: each still finds its own place in the tree.
struct SortKey {
    uint64_t hi, lo;
    uint32_t id;
    bool operator<(const SortKey& o) const
    {
        return hi != o.hi ? hi < o.hi : lo != o.lo ? lo < o.lo : id < o.id;
    }
};

uint64_t BigEndian(const unsigned char* p)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; i++)
        v = v << 8 | p[i];
    return v;
}

// Signed values biased so that unsigned order is their order.
SortKey SortKeyOf(const uint8_t* rec, int type, size_t offs, uint32_t id)
{
    SortKey k{0, 0, id};
    const uint8_t* key = rec + offs;
    switch (type) {
    case dbFieldInfo::tpBool:
        k.hi = key[0];
        break;
    case dbFieldInfo::tpInt1:
        k.hi = uint8_t(key[0] ^ 0x80);
        break;
    case dbFieldInfo::tpInt2: {
        uint16_t x;
        memcpy(&x, key, 2);
        k.hi = uint16_t(x ^ 0x8000);
        break;
    }
    case dbFieldInfo::tpInt4: {
        uint32_t x;
        memcpy(&x, key, 4);
        k.hi = x ^ 0x80000000u;
        break;
    }
    case dbFieldInfo::tpReference: {
        uint32_t x;
        memcpy(&x, key, 4);
        k.hi = x;
        break;
    }
    case dbFieldInfo::tpInt8:
        memcpy(&k.hi, key, 8);
        k.hi ^= uint64_t(1) << 63;
        break;
    case dbFieldInfo::tpString: {
        uint32_t at;
        memcpy(&at, key + 4, 4);
        unsigned char b[16] = {};
        const char* text = reinterpret_cast<const char*>(rec + at);
        memcpy(b, text, strnlen(text, sizeof b));
        k.hi = BigEndian(b);
        k.lo = BigEndian(b + 8);
        break;
    }
    default:
        break;
    }
    return k;
}

} // namespace

dbTreeBatches::Batch* dbTreeBatches::Find(uint32_t treeId)
{
    for (Batch& b : batches)
        if (b.treeId == treeId)
            return &b;
    return nullptr;
}

void dbTreeBatches::Uncount(size_t n)
{
    count.store(count.load(std::memory_order_relaxed) - n, std::memory_order_relaxed);
}

bool dbTreeBatches::Add(dbEngine* db, const dbFieldInfo* fd, uint32_t recordId)
{
    // An insertion may need a new node and a private copy of one more; the
    // queue stays within what the image can still grow by twice over.
    const size_t room = 2 * 2 * sizeof(dbTtreeNode) * (count.load(std::memory_order_relaxed) + 1);
    if (db->header->size + room > db->sizeLimit)
        return false;
    // A new writer comes only after the last one's transaction ended: what
    // is left queued is a dropped writer's, undone with its transaction.
    const dbThreadState* writer = db->GetThreadState();
    if (owner.load(std::memory_order_relaxed) != writer) {
        DiscardAll();
        owner.store(writer, std::memory_order_relaxed);
    }
    Batch* b = Find(fd->tTree);
    if (b == nullptr) {
        batches.push_back(Batch{fd->tTree, 0, 0, nullptr, 0, {}});
        b = &batches.back();
    }
    if (b->items.empty()) {
        b->type = fd->type;
        b->size = fd->dbsSize;
        b->cmp = fd->comparator;
        b->offs = fd->dbsOffs;
    }
    b->items.push_back(recordId);
    count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    return true;
}

void dbTreeBatches::SettleTree(dbEngine* db, uint32_t treeId)
{
    const dbThreadState* state = db->GetThreadState();
    if (state == nullptr || state != owner.load(std::memory_order_relaxed))
        return;
    // A writer that held its lock too long has lost it and its transaction.
    const bool writing = state->holdsMutatorLock
        || (state->holdsExclusiveLock && db->monitor->ownerThreadId == state->threadId);
    if (!writing) {
        DiscardAll();
        return;
    }
    Batch* b = Find(treeId);
    if (b == nullptr || b->items.empty())
        return;
    const int type = b->type;
    const size_t size = b->size, offs = b->offs;
    const dbComparator cmp = b->cmp;
    dbEngine::LimitWaiver waiver(*db);
    // The queue empties, keeping its room, before the first insertion.
    if (b->items.size() == 1) {
        const uint32_t id = b->items[0];
        b->items.clear();
        Uncount(1);
        dbTreeIndex::Insert(db, treeId, id, type, size, cmp, offs);
        return;
    }
    std::vector<SortKey> keys;
    keys.reserve(b->items.size());
    for (uint32_t id : b->items)
        keys.push_back(SortKeyOf(reinterpret_cast<const uint8_t*>(db->GetRow(id)), type, offs, id));
    Uncount(b->items.size());
    b->items.clear();
    std::sort(keys.begin(), keys.end());
    for (const SortKey& k : keys)
        dbTreeIndex::Insert(db, treeId, k.id, type, size, cmp, offs);
}

void dbTreeBatches::SettleAll(dbEngine* db)
{
    for (size_t i = 0; count.load(std::memory_order_relaxed) != 0 && i < batches.size(); i++)
        SettleTree(db, batches[i].treeId);
}

void dbTreeBatches::Discard(uint32_t treeId)
{
    for (size_t i = 0; i < batches.size(); i++) {
        if (batches[i].treeId == treeId) {
            Uncount(batches[i].items.size());
            batches.erase(batches.begin() + static_cast<long>(i));
            return;
        }
    }
}

void dbTreeBatches::DiscardAll()
{
    batches.clear();
    count.store(0, std::memory_order_relaxed);
    owner.store(nullptr, std::memory_order_relaxed);
}
