// Help Topics in the running program: start-up puts the help viewer behind
// the shell's help seam, and every call shows its topic of the program's
// help file in the one viewer window.
#include "BrowserDriver.h"

#include "App/HelpViewer.h"
#include "File/ProjectStore.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kHelpFile = std::string(VEXAL_TEST_OUTPUT) + "/../bin/help.chm";

std::string Source()
{
    return CHelpViewer::Get()->Browser().GetSource().GetString();
}

} // namespace

// F1 in the model browser with a class selected shows the class's topic;
// Help Topics from the Messages pane then shows the index in that window.
TEST(HelpTopics, TheSelectedClassShowsItsTopic)
{
    ShellHarness shell;
    std::filesystem::copy_file(kHelpFile, shell.Folder() + "help.chm");
    ASSERT_TRUE(shell.Start({ shell.MakeProject("Shop", "<Class Name=\"Order\" GUID=\"G1\"/>\r\n") }));
    BrowserDriver browser(shell);
    browser.Expand(theProjectRootId);
    browser.Expand(theModelRootId);
    const int order = BrowserDriver::Id("Order");
    ASSERT_NE(order, 0);
    browser.Click(browser.Label(order));
    ASSERT_EQ(browser.Selected(), std::vector<std::string>{ "Order" });
    browser.Key(VK_F1);

    CHelpViewer* viewer = CHelpViewer::Get();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->HelpFile(), shell.Folder() + "help.chm");
    EXPECT_EQ(Source(), "/Class.htm");
    EXPECT_NE(std::string(viewer->Browser().GetPlainText().GetString()).find("Where it may stand"), std::string::npos);
    const HWND handle = viewer->GetSafeHwnd();

    shell.Frame()->GetMessageList().SetFocus();
    shell.Command(57667);
    EXPECT_EQ(CHelpViewer::Get(), viewer);
    EXPECT_EQ(viewer->GetSafeHwnd(), handle);
    EXPECT_EQ(Source(), "/Index.htm");
    viewer->DestroyWindow();
}

TEST(HelpTopics, NothingSelectedShowsTheIndexInOneViewer)
{
    ShellHarness shell;
    std::filesystem::copy_file(kHelpFile, shell.Folder() + "help.chm");
    ASSERT_TRUE(shell.Start());
    shell.Frame()->GetMessageList().SetFocus();
    shell.Command(57667);

    CHelpViewer* viewer = CHelpViewer::Get();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->HelpFile(), shell.Folder() + "help.chm");
    EXPECT_EQ(Source(), "/Index.htm");
    EXPECT_NE(std::string(viewer->Browser().GetPlainText().GetString()).find("Vexal is a desktop tool"),
              std::string::npos);
    EXPECT_TRUE(viewer->IsWindowVisible());
    EXPECT_EQ(viewer->GetParent(), nullptr);
    EXPECT_TRUE(shell.Messages().empty()) << ::testing::PrintToString(shell.Messages());

    // Elsewhere in the file, then F1: the same window goes back to the index.
    const HWND handle = viewer->GetSafeHwnd();
    viewer->Browser().ActivateLink("Class.htm");
    ASSERT_EQ(Source(), "/Class.htm");
    shell.Frame()->GetMessageList().SetFocus();
    shell.Key(VK_F1);
    EXPECT_EQ(CHelpViewer::Get(), viewer);
    EXPECT_EQ(viewer->GetSafeHwnd(), handle);
    EXPECT_EQ(Source(), "/Index.htm");
    EXPECT_TRUE(SaveWindowPicture(handle, (std::string(VEXAL_TEST_OUTPUT) + "/App/" + TestName() + ".png").c_str()));

    // Leaving the program closes the viewer with it.
    shell.Command(57665);
    ASSERT_EQ(shell.Frame(), nullptr);
    theApp.ExitInstance();
    EXPECT_EQ(CHelpViewer::Get(), nullptr);
}
