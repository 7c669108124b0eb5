#include "UML/Model/BoxGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const RECT kBox{1000, 2000, 3000, 3000};

TEST(BoxGeometry, SnapToNearestSide)
{
    struct Case {
        int x, y;
        int side, ex, ey;
    } const cases[] = {
        {1100, 2500, SideLeft, 1000, 2500},
        {2900, 2500, SideRight, 3000, 2500},
        {2000, 2050, SideTop, 2000, 2000},
        {2000, 2950, SideBottom, 2000, 3000},
        {0, 2500, SideLeft, 1000, 2500},      // outside: clamped first
        {5000, -100, SideRight, 3000, 2000},  // clamped to the corner, right beats top on a tie
        {1000, 2000, SideLeft, 1000, 2000},   // a corner: left wins the tie with top
        {2000, 2500, SideTop, 2000, 2000},    // centre of a wide box: top is nearer
    };
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        EXPECT_EQ(SnapToNearestSide(x, y, kBox), c.side) << c.x << "," << c.y;
        EXPECT_EQ(x, c.ex) << c.x << "," << c.y;
        EXPECT_EQ(y, c.ey) << c.x << "," << c.y;
    }
    // The centre of a square ties on all four sides and picks the left.
    int x = 500, y = 500;
    EXPECT_EQ(SnapToNearestSide(x, y, RECT{0, 0, 1000, 1000}), SideLeft);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 500);
}

TEST(BoxGeometry, ClampToRectSide)
{
    struct Case {
        int side, x, y;
        int result, ex, ey;
    } const cases[] = {
        {SideLeft, 2000, 5000, SideLeft, 1000, 3000},
        {SideTop, 500, 2500, SideTop, 1000, 2000},
        {SideRight, 2000, 2500, SideRight, 3000, 2500},
        {SideBottom, 9000, 0, SideBottom, 3000, 3000},
        {0, 2900, 2500, SideRight, 3000, 2500},
        {7, 1100, 2500, SideLeft, 1000, 2500},
    };
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        EXPECT_EQ(ClampToRectSide(x, y, kBox, c.side), c.result) << c.side;
        EXPECT_EQ(x, c.ex) << c.side;
        EXPECT_EQ(y, c.ey) << c.side;
    }
}

TEST(BoxGeometry, EllipseApexNearTheCentreLine)
{
    const RECT r{0, 0, 1000, 600};
    struct Case {
        int refX, refY, ex, ey;
    } const cases[] = {
        {550, 2000, 500, 600}, {400, -900, 500, 0}, {600, 300, 500, 0}, {500, 301, 500, 600},
    };
    for (const auto& c : cases) {
        int x = 0, y = 0;
        AttachPointOnEllipse(x, y, c.refX, c.refY, r);
        EXPECT_EQ(x, c.ex) << c.refX << "," << c.refY;
        EXPECT_EQ(y, c.ey) << c.refX << "," << c.refY;
    }
}

TEST(BoxGeometry, EllipseCrossingLiesOnTheEllipseTowardsTheReference)
{
    const RECT rects[] = {{0, 0, 1000, 600}, {-4000, 1000, 2000, 1400}, {100, 100, 700, 2100}};
    const POINT refs[] = {{5000, 300}, {-5000, 300}, {3000, 3000}, {-2000, -2500}, {800, 10000}};
    for (const auto& r : rects) {
        const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
        const double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
        for (const auto& ref : refs) {
            if (std::abs(ref.x - cx) < 101)
                continue;
            int x = 0, y = 0;
            AttachPointOnEllipse(x, y, ref.x, ref.y, r);
            SCOPED_TRACE(testing::Message() << "rect " << r.left << "," << r.top << " ref " << ref.x << ","
                                            << ref.y << " -> " << x << "," << y);
            // Distance from the ellipse, to first order; truncating x costs up to the
            // slope in y, so steep lines are allowed that much.
            const double f = (x - cx) * (x - cx) / (a * a) + (y - cy) * (y - cy) / (b * b) - 1;
            const double gx = 2 * (x - cx) / (a * a), gy = 2 * (y - cy) / (b * b);
            const double slope = std::abs((ref.y - cy) / (ref.x - cx));
            EXPECT_LE(std::abs(f) / std::sqrt(gx * gx + gy * gy), 2 + slope);
            // Same side of the centre as the reference, along the line towards it.
            EXPECT_GT((x - cx) * (ref.x - cx), 0);
            EXPECT_GE((y - cy) * (ref.y - cy), -1e-9);
        }
    }
}

TEST(BoxGeometry, FlatEllipseHasADefinedCrossing)
{
    int x = 0, y = 0;
    AttachPointOnEllipse(x, y, 5000, 500, RECT{0, 500, 1000, 500});
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, 500);
    AttachPointOnEllipse(x, y, 5000, 9000, RECT{0, 500, 1000, 500});
    EXPECT_EQ(x, 500);
    EXPECT_EQ(y, 500);
    AttachPointOnEllipse(x, y, 5000, 9000, RECT{200, 0, 200, 1000});
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 500);
}

} // namespace
