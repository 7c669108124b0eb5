// One row per symbol key: where it is placed, the size its layout gives, a
// point that must be inked when it is drawn, and a point that hits it and one
// that misses it (offsets from its top-left corner, page units). Sizes of
// text-dependent symbols are checked by their own tests below the table.
#include "SymbolFixture.h"

#include "UML/Model/DrawResources.h"

#include <algorithm>
#include <string>

namespace {

// Lines run from a symbol left of the drawn rectangle to one right of it:
// classes, parts in a class, a use case and an actor (bare rows), lifelines
// level with each other, or actions.
enum Container {
    OnPage,
    OnLifeline,
    OnTimestate,
    OnTimelifeline,
    InClass,
    InEnumeration,
    BetweenClasses,
    BetweenParts,
    FromUsecaseToActor,
    BetweenLifelines,
    BetweenActions
};

struct SymbolCase {
    const char* key;
    Container in;
    RECT drawn;
    int width;  // -1: depends on the text
    int height;
    POINT ink;
    POINT hit;
    POINT miss;
    bool pageTall = false;  // draws on down the page, out of the picture
};

const int X = 3000, Y = 3000;

const SymbolCase kCases[] = {
    {"Initial", OnPage, {X, Y, X + 1000, Y + 1000}, 400, 400, {200, 200}, {200, 200}, {600, 200}},
    {"Unknownobject", OnPage, {X, Y, X + 100, Y + 100}, 400, 400, {200, 200}, {200, 200}, {600, 200}},
    {"Start", OnPage, {X, Y, X + 1000, Y + 100}, 400, 400, {200, 200}, {200, 200}, {200, 600}},
    {"Final", OnPage, {X, Y, X + 1000, Y + 1000}, 520, 520, {260, 260}, {260, 260}, {260, 900}},
    {"Return", OnPage, {X, Y, X + 100, Y + 100}, 520, 520, {260, 260}, {20, 260}, {260, 900}},
    {"Flowfinal", OnPage, {X, Y, X + 1000, Y + 1000}, 520, 520, {260, 260}, {260, 260}, {260, 900}},
    {"History", OnPage, {X, Y, X + 1000, Y + 1000}, 520, 520, {120, 260}, {260, 260}, {900, 260}},
    {"Terminal", OnPage, {X, Y, X + 1000, Y + 1000}, 520, 520, {260, 260}, {260, 260}, {900, 260}},
    {"Fork", OnPage, {X, Y, X + 1000, Y + 50}, 1000, 200, {500, 100}, {500, 100}, {500, 600}},
    {"Lifelinestop", OnLifeline, {X, Y, X + 100, Y + 100}, 460, 460, {230, 230}, {230, 230}, {230, 900}},
    {"Coregion", OnLifeline, {X, Y, X + 100, Y + 100}, 330, 800, {165, 0}, {165, 400}, {165, 1200}},
    {"Duration", OnLifeline, {X, Y, X + 100, Y + 100}, 400, 800, {200, 0}, {200, 400}, {200, 1200}},
    {"Timeduration", OnLifeline, {X, Y, X + 2000, Y + 800}, -1, 800, {0, 400}, {1000, 400}, {1000, 1200}},
    {"Timeline", OnTimestate, {X, Y, X, Y}, -1, 0, {75, 0}, {75, 100}, {75, 400}},
    {"Comment", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 100}, {100, 100}, {-300, 100}},
    {"Constraint", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 100}, {100, 100}, {-300, 100}},
    {"Package", OnPage, {X, Y, X + 3000, Y + 2000}, 3000, 2000, {500, -150}, {500, -200}, {-300, 100}},
    {"Syspackage", OnPage, {X, Y, X + 3000, Y + 2000}, 3000, 2000, {500, -150}, {500, -200}, {1200, -200}},
    {"Interface", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Class", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Artifact", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Enumeration", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Stereotype", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Attribute", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Operation", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Activity", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Interaction", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Signal", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Statemachine", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Literal", InEnumeration, {X, Y, X + 100, Y + 100}, -1, -1, {30, 250}, {100, 100}, {-300, 100}},
    {"Dependency", BetweenClasses, {X, Y, X + 4000, Y}, 4000, 0, {3990, 0}, {2000, 140}, {2000, 400}},
    {"Realization", BetweenClasses, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
    {"Association", BetweenClasses, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
    {"Connector", BetweenParts, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
    {"Performance", FromUsecaseToActor, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
    {"Part", InClass, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {50, 50}, {-300, 100}},
    {"Objectnode", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Pin", OnPage, {X, Y, X + 100, Y + 100}, 400, 400, {0, 0}, {200, 200}, {-300, 200}},
    {"Port", InClass, {X, Y, X + 100, Y + 100}, 450, 450, {0, 0}, {225, 225}, {1000, 225}},
    {"Component", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Composition", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Node", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    {"Subject", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 0}, {100, 100}, {-300, 100}},
    // Hit inside the circle's square, clear of the stick and the name.
    {"Realized", InClass, {X, Y, X + 100, Y + 100}, -1150, 0, {-500, 0}, {-1330, 100}, {-500, 600}},
    {"Required", InClass, {X, Y, X + 100, Y + 100}, -1150, 0, {-500, 0}, {-1330, 100}, {-500, 600}},
    {"Action", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 400}, {100, 100}, {-300, 100}},
    {"Actionnode", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 450}, {100, 100}, {-300, 100}},
    {"Choice", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 503}, {953, 503}, {30, 30}},
    {"Inlineframe", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 400}, {100, 400}, {5000, 450}},
    {"Reference", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 600}, {100, 100}, {-300, 100}},
    {"Send", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 400}, {100, 100}, {-300, 100}},
    {"Receive", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 400}, {100, 100}, {-300, 100}},
    {"State", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 450}, {100, 100}, {-300, 100}},
    {"Timestate", OnTimelifeline, {X, Y, X + 2000, Y + 800}, 17400, -1, {275, 653}, {1000, 400}, {1000, 1400}},
    {"Actor", OnPage, {X, Y, X + 100, Y + 100}, 500, 1050, {250, 440}, {250, 500}, {-300, 500}},
    {"Lifeline", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {626, 2000}, {726, 5000}, {-300, 2000}, true},
    {"Partition", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 2000}, {600, 3000}, {-300, 100}},
    {"Timelifeline", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 300}, {5000, 300}, {5000, 1200}},
    {"Usecase", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 551}, {776, 551}, {-300, 100}},
    {"Junction", OnPage, {X, Y, X + 100, Y + 100}, -1, -1, {0, 551}, {1265, 551}, {-300, 100}},
    // Messages run between the lifelines' centre lines below their heads.
    {"Message", BetweenLifelines, {X, Y, X + 4000, Y}, -1, 0, {600, 0}, {600, 140}, {600, 400}},
    // Its end on the far head's side, on its middle.
    {"Create", BetweenLifelines, {X, Y, X + 4000, Y}, -1, -1, {0, 0}, {1000, 0}, {1000, 400}},
    // The return arrow runs 500 below the call.
    {"Methodcall", BetweenLifelines, {X, Y, X + 4000, Y}, -1, 0, {600, 0}, {600, 140}, {600, -400}, true},
    {"Flow", BetweenActions, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
    {"Activityline", BetweenActions, {X, Y, X + 4000, Y}, 4000, 0, {2000, 0}, {2000, 140}, {2000, 400}},
};

class SymbolCases : public SymbolFixture, public ::testing::WithParamInterface<SymbolCase> {
protected:
    int Container(Container in)
    {
        if (in == OnLifeline)
            return Place("Lifeline", RECT{X - 500, Y - 1000, X + 2500, Y + 9000});
        if (in == OnTimestate) {
            const int lifeline = Place("Timelifeline", RECT{X - 2000, Y - 1000, X + 9000, Y + 2000});
            return Place("Timestate", RECT{X - 1500, Y - 500, X - 500, Y + 500}, lifeline, "on");
        }
        if (in == OnTimelifeline)
            return Place("Timelifeline", RECT{X - 2000, Y - 1000, X + 9000, Y + 2000});
        if (in == InClass)
            return Place("Class", RECT{X + 6000, Y, X + 6100, Y + 100});
        if (in == InEnumeration)
            return Place("Enumeration", RECT{X + 6000, Y, X + 6100, Y + 100});
        return 0;
    }

    bool InkNear(POINT p)
    {
        const int x = PageCanvas::Device(p.x), y = PageCanvas::Device(p.y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (canvas.IsInk(x + dx, y + dy))
                    return true;
        return false;
    }

    // An end symbol of the line kind in, at x.
    int LineEnd(enum Container in, bool source, int x, int y)
    {
        const RECT box{x, y, x + 100, y + 100};
        if (in == BetweenParts) {
            if (holder_ == 0)
                holder_ = Place("Class", RECT{X, Y + 9000, X + 100, Y + 9100}, 0, "Holder");
            return Place("Part", box, holder_);
        }
        if (in == FromUsecaseToActor) {
            const char* key = source ? "Usecase" : "Actor";
            const int element =
                Prototype(key)->InsertElementFields({"FID", std::to_string(owner).c_str(), "Name", key});
            ModelT e;
            EXPECT_TRUE(FetchElementById(element, e));
            const std::string guid = e.GUID;
            return Prototype(key)->InsertSymbolFields({"PID", std::to_string(page).c_str(), "GUID", guid.c_str(),
                                                       "x1", std::to_string(x).c_str(), "y1",
                                                       std::to_string(y).c_str(), "x2",
                                                       std::to_string(x + 1000).c_str(), "y2",
                                                       std::to_string(y + 1000).c_str()});
        }
        if (in == BetweenLifelines)
            return Place("Lifeline", box, 0, source ? "a" : "b");
        if (in == BetweenActions)
            return Place("Action", box, 0, source ? "a = 1" : "b = 2");
        return Place("Class", box);
    }

    // A line between two end symbols whose facing sides are the drawn
    // rectangle's left and right edges, level with its top.
    int DrawLine(const char* key, enum Container in, RECT drawn)
    {
        const int from = LineEnd(in, true, drawn.left - 1000, drawn.top - 100);
        const int to = LineEnd(in, false, drawn.right, drawn.top - 100);
        const SymbolT a = Row(from), b = Row(to);
        // Level the two boxes on the line and put the source's right side on
        // the drawn left edge.
        EXPECT_TRUE(UpdateSymbolFields(from, {"x1", std::to_string(drawn.left - (a.x2 - a.x1)).c_str(), "x2",
                                              std::to_string(drawn.left).c_str(), "y1",
                                              std::to_string(drawn.top - (a.y2 - a.y1) / 2).c_str(), "y2",
                                              std::to_string(drawn.top + (a.y2 - a.y1) / 2).c_str()}));
        EXPECT_TRUE(UpdateSymbolFields(to, {"x1", std::to_string(drawn.right).c_str(), "x2",
                                            std::to_string(drawn.right + (b.x2 - b.x1)).c_str(), "y1",
                                            std::to_string(drawn.top - (b.y2 - b.y1) / 2).c_str(), "y2",
                                            std::to_string(drawn.top + (b.y2 - b.y1) / 2).c_str()}));
        return Connect(key, from, to);
    }

    int holder_ = 0;
};

TEST_P(SymbolCases, CreatesLaysOutDrawsAndHitTests)
{
    const SymbolCase& c = GetParam();
    const bool line = c.in == BetweenClasses || c.in == BetweenParts || c.in == FromUsecaseToActor ||
                      c.in == BetweenLifelines || c.in == BetweenActions;
    const int container = line ? 0 : Container(c.in);
    const int id = line ? DrawLine(c.key, c.in, c.drawn)
                        : Place(c.key, c.drawn, container, c.in == OnPage && c.width < 0 ? "Note" : "");
    ASSERT_GT(id, 0);
    // Symbols on a border are laid out by their container.
    RelayoutSymbol(id, &canvas.dc);
    const SymbolT row = Row(id);
    EXPECT_STREQ(row.Type, c.key);
    EXPECT_EQ(row.PID, page);
    EXPECT_EQ(row.FID, c.in == OnPage || line ? 0 : container);
    EXPECT_EQ(row.MMC, Prototype(c.key)->mmc);
    if (c.width >= 0) {
        EXPECT_EQ(row.x2 - row.x1, c.width);
    }
    if (c.height >= 0) {
        EXPECT_EQ(row.y2 - row.y1, c.height);
    }

    PrepareSymbolDC(&canvas.dc);
    Prototype(c.key)->Draw(row, &canvas.dc);
    canvas.Save(std::string("symbols/case-") + c.key);
    EXPECT_TRUE(InkNear(POINT{row.x1 + c.ink.x, row.y1 + c.ink.y}));
    // Nothing lands far from the symbol: its bounds (either way round), tab
    // and text box.
    const int margin = 350;
    const int left = std::min({row.x1, row.x2, row.tx1}) - margin;
    const int right = std::max({row.x1, row.x2, row.tx2}) + margin;
    const int top = std::min({row.y1, row.y2, row.ty1}) - margin;
    const int bottom = std::max({row.y1, row.y2, row.ty2}) + margin;
    const QRect ink = canvas.InkBox();
    EXPECT_GE(ink.left(), PageCanvas::Device(left));
    EXPECT_LE(ink.right(), PageCanvas::Device(right));
    EXPECT_GE(ink.top(), PageCanvas::Device(top));
    if (!c.pageTall) {
        EXPECT_LE(ink.bottom(), PageCanvas::Device(bottom));
    }

    HitSymbol out;
    EXPECT_TRUE(Prototype(c.key)->HitTest(POINT{row.x1 + c.hit.x, row.y1 + c.hit.y}, row, out));
    EXPECT_EQ(out.rec.ID, id);
    EXPECT_STREQ(out.rec.SGUID, row.SGUID);
    EXPECT_FALSE(Prototype(c.key)->HitTest(POINT{row.x1 + c.miss.x, row.y1 + c.miss.y}, row, out));
}

INSTANTIATE_TEST_SUITE_P(EveryKey, SymbolCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SymbolCase>& info) { return std::string(info.param.key); });

} // namespace
