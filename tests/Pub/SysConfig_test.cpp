// The system configuration and its file cfg/sys.xml.
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"

#include "CloseFault.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class SysConfigTest : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexal-sysconfig-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string File(const char* name) const { return dir + "/" + name; }

    // A configuration file whose body follows the declaration.
    std::string WithBody(const std::string& body) const
    {
        const std::string path = File("case.xml");
        WriteBytes(path, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body);
        return path;
    }

    std::string dir;
};

void ExpectSameSettings(const CSysConfig& a, const CSysConfig& b)
{
    EXPECT_TRUE(a.IsSameAs(b));
    EXPECT_STREQ(a.m_szTool, b.m_szTool);
    EXPECT_STREQ(a.m_szUml, b.m_szUml);
    EXPECT_EQ(a.m_nLogLevel, b.m_nLogLevel);
    EXPECT_EQ(a.m_bAutoTest, b.m_bAutoTest);
    EXPECT_EQ(a.m_nFontSize, b.m_nFontSize);
    EXPECT_EQ(a.m_nSmallFontSize, b.m_nSmallFontSize);
    EXPECT_STREQ(a.m_szFontName, b.m_szFontName);
    ASSERT_EQ(a.m_recentProjects.GetSize(), b.m_recentProjects.GetSize());
    for (INT_PTR i = 0; i < a.m_recentProjects.GetSize(); ++i)
        EXPECT_STREQ(a.m_recentProjects[i], b.m_recentProjects[i]);
}

TEST_F(SysConfigTest, ShippedFileHoldsTheDefaultsAndSavesByteForByte)
{
    const std::string shipped = VEXAL_SOURCE_DIR "/cfg/sys.xml";
    CSysConfig config;
    config.m_nPageWidth = 1;
    config.m_nLogLevel = 4;
    ASSERT_TRUE(config.LoadFrom(shipped.c_str()));
    CSysConfig defaults;
    ExpectSameSettings(config, defaults);
    EXPECT_EQ(config.m_recentProjects.GetSize(), 0);
    ASSERT_TRUE(config.SaveTo(File("out.xml").c_str()));
    EXPECT_EQ(ReadBytes(File("out.xml")), ReadBytes(shipped));
}

TEST_F(SysConfigTest, EverySettingAndTheRecentProjectsRoundTrip)
{
    CSysConfig config;
    std::strcpy(config.m_szTool, "Tool \"x\" & <y>");
    config.m_nLogLevel = 5;
    config.m_bAutoTest = TRUE;
    config.m_nPageWidth = 29700;
    config.m_nPageHeight = 21000;
    config.m_clrDiagramBg = 0x00ABCDEF;
    config.m_clrSymbolBorder = 0x123;
    config.m_nFontSize = 0x3E8;
    config.m_nSmallFontSize = 750;
    std::strcpy(config.m_szFontName, "Liberation Serif");
    config.m_nChmLeft = -20;
    config.m_nChmTop = 33;
    config.m_bShowPlus = FALSE;
    config.AddRecentProject("/home/u/a.fup");
    config.AddRecentProject("/home/u/Grüße/b.fup");
    ASSERT_TRUE(config.SaveTo(File("a.xml").c_str()));

    CSysConfig again;
    ASSERT_TRUE(again.LoadFrom(File("a.xml").c_str()));
    ExpectSameSettings(config, again);
    EXPECT_EQ(again.m_nChmTop, 33);
    EXPECT_EQ(again.m_nChmLeft, -20);
    ASSERT_TRUE(again.SaveTo(File("b.xml").c_str()));
    EXPECT_EQ(ReadBytes(File("a.xml")), ReadBytes(File("b.xml")));
    EXPECT_NE(ReadBytes(File("a.xml")).find("<PROJECT>\r\n<FILE NAME=\"/home/u/Grüße/b.fup\"/>"), std::string::npos);
}

TEST_F(SysConfigTest, AttributesParseWithTheirRules)
{
    struct Case {
        const char* body;
        int fontSize, smallFontSize, width, height;
        BOOL autoTest;
    };
    const Case cases[] = {
        {"<SYSTEMCONFIG><PAGE FONTSIZE=\"3E8\"/></SYSTEMCONFIG>", 1000, 750, 21000, 29700, FALSE},
        {"<SYSTEMCONFIG><page fontsize=\"3e9\" width=\"1000\"/></SYSTEMCONFIG>", 1001, 750, 4096, 29700, FALSE},
        // Zero or negative sizes keep the defaults, so nothing divides by them
        // later, and so does a page side that its two edges of 1500 would fill.
        {"<SYSTEMCONFIG><PAGE FONTSIZE=\"0\" WIDTH=\"0\" HEIGHT=\"-64\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, FALSE},
        {"<SYSTEMCONFIG><PAGE FONTSIZE=\"-1\" WIDTH=\"xyz\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, FALSE},
        {"<SYSTEMCONFIG><PAGE WIDTH=\"BB8\" HEIGHT=\"BB9\"/></SYSTEMCONFIG>", 500, 375, 21000, 3001, FALSE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"TRUE\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, TRUE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"true\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, TRUE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"True\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, TRUE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"1\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, TRUE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"yes\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, FALSE},
        {"<SYSTEMCONFIG><DEVELOP AUTOTEST=\"0\"/></SYSTEMCONFIG>", 500, 375, 21000, 29700, FALSE},
        // A root that is never closed still loads; an unknown child changes nothing.
        {"<SYSTEMCONFIG><OTHER WIDTH=\"1\"/><PAGE HEIGHT=\"1000\"/>", 500, 375, 21000, 4096, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        CSysConfig config;
        ASSERT_TRUE(config.LoadFrom(WithBody(c.body).c_str()));
        EXPECT_EQ(config.m_nFontSize, c.fontSize);
        EXPECT_EQ(config.m_nSmallFontSize, c.smallFontSize);
        EXPECT_EQ(config.m_nPageWidth, c.width);
        EXPECT_EQ(config.m_nPageHeight, c.height);
        EXPECT_EQ(config.m_bAutoTest, c.autoTest);
    }
}

// A help window of no width or height, or without room for its navigation
// pane, keeps the default size; its position may be anything.
TEST_F(SysConfigTest, HelpWindowSizesOfZeroOrLessKeepTheDefaults)
{
    struct Case {
        const char* attributes;
        int left, width, height, board;
    };
    const Case cases[] = {
        {"Left=\"-10\" Width=\"1\" Height=\"2\" BoardWidth=\"3\"", -16, 1, 2, 3},
        {"Width=\"0\" Height=\"-1\" BoardWidth=\"0\"", 0, 800, 600, 180},
        {"Width=\"xyz\" Height=\"FFFFFFFF\"", 0, 800, 600, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        CSysConfig config;
        ASSERT_TRUE(config.LoadFrom(WithBody(std::string("<SYSTEMCONFIG><CHM ") + c.attributes + "/></SYSTEMCONFIG>").c_str()));
        EXPECT_EQ(config.m_nChmLeft, c.left);
        EXPECT_EQ(config.m_nChmWidth, c.width);
        EXPECT_EQ(config.m_nChmHeight, c.height);
        EXPECT_EQ(config.m_nChmBoardWidth, c.board);
    }
}

TEST_F(SysConfigTest, RecentProjectsReadEveryNameAndLoadingKeepsMoreThanFive)
{
    CSysConfig config;
    ASSERT_TRUE(config.LoadFrom(WithBody("<SYSTEMCONFIG><PROJECT X=\"1\"><FILE NAME=\"a\"/><FILE NAME=\"b\"/>"
                                         "<OTHER NAME=\"c\"/><FILE/><FILE NAME=\"d\"/><FILE NAME=\"e\"/>"
                                         "<FILE NAME=\"f\"/></PROJECT><CHM Top=\"7\"/></SYSTEMCONFIG>")
                                    .c_str()));
    ASSERT_EQ(config.m_recentProjects.GetSize(), 6);
    EXPECT_STREQ(config.m_recentProjects[2], "c");
    EXPECT_STREQ(config.m_recentProjects[5], "f");
    EXPECT_EQ(config.m_nChmTop, 7);

    // An empty PROJECT element ends there; what follows is read as usual.
    for (const char* project : {"<PROJECT/>", "<PROJECT X=\"1\"/>", "<PROJECT></PROJECT>"}) {
        SCOPED_TRACE(project);
        CSysConfig other;
        ASSERT_TRUE(other.LoadFrom(
            WithBody(std::string("<SYSTEMCONFIG>") + project + "<CHM Top=\"9\" ShowLine=\"FALSE\"/></SYSTEMCONFIG>")
                .c_str()));
        EXPECT_EQ(other.m_recentProjects.GetSize(), 0);
        EXPECT_EQ(other.m_nChmTop, 9);
        EXPECT_FALSE(other.m_bShowLine);
    }
}

TEST_F(SysConfigTest, AFailedLoadLogsWhereAndWhat)
{
    const std::string savedDir = theModuleDir;
    const int savedLevel = theLog.GetLevel();
    theLog.FlushPending();
    SafeStrCopy(theModuleDir, (dir + "/").c_str(), ModuleDirSize);
    theLog.SetLevel(CLogFile::InitialLevel);
    CSysConfig config;
    EXPECT_FALSE(config.Load());
    theLog.FlushPending();
    const std::string log = ReadBytes(File("log.txt"));
    SafeStrCopy(theModuleDir, savedDir.c_str(), ModuleDirSize);
    theLog.SetLevel(savedLevel);
    EXPECT_NE(log.find("Pub/SYSConfig.cpp("), std::string::npos) << log;
    EXPECT_NE(log.find("Fail to open " + dir + "/cfg/sys.xml\r\n"), std::string::npos) << log;
}

TEST_F(SysConfigTest, UnreadableFilesKeepTheSettings)
{
    const std::string cases[] = {File("missing.xml"), File("bad.xml")};
    WriteBytes(File("bad.xml"), "<?xml version=\"1.1\"?><SYSTEMCONFIG/>");
    for (const std::string& path : cases) {
        CSysConfig config;
        config.m_nPageWidth = 123;
        EXPECT_FALSE(config.LoadFrom(path.c_str()));
        EXPECT_EQ(config.m_nPageWidth, 123);
    }
    CSysConfig config;
    EXPECT_FALSE(config.SaveTo((dir + "/no/such/folder/sys.xml").c_str()));
}

TEST_F(SysConfigTest, RecentProjectListKeepsFiveNewestFirst)
{
    CSysConfig config;
    for (const char* p : {"1", "2", "3", "4", "5", "6"})
        config.AddRecentProject(p);
    ASSERT_EQ(config.m_recentProjects.GetSize(), 5);
    EXPECT_STREQ(config.m_recentProjects[0], "6");
    EXPECT_STREQ(config.m_recentProjects[4], "2");
    config.AddRecentProject("4"); // the third entry moves to the front, nothing dropped
    ASSERT_EQ(config.m_recentProjects.GetSize(), 5);
    EXPECT_STREQ(config.m_recentProjects[0], "4");
    EXPECT_STREQ(config.m_recentProjects[1], "6");
    EXPECT_STREQ(config.m_recentProjects[4], "2");
    config.AddRecentProject("/p/A.fup");
    config.AddRecentProject("/p/a.fup"); // differs in case only: a new entry
    EXPECT_STREQ(config.m_recentProjects[0], "/p/a.fup");
    EXPECT_STREQ(config.m_recentProjects[1], "/p/A.fup");
}

TEST_F(SysConfigTest, CopyAndCompare)
{
    CSysConfig a, b;
    a.AddRecentProject("x");
    b.m_nLogLevel = 5;
    std::strcpy(b.m_szFontName, "Other");
    EXPECT_TRUE(a.IsSameAs(b)); // the log level and the font are not compared
    b.m_nChmTop = 1;
    EXPECT_FALSE(a.IsSameAs(b));
    a.CopyFrom(b);
    EXPECT_TRUE(a.IsSameAs(b));
    EXPECT_STREQ(a.m_szFontName, "Other");
    EXPECT_EQ(a.m_recentProjects.GetSize(), 1); // b's empty list does not replace a's
    b.AddRecentProject("y");
    b.AddRecentProject("z");
    a.CopyFrom(b);
    ASSERT_EQ(a.m_recentProjects.GetSize(), 2);
    EXPECT_STREQ(a.m_recentProjects[0], "z");
}

TEST_F(SysConfigTest, CommandIconFilesLieUnderTheProgramFolder)
{
    const std::string saved = theModuleDir;
    SafeStrCopy(theModuleDir, (dir + "/").c_str(), ModuleDirSize);
    CSysConfig config;
    config.LoadCommandIcons();
    const auto& files = config.GetCommandIconFiles();
    SafeStrCopy(theModuleDir, saved.c_str(), ModuleDirSize);
    ASSERT_EQ(files.size(), 31u);
    EXPECT_EQ(files[0].id, 3024u);
    EXPECT_STREQ(files[0].path, (dir + "/Img/common/Workspace.bmp").c_str());
    EXPECT_EQ(files[1].id, 57642u);
    EXPECT_STREQ(files[7].path, (dir + "/Img/toolbar/copy.bmp").c_str());
    for (const CommandIconFile& file : files) {
        EXPECT_EQ(file.mask, 0xFFFFFFu);
        // Every file the configuration names ships with the program.
        const std::string shipped = std::string(VEXAL_SOURCE_DIR) + (file.path.GetString() + dir.size());
        EXPECT_TRUE(fs::exists(shipped)) << shipped;
    }
}

} // namespace

// A save that cannot finish (the disk fills up, or the file system refuses
// the delayed write when the file is closed) is reported and logged, and the
// file it would have replaced keeps every recent project.
TEST_F(SysConfigTest, AFailedSaveKeepsThePreviousFile)
{
    CSysConfig previous;
    for (char c = 'a'; c < 'f'; ++c)
        previous.AddRecentProject((std::string(200, c) + ".fup").c_str());
    const std::string path = File("sys.xml");
    ASSERT_TRUE(previous.SaveTo(path.c_str()));
    const std::string saved = ReadBytes(path);
    ASSERT_GT(saved.size(), 1000u);

    enum Fault { DiskFull, CloseRefused };
    const Fault faults[] = {DiskFull, CloseRefused};
    const std::string savedDir = theModuleDir;
    const int savedLevel = theLog.GetLevel();
    for (Fault fault : faults) {
        theLog.FlushPending();
        fs::remove(File("log.txt"));
        SafeStrCopy(theModuleDir, (dir + "/").c_str(), ModuleDirSize);
        theLog.SetLevel(CLogFile::InitialLevel);
        CSysConfig next;
        next.AddRecentProject("only.fup");
        BOOL ok;
        if (fault == DiskFull) {
            // Writes past 512 bytes fail as on a full disk.
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit oldLimit;
            getrlimit(RLIMIT_FSIZE, &oldLimit);
            rlimit limit = oldLimit;
            limit.rlim_cur = 512;
            setrlimit(RLIMIT_FSIZE, &limit);
            for (char c = 'f'; c < 'k'; ++c)
                next.AddRecentProject((std::string(200, c) + ".fup").c_str());
            ok = next.SaveTo(path.c_str());
            setrlimit(RLIMIT_FSIZE, &oldLimit);
            std::signal(SIGXFSZ, oldHandler);
        } else {
            CloseFault refuse(dir);
            ok = next.SaveTo(path.c_str());
            EXPECT_GT(refuse.Failed(), 0);
        }
        theLog.FlushPending();
        const std::string log = ReadBytes(File("log.txt"));
        SafeStrCopy(theModuleDir, savedDir.c_str(), ModuleDirSize);
        theLog.SetLevel(savedLevel);
        EXPECT_FALSE(ok) << fault;
        EXPECT_EQ(ReadBytes(path), saved) << fault;
        EXPECT_NE(log.find("Fail to write " + path + "\r\n"), std::string::npos) << fault << log;
        CSysConfig reread;
        ASSERT_TRUE(reread.LoadFrom(path.c_str()));
        ExpectSameSettings(reread, previous);
    }
}
