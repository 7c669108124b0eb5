// The sizes the node layouts give around a measured text (a multi-line text
// where the node takes lines), the partition's header moving to the top when
// the lane becomes taller than wide, and the user story's click below its
// name.
#include "SymbolFixture.h"

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

} // namespace
