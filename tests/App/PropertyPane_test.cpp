// The property pane in the running shell: which categories a selection
// shows and in which order, the expanded set, and what a commit writes,
// marks and records for undo.
#include "ElementNamed.h"
#include "ShellHarness.h"

#include "App/PropertyPane.h"
#include "App/ShellServices.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "File/ModifiedUnits.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Resource.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// A class with a symbol, an initial node without element, and two
// stereotypes of classes with a tag each; B carries S1 with a value.
const char* kElements =
    "<Class Name=\"A\" GUID=\"GA\"/>\r\n"
    "<Class Name=\"B\" GUID=\"GB\" Stereotype=\"ST1\">\r\n"
    "<Stereo SSGUID=\"T1\" Value=\"v1\"/>\r\n"
    "</Class>\r\n"
    "<Stereotype Name=\"S1\" GUID=\"ST1\" Use=\"Class\">\r\n"
    "<Attribute Name=\"t1\" GUID=\"T1\"/>\r\n"
    "</Stereotype>\r\n"
    "<Stereotype Name=\"S2\" GUID=\"ST2\" Use=\"Class\">\r\n"
    "<Attribute Name=\"t2\" GUID=\"T2\"/>\r\n"
    "</Stereotype>\r\n"
    "<Classdiagram Name=\"D\" GUID=\"GD\">\r\n"
    "<Page Name=\"P\" GUID=\"GP\">\r\n"
    "<Class sid=\"S1\" mid=\"GA\" area=\"7D0,7D0,2710,1770\" text=\"A\"/>\r\n"
    "<Initial sid=\"S2\" area=\"2EE0,7D0,3070,960\" text=\"\"/>\r\n"
    "</Page>\r\n"
    "</Classdiagram>\r\n";

int SymbolOfType(const char* type)
{
    dbQueryText q;
    q.Append(dbFragText, "Type=").AppendString(type);
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0 ? c->ID : 0;
}

std::vector<std::string> Categories(CPropertyPane& pane)
{
    std::vector<std::string> labels;
    for (COptionTreeItem* row = pane.GetRootItem()->GetFirstChild(); row; row = row->GetNextSibling())
        labels.push_back(row->GetLabelText().GetString());
    return labels;
}

COptionTreeItem* Category(CPropertyPane& pane, const char* label)
{
    for (COptionTreeItem* row = pane.GetRootItem()->GetFirstChild(); row; row = row->GetNextSibling()) {
        if (row->GetLabelText() == label)
            return row;
    }
    return nullptr;
}

COptionTreeItem* RowKeyed(COptionTreeItem* category, const char* key)
{
    for (COptionTreeItem* row = category ? category->GetFirstChild() : nullptr; row; row = row->GetNextSibling()) {
        if (row->GetKey() && std::string(row->GetKey()) == key)
            return row;
    }
    return nullptr;
}

std::vector<std::string> ValuesOf(int owner)
{
    std::vector<std::string> values;
    dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
    for (int n = c.SelectByKey("OID", owner); n > 0; --n, c.Next())
        values.push_back(std::string(c->SSGUID) + "=" + c->Value);
    return values;
}

class PropertyPane : public ::testing::Test {
protected:
    void SetUp() override
    {
        thePropertyExpandBits = 0;
        ASSERT_TRUE(shell.Start({ shell.MakeProject("Props", kElements) }));
        pane = thePropertyPane;
        ASSERT_NE(pane, nullptr);
        classSymbol = SymbolOfType("Class");
        initialSymbol = SymbolOfType("Initial");
        ASSERT_GT(classSymbol, 0);
        ASSERT_GT(initialSymbol, 0);
    }

    // An edit of the row: its editor opened, the value set as the user
    // would, and committed; the grid tells the main window, which hands the
    // commit to the pane.
    template <class Row>
    static void Edit(Row* row, std::function<void(Row*)> set)
    {
        row->BeginEdit();
        set(row);
        row->CommitChanges(TRUE);
    }

    ShellHarness shell;
    CPropertyPane* pane = nullptr;
    int classSymbol = 0, initialSymbol = 0;
};

TEST_F(PropertyPane, ASymbolShowsItsElementsRowsFirstAndOneWithoutElementOnlyItsOwn)
{
    PropertyPaneShow(classSymbol, false);
    std::vector<std::string> categories = Categories(*pane);
    ASSERT_GE(categories.size(), 2u);
    EXPECT_EQ(categories.front(), "Base properties");
    EXPECT_EQ(categories.back(), "Symbol Property");
    EXPECT_EQ(std::string(RowKeyed(Category(*pane, "Base properties"), "Name")->GetValueText()), "A");

    PropertyPaneShow(initialSymbol, false);
    EXPECT_EQ(Categories(*pane), (std::vector<std::string>{ "Symbol Property" }));

    PropertyPaneShow(ElementNamed("A"), true);
    categories = Categories(*pane);
    EXPECT_EQ(categories.front(), "Base properties");
    EXPECT_EQ(std::count(categories.begin(), categories.end(), "Symbol Property"), 0);

    pane->ShowItem(999999, true);
    EXPECT_TRUE(Categories(*pane).empty());
}

// An element numbered like the symbol shown is another item: its rows
// replace the symbol's.
TEST_F(PropertyPane, AnElementNumberedLikeTheShownSymbolReplacesItsRows)
{
    ModelT element;
    ASSERT_TRUE(FetchElementById(classSymbol, element)) << "the fixture numbers elements past the symbols";
    PropertyPaneShow(classSymbol, false);
    PropertyPaneShow(classSymbol, true);
    EXPECT_TRUE(pane->IsShowing(classSymbol, true));
    EXPECT_EQ(std::string(RowKeyed(Category(*pane, "Base properties"), "Name")->GetValueText()), element.Name);
    EXPECT_EQ(Category(*pane, "Symbol Property"), nullptr);
}

TEST_F(PropertyPane, TheExpandedCategoriesFollowTheUser)
{
    PropertyPaneShow(classSymbol, false);
    COptionTreeItem* symbolRows = Category(*pane, "Symbol Property");
    ASSERT_NE(symbolRows, nullptr);
    EXPECT_FALSE(symbolRows->IsExpanded());
    symbolRows->Expand(TRUE);

    PropertyPaneShow(initialSymbol, false);
    EXPECT_TRUE(Category(*pane, "Symbol Property")->IsExpanded());
    EXPECT_EQ(thePropertyExpandBits, PROPERTY_SYMBOL);

    Category(*pane, "Symbol Property")->Expand(FALSE);
    PropertyPaneShow(classSymbol, false);
    EXPECT_FALSE(Category(*pane, "Symbol Property")->IsExpanded());
    EXPECT_EQ(thePropertyExpandBits, 0);
}

TEST_F(PropertyPane, ACommitWithoutChangeWritesNothingAndPushesNoUndoRecord)
{
    PropertyPaneShow(classSymbol, false);
    UndoLog::Clear();
    pane->CommitEdit();
    Edit<COptionTreeItem>(RowKeyed(Category(*pane, "Base properties"), "Name"), [](COptionTreeItem*) {});
    EXPECT_EQ(UndoLog::UndoDepth(), 0u);
    EXPECT_EQ(ModifiedUnits::IsModified(-1), 0);
}

// The colour is the symbol's own: its diagram's unit must be saved.
TEST_F(PropertyPane, AColourCommitWritesTheSymbolAndMarksItsUnit)
{
    PropertyPaneShow(classSymbol, false);
    auto* colour = dynamic_cast<COptionTreeColorItem*>(Category(*pane, "Symbol Property")->GetFirstChild()->GetNextSibling());
    ASSERT_NE(colour, nullptr);
    ASSERT_EQ(ModifiedUnits::IsModified(-1), 0);
    Edit<COptionTreeColorItem>(colour, [](COptionTreeColorItem* row) { row->SetColor(RGB(10, 20, 30)); });

    SymbolT row;
    ASSERT_TRUE(FetchSymbolById(classSymbol, row));
    EXPECT_EQ(COLORREF(row.Color), RGB(10, 20, 30));
    EXPECT_EQ(ModifiedUnits::IsModified(ModifiedUnits::FindUnitRoot(row.PID)), 1);
    EXPECT_GT(UndoLog::UndoDepth(), 0u);
    ASSERT_EQ(UndoLog::Undo(), 1);
    ASSERT_TRUE(FetchSymbolById(classSymbol, row));
    EXPECT_NE(COLORREF(row.Color), RGB(10, 20, 30));
}

TEST_F(PropertyPane, AStereotypeChangeDropsTheOldValuesAndTheSameOneKeepsThem)
{
    const int b = ElementNamed("B");
    ASSERT_EQ(ValuesOf(b), (std::vector<std::string>{ "T1=v1" }));
    struct Case {
        const char* chosen;
        std::vector<std::string> values;
    };
    const Case cases[] = { { "S1", { "T1=v1" } }, { "S2", {} } };
    for (const Case& c : cases) {
        PropertyPaneReload(b, true);
        auto* chooser = dynamic_cast<COptionTreeComboBoxItem*>(RowKeyed(Category(*pane, "Base properties"), "Stereotype"));
        ASSERT_NE(chooser, nullptr);
        const int entry = chooser->FindStringExact(-1, c.chosen);
        ASSERT_NE(entry, CB_ERR);
        Edit<COptionTreeComboBoxItem>(chooser, [entry](COptionTreeComboBoxItem* row) { row->SetCurSel(entry); });
        EXPECT_EQ(ValuesOf(b), c.values) << c.chosen;
    }
    ModelT element;
    ASSERT_TRUE(FetchElementById(b, element));
    EXPECT_STREQ(element.Stereotype, "ST2");
    EXPECT_EQ(ModifiedUnits::IsModified(ModifiedUnits::FindUnitRoot(b)), 1);
}

TEST_F(PropertyPane, AFixedElementShowsReadOnlyRows)
{
    const int a = ElementNamed("A");
    ModelT element;
    oid_t oid = 0;
    ASSERT_TRUE(FetchElementById(a, element, &oid));
    element.ItemState |= ITEM_FIXED;
    ASSERT_TRUE(MemDbUpdate(&ModelT::TableInfo, &element, oid));
    PropertyPaneShow(a, true);
    COptionTreeItem* category = Category(*pane, "Base properties");
    ASSERT_NE(category, nullptr);
    int rows = 0;
    for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling(), ++rows)
        EXPECT_TRUE(row->IsReadOnly()) << row->GetLabelText().GetString();
    EXPECT_GT(rows, 2);
}

} // namespace
