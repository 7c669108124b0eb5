#include "Scripting/ScriptFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

FileResult OpenAt(ScriptFile& file, const std::string& path, const char* mode)
{
    file.SetPath(path);
    return file.Open(ScriptFile::ParseMode(mode));
}

std::u16string ReadAll(ScriptFile& file)
{
    std::u16string all, part;
    while (file.Read(1000, part))
        all += part;
    return all;
}

} // namespace

TEST(ScriptFile, ModeTextsGiveBitsAndStdioModes)
{
    const unsigned R = FileModeRead, W = FileModeWrite, RW = FileModeReadWrite, A = FileModeAppend,
                   C = FileModeCreate, T = FileModeTruncate;
    struct Case { const char* text; unsigned bits; FileType type; const char* stdio; };
    const Case cases[] = {
        {"r", R, FileType::Text, "rb"},
        {"rb", R, FileType::Unicode, "rb"},
        {"ru", R, FileType::Utf8, "rb"},
        {"r+", R | W | RW, FileType::Text, "r+b"},
        {"w", W | C | T, FileType::Text, "wb"},
        {"wu", W | C | T, FileType::Utf8, "wb"},
        {"w+b", R | W | RW | C | T, FileType::Unicode, "w+b"},
        {"a", A | C, FileType::Text, "ab"},
        {"a+u", R | W | RW | A | C, FileType::Utf8, "a+b"},
        {"u", 0, FileType::Utf8, ""},
        {"+", 0, FileType::Text, ""},
    };
    for (const Case& c : cases) {
        const FileMode mode = ScriptFile::ParseMode(c.text);
        EXPECT_EQ(mode.bits, c.bits) << c.text;
        EXPECT_EQ(mode.type, c.type) << c.text;
        EXPECT_EQ(ScriptFile::StdioMode(mode.bits), c.stdio) << c.text;
    }
}

TEST(ScriptFile, WritesAndReadsEachType)
{
    struct Case { const char* mode; std::u16string text; std::string bytes; std::u16string back; };
    const std::u16string emoji = u"\U0001F600";
    const Case cases[] = {
        {"u", u"\u00E9", "\xC3\xA9", u"\u00E9"},
        {"b", u"\u00E9", std::string("\xE9\x00", 2), u"\u00E9"},
        {"", u"\u00E9", "\xE9", u"\u00E9"},
        {"u", emoji, "\xF0\x9F\x98\x80", emoji},
        {"b", emoji, std::string("\x3D\xD8\x00\xDE", 4), emoji},
        {"", emoji + u"\u03A9x", "??x", u"??x"},
        {"u", u"a\u2028b", "a\nb", u"a\nb"},
        {"u", u"\xD800x", "\xEF\xBF\xBDx", u"\uFFFDx"}, // a lone surrogate
        {"u", u"\u20AC\u07FF", "\xE2\x82\xAC\xDF\xBF", u"\u20AC\u07FF"},
    };
    ScratchFolder folder;
    const std::string path = folder / "round.txt";
    for (const Case& c : cases) {
        ScriptFile file;
        ASSERT_TRUE(OpenAt(file, path, (std::string("w") + c.mode).c_str()).Ok()) << c.mode;
        EXPECT_TRUE(file.Write(c.text).Ok());
        EXPECT_TRUE(file.Close().Ok());
        EXPECT_EQ(ScratchFolder::Read(path), c.bytes) << c.mode;
        ASSERT_TRUE(OpenAt(file, path, (std::string("r") + c.mode).c_str()).Ok());
        EXPECT_EQ(ReadAll(file), c.back) << c.mode;
    }
}

TEST(ScriptFile, ReadsBadUtf8AsReplacementAndGoesOn)
{
    ScratchFolder folder;
    const std::string path = folder / "bad.txt";
    ScratchFolder::Write(path, "a\xFF" "b\xE2\x82" "c\xF0\x9F\x98\x80\xC3");
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, path, "ru").Ok());
    std::u16string text;
    ASSERT_TRUE(file.Read(3, text));
    EXPECT_EQ(text, u"a\uFFFDb");
    ASSERT_TRUE(file.Read(3, text)); // the emoji is one character of two units
    EXPECT_EQ(text, u"\uFFFDc\U0001F600");
    EXPECT_EQ(ReadAll(file), u"\uFFFD");
    EXPECT_FALSE(file.Read(1, text));
}

TEST(ScriptFile, ReadsLinesOfEveryEnding)
{
    ScratchFolder folder;
    const std::string path = folder / "lines.txt";
    for (const char* mode : {"w", "wu", "wb"}) {
        ScriptFile file;
        ASSERT_TRUE(OpenAt(file, path, mode).Ok());
        file.Write(u"a\r\nb\rc\n\nd");
        file.Close();
        ASSERT_TRUE(OpenAt(file, path, mode[1] ? (std::string("r") + mode[1]).c_str() : "r").Ok());
        std::u16string line;
        for (const char16_t* want : {u"a", u"b", u"c", u"", u"d"}) {
            ASSERT_TRUE(file.ReadLine(line)) << mode;
            EXPECT_EQ(line, want) << mode;
        }
        EXPECT_FALSE(file.ReadLine(line)) << mode;
    }
}

TEST(ScriptFile, WriteLineEndFollowsTheType)
{
    ScratchFolder folder;
    const std::string path = folder / "end.txt";
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, path, "wb").Ok());
    file.SetAutoFlush(true);
    file.Write(u"x");
    EXPECT_TRUE(file.WriteLineEnd().Ok());
    EXPECT_EQ(ScratchFolder::Read(path), std::string("x\0\n\0", 4)); // flushed, still open
}

TEST(ScriptFile, PlusModesReadAndWrite)
{
    ScratchFolder folder;
    const std::string path = folder / "rw.txt";
    ScratchFolder::Write(path, "abcd");
    {
        ScriptFile file;
        ASSERT_TRUE(OpenAt(file, path, "r+").Ok());
        EXPECT_TRUE(file.CanRead());
        EXPECT_TRUE(file.CanWrite());
        std::u16string text;
        ASSERT_TRUE(file.Read(2, text));
        EXPECT_TRUE(file.Write(u"X").Ok());
        ASSERT_TRUE(file.Read(1, text));
        EXPECT_EQ(text, u"d");
    }
    EXPECT_EQ(ScratchFolder::Read(path), "abXd");
    {
        ScriptFile file;
        ASSERT_TRUE(OpenAt(file, path, "a+").Ok());
        EXPECT_TRUE(file.Write(u"e").Ok());
        ASSERT_TRUE(file.SetPosition(0));
        EXPECT_EQ(ReadAll(file), u"abXde");
    }
    {
        ScriptFile file;
        ASSERT_TRUE(OpenAt(file, path, "w+").Ok());
        EXPECT_EQ(ReadAll(file), u"");
        EXPECT_TRUE(file.Write(u"new").Ok());
        ASSERT_TRUE(file.SetPosition(1));
        EXPECT_EQ(ReadAll(file), u"ew");
    }
    ScriptFile reader;
    ASSERT_TRUE(OpenAt(reader, path, "r").Ok());
    EXPECT_FALSE(reader.CanWrite());
    EXPECT_FALSE(reader.Write(u"x").Ok());
}

TEST(ScriptFile, WritingAfterALineStepsBackOverWhatWasReadAhead)
{
    ScratchFolder folder;
    const std::string path = folder / "ahead.txt";
    ScratchFolder::Write(path, "a\rbc");
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, path, "r+").Ok());
    std::u16string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(file.Position(), 2);
    EXPECT_TRUE(file.Write(u"B").Ok());
    file.Close();
    EXPECT_EQ(ScratchFolder::Read(path), "a\rBc");
}

TEST(ScriptFile, SeeksByCharacters)
{
    ScratchFolder folder;
    const std::string path = folder / "seek.txt";
    ScratchFolder::Write(path, std::string("a\0b\0c\0", 6));
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, path, "rb").Ok());
    EXPECT_TRUE(file.HasRandomAccess());
    ASSERT_TRUE(file.Seek(2));
    EXPECT_EQ(file.Position(), 4);
    EXPECT_EQ(ReadAll(file), u"c");
    EXPECT_FALSE(file.Seek(-10));
    ScriptFile utf8;
    ASSERT_TRUE(OpenAt(utf8, path, "ru").Ok());
    EXPECT_FALSE(utf8.HasRandomAccess());
}

TEST(ScriptFile, OpenFailuresAndClose)
{
    ScratchFolder folder;
    ScriptFile file;
    const FileResult missing = OpenAt(file, folder / "missing.txt", "r");
    EXPECT_EQ(missing.Text(), "File operation open failed");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Path(), folder / "missing.txt");

    EXPECT_EQ(OpenAt(file, folder.path, "r").Text(),
              folder.path + " seems to be a directory, there is no point in trying to open it, proceeding");
    EXPECT_EQ(OpenAt(file, folder / "x", "u").error, FileErrOperation);
    EXPECT_EQ(OpenAt(file, "", "w").error, FileErrOperation);

    ASSERT_TRUE(OpenAt(file, folder / "x", "w").Ok());
    EXPECT_TRUE(file.Close().Ok());
    EXPECT_EQ(file.Path(), "");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Mode(), 0u);
}

TEST(ScriptFile, ClosesItsStreamWhenDestroyed)
{
    ScratchFolder folder;
    const std::string path = folder / "kept.txt";
    {
        auto file = std::make_unique<ScriptFile>();
        ASSERT_TRUE(OpenAt(*file, path, "w").Ok());
        file->Write(u"kept");
    }
    EXPECT_EQ(ScratchFolder::Read(path), "kept");
}

TEST(ScriptFile, CopiesWholeFilesButNotOntoThemselves)
{
    ScratchFolder folder;
    const std::string path = folder / "src.bin";
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += char(i * 7);
    ScratchFolder::Write(path, bytes);
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, path, "r").Ok());
    std::u16string text;
    file.Read(10, text);
    EXPECT_TRUE(file.CopyTo(folder / "copy.bin").Ok());
    EXPECT_EQ(ScratchFolder::Read(folder / "copy.bin"), bytes);
    EXPECT_EQ(file.Position(), 10);

    std::filesystem::create_symlink(path, folder / "link.bin");
    for (const std::string& self : {path, folder / "link.bin", folder / "./src.bin"})
        EXPECT_EQ(file.CopyTo(self).Text(), "An error occured while attempting to copy into file " + self);
    EXPECT_EQ(ScratchFolder::Read(path), bytes);

    EXPECT_EQ(file.CopyTo(folder / "no/such/dir").error, FileErrOperation);
    ScriptFile closed;
    closed.SetPath(folder / "missing");
    EXPECT_EQ(closed.CopyTo(folder / "c").error, FileErrStatus);
}

TEST(ScriptFile, CopiesWhatWasWrittenSoFar)
{
    ScratchFolder folder;
    ScriptFile file;
    ASSERT_TRUE(OpenAt(file, folder / "w.txt", "w+").Ok());
    file.Write(u"unflushed");
    EXPECT_TRUE(file.CopyTo(folder / "c.txt").Ok());
    EXPECT_EQ(ScratchFolder::Read(folder / "c.txt"), "unflushed");
}

TEST(ScriptFile, RenamesClosedFilesOnly)
{
    ScratchFolder folder;
    ScratchFolder::Write(folder / "a", "A");
    ScratchFolder::Write(folder / "taken", "T");
    ScriptFile file;
    file.SetPath(folder / "a");
    EXPECT_EQ(file.RenameTo(folder / "taken").Text(), "Cannot rename " + (folder / "a") + " to " + (folder / "taken"));
    EXPECT_EQ(ScratchFolder::Read(folder / "taken"), "T");
    EXPECT_EQ(file.RenameTo(folder / "missing/b").error, FileErrRename);
    EXPECT_TRUE(file.RenameTo(folder / "b").Ok());
    EXPECT_EQ(file.Path(), folder / "b");
    EXPECT_EQ(ScratchFolder::Read(folder / "b"), "A");

    ASSERT_TRUE(file.Open(ScriptFile::ParseMode("r")).Ok());
    EXPECT_EQ(file.RenameTo(folder / "c").Text(), "File must be closed for renameTo");
    file.Close();
    EXPECT_EQ(file.RenameTo(folder / "c").Text(), "File must be open for renameTo");
}

TEST(ScriptFile, ErrorTextsTakeTheirArguments)
{
    EXPECT_EQ(FileErrorText(9, "copyTo", "2"), "Operation copyTo expects one argument, not 2");
    EXPECT_EQ(FileErrorText(37, "canAppend"), "File must be open for canAppend");
    EXPECT_EQ(FileErrorText(44), "File class initialization failed");
    EXPECT_EQ(FileErrorText(0), "");
    EXPECT_EQ(FileErrorText(45), "");
}
