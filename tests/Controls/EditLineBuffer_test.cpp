// The editor's line buffer: splitting and joining, index edge cases, and the
// colouring context reached through the finder hook.
#include "Controls/EditLineBuffer.h"
#include "Controls/FakeColourer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const CEditLineBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.GetLineCount(); ++i)
        lines.push_back(buffer.GetLine(i).GetString());
    return lines;
}

TEST(EditLineBuffer, OperationsAndIndexEdges)
{
    struct Case {
        const char* name;
        const char* start;
        std::function<void(CEditLineBuffer&)> op;
        std::vector<std::string> lines;
        const char* joined;
    };
    const Case cases[] = {
        { "empty text is one empty line", "", [](CEditLineBuffer&) {}, { "" }, "" },
        { "two one-letter lines", "a\nb", [](CEditLineBuffer&) {}, { "a", "b" }, "a\nb\n" },
        { "final feed gives no empty line", "a\n", [](CEditLineBuffer&) {}, { "a" }, "a" },
        { "two feeds give an empty line", "a\n\nb", [](CEditLineBuffer&) {}, { "a", "", "b" }, "a\n\nb\n" },
        { "lone feed", "\n", [](CEditLineBuffer&) {}, { "" }, "" },
        { "carriage returns stay", "x\r\ny\r\n", [](CEditLineBuffer&) {}, { "x\r", "y\r" }, "x\r\ny\r\n" },
        { "multi-byte lines", "Größe\n€𝄞", [](CEditLineBuffer&) {}, { "Größe", "€𝄞" }, "Größe\n€𝄞\n" },
        { "insert past the end appends", "a", [](CEditLineBuffer& b) { b.InsertLine("z", 9); }, { "a", "z" }, "a\nz\n" },
        { "insert at -5 goes first", "a", [](CEditLineBuffer& b) { b.InsertLine("z", -5); }, { "z", "a" }, "z\na\n" },
        { "insert in the middle", "a\nc", [](CEditLineBuffer& b) { b.InsertLine("b", 1); }, { "a", "b", "c" }, "a\nb\nc\n" },
        { "set at the count changes nothing", "a\nb", [](CEditLineBuffer& b) { b.SetLine("x", 2); }, { "a", "b" }, "a\nb\n" },
        { "set at -1 changes nothing", "a", [](CEditLineBuffer& b) { b.SetLine("x", -1); }, { "a" }, "a" },
        { "set replaces", "a\nb", [](CEditLineBuffer& b) { b.SetLine("é", 1); }, { "a", "é" }, "a\né\n" },
        { "remove at the count changes nothing", "a\nb", [](CEditLineBuffer& b) { b.RemoveLine(2); }, { "a", "b" }, "a\nb\n" },
        { "remove the first", "a\nb", [](CEditLineBuffer& b) { b.RemoveLine(0); }, { "b" }, "b" },
        { "remove all", "a\nb", [](CEditLineBuffer& b) { b.RemoveAll(); }, {}, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CEditLineBuffer buffer;
        buffer.SetJoinedText(c.start);
        c.op(buffer);
        EXPECT_EQ(Lines(buffer), c.lines);
        EXPECT_STREQ(buffer.GetJoinedText(), c.joined);
        EXPECT_EQ(buffer.GetTextLength(), int(std::strlen(c.joined)));
        EXPECT_STREQ(buffer.GetLine(-1), "");
        EXPECT_STREQ(buffer.GetLine(buffer.GetLineCount()), "");
        // Setting the joined text gives the same lines back.
        CEditLineBuffer again;
        again.SetJoinedText(buffer.GetJoinedText());
        if (!c.lines.empty()) {
            EXPECT_EQ(Lines(again), c.lines);
        }
    }
}

std::vector<std::pair<int, int>> ReadRuns(const char* text)
{
    std::vector<std::pair<int, int>> runs;
    SyntaxRunCodec reader;
    reader.Attach(text);
    int offset, colour;
    while (reader.NextRun(offset, colour))
        runs.emplace_back(offset, colour);
    return runs;
}

TEST(EditLineBuffer, ColoursThroughTheFinderWithItsOwnCopies)
{
    FakeFinderInstalled finder;
    FakeColourer& fake = TheFakeColourer();
    CEditLineBuffer buffer;
    {
        std::string type = "Class", guid = "0123456789012345678901234567", sguid = "s";
        SymbolT row;
        row.Type = type.c_str();
        row.GUID = guid.c_str();
        row.SGUID = sguid.c_str();
        buffer.SetSyntaxContext(row);
        type.assign(type.size(), 'X');
        guid.assign(guid.size(), 'X');
    }
    EXPECT_TRUE(buffer.HasSyntaxContext());
    EXPECT_EQ(buffer.GetRunText(), nullptr);
    buffer.SetJoinedText("ab\ncd");
    buffer.SetColourKey(0xFF);
    ASSERT_TRUE(buffer.Colourize());
    EXPECT_EQ(fake.lastType, "Class");
    EXPECT_EQ(fake.lastGuid, "0123456789012345678901"); // cut to 22 bytes
    EXPECT_EQ(fake.lastText, "ab\ncd\n");

    // Another text coloured in the shared writer leaves the buffer's runs alone.
    const std::vector<std::pair<int, int>> mine = { { 0, int(kWordColours[0]) }, { 3, int(kWordColours[1]) } };
    EXPECT_EQ(ReadRuns(buffer.GetRunText()), mine);
    theSyntaxWriter.Reset();
    for (int i = 0; i < 300; ++i) // grows, so the old buffer moves
        theSyntaxWriter.AddRun(i, 0x123456);
    EXPECT_EQ(ReadRuns(buffer.GetRunText()), mine);

    // A negative key, or no lines, keeps the last runs without asking.
    buffer.SetColourKey(-1);
    EXPECT_FALSE(buffer.Colourize());
    buffer.SetColourKey(5);
    buffer.RemoveAll();
    EXPECT_FALSE(buffer.Colourize());
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(ReadRuns(buffer.GetRunText()), mine);

    // An unknown type leaves no colourer, so nothing is coloured.
    SymbolT unknown;
    unknown.Type = "NoSuchMetaclass";
    buffer.SetSyntaxContext(unknown);
    EXPECT_FALSE(buffer.HasSyntaxContext());
    buffer.SetJoinedText("x");
    EXPECT_FALSE(buffer.Colourize());
    EXPECT_EQ(fake.calls, 1);
}

TEST(EditLineBuffer, NoFinderMeansNoColouring)
{
    const SyntaxFinder old = SetSyntaxFinder(nullptr);
    CEditLineBuffer buffer;
    SymbolT row;
    row.Type = "Class";
    buffer.SetSyntaxContext(row);
    buffer.SetColourKey(1);
    buffer.SetJoinedText("x");
    EXPECT_FALSE(buffer.Colourize());
    SetSyntaxFinder(old);
}

} // namespace
