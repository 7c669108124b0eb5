// Diagrams and pages as elements: a diagram comes with its first page, both
// in the caller's undo group; a page goes with its symbols, row for row.
#include "SymbolFixture.h"

#include "UML/Symbols/PageSymbol.h"

namespace {

bool FetchPage(int id, ModelPage& out)
{
    dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    out = *c.GetRecord();
    return true;
}

class Diagrams : public SymbolFixture {};

TEST_F(Diagrams, ADiagramComesWithOneDefaultPage)
{
    ModelT element;
    ASSERT_TRUE(FetchElementById(page, element));
    EXPECT_STREQ(element.Type, "Page");
    EXPECT_EQ(element.MMC, MMC_PAGE);
    EXPECT_EQ(element.FID, diagram);
    ModelPage values;
    ASSERT_TRUE(FetchPage(page, values));
    EXPECT_EQ(values.PageWidth, 21000);
    EXPECT_EQ(values.PageHeight, 29700);
    EXPECT_EQ(values.EdgeX, 1500);
    EXPECT_EQ(values.EdgeY, 1500);
    EXPECT_EQ(values.Parsed, 0);
    ASSERT_TRUE(FetchElementById(diagram, element));
    EXPECT_STREQ(element.Type, "Classdiagram");
    EXPECT_EQ(element.MMC, MMC_DIAGRAM);
}

TEST_F(Diagrams, ANewDiagramWithItsPageIsOneUndoGroup)
{
    UndoLog::NewGroup();
    const int made = Prototype("Timingdiagram")->CreateElement(owner, "Timing", NewGuid(true).c_str(), nullptr);
    const std::vector<int> pages = ChildElements(made);
    ASSERT_EQ(pages.size(), 1u);
    UndoLog::Undo();
    ModelT element;
    ModelPage values;
    EXPECT_FALSE(FetchElementById(made, element));
    EXPECT_FALSE(FetchElementById(pages[0], element));
    EXPECT_FALSE(FetchPage(pages[0], values));
    EXPECT_TRUE(FetchElementById(diagram, element));
    UndoLog::Redo();
    EXPECT_TRUE(FetchElementById(made, element));
    EXPECT_TRUE(FetchPage(pages[0], values));
}

TEST_F(Diagrams, DeletingAPageTakesItsSymbolsAndUndoesRowForRow)
{
    const int package = Place("Package", RECT{1000, 1000, 9000, 9000}, 0, "Box");
    const int nested = Place("Initial", RECT{2000, 3000, 2400, 3400}, package);
    const int loose = Place("Fork", RECT{10000, 1000, 11000, 1050});
    const std::string packageGuid = Row(package).GUID;
    UndoLog::NewGroup();
    Prototype("Page")->DeleteElement(page);
    ModelT element;
    ModelPage values;
    EXPECT_FALSE(FetchElementById(page, element));
    EXPECT_FALSE(FetchPage(page, values));
    EXPECT_EQ(CountSymbols("PID", page), 0);
    dbTypedCursor<ModelT> shown(&ModelT::TableInfo);
    EXPECT_GT(shown.SelectByKey("GUID", packageGuid.c_str()), 0) << "the element shown stays";
    UndoLog::Undo();
    EXPECT_TRUE(FetchElementById(page, element));
    EXPECT_TRUE(FetchPage(page, values));
    EXPECT_EQ(CountSymbols("PID", page), 3);
    EXPECT_EQ(Row(nested).FID, package);
    EXPECT_EQ(Row(loose).x2, 11000);
}

TEST(PageValues, TheLimitsHoldOnTheFullValues)
{
    const struct {
        int width, height, edgeX, edgeY;
        bool fits;
    } cases[] = {
        {21000, 29700, 1500, 1500, true},
        {42000, 59400, 1500, 1500, true},
        {42001, 29700, 1500, 1500, false},
        {21000, 59401, 1500, 1500, false},
        {21000, 29700, 0, 1500, false},
        {21000, 29700, 1500, -1, false},
        {0, 29700, 1500, 1500, false},
        {21000, 29700, 10500, 1500, false},  // 2 x EdgeX equals PageWidth
        {21000, 29700, 10499, 1500, true},
        {21000, 29700, 1500, 14850, false},
        {21000, 29700, 70000, 1500, false},  // would narrow to 4464
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageValuesFit(c.width, c.height, c.edgeX, c.edgeY), c.fits)
            << c.width << " " << c.height << " " << c.edgeX << " " << c.edgeY;
}

} // namespace
