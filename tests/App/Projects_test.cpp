// Project commands through the dialog hook: New, Open, the recent list,
// Close, Save and Save All, the save question, Exit, and the failures a
// command reports instead of losing work.
#include "ShellHarness.h"

#include "App/PropertyPane.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "Platform/CommonDialogs.h"
#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A file dialog answered OK with the path.
Answer ChooseFile(DialogKind kind, const std::string& path)
{
    return { kind, IDOK, [path](DialogRequest& request) {
                auto* ofn = static_cast<OPENFILENAME*>(request.data);
                std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", path.c_str());
            } };
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kSaveQuestion = "The project files were changed, save it or not?";

} // namespace

TEST(Projects, NewThenSaveAllWritesTheProjectAndPutsItFirstInTheRecentList)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    fs::create_directories(shell.Folder() + "Made");
    const std::string path = shell.Folder() + "Made/Made.fup";
    shell.Queue(ChooseFile(DialogKind::FileSave, path));
    shell.Command(57600);
    ASSERT_FALSE(ProjectStore::IsClosed());
    ASSERT_EQ(theSysConfig.m_recentProjects.GetSize(), 1);
    EXPECT_STREQ(theSysConfig.m_recentProjects[0], path.c_str());
    EXPECT_FALSE(fs::exists(path));
    shell.Command(32783);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(fs::exists(shell.Folder() + "Made/Made.uml"));
    EXPECT_FALSE(ProjectStore::IsModified());
    EXPECT_TRUE(shell.Messages().empty());
}

TEST(Projects, OpenCloseAndACancelledDialogChangeWhatTheyShould)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo", "<Class Name=\"Keep\"/>\r\n");
    ASSERT_TRUE(shell.Start());
    shell.Command(57601);
    EXPECT_TRUE(ProjectStore::IsClosed());
    ASSERT_EQ(shell.Questions().size(), 1u);

    shell.Queue(ChooseFile(DialogKind::FileOpen, path));
    shell.Command(57601);
    ASSERT_FALSE(ProjectStore::IsClosed());
    EXPECT_EQ(shell.MenuItems({ 0, 3 }).size(), 1u);

    shell.Command(57602);
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_EQ(shell.Questions().size(), 2u);
    shell.Command(57602);
    EXPECT_EQ(shell.Messages(), std::vector<std::string>{ "There is no project opened" });
}

// Save writes the unit of the element checked in the model browser.
TEST(Projects, SaveWritesTheCheckedElementsUnit)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo", "<Class Name=\"Keep\"/>\r\n");
    ASSERT_TRUE(shell.Start({ path }));
    ASSERT_FALSE(ProjectStore::IsClosed());
    const std::string unit = shell.Folder() + "Demo/Demo.uml";
    fs::remove(unit);
    ModifiedUnits::Mark(theModelRootId, 1);
    shell.Command(57603);
    EXPECT_TRUE(ProjectStore::IsModified());
    EXPECT_FALSE(fs::exists(unit));
    shell.Frame()->LocateElement(theModelRootId);
    shell.Command(57603);
    EXPECT_FALSE(ProjectStore::IsModified());
    EXPECT_NE(Read(unit).find("<Class Name=\"Keep\"/>"), std::string::npos);
}

TEST(Projects, TheSaveQuestionDecidesWhatClosingDoes)
{
    struct Case {
        INT_PTR answer;
        bool closed;
        bool written;
    };
    const Case cases[] = { { IDYES, true, true }, { IDNO, true, false }, { IDCANCEL, false, false } };
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const std::string name = "Q" + std::to_string(c.answer);
        const std::string path = shell.MakeProject(name);
        fs::remove(shell.Folder() + name + "/" + name + ".uml");
        shell.Frame()->OpenProject(path, false);
        ASSERT_FALSE(ProjectStore::IsClosed());
        ModifiedUnits::Mark(theModelRootId, 1);
        const size_t asked = shell.Questions().size();
        shell.Queue({ DialogKind::MessageBox, c.answer, {} });
        shell.Command(57602);
        ASSERT_EQ(shell.Questions().size(), asked + 1);
        EXPECT_EQ(shell.Questions().back().text, kSaveQuestion);
        EXPECT_EQ(ProjectStore::IsClosed() != FALSE, c.closed);
        EXPECT_EQ(fs::exists(shell.Folder() + name + "/" + name + ".uml"), c.written);
        if (!c.closed) {
            EXPECT_TRUE(ProjectStore::IsModified());
            shell.Queue({ DialogKind::MessageBox, IDNO, {} });
            ASSERT_TRUE(shell.Frame()->CloseProject());
        }
    }
}

TEST(Projects, ExitCancelledKeepsTheProgramAndTheProject)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo");
    ASSERT_TRUE(shell.Start({ path }));
    ModifiedUnits::Mark(theModelRootId, 1);
    shell.Queue({ DialogKind::MessageBox, IDCANCEL, {} });
    shell.Command(57665);
    ASSERT_NE(shell.Frame(), nullptr);
    EXPECT_TRUE(shell.Frame()->IsWindowVisible());
    EXPECT_FALSE(ProjectStore::IsClosed());
    EXPECT_TRUE(ProjectStore::IsModified());
    EXPECT_EQ(shell.Questions().size(), 1u);
}

TEST(Projects, ExitClosesTheProjectAndTheWindowAndWritesTheConfiguration)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo");
    ASSERT_TRUE(shell.Start({ path }));
    fs::remove(shell.Folder() + "cfg/sys.xml");
    shell.Command(57665);
    EXPECT_EQ(shell.Frame(), nullptr);
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_NE(Read(shell.Folder() + "cfg/sys.xml").find(path), std::string::npos);
}

// The close question's Yes with a file that cannot be written: the file is
// named, the project stays open and Exit stops; asked once.
TEST(Projects, AFailedSaveOnCloseKeepsTheProjectOpen)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo", "<Class Name=\"Keep\"/>\r\n");
    ASSERT_TRUE(shell.Start({ path }));
    const std::string unit = shell.Folder() + "Demo/Demo.uml";
    fs::remove(unit);
    fs::create_directories(unit + "/in-the-way");
    ModifiedUnits::Mark(theModelRootId, 1);
    shell.Queue({ DialogKind::MessageBox, IDYES, {} });
    shell.Queue({ DialogKind::MessageBox, IDOK, {} });
    shell.Command(57665);
    ASSERT_NE(shell.Frame(), nullptr);
    EXPECT_FALSE(ProjectStore::IsClosed());
    EXPECT_TRUE(ProjectStore::IsModified());
    ASSERT_EQ(shell.Questions().size(), 2u);
    EXPECT_EQ(shell.Questions()[0].text, kSaveQuestion);
    EXPECT_NE(shell.Questions()[1].text.find("could not be saved"), std::string::npos);
    const std::vector<std::string> lines = shell.Messages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Fail to save " + unit + ": ", 0), 0u) << lines[0];
    EXPECT_EQ(shell.Unanswered(), 0u);
}

// A unit the store leaves alone is named, and the close goes on.
TEST(Projects, ASkippedUnitIsNamedAndTheCloseGoesOn)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo", "<Class Name=\"Keep\"/>\r\n<Bogus/>\r\n");
    ASSERT_TRUE(shell.Start({ path }));
    ASSERT_FALSE(ProjectStore::IsClosed());
    ModifiedUnits::Mark(theModelRootId, 1);
    const std::string before = Read(shell.Folder() + "Demo/Demo.uml");
    shell.Queue({ DialogKind::MessageBox, IDYES, {} });
    shell.Command(57602);
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_EQ(Read(shell.Folder() + "Demo/Demo.uml"), before);
    bool named = false;
    for (const std::string& line : shell.Messages())
        named = named || line.rfind("Not saved " + shell.Folder() + "Demo/Demo.uml: ", 0) == 0;
    EXPECT_TRUE(named) << ::testing::PrintToString(shell.Messages());
}

// Missing or unreadable projects, from the command line, the recent list
// or Open: the program goes on without a project and says so.
TEST(Projects, AProjectThatCannotBeOpenedIsReported)
{
    ShellHarness shell;
    const std::string missing = shell.Folder() + "Gone/Gone.fup";
    ASSERT_TRUE(shell.Start({ missing }));
    ASSERT_NE(shell.Frame(), nullptr);
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_EQ(shell.Messages(), std::vector<std::string>{ "Fail to open " + missing });
    EXPECT_EQ(theSysConfig.m_recentProjects.GetSize(), 0);

    shell.Queue(ChooseFile(DialogKind::FileOpen, shell.Folder() + "cfg"));
    shell.Command(57601);
    EXPECT_EQ(shell.Messages().size(), 2u);
    EXPECT_TRUE(ProjectStore::IsClosed());
}

TEST(Projects, ARecentProjectThatVanishedIsReported)
{
    ShellHarness shell;
    const std::string path = shell.MakeProject("Demo");
    ASSERT_TRUE(shell.Start({ path }));
    ASSERT_TRUE(shell.Frame()->CloseProject());
    fs::remove_all(shell.Folder() + "Demo");
    shell.Command(1143);
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_EQ(shell.Messages(), std::vector<std::string>{ "Fail to open " + path });
    EXPECT_EQ(theSysConfig.m_recentProjects.GetSize(), 1);
}
