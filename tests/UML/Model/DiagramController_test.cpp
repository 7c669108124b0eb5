#include "UML/Model/DiagramController.h"

#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "PageCanvas.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Pages are built from rows with numbers of their own range per test, as
// every test shares one database.
class PageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
    }
    void TearDown() override { SetZoom(1.0f); }

    static void AddElement(int id, int fid, int sn, const char* type, const char* name, int itemState = 0)
    {
        ModelT e;
        e.ID = id;
        e.FID = fid;
        e.SN = sn;
        e.Type = type;
        e.Name = name;
        e.ItemState = static_cast<int16_t>(itemState);
        theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    }
    static void AddPage(int id, int diagram, int sn, int width = 8000, int height = 5000, int edge = 500)
    {
        AddElement(id, diagram, sn, "Page", "Page");
        ModelPage p;
        p.ID = id;
        p.PageWidth = width;
        p.PageHeight = height;
        p.EdgeX = p.EdgeY = static_cast<int16_t>(edge);
        theModelDb.InsertRecord(&ModelPage::TableInfo, &p);
    }
    static void AddSymbol(int id, int page, int fid, const char* type, RECT box, const char* text = "",
                          int itemState = 0, COLORREF colour = 0)
    {
        SymbolT s;
        s.ID = id;
        s.PID = page;
        s.FID = fid;
        s.Type = type;
        s.Text = text;
        s.x1 = box.left;
        s.y1 = box.top;
        s.x2 = box.right;
        s.y2 = box.bottom;
        s.tx1 = box.left + 150;
        s.ty1 = box.top + 150;
        s.tx2 = box.left + 150;
        s.ty2 = box.top + 150;
        s.ItemState = static_cast<int16_t>(itemState);
        s.Color = static_cast<int32_t>(colour);
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
    static CDiagramController* Controller(const char* kind)
    {
        CDiagramController* c = nullptr;
        EXPECT_TRUE(FindDiagramController(kind, c));
        return c;
    }
    static std::string SyntaxOf(int symbolId)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        return c.SelectByKey("ID", symbolId) > 0 && c->Syntax ? c->Syntax : "?";
    }
    static int ParsedOf(int pageId)
    {
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        return c.SelectByKey("ID", pageId) > 0 ? c->Parsed : -1;
    }
};

TEST_F(PageFixture, PagesAreChosenInSiblingOrder)
{
    AddElement(1000, 0, 1000, "Classdiagram", "Orders");
    AddPage(1002, 1000, 2, 10000, 6000, 1000);
    AddPage(1001, 1000, 1);
    AddElement(1003, 1000, 3, "Page", "Locked", ITEM_FIXED);
    AddSymbol(1010, 1002, 0, "Class", RECT{100, 100, 900, 900}, "Order");
    AddElement(1090, 0, 1090, "Classdiagram", "Empty");

    CDiagramController* c = Controller("Classdiagram");
    c->Attach(0, 1000, nullptr);
    EXPECT_EQ(thePageState.DiagramId, 1000);
    EXPECT_EQ(c->OpenPage(1000, 0), 0);
    EXPECT_EQ(thePageState.PageId, 1001);
    EXPECT_EQ(thePageState.PageCount, 3);
    EXPECT_EQ(thePageState.UsableWidth, 7000);

    // The second page is still unparsed: opening it rebuilds its colour runs once.
    EXPECT_EQ(ParsedOf(1002), 0);
    EXPECT_EQ(c->OpenPage(1000, 1002), 1);
    EXPECT_EQ(ParsedOf(1002), 1);
    EXPECT_EQ(SyntaxOf(1010), "0000000");
    EXPECT_EQ(thePageState.UsableWidth, 8000);
    EXPECT_EQ(thePageState.UsableHeight, 4000);
    EXPECT_EQ(thePageState.ReadOnlyPage, 0);

    // A page that is not the diagram's is no page and leaves the state; an
    // empty diagram has none.
    EXPECT_EQ(c->OpenPage(1000, 4242), -1);
    EXPECT_EQ(thePageState.PageId, 1002);
    EXPECT_EQ(c->OpenPage(1090, 0), -1);
    EXPECT_EQ(thePageState.PageCount, 0);
    EXPECT_EQ(thePageState.PageId, 1002);

    // Turning pages; the third has no ModelPage row, so it is never made current.
    c->Attach(0, 1000, nullptr);
    EXPECT_EQ(c->OpenPage(1000, 1001), 0);
    EXPECT_FALSE(c->PrevPage());
    EXPECT_TRUE(c->NextPage());
    EXPECT_EQ(thePageState.PageIndex, 1);
    EXPECT_FALSE(c->NextPage());
    EXPECT_EQ(thePageState.PageIndex, 1);
    EXPECT_TRUE(c->PrevPage());
    EXPECT_EQ(thePageState.PageId, 1001);
    EXPECT_FALSE(c->GoToPage(3));
}

TEST_F(PageFixture, ReadOnlyPagesStayReadOnlyWhileTurning)
{
    AddElement(1100, 0, 1100, "Classdiagram", "Fixed");
    AddPage(1101, 1100, 1);
    AddPage(1102, 1100, 2);
    dbTypedCursor<ModelT> page(&ModelT::TableInfo, dbCursorForUpdate);
    ASSERT_GT(page.SelectByKey("ID", 1101), 0);
    ModelT row = *page.GetRecord();
    row.ItemState = ITEM_FIXED;
    theModelDb.UpdateRecord(page.GetCurrentOid(), &ModelT::TableInfo, &row);

    CDiagramController* c = Controller("Classdiagram");
    c->Attach(0, 1100, nullptr);
    EXPECT_EQ(c->OpenPage(1100, 1101), 0);
    EXPECT_EQ(thePageState.ReadOnlyPage, 1);
    EXPECT_TRUE(c->GoToPage(1));
    EXPECT_EQ(thePageState.ReadOnlyPage, 1);
}

TEST_F(PageFixture, TheTopmostSymbolIsHitPerKind)
{
    AddElement(1200, 0, 1200, "Sequencediagram", "Talk");
    AddPage(1201, 1200, 1);
    // The message is older than the lifeline it crosses.
    AddSymbol(1210, 1201, 0, "Message", RECT{500, 1500, 4000, 1600});
    AddSymbol(1211, 1201, 0, "Lifeline", RECT{1000, 200, 2000, 4000}, "shop");
    AddSymbol(1212, 1201, 1211, "Lifelinestop", RECT{1300, 3500, 1700, 3900});
    AddSymbol(1213, 1201, 0, "Nosuchkind", RECT{0, 0, 7000, 4000});
    struct Case {
        const char* kind;
        POINT p;
        bool hit;
        int id;
    } const cases[] = {
        {"Sequencediagram", {1500, 1550}, true, 1210}, // messages over lifelines
        {"Classdiagram", {1500, 1550}, true, 1211},    // the higher ID otherwise
        {"Sequencediagram", {1500, 3600}, true, 1211}, // a child is found through its parent
        {"Sequencediagram", {6000, 3000}, false, 0},   // unknown kinds are never hit
    };
    for (const auto& k : cases) {
        CDiagramController* c = Controller(k.kind);
        c->Attach(0, 1200, nullptr);
        ASSERT_EQ(c->OpenPage(1200, 0), 0);
        HitSymbol out;
        out.rec.ID = 77;
        EXPECT_EQ(c->HitTest(k.p, out), k.hit) << k.kind << " " << k.p.x << "," << k.p.y;
        EXPECT_EQ(out.rec.ID, k.id) << k.kind;
    }
}

TEST_F(PageFixture, RelayingOutAnElementsSymbolsTellsWhetherOneIsShown)
{
    AddElement(1400, 0, 1400, "Classdiagram", "Types");
    AddPage(1401, 1400, 1);
    AddPage(1402, 1400, 2);
    ModelT element;
    element.ID = element.SN = 1490;
    element.Type = "Class";
    element.GUID = "RelayoutElement0000003";
    theModelDb.InsertRecord(&ModelT::TableInfo, &element);
    SymbolT s;
    s.ID = 1410;
    s.PID = 1402;
    s.Type = "Class";
    s.GUID = element.GUID;
    s.Text = "Types";
    s.ItemState = SYMBOL_AUTOLAYOUT;
    s.x1 = s.y1 = 100;
    s.x2 = s.y2 = 9000;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &s);

    PageCanvas canvas(20, 20);
    PrepareSymbolDC(&canvas.dc);
    CDiagramController* c = Controller("Classdiagram");
    c->Attach(0, 1400, nullptr);
    ASSERT_EQ(c->OpenPage(1400, 1401), 0);
    EXPECT_FALSE(c->RelayoutElementSymbols(1490, &canvas.dc));
    dbTypedCursor<SymbolT> row(&SymbolT::TableInfo);
    ASSERT_GT(row.SelectByKey("ID", 1410), 0);
    EXPECT_LT(row->x2, 9000) << "laid out although on another page";
    ASSERT_EQ(c->OpenPage(1400, 1402), 1);
    EXPECT_TRUE(c->RelayoutElementSymbols(1490, &canvas.dc));
    EXPECT_FALSE(c->RelayoutElementSymbols(424242, &canvas.dc));
}

TEST_F(PageFixture, TrackingOverlayFollowsTheGestureMode)
{
    // Tracking runs from (1000, 1000) to (3000, 2000); the mouse is at (4000, 500).
    struct Case {
        int mode, hotHandle;
        RECT box; // ink extent in page units; empty for none
    } const cases[] = {
        {1, -1, {1000, 1000, 3000, 2000}}, // rubber band
        {8, 0, {1000, 1000, 3000, 2000}},  // resized box
        {6, 1, {1000, 500, 4000, 1000}},   // a line end: one stroke to the mouse
        {6, 2, {1000, 500, 4000, 2000}},   // a bend point: on to its other neighbour
        {7, 1, {1000, 500, 4000, 1000}},   // a new line
        {12, -1, {0, 0, 0, 0}},            // idle
    };
    // The pen is dotted: an end may fall in a gap of a few pixels.
    const int gap = 4;
    CDiagramController* c = Controller("Classdiagram");
    for (const auto& k : cases) {
        PageCanvas canvas(PageCanvas::Device(5000), PageCanvas::Device(3000));
        c->Mode = k.mode;
        c->HotHandle = k.hotHandle;
        c->Tracking = RECT{1000, 1000, 3000, 2000};
        c->CurrentPoint = POINT{4000, 500};
        c->DrawTracking(&canvas.dc);
        const QRect ink = canvas.InkBox();
        if (k.box.right == 0) {
            EXPECT_TRUE(ink.isEmpty()) << k.mode;
            continue;
        }
        EXPECT_NEAR(ink.left(), PageCanvas::Device(k.box.left), gap) << k.mode << "/" << k.hotHandle;
        EXPECT_NEAR(ink.top(), PageCanvas::Device(k.box.top), gap) << k.mode << "/" << k.hotHandle;
        EXPECT_NEAR(ink.right(), PageCanvas::Device(k.box.right), gap) << k.mode << "/" << k.hotHandle;
        EXPECT_NEAR(ink.bottom(), PageCanvas::Device(k.box.bottom), gap) << k.mode << "/" << k.hotHandle;
    }
    // A band whose corners coincide draws nothing.
    PageCanvas canvas(PageCanvas::Device(5000), PageCanvas::Device(3000));
    c->Mode = 1;
    c->Tracking = RECT{1000, 1000, 1000, 1000};
    c->DrawTracking(&canvas.dc);
    EXPECT_TRUE(canvas.InkBox().isEmpty());
    c->Attach(0, 0, nullptr);
}

class PagePainting : public PageFixture, public ::testing::WithParamInterface<float> {
};

TEST_P(PagePainting, BorderTitleNumberSymbolsAndHandles)
{
    static bool built = false;
    if (!built) {
        built = true;
        AddElement(1300, 0, 1300, "Activitydiagram", "Checkout");
        AddPage(1301, 1300, 1, 12160, 7080, 500);
        AddPage(1302, 1300, 2);
        AddPage(1303, 1300, 3);
        // An action, then a partition created later over it, then a selected
        // package with a nested class.
        AddSymbol(1310, 1301, 0, "Action", RECT{1000, 1500, 3000, 2500}, "pay", 0, RGB(0, 0, 255));
        AddSymbol(1311, 1301, 0, "Partition", RECT{500, 1000, 5000, 5500}, "Shop", 0, RGB(255, 0, 0));
        AddSymbol(1312, 1301, 0, "Package", RECT{6000, 1000, 10000, 5000}, "billing", SYMBOL_CHECKED);
        AddSymbol(1313, 1301, 1312, "Class", RECT{6500, 2000, 9000, 4000}, "Invoice");
    }
    SetZoom(GetParam());
    const std::string zoom = std::to_string(int(GetParam() * 100));
    std::strcpy(thePageState.Title, "Checkout");
    for (const char* kind : {"Activitydiagram", "Classdiagram"}) {
        CDiagramController* c = Controller(kind);
        c->Attach(0, 1300, nullptr);
        ASSERT_EQ(c->OpenPage(1300, 1301), 0);
        std::strcpy(thePageState.Title, "Checkout");
        PageCanvas canvas(PageCanvas::Device(thePageState.UsableWidth), PageCanvas::Device(thePageState.UsableHeight));
        c->DrawPage(&canvas.dc);
        canvas.Save(std::string("page_") + kind + "_" + zoom);

        // Partitions lie beneath on activity diagrams only.
        const COLORREF overlap = canvas.Pixel(PageCanvas::Device(2000), PageCanvas::Device(2000));
        EXPECT_EQ(overlap, std::strcmp(kind, "Activitydiagram") == 0 ? RGB(0, 0, 255) : RGB(255, 0, 0)) << kind;

        // The outline stays inside the picture on all four sides.
        const QRect ink = canvas.InkBox();
        EXPECT_EQ(ink.left(), 0);
        EXPECT_EQ(ink.top(), 0);
        EXPECT_GE(ink.right(), PageCanvas::Device(thePageState.UsableWidth) - 3);
        EXPECT_GE(ink.bottom(), PageCanvas::Device(thePageState.UsableHeight) - 3);

        // The selected package's handles are registered where they are drawn.
        EXPECT_EQ(HotSpotList::Count(), 2);
        EXPECT_EQ(HotSpotList::Hit(POINT{6000, 1000}), 0);
        EXPECT_EQ(HotSpotList::Hit(POINT{10000, 5000}), 1);
        EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(5950), PageCanvas::Device(950)));
        EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(10050), PageCanvas::Device(5050)));

        // Title at the top left, "1/3" at the top right, both in their colours.
        // The number ends four pixels (in page units) left of the border at every zoom.
        bool title = false, number = false;
        int numberRight = 0;
        const int band = PageCanvas::Device(600), width = PageCanvas::Device(thePageState.UsableWidth);
        for (int y = 1; y < band; ++y)
            for (int x = 1; x < width - 1; ++x) {
                const COLORREF px = canvas.Pixel(x, y);
                const bool bluish = GetBValue(px) > GetRValue(px) + 60 && GetBValue(px) > 100;
                if (bluish && x < PageCanvas::Device(3000))
                    title = true;
                if (bluish && x > PageCanvas::Device(thePageState.UsableWidth - 3000)) {
                    number = true;
                    numberRight = std::max(numberRight, x);
                }
            }
        EXPECT_TRUE(title) << kind;
        EXPECT_TRUE(number) << kind;
        const int numberEnd = PageCanvas::Device(thePageState.UsableWidth - 4 * DrawResources::PixelSize);
        EXPECT_LE(numberRight, numberEnd) << kind;
        EXPECT_GE(numberRight, numberEnd - 3) << kind;
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, PagePainting, ::testing::Values(0.5f, 1.0f, 2.0f));

} // namespace

namespace {

std::vector<COLORREF> Pixels(const PageCanvas& canvas, int width, int height)
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(canvas.Pixel(x, y));
    return pixels;
}

TEST_F(PageFixture, TheTrackingFigureShowsOnAnyFillAndUndrawsItself)
{
    const int w = PageCanvas::Device(5000), h = PageCanvas::Device(3000);
    PageCanvas canvas(w, h);
    // Half the band runs over a dark fill, half over white.
    canvas.dc.SaveDC();
    canvas.dc.SetMapMode(MM_TEXT);
    canvas.dc.FillSolidRect(0, 0, w / 2, h, RGB(0, 0, 128));
    canvas.dc.RestoreDC(-1);
    const std::vector<COLORREF> before = Pixels(canvas, w, h);
    CDiagramController* c = Controller("Classdiagram");
    c->Mode = CDiagramController::RubberBand;
    c->Tracking = RECT{500, 500, 4500, 2500};
    c->DrawTracking(&canvas.dc);
    canvas.Save("tracking-xor");
    const int top = PageCanvas::Device(500);
    int darkInk = 0, lightInk = 0;
    for (int x = 0; x < w; ++x) {
        const COLORREF ground = x < w / 2 ? RGB(0, 0, 128) : RGB(255, 255, 255);
        if (canvas.Pixel(x, top) != ground)
            ++(x < w / 2 ? darkInk : lightInk);
    }
    EXPECT_GT(darkInk, 10) << "visible on the dark fill";
    EXPECT_GT(lightInk, 10) << "visible on white";
    c->DrawTracking(&canvas.dc);
    EXPECT_TRUE(Pixels(canvas, w, h) == before) << "drawn twice, the pixels are restored";
    c->Attach(0, 0, nullptr);
}

} // namespace
