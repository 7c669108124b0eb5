// The sizes the node layouts give around a measured text (a multi-line text
// where the node takes lines), the partition's header moving to the top when
// the lane becomes taller than wide, the user story's click below its name,
// and the nodes' page and unit files read back as they were written.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"
#include "UnitFile.h"

#include "UML/Model/SymbolText.h"

#include <algorithm>
#include <string>

namespace {

class NodeLayouts : public SymbolFixture {
protected:
    NodeLayouts() : SymbolFixture("Activitydiagram") {}
};

TEST_F(NodeLayouts, EachNodeSizesItselfAroundItsText)
{
    const struct {
        const char* key;
        const char* text;
        bool lines;
        int widthTimes, widthPlus, heightTimes, heightPlus;
    } cases[] = {
        {"Action", "x = 1\ny = 2", true, 1, 300, 1, 300},
        {"Choice", "[x > 1]", true, 2, 0, 2, 0},
        {"State", "Waiting", false, 1, 400, 1, 400},
        {"Usecase", "Pay the bill", false, 1, 600, 1, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const int id = Place(c.key, RECT{1000, 1000, 1100, 1100}, 0, c.text);
        ASSERT_GT(id, 0);
        ASSERT_TRUE(UpdateSymbolFields(id, {"Text", c.text}));
        Relayout(id);
        int w = 0, h = 0;
        if (c.lines)
            MeasureTextLines(&canvas.dc, w, h, c.text, 0);
        else
            MeasureText(&canvas.dc, w, h, c.text);
        ASSERT_GT(w, 0);
        const SymbolT row = Row(id);
        EXPECT_EQ(row.x2 - row.x1, c.widthTimes * w + c.widthPlus);
        EXPECT_EQ(row.y2 - row.y1, c.heightTimes * h + c.heightPlus);
        EXPECT_GE(row.tx1, row.x1);
        EXPECT_LE(row.tx2, row.x2);
    }
}

TEST_F(NodeLayouts, APartitionsHeaderMovesToTheTopAcrossTheDiagonal)
{
    const int headerOnTop = 8;
    const int lane = Place("Partition", RECT{1000, 1000, 9000, 4000}, 0, "Lane");
    SymbolT row = Row(lane);
    ASSERT_LT(row.y2 - row.y1, row.x2 - row.x1);
    EXPECT_FALSE(row.ItemState & headerOnTop);
    EXPECT_LT(row.tx2, row.x1 + (row.x2 - row.x1) / 2) << "the name at the left";

    ResizeSymbol(lane, SIZE{-(row.x2 - row.x1) + 3000, 9000}, 1, &canvas.dc);
    row = Row(lane);
    ASSERT_GT(row.y2 - row.y1, row.x2 - row.x1);
    EXPECT_TRUE(row.ItemState & headerOnTop);
    EXPECT_LT(row.ty2, row.y1 + 1000) << "the name at the top";

    ResizeSymbol(lane, SIZE{20000, 0}, 1, &canvas.dc);
    EXPECT_FALSE(Row(lane).ItemState & headerOnTop);
}

class UserStories : public SymbolFixture {
protected:
    UserStories() : SymbolFixture("Usecasediagram") {}
};

TEST_F(UserStories, AClickBelowTheNameOfAStoryWithoutTextOffersANewComment)
{
    const int id = Place("Usecase", RECT{1000, 1000, 1100, 1100}, 0, "Pay");
    ASSERT_TRUE(UpdateSymbolFields(id, {"ItemState", std::to_string(2 | SYMBOL_AUTOLAYOUT).c_str()}));
    Relayout(id);
    const SymbolT row = Row(id);
    HitSymbol out;
    ASSERT_TRUE(Prototype("Usecase")->HitTest(POINT{(row.x1 + row.x2) / 2, row.y2 - 100}, row, out));
    EXPECT_EQ(out.rec.ID, 0);
    EXPECT_EQ(out.rec.FID, id);
    EXPECT_STREQ(out.rec.Type, "Comment");
    ASSERT_TRUE(Prototype("Usecase")->HitTest(POINT{(row.tx1 + row.tx2) / 2, (row.ty1 + row.ty2) / 2}, row, out));
    EXPECT_EQ(out.rec.ID, id) << "the name itself";
    EXPECT_FALSE(Prototype("Usecase")->HitTest(POINT{row.x2 + 10, row.y2 - 100}, row, out));
}

TEST_F(NodeLayouts, APageOfNodesComesBackByteForByte)
{
    const int node = Place("Actionnode", RECT{1000, 1000, 4000, 3000}, 0, "n");
    ASSERT_GT(Place("Pin", RECT{1200, 1200, 1300, 1300}, node), 0);
    const int lane = Place("Partition", RECT{9000, 1000, 15000, 12000}, 0, "Lane");
    ASSERT_GT(Place("Action", RECT{10000, 4000, 10100, 4100}, lane, "x = 1"), 0);
    const struct {
        const char* key;
        const char* text;
    } nodes[] = {{"Action", "y = 2"}, {"Choice", "[y > 1]"}, {"Reference", "act"}, {"Send", "ping(1)"},
                 {"Receive", "ping(x)"}, {"State", "Idle"}, {"Actor", "user"}, {"Usecase", "Pay"},
                 {"Junction", "it's"}, {"Inlineframe", "alt"}};
    int x = 1000;
    for (const auto& n : nodes) {
        ASSERT_GT(Place(n.key, RECT{x, 16000, x + 100, 16100}, 0, n.text), 0) << n.key;
        x += 3000;
    }
    const int timing = Place("Timelifeline", RECT{0, 20000, 100, 20100}, 0, "lane");
    ASSERT_GT(Place("Timestate", RECT{2000, 22000, 4000, 22500}, timing, "on"), 0);
    RelayoutSymbol(timing, &canvas.dc);

    const TestFolder folder("node-pages");
    const std::string first = folder.path + "nodes-1.xml", second = folder.path + "nodes-2.xml";
    ASSERT_TRUE(WritePageFile(first, page));
    const int copy = Prototype("Page")->CreateElement(diagram, "Copy", NewGuid(true).c_str(), nullptr);
    ASSERT_TRUE(ReadPageFile(first, copy));
    ASSERT_TRUE(WritePageFile(second, copy));
    const std::string text = TestFolder::Read(first);
    for (const auto& n : nodes)
        EXPECT_NE(text.find(std::string("<") + n.key + " "), std::string::npos) << n.key;
    EXPECT_EQ(TestFolder::Read(second), text);
}

TEST_F(NodeLayouts, AUnitFileKeepsTheParticipantsAndTheUseCasesMeasures)
{
    const int type = Prototype("Class")->CreateElement(owner, "T", NewGuid(true).c_str(), nullptr);
    ModelT t;
    ASSERT_TRUE(FetchElementById(type, t));
    const std::string typeGuid = t.GUID;
    for (const char* key : {"Actor", "Lifeline", "Partition", "Timelifeline"}) {
        const int id = Prototype(key)->CreateElement(owner, key, NewGuid(true).c_str(), nullptr);
        ASSERT_TRUE(Prototype(key)->UpdateElementFields(id, {"Use", typeGuid.c_str(), "Multiplicity", "2"}));
    }
    const int usecase = Prototype("Usecase")->CreateElement(owner, "Pay", NewGuid(true).c_str(), nullptr);
    ASSERT_TRUE(Prototype("Usecase")->UpdateElementFields(
        usecase, {"EstimatedSize", "5", "ActualCost", "300", "Author", "Ann & Bo", "Abstract", "1"}));

    const TestFolder folder("node-units");
    const std::string first = folder.path + "nodes-1.uml", second = folder.path + "nodes-2.uml";
    ASSERT_TRUE(WriteUnit(first, owner));
    const std::string text = TestFolder::Read(first);
    EXPECT_NE(text.find(" EstimatedSize=\"5\""), std::string::npos) << text;
    EXPECT_NE(text.find(" ActualCost=\"12C\""), std::string::npos) << text;
    EXPECT_NE(text.find(" Author=\"Ann &amp; Bo\""), std::string::npos) << text;
    const int loaded = Prototype("Package")->CreateElement(0, "Loaded", NewGuid(true).c_str(), nullptr);
    ASSERT_FALSE(ReadUnit(first, loaded).empty());
    ASSERT_TRUE(WriteUnit(second, loaded));
    EXPECT_EQ(TestFolder::Read(second), text);
}

} // namespace
