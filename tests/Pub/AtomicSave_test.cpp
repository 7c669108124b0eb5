// Saving through a temporary file: the file a save would replace survives
// every failure of it.
#include "Pub/AtomicSave.h"

#include "CloseFault.h"
#include "Platform/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

// Writes text through CFile, as the program's savers do, and reports what
// the file object saw.
BOOL WriteWithFile(const char* path, const std::string& text)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    file.Write(text.data(), UINT(text.size()));
    file.Close();
    return file.HasWriteError() ? FALSE : TRUE;
}

class AtomicSaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexal-atomic-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        path = dir + "/file.xml";
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string dir;
    std::string path;
};

} // namespace

TEST_F(AtomicSaveTest, ReplacesTheFileOnlyWhenEveryStepSucceeded)
{
    struct Case {
        const char* what;
        bool writerSucceeds;
        bool closeRefused;
        bool saved;
    };
    const Case cases[] = {
        {"a whole save", true, false, true},
        {"the writer fails half-way", false, false, false},
        {"closing the file is refused", true, true, false},
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary) << "old contents";
        ASSERT_EQ(chmod(path.c_str(), 0640), 0);
        BOOL saved;
        {
            std::unique_ptr<CloseFault> fault(c.closeRefused ? new CloseFault(dir) : nullptr);
            saved = SaveFileAtomically(path.c_str(), [&](const char* temporaryPath) {
                EXPECT_EQ(fs::path(temporaryPath).parent_path(), fs::path(dir));
                const BOOL written = WriteWithFile(temporaryPath, "new contents");
                return c.writerSucceeds && written ? TRUE : FALSE;
            });
        }
        EXPECT_EQ(saved, c.saved ? TRUE : FALSE) << c.what;
        EXPECT_EQ(ReadBytes(path), c.saved ? "new contents" : "old contents") << c.what;
        EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"file.xml"}) << c.what;
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << c.what;
    }
}

TEST_F(AtomicSaveTest, NewFilesAndMissingFolders)
{
    EXPECT_TRUE(SaveFileAtomically(path.c_str(), [](const char* p) { return WriteWithFile(p, "first"); }));
    EXPECT_EQ(ReadBytes(path), "first");
    bool called = false;
    EXPECT_FALSE(SaveFileAtomically((dir + "/missing/file.xml").c_str(), [&](const char*) {
        called = true;
        return TRUE;
    }));
    EXPECT_FALSE(called);
    EXPECT_FALSE(SaveFileAtomically("", [](const char*) { return TRUE; }));
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"file.xml"});
}
