#include "Platform/FileSystem.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Points the program folder at a fresh temporary folder for each test.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SafeStrCopy(saved, theModuleDir, sizeof saved);
        char tmpl[] = "/tmp/vexal-log-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = std::string(tmpl) + "/";
        SafeStrCopy(theModuleDir, dir.c_str(), ModuleDirSize);
    }
    void TearDown() override
    {
        SafeStrCopy(theModuleDir, saved, ModuleDirSize);
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    std::string Read(const char* name) const
    {
        std::ifstream in(dir + name, std::ios::binary);
        if (!in)
            return "<missing>";
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const char* name, const std::string& bytes) const
    {
        std::ofstream(dir + name, std::ios::binary) << bytes;
    }
    std::string dir;
    char saved[ModuleDirSize];
};

} // namespace

TEST_F(LogTest, LevelsDecideWhatIsWritten)
{
    struct Case { int level; const char* want; };
    const Case cases[] = {
        {5, "<missing>"},
        {4, "Pub/Config.cpp(33):Fail to open DataBase(UML)\r\n"},
        {3, "Pub/Config.cpp(33):Fail to open DataBase(UML)\r\nLib/x.cpp(7):Can't load hha"},
        {2, "Pub/Config.cpp(33):Fail to open DataBase(UML)\r\nLib/x.cpp(7):Can't load hhaFail to load u.uml"},
    };
    // The source root as the compiler spells it in __FILE__ (absolute, or
    // relative when a compiler cache rewrites paths), the way Log.cpp sees it.
    const std::string self = __FILE__;
    const std::string root = self.substr(0, self.size() - std::strlen("tests/Pub/Log_test.cpp"));
    // LogFailure writes to the shared log; its level is restored afterwards.
    const int old = theLog.GetLevel();
    theLog.FlushPending();
    for (const Case& c : cases) {
        theLog.SetLevel(c.level);
        DeleteFile((dir + "log.txt").c_str());
        LogFailure(4, (root + "Pub/Config.cpp").c_str(), 33, "Fail to open DataBase(UML)\r\n");
        LogFailure(3, "Lib/x.cpp", 7, "Can't load hha");
        LogFailure(2, (root + "Pub/Config.cpp").c_str(), 40, "Fail to load u.uml");
        theLog.FlushPending();
        EXPECT_EQ(Read("log.txt"), c.want) << "level " << c.level;
    }
    theLog.SetLevel(old);
}

TEST_F(LogTest, FullBufferIsAppendedAndNothingIsLostOrRepeated)
{
    auto log = std::make_unique<CLogFile>();
    Put("log.txt", "old|");
    std::string all;
    for (int i = 0; all.size() < size_t(CLogFile::BufferSize) + 100; ++i) {
        const std::string entry = "entry " + std::to_string(i) + "\r\n";
        log->Write(entry.c_str());
        all += entry;
    }
    // Exactly one full buffer has reached the file so far.
    EXPECT_EQ(Read("log.txt"), "old|" + all.substr(0, CLogFile::BufferSize));
    EXPECT_EQ(log->Pending(), int(all.size()) - CLogFile::BufferSize);
    log.reset(); // the exit flush
    EXPECT_EQ(Read("log.txt"), "old|" + all);
}

TEST_F(LogTest, ExitWithNothingPendingLeavesNoFile)
{
    auto log = std::make_unique<CLogFile>();
    log->Write("");
    log.reset();
    EXPECT_EQ(Read("log.txt"), "<missing>");
}

TEST_F(LogTest, LargeLogMovesToBackupAtFlush)
{
    struct Case { size_t size; bool moved; };
    const Case cases[] = {{CLogFile::RotateSize, false}, {CLogFile::RotateSize + 1, true}};
    for (const Case& c : cases) {
        Put("log_bak.txt", "older");
        const std::string previous(c.size, 'p');
        Put("log.txt", previous);
        auto log = std::make_unique<CLogFile>();
        log->Write("new");
        log->FlushPending();
        if (c.moved) {
            EXPECT_EQ(Read("log.txt"), "new");
            EXPECT_EQ(Read("log_bak.txt"), previous);
        } else {
            EXPECT_EQ(Read("log.txt"), previous + "new");
            EXPECT_EQ(Read("log_bak.txt"), "older");
        }
    }
}

TEST_F(LogTest, UnwritableFolderLosesBytesQuietly)
{
    SafeStrCopy(theModuleDir, (dir + "missing/").c_str(), ModuleDirSize);
    auto log = std::make_unique<CLogFile>();
    log->Write("lost");
    log->FlushPending();
    EXPECT_EQ(log->Pending(), 0);
    EXPECT_EQ(_access((dir + "missing").c_str(), 0), -1);
}

TEST_F(LogTest, SmallWriters)
{
    auto log = std::make_unique<CLogFile>();
    log->WriteInt(-42);
    log->WriteChar('|');
    log->WriteHex(int(0x80000000));
    log->WriteChar('|');
    log->WriteTimestamp();
    log->FlushPending();
    const std::string text = Read("log.txt");
    EXPECT_EQ(text.substr(0, 14), "-42|-80000000|");
    int y, mo, d, h, mi, s;
    char tail;
    EXPECT_EQ(std::sscanf(text.c_str() + 14, "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail), 6) << text;
    EXPECT_GE(mo, 1);
    EXPECT_LE(mo, 12);
}
