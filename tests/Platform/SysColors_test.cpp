// The fixed colour scheme, its stock brushes and the interface fonts.
#include "DcFixture.h"
#include "Platform/SysColors.h"

namespace {

TEST(SysColors, SchemeBrushesAreStockAndSurviveDeletion)
{
    for (int index : {COLOR_BTNFACE, COLOR_WINDOW, COLOR_HIGHLIGHT, COLOR_3DDKSHADOW}) {
        SCOPED_TRACE(index);
        HBRUSH brush = GetSysColorBrush(index);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(GetSysColorBrush(index), brush);
        EXPECT_TRUE(DeleteObject(brush));
        LOGBRUSH lb;
        ASSERT_EQ(GetObject(brush, sizeof lb, &lb), int(sizeof lb));
        EXPECT_EQ(lb.lbColor, GetSysColor(index));
        DcCanvas canvas(4, 4);
        RECT r{0, 0, 4, 4};
        canvas.dc.FillRect(&r, CBrush::FromHandle(brush));
        EXPECT_EQ(canvas.Pixel(2, 2), GetSysColor(index));
    }
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_MENUBAR + 1), nullptr);
    EXPECT_EQ(GetSysColor(COLOR_MENUBAR + 1), 0u);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}

TEST(SysColors, InterfaceFontsMeasureAsSmallDialogText)
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_FALSE(SystemParametersInfo(0x7777, 0, &metrics, 0));
    const LOGFONT* fonts[] = {&metrics.lfMenuFont, &metrics.lfMessageFont, &metrics.lfCaptionFont};
    for (const LOGFONT* lf : fonts) {
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(lf));
        DcCanvas canvas(4, 4);
        canvas.dc.SelectObject(&font);
        TEXTMETRIC tm;
        canvas.dc.GetTextMetrics(&tm);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -lf->lfHeight);
        EXPECT_LE(tm.tmHeight, metrics.iMenuHeight);
    }
    DcCanvas canvas(4, 4);
    canvas.dc.SelectStockObject(DEFAULT_GUI_FONT);
    char face[LF_FACESIZE];
    EXPECT_GT(canvas.dc.GetTextFace(sizeof face, face), 0);
    EXPECT_STREQ(face, metrics.lfMessageFont.lfFaceName);
}

} // namespace
