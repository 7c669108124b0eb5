// No edit is lost to a command: a menu choice, a key or a toolbar button
// leaves the focus in the property pane's editor, so the editor's own
// focus-loss commit never comes; the commands that save, close, open or run
// a script end it first. Undo and Redo read the pane's rows again, so a
// stale row is never written back over the replayed values.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/PropertyPane.h"
#include "App/ShellServices.h"
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

COptionTreeItem* NameRow()
{
    COptionTreeItem* base = thePropertyPane->GetRootItem()->GetFirstChild();
    for (COptionTreeItem* row = base ? base->GetFirstChild() : nullptr; row; row = row->GetNextSibling()) {
        if (row->GetKey() && std::string(row->GetKey()) == "Name")
            return row;
    }
    return nullptr;
}

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
        COptionTreeItem* row = NameRow();
        ASSERT_NE(row, nullptr);
        CPoint p = row->GetValueRect().CenterPoint();
        thePropertyPane->GetListWnd()->ClientToScreen(&p);
        PlayMouse(WM_LBUTTONDOWN, p);
        PlayMouse(WM_LBUTTONUP, p);
        shell.Pump();
        ASSERT_TRUE(row->IsEditing());
        PlayText(typed);
        shell.Pump();
        ASSERT_EQ(NameOf(a), "A");
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

} // namespace
