#include "UML/Model/PageDraw.h"

#include "PageCanvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PageDraw : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override { SetZoom(GetParam()); }
    void TearDown() override { SetZoom(1.0f); }
    static std::string Name(const char* what) { return std::string(what) + "_" + std::to_string(int(GetParam() * 100)); }
};

void ExpectBox(const QRect& ink, int left, int top, int right, int bottom)
{
    EXPECT_NEAR(ink.left(), left, 1);
    EXPECT_NEAR(ink.top(), top, 1);
    EXPECT_NEAR(ink.right(), right, 1);
    EXPECT_NEAR(ink.bottom(), bottom, 1);
}

TEST_P(PageDraw, ShapesLandWherePagePointsMapWithYDown)
{
    PageCanvas canvas(300, 300);
    CDC& dc = canvas.dc;
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectStockObject(NULL_BRUSH);
    PageRectangle(&dc, 1000, 500, 3000, 2000);
    canvas.Save(Name("page_rectangle"));
    ExpectBox(canvas.InkBox(), PageCanvas::Device(1000), PageCanvas::Device(500), PageCanvas::Device(3000) - 1,
              PageCanvas::Device(2000) - 1);

    PageCanvas fill(300, 300);
    PageFillRect(&fill.dc, 1000, 500, 3000, 2000, RGB(0, 0, 255));
    ExpectBox(fill.InkBox(), PageCanvas::Device(1000), PageCanvas::Device(500), PageCanvas::Device(3000) - 1,
              PageCanvas::Device(2000) - 1);
    EXPECT_EQ(fill.Pixel(PageCanvas::Device(2000), PageCanvas::Device(1250)), RGB(0, 0, 255));

    PageCanvas line(300, 300);
    line.dc.SelectStockObject(BLACK_PEN);
    PageMoveTo(&line.dc, 500, 2500);
    PageLineTo(&line.dc, 2500, 500);
    const QRect ink = line.InkBox();
    EXPECT_NEAR(ink.left(), PageCanvas::Device(500), 1);
    EXPECT_NEAR(ink.bottom(), PageCanvas::Device(2500), 1);
    EXPECT_TRUE(line.IsInk(PageCanvas::Device(500), PageCanvas::Device(2500)));
}

TEST_P(PageDraw, BorderRectStaysInsideAPictureOfItsOwnSize)
{
    // Sizes that make whole pixels at every zoom tested.
    const int w = 5080, h = 2540;
    PageCanvas canvas(PageCanvas::Device(w), PageCanvas::Device(h));
    ASSERT_GT(DrawResources::PixelSize, 0);
    canvas.dc.SelectStockObject(BLACK_PEN);
    PageBorderRect(&canvas.dc, 0, 0, w, h);
    canvas.Save(Name("page_border"));
    const int right = PageCanvas::Device(w) - 1, bottom = PageCanvas::Device(h) - 1;
    EXPECT_TRUE(canvas.IsInk(right, bottom / 2));
    EXPECT_TRUE(canvas.IsInk(right / 2, bottom));
    EXPECT_TRUE(canvas.IsInk(0, bottom / 2));
    EXPECT_TRUE(canvas.IsInk(right / 2, 0));
}

TEST_P(PageDraw, PolygonConvertsItsPointsInPlace)
{
    PageCanvas canvas(200, 200);
    canvas.dc.SelectStockObject(BLACK_PEN);
    canvas.dc.SelectStockObject(BLACK_BRUSH);
    POINT note[5] = {{500, 500}, {1500, 500}, {1800, 800}, {1800, 1800}, {500, 1800}};
    PagePolygon(&canvas.dc, note, 5);
    EXPECT_EQ(note[2].x, ZoomScale(1800));
    EXPECT_EQ(note[2].y, -ZoomScale(800));
    EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(1000), PageCanvas::Device(1000)));
}

TEST_P(PageDraw, TextWithoutCharactersDrawsNothing)
{
    PageCanvas canvas(100, 100);
    PageTextOut(&canvas.dc, 500, 500, nullptr);
    PageTextOut(&canvas.dc, 500, 500, "");
    PageTextOutChars(&canvas.dc, 500, 500, "abc", 0);
    PageTextOutChars(&canvas.dc, 500, 500, "abc", -1);
    PageTextOutChars(&canvas.dc, 500, 500, nullptr, 3);
    EXPECT_TRUE(canvas.InkBox().isEmpty());
    PageTextOutChars(&canvas.dc, 500, 500, "Wg", 1);
    EXPECT_FALSE(canvas.InkBox().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Zooms, PageDraw, ::testing::Values(0.5f, 1.0f, 2.0f));

} // namespace
