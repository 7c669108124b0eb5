#include "UML/Model/LineGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(LineGeometry, IsNearSegment)
{
    struct Case {
        int x1, y1, x2, y2;
        int px, py;
        bool near;
    } const cases[] = {
        // horizontal: 150 units of tolerance across, the ends included
        {0, 0, 1000, 0, 500, 150, true},
        {0, 0, 1000, 0, 500, 151, false},
        {0, 0, 1000, 0, 1001, 0, false},
        {1000, 0, 0, 0, 0, -150, true},
        {0, 0, 1000, 149, 500, -150, true},
        // less than 150 wide counts as vertical
        {0, 0, 100, 1000, 150, 500, true},
        {0, 0, 100, 1000, 151, 500, false},
        {0, 1000, 0, 0, -150, 0, true},
        {0, 1000, 0, 0, 0, 1001, false},
        // sloped: the vertical distance to the line, widened by the slope
        {0, 0, 1000, 1000, 500, 500, true},
        {0, 0, 1000, 1000, 500, 712, true},   // sqrt(2) x 150 = 212
        {0, 0, 1000, 1000, 500, 713, false},
        {0, 0, 1000, 1000, 1001, 1000, false}, // beyond the end
        {0, 0, 1000, 1000, 100, -1, false},   // above both ends
        {1000, 2000, 0, 0, 250, 500, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNearSegment(POINT{c.px, c.py}, c.x1, c.y1, c.x2, c.y2), c.near)
            << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ") at " << c.px << ","
            << c.py;
}

TEST(LineGeometry, ArrowHeadPoints)
{
    struct Case {
        LineSegment s;
        int size;
        POINT a, b;
    } const cases[] = {
        {{0, 0, 0, 1000}, 200, {-120, 840}, {120, 840}},
        {{0, 0, 0, -1000}, 200, {-120, -840}, {120, -840}},
        {{0, 0, 1000, 0}, 200, {840, 120}, {840, -120}},
        {{1000, 0, 0, 0}, 200, {160, 120}, {160, -120}},
        {{0, 0, 1000, 0}, 300, {760, 180}, {760, -180}},
        // 3-4-5 slope: 400 back along (0.6, 0.8), 300 aside along (-0.8, 0.6)
        {{0, 0, 3000, 4000}, 500, {2520, 3860}, {3000, 3500}},
        {{3000, 4000, 0, 0}, 500, {0, 500}, {480, 140}},
    };
    for (const auto& c : cases) {
        POINT out[2];
        ArrowHeadPoints(c.s, out, c.size);
        SCOPED_TRACE(testing::Message() << c.s.x1 << "," << c.s.y1 << "->" << c.s.x2 << "," << c.s.y2);
        EXPECT_EQ(out[0].x, c.a.x);
        EXPECT_EQ(out[0].y, c.a.y);
        EXPECT_EQ(out[1].x, c.b.x);
        EXPECT_EQ(out[1].y, c.b.y);
    }
}

} // namespace
