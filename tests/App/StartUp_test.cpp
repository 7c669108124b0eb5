// Start-up: the program folder, the run's identifier, the configuration,
// the command icons, the resource library, the symbol classes, and the
// failures that end the program.
#include "ShellHarness.h"

#include "App/ModulePath.h"
#include "Controls/CommandImageList.h"
#include "MemDB/db.h"
#include "Platform/SysColors.h"
#include "Pub/Log.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/ClassifierSymbols.h"
#include "UML/Symbols/CommentSymbol.h"
#include "UML/Symbols/PackageSymbol.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string SysConfig(const char* develop)
{
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<SYSTEMCONFIG TOOL=\"Vexal 1.10.00\" UML=\"UML2.0\">\r\n" +
           std::string(develop) + "\r\n</SYSTEMCONFIG>\r\n";
}

// Runs a shell command; its exit status.
int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ModuleDir, KeepsTheFolderWithItsLastSeparator)
{
    struct Case {
        const char* path;
        int size;
        const char* dir;
    };
    const Case cases[] = {
        { "D:\\A\\B\\prog.exe", 260, "D:\\A\\B\\" },
        { "/opt/vexal/bin/vexal", 260, "/opt/vexal/bin/" },
        { "C:/Tools/Uml/prog.exe", 260, "C:/Tools/Uml/" },
        { "D:\\A/B\\prog.exe", 260, "D:\\A/B\\" },
        { "prog.exe", 260, "" },
        { "/vexal", 260, "/" },
        { "", 260, "" },
        // Only 259 characters are read: a longer path is cut there first.
        { "/abc/defgh", 6, "/abc/" },
        { "/abc/defgh", 4, "/" },
    };
    for (const Case& c : cases) {
        char buffer[260];
        std::memset(buffer, 'x', sizeof buffer);
        ModuleDirFromPath(c.path, buffer, c.size);
        EXPECT_STREQ(buffer, c.dir) << c.path << " in " << c.size;
    }
}

TEST(StartUp, OpensTheMainWindowMaximisedWithItsBarsAndMenu)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_TRUE(frame->IsZoomed());
    CRect window;
    frame->GetWindowRect(&window);
    EXPECT_EQ(window, CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(std::strlen(theDbName), 22u);
    EXPECT_TRUE(frame->GetToolBar().IsWindowVisible());
    EXPECT_TRUE(frame->GetStatusBar().IsWindowVisible());
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());
    EXPECT_EQ(frame->GetToolBar().GetButtonCount(), 15);
    EXPECT_EQ(frame->GetMenu(), &frame->GetMainMenu());
    EXPECT_NE(theMdlClipboardFormat, 0u);
    EXPECT_NE(theSymClipboardFormat, theMdlClipboardFormat);
    EXPECT_TRUE(shell.Screenshot("first-start"));
}

// Each registered key keeps its class's prototype in the running program:
// the classes were registered before the metamodel was read.
TEST(StartUp, TheSymbolClassesServeTheirKeys)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    struct Case {
        const char* key;
        bool (*isClass)(CSymbol*);
    };
    const Case cases[] = {
        { "Class", [](CSymbol* s) { return dynamic_cast<CClassSymbol*>(s) != nullptr; } },
        { "Interface", [](CSymbol* s) { return dynamic_cast<CInterfaceSymbol*>(s) != nullptr; } },
        { "Package", [](CSymbol* s) { return dynamic_cast<CPackageSymbol*>(s) != nullptr; } },
        { "Comment", [](CSymbol* s) { return dynamic_cast<CCommentSymbol*>(s) != nullptr; } },
    };
    for (const Case& c : cases) {
        CSymbol* prototype = nullptr;
        ASSERT_TRUE(FindMetaclass(c.key, prototype)) << c.key;
        EXPECT_TRUE(c.isClass(prototype)) << c.key;
        CommandImageInfo info = {};
        EXPECT_TRUE(GetCommandImages().Lookup(CMainFrame::FirstSymbolId + UINT(prototype->metaIndex), info)) << c.key;
    }
}

TEST(StartUp, WithoutTheConfigurationTheDefaultsHold)
{
    ShellHarness shell(true, false);
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(theSysConfig.m_nLogLevel, 2);
    EXPECT_EQ(theLog.GetLevel(), 2);
    EXPECT_EQ(theSysConfig.m_recentProjects.GetSize(), 0);
}

TEST(StartUp, AMissingIconOnlyLeavesItsCommandBare)
{
    ShellHarness shell;
    fs::remove(fs::path(shell.Folder()) / "Img" / "toolbar" / "close.bmp");
    ASSERT_TRUE(shell.Start());
    CommandImageInfo info = {};
    EXPECT_FALSE(GetCommandImages().Lookup(57602, info));
    EXPECT_TRUE(GetCommandImages().Lookup(57600, info));
    CToolBarEx& bar = shell.Frame()->GetToolBar();
    EXPECT_LT(bar.CommandToIndex(57602), 0);
    EXPECT_GE(bar.CommandToIndex(57600), 0);
}

// Menus and strings come from the library; the keys stay the program's.
TEST(StartUp, AResourceLibraryReplacesMenusAndStrings)
{
    ShellHarness shell;
    fs::copy_file(fs::path(VEXAL_TEST_RESOURCES), fs::path(shell.Folder()) / "VexalEN.so");
    ASSERT_TRUE(shell.Start());
    CString text;
    shell.Frame()->GetMainMenu().GetMenuText(0, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Datei");
    shell.Command(57602);
    EXPECT_EQ(shell.Messages(), std::vector<std::string>{ "Kein Projekt ist offen" });
    shell.Key('N', MK_CONTROL);
    ASSERT_EQ(shell.Questions().size(), 1u);
    EXPECT_EQ(shell.Questions()[0].kind, DialogKind::FileSave);
}

// The run's identifier of this process, for the test below.
TEST(StartUp, WritesItsRunNameWhenAsked)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    ASSERT_EQ(std::strlen(theDbName), 22u);
    if (const char* out = std::getenv("VEXAL_RUN_NAME_FILE"))
        std::ofstream(out) << theDbName;
}

TEST(StartUp, TwoRunsHaveTwoRunNames)
{
    const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + "/";
    fs::create_directories(dir);
    std::vector<std::string> names;
    for (int run = 0; run < 2; ++run) {
        const std::string out = dir + "run" + std::to_string(run);
        fs::remove(out);
        ASSERT_EQ(Shell("VEXAL_RUN_NAME_FILE=" + out + " /proc/" + std::to_string(getpid()) +
                      "/exe --gtest_filter=StartUp.WritesItsRunNameWhenAsked >/dev/null 2>&1"),
                  0);
        names.push_back(ReadFile(out));
        EXPECT_EQ(names.back().size(), 22u);
    }
    EXPECT_NE(names[0], names[1]);
}

// The real program in a folder of its own: without cfg/meta.xml it ends
// after the two log entries with a failure status, unless LOGLEVEL 5
// silences them.
TEST(StartUp, WithoutTheMetaModelTheProgramEnds)
{
    struct Case {
        const char* develop;
        bool logged;
    };
    const Case cases[] = {
        { "<DEVELOP AUTOTEST=\"FALSE\" LOGLEVEL=\"2\"/>", true },
        { "<DEVELOP AUTOTEST=\"FALSE\" LOGLEVEL=\"5\"/>", false },
    };
    for (const Case& c : cases) {
        const std::string dir = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + (c.logged ? "-2" : "-5") + "/";
        fs::remove_all(dir);
        fs::create_directories(dir + "cfg");
        fs::copy_file(VEXAL_PROGRAM, dir + "vexal");
        std::ofstream(dir + "cfg/sys.xml", std::ios::binary) << SysConfig(c.develop);
        EXPECT_NE(Shell("cd " + dir + " && QT_QPA_PLATFORM=offscreen ./vexal >/dev/null 2>&1"), 0);
        const std::string log = ReadFile(dir + "log.txt");
        EXPECT_EQ(log.find("Fail to read meta model\r\n") != std::string::npos, c.logged) << log;
        EXPECT_EQ(log.find("Fail to call ProcessShellCommand(cmdInfo)\r\n") != std::string::npos, c.logged) << log;
        EXPECT_EQ(log.find("App/VexalApp.cpp(128):") != std::string::npos, c.logged) << log;
    }
}

// The real program with a project on its command line, relative to the
// folder it starts in: it runs on whether the project opens or not (a
// project that does not open is reported in the Messages pane, it does not
// end the program) and logs no failure.
TEST(StartUp, TheProgramRunsOnWithACommandLineProjectThatOpensOrNot)
{
    ShellHarness shell;
    shell.MakeProject("Sample", "<Class Name=\"Order\" GUID=\"G1\"/>\r\n");
    fs::copy_file(VEXAL_PROGRAM, shell.Folder() + "vexal");
    for (const char* project : { "Sample/Sample.fup", "Missing/Missing.fup" }) {
        SCOPED_TRACE(project);
        fs::remove(shell.Folder() + "log.txt");
        // Still running when the time is up: timeout ends it with 124.
        EXPECT_EQ(Shell("cd " + shell.Folder() + " && QT_QPA_PLATFORM=offscreen timeout 8 ./vexal " + project +
                        " >/dev/null 2>&1"),
                  124);
        EXPECT_EQ(ReadFile(shell.Folder() + "log.txt"), "");
    }
}

TEST(StartUp, WithoutADisplayTheProgramSaysSo)
{
    const std::string out = std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + ".txt";
    EXPECT_EQ(Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(VEXAL_PROGRAM) + " 2>" + out), 1);
    EXPECT_EQ(ReadFile(out), "vexal: no display (set DISPLAY, or QT_QPA_PLATFORM=offscreen to run without one)\n");
}

// A second start in the same process, as a test program may make one, gets
// a main window of its own: the first run's document went with its window.
TEST(StartUp, ASecondStartInTheSameProcessGetsAMainWindowOfItsOwn)
{
    {
        ShellHarness first;
        ASSERT_TRUE(first.Start());
    }
    ShellHarness second;
    ASSERT_TRUE(second.Start());
    ASSERT_NE(second.Frame(), nullptr);
    EXPECT_TRUE(second.Frame()->IsWindowVisible());
    second.Command(57665);
    EXPECT_EQ(second.Frame(), nullptr);
}
