// Pages as elements of unit files and scripts: the page values read whole and
// checked, the symbols carried inside the page's element, the shipped
// predefined unit, and the page's help page.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"
#include "UnitFile.h"

#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"

#include <filesystem>

namespace {

std::string UnitPath(const std::string& name)
{
    return std::string(VEXAL_TEST_OUTPUT) + "/symbols/" + name + ".uml";
}

bool FetchPage(int id, ModelPage& out)
{
    dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    out = *c.GetRecord();
    return true;
}

class PageElement : public SymbolFixture {
protected:
    int NewOwner() { return Prototype("Package")->CreateElement(0, "Loaded", NewGuid(true).c_str(), nullptr); }
};

TEST_F(PageElement, ThePredefinedUnitLoadsFixed)
{
    const int root = NewOwner();
    const std::vector<int> loaded = ReadUnit(VEXAL_SOURCE_DIR "/cfg/predefined.uml", root, ITEM_FIXED);
    ASSERT_EQ(loaded.size(), 9u);
    const char* names[] = {"Integer", "Float", "Boolean", "Char", "String", "import", "access", "include", "extend"};
    for (size_t i = 0; i < loaded.size(); ++i) {
        ModelT element;
        ASSERT_TRUE(FetchElementById(loaded[i], element));
        EXPECT_STREQ(element.Name, names[i]);
        EXPECT_EQ(element.FID, root);
        EXPECT_EQ(element.ItemState, ITEM_FIXED);
    }
}

TEST_F(PageElement, ADiagramWithItsPageAndSymbolsRoundTripsThroughAUnit)
{
    const int outer = Place("Package", RECT{1000, 1000, 20000, 20000}, 0, "Outer");
    const int inner = Place("Package", RECT{2000, 2000, 9000, 9000}, outer, "Inner");
    const int leaf = Place("Initial", RECT{3000, 3000, 3400, 3400}, inner);
    Place("Comment", RECT{22000, 1000, 22100, 1100}, 0, "two\r\nlines");
    StereotypeT value{-leaf, "TagIdentifier000000003", "tagged"};
    theModelDb.InsertRecord(&StereotypeT::TableInfo, &value);
    ASSERT_TRUE(Prototype("Page")->UpdateElementFields(page, {"PageWidth", "30000", "EdgeY", "2000"}));

    const std::string first = UnitPath("round-1"), second = UnitPath("round-2");
    ASSERT_TRUE(WriteUnit(first, owner));
    const std::string text = TestFolder::Read(first);
    EXPECT_NE(text.find("<Page Name=\"Page"), std::string::npos);
    EXPECT_NE(text.find(" PageWidth=\"7530\" PageHeight=\"7404\" EdgeX=\"5DC\" EdgeY=\"7D0\">"), std::string::npos);
    EXPECT_NE(text.find("<Stereo SSGUID=\"TagIdentifier000000003\" Value=\"tagged\"/>"), std::string::npos);

    const int copy = NewOwner();
    const std::vector<int> loaded = ReadUnit(first, copy);
    ASSERT_FALSE(loaded.empty());
    ASSERT_TRUE(WriteUnit(second, copy));
    EXPECT_EQ(TestFolder::Read(second), text);

    int loadedDiagram = 0;
    for (int id : loaded) {
        ModelT element;
        if (FetchElementById(id, element) && std::string(element.Type) == "Classdiagram")
            loadedDiagram = id;
    }
    const std::vector<int> pages = ChildElements(loadedDiagram);
    ASSERT_EQ(pages.size(), 1u);
    ModelPage values;
    ASSERT_TRUE(FetchPage(pages[0], values));
    EXPECT_EQ(values.PageWidth, 30000);
    EXPECT_EQ(values.EdgeY, 2000);
    EXPECT_EQ(values.Parsed, 0);
    EXPECT_EQ(CountSymbols("PID", pages[0]), 4);
}

TEST_F(PageElement, PageValuesOutsideTheLimitsTakeTheDefaultsOnLoad)
{
    const struct {
        const char* attributes;
        int width, height, edgeX, edgeY;
    } cases[] = {
        {" PageWidth=\"7530\" EdgeX=\"3E8\"", 30000, 29700, 1000, 1500},
        {" PageWidth=\"A411\"", 21000, 29700, 1500, 1500},                          // 42001
        {" EdgeX=\"11170\"", 21000, 29700, 1500, 1500},                            // 70000, not 4464
        {" EdgeY=\"0\"", 21000, 29700, 1500, 1500},                                // a zero edge
        {" EdgeX=\"-5\"", 21000, 29700, 1500, 1500},
        {" PageWidth=\"BB8\" EdgeX=\"5DC\"", 21000, 29700, 1500, 1500},            // no usable width
        {" Parsed=\"1\" PageHeight=\"E7F8\"", 21000, 59384, 1500, 1500},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        const std::string path = UnitPath("values-" + std::to_string(n++));
        TestFolder::Write(path, std::string("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                    "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n"
                                    "<Classdiagram Name=\"D\"><Page Name=\"P\"") +
                            c.attributes + "><Fork sid=\"f\" area=\"0,0,C8,1F4\"/></Page></Classdiagram>\r\n</uml>\r\n");
        const std::vector<int> loaded = ReadUnit(path, NewOwner());
        ASSERT_EQ(loaded.size(), 1u);
        const std::vector<int> pages = ChildElements(loaded[0]);
        ASSERT_EQ(pages.size(), 1u);
        ModelPage values;
        ASSERT_TRUE(FetchPage(pages[0], values));
        EXPECT_EQ(values.PageWidth, c.width);
        EXPECT_EQ(values.PageHeight, c.height);
        EXPECT_EQ(values.EdgeX, c.edgeX);
        EXPECT_EQ(values.EdgeY, c.edgeY);
        EXPECT_EQ(values.Parsed, 0);
        EXPECT_EQ(CountSymbols("PID", pages[0]), 1);
    }
    theLog.FlushPending();
    const std::string log = TestFolder::Read(std::string(theModuleDir) + "log.txt");
    EXPECT_NE(log.find("P: page values out of limits (21000, 29700, 70000, 1500)"), std::string::npos) << log;
}

TEST_F(PageElement, ScriptsAreRefusedValuesOutsideTheLimits)
{
    CSymbol* pages = Prototype("Page");
    EXPECT_FALSE(pages->UpdateElementFields(page, {"EdgeX", "70000"}));
    EXPECT_FALSE(pages->UpdateElementFields(page, {"PageWidth", "3000", "Name", "Renamed"}));
    ModelT element;
    ASSERT_TRUE(FetchElementById(page, element));
    EXPECT_STRNE(element.Name, "Renamed") << "a refused call writes nothing";
    EXPECT_TRUE(pages->UpdateElementFields(page, {"PageWidth", "42000", "Name", "Renamed", "Parsed", "1"}));
    ModelPage values;
    ASSERT_TRUE(FetchPage(page, values));
    EXPECT_EQ(values.PageWidth, 42000);
    EXPECT_EQ(values.Parsed, 0);
    ASSERT_TRUE(FetchElementById(page, element));
    EXPECT_STREQ(element.Name, "Renamed");
    char text[32];
    EXPECT_GT(pages->GetElementField(element, "PageWidth", text, sizeof text), 0);
    EXPECT_STREQ(text, "42000");
    EXPECT_GT(pages->GetElementField(element, "Name", text, sizeof text), 0);
    EXPECT_STREQ(text, "Renamed");

    EXPECT_EQ(pages->InsertElementFields({"Name", "Big", "FID", std::to_string(diagram).c_str(), "PageHeight", "59401"}),
              0);
    const int made = pages->InsertElementFields({"Name", "Big", "PageHeight", "59400"});
    ASSERT_GT(made, 0);
    ASSERT_TRUE(FetchPage(made, values));
    EXPECT_EQ(values.PageHeight, 59400);
}

TEST_F(PageElement, TheSymbolsAreWrittenEvenWithoutPageValues)
{
    Place("Fork", RECT{1000, 1000, 2000, 1050});
    {
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", page), 0);
        theModelDb.RemoveRecord(&ModelPage::TableInfo, c.GetCurrentOid());
    }
    const std::string path = UnitPath("no-values");
    ASSERT_TRUE(WriteUnit(path, owner));
    const std::string text = TestFolder::Read(path);
    EXPECT_EQ(text.find("PageWidth"), std::string::npos);
    EXPECT_NE(text.find("<Fork sid="), std::string::npos);
}

TEST_F(PageElement, TheHelpPageListsTheValues)
{
    const std::string folder = std::string(VEXAL_TEST_OUTPUT) + "/symbols/html-page/";
    std::filesystem::create_directories(folder);
    ModelT element;
    ASSERT_TRUE(FetchElementById(page, element));
    ASSERT_TRUE(Prototype("Page")->WriteHtmlPage(folder.c_str(), element));
    const std::string text = TestFolder::Read(folder + "Page" + std::to_string(page) + ".htm");
    EXPECT_EQ(text.rfind("<html><head>", 0), 0u);
    EXPECT_NE(text.find("<td>Page</td>"), std::string::npos);
    EXPECT_NE(text.find("<tr><td bgcolor='lightgrey'>PageWidth</td><td>21000</td></tr>\r\n"), std::string::npos);
    EXPECT_NE(text.find("<tr><td bgcolor='lightgrey'>EdgeY</td><td>1500</td></tr>\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 24), "</table></body></html>\r\n");
}

} // namespace
