#include "Pub/GuidText.h"
#include "Pub/OsVersion.h"
#include "Pub/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

TEST(TextHelpers, FormatHex)
{
    struct Case { int value; int size; const char* text; };
    const Case cases[] = {
        {0, 10, "0"},
        {-1, 10, "-1"},
        {255, 10, "FF"},
        {0x7FFFFFFF, 10, "7FFFFFFF"},
        {int(0x80000000), 10, "-80000000"},
        {-0x1234ABC, 10, "-1234ABC"},
        {0x12345678, 8, "1234567"}, // digits that do not fit are dropped from the end
        {-255, 3, "-F"},
        {0, 2, "0"},
        {0, 1, ""},
        {5, 0, nullptr},
    };
    for (const Case& c : cases) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        const int n = FormatHex(c.value, out, c.size);
        if (!c.text) {
            EXPECT_EQ(n, 0);
            EXPECT_EQ(out[0], 'x'); // nothing written at all
            continue;
        }
        EXPECT_STREQ(out, c.text) << c.value << " size " << c.size;
        EXPECT_EQ(n, int(std::strlen(c.text)));
        EXPECT_EQ(out[c.size], 'x') << "wrote past the buffer";
    }
}

TEST(TextHelpers, ParseHex)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"-ff", -255},  {"12x", 18},        {"", 0},          {nullptr, 0},
        {"-", 0},       {"aBc", 0xABC},     {"7FFFFFFF", 0x7FFFFFFF},
        {"-80000000", int(0x80000000)},     {"FFFFFFFF", -1}, {" 1", 0},
        {"0012", 0x12}, {"1,2", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHex(c.text), c.value) << (c.text ? c.text : "(null)");
    // Every value survives the round trip through its text.
    const int values[] = {0, 1, -1, 0x1000, -0x1000000, int(0x80000000), 0x7FFFFFFF};
    for (int v : values) {
        char text[HexTextSize];
        FormatHex(v, text, sizeof text);
        EXPECT_EQ(ParseHex(text), v);
    }
}

TEST(TextHelpers, NextTokenSteps)
{
    struct Step { int pos; const char* token; int next; };
    struct Case { const char* text; const char* delims; int size; std::vector<Step> steps; };
    const Case cases[] = {
        {"a, b", ", ", 8, {{0, "a", 1}, {1, "b", 4}, {4, "", 0}}},
        {"ab,,", ",", 8, {{0, "ab", 2}, {2, "", 4}, {4, "", 0}}},
        {"abcdef;g", ";", 4, {{0, "abc", 6}, {6, "g", 8}}}, // the rest of a long token is passed over
        {"", ",", 8, {{0, "", 0}}},
        {"x", ",", 8, {{5, "", 0}, {-1, "", 0}}},
    };
    for (const Case& c : cases) {
        for (const Step& s : c.steps) {
            char out[16] = "junk";
            EXPECT_EQ(NextToken(c.text, s.pos, out, c.size, c.delims), s.next) << c.text << " @" << s.pos;
            EXPECT_STREQ(out, s.token) << c.text << " @" << s.pos;
        }
    }
    char out[5] = "junk";
    EXPECT_EQ(NextToken(nullptr, 0, out, sizeof out, ","), 0);
    EXPECT_STREQ(out, "");
}

TEST(TextHelpers, SafeStrCopyIsBoundedAndTerminated)
{
    struct Case { const char* src; int size; const char* want; };
    const Case cases[] = {
        {"hello", 10, "hello"},
        {"hello", 6, "hello"},
        {"hello", 5, "hell"},
        {"hello", 1, ""},
        {"", 4, ""},
        {nullptr, 4, ""},
        {"a\xC3\xA9", 3, "a"}, // a character is never split
        {"a\xC3\xA9", 4, "a\xC3\xA9"},
    };
    for (const Case& c : cases) {
        char dst[16];
        std::memset(dst, 'x', sizeof dst);
        EXPECT_EQ(SafeStrCopy(dst, c.src, c.size), dst);
        EXPECT_STREQ(dst, c.want);
        EXPECT_EQ(dst[c.size], 'x') << "wrote past the buffer";
    }
    char one = 'x';
    SafeStrCopy(&one, "abc", 0);
    EXPECT_EQ(one, 'x');
    EXPECT_EQ(SafeStrLen(nullptr), 0);
    EXPECT_EQ(SafeStrLen("abc"), 3);
}

TEST(TextHelpers, CharacterScanning)
{
    const char* text = "a\xC3\xA9\xE2\x82\xAC|";
    struct Case { int pos; const char* ch; int len; };
    const Case cases[] = {{0, "a", 1}, {1, "\xC3\xA9", 2}, {3, "\xE2\x82\xAC", 3}, {6, "|", 1}, {7, "", 0}, {99, "", 0}};
    for (const Case& c : cases) {
        char out[MbCharBufferSize] = "xxxx";
        EXPECT_EQ(CopyMbChar(text, out, c.pos), c.len);
        EXPECT_STREQ(out, c.ch);
    }
    char out[MbCharBufferSize];
    EXPECT_EQ(CopyMbChar("\xE2\x82", out, 0), 1); // a cut-off sequence stops at the terminator

    EXPECT_EQ(FindCharFrom("a.b.c", 0, '.'), 1);
    EXPECT_EQ(FindCharFrom("a.b.c", 2, '.'), 3);
    EXPECT_EQ(FindCharFrom("a.b.c", 4, '.'), -1);
    EXPECT_EQ(FindCharFrom("a.b.c", 0, 0), 5);
    EXPECT_EQ(FindCharFrom("a.b.c", 9, '.'), -1);
    EXPECT_EQ(FindCharFrom(nullptr, 0, '.'), -1);
}

TEST(TextHelpers, TrimBlanksAndBoolEqual)
{
    char text[] = "\t  inner \t text \t";
    TrimBlanks(text);
    EXPECT_STREQ(text, "inner \t text");
    char blank[] = " \t ";
    TrimBlanks(blank);
    EXPECT_STREQ(blank, "");

    EXPECT_TRUE(BoolEqual(0, 0x100)); // only the low bytes count
    EXPECT_TRUE(BoolEqual(1, 0xFF));
    EXPECT_FALSE(BoolEqual(0, 2));
}

namespace {
const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz*+";
}

TEST(GuidText, AlphabetMapping)
{
    const char* alphabet = kAlphabet;
    for (int v = 0; v < 64; ++v) {
        EXPECT_EQ(SixBitToChar(v), alphabet[v]);
        EXPECT_EQ(SixBitToChar(v + 64), alphabet[v]);
        EXPECT_EQ(CharToSixBit(alphabet[v]), v);
    }
    EXPECT_EQ(CharToSixBit('-'), 63);
    EXPECT_EQ(CharToSixBit(0), 63);
}

TEST(GuidText, FreshTextsHaveTheirFlagAndNeverRepeat)
{
    char small[GuidTextLength] = "unchanged";
    EXPECT_EQ(MakeGuidText(small, sizeof small, FALSE), 0);
    EXPECT_STREQ(small, "unchanged");

    std::set<std::string> seen;
    for (int flag = 0; flag < 2; ++flag) {
        std::set<char> lastChars;
        for (int i = 0; i < 20000; ++i) {
            char text[GuidTextLength + 1];
            ASSERT_EQ(MakeGuidText(text, sizeof text, flag), 1);
            ASSERT_EQ(std::strlen(text), size_t(GuidTextLength));
            ASSERT_EQ(std::strspn(text, kAlphabet), size_t(GuidTextLength)) << text;
            lastChars.insert(text[GuidTextLength - 1]);
            ASSERT_TRUE(seen.insert(text).second) << "repeated identifier " << text;
        }
        const std::set<char> expected = flag ? std::set<char>{'3', '4', '5', '6'} : std::set<char>{'0', '1', '2', '3'};
        EXPECT_EQ(lastChars, expected);
    }
}

TEST(OsVersion, Classes)
{
    struct Case { bool line9x; int major, minor, cls; };
    const Case cases[] = {
        {true, 3, 95, 0}, {true, 4, 0, 2},  {true, 4, 10, 3}, {true, 4, 90, 4}, {true, 5, 0, 2},
        {false, 4, 0, 5}, {false, 5, 0, 6}, {false, 5, 1, 7}, {false, 5, 2, 8}, {false, 6, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyOsVersion(c.line9x, c.major, c.minor), c.cls);
    EXPECT_EQ(GetOsVersionClass(), 1);
}
