// A timing lane stacks its time states by height, each 2h + 300 high under
// its name, so a dragged state takes its new place; its timelines are chained
// from left to right after the widest state name; states dropped from the
// model land only where their machine's classifier is shown.
#include "SymbolFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class TimingLanes : public SymbolFixture {
protected:
    TimingLanes() : SymbolFixture("Timingdiagram") {}

    void SetUp() override
    {
        SymbolFixture::SetUp();
        lane = Place("Timelifeline", RECT{0, 1000, 100, 1100}, 0, "lane");
        ASSERT_GT(lane, 0);
    }

    int State(const char* name, int y)
    {
        const int id = Place("Timestate", RECT{2000, y, 4000, y + 500}, lane, name);
        EXPECT_GT(id, 0) << name;
        RelayoutSymbol(lane, &canvas.dc);
        return id;
    }

    // The lane's states from the top.
    std::vector<int> Stack()
    {
        std::vector<SymbolT> rows;
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("FID", lane) > 0)
            do
                rows.push_back(*c.GetRecord());
            while (c.Next());
        std::sort(rows.begin(), rows.end(), [](const SymbolT& a, const SymbolT& b) { return a.y1 < b.y1; });
        std::vector<int> ids;
        for (const SymbolT& r : rows)
            ids.push_back(r.ID);
        return ids;
    }

    // The states are stacked without gaps from below the name, each as high
    // as the first, and the lane ends with the last.
    void ExpectStacked(const std::vector<int>& order)
    {
        ASSERT_EQ(Stack(), order);
        const SymbolT l = Row(lane), first = Row(order.front());
        EXPECT_GT(first.y1, l.ty2);
        const int height = first.y2 - first.y1;
        EXPECT_GT(height, 300);
        int top = first.y1;
        for (int id : order) {
            const SymbolT s = Row(id);
            EXPECT_EQ(s.y1, top) << s.Text;
            EXPECT_EQ(s.y2 - s.y1, height) << s.Text;
            EXPECT_EQ(s.x1, l.x1);
            EXPECT_EQ(s.x2, l.x2);
            top = s.y2;
        }
        EXPECT_EQ(l.y2, top);
    }

    int lane = 0;
};

TEST_F(TimingLanes, StatesStackByHeightAndADragReordersThem)
{
    const int a = State("a", 3000), b = State("b", 5000), c = State("c", 7000);
    ExpectStacked({a, b, c});

    MoveSymbol(c, &canvas.dc, SIZE{0, Row(a).y1 - Row(c).y1 - 100});
    ExpectStacked({c, a, b});
    MoveSymbol(a, &canvas.dc, SIZE{0, Row(b).y2 - Row(a).y1});
    ExpectStacked({c, b, a});
}

TEST_F(TimingLanes, TimelinesChainAfterTheWidestStateName)
{
    const int low = State("low", 3000), high = State("a much longer name", 5000);
    const SymbolT lowRow = Row(low), highRow = Row(high);
    const int first = Place("Timeline", RECT{5000, (lowRow.y1 + lowRow.y2) / 2, 5000, 0}, low);
    ASSERT_GT(first, 0);
    const int second = Place("Timeline", RECT{9000, (highRow.y1 + highRow.y2) / 2, 9000, 0}, high);
    ASSERT_GT(second, 0);
    RelayoutSymbol(lane, &canvas.dc);

    const SymbolT one = Row(first), two = Row(second), l = Row(lane), h = Row(high), lo = Row(low);
    EXPECT_EQ(one.x1, std::max(h.tx2, lo.tx2) + 150);
    EXPECT_GE(one.x2, one.x1 + 300);
    EXPECT_EQ(two.x1, one.x2);
    EXPECT_GE(two.x2, two.x1 + 300);
    EXPECT_EQ(one.y1, (lo.y1 + lo.y2) / 2);
    EXPECT_EQ(two.y1, (h.y1 + h.y2) / 2);
    EXPECT_STREQ(one.SrcID, l.SGUID);

    Prototype("Timelifeline")->Draw(l, &canvas.dc);
    canvas.Save("symbols/timing-lane");
    // The step between the two levels at the end of the first timeline.
    EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(one.x2), PageCanvas::Device((one.y1 + two.y1) / 2)));
}

TEST_F(TimingLanes, DroppedStatesLandWhereTheirMachinesClassifierIsShown)
{
    ModelT e;
    auto guidOf = [&](int id) {
        EXPECT_TRUE(FetchElementById(id, e));
        return std::string(e.GUID);
    };
    const int t = Prototype("Class")->CreateElement(owner, "T", NewGuid(true).c_str(), nullptr);
    const int u = Prototype("Class")->CreateElement(owner, "U", NewGuid(true).c_str(), nullptr);
    const int own = Prototype("State")->CreateElement(
        Prototype("Statemachine")->CreateElement(t, "M", NewGuid(true).c_str(), nullptr), "Idle",
        NewGuid(true).c_str(), nullptr);
    const int foreign = Prototype("State")->CreateElement(
        Prototype("Statemachine")->CreateElement(u, "N", NewGuid(true).c_str(), nullptr), "Busy",
        NewGuid(true).c_str(), nullptr);
    ASSERT_TRUE(Prototype("Timelifeline")->UpdateElementFields(ElementOf(lane).ID, {"Use", guidOf(t).c_str()}));
    const int elements = theNextElementId;

    const int dropped = Place("Timestate", RECT{2000, 3000, 4000, 3500}, lane, "", guidOf(own).c_str());
    ASSERT_GT(dropped, 0);
    EXPECT_STREQ(Row(dropped).Text, "Idle");
    EXPECT_EQ(std::string(Row(dropped).GUID), guidOf(own));
    EXPECT_EQ(Place("Timestate", RECT{2000, 5000, 4000, 5500}, lane, "", guidOf(foreign).c_str()), 0);
    EXPECT_EQ(Place("Timestate", RECT{2000, 30000, 4000, 30500}, 0, "x"), 0) << "outside a lane";
    const int loose = Place("State", RECT{2000, 30000, 2100, 30100}, 0, "", guidOf(foreign).c_str());
    ASSERT_GT(loose, 0);
    EXPECT_EQ(Row(loose).FID, 0);
    EXPECT_EQ(std::string(Row(loose).GUID), guidOf(foreign));
    EXPECT_EQ(theNextElementId, elements) << "a drop makes no element";

    const int plain = Place("Timestate", RECT{2000, 7000, 4000, 7500}, lane, "");
    ASSERT_GT(plain, 0);
    EXPECT_STREQ(Row(plain).GUID, "") << "a new time state shows no element";
}

} // namespace
