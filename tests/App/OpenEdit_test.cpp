// No edit is lost to a command: a menu choice, a key or a toolbar button
// leaves the focus in the property pane's editor, so the editor's own
// focus-loss commit never comes; the commands that save, close, open or run
// a script end it first. Undo and Redo commit the open edit first, so it is
// an undo step of its own, and read the pane's rows again afterwards, so a
// stale row is never written back over the replayed values; the editor's own
// text undo leaves the rows and the edit as they are.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/PropertyPane.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/Playback.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const UINT kUndo = 57643, kRedo = 57644;

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string NameOf(int id)
{
    ModelT element;
    return FetchElementById(id, element) && element.Name ? element.Name : "";
}

COptionTreeItem* RowKeyed(const char* key)
{
    for (COptionTreeItem* category = thePropertyPane->GetRootItem()->GetFirstChild(); category;
         category = category->GetNextSibling()) {
        for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling()) {
            if (row->GetKey() && std::string(row->GetKey()) == key)
                return row;
        }
    }
    return nullptr;
}

COptionTreeItem* NameRow() { return RowKeyed("Name"); }

// The project Demo with class A, whose rows the pane shows with the base
// category expanded; the browser has A checked and the focus.
class OpenEdit : public ::testing::Test {
protected:
    void StartWith(const std::vector<std::string>& scripts = {})
    {
        for (const std::string& script : scripts)
            shell.WriteFile("Script/menu_" + script + ".js", "");
        thePropertyExpandBits = PROPERTY_BASE;
        ASSERT_TRUE(shell.Start({ shell.MakeProject("Demo", "<Class Name=\"A\" GUID=\"GA\"/>\r\n") }));
        a = ElementNamed("A");
        ASSERT_GT(a, 0);
        shell.Frame()->LocateElement(a);
        PropertyPaneShow(a, true);
        shell.Frame()->GetModelBrowser().SetFocus();
        shell.Pump();
        UndoLog::Clear();
    }

    // The user clicks the Name row's value and types before the name; the
    // editor keeps the focus and nothing is committed yet.
    void TypeIntoName(const char* typed)
    {
        const std::string before = NameOf(a);
        ASSERT_NO_FATAL_FAILURE(ClickValue(NameRow()));
        PlayText(typed);
        shell.Pump();
        ASSERT_EQ(NameOf(a), before);
    }

    void ClickValue(COptionTreeItem* row)
    {
        ASSERT_NE(row, nullptr);
        CPoint p = row->GetValueRect().CenterPoint();
        thePropertyPane->GetListWnd()->ClientToScreen(&p);
        PlayMouse(WM_LBUTTONDOWN, p);
        PlayMouse(WM_LBUTTONUP, p);
        shell.Pump();
        ASSERT_TRUE(row->IsEditing());
    }

    std::string PaneName() { return NameRow() ? NameRow()->GetValueText() : "<no row>"; }

    ShellHarness shell;
    int a = 0;
};

struct CommandCase {
    const char* name;
    UINT id;
    Via via;
    UINT vk, keys;
    bool closes;   // the project closes after the save question's Yes
};

// New, Open and Run Javascript are answered by a cancelled file dialog: the
// edit is in the model whatever the dialog's answer. Save All has no key of
// its own here: its key belongs to the focused pane, and no pane saves.
const CommandCase kCommands[] = {
    { "Save", 57603, Via::Menu, 0, 0, false },
    { "Save", 57603, Via::Key, 'S', MK_CONTROL, false },
    { "Save", 57603, Via::ToolBar, 0, 0, false },
    { "SaveAll", 32783, Via::Menu, 0, 0, false },
    { "SaveAll", 32783, Via::ToolBar, 0, 0, false },
    { "Close", 57602, Via::Menu, 0, 0, true },
    { "Close", 57602, Via::Key, 'W', MK_CONTROL, true },
    { "Exit", 57665, Via::Menu, 0, 0, true },
    { "New", 57600, Via::Menu, 0, 0, false },
    { "New", 57600, Via::Key, 'N', MK_CONTROL, false },
    { "Open", 57601, Via::Menu, 0, 0, false },
    { "Open", 57601, Via::Key, 'O', MK_CONTROL, false },
    { "RunJavascript", 32795, Via::Menu, 0, 0, false },
    { "ScriptItem", 1042, Via::Menu, 0, 0, false },
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name << " via " << int(c.via); }

class CommandsCommitTheOpenEdit : public OpenEdit, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandsCommitTheOpenEdit, Once)
{
    const CommandCase& c = GetParam();
    StartWith({ "Check" });
    const std::string unit = shell.Folder() + "Demo/Demo.uml";
    TypeIntoName("Z");
    if (c.closes)
        shell.Queue({ DialogKind::MessageBox, IDYES, {} });
    shell.Give(c.id, c.via, c.vk, c.keys);

    const bool saves = c.id == 57603 || c.id == 32783 || c.closes;
    if (saves) {
        EXPECT_NE(Read(unit).find("Name=\"ZA\""), std::string::npos) << Read(unit);
    }
    if (c.closes) {
        EXPECT_TRUE(ProjectStore::IsClosed());
        EXPECT_EQ(shell.Unanswered(), 0u);
        return;
    }
    EXPECT_EQ(NameOf(a), "ZA");
    EXPECT_EQ(UndoLog::UndoDepth(), 1u);
    EXPECT_FALSE(NameRow()->IsEditing());
    EXPECT_NE(CWnd::GetFocus(), dynamic_cast<CWnd*>(NameRow())) << "a hidden editor would take the next keys";
    EXPECT_EQ(PaneName(), "ZA");
    // The editor's focus loss later commits nothing more.
    shell.Frame()->GetModelBrowser().SetFocus();
    shell.Pump();
    EXPECT_EQ(UndoLog::UndoDepth(), 1u);
    EXPECT_EQ(ProjectStore::IsModified() != FALSE, !saves);
}

std::string CaseName(const ::testing::TestParamInfo<CommandCase>& info)
{
    static const char* const kVia[] = { "Menu", "Key", "ToolBar" };
    return std::string(info.param.name) + "By" + kVia[int(info.param.via)];
}

INSTANTIATE_TEST_SUITE_P(Table, CommandsCommitTheOpenEdit, ::testing::ValuesIn(kCommands), CaseName);

// After an undo the pane shows the undone value; a commit of the pane then
// writes nothing back, and a redo shows the redone one.
TEST_F(OpenEdit, UndoAndRedoReloadThePaneSoNoStaleRowIsWrittenBack)
{
    struct Case {
        Via via;
        UINT undoKey, redoKey;
    };
    const Case cases[] = { { Via::Menu, 0, 0 }, { Via::Key, 'Z', 'Y' }, { Via::ToolBar, 0, 0 } };
    StartWith();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.via));
        UndoLog::Clear();
        PropertyPaneReload(a, true);
        ASSERT_NO_FATAL_FAILURE(TypeIntoName("Z"));
        PlayKey(VK_RETURN);
        shell.Frame()->GetModelBrowser().SetFocus();
        shell.Pump();
        ASSERT_EQ(NameOf(a), "ZA");

        shell.Give(kUndo, c.via, c.undoKey, MK_CONTROL);
        EXPECT_EQ(NameOf(a), "A");
        EXPECT_EQ(PaneName(), "A");
        thePropertyPane->CommitEdit();
        EXPECT_EQ(NameOf(a), "A");

        shell.Give(kRedo, c.via, c.redoKey, MK_CONTROL);
        EXPECT_EQ(NameOf(a), "ZA");
        EXPECT_EQ(PaneName(), "ZA");
        thePropertyPane->CommitEdit();
        EXPECT_EQ(NameOf(a), "ZA");

        // Back to the fixture's name for the next way of giving the commands.
        shell.Give(kUndo, c.via, c.undoKey, MK_CONTROL);
        ASSERT_EQ(NameOf(a), "A");
    }
}

enum class Focus { Editor, Browser, View };

struct ReplayCase {
    const char* name;
    Via via;
    UINT undoKey, redoKey;
    Focus focus;   // Browser and View: the editor lost the focus to no window first
};

// With the editor focused the Edit menu and the keys go to the editor's own
// text undo; the toolbar gives the view's. An editor that lost the focus to
// no window stays open while the browser or the view takes the focus back.
const ReplayCase kReplays[] = {
    { "ToolBarFromTheEditor", Via::ToolBar, 0, 0, Focus::Editor },
    { "KeyInTheBrowser", Via::Key, 'Z', 'Y', Focus::Browser },
    { "MenuInTheBrowser", Via::Menu, 0, 0, Focus::Browser },
    { "KeyInTheView", Via::Key, 'Z', 'Y', Focus::View },
    { "ToolBarInTheView", Via::ToolBar, 0, 0, Focus::View },
};

void PrintTo(const ReplayCase& c, std::ostream* out) { *out << c.name; }

// Undo and Redo commit the pane's open edit as leaving the field would, so
// the typed value is an undo step of its own.
class ReplayWithAnOpenEdit : public OpenEdit, public ::testing::WithParamInterface<ReplayCase> {
protected:
    // Types before the name and leaves the editor open where the case wants
    // the focus.
    void TypeAndStay(const char* typed)
    {
        ASSERT_NO_FATAL_FAILURE(TypeIntoName(typed));
        const Focus focus = GetParam().focus;
        if (focus == Focus::Editor)
            return;
        ::SetFocus(nullptr);
        if (focus == Focus::Browser)
            shell.Frame()->GetModelBrowser().SetFocus();
        else
            GetMainView()->SetFocus();
        shell.Pump();
        ASSERT_TRUE(NameRow()->IsEditing());
    }

    void Give(UINT id)
    {
        const ReplayCase& c = GetParam();
        shell.Give(id, c.via, id == kUndo ? c.undoKey : c.redoKey, MK_CONTROL);
    }
};

// Undo takes back the typed value alone, Redo gives it back, and the change
// before it stays a step of its own.
TEST_P(ReplayWithAnOpenEdit, UndoTakesBackTheTypedValueAlone)
{
    StartWith();
    ASSERT_NO_FATAL_FAILURE(TypeIntoName("Z"));
    PlayKey(VK_RETURN);
    shell.Pump();
    ASSERT_EQ(NameOf(a), "ZA");
    ASSERT_NO_FATAL_FAILURE(TypeAndStay("Y"));

    Give(kUndo);
    EXPECT_EQ(NameOf(a), "ZA");
    EXPECT_FALSE(NameRow()->IsEditing());
    EXPECT_EQ(PaneName(), "ZA");
    EXPECT_TRUE(shell.Screenshot(TestName() + "-undone"));

    Give(kRedo);
    EXPECT_EQ(NameOf(a), "YZA");
    EXPECT_EQ(PaneName(), "YZA");

    Give(kUndo);
    Give(kUndo);
    EXPECT_EQ(NameOf(a), "A");
    EXPECT_EQ(PaneName(), "A");
}

// A typed value is a new change: Redo keeps it and has nothing left to redo.
TEST_P(ReplayWithAnOpenEdit, RedoKeepsTheTypedValue)
{
    StartWith();
    ASSERT_NO_FATAL_FAILURE(TypeIntoName("Z"));
    PlayKey(VK_RETURN);
    shell.Frame()->GetModelBrowser().SetFocus();
    shell.Pump();
    shell.Give(kUndo, Via::Menu);
    ASSERT_EQ(NameOf(a), "A");
    ASSERT_EQ(UndoLog::RedoDepth(), 1u);
    ASSERT_NO_FATAL_FAILURE(TypeAndStay("X"));

    Give(kRedo);
    EXPECT_EQ(NameOf(a), "XA");
    EXPECT_FALSE(NameRow()->IsEditing());
    EXPECT_EQ(PaneName(), "XA");
    EXPECT_EQ(UndoLog::RedoDepth(), 0u);

    Give(kUndo);
    EXPECT_EQ(NameOf(a), "A");
    EXPECT_EQ(PaneName(), "A");
}

INSTANTIATE_TEST_SUITE_P(Table, ReplayWithAnOpenEdit, ::testing::ValuesIn(kReplays),
                         [](const ::testing::TestParamInfo<ReplayCase>& info) { return info.param.name; });

struct EditorCommandCase {
    const char* name;
    UINT id;
    Via via;
    UINT vk;
    const char* text;   // the editor's text after the command
};

// The editor's own undo takes back the typing since the caret last moved; it
// has no redo of its own, so Redo given to it changes nothing.
const EditorCommandCase kEditorCommands[] = {
    { "UndoByKey", kUndo, Via::Key, 'Z', "YZA" },
    { "UndoByMenu", kUndo, Via::Menu, 0, "YZA" },
    { "RedoByKey", kRedo, Via::Key, 'Y', "YQWZA" },
};

void PrintTo(const EditorCommandCase& c, std::ostream* out) { *out << c.name; }

class EditorAnswers : public OpenEdit, public ::testing::WithParamInterface<EditorCommandCase> {};

// A command the focused editor answers changes no model value: the pane keeps
// its rows and the open edit, the log keeps the step to undo and the one to
// redo, and the editor's text is stored when the edit is committed.
TEST_P(EditorAnswers, ThePaneKeepsTheTyping)
{
    const EditorCommandCase& c = GetParam();
    StartWith();
    // Z stored, X stored and undone.
    for (const char* typed : { "Z", "X" }) {
        ASSERT_NO_FATAL_FAILURE(TypeIntoName(typed));
        PlayKey(VK_RETURN);
        shell.Pump();
    }
    shell.Give(kUndo, Via::ToolBar);
    ASSERT_EQ(NameOf(a), "ZA");
    ASSERT_NO_FATAL_FAILURE(TypeIntoName("Y"));
    PlayKey(VK_LEFT);
    PlayKey(VK_RIGHT);
    PlayText("QW");
    shell.Pump();
    COptionTreeItem* const row = NameRow();
    ASSERT_STREQ(row->GetValueText(), "YQWZA");
    ASSERT_EQ(CWnd::GetFocus(), dynamic_cast<CWnd*>(row));

    shell.Give(c.id, c.via, c.vk, MK_CONTROL);
    ASSERT_EQ(NameRow(), row) << "the pane's rows were built again";
    EXPECT_TRUE(row->IsEditing());
    EXPECT_EQ(CWnd::GetFocus(), dynamic_cast<CWnd*>(row));
    EXPECT_STREQ(row->GetValueText(), c.text);
    EXPECT_EQ(NameOf(a), "ZA");
    EXPECT_EQ(UndoLog::UndoDepth(), 1u);
    EXPECT_EQ(UndoLog::RedoDepth(), 1u);
    EXPECT_TRUE(shell.Screenshot(TestName()));

    PlayKey(VK_RETURN);
    shell.Pump();
    EXPECT_EQ(NameOf(a), c.text);
    EXPECT_EQ(PaneName(), c.text);
    EXPECT_EQ(UndoLog::UndoDepth(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Table, EditorAnswers, ::testing::ValuesIn(kEditorCommands),
                         [](const ::testing::TestParamInfo<EditorCommandCase>& info) { return info.param.name; });

// Page P, whose class symbol reaches x 10000 and y 6000.
const char* kPageWithAClass = "<Class Name=\"A\" GUID=\"GA\"/>\r\n"
                              "<Classdiagram Name=\"D\" GUID=\"GD\">\r\n"
                              "<Page Name=\"P\" GUID=\"GP\">\r\n"
                              "<Class sid=\"S1\" mid=\"GA\" area=\"7D0,7D0,2710,1770\"/>\r\n"
                              "</Page>\r\n"
                              "</Classdiagram>\r\n";

// A value the pane refuses is refused as leaving the field refuses it, with
// its message once and nothing stored; the Undo then goes on to the step
// before.
TEST_F(OpenEdit, UndoWithARefusedEditSaysWhyAndUndoesTheStepBefore)
{
    thePropertyExpandBits = PROPERTY_BASE | PROPERTY_EXTENDED;
    ASSERT_TRUE(shell.Start({ shell.MakeProject("Demo", kPageWithAClass) }));
    a = ElementNamed("P");
    ASSERT_GT(a, 0);
    PropertyPaneShow(a, true);
    shell.Pump();
    UndoLog::Clear();
    ASSERT_NO_FATAL_FAILURE(TypeIntoName("Q"));
    PlayKey(VK_RETURN);
    shell.Pump();
    ASSERT_EQ(NameOf(a), "QP");
    ASSERT_NO_FATAL_FAILURE(ClickValue(RowKeyed("PageWidth")));
    PlayKey('A', MK_CONTROL);
    PlayText("5000");
    shell.Pump();

    shell.Give(kUndo, Via::ToolBar);
    EXPECT_EQ(shell.Messages(), std::vector<std::string>{ "Can't be smaller than (13000, 9000)" });
    EXPECT_EQ(NameOf(a), "P");
    EXPECT_STREQ(RowKeyed("PageWidth")->GetValueText(), "21000");
    EXPECT_EQ(UndoLog::UndoDepth(), 0u);
}

} // namespace
