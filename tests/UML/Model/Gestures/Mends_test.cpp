#include "ClassDiagram.h"
#include "MemDB/dbCursor.h"
#include "Platform/Messages.h"
#include "TestSymbols.h"
#include "UML/Model/PageCanvas.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A class diagram page with rows made directly; the controller is driven
// without a window.
class Gestures : public ::testing::Test {
protected:
    void SetUp() override
    {
        controller = OpenClassDiagram(1);
        ASSERT_NE(controller, nullptr);
        theNextElementId = 100;
        theNextSymbolId = 100;
    }
    void TearDown() override { PlacementTool::Reset(); }

    static void AddElement(int id, int fid, const char* type, const char* guid, int state = 0)
    {
        InsertElement(id, fid, type, guid, MMC_CLASS, state);
    }
    static void AddBox(int id, int fid, const char* sguid, const char* guid, RECT r, const char* type = "Class")
    {
        InsertSymbol({3, id, fid, type, sguid, guid, r});
    }
    static void AddLine(int id, const char* src, const char* dest, RECT r, const char* nodes)
    {
        InsertSymbol({3, id, 0, "Association", "G-LINE", "", r, MSC_LINE, 0, src, dest, nodes});
    }
    static bool Exists(int id) { return SymbolExists(id); }
    static SymbolT Row(int id) { return SymbolRow(id); }
    int Lines()
    {
        int n = 0;
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", 3) > 0)
            do
                n += c->MSC == MSC_LINE;
            while (c.Next());
        return n;
    }
    void Paint() { controller->DrawPage(&canvas.dc); }

    CDiagramController* controller = nullptr;
    PageCanvas canvas{700, 1020};
};

TEST_F(Gestures, AHandleActsOnTheSymbolThatDrewIt)
{
    AddBox(1, 0, "G-X", "", RECT{1000, 1000, 3000, 2000});
    AddBox(2, 0, "G-Y", "", RECT{6000, 1000, 8000, 2000});
    controller->SetSelection(3, true, -1);
    ASSERT_EQ(controller->GetSelectionCount(), 2);
    controller->Current.Set(Row(2));
    Paint();
    EXPECT_EQ(controller->OnMouseDown(MK_LBUTTON, POINT{2980, 1980}, &canvas.dc), 0);
    EXPECT_EQ(controller->Mode, CDiagramController::ResizeBox);
    EXPECT_EQ(controller->Current.rec.ID, 1);
    controller->OnMouseMove(MK_LBUTTON, POINT{4000, 2500}, &canvas.dc);
    EXPECT_EQ(controller->OnMouseUp(0, POINT{4000, 2500}, &canvas.dc), CDiagramController::ModelChanged);
    EXPECT_EQ(Row(1).x2, 4000);
    EXPECT_EQ(Row(2).x2, 8000);
}

TEST_F(Gestures, ASymbolInsideASelectedOneMovesOnce)
{
    AddBox(1, 0, "G-OUTER", "", RECT{1000, 1000, 5000, 5000});
    AddBox(2, 1, "G-INNER", "", RECT{2000, 2000, 3000, 3000});
    controller->SetSelection(3, true, -1);
    EXPECT_TRUE(controller->MoveSelection(&canvas.dc, 500, 0));
    EXPECT_EQ(Row(1).x1, 1500);
    EXPECT_EQ(Row(2).x1, 2500);
    // Against the right edge a symbol stops with x2 on the usable width.
    EXPECT_TRUE(controller->MoveSelection(&canvas.dc, 90000, 0));
    EXPECT_EQ(Row(1).x2, thePageState.UsableWidth);
}

TEST_F(Gestures, ANewLineNeedsASourceAcceptedByItsOwnPress)
{
    AddElement(10, 1, "Class", "G-EA");
    AddElement(11, 1, "Class", "G-EB");
    AddBox(1, 0, "G-A", "G-EA", RECT{1000, 1000, 3000, 2000});
    AddBox(2, 0, "G-B", "G-EB", RECT{8000, 1000, 10000, 2000});
    CSymbol* line = nullptr;
    ASSERT_TRUE(FindMetaclass("Association", line));
    // An earlier gesture left A remembered as a source.
    ASSERT_TRUE(line->CanConnect(Row(1), true));
    struct Case {
        const char* name;
        POINT press;
        int lines;
    } const cases[] = {
        {"a press on empty space starts nothing", POINT{5000, 8000}, 0},
        {"a press on A starts the line", POINT{2000, 1500}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementTool::SelectKind(line->metaIndex + 1);
        EXPECT_EQ(controller->OnMouseDown(MK_LBUTTON, c.press, &canvas.dc), CDiagramController::SymbolCreated);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::LineStarted);
        EXPECT_EQ(controller->OnMouseUp(0, POINT{9000, 1500}, &canvas.dc), CDiagramController::SymbolCreated);
        EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
        EXPECT_EQ(Lines(), c.lines);
    }
}

TEST_F(Gestures, DeletingWithElementsNeverLeavesASelectedSymbol)
{
    AddElement(10, 1, "Class", "G-FIXED", ITEM_FIXED);
    AddElement(11, 1, "Class", "G-FREE");
    AddBox(1, 0, "G-S1", "G-FIXED", RECT{1000, 1000, 3000, 2000});
    AddBox(2, 0, "G-S2", "", RECT{4000, 1000, 6000, 2000}, "Comment");
    AddBox(3, 0, "G-S3", "G-FREE", RECT{7000, 1000, 9000, 2000});
    AddBox(4, 0, "G-S4", "G-FREE", RECT{7000, 5000, 9000, 6000});
    AddBox(5, 1, "G-S5", "", RECT{1500, 1500, 2000, 1800}, "Comment");
    controller->SetSelection(3, true, -1);
    UndoLog::NewGroup();
    EXPECT_TRUE(controller->DeleteSelection(true, &canvas.dc));
    for (int id : {1, 2, 3, 4, 5})
        EXPECT_FALSE(Exists(id)) << id;
    EXPECT_TRUE(ElementExists("G-FIXED")) << "a fixed element stays";
    EXPECT_FALSE(ElementExists("G-FREE"));
    EXPECT_EQ(controller->GetSelectionCount(), 0);
    EXPECT_FALSE(controller->DeleteSelection(true, &canvas.dc)) << "nothing selected";
}

TEST_F(Gestures, CursorsAndResultsWhileHovering)
{
    AddBox(1, 0, "G-A", "", RECT{1000, 1000, 3000, 2000});
    AddBox(2, 0, "G-B", "", RECT{8000, 1000, 10000, 2000});
    AddLine(3, "G-A", "G-B", RECT{3000, 1500, 8000, 1500}, "157C,BB8");
    struct Case {
        const char* name;
        int selected;
        UINT flags;
        POINT at;
        int cursor;
    } const cases[] = {
        {"a box corner", 1, 0, POINT{2990, 1990}, 8},
        {"a line end", 3, 0, POINT{8000, 1500}, 6},
        {"a bend point", 3, 0, POINT{5500, 3000}, 6},
        {"Ctrl over a bend point", 3, MK_CONTROL, POINT{5500, 3000}, 3},
        {"Ctrl over the line", 3, MK_CONTROL, POINT{4000, 2100}, 2},
        {"nothing", 3, 0, POINT{4000, 9000}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        controller->SetSelection(3, false, -1);
        controller->SetSelection(3, true, c.selected);
        controller->Current.Set(Row(c.selected));
        Paint();
        EXPECT_EQ(controller->OnMouseMove(c.flags, c.at, &canvas.dc), 0);
        EXPECT_EQ(controller->GetCursorIndex(), c.cursor);
    }
    controller->Mode = CDiagramController::Idle;
    EXPECT_EQ(controller->OnMouseMove(MK_LBUTTON, POINT{100, 100}, &canvas.dc), CDiagramController::ModelChanged);
}

TEST_F(Gestures, BrowserDropsFollowTheDiagramKindsRules)
{
    AddElement(10, 1, "Class", "G-DROPPED");
    AddElement(11, 1, "Package", "G-PACKAGE");
    AddElement(12, 10, "Attribute", "G-MEMBER");
    CDiagramController* anatomy = nullptr;
    ASSERT_TRUE(FindDiagramController("Anatomydiagram", anatomy));
    CSymbol* package = nullptr;
    ASSERT_TRUE(FindMetaclass("Packagediagram", package));
    EXPECT_EQ(anatomy->KindPrototype, package) << "an anatomy diagram follows the package diagram's rules";
    struct Case {
        CDiagramController* kind;
        int element;
        const char* metaclass;
        int mode;
    } const cases[] = {
        {controller, 10, "Class", CDiagramController::DropAllowed},
        {controller, 11, "Package", CDiagramController::DropAllowed},
        {controller, 12, "Attribute", CDiagramController::DropAllowed},
        {controller, 2, "Classdiagram", CDiagramController::DropRefused},
        {anatomy, 11, "Package", CDiagramController::DropAllowed},
        {anatomy, 12, "Attribute", CDiagramController::DropRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.metaclass);
        c.kind->Attach(1, 2, nullptr);
        c.kind->OpenPage(2, 3);
        PlacementTool::BeginDrag(c.element, c.metaclass);
        EXPECT_EQ(PlacementTool::GetDraggedElement(), c.element);
        EXPECT_EQ(c.kind->OnMouseMove(MK_LBUTTON, POINT{5000, 9000}, &canvas.dc), 0);
        EXPECT_EQ(c.kind->Mode, c.mode);
        EXPECT_EQ(c.kind->GetCursorIndex(), c.mode);
        PlacementTool::Reset();
    }
    // Released on an empty spot of the anatomy diagram, a package is shown.
    PlacementTool::BeginDrag(11, "Package");
    anatomy->OnMouseMove(MK_LBUTTON, POINT{5000, 9000}, &canvas.dc);
    EXPECT_EQ(anatomy->OnMouseUp(0, POINT{5000, 9000}, &canvas.dc), CDiagramController::SymbolCreated);
    EXPECT_EQ(PlacementTool::GetMode(), PlacementTool::None);
    dbTypedCursor<SymbolT> shown(&SymbolT::TableInfo);
    EXPECT_GT(shown.SelectByKey("PID", 3), 0);
    EXPECT_STREQ(shown->Type, "Package");
}

} // namespace

namespace {

std::vector<unsigned> Commands(const std::vector<ContextMenuItem>& items)
{
    std::vector<unsigned> out;
    for (const ContextMenuItem& i : items) {
        out.push_back(i.commandId ? i.commandId : i.captionStringId);
        for (const ContextMenuItem& sub : i.submenu)
            out.push_back(sub.commandId);
    }
    return out;
}

TEST_F(Gestures, TheContextMenuAndDoubleClickFollowWhatIsUnderTheMouse)
{
    AddElement(10, 1, "Class", "G-EA");
    AddElement(11, 1, "Attribute", "G-EB");
    {
        ModelT typed;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", 11), 0);
        typed = *c.GetRecord();
        typed.Use = "G-EA";
        theModelDb.UpdateRecord(c.GetCurrentOid(), &ModelT::TableInfo, &typed);
    }
    AddBox(1, 0, "G-A", "G-EB", RECT{1000, 1000, 3000, 2000}, "Interface");
    int located = 0;
    static int* where = nullptr;
    where = &located;
    theShellHooks.LocateElement = [](int id) { *where = id; };
    struct Case {
        POINT at;
        std::vector<unsigned> menu;
        UINT flags;
        int located;
    } const cases[] = {
        {POINT{2000, 1500}, {57634, 57635, 57637, 32773, 57642, 61505, 32787, 32788, 32789}, 0, 11},
        {POINT{2000, 1500}, {57634, 57635, 57637, 32773, 57642, 61505, 32787, 32788, 32789}, MK_CONTROL, 10},
        {POINT{9000, 9000}, {57637, 57642, 61505, 32787, 32788, 32789}, 0, 0},
    };
    for (const Case& c : cases) {
        located = 0;
        EXPECT_TRUE(controller->OnContextMenu(c.flags, c.at, &canvas.dc, nullptr, POINT{0, 0}));
        EXPECT_EQ(Commands(controller->GetContextMenu()), c.menu);
        if (c.located) {
            EXPECT_TRUE(Row(1).ItemState & SYMBOL_CHECKED) << "the menu selects the symbol under it";
        }
        controller->OnDoubleClick(c.flags, c.at, &canvas.dc);
        EXPECT_EQ(located, c.located) << "Ctrl shows the element it uses";
    }
    ResetShellHooks();
}

} // namespace

namespace {

TEST_F(Gestures, LabelsMoveAndBendPointsGoWithCtrl)
{
    AddBox(1, 0, "G-A", "", RECT{1000, 1000, 3000, 2000});
    AddBox(2, 0, "G-B", "", RECT{8000, 1000, 10000, 2000});
    InsertSymbol({3, 3, 0, "Association", "G-LINE", "", RECT{3000, 1500, 8000, 1500}, MSC_LINE,
                  SYMBOL_AUTOLAYOUT, "G-A", "G-B", "157C,BB8"});
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", 3), 0);
        SymbolT row = *c.GetRecord();
        row.tx1 = 5000;
        row.ty1 = 800;
        row.tx2 = 6000;
        row.ty2 = 1100;
        theModelDb.UpdateRecord(c.GetCurrentOid(), &SymbolT::TableInfo, &row);
    }
    EXPECT_EQ(controller->OnMouseDown(MK_LBUTTON, POINT{5500, 900}, &canvas.dc), CDiagramController::SelectionChanged);
    EXPECT_EQ(controller->Mode, CDiagramController::MoveLabel);
    controller->OnMouseMove(MK_LBUTTON, POINT{5700, 600}, &canvas.dc);
    EXPECT_EQ(controller->OnMouseUp(0, POINT{5700, 600}, &canvas.dc), CDiagramController::ModelChanged);
    const SymbolT moved = Row(3);
    EXPECT_EQ(moved.tx1, 5200);
    EXPECT_EQ(moved.ty1, 500);
    EXPECT_FALSE(moved.ItemState & SYMBOL_AUTOLAYOUT) << "a moved label keeps its place";

    Paint();
    EXPECT_EQ(controller->OnMouseDown(MK_LBUTTON | MK_CONTROL, POINT{5500, 3000}, &canvas.dc),
              CDiagramController::BendPointRemoved);
    controller->OnMouseUp(MK_CONTROL, POINT{5500, 3000}, &canvas.dc);
    EXPECT_STREQ(Row(3).Nodes, "");

    controller->SetSelection(3, false, -1);
    EXPECT_TRUE(controller->SelectAll());
    EXPECT_EQ(controller->GetSelectionCount(), 3);
    EXPECT_FALSE(controller->SelectAll()) << "nothing left to select";
}

} // namespace
