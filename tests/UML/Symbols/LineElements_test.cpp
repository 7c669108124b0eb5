// The elements behind lines, parts, ports and interface ends: unit files,
// property rows, help pages, moved line ends and deletion from the context
// menu.
#include "SymbolFixture.h"
#include "TestFolder.h"
#include "UnitFile.h"

#include "Controls/OptionTree.h"
#include "Platform/Wnd.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/PageState.h"
#include "UML/Symbols/ExtendedElement.h"

#include <map>
#include <string>

namespace {

class LineElements : public SymbolFixture {
protected:
    LineElements() : SymbolFixture("Compositestructurediagram") {}

    int Box(const char* name, int n)
    {
        return Place("Class", RECT{1000 + 6000 * n, 1000, 1100 + 6000 * n, 1100}, 0, name);
    }

    // Every row of the grid as "key:read-only", by category.
    std::string GridRows(const ModelT& element, bool readOnly)
    {
        grid.DeleteAllItems();
        EXPECT_NE(Prototype(element.Type)->AddElementProperties(element, readOnly, &grid), nullptr);
        std::string rows;
        for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
             category = category->GetNextSibling()) {
            rows += "|";
            for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling())
                rows += std::string(row->GetKey() ? row->GetKey() : "") + ":" + (row->IsReadOnly() ? "1" : "0") + " ";
        }
        return rows;
    }

    void SetUp() override
    {
        SymbolFixture::SetUp();
        ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
        ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    }

    CWnd pane;
    COptionTree grid;
};

TEST_F(LineElements, AUnitFileKeepsAssociationsPartsPortsAndInterfaceEnds)
{
    const int a = Box("A", 0), b = Box("B", 1);
    const int kinds[] = {0, 2, 3};
    for (int kind : kinds) {
        const int line = Connect("Association", a, b, ("r" + std::to_string(kind)).c_str());
        ASSERT_GT(line, 0);
        ASSERT_TRUE(Prototype("Association")
                        ->UpdateElementFields(ElementOf(line).ID, {"Associationkind", std::to_string(kind).c_str(),
                                                                   "Navigable", kind == 2 ? "0" : "1"}));
    }
    ASSERT_GT(Connect("Dependency", a, b, "uses"), 0);
    const int part = Place("Part", RECT{1200, 2000, 1300, 2100}, a, "wheel");
    SymbolT row = Row(part);
    row.Text = "wheel:B[4]";
    ASSERT_TRUE(Prototype("Part")->RenameElement(row));
    const int port = Place("Port", RECT{1000, 1000, 1100, 1100}, a, "p");
    row = Row(port);
    row.Text = "p:B";
    ASSERT_TRUE(Prototype("Port")->RenameElement(row));
    const int drive = Place("Interface", RECT{30000, 1000, 30100, 1100}, 0, "IDrive");
    for (const char* key : {"Realized", "Required"}) {
        const int end = Place(key, RECT{0, 0, 0, 0}, port, "x");
        ASSERT_GT(end, 0);
        row = Row(end);
        row.Text = "IDrive";
        ASSERT_TRUE(Prototype(key)->RenameElement(row));
    }

    const TestFolder folder("line-units");
    const std::string first = folder.path + "lines-1.uml", second = folder.path + "lines-2.uml";
    ASSERT_TRUE(WriteUnit(first, owner));
    const std::string text = TestFolder::Read(first);
    EXPECT_NE(text.find("<Association Name=\"r2\""), std::string::npos);
    EXPECT_NE(text.find(" Associationkind=\"2\""), std::string::npos);
    EXPECT_NE(text.find(" Associationkind=\"3\""), std::string::npos);
    EXPECT_NE(text.find(" Navigable=\"0\""), std::string::npos);
    EXPECT_EQ(text.find(" Navigable=\"1\""), std::string::npos) << "written only when 0";
    EXPECT_NE(text.find(" Multiplicity=\"4\""), std::string::npos);
    EXPECT_NE(text.find(std::string(" Use=\"") + Row(drive).GUID + "\""), std::string::npos);
    const int copy = Prototype("Package")->CreateElement(0, "Loaded", NewGuid(true).c_str(), nullptr);
    ASSERT_FALSE(ReadUnit(first, copy).empty());
    ASSERT_TRUE(WriteUnit(second, copy));
    EXPECT_EQ(TestFolder::Read(second), text);
}

TEST_F(LineElements, PropertyRowsFollowTheLineAndThePort)
{
    const int a = Box("A", 0), b = Box("B", 1);
    const int association = Connect("Association", a, b, "r");
    const std::string rows = GridRows(ElementOf(association), false);
    EXPECT_NE(rows.find("Use:1"), std::string::npos) << "the destination decides the type: " << rows;
    EXPECT_EQ(rows.substr(rows.rfind(' ', rows.size() - 2) + 1), "Navigable:0 ") << "last of the extension rows";
    EXPECT_EQ(GridRows(ElementOf(association), true).find(":0 "), std::string::npos) << "all read-only";

    const int port = Place("Port", RECT{1000, 1000, 1100, 1100}, a, "p");
    EXPECT_EQ(GridRows(ElementOf(port), false).find("Realized"), std::string::npos);
    Place("Realized", RECT{0, 0, 0, 0}, port, "given");
    Place("Required", RECT{0, 0, 0, 0}, port, "needed");
    grid.DeleteAllItems();
    ASSERT_NE(Prototype("Port")->AddElementProperties(ElementOf(port), false, &grid), nullptr);
    // A row without a key is never written back.
    std::map<std::string, std::string> labels;
    for (COptionTreeItem* r = grid.GetRootItem()->GetFirstChild()->GetFirstChild(); r; r = r->GetNextSibling())
        labels[static_cast<const char*>(r->GetLabelText())] =
            r->IsReadOnly() || !r->GetKey() || !*r->GetKey() ? "read-only" : "editable";
    EXPECT_EQ(labels["Port type"], "editable");
    EXPECT_EQ(labels["Realized"], "read-only");
    EXPECT_EQ(labels["Required"], "read-only");
}

TEST_F(LineElements, HelpPagesOfTheLineAndBorderElements)
{
    const TestFolder folder("line-pages");
    const int a = Box("A<&>", 0), b = Box("B", 1);
    const int port = Place("Port", RECT{1000, 1000, 1100, 1100}, a, "p");
    const struct {
        int symbol;
        const char* must;
        const char* mustNot;
    } pages[] = {
        {Connect("Association", a, b, "r"), "Multiplicity", "Navigable"},
        {Connect("Dependency", a, b, "d"), "Visibility", "Extended properties"},
        {Place("Part", RECT{1200, 2000, 1300, 2100}, a, "w"), "Multiplicity", "Navigable"},
        {port, "Visibility", "Extended properties"},
        {Place("Realized", RECT{0, 0, 0, 0}, port, "i"), "Visibility", "Extended properties"},
    };
    for (const auto& p : pages) {
        ASSERT_GT(p.symbol, 0);
        const ModelT element = ElementOf(p.symbol);
        SCOPED_TRACE(element.Type);
        ASSERT_TRUE(Prototype(element.Type)->WriteHtmlPage(folder.path.c_str(), element));
        const std::string page = TestFolder::Read(folder.path + element.Type + std::to_string(element.ID) + ".htm");
        EXPECT_NE(page.find(p.must), std::string::npos);
        EXPECT_EQ(page.find(p.mustNot), std::string::npos);
    }
}

TEST_F(LineElements, AMovedEndRelinksOwnerAndType)
{
    const int a = Box("A", 0), b = Box("B", 1), c = Box("C", 2);
    for (const char* key : {"Dependency", "Association"}) {
        SCOPED_TRACE(key);
        const int line = Connect(key, a, b);
        SymbolT row = Row(line);
        SymbolT target = Row(c);
        ASSERT_TRUE(Prototype(key)->ConnectLineEnd(row, &target, POINT{target.x1, target.y1}, &canvas.dc, 0));
        ASSERT_TRUE(UpdateSymbolFields(line, {"SrcID", row.SrcID}));
        EXPECT_EQ(ElementOf(line).FID, ElementOf(c).ID);
        row = Row(line);
        target = Row(a);
        ASSERT_TRUE(Prototype(key)->ConnectLineEnd(row, &target, POINT{target.x1, target.y1}, &canvas.dc, 1));
        EXPECT_STREQ(ElementOf(line).Use, Row(a).GUID);
    }
}

TEST_F(LineElements, DeleteFromTheContextMenuKeepsTheElementAndShiftDeleteRemovesIt)
{
    CDiagramController* controller = ShowPage();
    ASSERT_NE(controller, nullptr);
    const int a = Box("A", 0), b = Box("B", 1);
    for (bool withElement : {false, true}) {
        SCOPED_TRACE(withElement ? "Shift+Delete" : "Delete");
        const int line = Connect("Association", a, b, "r");
        const SymbolT row = Row(line);
        const std::string guid = row.GUID;
        controller->SetSelection(page, false, 0);
        ASSERT_TRUE(controller->OnContextMenu(0, POINT{(row.x1 + row.x2) / 2, row.y1}, &canvas.dc, nullptr,
                                              POINT{0, 0}));
        bool offered = false;
        for (const ContextMenuItem& item : controller->GetContextMenu())
            offered = offered || item.commandId == 32773;
        ASSERT_TRUE(offered) << "Delete on the line's menu";
        ASSERT_TRUE(Row(line).ItemState & SYMBOL_CHECKED);
        EXPECT_TRUE(controller->DeleteSelection(withElement, &canvas.dc));
        SymbolT gone;
        EXPECT_FALSE(FetchSymbolById(line, gone));
        ModelT element;
        EXPECT_EQ(FetchElementByGuid(guid.c_str(), element), !withElement);
        EXPECT_TRUE(FetchSymbolById(a, gone) && FetchSymbolById(b, gone)) << "the ends stay";
    }
}

} // namespace
