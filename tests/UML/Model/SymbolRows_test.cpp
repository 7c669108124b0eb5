#include "UML/Model/SymbolRows.h"

#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "PageCanvas.h"
#include "Pub/SYSConfig.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Rows live in one shared database, so each test numbers its own from base.
class SymbolRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
        UndoLog::Clear();
    }

    static void Add(int id, int fid, const char* type, const char* sguid, RECT box, int msc = MSC_RECTANGLE,
                    const char* src = "", const char* dest = "", const char* guid = "", int itemState = 0,
                    const char* nodes = "")
    {
        SymbolT s;
        s.ID = id;
        s.PID = 1;
        s.FID = fid;
        s.Type = type;
        s.SGUID = sguid;
        s.GUID = guid;
        s.SrcID = src;
        s.DestID = dest;
        s.Nodes = nodes;
        s.MSC = static_cast<int8_t>(msc);
        s.ItemState = static_cast<int16_t>(itemState);
        s.x1 = box.left;
        s.y1 = box.top;
        s.x2 = box.right;
        s.y2 = box.bottom;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
    static bool Exists(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        return c.SelectByKey("ID", id) > 0;
    }
    static SymbolT Row(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
        return *c.GetRecord();
    }
    static bool ElementExists(const char* guid)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        return c.SelectByKey("GUID", guid) > 0;
    }
    static void AddElement(int id, const char* type, const char* guid)
    {
        ModelT e;
        e.ID = e.SN = id;
        e.Type = type;
        e.GUID = guid;
        theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    }
};

TEST_F(SymbolRows, DeletingTakesLinesAndChildrenButNotSelectedLines)
{
    for (bool withElements : {false, true}) {
        SCOPED_TRACE(withElements);
        const int b = withElements ? 2100 : 2000;
        const std::string tag = std::to_string(b);
        const std::string a = "A" + tag, other = "B" + tag, e1 = "E1" + tag, e2 = "E2" + tag;
        AddElement(b + 90, "Dependency", e1.c_str());
        AddElement(b + 91, "Realization", e2.c_str());
        Add(b + 1, 0, "Class", a.c_str(), RECT{0, 0, 1000, 1000});
        Add(b + 2, 0, "Class", other.c_str(), RECT{3000, 0, 4000, 1000});
        Add(b + 3, 0, "Dependency", "L1", RECT{1000, 500, 3000, 500}, MSC_LINE, a.c_str(), other.c_str(), e1.c_str());
        Add(b + 4, 0, "Realization", "L2", RECT{3000, 500, 1000, 500}, MSC_LINE, other.c_str(), a.c_str(), e2.c_str());
        Add(b + 5, 0, "Dependency", "L3", RECT{1000, 900, 3000, 900}, MSC_LINE, a.c_str(), other.c_str(), "",
            SYMBOL_CHECKED);
        Add(b + 6, b + 1, "Attribute", "C1", RECT{100, 100, 900, 400});
        Add(b + 7, b + 6, "Port", "C2", RECT{100, 100, 300, 300});
        Add(b + 8, b + 7, "Realized", "C3", RECT{100, 100, 200, 200});

        UndoLog::NewGroup();
        DeleteSymbol(b + 1, withElements);
        for (int gone : {b + 1, b + 3, b + 4, b + 6, b + 7, b + 8})
            EXPECT_FALSE(Exists(gone)) << gone;
        EXPECT_TRUE(Exists(b + 2));
        EXPECT_TRUE(Exists(b + 5)) << "a selected line waits for its own turn";
        EXPECT_EQ(ElementExists(e1.c_str()), !withElements);
        EXPECT_EQ(ElementExists(e2.c_str()), !withElements);

        // The whole deletion is one undoable step.
        ASSERT_EQ(UndoLog::Undo(), 1);
        for (int back : {b + 1, b + 3, b + 4, b + 6, b + 7, b + 8})
            EXPECT_TRUE(Exists(back)) << back;
        EXPECT_TRUE(ElementExists(e1.c_str()));
    }
    DeleteSymbol(987654, true); // nothing there
}

TEST_F(SymbolRows, MovingCarriesLineEndsAndChildrenButNotBendPoints)
{
    PageCanvas canvas(20, 20);
    PrepareSymbolDC(&canvas.dc);
    Add(2201, 0, "Class", "MA", RECT{1000, 1000, 4000, 3000});
    Add(2202, 0, "Class", "MB", RECT{9000, 9000, 12000, 11000});
    Add(2203, 0, "Association", "ML", RECT{4000, 2000, 9000, 10000}, MSC_LINE, "MA", "MB", "", 0, "1770,1388");
    Add(2204, 0, "Association", "MM", RECT{9000, 9000, 1500, 1500}, MSC_LINE, "MB", "MA");
    Add(2205, 2201, "Part", "MP", RECT{1500, 1500, 2500, 2500});

    MoveSymbol(2201, &canvas.dc, SIZE{100, -50});
    const SymbolT box = Row(2201), line = Row(2203), back = Row(2204), part = Row(2205), still = Row(2202);
    EXPECT_EQ(box.x1, 1100);
    EXPECT_EQ(box.y1, 950);
    EXPECT_EQ(line.x1, 4100);
    EXPECT_EQ(line.y1, 1950);
    EXPECT_EQ(line.x2, 9000);
    EXPECT_STREQ(line.Nodes, "1770,1388");
    EXPECT_EQ(back.x2, 1600);
    EXPECT_EQ(back.y2, 1450);
    EXPECT_EQ(part.x1, 1600);
    EXPECT_EQ(part.y1, 1450);
    EXPECT_EQ(still.x1, 9000);

    const size_t depth = UndoLog::UndoDepth();
    MoveSymbol(2201, &canvas.dc, SIZE{0, 0});
    EXPECT_EQ(UndoLog::UndoDepth(), depth);
}

TEST_F(SymbolRows, ResizingSwitchesOffAutolayout)
{
    PageCanvas canvas(20, 20);
    PrepareSymbolDC(&canvas.dc);
    Add(2301, 0, "Class", "RA", RECT{1000, 1000, 4000, 3000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    ResizeSymbol(2301, SIZE{100, 0}, 1, &canvas.dc);
    SymbolT row = Row(2301);
    EXPECT_EQ(row.x2, 4100);
    EXPECT_EQ(row.y2, 3000);
    EXPECT_EQ(row.ItemState & SYMBOL_AUTOLAYOUT, 0);
    ResizeSymbol(2301, SIZE{-200, -300}, 0, &canvas.dc);
    row = Row(2301);
    EXPECT_EQ(row.x1, 800);
    EXPECT_EQ(row.y1, 700);
}

TEST_F(SymbolRows, RelayoutLaysOutTheTopLevelSymbolAndSurvivesBrokenChains)
{
    PageCanvas canvas(20, 20);
    PrepareSymbolDC(&canvas.dc);
    Add(2401, 0, "Class", "TA", RECT{1000, 1000, 9000, 9000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    Add(2402, 2401, "Class", "TB", RECT{2000, 2000, 8000, 8000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    Add(2403, 2402, "Class", "TC", RECT{3000, 3000, 7000, 7000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    Add(2404, 2403, "Class", "TD", RECT{4000, 4000, 6000, 6000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    RelayoutSymbol(2404, &canvas.dc);
    EXPECT_LT(Row(2401).x2, 9000) << "the top-level box shrinks to its text";
    EXPECT_EQ(Row(2404).x2, 6000) << "the nested one is left to its container";

    // An enclosing symbol that is gone, and an enclosing chain that loops.
    Add(2410, 777777, "Class", "TX", RECT{1000, 1000, 9000, 9000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    Add(2411, 2412, "Class", "TY", RECT{1000, 1000, 9000, 9000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    Add(2412, 2411, "Class", "TZ", RECT{1000, 1000, 9000, 9000}, MSC_RECTANGLE, "", "", "", SYMBOL_AUTOLAYOUT);
    const size_t depth = UndoLog::UndoDepth();
    for (int id : {2410, 2411, 2412, 999999})
        RelayoutSymbol(id, &canvas.dc);
    EXPECT_EQ(UndoLog::UndoDepth(), depth);
    EXPECT_EQ(Row(2410).x2, 9000);
}

TEST_F(SymbolRows, Lookups)
{
    AddElement(2590, "Class", "LookupElement000000003");
    Add(2501, 0, "Class", "LS1", RECT{0, 0, 10, 10}, MSC_RECTANGLE, "", "", "LookupElement000000003");
    EXPECT_EQ(ElementIdOfSguid("LS1"), 2590);
    EXPECT_EQ(ElementIdOfSguid(""), 0);
    EXPECT_EQ(ElementIdOfSguid("nothing"), 0);
    EXPECT_EQ(SymbolIdOfGuid("LookupElement000000003"), 2501);
    EXPECT_TRUE(ElementHasSymbols("LookupElement000000003"));
    EXPECT_FALSE(ElementHasSymbols("Unshown"));
    EXPECT_TRUE(ElementHasSymbolOnPage("LookupElement000000003", 1));
    EXPECT_FALSE(ElementHasSymbolOnPage("LookupElement000000003", 2));

    struct Case {
        const char* parent;
        const char* name;
        bool found;
        const char* symbol;
    } const cases[] = {
        {"Activitydiagram", "Class", true, "Class"},
        {"Activitydiagram", "Page", false, ""},  // owns pages, places nothing
        {"Class", "Attribute", true, "Attribute"},
        {"Clas", "Operation", true, "Operation"},
        {"Package", "Class", false, ""},
    };
    for (const auto& c : cases) {
        char symbol[65] = "";
        EXPECT_EQ(FindMetaRuleSymbol(c.parent, c.name, symbol), c.found) << c.parent << "/" << c.name;
        EXPECT_STREQ(symbol, c.symbol) << c.parent << "/" << c.name;
    }
    EXPECT_TRUE(FindMetaRuleSymbol("Class", "Attribute", nullptr));
}

} // namespace
