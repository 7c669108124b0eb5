// Who answers a command: given as a menu choice, a key or a toolbar
// button, with a pane focused and a project open or not. Menu choices of
// the editing commands go to the focused pane first, keys of the pane table
// only to it, toolbar buttons along the route (the view first).
#include "ShellHarness.h"

#include "App/HelpViewer.h"
#include "App/VexalView.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "Platform/Playback.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

enum class Pane { Browser, Messages, View };

struct Row {
    const char* name;
    UINT id;
    Via via;
    UINT vk;
    UINT keys;
    Pane focus;
    bool project;
    // Checks what the command did, given the messages written by it (the
    // list held "one", "two", "three", all selected, before).
    std::function<void(ShellHarness&, const std::vector<std::string>& lines)> check;
};

using Lines = std::vector<std::string>;
const Lines kUntouched = { "one", "two", "three" };

auto Said(Lines expected)
{
    return [expected](ShellHarness&, const Lines& lines) {
        Lines all = kUntouched;
        all.insert(all.end(), expected.begin(), expected.end());
        EXPECT_EQ(lines, all);
    };
}

auto Left(Lines expected)
{
    return [expected](ShellHarness&, const Lines& lines) { EXPECT_EQ(lines, expected); };
}

auto Asked(DialogKind kind)
{
    return [kind](ShellHarness& shell, const Lines& lines) {
        EXPECT_EQ(lines, kUntouched);
        ASSERT_FALSE(shell.Questions().empty());
        EXPECT_EQ(shell.Questions().back().kind, kind);
    };
}

// The help viewer shows the program's help file at the topic.
auto Viewed(const std::string& topic)
{
    return [topic](ShellHarness& shell, const Lines& lines) {
        EXPECT_EQ(lines, kUntouched);
        CHelpViewer* viewer = CHelpViewer::Get();
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->HelpFile(), shell.Folder() + "help.chm");
        EXPECT_EQ(viewer->Browser().GetSource().GetString(), topic);
        viewer->DestroyWindow();
    };
}

auto Saved(bool saved)
{
    return [saved](ShellHarness&, const Lines& lines) {
        EXPECT_EQ(lines, kUntouched);
        EXPECT_EQ(ProjectStore::IsModified() == FALSE, saved);
    };
}

const std::string kNoProject = "There is no project opened";
const std::string kNoDiagram = "There is no diagram opened";

} // namespace

TEST(Routing, EachCommandReachesItsAnswerer)
{
    ShellHarness shell;
    const std::string project = shell.MakeProject("Route");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();

    const Row rows[] = {
        { "menu Delete, browser, no project", 32773, Via::Menu, 0, 0, Pane::Browser, false, Said({ kNoProject }) },
        { "menu Delete, Messages", 32773, Via::Menu, 0, 0, Pane::Messages, false, Left({}) },
        { "menu Cut, Messages", 57635, Via::Menu, 0, 0, Pane::Messages, true, Left({}) },
        { "menu Paste, Messages: not the list's", 57637, Via::Menu, 0, 0, Pane::Messages, false, Left(kUntouched) },
        { "menu Move Up, view, project", 32790, Via::Menu, 0, 0, Pane::View, true, Left(kUntouched) },
        { "menu Zoom In, view, no project", 32787, Via::Menu, 0, 0, Pane::View, false, Said({ kNoProject }) },
        { "key Delete, browser, no project: only the browser", 0, Via::Key, VK_DELETE, 0, Pane::Browser, false,
          Said({ "Please select an item" }) },
        { "key Delete, Messages", 0, Via::Key, VK_DELETE, 0, Pane::Messages, false, Left({}) },
        { "key Ctrl+Z, Messages: the list has no Undo", 0, Via::Key, 'Z', MK_CONTROL, Pane::Messages, true,
          Left(kUntouched) },
        { "toolbar Cut, Messages: the view's", 57635, Via::ToolBar, 0, 0, Pane::Messages, true, Left(kUntouched) },
        { "toolbar Undo, Messages", 57643, Via::ToolBar, 0, 0, Pane::Messages, true, Left(kUntouched) },
        { "key Alt+F5 has no effect", 0, Via::Key, VK_F5, MK_ALT, Pane::Browser, true, Left(kUntouched) },
        { "menu Window Close", 32785, Via::Menu, 0, 0, Pane::Browser, true, Said({ kNoDiagram }) },
        { "menu Close All", 32786, Via::Menu, 0, 0, Pane::Messages, false, Said({ kNoDiagram }) },
        { "key F7 Search, no project", 0, Via::Key, VK_F7, 0, Pane::Messages, false, Said({ kNoProject }) },
        { "key Ctrl+W Close, no project", 0, Via::Key, 'W', MK_CONTROL, Pane::View, false, Said({ kNoProject }) },
        { "key Ctrl+N New, Messages", 0, Via::Key, 'N', MK_CONTROL, Pane::Messages, false, Asked(DialogKind::FileSave) },
        { "toolbar Open", 57601, Via::ToolBar, 0, 0, Pane::Browser, false, Asked(DialogKind::FileOpen) },
        { "key Ctrl+Shift+A, browser: no pane saves", 0, Via::Key, 'A', MK_CONTROL | MK_SHIFT, Pane::Browser, true,
          Saved(false) },
        { "menu Save All", 32783, Via::Menu, 0, 0, Pane::Browser, true, Saved(true) },
        { "toolbar Save All", 32783, Via::ToolBar, 0, 0, Pane::Messages, true, Saved(true) },
        { "key F1 Help, Messages: the help viewer", 0, Via::Key, VK_F1, 0, Pane::Messages, false, Viewed("/Index.htm") },
        { "key F1 Help, browser: the browser's topic", 0, Via::Key, VK_F1, 0, Pane::Browser, false,
          Viewed("/Index.htm") },
        { "menu Search, project", 32799, Via::Menu, 0, 0, Pane::Messages, true, Left(kUntouched) },
        { "menu Options, no project", 32798, Via::Menu, 0, 0, Pane::Messages, false, Left(kUntouched) },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.project && ProjectStore::IsClosed()) {
            frame->OpenProject(project, false);
            ASSERT_FALSE(ProjectStore::IsClosed());
        } else if (!row.project && !ProjectStore::IsClosed()) {
            ASSERT_TRUE(frame->CloseProject());
        }
        if (row.project)
            ModifiedUnits::Mark(theModelRootId, 1);
        CMsgListBox& list = frame->GetMessageList();
        list.ResetContent();
        for (const std::string& line : kUntouched)
            list.AddString(line.c_str());
        list.SelectAll();
        CWnd* focus = row.focus == Pane::Browser    ? static_cast<CWnd*>(&frame->GetModelBrowser())
                      : row.focus == Pane::Messages ? static_cast<CWnd*>(&list)
                                                    : static_cast<CWnd*>(frame->GetVexalView());
        focus->SetFocus();
        ASSERT_EQ(CWnd::GetFocus(), focus);
        shell.Give(row.id, row.via, row.vk, row.keys);
        row.check(shell, shell.Messages());
        ModifiedUnits::Mark(theModelRootId, 0);
    }
}
