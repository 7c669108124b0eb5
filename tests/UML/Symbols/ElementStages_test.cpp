// The element stages of every key with a class of its own: its property rows
// and its help page. A key whose prototype makes no element under a package
// has no such stage, and diagrams' pages are written with a view elsewhere. Whatever a class puts in its grid, an editable row is
// keyed by a column of the element or its extension rows, a read-only grid
// offers nothing to edit, applying an untouched grid changes no row, and the
// page shows the name escaped.
#include "MemDB/ModelStore/ModelStoreFixture.h"
#include "SymbolFixture.h"
#include "TestFolder.h"

#include "Controls/OptionTree.h"
#include "Platform/Wnd.h"
#include "UML/Model/FieldText.h"

#include <string>
#include <typeinfo>
#include <vector>

namespace {

// The rows that hold values: every row below a category, the stereotype
// chooser's value rows included.
void ValueRows(COptionTreeItem* parent, std::vector<COptionTreeItem*>& out)
{
    for (COptionTreeItem* r = parent->GetFirstChild(); r; r = r->GetNextSibling()) {
        out.push_back(r);
        ValueRows(r, out);
    }
}

std::vector<COptionTreeItem*> RowsOf(COptionTree& grid)
{
    std::vector<COptionTreeItem*> rows;
    for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
         category = category->GetNextSibling())
        ValueRows(category, rows);
    return rows;
}

class ElementStages : public SymbolFixture {
protected:
    void SetUp() override
    {
        SymbolFixture::SetUp();
        ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 600, nullptr, nullptr));
        ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 600), &pane, 0, 1, 90));
    }
    bool IsColumn(CSymbol* prototype, const char* key)
    {
        for (dbTableInfo* table : {&ModelT::TableInfo, prototype->extensionTable, prototype->secondExtensionTable})
            if (table && FindColumn(table, key))
                return true;
        return false;
    }

    CWnd pane;
    COptionTree grid;
};

TEST_F(ElementStages, EveryElementKeysItsRowsByColumnAndEscapesItsPage)
{
    TestFolder folder("element-stages");
    int checked = 0;
    for (const std::string& key : GetMetaclassNames()) {
        CSymbol* prototype = Prototype(key.c_str());
        if (!prototype || typeid(*prototype) == typeid(CSymbol) || prototype->mmc == MMC_NONE)
            continue;
        SCOPED_TRACE(key);
        const int id = prototype->CreateElement(owner, "A<&B", NewGuid(true).c_str(), nullptr);
        if (id <= 0)
            continue;
        ++checked;
        ModelT element;
        oid_t oid = 0;
        ASSERT_TRUE(FetchElementById(id, element, &oid));

        grid.DeleteAllItems();
        ASSERT_NE(prototype->AddElementProperties(element, false, &grid), nullptr);
        COptionTreeItem* base = grid.GetRootItem()->GetFirstChild();
        EXPECT_STREQ(static_cast<const char*>(base->GetLabelText()), "Base properties");
        for (COptionTreeItem* row : RowsOf(grid)) {
            const std::string rowKey = row->GetKey() ? row->GetKey() : "";
            if (rowKey == "Type") {
                EXPECT_TRUE(row->IsReadOnly());
            }
            if (!row->IsReadOnly() && !rowKey.empty()) {
                EXPECT_TRUE(IsColumn(prototype, rowKey.c_str())) << "row " << rowKey << " edits no column";
            }
        }

        const modelstore::Snapshot before = modelstore::TakeSnapshot();
        ASSERT_TRUE(FetchElementById(id, element, &oid));
        prototype->ApplyElementProperties(oid, element, grid.GetRootItem());
        EXPECT_TRUE(modelstore::SameTables(modelstore::TakeSnapshot(), before)) << "an untouched grid changes nothing";

        grid.DeleteAllItems();
        ASSERT_TRUE(FetchElementById(id, element));
        prototype->AddElementProperties(element, true, &grid);
        for (COptionTreeItem* row : RowsOf(grid)) {
            if (row->GetKey() && *row->GetKey()) {
                EXPECT_TRUE(row->IsReadOnly()) << "row " << row->GetKey();
            }
        }

        // A diagram's page needs the main view to measure its pictures.
        if (prototype->mmc == MMC_DIAGRAM)
            continue;
        ASSERT_TRUE(prototype->WriteHtmlPage(folder.path.c_str(), element));
        const std::string html = TestFolder::Read(folder.path + key + std::to_string(id) + ".htm");
        EXPECT_NE(html.find("A&lt;&amp;B"), std::string::npos);
        EXPECT_EQ(html.find("A<&B"), std::string::npos);
    }
    EXPECT_GT(checked, 20);
}

} // namespace
