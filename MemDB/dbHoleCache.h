// An optional cache of freed holes, bucketed by size. A cached hole is only a
// hint: the allocator checks its bits before it takes it. The cache is empty
// until Configure gives it a size range and nodes.
#pragma once

#include "MemDB/dbImage.h"

#include <cstddef>
#include <vector>

class dbHoleCache {
public:
    dbHoleCache() : minSize(0), maxSize(0), step(0), held(0), hits(0), misses(0), lastSearch(0) {}

    void Configure(size_t minimum, size_t maximum, size_t sizeStep, size_t nodeCount);
    void Reset();

    bool Covers(size_t size) const
    {
        return !nodes.empty() && size >= minSize && size < maxSize;
    }
    // Remembers a hole; ignored when out of range or when no node is free.
    void Put(offs_t offset, size_t size);
    // Removes and returns a hole of at least size bytes, or 0.
    offs_t Get(size_t size);

    size_t Hits() const { return hits; }
    size_t Misses() const { return misses; }

private:
    struct Node {
        int next;
        offs_t offset;
    };
    size_t minSize;
    size_t maxSize;
    size_t step;
    std::vector<int> buckets; // head node of each bucket, -1 = empty
    std::vector<Node> nodes;
    int freeNodes = -1;
    size_t held;              // holes in the buckets: none spares Get the search
    size_t hits;
    size_t misses;
    size_t lastSearch;        // buckets visited by the last Get
};
