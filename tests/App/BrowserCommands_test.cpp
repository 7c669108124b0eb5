// The model browser's commands in the running shell: Delete, Copy, Cut and
// Paste through the element clipboard, Move Up and Down, Save As, loading
// and removing libraries, and the answer without a selection.
#include "BrowserDriver.h"

#include "App/ElementClipboard.h"
#include "App/ShellServices.h"
#include "App/VexalApp.h"
#include "App/VexalView.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbEngine.h"
#include "Platform/Clipboard.h"
#include "Platform/GlobalMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

namespace {

const UINT kDelete = 32773, kCopy = 57634, kCut = 57635, kPaste = 57637, kUndo = 57643, kMoveUp = 32790,
           kMoveDown = 32791, kSaveAs = 57604, kLoadLibrary = 32800, kRemoveLibrary = 32801;
const std::string kHeader = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

const char* kElements = "<Package Name=\"Pkg\" GUID=\"G10\">\r\n"
                        "<Class Name=\"Alpha\" GUID=\"G11\">\r\n"
                        "<Attribute Name=\"a1\" GUID=\"G14\"/>\r\n"
                        "</Class>\r\n"
                        "<Class Name=\"Beta\" GUID=\"G12\"/>\r\n"
                        "</Package>\r\n"
                        "<Package Name=\"Sub\" GUID=\"G20\" File=\"sub.uml\"/>\r\n"
                        "<Class Name=\"Gamma\" GUID=\"G13\"/>\r\n"
                        "<Package Name=\"Holder\" GUID=\"G30\">\r\n"
                        "<Classdiagram Name=\"D\" GUID=\"G6\">\r\n"
                        "<Page Name=\"P1\" GUID=\"G7\"/>\r\n"
                        "</Classdiagram>\r\n"
                        "</Package>\r\n"
                        "<Package Name=\"Order\" GUID=\"G40\">\r\n"
                        "<Class Name=\"A\" GUID=\"G41\"/>\r\n"
                        "<Class Name=\"B\" GUID=\"G42\"/>\r\n"
                        "<Class Name=\"C\" GUID=\"G43\"/>\r\n"
                        "<Class Name=\"D4\" GUID=\"G44\"/>\r\n"
                        "</Package>\r\n";

std::string Unit(const std::string& elements)
{
    return kHeader + "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n" + elements + "</uml>\r\n";
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell.WriteFile("Tree/sub.uml", Unit("<Class Name=\"Inner\" GUID=\"G21\"/>\r\n"));
        shell.WriteFile("Tree/lib.uml", Unit("<Class Name=\"Shelf\" GUID=\"G50\"/>\r\n"));
        ASSERT_TRUE(shell.Start({shell.MakeProject("Tree", kElements)}));
        ASSERT_GT(Id("Inner"), 0);
        browser().SetFocus();
    }
    CModelBrowser& browser() const { return ui.Browser(); }
    static int Id(const char* name) { return BrowserDriver::Id(name); }
    void SelectOnly(std::vector<int> ids)
    {
        browser().Select(0, 0);
        for (int id : ids)
            browser().Select(id, CModelBrowser::SelectCheck | CModelBrowser::SelectKeep);
    }
    std::vector<std::string> Children(int owner) const
    {
        std::vector<std::string> names;
        for (int id : ChildElementIds(owner))
            names.push_back(BrowserDriver::Name(id));
        return names;
    }
    void ChooseFile(DialogKind kind, const std::string& path)
    {
        shell.Queue({kind, IDOK, [path](DialogRequest& request) {
                         auto* ofn = static_cast<OPENFILENAME*>(request.data);
                         std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", path.c_str());
                     }});
    }
    // The block on the clipboard under the element format.
    std::vector<char> ClipboardBlock() const
    {
        std::vector<char> bytes;
        if (!OpenClipboard(nullptr))
            return bytes;
        if (auto* block = static_cast<HGLOBAL>(GetClipboardData(theMdlClipboardFormat))) {
            const auto* data = static_cast<const char*>(GlobalLock(block));
            bytes.assign(data, data + GlobalSize(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return bytes;
    }
    void PutOnClipboard(const std::vector<char>& bytes) const
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(theMdlClipboardFormat, block);
        CloseClipboard();
    }

    ShellHarness shell;
    BrowserDriver ui{shell};
};

// Diagrams open inside a deleted package close with it; fixed elements of
// the selection stay; an undo brings the package back.
TEST_F(Commands, DeleteRemovesTheSubtreesAndClosesTheirDiagrams)
{
    const int holder = Id("Holder"), diagram = Id("D"), gamma = Id("Gamma"), integer = Id("Integer");
    ASSERT_TRUE(OpenDiagram(diagram, 0));
    ASSERT_EQ(GetMainView()->GetDiagramId(), diagram);
    ModifiedUnits::Mark(theModelRootId, 0);
    SelectOnly({holder, gamma, integer});
    ui.Command(kDelete);
    EXPECT_EQ(Id("Holder"), 0);
    EXPECT_EQ(Id("D"), 0);
    EXPECT_EQ(Id("Gamma"), 0);
    EXPECT_EQ(Id("Integer"), integer) << "a predefined element stays";
    EXPECT_EQ(GetMainView()->GetDiagramId(), 0);
    EXPECT_TRUE(shell.Frame()->GetOpenDiagramList().empty());
    EXPECT_TRUE(browser().GetSelection().empty());
    EXPECT_TRUE(ModifiedUnits::IsModified(theModelRootId));
    ui.Command(kUndo);
    EXPECT_GT(Id("Holder"), 0);
    EXPECT_GT(Id("D"), 0);
}

TEST_F(Commands, CopyLeavesFixedElementsOutAndPasteMakesNewElementsUnderTheTarget)
{
    const int pkg = Id("Pkg");
    SelectOnly({Id("Integer"), Id("Float")});
    ui.Command(kCopy);
    EXPECT_EQ(ClipboardBlock().size(), size_t(DbNameSize)) << "only the run's name";
    SelectOnly({pkg});
    ui.Command(kPaste);
    EXPECT_EQ(Children(pkg), (std::vector<std::string>{"Alpha", "Beta"}));

    const int sub = Id("Sub"), gamma = Id("Gamma");
    SelectOnly({sub, gamma});
    ui.Command(kCopy);
    SelectOnly({pkg});
    ui.Command(kPaste);
    ui.Command(kPaste);
    EXPECT_EQ(Children(pkg), (std::vector<std::string>{"Alpha", "Beta", "Sub", "Gamma", "Sub", "Gamma"}));
    std::set<int> ids;
    std::set<std::string> guids{"G20", "G13"};
    for (int id : ChildElementIds(pkg)) {
        const ModelT e = BrowserDriver::Element(id);
        ids.insert(e.ID);
        guids.insert(e.GUID);
        EXPECT_STREQ(e.File, "") << "a pasted element is no unit root";
        EXPECT_FALSE(e.ItemState & ITEM_CHECKED);
        EXPECT_EQ(ModifiedUnits::FindUnitRoot(id), theModelRootId);
    }
    EXPECT_EQ(ids.size(), 6u);
    EXPECT_EQ(guids.size(), 8u) << "every copy has a GUID of its own";
    EXPECT_EQ(Children(sub), std::vector<std::string>{"Inner"}) << "children are not copied";
}

TEST_F(Commands, PasteStopsAtAnEntryTheTargetMayNotOwn)
{
    const int beta = Id("Beta"), pkg = Id("Pkg");
    SelectOnly({Id("Alpha"), Id("a1"), beta});
    ui.Command(kCopy);
    SelectOnly({pkg});
    ui.Command(kPaste);
    EXPECT_EQ(Children(pkg), (std::vector<std::string>{"Alpha", "Beta", "Alpha"})) << "the attribute ends the paste";

    SelectOnly({Id("a1")});
    ui.Command(kCopy);
    SelectOnly({beta});
    ui.Command(kPaste);
    ASSERT_EQ(Children(beta), std::vector<std::string>{"a1"});
    dbTypedCursor<ModelAttribute> extension(&ModelAttribute::TableInfo);
    EXPECT_GT(extension.SelectByKey("ID", ChildElementIds(beta).front()), 0) << "with its extension row";
}

TEST_F(Commands, PasteRefusesFixedTargetsButTheModelRootAndBlocksOfOtherRuns)
{
    SelectOnly({Id("Gamma")});
    ui.Command(kCopy);
    std::vector<char> block = ClipboardBlock();
    ASSERT_GT(block.size(), size_t(DbNameSize));
    struct Case {
        const char* name;
        int target;
        bool otherRun;
        size_t pasted;
    } const cases[] = {
        {"a predefined element", Id("Integer"), false, 0},
        {"the Predefined root", thePredefinedRootId, false, 0},
        {"the Model root", theModelRootId, false, 1},
        {"a block of another run", theModelRootId, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> bytes = block;
        bytes[0] = c.otherRun ? char(bytes[0] ^ 1) : bytes[0];
        PutOnClipboard(bytes);
        const size_t before = ChildElementIds(c.target).size();
        SelectOnly({c.target});
        ui.Command(kPaste);
        EXPECT_EQ(ChildElementIds(c.target).size() - before, c.pasted);
    }
}

TEST_F(Commands, CutMovesTheElementsThroughTheClipboard)
{
    const int gamma = Id("Gamma"), pkg = Id("Pkg");
    SelectOnly({gamma});
    ui.Command(kCut);
    EXPECT_EQ(Id("Gamma"), 0);
    SelectOnly({pkg});
    ui.Command(kPaste);
    EXPECT_EQ(Children(pkg), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
}

// Order holds A, B, C, D4; each case starts from that order.
TEST_F(Commands, MoveUpAndDownSwapWithTheNeighbouringSibling)
{
    const int order = Id("Order");
    const std::vector<int> original = ChildElementIds(order);
    std::vector<int> sns;
    for (int id : original)
        sns.push_back(BrowserDriver::Element(id).SN);
    struct Case {
        const char* name;
        std::vector<const char*> selection;
        UINT command;
        std::vector<std::string> result;
        bool moved;
    } const cases[] = {
        {"up one step", {"B"}, kMoveUp, {"B", "A", "C", "D4"}, true},
        {"the first stays", {"A"}, kMoveUp, {"A", "B", "C", "D4"}, false},
        {"two adjacent keep their order", {"B", "C"}, kMoveUp, {"B", "C", "A", "D4"}, true},
        {"a block at the top stays", {"A", "B"}, kMoveUp, {"A", "B", "C", "D4"}, false},
        {"down one step", {"C"}, kMoveDown, {"A", "B", "D4", "C"}, true},
        {"the last stays", {"D4"}, kMoveDown, {"A", "B", "C", "D4"}, false},
        {"two adjacent down", {"B", "C"}, kMoveDown, {"A", "D4", "B", "C"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t i = 0; i < original.size(); ++i) {
            ModelT row;
            oid_t oid = 0;
            ASSERT_TRUE(FetchElementById(original[i], row, &oid));
            row.SN = sns[i];
            theModelDb.UpdateRecord(oid, &ModelT::TableInfo, &row);
        }
        std::vector<int> ids;
        for (const char* name : c.selection)
            ids.push_back(Id(name));
        SelectOnly(ids);
        ModifiedUnits::Mark(theModelRootId, 0);
        const size_t depth = UndoLog::UndoDepth();
        ui.Command(c.command);
        EXPECT_EQ(Children(order), c.result);
        EXPECT_EQ(UndoLog::UndoDepth(), depth) << "a move is not undoable";
        EXPECT_EQ(ModifiedUnits::IsModified(theModelRootId) != 0, c.moved);
    }
}

TEST_F(Commands, SaveAsStoresTheElementInsideTheProjectFolderOnly)
{
    ChooseFile(DialogKind::FileOpen, shell.Folder() + "Tree/lib.uml");
    ui.Command(kLoadLibrary);
    ASSERT_GT(Id("Shelf"), 0);
    const std::string dir = shell.Folder() + "Tree/";
    struct Case {
        const char* name;
        std::string path;
        const char* file;   // the element's File after
        std::string reason; // the end of the message, "" for none
    } const cases[] = {
        {"outside the folder", shell.Folder() + "elsewhere.uml", "", "the file lies outside the project folder"},
        {"the project file", dir + "Tree.fup", "", "it is the project file"},
        {"the model unit", dir + "Tree.uml", "", "it is the file of the unit \"Model\""},
        {"another unit, through dots", dir + "parts/../sub.uml", "", "it is the file of the unit \"Sub\""},
        {"a library", dir + "lib.uml", "", "it is the file of the library \"lib\""},
        {"the predefined unit", shell.Folder() + "cfg/predefined.uml", "", "it is the file of the predefined unit"},
        {"a name differing in case only is another file", dir + "SUB.uml", "SUB.uml", ""},
        {"a file of its own", dir + "parts/pkg.uml", "parts/pkg.uml", ""},
    };
    const int pkg = Id("Pkg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModifiedUnits::SetUnitFile(pkg, "");
        ModifiedUnits::Mark(theModelRootId, 0);
        SelectOnly({pkg});
        const size_t lines = shell.Messages().size();
        ChooseFile(DialogKind::FileSave, c.path);
        browser().SendMessage(WM_COMMAND, kSaveAs);
        EXPECT_STREQ(BrowserDriver::Element(pkg).File, c.file);
        const std::vector<std::string> messages = shell.Messages();
        if (c.reason.empty()) {
            EXPECT_EQ(messages.size(), lines);
            EXPECT_TRUE(ModifiedUnits::IsModified(theModelRootId));
            EXPECT_TRUE(ModifiedUnits::IsModified(pkg));
        } else {
            ASSERT_EQ(messages.size(), lines + 1);
            EXPECT_EQ(messages.back(), "Cannot save \"Pkg\" as " + c.path + ": " + c.reason);
            EXPECT_FALSE(ModifiedUnits::IsModified(theModelRootId));
        }
    }
}

TEST_F(Commands, ALibraryLoadsOnceAndRemovingItLeavesItsFile)
{
    const std::string dir = shell.Folder() + "Tree/";
    for (const std::string& path : {dir + "lib.uml", dir + "lib.uml", dir + "./lib.uml", dir + "Tree.uml"}) {
        SCOPED_TRACE(path);
        ChooseFile(DialogKind::FileOpen, path);
        ui.Command(kLoadLibrary);
        EXPECT_EQ(Children(theLibraryRootId), std::vector<std::string>{"lib"});
    }
    EXPECT_EQ(Children(Id("Pkg")), (std::vector<std::string>{"Alpha", "Beta"})) << "the model unit was not loaded again";

    SelectOnly({Id("Gamma")});
    ui.Command(kRemoveLibrary);
    EXPECT_GT(Id("Gamma"), 0) << "a model element is no library";
    ModifiedUnits::Mark(theProjectRootId, 0);
    SelectOnly({Id("lib")});
    ui.Command(kRemoveLibrary);
    EXPECT_TRUE(Children(theLibraryRootId).empty());
    EXPECT_EQ(Id("Shelf"), 0);
    EXPECT_TRUE(ModifiedUnits::IsModified(theProjectRootId));
    EXPECT_TRUE(std::filesystem::exists(dir + "lib.uml"));
}

TEST_F(Commands, CommandsThatNeedASelectionSaySo)
{
    const int gamma = Id("Gamma");
    for (UINT command : {kDelete, kCut, kCopy, kPaste, kMoveUp, kMoveDown, kRemoveLibrary}) {
        SCOPED_TRACE(command);
        browser().Select(0, 0);
        const size_t lines = shell.Messages().size();
        ui.Command(command);
        const std::vector<std::string> messages = shell.Messages();
        ASSERT_EQ(messages.size(), lines + 1);
        EXPECT_EQ(messages.back(), "Please select an item");
        EXPECT_EQ(Id("Gamma"), gamma);
    }
}

} // namespace
