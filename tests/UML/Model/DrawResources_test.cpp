#include "UML/Model/DrawResources.h"

#include "PageCanvas.h"
#include "UML/Model/PageDraw.h"
#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class DrawResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
    }
    void TearDown() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
        RebuildDrawResources(nullptr);
    }
    static LOGFONT FontOf(const CFont& font)
    {
        LOGFONT lf;
        std::memset(&lf, 0, sizeof lf);
        font.GetLogFont(&lf);
        return lf;
    }
};

TEST_F(DrawResourcesTest, FontsFollowTheConfigurationAndTheZoom)
{
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    std::strcpy(theSysConfig.m_szFontName, longName.c_str());
    PageCanvas canvas(50, 50);
    EXPECT_EQ(DrawResources::PixelSize, 26);
    LOGFONT normal = FontOf(DrawResources::NormalFont);
    EXPECT_EQ(std::string(normal.lfFaceName), longName.substr(0, 31));
    EXPECT_EQ(normal.lfHeight, theSysConfig.m_nFontSize);
    EXPECT_EQ(normal.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(normal.lfWeight, 0);
    EXPECT_EQ(FontOf(DrawResources::SmallFont).lfHeight, theSysConfig.m_nSmallFontSize);

    ASSERT_TRUE(SetZoom(2.0f));
    EXPECT_EQ(FontOf(DrawResources::NormalFont).lfHeight, 2 * theSysConfig.m_nFontSize);
    EXPECT_EQ(FontOf(DrawResources::SmallFont).lfHeight, 2 * theSysConfig.m_nSmallFontSize);
    const HGDIOBJ before = DrawResources::NormalFont.GetSafeHandle();
    EXPECT_FALSE(SetZoom(2.0f));
    EXPECT_EQ(DrawResources::NormalFont.GetSafeHandle(), before);
}

TEST_F(DrawResourcesTest, APixelSizeIsKeptWhenRebuiltWithoutAContext)
{
    PageCanvas canvas(50, 50);
    theSysConfig.m_clrSymbolBorder = RGB(0, 128, 0);
    RebuildDrawResources(nullptr);
    EXPECT_EQ(DrawResources::PixelSize, 26);
    LOGPEN pen;
    DrawResources::BorderPen.GetObject(sizeof pen, &pen);
    EXPECT_EQ(pen.lopnColor, RGB(0, 128, 0));
    EXPECT_EQ(pen.lopnWidth.x, 0);
    DrawResources::DottedPen.GetObject(sizeof pen, &pen);
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_DOT));
}

TEST_F(DrawResourcesTest, SymbolFillOnlyForAColourOfItsOwn)
{
    PageCanvas canvas(50, 50);
    CDC& dc = canvas.dc;
    PrepareSymbolDC(&dc);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), theSysConfig.m_clrSymbolBg);
    EXPECT_EQ(dc.GetCurrentBrush()->GetSafeHandle(), DrawResources::FillBrush.GetSafeHandle());
    EXPECT_EQ(dc.GetCurrentPen()->GetSafeHandle(), DrawResources::BorderPen.GetSafeHandle());
    EXPECT_EQ(dc.GetCurrentFont()->GetSafeHandle(), DrawResources::NormalFont.GetSafeHandle());

    const HGDIOBJ defaultFill = DrawResources::FillBrush.GetSafeHandle();
    for (COLORREF untouched : {COLORREF(0), theSysConfig.m_clrSymbolBg}) {
        SelectSymbolFill(&dc, untouched);
        EXPECT_EQ(DrawResources::FillBrush.GetSafeHandle(), defaultFill);
        EXPECT_EQ(dc.GetBkColor(), theSysConfig.m_clrSymbolBg);
        RestoreSymbolFill(&dc, untouched);
        EXPECT_EQ(DrawResources::FillBrush.GetSafeHandle(), defaultFill);
    }

    SelectSymbolFill(&dc, RGB(255, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 0, 0));
    PageRectangle(&dc, 200, 200, 1200, 1200);
    EXPECT_EQ(canvas.Pixel(PageCanvas::Device(700), PageCanvas::Device(700)), RGB(255, 0, 0));
    RestoreSymbolFill(&dc, RGB(255, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), theSysConfig.m_clrSymbolBg);
    LOGBRUSH brush;
    DrawResources::FillBrush.GetObject(sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, theSysConfig.m_clrSymbolBg);
    EXPECT_EQ(dc.GetCurrentBrush()->GetSafeHandle(), DrawResources::FillBrush.GetSafeHandle());
}

} // namespace
