// A selection of record identifiers, kept in a chain of segments of up to
// 1024 identifiers each. Identifiers are appended at the end; existing ones
// never move when the selection grows. The position (curr, pos) names one
// identifier while the selection is not empty.
#pragma once

#include <cstddef>
#include <cstdint>

class dbIdSelection {
public:
    enum { SegmentSize = 1024 };
    struct Segment {
        Segment* prev;
        Segment* next;
        uint32_t nRows;
        uint32_t rows[SegmentSize];
    };
    // Negative, zero or positive as record a orders before, with or after b.
    typedef int (*Compare)(uint32_t a, uint32_t b, void* context);

    dbIdSelection() = default;
    ~dbIdSelection() { Reset(); }
    dbIdSelection(const dbIdSelection&) = delete;
    dbIdSelection& operator=(const dbIdSelection&) = delete;

    void Add(uint32_t id);
    void Reset();
    void Reverse();
    void ToArray(uint32_t* out) const;
    // Keeps the identifiers at positions start .. start + limit - 1.
    void Truncate(size_t start, size_t limit);
    void Sort(Compare compare, void* context);

    Segment* first = nullptr;
    Segment* last = nullptr;
    Segment* curr = nullptr;
    uint32_t nRows = 0;
    uint32_t pos = 0;
};
