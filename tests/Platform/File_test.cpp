#include "Platform/File.h"
#include "Platform/FileFind.h"
#include "Platform/FileSystem.h"
#include "Platform/Guid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexal-file-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string P(const char* name) const { return dir + "/" + name; }
    void Make(const char* name, const std::string& bytes) const
    {
        CFile f;
        ASSERT_TRUE(f.Open(P(name).c_str(), CFile::modeCreate | CFile::modeWrite));
        f.Write(bytes.data(), UINT(bytes.size()));
        f.Close();
    }
    std::string Read(const char* name) const
    {
        CFile f;
        if (!f.Open(P(name).c_str(), CFile::modeRead))
            return "<missing>";
        std::string s(size_t(f.GetLength()), '\0');
        s.resize(f.Read(&s[0], UINT(s.size())));
        return s;
    }
    std::string dir;
};

} // namespace

TEST_F(FileTest, OpenFlagsCreateTruncateAndAppend)
{
    Make("a.txt", "hello world");
    {
        CFile f;
        ASSERT_TRUE(f.Open(P("a.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
        EXPECT_EQ(f.SeekToEnd(), 11);
        f.Write("!", 1);
        f.Close();
        EXPECT_FALSE(f.HasWriteError());
    }
    EXPECT_EQ(Read("a.txt"), "hello world!");
    Make("a.txt", "x");
    EXPECT_EQ(Read("a.txt"), "x");

    CFile f;
    ASSERT_TRUE(f.Open(P("a.txt").c_str(), CFile::modeReadWrite));
    f.Seek(0, CFile::end);
    f.Write("yz", 2);
    f.SeekToBegin();
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, sizeof buf), 3u);
    EXPECT_STREQ(buf, "xyz");
    EXPECT_STREQ(f.GetFileName(), "a.txt");
    EXPECT_STREQ(f.GetFileTitle(), "a");
}

TEST_F(FileTest, OpenFailureReportsCauseOrThrows)
{
    struct Case { std::string path; UINT flags; int cause; };
    const Case cases[] = {
        {P("missing.txt"), CFile::modeRead, CFileException::fileNotFound},
        {P("no/such/dir/x.txt"), CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound},
        {dir, CFile::modeRead, CFileException::accessDenied},
        {"", CFile::modeRead, CFileException::fileNotFound},
    };
    for (const Case& c : cases) {
        CFile f;
        CFileException e;
        EXPECT_FALSE(f.Open(c.path.c_str(), c.flags, &e)) << c.path;
        EXPECT_EQ(e.m_cause, c.cause) << c.path;
        EXPECT_FALSE(f.IsOpen());
    }
    EXPECT_THROW(CFile(P("missing.txt").c_str(), CFile::modeRead), CFileException);
    try {
        CFile f(P("missing.txt").c_str(), CFile::modeRead);
    } catch (const CFileException& e) {
        EXPECT_STREQ(e.m_strFileName, P("missing.txt").c_str());
        EXPECT_NE(std::strstr(e.what(), "not found"), nullptr);
    }
}

TEST_F(FileTest, WriteToClosedFileIsRecorded)
{
    CFile f;
    f.Write("x", 1);
    EXPECT_TRUE(f.HasWriteError());
    ASSERT_TRUE(f.Open(P("w.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(f.HasWriteError()); // a new open starts clean
}

TEST_F(FileTest, DeleteMoveCopyAndFolders)
{
    Make("a", "1");
    Make("b", "2");
    EXPECT_FALSE(MoveFile(P("a").c_str(), P("b").c_str()));
    EXPECT_TRUE(MoveFileEx(P("a").c_str(), P("b").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Read("b"), "1");
    EXPECT_EQ(Read("a"), "<missing>");
    EXPECT_TRUE(CopyFile(P("b").c_str(), P("c").c_str(), TRUE));
    EXPECT_FALSE(CopyFile(P("b").c_str(), P("c").c_str(), TRUE));
    EXPECT_EQ(Read("c"), "1");

    const std::string sub = P("sub");
    EXPECT_TRUE(CreateDirectory(sub.c_str()));
    EXPECT_FALSE(DeleteFile(sub.c_str()));
    EXPECT_EQ(GetFileAttributes(sub.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(RemoveDirectory(sub.c_str()));
    EXPECT_EQ(GetFileAttributes(sub.c_str()), DWORD(INVALID_FILE_ATTRIBUTES));
    EXPECT_TRUE(DeleteFile(P("c").c_str()));
    EXPECT_FALSE(DeleteFile(P("c").c_str()));

    // Backslashes count as separators.
    std::string back = dir + "\\b";
    EXPECT_EQ(_access(back.c_str(), 0), 0);
}

TEST_F(FileTest, AttributesAccessAndTimes)
{
    Make("r.txt", "abc");
    const std::string r = P("r.txt");
    EXPECT_EQ(GetFileAttributes(r.c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(SetFileAttributes(r.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(GetFileAttributes(r.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(SetFileAttributes(r.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes(r.c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
    Make(".hidden", "");
    EXPECT_TRUE(GetFileAttributes(P(".hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(_access(r.c_str(), 6), 0);
    EXPECT_EQ(_access(P("none").c_str(), 0), -1);

    EXPECT_TRUE(SetFileModificationTime(r.c_str(), 1000000000));
    time_t created = 0, modified = 0;
    EXPECT_TRUE(GetFileTimes(r.c_str(), &created, &modified));
    EXPECT_EQ(modified, 1000000000);
    EXPECT_GT(created, 0);
    CFileStatus st;
    EXPECT_TRUE(CFile::GetStatus(r.c_str(), st));
    EXPECT_EQ(st.m_size, 3);
    EXPECT_EQ(st.m_mtime, 1000000000);
}

TEST_F(FileTest, CurrentDirectory)
{
    char old[4096];
    ASSERT_GT(GetCurrentDirectory(sizeof old, old), 0u);
    ASSERT_TRUE(SetCurrentDirectory(dir.c_str()));
    char now[4096];
    const DWORD len = GetCurrentDirectory(sizeof now, now);
    char small[2] = {'x', 'x'};
    EXPECT_EQ(GetCurrentDirectory(sizeof small, small), len + 1);
    EXPECT_EQ(small[0], 0);
    EXPECT_TRUE(SetCurrentDirectory(old));
    char real[4096];
    ASSERT_NE(realpath(dir.c_str(), real), nullptr);
    EXPECT_STREQ(now, real);
}

TEST_F(FileTest, FindWithWildcards)
{
    Make("menu_a.js", "");
    Make("menu_b.JS", "");
    Make("other.js", "");
    Make("noext", "");
    Make("caf\xC3\xA9.txt", "");
    ASSERT_TRUE(CreateDirectory(P("folder").c_str()));

    struct Case { const char* pattern; std::set<std::string> names; };
    const Case cases[] = {
        {"menu_*.js", {"menu_a.js", "menu_b.JS"}},
        {"*.*", {".", "..", "caf\xC3\xA9.txt", "folder", "menu_a.js", "menu_b.JS", "noext", "other.js"}},
        {"*", {".", "..", "caf\xC3\xA9.txt", "folder", "menu_a.js", "menu_b.JS", "noext", "other.js"}},
        {"?oext", {"noext"}},
        {"*t*r*", {"other.js"}},
        {"noext", {"noext"}},
        {"absent", {}},
        {"*.txt", {"caf\xC3\xA9.txt"}},
        {"caf?.txt", {"caf\xC3\xA9.txt"}}, // "?" stands for one character, not one byte
        {"caf??.txt", {}},
        {"*\xC3\xA9.*", {"caf\xC3\xA9.txt"}},
        {"*.doc", {}},
    };
    for (const Case& c : cases) {
        CFileFind find;
        const std::string pattern = dir + "\\" + c.pattern;
        EXPECT_EQ(bool(find.FindFile(pattern.c_str())), !c.names.empty()) << c.pattern;
        std::set<std::string> got;
        if (!c.names.empty()) {
            BOOL more;
            do {
                more = find.FindNextFile();
                got.insert(find.GetFileName().GetString());
                EXPECT_EQ(find.GetFilePath(), CString((dir + "/").c_str()) + find.GetFileName());
                if (find.GetFileName() == "folder" || find.IsDots()) {
                    EXPECT_TRUE(find.IsDirectory());
                }
            } while (more);
        }
        EXPECT_EQ(got, c.names) << c.pattern;
    }
}

TEST_F(FileTest, FindNextStaysOnLastMatch)
{
    Make("one", "12345");
    CFileFind find;
    ASSERT_TRUE(find.FindFile(P("one").c_str()));
    EXPECT_STREQ(find.GetFileName(), ""); // nothing is current before FindNextFile
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_STREQ(find.GetFileName(), "one");
    EXPECT_FALSE(find.IsDirectory());
    EXPECT_EQ(find.GetLength(), 5);
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_STREQ(find.GetFileName(), "one");
    EXPECT_STREQ(find.GetRoot(), dir.c_str());
}

TEST(Guid, RandomAndDistinct)
{
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        GUID g;
        ASSERT_EQ(CoCreateGuid(&g), S_OK);
        seen.insert(std::string(reinterpret_cast<const char*>(&g), sizeof g));
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_EQ(CoCreateGuid(nullptr), E_FAIL);
}
