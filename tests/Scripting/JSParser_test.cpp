#include "Scripting/JSParser.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Reader {
    std::unique_ptr<JSParser> parser = std::make_unique<JSParser>();
    ScratchFolder folder;

    // Every token of bytes, read to the end.
    std::vector<std::string> Tokens(const std::string& bytes)
    {
        const std::string file = folder / "source.h";
        ScratchFolder::Write(file, bytes);
        EXPECT_TRUE(parser->OpenFile(file.c_str()));
        std::vector<std::string> tokens;
        while (const char* token = parser->ReadWord())
            tokens.push_back(token);
        return tokens;
    }
};

using Tokens = std::vector<std::string>;

} // namespace

TEST(WordReader, SplitsTextIntoTokens)
{
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> operators;
        const char* additional;
        Tokens want;
    };
    const std::string a95(95, 'a');
    const std::string eq95(95, '=');
    std::vector<std::string> equalsRuns;
    for (int n = 1; n <= 100; ++n)
        equalsRuns.push_back(std::string(n, '='));
    std::string e47;
    for (int i = 0; i < 47; ++i)
        e47 += "\xC3\xA9";
    const Case cases[] = {
        {"longest operator", "a+=1;", {"+", "+=", ";"}, "", {"a", "+=", "1", ";"}},
        {"no operator of two", "x+-y", {"+", "-"}, "", {"x", "+", "-", "y"}},
        {"number with letters", "3.14abc", {}, "", {"3.14abc"}},
        {"word with digits", "abc3", {}, "", {"abc3"}},
        {"blank separates", "3 abc", {}, "", {"3", "abc"}},
        {"line ends", "a b\n\nc", {}, "", {"a", "b", "\n", "\n", "c"}},
        {"carriage returns skipped", "a\r\nb\r", {}, "", {"a", "\n", "b"}},
        {"other characters alone", "f(x)", {}, "", {"f", "(", "x", ")"}},
        {"operator before line end", "+\n", {"+"}, "", {"+", "\n"}},
        {"blank ends operator", "+ =", {"+", "+="}, "", {"+", "="}},
        {"additional characters", "_id $x", {}, "_$", {"_id", "$x"}},
        {"underscore not a letter", "_id", {}, "", {"_", "id"}},
        {"NUL is a blank", std::string("a\0b\0\0c", 6), {}, "", {"a", "b", "c"}},
        {"UTF-8 letters", "h\xC3\xA9llo w\xC3\xB6rld", {}, "", {"h\xC3\xA9llo", "w\xC3\xB6rld"}},
        {"UTF-8 starts a word", "\xE2\x82\xAC" "1 \xF0\x9F\x98\x80x", {}, "", {"\xE2\x82\xAC" "1", "\xF0\x9F\x98\x80x"}},
        {"bad byte alone", "ab\x80" "cd", {}, "", {"ab", "\x80", "cd"}},
        {"cut sequence", "ab\xC3(", {}, "", {"ab", "\xC3", "("}},
        {"sequence cut at the end", "x\xE2\x82", {}, "", {"x", "\xE2", "\x82"}},
        {"overlong form", "\xC0\xAF", {}, "", {"\xC0", "\xAF"}},
        {"surrogate form", "\xED\xA0\x80", {}, "", {"\xED", "\xA0", "\x80"}},
        {"byte after a bad byte", "\xFF+", {"+"}, "", {"\xFF", "+"}},
        {"bad bytes join no operator", "\x80\x81", {"\x80", "\x80\x81"}, "", {"\x80", "\x81"}},
        {"word cut at 95 bytes", std::string(100, 'a'), {}, "", {a95, "aaaaa"}},
        {"cut on a character boundary", "x" + e47 + "\xC3\xA9", {}, "", {"x" + e47, "\xC3\xA9"}},
        {"cut before a character", e47 + "\xC3\xA9\xC3\xA9", {}, "", {e47, "\xC3\xA9\xC3\xA9"}},
        {"operator cut at 95 bytes", std::string(100, '='), equalsRuns, "", {eq95, "====="}},
    };
    for (const Case& c : cases) {
        Reader reader;
        for (const std::string& op : c.operators)
            reader.parser->AddOperator(op);
        reader.parser->SetAdditionalChars(c.additional);
        EXPECT_EQ(reader.Tokens(c.input), c.want) << c.name;
    }
}

TEST(WordReader, ReadsAcrossBlocks)
{
    // A three-byte character straddles the end of the first 65,536-byte block.
    std::string bytes;
    while (bytes.size() < JSParser::BufferSize - 1)
        bytes += "a ";
    bytes.resize(JSParser::BufferSize - 1);
    bytes += "\xE2\x82\xAC" "b\r\nz";
    Reader reader;
    const Tokens tokens = reader.Tokens(bytes);
    ASSERT_GE(tokens.size(), 3u);
    EXPECT_EQ(Tokens(tokens.end() - 3, tokens.end()), (Tokens{"a\xE2\x82\xAC" "b", "\n", "z"}));
}

TEST(WordReader, KeepsTheLast680TokensInTheRing)
{
    std::string bytes;
    for (int i = 1; i <= 700; ++i)
        bytes += "t" + std::to_string(i) + " ";
    Reader reader;
    ScratchFolder::Write(reader.folder / "s.h", bytes);
    JSParser& p = *reader.parser;
    ASSERT_TRUE(p.OpenFile((reader.folder / "s.h").c_str()));
    for (int k = 1; k <= 700; ++k)
        ASSERT_EQ(p.ReadWord(), "t" + std::to_string(k));
    // Token k lies in slot k % 680 until 680 more have been read.
    EXPECT_EQ(p.CurrentIndex(), 700 % JSParser::RingSize);
    for (int k = 21; k <= 700; ++k)
        EXPECT_EQ(p.Word(k % JSParser::RingSize), "t" + std::to_string(k)) << k;
    EXPECT_EQ(p.Word(0), std::string("t680"));
    // The end of the file takes the next slot, empty.
    EXPECT_EQ(p.ReadWord(), nullptr);
    EXPECT_EQ(p.CurrentIndex(), 21);
    EXPECT_EQ(p.Word(21), std::string());
}

TEST(WordReader, RollsBackAndReservesWithinTheRing)
{
    Reader reader;
    ScratchFolder::Write(reader.folder / "s.h", "a b c d");
    JSParser& p = *reader.parser;
    ASSERT_TRUE(p.OpenFile((reader.folder / "s.h").c_str()));
    EXPECT_STREQ(p.ReadWord(), "a");
    const int first = p.CurrentIndex();
    EXPECT_STREQ(p.ReadWord(), "b");
    const int second = p.CurrentIndex();

    EXPECT_TRUE(p.Reserve(first));
    EXPECT_STREQ(p.ReadWord(), "a");
    EXPECT_EQ(p.CurrentIndex(), second);
    EXPECT_STREQ(p.ReadWord(), "c");

    EXPECT_TRUE(p.Rollback(first));
    EXPECT_EQ(p.CurrentIndex(), first);
    EXPECT_STREQ(p.ReadWord(), "d");
    EXPECT_EQ(p.CurrentIndex(), second);

    for (int bad : {-1, int(JSParser::RingSize), 100000}) {
        EXPECT_FALSE(p.Rollback(bad)) << bad;
        EXPECT_FALSE(p.Reserve(bad)) << bad;
        EXPECT_EQ(p.Word(bad), nullptr) << bad;
    }
    EXPECT_EQ(p.CurrentIndex(), second);
    EXPECT_EQ(p.ReadWord(), nullptr);
    EXPECT_EQ(p.ReadWord(), nullptr);
}

TEST(WordReader, RingIndicesWrap)
{
    EXPECT_EQ(JSParser::NextIndex(679), 0);
    EXPECT_EQ(JSParser::NextIndex(5), 6);
    EXPECT_EQ(JSParser::ForeIndex(0), 679);
    EXPECT_EQ(JSParser::ForeIndex(5), 4);
    EXPECT_EQ(JSParser::NextIndex(-5), -4);
}

TEST(WordReader, GivesNothingWithoutAFile)
{
    Reader reader;
    JSParser& p = *reader.parser;
    EXPECT_EQ(p.ReadWord(), nullptr);
    EXPECT_FALSE(p.CloseFile());
    EXPECT_FALSE(p.OpenFile((reader.folder / "missing.h").c_str()));
    EXPECT_EQ(p.ReadWord(), nullptr);

    ScratchFolder::Write(reader.folder / "s.h", "a b");
    ASSERT_TRUE(p.OpenFile((reader.folder / "s.h").c_str()));
    EXPECT_STREQ(p.ReadWord(), "a");
    EXPECT_TRUE(p.CloseFile());
    EXPECT_EQ(p.ReadWord(), nullptr);
    EXPECT_FALSE(p.CloseFile());
}

TEST(WordReader, ClassifiesTexts)
{
    JSParser p;
    p.SetFileTypes(".cpp.hpp");
    p.AddOperator("::");
    p.SetAdditionalChars("_$#@!%^&*~`'\"|?;:"); // ":" is the 17th
    EXPECT_TRUE(p.IsValidFile("a/b.hpp"));
    EXPECT_TRUE(p.IsValidFile("b.c")); // a plain search: ".c" lies in ".cpp"
    EXPECT_FALSE(p.IsValidFile("b.x"));
    EXPECT_FALSE(p.IsValidFile("makefile"));
    EXPECT_TRUE(p.IsOperator("::"));
    EXPECT_FALSE(p.IsOperator(":"));
    EXPECT_TRUE(p.IsWord("_x"));
    EXPECT_TRUE(p.IsWord("\xC3\xA9t\xC3\xA9"));
    EXPECT_FALSE(p.IsWord("\xC3("));
    EXPECT_FALSE(p.IsWord("1x"));
    EXPECT_TRUE(p.IsWord(";x"));
    EXPECT_FALSE(p.IsWord(":x"));
    EXPECT_FALSE(p.IsWord(""));
    EXPECT_FALSE(JSParser::IsSameStr("Abc", "aBC", true));
    EXPECT_TRUE(JSParser::IsSameStr("Abc", "aBC", false));
    EXPECT_FALSE(JSParser::IsSameStr("Abc", "aBCd", false));
}
