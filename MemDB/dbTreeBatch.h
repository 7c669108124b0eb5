// Insertions into T-trees queued by a write transaction. A tree takes its
// queue, in key order, before anything reads or changes it, and every queue
// is taken before the transaction commits or lets go of the image. Taken in
// key order, a run of insertions walks the few nodes the previous one left
// in the cache instead of a fresh way per record.
//
// Invariants: only the thread that queued (the writer) takes or reads the
// queues; a queued record is a live row that its tree does not hold yet;
// `count` is the sum of the queues' lengths. Like the record operation it
// finishes, a queued insertion may take the image past its size limit.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "MemDB/dbFieldInfo.h"

class dbEngine;
struct dbThreadState;

class dbTreeBatches {
public:
    // Queues the insertion; false, queuing nothing, when the image is too
    // near its size limit to hold every queued insertion's nodes.
    bool Add(dbEngine* db, const dbFieldInfo* field, uint32_t recordId);
    // Inserts the tree's queue; does nothing for any thread but the writer.
    void Settle(dbEngine* db, uint32_t treeId)
    {
        if (count.load(std::memory_order_relaxed) != 0)
            SettleTree(db, treeId);
    }
    void SettleAll(dbEngine* db);
    // Forgets the tree's queue: the tree is emptied or dropped.
    void Discard(uint32_t treeId);
    // Forgets every queue: the transaction is rolled back or the image closed.
    void DiscardAll();

private:
    struct Batch {
        uint32_t treeId;
        int type;
        size_t size;
        dbComparator cmp;
        size_t offs;
        std::vector<uint32_t> items;
    };
    Batch* Find(uint32_t treeId);
    void Uncount(size_t n);
    void SettleTree(dbEngine* db, uint32_t treeId);

    // Other threads read count and owner only, to learn that the queues are
    // not theirs.
    std::vector<Batch> batches;
    std::atomic<size_t> count{0};
    std::atomic<const dbThreadState*> owner{nullptr};
};
