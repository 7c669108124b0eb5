#include "UML/Model/LineGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const int kTolerance = 150;

bool Between(long long v, long long a, long long b)
{
    return v >= std::min(a, b) && v <= std::max(a, b);
}

int Trunc(double v)
{
    return static_cast<int>(v);
}

} // namespace

bool IsNearSegment(POINT point, int x1, int y1, int x2, int y2)
{
    const long long px = point.x, py = point.y;
    if (std::llabs(static_cast<long long>(x2) - x1) < kTolerance)
        return std::llabs(px - x1) <= kTolerance && Between(py, y1, y2);
    if (std::llabs(static_cast<long long>(y2) - y1) < kTolerance)
        return std::llabs(py - y1) <= kTolerance && Between(px, x1, x2);
    if (!Between(py, y1, y2) || !Between(px, x1, x2))
        return false;
    const double k = (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    const long long yl = Trunc(k * (px - x1) + y1);
    const long long t = Trunc(std::sqrt(k * k + 1) * kTolerance);
    return py >= yl - t && py <= yl + t;
}

void ArrowHeadPoints(const LineSegment& s, POINT out[2], int size)
{
    if (s.x1 == s.x2) {
        const int side = Trunc(0.6 * size);
        const int back = Trunc(0.8 * size);
        const int yb = s.y1 < s.y2 ? s.y2 - back : s.y2 + back;
        out[0] = POINT{s.x2 - side, yb};
        out[1] = POINT{s.x2 + side, yb};
        return;
    }
    const double k = (static_cast<double>(s.y2) - s.y1) / (static_cast<double>(s.x2) - s.x1);
    const double g = std::sqrt(k * k + 1);
    const double e = 0.6 * size / g;
    const double f = (s.x1 < s.x2 ? 1 : -1) * 0.8 * size / g;
    out[0] = POINT{s.x2 - Trunc(k * e + f), s.y2 - Trunc(k * f - e)};
    out[1] = POINT{s.x2 - Trunc(f - k * e), s.y2 - Trunc(e + k * f)};
}
