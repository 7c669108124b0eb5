// The shell services other subsystems call, the Window list, the status
// bar's prompts, tooltips, the dialogs the shell opens and its seams.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/HelpSeam.h"
#include "App/PropertyPane.h"
#include "App/ScriptSeam.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/CommonDialogs.h"
#include "Platform/Playback.h"
#include "Platform/ToolBar.h"

#include <gtest/gtest.h>

namespace {

std::string Diagrams(int count)
{
    std::string elements;
    for (int i = 1; i <= count; ++i)
        elements += "<Classdiagram Name=\"D" + std::to_string(i) + "\"/>\r\n";
    return elements;
}

} // namespace

TEST(Services, MessagesPastThreeHundredLinesDropTheOldestTwenty)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    for (int i = 0; i < 300; ++i)
        OutputMessage("line " + std::to_string(i));
    EXPECT_EQ(shell.Messages().size(), 300u);
    OutputMessage("newest");
    const std::vector<std::string> lines = shell.Messages();
    ASSERT_EQ(lines.size(), 281u);
    EXPECT_EQ(lines.front(), "line 20");
    EXPECT_EQ(lines.back(), "newest");
}

// The list keeps the 16 most recently shown diagrams, the shown one first
// and checked; closing the shown one shows the next most recent.
TEST(Services, TheWindowListKeepsSixteenDiagramsNewestFirst)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start({ shell.MakeProject("Many", Diagrams(17)) }));
    for (int i = 1; i <= 17; ++i)
        ASSERT_TRUE(OpenDiagram(ElementNamed(("D" + std::to_string(i)).c_str()), 0)) << i;
    std::vector<MenuItemState> items = shell.MenuItems({ 4 });
    ASSERT_EQ(items.size(), 2u + 1u + 16u);
    EXPECT_EQ(items[2].id, 0u);
    EXPECT_EQ(items[3].id, 1025u);
    EXPECT_EQ(items[3].text.rfind("&1 ", 0), 0u);
    EXPECT_EQ(items[3].text.substr(items[3].text.size() - 4), "/D17");
    EXPECT_TRUE(items[3].checked);
    EXPECT_FALSE(items[4].checked);
    EXPECT_EQ(items.back().id, 1040u);
    EXPECT_EQ(items.back().text.substr(items.back().text.size() - 3), "/D2");
    EXPECT_TRUE(shell.Frame()->GetSymbolBar().IsWindowVisible());
    EXPECT_GT(shell.Frame()->GetSymbolBar().GetButtonCount(), 0);

    // A diagram open but not shown leaves the view as it is.
    CVexalView* view = GetMainView();
    CloseDiagram(ElementNamed("D5"));
    EXPECT_EQ(view->GetDiagramId(), ElementNamed("D17"));
    EXPECT_EQ(shell.Frame()->GetOpenDiagramList().size(), 15u);
    // The shown one: the most recently shown of the rest takes its place.
    shell.Command(32785);
    EXPECT_EQ(view->GetDiagramId(), ElementNamed("D16"));
    EXPECT_EQ(shell.Frame()->GetOpenDiagramList().front(), ElementNamed("D16"));
    // An entry of the list shows its diagram.
    shell.Command(1027);
    EXPECT_EQ(view->GetDiagramId(), ElementNamed("D14"));
    shell.Command(32786);
    EXPECT_EQ(view->GetDiagramId(), 0);
    EXPECT_EQ(shell.MenuItems({ 4 }).size(), 2u);
    EXPECT_FALSE(shell.Frame()->GetSymbolBar().IsWindowVisible());
    EXPECT_TRUE(shell.Messages().empty());
}

// The symbol toolbar toggle does nothing while the toolbar has no button.
TEST(Services, AnEmptySymbolToolbarIsNotShown)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start({ shell.MakeProject("One", Diagrams(1)) }));
    CToolBarEx& bar = shell.Frame()->GetSymbolBar();
    shell.Command(32778);
    EXPECT_FALSE(bar.IsWindowVisible());
    ASSERT_TRUE(OpenDiagram(ElementNamed("D1"), 0));
    EXPECT_TRUE(bar.IsWindowVisible());
    shell.Command(32778);
    EXPECT_FALSE(bar.IsWindowVisible());
    shell.Command(32778);
    EXPECT_TRUE(bar.IsWindowVisible());
}

// Symbol 12 and element 12 are two items: showing one while the other is
// shown rebuilds the rows.
TEST(Services, ThePropertyPaneTellsElementsFromSymbolsOfOneId)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    PropertyPaneShow(12, true);
    EXPECT_TRUE(thePropertyPane->IsShowing(12, true));
    PropertyPaneShow(12, false);
    EXPECT_TRUE(thePropertyPane->IsShowing(12, false));
    PropertyPaneClear();
    EXPECT_EQ(thePropertyPane->GetShownId(), -1);
}

TEST(Services, TheStatusBarShowsTheIdlePromptAndCommandPrompts)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CStatusBar& bar = frame->GetStatusBar();
    EXPECT_STREQ(bar.GetPaneText(0), "Ready");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(57600, MF_HILITE), reinterpret_cast<LPARAM>(frame->GetMenu()->GetSafeHmenu()));
    EXPECT_STREQ(bar.GetPaneText(0), "Creates a new project");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_STREQ(bar.GetPaneText(0), "Ready");

    CToolBarEx& tools = frame->GetToolBar();
    CRect r;
    tools.GetItemRect(tools.CommandToIndex(57601), &r);
    tools.ClientToScreen(&r);
    PlayMouse(WM_MOUSEMOVE, r.CenterPoint());
    EXPECT_STREQ(bar.GetPaneText(0), "Opens an existing project");
}

TEST(Services, ToolTipsTakeTheRegistryNames)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    TOOLTIPTEXTA tip = {};
    tip.hdr.code = TTN_NEEDTEXTA;
    tip.hdr.idFrom = 57600;
    tip.hinst = reinterpret_cast<HINSTANCE>(&tip);
    EXPECT_TRUE(shell.Frame()->SendMessage(WM_NOTIFY, 57600, reinterpret_cast<LPARAM>(&tip)) == 0);
    EXPECT_EQ(tip.lpszText, tip.szText);
    EXPECT_STREQ(tip.szText, "New");
    EXPECT_EQ(tip.hinst, nullptr);
}

// About and Print Settings are the application's; both are modal and go
// through the dialog hook.
TEST(Services, AboutAndPrintSettingsAreAsked)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    shell.Command(57664);
    shell.ClickToolBarButton(57664);
    shell.Command(57606);
    ASSERT_EQ(shell.Questions().size(), 3u);
    EXPECT_EQ(shell.Questions()[0].kind, DialogKind::Template);
    EXPECT_EQ(shell.Questions()[0].templateId, 100u);
    EXPECT_EQ(shell.Questions()[1].templateId, 100u);
    EXPECT_EQ(shell.Questions()[2].kind, DialogKind::PrintSetup);
}

// The seams: a script host and a help viewer installed later get the
// calls; Run Javascript commits first.
TEST(Services, ScriptsAndHelpGoThroughTheirSeams)
{
    static std::vector<std::string> calls;
    theScriptSeam.Init = []() -> ScriptHost* { return reinterpret_cast<ScriptHost*>(&calls); };
    theScriptSeam.RunFile = [](ScriptHost* host, const char* path) {
        calls.push_back(std::string(host ? "run " : "no host ") + path);
        return true;
    };
    theScriptSeam.Destroy = [](ScriptHost*) { calls.push_back("destroyed"); };
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    // Start-up put the help viewer behind its seam.
    theHelpSeam.ShowTopic = [](const char* target) { calls.push_back(std::string("help ") + target); };
    shell.Queue({ DialogKind::FileOpen, IDOK, [&](DialogRequest& request) {
                     auto* ofn = static_cast<OPENFILENAME*>(request.data);
                     EXPECT_STREQ(ofn->lpstrDefExt, "js");
                     std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", (shell.Folder() + "a.js").c_str());
                 } });
    shell.Command(32795);
    shell.Frame()->GetMessageList().SetFocus();
    shell.Command(57667);
    shell.Command(57665);
    const std::vector<std::string> expected = { "run " + shell.Folder() + "a.js",
                                                "help " + shell.Folder() + "help.chm::/Index.htm", "destroyed" };
    EXPECT_EQ(calls, expected);
    ResetScriptSeam();
    ResetHelpSeam();
}
