#include "Pub/SyntaxRunCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SyntaxRunCodec, EncodesColourThenOffsetInSixBitDigits)
{
    struct Case {
        int offset;
        COLORREF colour;
        const char* text;
    } const cases[] = {
        {5, 0x0000FF, "003+005"},
        {0, 0, "0000000"},
        {64, 0x000040, "0010010"},
        {262143, 0xFFFFFF, "+++++++"},
        {4096, 0xFF000000, "0000100"},  // the top byte of a colour is dropped
        {70, 0xC87689, "o7Q9016"},
    };
    for (const auto& c : cases) {
        SyntaxRunCodec codec;
        ASSERT_TRUE(codec.AddRun(c.offset, c.colour));
        EXPECT_STREQ(codec.GetText(), c.text) << c.offset;
    }
}

TEST(SyntaxRunCodec, RunsReadBackInOrder)
{
    const std::vector<std::pair<int, int>> runs = {
        {0, 0xC87689}, {1, 0}, {7, 0xFF0000}, {8, 0x008000}, {17, 0xFF0000}, {18, 0x0000FF}, {22, 0xFF0000}};
    SyntaxRunCodec writer;
    for (const auto& r : runs)
        writer.AddRun(r.first, r.second);
    EXPECT_EQ(std::string(writer.GetText()).size(), runs.size() * 7);

    SyntaxRunCodec reader;
    reader.Attach(writer.GetText());
    int offset = -1, colour = -1;
    for (const auto& r : runs) {
        ASSERT_TRUE(reader.NextRun(offset, colour));
        EXPECT_EQ(offset, r.first);
        EXPECT_EQ(colour, r.second);
    }
    EXPECT_FALSE(reader.NextRun(offset, colour));
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(colour, 0);
    reader.Rewind();
    ASSERT_TRUE(reader.NextRun(offset, colour));
    EXPECT_EQ(colour, 0xC87689);
}

TEST(SyntaxRunCodec, ReadingEndsCleanly)
{
    struct Case {
        const char* text;
        int runs;
        int lastColour, lastOffset;
    } const cases[] = {
        {"", 0, 0, 0},
        {"003+005003", 1, 0xFF, 5},         // a tail shorter than a run is dropped
        {"!!!!!!!", 1, 0xFFFFFF, 262143},   // characters outside the alphabet read as 63
        {"***0**0", 1, 0xFBEF80, 0x3EF80},
    };
    for (const auto& c : cases) {
        SyntaxRunCodec reader;
        reader.Attach(c.text);
        int offset = 0, colour = 0, n = 0, lastOffset = 0, lastColour = 0;
        while (reader.NextRun(offset, colour)) {
            ++n;
            lastOffset = offset;
            lastColour = colour;
        }
        EXPECT_EQ(n, c.runs) << c.text;
        EXPECT_EQ(lastColour, c.lastColour) << c.text;
        EXPECT_EQ(lastOffset, c.lastOffset) << c.text;
        EXPECT_FALSE(reader.NextRun(offset, colour));
    }
    SyntaxRunCodec reader;
    reader.Attach(nullptr);
    int offset = 1, colour = 1;
    EXPECT_FALSE(reader.NextRun(offset, colour));
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(colour, 0);
}

TEST(SyntaxRunCodec, BufferGrowsBySixtyFourRuns)
{
    SyntaxRunCodec codec;
    EXPECT_EQ(codec.Capacity(), 897);
    for (int i = 0; i < 128; ++i)
        ASSERT_TRUE(codec.AddRun(i, 0x123456));
    EXPECT_EQ(codec.Capacity(), 897);
    ASSERT_TRUE(codec.AddRun(128, 0x123456));
    EXPECT_EQ(codec.Capacity(), 1345);
    EXPECT_EQ(std::string(codec.GetText()).size(), 129u * 7);

    SyntaxRunCodec reader;
    reader.Attach(codec.GetText());
    int offset = 0, colour = 0, n = 0;
    while (reader.NextRun(offset, colour))
        EXPECT_EQ(offset, n++);
    EXPECT_EQ(n, 129);
}

TEST(SyntaxRunCodec, BaseShiftsOffsetsAndResetClearsIt)
{
    SyntaxRunCodec codec;
    codec.SetBase(10);
    codec.SetBase(-4);
    codec.AddRun(3, 0xFF);
    EXPECT_STREQ(codec.GetText(), "003+00D");
    codec.Reset();
    EXPECT_STREQ(codec.GetText(), "");
    codec.AddRun(3, 0xFF);
    EXPECT_STREQ(codec.GetText(), "003+003");
}

TEST(SyntaxRunCodec, AnAttachedReaderNeverWritesTheStoredText)
{
    const std::string stored = "003+005";
    SyntaxRunCodec codec;
    codec.Attach(stored.c_str());
    EXPECT_FALSE(codec.AddRun(9, 0));
    EXPECT_EQ(stored, "003+005");
    codec.Reset();
    EXPECT_STREQ(codec.GetText(), "");
    EXPECT_TRUE(codec.AddRun(9, 0));
    EXPECT_STREQ(codec.GetText(), "0000009");
    EXPECT_EQ(stored, "003+005");
}

} // namespace
