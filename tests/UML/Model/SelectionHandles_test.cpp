#include "UML/Model/SelectionHandles.h"

#include "PageCanvas.h"
#include "UML/Model/HotSpotList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SelectionHandles : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override
    {
        SetZoom(GetParam());
        HotSpotList::Clear();
    }
    void TearDown() override { SetZoom(1.0f); }
};

TEST_P(SelectionHandles, BoxCornersAreDrawnAndClickableWhereTheyAre)
{
    PageCanvas canvas(520, 360);
    DrawBoxHandles(&canvas.dc, 0, 2000, 2000, 6000, 4000);
    canvas.Save("box_handles_" + std::to_string(int(GetParam() * 100)));

    // The squares stay 200 page units whatever the zoom.
    struct Hit {
        int x, y, id;
    } const hits[] = {
        {1950, 1950, 0}, {2149, 2149, 0}, {2150, 2000, -1}, {5850, 3850, 1},
        {6049, 4049, 1}, {6050, 4000, -1}, {4000, 3000, -1},
    };
    for (const auto& h : hits)
        EXPECT_EQ(HotSpotList::Hit(POINT{h.x, h.y}), h.id) << h.x << "," << h.y;

    // The marks are Ls from the outer corners, 200 units long once zoomed.
    const int len = PageCanvas::Device(200) - PageCanvas::Device(0);
    const int lx = PageCanvas::Device(1950), ly = PageCanvas::Device(1950);
    const int rx = PageCanvas::Device(6050), ry = PageCanvas::Device(4050);
    const QRect ink = canvas.InkBox();
    EXPECT_NEAR(ink.left(), lx, 1);
    EXPECT_NEAR(ink.top(), ly, 1);
    EXPECT_NEAR(ink.right(), rx, 1);
    EXPECT_NEAR(ink.bottom(), ry, 1);
    EXPECT_TRUE(canvas.IsInk(lx, ly + len - 2));
    EXPECT_TRUE(canvas.IsInk(lx + len - 2, ly));
    EXPECT_FALSE(canvas.IsInk(lx, ly + len + 2));
    EXPECT_TRUE(canvas.IsInk(rx, ry - len + 2));
    EXPECT_FALSE(canvas.IsInk(rx - len - 2, ry));
    EXPECT_FALSE(canvas.IsInk(PageCanvas::Device(4000), PageCanvas::Device(3000)));
}

TEST_P(SelectionHandles, PointHandleIsACentredGreySquare)
{
    PageCanvas canvas(200, 200);
    DrawPointHandle(&canvas.dc, 1000 - 100, 1000 - 100, 2);
    EXPECT_EQ(canvas.Pixel(PageCanvas::Device(1000), PageCanvas::Device(1000)), RGB(200, 200, 200));
    EXPECT_EQ(HotSpotList::Hit(POINT{900, 900}), 2);
    EXPECT_EQ(HotSpotList::Hit(POINT{1099, 1099}), 2);
    EXPECT_EQ(HotSpotList::Hit(POINT{1100, 1100}), -1);
    const QRect ink = canvas.InkBox();
    EXPECT_NEAR(ink.width(), PageCanvas::Device(200) - PageCanvas::Device(0), 1);
}

INSTANTIATE_TEST_SUITE_P(Zooms, SelectionHandles, ::testing::Values(0.5f, 1.0f, 2.0f));

TEST(SelectionHandleColours, StyleChoosesThePen)
{
    struct Case {
        int style;
        COLORREF colour;
    } const cases[] = {{0, RGB(0, 0, 0)}, {1, 0xB4B4B4}, {2, 0x00B400}, {7, 0x00B400}};
    for (const auto& c : cases) {
        PageCanvas canvas(100, 100);
        HotSpotList::Clear();
        CPen* before = canvas.dc.GetCurrentPen();
        DrawBoxHandles(&canvas.dc, c.style, 1000, 1000, 2000, 2000);
        EXPECT_EQ(canvas.Pixel(PageCanvas::Device(950), PageCanvas::Device(1000)), c.colour) << c.style;
        EXPECT_EQ(canvas.dc.GetCurrentPen(), before);
        EXPECT_EQ(HotSpotList::Count(), 2);
    }
}

} // namespace
