// Rectangle values: four signed 32-bit coordinates (low x, low y, high x,
// high y), the six comparison predicates the spatial index answers, and the
// measures it chooses by. Areas and distances are exact: sides span up to
// 2^32 - 1 and squared gaps up to 2^64, so they are computed in 128 bits;
// an improper rectangle (low above high) has a negative side.
#pragma once

#include <cstdint>

#include "MemDB/dbFieldInfo.h"

typedef __int128 dbArea;

// Operation codes of a spatial search: how the record's rectangle a stands
// to the query rectangle b.
enum dbSpatialOp {
    dbSpatialEqual = 0,            // all four coordinates equal
    dbSpatialOverlaps = 1,         // touching counts
    dbSpatialStrictlyContains = 2, // a contains b and differs from it
    dbSpatialContains = 3,
    dbSpatialStrictlyInside = 4,   // b contains a and differs from it
    dbSpatialInside = 5
};

bool dbRectanglesEqual(const dbRectangle& a, const dbRectangle& b);
inline bool dbRectanglesOverlap(const dbRectangle& a, const dbRectangle& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}
// Whether a contains b (touching sides included).
bool dbRectangleContains(const dbRectangle& a, const dbRectangle& b);
bool dbRectanglePredicate(int op, const dbRectangle& a, const dbRectangle& b);

dbArea dbRectangleArea(const dbRectangle& r);
// The smallest rectangle covering both.
dbRectangle dbRectangleCover(const dbRectangle& a, const dbRectangle& b);
// 0 when they overlap, else the integer part of the Euclidean distance
// between them.
uint64_t dbRectangleDistance(const dbRectangle& a, const dbRectangle& b);
