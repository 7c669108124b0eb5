// The page's property rows: the page values edited in the grid, refused
// outside the limits and when the symbols would no longer fit, and a rename
// kept.
#include "SymbolFixture.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeEditItem.h"
#include "Controls/OptionTreeItem.h"
#include "Platform/Wnd.h"

#include <string>

namespace {

class PageProperties : public SymbolFixture {
protected:
    void SetUp() override
    {
        SymbolFixture::SetUp();
        ASSERT_TRUE(owner_.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
        ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &owner_, 0, 1, 90));
    }

    // Fills the grid for the page, sets the named rows and applies it.
    int Apply(const std::vector<std::pair<std::string, std::string>>& edits)
    {
        grid.DeleteAllItems();
        ModelT element;
        oid_t oid = 0;
        EXPECT_TRUE(FetchElementById(page, element, &oid));
        COptionTreeItem* base = Prototype("Page")->AddElementProperties(element, false, &grid);
        EXPECT_NE(base, nullptr);
        for (COptionTreeItem* category = base; category; category = category->GetNextSibling())
            for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling())
                for (const auto& edit : edits)
                    if (edit.first == row->GetKey())
                        dynamic_cast<COptionTreeEditItem*>(row)->SetWindowText(edit.second.c_str());
        return Prototype("Page")->ApplyElementProperties(oid, element, grid.GetRootItem());
    }

    ModelPage Values()
    {
        ModelPage values;
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", page), 0);
        values = *c.GetRecord();
        return values;
    }

    COptionTree grid;

private:
    CWnd owner_;
};

TEST_F(PageProperties, TheLimitsHoldSilently)
{
    static int messages;
    messages = 0;
    theShellHooks.OutputMessage = [](const char*) { ++messages; };
    const struct {
        const char* key;
        const char* value;
        bool taken;
    } cases[] = {
        {"PageWidth", "42001", false}, {"PageHeight", "59401", false}, {"EdgeX", "0", false},
        {"EdgeX", "10500", false},     {"EdgeX", "70000", false},      {"PageWidth", "42000", true},
        {"PageHeight", "59400", true}, {"EdgeY", "2000", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        const ModelPage before = Values();
        Apply({{c.key, c.value}});
        const ModelPage after = Values();
        const std::string key = c.key;
        const int stored = key == "PageWidth" ? after.PageWidth
                           : key == "PageHeight" ? after.PageHeight
                           : key == "EdgeX"      ? after.EdgeX
                                                 : after.EdgeY;
        if (c.taken) {
            EXPECT_EQ(stored, std::stoi(c.value));
        } else {
            EXPECT_EQ(after.PageWidth, before.PageWidth);
            EXPECT_EQ(after.EdgeX, before.EdgeX);
            EXPECT_EQ(after.PageHeight, before.PageHeight);
        }
    }
    EXPECT_EQ(messages, 0);
}

TEST_F(PageProperties, APageTooSmallForItsSymbolsSaysHowLargeItMustBe)
{
    static std::string message;
    message.clear();
    theShellHooks.OutputMessage = [](const char* text) { message = text; };
    const int id = Place("Package", RECT{1000, 1000, 3000, 3000}, 0, "Wide");
    oid_t oid = 0;
    SymbolT row;
    ASSERT_TRUE(FetchSymbolById(id, row, &oid));
    row.x2 = 18500;
    row.y2 = 20000;
    MemDbUpdate(&SymbolT::TableInfo, &row, oid);
    EXPECT_EQ(Apply({{"PageWidth", "21000"}, {"EdgeX", "1800"}}), 0);
    EXPECT_EQ(message, "Can't be smaller than (22100, " + std::to_string(std::max(20000, row.ty2) + 3000) + ")");
    EXPECT_EQ(Values().EdgeX, 1500);
    EXPECT_EQ(Apply({{"PageWidth", "22100"}, {"EdgeX", "1800"}}), 1);
    EXPECT_EQ(Values().EdgeX, 1800);
}

TEST_F(PageProperties, ARenameWithoutNewValuesIsKept)
{
    EXPECT_EQ(Apply({{"Name", "Overview"}}), 1);
    ModelT element;
    ASSERT_TRUE(FetchElementById(page, element));
    EXPECT_STREQ(element.Name, "Overview");
    EXPECT_EQ(Values().PageWidth, 21000);
}

TEST_F(PageProperties, EachKindShowsItsRows)
{
    const int note = Place("Comment", RECT{1000, 1000, 1100, 1100}, 0, "a\nb");
    ModelT comment, classDiagram, pageElement;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    ASSERT_GT(c.SelectByKey("GUID", Row(note).GUID), 0);
    comment = *c.GetRecord();
    ASSERT_TRUE(FetchElementById(diagram, classDiagram));
    ASSERT_TRUE(FetchElementById(page, pageElement));
    const struct {
        const ModelT* element;
        const char* rows;  // label:key:read-only per row, categories separated by "|"
    } cases[] = {
        {&classDiagram, "Name:Name:0 Type:Type:1 "},
        {&comment, "Name:Name:0 Type:Type:1 "},
        {&pageElement, "Name:Name:0 Type:Type:1 |Page Width(0.01mm):PageWidth:0 Page Height(0.01mm):PageHeight:0 "
                       "X-Edge(0.01mm):EdgeX:0 Y-Edge(0.01mm):EdgeY:0 "},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.element->Type);
        grid.DeleteAllItems();
        ASSERT_NE(Prototype(k.element->Type)->AddElementProperties(*k.element, false, &grid), nullptr);
        std::string rows;
        for (COptionTreeItem* category = grid.GetRootItem()->GetFirstChild(); category;
             category = category->GetNextSibling()) {
            if (category != grid.GetRootItem()->GetFirstChild())
                rows += "|";
            for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling())
                rows += std::string(row->GetLabelText()) + ":" + row->GetKey() + ":" +
                        (row->IsReadOnly() ? "1" : "0") + " ";
        }
        EXPECT_EQ(rows, k.rows);
    }
    grid.DeleteAllItems();
    Prototype("Page")->AddElementProperties(pageElement, true, &grid);
    for (COptionTreeItem* row = grid.GetRootItem()->GetFirstChild()->GetNextSibling()->GetFirstChild(); row;
         row = row->GetNextSibling())
        EXPECT_TRUE(row->IsReadOnly()) << row->GetKey();
}

} // namespace
