#include "MemDB/dbRectangle.h"

#include <cmath>

bool dbRectanglesEqual(const dbRectangle& a, const dbRectangle& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool dbRectangleContains(const dbRectangle& a, const dbRectangle& b)
{
    return a.left <= b.left && a.top <= b.top && b.right <= a.right && b.bottom <= a.bottom;
}

bool dbRectanglePredicate(int op, const dbRectangle& a, const dbRectangle& b)
{
    switch (op) {
    case dbSpatialEqual: return dbRectanglesEqual(a, b);
    case dbSpatialOverlaps: return dbRectanglesOverlap(a, b);
    case dbSpatialStrictlyContains: return dbRectangleContains(a, b) && !dbRectanglesEqual(a, b);
    case dbSpatialContains: return dbRectangleContains(a, b);
    case dbSpatialStrictlyInside: return dbRectangleContains(b, a) && !dbRectanglesEqual(a, b);
    default: return dbRectangleContains(b, a);
    }
}

dbArea dbRectangleArea(const dbRectangle& r)
{
    return dbArea(int64_t(r.right) - r.left) * (int64_t(r.bottom) - r.top);
}

dbRectangle dbRectangleCover(const dbRectangle& a, const dbRectangle& b)
{
    return dbRectangle{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                       a.right > b.right ? a.right : b.right,
                       a.bottom > b.bottom ? a.bottom : b.bottom};
}

namespace {

// Gap between the projections [lowA, highA] and [lowB, highB] of one axis.
uint64_t Gap(int32_t lowA, int32_t highA, int32_t lowB, int32_t highB)
{
    if (highA < lowB)
        return uint64_t(int64_t(lowB) - highA);
    if (highB < lowA)
        return uint64_t(int64_t(lowA) - highB);
    return 0;
}

// Integer part of the square root.
uint64_t SquareRoot(unsigned __int128 n)
{
    uint64_t x = static_cast<uint64_t>(std::sqrt(static_cast<long double>(n)));
    while (static_cast<unsigned __int128>(x) * x > n)
        x--;
    while (static_cast<unsigned __int128>(x + 1) * (x + 1) <= n)
        x++;
    return x;
}

} // namespace

uint64_t dbRectangleDistance(const dbRectangle& a, const dbRectangle& b)
{
    if (dbRectanglesOverlap(a, b))
        return 0;
    unsigned __int128 dx = Gap(a.left, a.right, b.left, b.right);
    unsigned __int128 dy = Gap(a.top, a.bottom, b.top, b.bottom);
    return SquareRoot(dx * dx + dy * dy);
}
