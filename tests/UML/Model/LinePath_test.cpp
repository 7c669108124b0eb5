#include "UML/Model/LinePath.h"

#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "PageCanvas.h"
#include "UML/Model/HotSpotList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SymbolT Line(const char* nodes)
{
    SymbolT s;
    s.Type = "Dependency";
    s.MSC = MSC_LINE;
    s.x1 = 0;
    s.y1 = 0;
    s.x2 = 4000;
    s.y2 = 0;
    s.Nodes = nodes;
    s.tx1 = 1000;
    s.ty1 = -600;
    s.tx2 = 1500;
    s.ty2 = -300;
    return s;
}

TEST(LinePath, HitsFollowThePathAndTheLabel)
{
    const SymbolT bent = Line("7D0,7D0"); // through (2000, 2000)
    struct Case {
        int x, y;
        bool hit;
    } const cases[] = {
        {1000, 1000, true},  // first segment
        {3000, 1000, true},  // second segment
        {2000, 0, false},    // where the straight line would run
        {1200, -450, true},  // the label
        {1500, -300, true},
        {1501, -300, false},
    };
    for (const auto& c : cases) {
        LineSegment last{};
        EXPECT_EQ(HitTestLine(POINT{c.x, c.y}, bent, &last), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(last.x1, 2000);
        EXPECT_EQ(last.y1, 2000);
        EXPECT_EQ(last.x2, 4000);
    }
    RECT r;
    GetSymbolExtent(bent, r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 4000);
    EXPECT_EQ(r.bottom, 2000);
}

TEST(LinePath, ASelectedPathShowsItsBendPointHandles)
{
    PageCanvas canvas(200, 120);
    canvas.dc.SelectStockObject(BLACK_PEN);
    HotSpotList::Clear();
    SymbolT row = Line("3E8,7D0,BB8,7D0");
    row.ItemState = SYMBOL_CHECKED;
    LineSegment first{}, last{};
    DrawLinePath(row, &canvas.dc, first, last);
    EXPECT_EQ(first.x2, 1000);
    EXPECT_EQ(first.y2, 2000);
    EXPECT_EQ(last.x1, 3000);
    EXPECT_EQ(HotSpotList::Hit(POINT{1000, 2000}), 2);
    EXPECT_EQ(HotSpotList::Hit(POINT{3000, 2000}), 3);
    EXPECT_EQ(HotSpotList::Count(), 2);
    EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(2000), PageCanvas::Device(2000)));
}

class LineNodesEdit : public ::testing::Test {
protected:
    static void AddLine(int id, const char* nodes)
    {
        SymbolT s = Line(nodes);
        s.ID = id;
        s.PID = 1;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
    static std::string NodesOf(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0);
        return c->Nodes ? c->Nodes : "";
    }
};

TEST_F(LineNodesEdit, AddingAndRemovingBendPoints)
{
    struct Case {
        const char* nodes;
        POINT p;
        const char* after;
    } const cases[] = {
        {"", {2000, 100}, "7D0,64"},                       // a straight line gets one
        {"7D0,7D0", {1000, 1000}, "3E8,3E8,7D0,7D0"},      // near the first segment
        {"7D0,7D0", {3000, 1000}, "7D0,7D0,BB8,3E8"},      // near the final one
        {"7D0,7D0", {2000, -3000}, "7D0,7D0"},             // near none
    };
    int id = 2700;
    for (const auto& c : cases) {
        AddLine(++id, c.nodes);
        AddLineNode(id, c.p);
        EXPECT_EQ(NodesOf(id), c.after) << c.nodes;
    }
    AddLine(++id, "3E8,7D0,BB8,7D0");
    UndoLog::NewGroup();
    RemoveLineNode(id, 2);
    EXPECT_EQ(NodesOf(id), "BB8,7D0");
    RemoveLineNode(id, 2);
    EXPECT_EQ(NodesOf(id), "");
    ASSERT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(NodesOf(id), "3E8,7D0,BB8,7D0");
}

TEST(LinePath, EllipseAttachOnARow)
{
    SymbolT row;
    row.x1 = 0;
    row.y1 = 0;
    row.x2 = 1000;
    row.y2 = 600;
    int x = 0, y = 0;
    AttachPointOnSymbolEllipse(x, y, 550, 2000, row);
    EXPECT_EQ(x, 500);
    EXPECT_EQ(y, 600);
}

} // namespace
