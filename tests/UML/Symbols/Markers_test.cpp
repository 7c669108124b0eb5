// The pseudostate and marker symbols beyond the case table: layouts that
// depend on the box drawn, where lines meet them, and the placements they
// refuse.
#include "SymbolFixture.h"

namespace {

class Markers : public SymbolFixture {};

struct BoxCase {
    const char* key;
    RECT drawn;
    int width;
    int height;
};

TEST_F(Markers, LayoutsFollowTheBoxDrawnWithinTheirLimits)
{
    const BoxCase cases[] = {
        {"Fork", {0, 0, 1000, 50}, 1000, 200},     // wider than high: horizontal bar
        {"Fork", {0, 0, 50, 50}, 200, 500},        // square: vertical, grown to 500
        {"Fork", {0, 0, 50, 1000}, 200, 1000},
        {"Fork", {0, 0, 300, 100}, 500, 200},      // horizontal, grown to 500
        {"Coregion", {0, 0, 900, 300}, 330, 800},  // width fixed, height grown
        {"Coregion", {0, 0, 10, 2000}, 330, 2000},
        {"Duration", {0, 0, 900, 300}, 400, 800},
        {"Duration", {0, 0, 10, 1500}, 400, 1500},
        {"Initial", {0, 0, 5000, 10}, 400, 400},
        {"Terminal", {0, 0, 10, 10}, 520, 520},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.drawn.right) + "x" + std::to_string(c.drawn.bottom));
        SymbolT row;
        row.x1 = 1000;
        row.y1 = 1000;
        row.x2 = 1000 + c.drawn.right;
        row.y2 = 1000 + c.drawn.bottom;
        row.ItemState = SYMBOL_AUTOLAYOUT;
        EXPECT_EQ(Prototype(c.key)->Layout(row, &canvas.dc, nullptr), 1);
        EXPECT_EQ(row.x1, 1000);
        EXPECT_EQ(row.y1, 1000);
        EXPECT_EQ(row.x2 - row.x1, c.width);
        EXPECT_EQ(row.y2 - row.y1, c.height);
    }
}

TEST_F(Markers, LinesEndOnTheCircleOrAtTheTerminalsCentre)
{
    SymbolT circle;
    circle.x1 = 1000;
    circle.y1 = 1000;
    circle.x2 = 1400;
    circle.y2 = 1400;
    for (const char* key : {"Initial", "Final", "History"}) {
        SCOPED_TRACE(key);
        int x = 9000, y = 1200;
        EXPECT_EQ(Prototype(key)->GetAttachPoint(circle, x, y, 9000, 1200), 0);
        EXPECT_NEAR(x, 1400, 2);
        EXPECT_NEAR(y, 1200, 2);
    }
    SymbolT cross = circle;
    cross.x2 = 1520;
    cross.y2 = 1520;
    int x = 9000, y = 9000;
    EXPECT_EQ(Prototype("Terminal")->GetAttachPoint(cross, x, y, 9000, 9000), 6);
    EXPECT_EQ(x, 1260);
    EXPECT_EQ(y, 1260);
}

TEST_F(Markers, ALifelineTakesOneStopMarkAndNoneStandsAlone)
{
    const int lifeline = Place("Lifeline", RECT{1000, 1000, 3000, 9000});
    const int unnamed = Place("Lifeline", RECT{4000, 1000, 6000, 9000});
    {
        // A lifeline read from a file without "sid".
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", unnamed), 0);
        SymbolT row = *c.GetRecord();
        row.SGUID = "";
        MemDbUpdate(&SymbolT::TableInfo, &row, c.GetCurrentOid());
    }
    EXPECT_GT(Place("Lifelinestop", RECT{1500, 8000, 1600, 8100}, lifeline), 0);
    EXPECT_EQ(Place("Lifelinestop", RECT{1500, 7000, 1600, 7100}, lifeline), 0);
    EXPECT_EQ(Place("Lifelinestop", RECT{1500, 7000, 1600, 7100}), 0);
    EXPECT_EQ(Place("Lifelinestop", RECT{4500, 7000, 4600, 7100}, unnamed), 0);
    EXPECT_EQ(CountSymbols("FID", lifeline), 1);
}

TEST_F(Markers, DurationsGoOnlyOnAnotherSymbol)
{
    for (const char* key : {"Duration", "Timeduration"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Place(key, RECT{1000, 1000, 1100, 1100}), 0);
        const int lifeline = Place("Lifeline", RECT{1000, 1000, 3000, 9000});
        const int id = Place(key, RECT{1500, 2000, 1600, 2100}, lifeline);
        ASSERT_GT(id, 0);
        EXPECT_EQ(Row(id).FID, lifeline);
    }
}

// A timing lifeline with two states; clicking a state draws the lifeline's
// next timeline segment from it.
class Timelines : public SymbolFixture {
protected:
    Timelines() : SymbolFixture("Timingdiagram") {}
    void SetUp() override
    {
        SymbolFixture::SetUp();
        lifeline = Place("Timelifeline", RECT{1000, 1000, 12000, 5000});
        high = Place("Timestate", RECT{1500, 1500, 2500, 2000}, lifeline, "high");
        low = Place("Timestate", RECT{1500, 3000, 2500, 3500}, lifeline, "low");
    }
    int Click(int state, int x, int y) { return Place("Timeline", RECT{x, y, x, y}, state); }

    int lifeline = 0, high = 0, low = 0;
};

TEST_F(Timelines, ClickingStatesContinuesFromTheLastSegment)
{
    const int first = Click(high, 3000, 1700);
    ASSERT_GT(first, 0);
    EXPECT_EQ(Row(first).x1, 3000);
    EXPECT_EQ(Row(first).x2, 3150);
    EXPECT_STREQ(Row(first).SrcID, Row(lifeline).SGUID);
    EXPECT_EQ(Click(high, 5000, 1700), 0) << "the same state twice in a row";
    const int second = Click(low, 6000, 3200);
    ASSERT_GT(second, 0);
    EXPECT_EQ(Row(second).x1, 3150);
    EXPECT_EQ(Row(second).x2, 6000);
    EXPECT_EQ(Row(second).y1, 3200);
    const int third = Click(high, 1000, 1700);
    ASSERT_GT(third, 0);
    EXPECT_EQ(Row(third).x1, 6000);
    EXPECT_EQ(Row(third).x2, 6150) << "at least 150 long";
}

TEST_F(Timelines, OnlyATimingStateWithALifelineStartsOne)
{
    EXPECT_EQ(Click(0, 3000, 1700), 0);
    EXPECT_EQ(Click(lifeline, 3000, 1700), 0);
    const int loose = Place("Timestate", RECT{1500, 6000, 2500, 6500}, 0, "loose");
    EXPECT_EQ(Click(loose, 3000, 6200), 0);
}

TEST_F(Timelines, ALifelineWithoutIdentifierIsRefused)
{
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", lifeline), 0);
        SymbolT row = *c.GetRecord();
        row.SGUID = "";
        MemDbUpdate(&SymbolT::TableInfo, &row, c.GetCurrentOid());
    }
    // Every symbol without a source end would otherwise count as one of its
    // timelines, the states themselves among them.
    EXPECT_EQ(Click(high, 3000, 1700), 0);
    EXPECT_EQ(Click(low, 3000, 3200), 0);
    EXPECT_EQ(CountSymbols("PID", page), 3);
}

} // namespace
