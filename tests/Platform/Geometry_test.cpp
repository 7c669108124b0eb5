#include "Platform/Geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, RectExcludesRightAndBottomEdges)
{
    const CRect r(0, 0, 10, 5);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(9, 5)));
    EXPECT_EQ(r.Size(), CSize(10, 5));
}

TEST(Geometry, IntersectAndUnion)
{
    struct Case { CRect a, b, inter, uni; bool overlaps; };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}, true},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, {0, 0, 20, 10}, false},
        {{0, 0, 0, 0}, {2, 2, 4, 4}, {0, 0, 0, 0}, {2, 2, 4, 4}, false},
    };
    for (const Case& c : cases) {
        CRect inter;
        EXPECT_EQ(inter.IntersectRect(&c.a, &c.b), c.overlaps);
        EXPECT_EQ(inter, c.inter);
        CRect uni;
        uni.UnionRect(&c.a, &c.b);
        EXPECT_EQ(uni, c.uni);
    }
}

TEST(Geometry, NormalizeAndPackedPoint)
{
    CRect r(10, 20, 0, 5);
    EXPECT_TRUE(r.IsRectEmpty());
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(0, 5, 10, 20));
    const CPoint p(DWORD(MAKELONG(WORD(-3), WORD(7))));
    EXPECT_EQ(p, CPoint(-3, 7));
}
