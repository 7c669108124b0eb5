#include "UML/Model/BoxGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int Clamp(int v, int a, int b)
{
    return std::min(std::max(v, std::min(a, b)), std::max(a, b));
}

// Distances in 64 bits: page coordinates are 32-bit and may lie far apart.
long long Dist(long long a, long long b)
{
    return std::llabs(a - b);
}

int Trunc(double v)
{
    return static_cast<int>(v);
}

} // namespace

int SnapToNearestSide(int& x, int& y, const RECT& box)
{
    const int cx = Clamp(x, box.left, box.right);
    const int cy = Clamp(y, box.top, box.bottom);
    int side = SideLeft;
    long long best = Dist(cx, box.left);
    x = box.left;
    y = cy;
    if (Dist(cx, box.right) < best) {
        side = SideRight;
        best = Dist(cx, box.right);
        x = box.right;
    }
    if (Dist(cy, box.top) < best) {
        side = SideTop;
        best = Dist(cy, box.top);
        x = cx;
        y = box.top;
    }
    if (Dist(cy, box.bottom) < best) {
        side = SideBottom;
        x = cx;
        y = box.bottom;
    }
    return side;
}

int ClampToRectSide(int& x, int& y, const RECT& box, int side)
{
    switch (side) {
    case SideLeft:
    case SideRight:
        x = side == SideLeft ? box.left : box.right;
        y = Clamp(y, box.top, box.bottom);
        return side;
    case SideTop:
    case SideBottom:
        y = side == SideTop ? box.top : box.bottom;
        x = Clamp(x, box.left, box.right);
        return side;
    default:
        return SnapToNearestSide(x, y, box);
    }
}

void AttachPointOnEllipse(int& x, int& y, int refX, int refY, const RECT& rect)
{
    const int cx = static_cast<int>((static_cast<long long>(rect.left) + rect.right) >> 1);
    const int cy = static_cast<int>((static_cast<long long>(rect.top) + rect.bottom) >> 1);
    if (Dist(refX, cx) < 101) {
        x = cx;
        y = Dist(rect.bottom, refY) < Dist(rect.top, refY) ? rect.bottom : rect.top;
        return;
    }
    const double a = static_cast<double>(std::llabs((static_cast<long long>(rect.right) - rect.left) / 2));
    const double b = static_cast<double>(std::llabs((static_cast<long long>(rect.bottom) - rect.top) / 2));
    if (a == 0 || b == 0) {
        // A flat ellipse is a segment through the centre: the line from the centre
        // leaves it at the centre unless it runs along the segment.
        x = cx;
        y = cy;
        if (b == 0 && a > 0 && refY == cy)
            x = refX > cx ? cx + static_cast<int>(a) : cx - static_cast<int>(a);
        return;
    }
    const double k = (static_cast<double>(refY) - cy) / (static_cast<double>(refX) - cx);
    const double h = cy - k * cx;
    const double d = h - cy;
    const double u = k * k / (b * b) + 1 / (a * a);
    const double t = 2 * (k * d / (b * b) - cx / (a * a));
    const double c = static_cast<double>(cx) * cx / (a * a) + d * d / (b * b) - 1;
    // The line runs through the centre, so it always crosses; rounding may not know.
    const double root = std::sqrt(std::max(0.0, t * t - 4 * u * c));
    const int minus = Trunc((-t - root) / (2 * u));
    const int plus = Trunc((-t + root) / (2 * u));
    x = Dist(plus, refX) < Dist(minus, refX) ? plus : minus;
    y = Trunc(h + k * x);
}
