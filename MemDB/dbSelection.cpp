// Selections of record identifiers and their sort.
#include "MemDB/dbSelection.h"

#include <algorithm>
#include <vector>

void dbIdSelection::Add(uint32_t id)
{
    if (!last || last->nRows == SegmentSize) {
        auto* seg = new Segment;
        seg->prev = last;
        seg->next = nullptr;
        seg->nRows = 0;
        if (last)
            last->next = seg;
        else
            first = curr = seg;
        last = seg;
    }
    last->rows[last->nRows++] = id;
    nRows += 1;
}

void dbIdSelection::Reset()
{
    for (Segment* seg = first; seg;) {
        Segment* next = seg->next;
        delete seg;
        seg = next;
    }
    first = last = curr = nullptr;
    nRows = pos = 0;
}

void dbIdSelection::Reverse()
{
    for (Segment* seg = first; seg;) {
        std::reverse(seg->rows, seg->rows + seg->nRows);
        Segment* next = seg->next;
        std::swap(seg->next, seg->prev);
        seg = next;
    }
    std::swap(first, last);
    curr = first;
    pos = 0;
}

void dbIdSelection::ToArray(uint32_t* out) const
{
    for (Segment* seg = first; seg; seg = seg->next) {
        std::copy(seg->rows, seg->rows + seg->nRows, out);
        out += seg->nRows;
    }
}

void dbIdSelection::Truncate(size_t start, size_t limit)
{
    if (start == 0 && limit >= nRows)
        return;
    if (start >= nRows) {
        Reset();
        return;
    }
    size_t keep = std::min<size_t>(limit, nRows - start);
    std::vector<uint32_t> ids(nRows);
    ToArray(ids.data());
    Reset();
    for (size_t i = 0; i < keep; ++i)
        Add(ids[start + i]);
}

void dbIdSelection::Sort(Compare compare, void* context)
{
    if (nRows < 2)
        return;
    std::vector<uint32_t> ids(nRows);
    ToArray(ids.data());
    bool ascending = true, descending = true;
    for (size_t i = 1; i < ids.size() && (ascending || descending); ++i) {
        int c = compare(ids[i - 1], ids[i], context);
        if (c > 0)
            ascending = false;
        if (c < 0)
            descending = false;
    }
    if (ascending)
        return;
    if (descending) {
        Reverse();
        return;
    }
    std::sort(ids.begin(), ids.end(),
              [&](uint32_t a, uint32_t b) { return compare(a, b, context) < 0; });
    size_t i = 0;
    for (Segment* seg = first; seg; seg = seg->next) {
        std::copy(ids.begin() + i, ids.begin() + i + seg->nRows, seg->rows);
        i += seg->nRows;
    }
    curr = first;
    pos = 0;
}
