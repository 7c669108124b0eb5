// Lines follow their end symbols: for each end shape, moving and resizing it
// (or its container) leaves every attached line end where the shape's own
// attach point puts it on the new border, keeps every bend point, and undo
// gives back the tables exactly.
#include "SymbolFixture.h"

#include "MemDB/UndoLog.h"
#include "UML/Model/LineNodes.h"

#include <climits>
#include <string>
#include <vector>

namespace {

enum Shape { ClassBox, NestedPart, PortOnClass, Lollipop, Socket, PinOnPage, ActorRow, UsecaseRow };

struct ShapeCase {
    const char* name;
    Shape shape;
};

const ShapeCase kShapes[] = {
    {"ClassBox", ClassBox}, {"NestedPart", NestedPart}, {"Port", PortOnClass}, {"Lollipop", Lollipop},
    {"Socket", Socket},     {"Pin", PinOnPage},         {"Actor", ActorRow},   {"Usecase", UsecaseRow},
};

// Every symbol row as text, selection aside, in ID order.
std::vector<std::string> SymbolRows()
{
    std::vector<std::string> rows;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKeyRange("ID", INT_MIN, INT_MAX) > 0)
        do
            rows.push_back(std::to_string(c->ID) + " " + std::to_string(c->FID) + " " + std::to_string(c->x1) + "," +
                           std::to_string(c->y1) + "," + std::to_string(c->x2) + "," + std::to_string(c->y2) + " " +
                           std::to_string(c->tx1) + "," + std::to_string(c->ty1) + "," + std::to_string(c->tx2) +
                           "," + std::to_string(c->ty2) + " " + std::to_string(c->ItemState & ~SYMBOL_CHECKED) +
                           " " + text(c->SrcID) + " " + text(c->DestID) + " " + text(c->Nodes));
        while (c.Next());
    return rows;
}

class ReRouting : public SymbolFixture, public ::testing::WithParamInterface<ShapeCase> {
protected:
    ReRouting() : SymbolFixture("Compositestructurediagram") {}

    // A bare row of key showing a new element, for the kinds whose classes
    // come later.
    int Figure(const char* key, int x, int y)
    {
        const int element = Prototype(key)->InsertElementFields({"FID", std::to_string(owner).c_str(), "Name", key});
        ModelT e;
        EXPECT_TRUE(FetchElementById(element, e));
        const std::string guid = e.GUID;
        return Prototype(key)->InsertSymbolFields({"PID", std::to_string(page).c_str(), "GUID", guid.c_str(), "x1",
                                                   std::to_string(x).c_str(), "y1", std::to_string(y).c_str(), "x2",
                                                   std::to_string(x + 1000).c_str(), "y2",
                                                   std::to_string(y + 1200).c_str()});
    }

    // The end symbol of the shape; moved gets the symbol that is moved and
    // resized (the shape or its container).
    int Build(Shape shape, int& moved)
    {
        const int x = 10000, y = 10000;
        switch (shape) {
        case ClassBox:
            return moved = Place("Class", RECT{x, y, x + 100, y + 100}, 0, "Box");
        case NestedPart: {
            moved = Place("Component", RECT{x, y, x + 100, y + 100}, 0, "Outer");
            const int part = Place("Part", RECT{x + 300, y + 800, x + 400, y + 900}, moved, "inner");
            RelayoutSymbol(moved, &canvas.dc);
            return part;
        }
        case PortOnClass:
        case Lollipop:
        case Socket: {
            moved = Place("Class", RECT{x, y, x + 100, y + 100}, 0, "Box");
            const SymbolT box = Row(moved);
            if (shape == Socket) {
                const int end = Place("Required", RECT{box.x2, box.y1 + 300, box.x2, box.y1 + 300}, moved, "I");
                RelayoutSymbol(moved, &canvas.dc);
                return end;
            }
            const int port = Place("Port", RECT{box.x2 - 100, box.y1 + 300, box.x2, box.y1 + 400}, moved, "p");
            if (shape == PortOnClass) {
                RelayoutSymbol(moved, &canvas.dc);
                return port;
            }
            const int end = Place("Realized", RECT{0, 0, 0, 0}, port, "I");
            RelayoutSymbol(moved, &canvas.dc);
            return end;
        }
        case PinOnPage:
            return moved = Place("Pin", RECT{x, y, x + 100, y + 100}, 0, "in");
        case ActorRow:
            return moved = Figure("Actor", x, y);
        default:
            return moved = Figure("Usecase", x, y);
        }
    }

    // A line of key between the two symbols, drawn from centre to centre
    // through the bend points given.
    int Line(const char* key, int from, int to, const char* nodes)
    {
        const SymbolT a = Row(from), b = Row(to);
        const std::string src = a.SGUID, dest = b.SGUID;
        const int id = Prototype(key)->InsertSymbolFields(
            {"PID", std::to_string(page).c_str(), "SrcID", src.c_str(), "DestID", dest.c_str(), "Nodes", nodes,
             "ItemState", "1", "x1", std::to_string((a.x1 + a.x2) / 2).c_str(), "y1",
             std::to_string((a.y1 + a.y2) / 2).c_str(), "x2", std::to_string((b.x1 + b.x2) / 2).c_str(), "y2",
             std::to_string((b.y1 + b.y2) / 2).c_str()});
        Relayout(id);
        return id;
    }

    // Each line end at the shape lies where its attach point puts it, from
    // the neighbouring point of the line.
    void ExpectEndsOnBorder(int shape, const std::vector<int>& lines)
    {
        const SymbolT end = Row(shape);
        for (int id : lines) {
            SCOPED_TRACE("line " + std::to_string(id));
            const SymbolT line = Row(id);
            const bool source = std::string(line.SrcID) == end.SGUID;
            int rx = source ? line.x2 : line.x1, ry = source ? line.y2 : line.y1;
            GetLineNode(line.Nodes, rx, ry, source ? 0 : -1);
            int x = source ? line.x1 : line.x2, y = source ? line.y1 : line.y2;
            const int stored[2] = {x, y};
            Prototype(end.Type)->GetAttachPoint(end, x, y, rx, ry);
            EXPECT_EQ(x, stored[0]);
            EXPECT_EQ(y, stored[1]);
        }
    }
};

TEST_P(ReRouting, LineEndsFollowTheirShapeAndBendPointsStay)
{
    int moved = 0;
    const int shape = Build(GetParam().shape, moved);
    ASSERT_GT(shape, 0);
    const int other = Place("Class", RECT{30000, 2000, 30100, 2100}, 0, "Other");
    const std::vector<int> lines = {Line("Dependency", other, shape, ""),
                                    Line("Association", shape, other, "4E20,1388,7530,1388")};
    const std::string bends = Row(lines[1]).Nodes;
    {
        SCOPED_TRACE("drawn");
        ExpectEndsOnBorder(shape, lines);
    }

    const std::vector<std::string> start = SymbolRows();
    UndoLog::NewGroup();
    MoveSymbol(moved, &canvas.dc, SIZE{700, 300});
    EXPECT_NE(SymbolRows(), start);
    {
        SCOPED_TRACE("moved");
        ExpectEndsOnBorder(shape, lines);
    }
    EXPECT_EQ(Row(lines[1]).Nodes, bends);
    const std::vector<std::string> afterMove = SymbolRows();

    UndoLog::NewGroup();
    ResizeSymbol(moved, SIZE{900, 600}, 1, &canvas.dc);
    {
        SCOPED_TRACE("resized");
        ExpectEndsOnBorder(shape, lines);
    }
    EXPECT_EQ(Row(lines[1]).Nodes, bends);

    UndoLog::Undo();
    EXPECT_EQ(SymbolRows(), afterMove);
    UndoLog::Undo();
    EXPECT_EQ(SymbolRows(), start);
}

INSTANTIATE_TEST_SUITE_P(EveryEndShape, ReRouting, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

} // namespace
