#include "MemDB/dbHoleCache.h"

void dbHoleCache::Configure(size_t minimum, size_t maximum, size_t sizeStep, size_t nodeCount)
{
    if (sizeStep == 0 || maximum <= minimum || nodeCount == 0) {
        buckets.clear();
        nodes.clear();
        minSize = maxSize = step = 0;
        return;
    }
    minSize = minimum;
    maxSize = maximum;
    step = sizeStep;
    buckets.assign((maximum - minimum - 1) / sizeStep + 1, -1);
    nodes.assign(nodeCount, Node{-1, 0});
    Reset();
}

void dbHoleCache::Reset()
{
    for (int& head : buckets)
        head = -1;
    freeNodes = -1;
    for (size_t i = nodes.size(); i-- > 0;) {
        nodes[i].next = freeNodes;
        freeNodes = static_cast<int>(i);
    }
    held = hits = misses = lastSearch = 0;
}

void dbHoleCache::Put(offs_t offset, size_t size)
{
    if (!Covers(size) || freeNodes < 0)
        return;
    // Bucket b holds holes of [minSize + b * step, minSize + (b + 1) * step).
    size_t b = (size - minSize) / step;
    int n = freeNodes;
    freeNodes = nodes[n].next;
    nodes[n].offset = offset;
    nodes[n].next = buckets[b];
    buckets[b] = n;
    held++;
}

offs_t dbHoleCache::Get(size_t size)
{
    lastSearch = 0;
    if (!Covers(size) || held == 0) {
        misses++;
        return 0;
    }
    // The first bucket whose smallest hole is at least size.
    for (size_t b = (size - minSize + step - 1) / step; b < buckets.size(); b++) {
        lastSearch++;
        int n = buckets[b];
        if (n >= 0) {
            buckets[b] = nodes[n].next;
            nodes[n].next = freeNodes;
            freeNodes = n;
            held--;
            hits++;
            return nodes[n].offset;
        }
    }
    misses++;
    return 0;
}
