#include "UML/Model/Symbol.h"

#include "HookRecorder.h"
#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "ModelRows.h"
#include "UML/Model/SymbolText.h"
#include "PageCanvas.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextPool.h"
#include "UML/Model/PageState.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

CSymbol* Prototype(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p;
}

class LineEnds : public ::testing::Test {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
        PrepareSymbolDC(&canvas.dc);
        thePageState.UsableWidth = 18000;
        thePageState.UsableHeight = 26700;
        TextPool.Reset();
    }
    void TearDown() override { TextPool.Reset(); }

    static ModelT Element(int id)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
        return *c.GetRecord();
    }
    static HitSymbol Box(const char* sguid, const char* guid, RECT r)
    {
        HitSymbol h;
        SafeStrCopy(h.type, "Class", sizeof h.type);
        SafeStrCopy(h.sguid, sguid, sizeof h.sguid);
        SafeStrCopy(h.guid, guid, sizeof h.guid);
        h.rec.x1 = r.left;
        h.rec.y1 = r.top;
        h.rec.x2 = r.right;
        h.rec.y2 = r.bottom;
        return h;
    }
    PageCanvas canvas{40, 40};
};

TEST_F(LineEnds, AttachPointsTieAndNeverOverflow)
{
    SymbolT box;
    box.x1 = 1000;
    box.y1 = 1000;
    box.x2 = 3000;
    box.y2 = 3000;
    struct Case {
        int px, py, ax, ay;
        int side, x, y;
    } const cases[] = {
        // Through the top-right corner from above right: right and top tie, right stays.
        {3000, 1000, 5000, -1000, 3, 3000, 1000},
        // Nearly horizontal: the top and bottom crossings lie far outside int.
        {2000, 2000, 2000000000, 2001, 3, 3000, 2000},
        {2000, 2000, -2000000000, 1999, 1, 1000, 1999},
    };
    for (const auto& c : cases) {
        int x = c.px, y = c.py;
        EXPECT_EQ(Prototype("Class")->GetAttachPoint(box, x, y, c.ax, c.ay), c.side) << c.ax;
        EXPECT_EQ(x, c.x) << c.ax;
        EXPECT_EQ(y, c.y) << c.ax;
    }
}

TEST_F(LineEnds, ConnectingAnEndMovesTheLinesElement)
{
    HookRecorder hooks;
    InsertElement(6001, 0, "Class", "LE-A");
    InsertElement(6002, 0, "Class", "LE-B");
    InsertElement(6003, 6001, "Association", "LE-L", MMC_ATTRIBUTE, 0, "LE-B");
    const HitSymbol a = Box("LE-SA", "LE-A", RECT{1000, 1000, 3000, 3000});
    const HitSymbol b = Box("LE-SB", "LE-B", RECT{8000, 1000, 10000, 3000});
    const HitSymbol c = Box("LE-SC", "", RECT{1000, 8000, 3000, 9000});
    struct Case {
        const char* name;
        const HitSymbol* target;
        int end;
        bool ok;
        int fid;
        const char* use;
        bool tree;
    } const cases[] = {
        {"source to B moves the element under B", &b, 0, true, 6002, "LE-B", true},
        {"destination to A uses A", &a, 1, true, 6002, "LE-A", false},
        {"the same end again changes nothing", &a, 1, true, 6002, "LE-A", false},
        {"a symbol without element moves only the end", &c, 1, true, 6002, "LE-A", false},
        {"no target", nullptr, 1, false, 6002, "LE-A", false},
    };
    SymbolT line;
    line.MMC = MMC_ATTRIBUTE;
    line.GUID = "LE-L";
    line.SrcID = "LE-SA";
    line.DestID = "LE-SB";
    line.x1 = 3000;
    line.y1 = 2000;
    line.x2 = 8000;
    line.y2 = 2000;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        hooks.calls.clear();
        const SymbolT before = line;
        const bool ok = Prototype("Association")->ConnectLineEnd(line, k.target ? &k.target->rec : nullptr,
                                                                 POINT{2000, 2000}, &canvas.dc, k.end);
        EXPECT_EQ(ok, k.ok);
        const ModelT e = Element(6003);
        EXPECT_EQ(e.FID, k.fid);
        EXPECT_STREQ(e.Use, k.use);
        EXPECT_EQ(hooks.Has("tree"), k.tree);
        if (ok)
            EXPECT_STREQ(k.end == 0 ? line.SrcID : line.DestID, k.target->sguid);
        else
            EXPECT_EQ(std::string(line.DestID), before.DestID);
    }
}

TEST_F(LineEnds, ARefusedConnectionLeavesTheRowAlone)
{
    // The line's element is gone: the end keeps its symbol and position.
    InsertElement(6101, 0, "Class", "LR-A");
    const HitSymbol a = Box("LR-SA", "LR-A", RECT{1000, 1000, 3000, 3000});
    HitSymbol noIdCopy = a;
    const HitSymbol& noId = noIdCopy;
    noIdCopy.sguid[0] = 0;
    for (const HitSymbol* target : {&a, &noId}) {
        SymbolT line;
        line.MMC = MMC_ATTRIBUTE;
        line.GUID = "LR-MISSING";
        line.SrcID = "LR-OLD";
        line.x1 = 5000;
        line.y1 = 5000;
        EXPECT_FALSE(Prototype("Association")->ConnectLineEnd(line, &target->rec, POINT{2000, 2000}, &canvas.dc, 0));
        EXPECT_STREQ(line.SrcID, "LR-OLD");
        EXPECT_EQ(line.x1, 5000);
    }
}

TEST_F(LineEnds, MovingABendPointSnapsEveryPointToItsPredecessor)
{
    // PixelSize is 26 at zoom 1: points closer than 52 units in x or y align.
    struct Case {
        const char* nodes;
        int handle;
        POINT to;
        bool ok;
        const char* expect;
    } const cases[] = {
        {"3E8,3E8,7D0,7D0,BB8,BB8", 3, POINT{0x3E8 + 30, 0x7D0}, true, "3E8,3E8,3E8,7D0,BB8,BB8"},
        {"3E8,3E8", 2, POINT{1000, 1020}, true, "3E8,3E8"},
        {"3E8,3E8", 2, POINT{5000, 40000}, true, "1388,6832"},
        {"3E8,3E8", 3, POINT{1, 1}, false, "3E8,3E8"},
        {"", 2, POINT{1, 1}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nodes);
        TextPool.Reset();
        SymbolT line;
        line.x1 = 0;
        line.y1 = 1000;
        line.x2 = 5000;
        line.y2 = 5000;
        line.Nodes = c.nodes;
        EXPECT_EQ(Prototype("Association")->ConnectLineEnd(line, nullptr, c.to, &canvas.dc, c.handle), c.ok);
        EXPECT_STREQ(line.Nodes, c.expect);
    }
}

} // namespace

namespace {

TEST_F(LineEnds, FittingPutsBothEndsOnTheirSymbolsAndPlacesTheLabel)
{
    InsertSymbol({1, 6201, 0, "Class", "FIT-A", "", RECT{1000, 1000, 3000, 3000}});
    InsertSymbol({1, 6202, 0, "Class", "FIT-B", "", RECT{9000, 1000, 11000, 3000}});
    int w = 0, h = 0;
    MeasureText(&canvas.dc, w, h, "owns");
    struct Case {
        const char* name;
        const char* dest;
        int itemState;
        bool fitted;
        int x1, x2, tx1, ty1;
    } const cases[] = {
        // A horizontal line: its label sits above the first segment as it
        // was before the ends moved, centred.
        {"autolayout", "FIT-B", SYMBOL_AUTOLAYOUT, true, 3000, 9000, (8000 + 2000 - w) >> 1, ((4000 - h) >> 1) - (h >> 1)},
        // Without autolayout the label keeps its place.
        {"placed label", "FIT-B", 0, true, 3000, 9000, 500, 700},
        // A missing end leaves it where it was; the source end has moved.
        {"missing end", "FIT-GONE", SYMBOL_AUTOLAYOUT, false, 3000, 8000, 500, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SymbolT line;
        line.Text = "owns";
        line.SrcID = "FIT-A";
        line.DestID = c.dest;
        line.ItemState = static_cast<int16_t>(c.itemState);
        line.x1 = 2000;
        line.y1 = 2000;
        line.x2 = 8000;
        line.y2 = 2000;
        line.tx1 = 500;
        line.ty1 = 700;
        EXPECT_EQ(Prototype("Association")->FitLineEnds(line, &canvas.dc), c.fitted);
        EXPECT_EQ(line.x1, c.x1);
        EXPECT_EQ(line.x2, c.x2);
        EXPECT_EQ(line.tx1, c.tx1);
        EXPECT_EQ(line.ty1, c.ty1);
        if (c.fitted) {
            EXPECT_EQ(line.tx2 - line.tx1, w);
        }
    }
}

} // namespace
