// Font descriptions and character formats: what each conversion keeps,
// and that a round trip keeps the size (the character height stays one).
#include "Controls/OptionTreeFontConvert.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

LOGFONT Font(LONG height, LONG weight, BYTE italic, BYTE underline, BYTE strikeOut, const char* face)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = 1;
    lf.lfPitchAndFamily = 0x22;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}

} // namespace

TEST(FontConvert, FontToFormatTakesEffectsOnlyFromExactOnes)
{
    struct Case {
        LOGFONT lf;
        DWORD effects;
        LONG twips;
    };
    const Case cases[] = {
        { Font(-16, 400, 0, 0, 0, "Arial"), 0, 240 },
        { Font(16, 700, 1, 1, 1, "Arial"), CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT, 240 },
        { Font(-13, 699, 2, 255, 1, "Arial"), CFE_STRIKEOUT, 195 },
        { Font(-32, 900, 0, 1, 0, "Liberation Serif"), CFE_BOLD | CFE_UNDERLINE, 480 },
    };
    for (const Case& c : cases) {
        CHARFORMAT cf{};
        cf.cbSize = 60;
        LogFontToCharFormat(c.lf, RGB(1, 2, 3), &cf);
        EXPECT_EQ(60u, cf.cbSize);
        EXPECT_EQ(DWORD(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET),
                  cf.dwMask);
        EXPECT_EQ(c.effects, cf.dwEffects) << c.lf.lfWeight;
        EXPECT_EQ(c.twips, cf.yHeight);
        EXPECT_EQ(RGB(1, 2, 3), cf.crTextColor);
        EXPECT_EQ(1, cf.bCharSet);
        EXPECT_EQ(0x22, cf.bPitchAndFamily);
        EXPECT_STREQ(c.lf.lfFaceName, cf.szFaceName);
    }
}

TEST(FontConvert, RoundTripKeepsTheCharacterHeight)
{
    // 12 points at 96 dpi: a character height of 16 pixels, 240 twips.
    const LOGFONT twelve = Font(-16, 700, 1, 0, 1, "Arial");
    CHARFORMAT cf{};
    LogFontToCharFormat(twelve, RGB(9, 9, 9), &cf);
    LOGFONT back;
    std::memset(&back, 0x5A, sizeof back);
    CharFormatToLogFont(cf, &back);
    EXPECT_EQ(-16, back.lfHeight);
    EXPECT_EQ(700, back.lfWeight);
    EXPECT_EQ(1, back.lfItalic);
    EXPECT_EQ(0, back.lfUnderline);
    EXPECT_EQ(1, back.lfStrikeOut);
    EXPECT_EQ(0, back.lfCharSet);  // not read from the format
    EXPECT_EQ(0, back.lfWidth);
    EXPECT_EQ(0x22, back.lfPitchAndFamily);
    EXPECT_STREQ("Arial", back.lfFaceName);

    // A format's height is read truncated: 250 twips are 16.67 pixels.
    cf.yHeight = 250;
    cf.dwEffects = 0;
    CharFormatToLogFont(cf, &back);
    EXPECT_EQ(-16, back.lfHeight);
    EXPECT_EQ(400, back.lfWeight);
}
