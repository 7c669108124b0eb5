#include "UML/Model/SymbolText.h"

#include "PageCanvas.h"
#include "Pub/SYSConfig.h"
#include "Pub/SyntaxRunCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

enum Hue { Black, Red, Blue };

// Text is smoothed, so ink is told by its hue rather than its exact colour.
bool IsHue(COLORREF c, Hue hue)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    switch (hue) {
    case Black:
        return r < 120 && g < 120 && b < 120 && std::abs(r - b) < 40;
    case Red:
        return r > g + 60 && r > b + 60;
    case Blue:
        return b > r + 60 && b > g + 60;
    }
    return false;
}

// Ink of one hue inside a band of device columns.
bool HasColour(const PageCanvas& canvas, int left, int right, Hue hue)
{
    const QRect ink = canvas.InkBox();
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = left; x <= right; ++x)
            if (IsHue(canvas.Pixel(x, y), hue))
                return true;
    return false;
}

class SymbolText : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(GetParam());
    }
    void TearDown() override { SetZoom(1.0f); }

    // A canvas with the normal font; text drawn from page point (200, 200).
    struct Text {
        PageCanvas canvas{600, 200};
        Text()
        {
            PrepareSymbolDC(&canvas.dc);
            canvas.dc.SetTextColor(RGB(1, 2, 3));
        }
        void Draw(const char* text, const char* runs)
        {
            SyntaxRunCodec reader;
            reader.Attach(runs);
            DrawSyntaxText(&canvas.dc, 200, 200, 0, 0, text, reader);
        }
    };
};

TEST_P(SymbolText, RunsSwitchColoursAndTheContextColourIsRestored)
{
    // "ab cd": black "ab", red from 3, blue from 4.
    SyntaxRunCodec runs;
    runs.AddRun(3, RGB(255, 0, 0));
    runs.AddRun(4, RGB(0, 0, 255));
    Text t;
    t.Draw("ab cd", runs.GetText());
    t.canvas.Save("syntax_text_" + std::to_string(int(GetParam() * 100)));
    EXPECT_EQ(t.canvas.dc.GetTextColor(), RGB(1, 2, 3));

    int w = 0, h = 0;
    MeasureText(&t.canvas.dc, w, h, "ab ");
    const int redStart = PageCanvas::Device(200 + w);
    MeasureText(&t.canvas.dc, w, h, "ab c");
    const int blueStart = PageCanvas::Device(200 + w);
    const QRect ink = t.canvas.InkBox();
    EXPECT_TRUE(HasColour(t.canvas, ink.left(), redStart - 2, Black));
    EXPECT_FALSE(HasColour(t.canvas, ink.left(), redStart - 2, Red));
    EXPECT_TRUE(HasColour(t.canvas, redStart, blueStart - 1, Red));
    EXPECT_TRUE(HasColour(t.canvas, blueStart, ink.right(), Blue));
    EXPECT_FALSE(HasColour(t.canvas, blueStart + 1, ink.right(), Red));
}

TEST_P(SymbolText, ARunInsideACharacterStartsAfterIt)
{
    // Each "ö" is two bytes; a run at byte 1 falls inside the first one.
    SyntaxRunCodec runs;
    runs.AddRun(1, RGB(255, 0, 0));
    Text split;
    split.Draw("\xC3\xB6\xC3\xB6", runs.GetText());

    SyntaxRunCodec whole;
    whole.AddRun(2, RGB(255, 0, 0));
    Text aligned;
    aligned.Draw("\xC3\xB6\xC3\xB6", whole.GetText());

    const QRect a = split.canvas.InkBox(), b = aligned.canvas.InkBox();
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(a, b);
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            EXPECT_EQ(split.canvas.Pixel(x, y), aligned.canvas.Pixel(x, y)) << x << "," << y;
    int w = 0, h = 0;
    MeasureText(&split.canvas.dc, w, h, "\xC3\xB6");
    EXPECT_FALSE(HasColour(split.canvas, a.left(), PageCanvas::Device(200 + w) - 2, Red));
}

TEST_P(SymbolText, NewlinesMoveDownByTheFontSizeUnzoomed)
{
    Text one;
    one.Draw("x", "");
    Text two;
    two.Draw("x\r\nx", "");
    const QRect a = one.canvas.InkBox(), b = two.canvas.InkBox();
    EXPECT_EQ(b.left(), a.left());
    EXPECT_EQ(b.right(), a.right());
    EXPECT_NEAR(b.bottom() - a.bottom(), PageCanvas::Device(theSysConfig.m_nFontSize), 1);

    Text none;
    none.Draw("", "003+000");
    none.Draw(nullptr, "003+000");
    EXPECT_TRUE(none.canvas.InkBox().isEmpty());
}

TEST_P(SymbolText, MeasuresInPageUnits)
{
    PageCanvas canvas(10, 10);
    PrepareSymbolDC(&canvas.dc);
    int w = 0, h = 0;
    const int perChar = MeasureText(&canvas.dc, w, h, "abcd");
    EXPECT_EQ(perChar, w / 4);
    // The font is FONTSIZE high in page units at any zoom.
    EXPECT_NEAR(h, theSysConfig.m_nFontSize, theSysConfig.m_nFontSize / 10);
    int ew = 0, eh = 0;
    const int emptyPerChar = MeasureText(&canvas.dc, ew, eh, "");
    EXPECT_EQ(emptyPerChar, ew / 2);
    EXPECT_GT(ew, 0);
    EXPECT_EQ(eh, h);

    int lw = 0, lh = 0;
    const int linesPerChar = MeasureTextLines(&canvas.dc, lw, lh, "ab\nabcd\n", 10);
    EXPECT_EQ(lw, w);
    EXPECT_EQ(linesPerChar, w / 4);
    // The gap is added before the sum is taken back to page units.
    EXPECT_NEAR(lh, 3 * h + ZoomUnscale(30), 3);
    // The widest line may be empty: it measures as a blank and divides by nothing.
    int sw = 0, sh = 0;
    const int blankPerChar = MeasureTextLines(&canvas.dc, sw, sh, "\n", 0);
    EXPECT_EQ(blankPerChar, sw);
    EXPECT_GT(sw, 0);
    EXPECT_NEAR(sh, 2 * h, 2);
}

INSTANTIATE_TEST_SUITE_P(Zooms, SymbolText, ::testing::Values(0.5f, 1.0f, 2.0f));

} // namespace
