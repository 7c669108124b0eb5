// The menu bar: menu 128 as the program shows it, the Recent projects
// popup, the Tools menu's scripts and the Window list.
#include "ShellHarness.h"

#include "App/ShellServices.h"
#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

namespace {

const UINT kPopup = UINT(-1);

struct Expected {
    const char* text;
    UINT id;
};

// The menu pads labels with blanks to align the keys after the tab.
std::string Unpadded(const std::string& text, const std::string& like)
{
    const size_t tab = text.find('\t');
    const size_t label = like.find('\t');
    if (tab == std::string::npos || label == std::string::npos || text.compare(0, label, like, 0, label) != 0 ||
        text.find_first_not_of(' ', label) != tab)
        return text;
    return like.substr(0, label) + text.substr(tab);
}

void ExpectItems(const std::vector<MenuItemState>& items, const std::vector<Expected>& expected, const char* popup)
{
    ASSERT_EQ(items.size(), expected.size()) << popup;
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(Unpadded(items[i].text, expected[i].text), expected[i].text) << popup << " " << i;
        EXPECT_EQ(items[i].id, expected[i].id) << popup << " " << i;
    }
}

} // namespace

TEST(Menus, MenuBarReadsAsTheProgramShowsIt)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    struct Popup {
        std::vector<int> path;
        std::vector<Expected> items;
    };
    const Popup popups[] = {
        { {},
          { { "&File", kPopup }, { "&Edit", kPopup }, { "&View", kPopup }, { "&Tools", kPopup },
            { "&Window", kPopup }, { "&Help", kPopup } } },
        { { 0 },
          { { "New\tCtrl+N", 57600 }, { "Open\tCtrl+O", 57601 }, { "Close\tCtrl+W", 57602 },
            { "Recent projects", kPopup }, { "", 0 }, { "Load library", 32800 }, { "Remove library", 32801 },
            { "", 0 }, { "Save\tCtrl+S", 57603 }, { "Sall All\tCtrl+Shift+A", 32783 }, { "", 0 },
            { "Print\tCtrl+P", 57607 }, { "Print Settings", 57606 }, { "", 0 }, { "&Exit", 57665 } } },
        { { 1 },
          { { "Undo\tCtrl+Z", 57643 }, { "Redo\tCtrl+Y", 57644 }, { "", 0 }, { "Cut\tCtrl+X", 57635 },
            { "Copy\tCtrl+C", 57634 }, { "Paste\tCtrl+V", 57637 }, { "Delete\tDelete", 32773 },
            { "Select All  \tCtrl+A", 57642 }, { "", 0 }, { "Move Up", 32790 }, { "Move Down", 32791 }, { "", 0 },
            { "Search\tF7", 32799 } } },
        { { 2 },
          { { "Tool Bar", 59392 }, { "Status Bar", 59393 }, { "UML Bar", kPopup }, { "Zoom", kPopup },
            { "Page", kPopup } } },
        { { 2, 2 },
          { { "&Model\tF11", 32775 }, { "&Properties\tF12", 32774 }, { "&Symbol", 32778 },
            { "&Messages", 32776 } } },
        { { 2, 3 },
          { { "Zoom In\tCtrl+Add", 32787 }, { "Zoom Out\tCtrl+Subtract", 32788 },
            { "Actual Size\tCtrl+Divide", 32789 } } },
        { { 2, 4 }, { { "Next page", 32793 }, { "Fore page", 32794 } } },
        { { 3 }, { { "Options", 32798 }, { "Run Javascript", 32795 } } },
        { { 4 }, { { "Close\tAlt+F5", 32785 }, { "Close All\tAlt+F6", 32786 } } },
        { { 5 }, { { "Help Topics", 57667 }, { "", 0 }, { "&About Vexal", 57664 } } },
        { { 0, 3 }, {} },
    };
    for (const Popup& p : popups) {
        std::string name;
        for (int i : p.path)
            name += std::to_string(i) + "/";
        ExpectItems(shell.MenuItems(p.path), p.items, name.c_str());
    }
}

// The checks are the visible bars' and, after idle, they follow the bars.
TEST(Menus, BarItemsAreCheckedWhileTheirBarsShow)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CCmdUI state;
    auto checked = [&](UINT id) {
        shell.Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(frame->GetMenu()->GetSubMenu(2)->GetSafeHmenu()), 2);
        for (const MenuItemState& item : shell.MenuItems({ 2 }))
            if (item.id == id)
                return item.checked;
        return false;
    };
    EXPECT_TRUE(checked(59392));
    EXPECT_TRUE(checked(59393));
    shell.Command(59392);
    EXPECT_FALSE(frame->GetToolBar().IsWindowVisible());
    EXPECT_FALSE(checked(59392));
    shell.Command(59393);
    EXPECT_FALSE(frame->GetStatusBar().IsWindowVisible());
    EXPECT_FALSE(checked(59393));
    shell.Command(59392);
    EXPECT_TRUE(checked(59392));
}

TEST(Menus, RecentProjectsListTheConfigurationsPathsWithTheCurrentChecked)
{
    ShellHarness shell;
    const std::string a = shell.MakeProject("Alpha");
    const std::string b = shell.MakeProject("Beta");
    ASSERT_TRUE(shell.Start());
    shell.Frame()->OpenProject(a, false);
    shell.Frame()->OpenProject(b, false);
    const std::vector<MenuItemState> items = shell.MenuItems({ 0, 3 });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, b);
    EXPECT_EQ(items[0].id, 1143u);
    EXPECT_TRUE(items[0].checked);
    EXPECT_EQ(items[1].text, a);
    EXPECT_EQ(items[1].id, 1144u);
    EXPECT_FALSE(items[1].checked);

    // The second entry reopens Alpha, which moves to the front.
    shell.Command(1144);
    const std::vector<MenuItemState> after = shell.MenuItems({ 0, 3 });
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].text, a);
    EXPECT_TRUE(after[0].checked);
    EXPECT_FALSE(after[1].checked);
}

// Script files named menu_<text>.js become Tools items, at most 101 of them.
TEST(Menus, ToolsMenuListsTheScriptsOfTheScriptFolder)
{
    ShellHarness shell;
    shell.WriteFile("Script/menu_Export HTML.js", "");
    shell.WriteFile("Script/menu_.js", "");
    shell.WriteFile("Script/other.js", "");
    for (int i = 0; i < 100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Script/menu_z%03d.js", i);
        shell.WriteFile(name, "");
    }
    ASSERT_TRUE(shell.Start());
    const std::vector<MenuItemState> items = shell.MenuItems({ 3 });
    ASSERT_EQ(items.size(), 3u + 101u);
    EXPECT_EQ(items[2].id, 0u);
    EXPECT_EQ(items[3].text, "");
    EXPECT_EQ(items[3].id, 1042u);
    EXPECT_EQ(items[4].text, "Export HTML");
    EXPECT_EQ(items[4].id, 1043u);
    EXPECT_EQ(items.back().text, "z098");
    EXPECT_EQ(items.back().id, 1142u);

    // The script item runs its file through the script seam, which says
    // here that no host runs it.
    shell.Command(1043);
    ASSERT_EQ(shell.Messages().size(), 1u);
    EXPECT_EQ(shell.Messages()[0], "No script host: " + shell.Folder() + "Script/menu_Export HTML.js was not run");
}

TEST(Menus, WithoutScriptsTheToolsMenuKeepsItsTwoItems)
{
    ShellHarness shell;
    shell.WriteFile("Script/other.js", "");
    ASSERT_TRUE(shell.Start());
    EXPECT_EQ(shell.MenuItems({ 3 }).size(), 2u);
}
