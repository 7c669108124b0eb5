#include "UML/Model/PageZoom.h"

#include <gtest/gtest.h>

namespace {

class PageZoom : public ::testing::Test {
protected:
    void TearDown() override { SetZoom(1.0f); }
};

TEST_F(PageZoom, AcceptsOnlyNewFactorsFromHalfToDouble)
{
    SetZoom(1.0f);
    struct Step {
        float z;
        bool accepted;
        float after;
    } const steps[] = {
        {1.0f, false, 1.0f},  {2.0f, true, 2.0f},   {2.0f, false, 2.0f}, {2.25f, false, 2.0f},
        {0.5f, true, 0.5f},   {0.25f, false, 0.5f}, {0.49f, false, 0.5f}, {0.75f, true, 0.75f},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(SetZoom(s.z), s.accepted) << s.z;
        EXPECT_EQ(GetZoom(), s.after) << s.z;
    }
}

TEST_F(PageZoom, ConversionsTruncateTowardsZero)
{
    struct Case {
        float z;
        int v, scaled, unscaled;
    } const cases[] = {
        {1.0f, 101, 101, 101},   {1.0f, -7, -7, -7},      {0.75f, 101, 75, 134},
        {0.75f, -101, -75, -134}, {0.75f, 75, 56, 100},   {0.5f, 1001, 500, 2002},
        {0.5f, -1001, -500, -2002}, {2.0f, 1001, 2002, 500}, {2.0f, -1001, -2002, -500},
        {1.25f, 3, 3, 2},
    };
    for (const auto& c : cases) {
        SetZoom(c.z);
        ASSERT_EQ(GetZoom(), c.z);
        EXPECT_EQ(ZoomScale(c.v), c.scaled) << c.z << " " << c.v;
        EXPECT_EQ(ZoomUnscale(c.v), c.unscaled) << c.z << " " << c.v;
    }
}

TEST_F(PageZoom, PointsAndRectanglesInPlace)
{
    SetZoom(2.0f);
    RECT r{-10, 20, 30, -40};
    ZoomScaleRect(r);
    EXPECT_EQ(r.left, -20);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 60);
    EXPECT_EQ(r.bottom, -80);
    POINT p{7, -9};
    ZoomScalePoint(p);
    EXPECT_EQ(p.x, 14);
    EXPECT_EQ(p.y, -18);
    SetZoom(0.5f);
    ZoomUnscalePoint(p);
    EXPECT_EQ(p.x, 28);
    EXPECT_EQ(p.y, -36);
}

} // namespace
