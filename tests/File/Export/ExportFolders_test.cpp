// Where the export works and what it leaves: it never overwrites or deletes
// what it did not make, and a failed move keeps the compiled file.
#include "ExportFixture.h"

#include "Pub/Log.h"
#include "Pub/ModuleDir.h"

#include <cstdlib>

namespace {

class ExportFolders : public ExportFixture {};

// The folder part of a relative path, with its "/"; "" for none.
std::string PathDirOf(const std::string& path)
{
    const size_t sep = path.rfind('/');
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

TEST_F(ExportFolders, Table)
{
    enum Setup { Missing, Empty, HoldingFiles, HoldingTaken, Relative };
    struct Case {
        const char* title;
        Setup setup;
        const char* folder;      // as given, below the test folder unless Relative
        const char* workFolder;  // where the work happened, below the test folder
        bool folderStays;        // the given folder exists afterwards
    } const cases[] = {
        {"missing", Missing, "a/missing", "a/missing", false},
        {"empty", Empty, "empty", "empty", true},
        {"holding files", HoldingFiles, "full", "full-1", true},
        {"holding files, -1 taken", HoldingTaken, "full", "full-2", true},
        {"relative", Relative, "rel/out", "rel/out", false},
    };
    const int cls = Add(0, "Class", "Doc");
    Add(cls, "Attribute", "x");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string base = dir + c.title + "/";
        std::filesystem::create_directories(base);
        if (c.setup == Empty)
            std::filesystem::create_directories(base + c.folder);
        if (c.setup == HoldingFiles || c.setup == HoldingTaken) {
            Write(base + "full/Doc.hhp", "mine");
            Write(base + "full/Class1.htm", "also mine");
            Write(base + "full/Class1/Attribute2.htm", "mine too");
        }
        if (c.setup == HoldingTaken)
            Write(base + "full-1/keep", "kept");
        const std::vector<std::string> before = Snapshot(base);
        theProjectDir = base.c_str();
        const std::string given = c.setup == Relative ? std::string(c.folder) : base + c.folder;
        ASSERT_TRUE(::ExportChm(cls, given.c_str())) << ::testing::PrintToString(theMessages);
        const std::string compiled = base + PathDirOf(c.workFolder) + "Doc.chm";
        EXPECT_GT(std::filesystem::file_size(compiled), 0u);
        EXPECT_EQ(theMessages.back(), "Success to generate \"" + compiled + "\" !");
        std::filesystem::remove(compiled);
        // Everything that was there is there, byte for byte, and nothing else.
        std::vector<std::string> after = Snapshot(base);
        // Missing parents are made for the compiled file, and stay.
        const std::string parent = PathDirOf(c.workFolder);
        if (!parent.empty())
            after.erase(std::remove(after.begin(), after.end(), parent.substr(0, parent.size() - 1) + ": <folder>"),
                        after.end());
        EXPECT_EQ(after, before);
        EXPECT_EQ(std::filesystem::exists(base + c.folder), c.folderStays);
    }
}

TEST_F(ExportFolders, RefusedFoldersWriteNothing)
{
    const int cls = Add(0, "Class", "Doc");
    struct Case {
        const char* folder;
        const char* projectDir;
    } const cases[] = {
        {"/", "/tmp"},
        {"/tmp/..", "/tmp"},
        {"\\", "/tmp"},
        {"", "/tmp"},
        {"out", ""},       // relative, but no project is open
        {"C:\\out", "/tmp"},
    };
    for (const Case& c : cases) {
        theMessages.clear();
        theProjectDir = c.projectDir;
        EXPECT_FALSE(::ExportChm(cls, c.folder)) << c.folder;
        EXPECT_EQ(theMessages.back(), "Fail to compile the CHM") << c.folder;
        EXPECT_EQ(std::find(theMessages.begin(), theMessages.end(), "Start compiling CHM"), theMessages.end());
    }
    EXPECT_FALSE(std::filesystem::exists("/Doc.hhp"));
}

TEST_F(ExportFolders, AFailedMoveKeepsTheCompiledFileAndSaysWhy)
{
    const int cls = Add(0, "Class", "Doc");
    std::filesystem::create_directories(dir + "Doc.chm");
    Write(dir + "Doc.chm/inside", "untouched");
    EXPECT_FALSE(::ExportChm(cls, (dir + "out").c_str()));
    EXPECT_GT(std::filesystem::file_size(dir + "out/Doc.chm"), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir + "out/Class1.htm"));
    EXPECT_EQ(Read(dir + "Doc.chm/inside"), "untouched");
    EXPECT_EQ(theMessages.back().rfind("Can't move \"" + dir + "out/Doc.chm\" to \"" + dir + "Doc.chm\": ", 0), 0u)
        << theMessages.back();
}

TEST_F(ExportFolders, WithoutChmcmdTheWorkStaysAndTheLoadIsLogged)
{
    const int cls = Add(0, "Class", "Doc");
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", dir.c_str(), 1);
    theLog.FlushPending();
    std::filesystem::remove(std::string(theModuleDir) + "log.txt");
    const bool exported = ::ExportChm(cls, (dir + "out").c_str());
    setenv("PATH", saved.c_str(), 1);
    EXPECT_FALSE(exported);
    EXPECT_EQ(theMessages,
              (std::vector<std::string>{"Class1", "Start compiling CHM", "Can't load chmcmd", "Fail to compile the CHM"}));
    EXPECT_TRUE(std::filesystem::exists(dir + "out/Doc.hhp"));
    theLog.FlushPending();
    EXPECT_NE(Read(std::string(theModuleDir) + "log.txt").find("Can't load " + std::string(theModuleDir) + "Lib/chmcmd"),
              std::string::npos);
}

} // namespace
