#include "UML/Model/Symbol.h"

#include "MemDB/dbCursor.h"
#include "ModelEnvironment.h"
#include "PageCanvas.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CSymbol* Prototype(const char* key)
{
    CSymbol* p = nullptr;
    EXPECT_TRUE(FindMetaclass(key, p)) << key;
    return p;
}

class SymbolBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        theSysConfig.SetDefaults();
        SetZoom(1.0f);
        PrepareSymbolDC(&canvas.dc);
    }
    PageCanvas canvas{40, 40};
};

TEST_F(SymbolBase, LayoutFitsTheTextExactlyOnlyWithAutolayout)
{
    CSymbol* p = Prototype("Class");
    int w = 0, h = 0;
    MeasureText(&canvas.dc, w, h, "Invoice");
    for (bool autolayout : {false, true}) {
        SymbolT row;
        row.Text = "Invoice";
        row.x1 = 1000;
        row.y1 = 2000;
        row.x2 = 9000;
        row.y2 = 2100;
        row.ItemState = autolayout ? SYMBOL_AUTOLAYOUT : 0;
        EXPECT_EQ(p->Layout(row, &canvas.dc, nullptr), 1);
        EXPECT_EQ(row.x2, autolayout ? 1000 + w + 300 : 9000) << autolayout;
        EXPECT_EQ(row.y2, 2000 + h + 300) << autolayout;
        EXPECT_EQ(row.tx1, (row.x1 + row.x2 - w) >> 1);
        EXPECT_EQ(row.tx2, row.tx1 + w);
        EXPECT_EQ(row.sterey, 2150);
        EXPECT_EQ(row.ty1, 2150);
        EXPECT_EQ(row.ty2, 2150 + h);
    }
    SymbolT line;
    line.x1 = 0;
    line.x2 = 5000;
    EXPECT_EQ(Prototype("Dependency")->Layout(line, &canvas.dc, nullptr), 0);
    EXPECT_EQ(line.y2, 0);
}

TEST_F(SymbolBase, AModelsMetaclassLendsItsStereotype)
{
    // Actor carries the default stereotype "person" in the test metamodel.
    SymbolT row;
    row.Text = "Clerk";
    row.Model = "Actor";
    int w = 0, h = 0;
    Prototype("Class")->MeasureStereotype(w, h, row, 100);
    EXPECT_EQ(h, theSysConfig.m_nSmallFontSize);
    EXPECT_EQ(w, (6 * 100 + 4 * 100) * theSysConfig.m_nSmallFontSize / theSysConfig.m_nFontSize);
    row.Model = "";
    w = h = 0;
    Prototype("Class")->MeasureStereotype(w, h, row, 100);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(w, 0);
}

TEST_F(SymbolBase, HitsIncludeEdgesAndTheTextBox)
{
    SymbolT row;
    row.Type = "Class";
    row.ID = 5;
    row.x1 = 1000;
    row.y1 = 1000;
    row.x2 = 2000;
    row.y2 = 2000;
    row.tx1 = 2100;
    row.ty1 = 1000;
    row.tx2 = 2600;
    row.ty2 = 1200;
    struct Case {
        int x, y;
        bool hit;
    } const cases[] = {{1000, 1000, true}, {2000, 2000, true}, {2001, 1500, false}, {2600, 1200, true},
                       {2601, 1100, false}, {999, 1500, false}};
    for (const auto& c : cases) {
        HitSymbol out;
        EXPECT_EQ(Prototype("Class")->HitTest(POINT{c.x, c.y}, row, out), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(out.rec.ID, c.hit ? 5 : 0);
    }
    HitSymbol out;
    Prototype("Class")->HitTest(POINT{1500, 1500}, row, out);
    HitSymbol copy = out;
    EXPECT_STREQ(copy.rec.Type, "Class");
    EXPECT_EQ(copy.rec.Type, copy.type);
}

TEST_F(SymbolBase, AttachPointsOnTheBorder)
{
    SymbolT box;
    box.x1 = 1000;
    box.y1 = 1000;
    box.x2 = 3000;
    box.y2 = 2000;
    struct Case {
        int px, py, ax, ay;
        int side, x, y;
    } const cases[] = {
        {2000, 1500, 2005, 5000, 4, 2000, 2000}, // nearly vertical, towards the bottom
        {2000, 1500, 2009, -900, 2, 2000, 1000},
        {5000, 1500, 5005, 1500, 2, 1000, 1000}, // vertical outside the box: to x1
        {2000, 1500, 9000, 1500, 3, 3000, 1500}, // horizontal: the right side
        {2000, 1500, -6000, 1500, 1, 1000, 1500},
        {2000, 1500, 4000, 3500, 4, 2500, 2000}, // a slope through the bottom edge
        {9000, 9000, 9500, 9100, 3, 3000, 2000}, // no crossing: the nearest side, right before bottom
    };
    for (const auto& c : cases) {
        int x = c.px, y = c.py;
        EXPECT_EQ(Prototype("Class")->GetAttachPoint(box, x, y, c.ax, c.ay), c.side) << c.ax << "," << c.ay;
        EXPECT_EQ(x, c.x) << c.ax << "," << c.ay;
        EXPECT_EQ(y, c.y) << c.ax << "," << c.ay;
    }
}

TEST_F(SymbolBase, NamesCountPerKeyAndPointsStayOnThePage)
{
    char name[65];
    CSymbol* initial = Prototype("Initial");
    CSymbol* start = Prototype("Start");
    const int i0 = initial->nameCounter, s0 = start->nameCounter;
    initial->MakeDefaultName(name, sizeof name);
    initial->MakeDefaultName(name, sizeof name);
    EXPECT_EQ(initial->nameCounter, i0 + 2);
    EXPECT_EQ(start->nameCounter, s0);
    Prototype("Class")->MakeDefaultName(name, sizeof name);
    EXPECT_EQ(std::string(name).substr(0, 5), "Class");

    ResetPageState();
    const int p = DrawResources::PixelSize;
    struct Case {
        int x, y, ex, ey;
    } const cases[] = {{0, 0, p, p},
                       {thePageState.UsableWidth, 500, thePageState.UsableWidth - p, 500},
                       {-40, thePageState.UsableHeight + 9, p, thePageState.UsableHeight - p},
                       {700, 800, 700, 800}};
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        Prototype("Class")->ClampToPage(x, y);
        EXPECT_EQ(x, c.ex);
        EXPECT_EQ(y, c.ey);
    }
}

TEST_F(SymbolBase, OwnersAndElementsByRow)
{
    ModelT owner;
    owner.ID = owner.SN = 3001;
    owner.Type = "Package";
    owner.GUID = "OwnerElement0000000003";
    theModelDb.InsertRecord(&ModelT::TableInfo, &owner);
    ModelT shown;
    shown.ID = shown.SN = 3002;
    shown.FID = 3001;
    shown.Type = "Class";
    shown.GUID = "ShownElement0000000003";
    theModelDb.InsertRecord(&ModelT::TableInfo, &shown);
    SymbolT row;
    row.GUID = shown.GUID;
    row.MMC = MMC_CLASS;
    EXPECT_EQ(Prototype("Class")->GetOwnerElement(row, 77), 77) << "a top-level symbol";
    row.FID = 9;
    EXPECT_EQ(Prototype("Class")->GetOwnerElement(row, 77), 3001);
    row.MMC = MMC_NONE;
    EXPECT_EQ(Prototype("Class")->GetOwnerElement(row, 77), 77);

    Prototype("Initial")->DeleteElement(3002);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    EXPECT_GT(c.SelectByKey("ID", 3002), 0) << "a kind without elements deletes none";
    Prototype("Class")->DeleteElement(3002);
    EXPECT_EQ(c.SelectByKey("ID", 3002), 0);

    const char* syntax = Prototype("Class")->MakeSyntax(row, 0);
    EXPECT_STREQ(syntax, "0000000");
}

TEST_F(SymbolBase, NamesPassBetweenSymbolAndElementOnlyWhenTheyDiffer)
{
    ModelT element;
    element.ID = element.SN = 3101;
    element.Type = "Class";
    element.Name = "Order";
    element.GUID = "RenamedElement00000003";
    theModelDb.InsertRecord(&ModelT::TableInfo, &element);
    SymbolT symbol;
    symbol.ID = 3110;
    symbol.Type = "Class";
    symbol.Text = "Order";
    symbol.GUID = element.GUID;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &symbol);
    auto elementName = [] {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        return c.SelectByKey("ID", 3101) > 0 ? std::string(c->Name) : std::string("?");
    };
    auto symbolRow = [](SymbolT& row) {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", 3110), 0);
        row = *c.GetRecord();
        return c.GetCurrentOid();
    };
    CSymbol* p = Prototype("Class");

    EXPECT_FALSE(p->RenameElement(symbol)) << "same name";
    symbol.Text = "Invoice";
    EXPECT_TRUE(p->RenameElement(symbol));
    EXPECT_EQ(elementName(), "Invoice");
    SymbolT orphan;
    orphan.Text = "Lost";
    EXPECT_FALSE(p->RenameElement(orphan)) << "no element";

    // The stored symbol still says Order: the element's name and stereotype
    // come back into it, once.
    ModelT renamed;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", 3101), 0);
        renamed = *c.GetRecord();
    }
    renamed.Stereotype = "StereotypeGuid00000003";
    SymbolT row;
    oid_t oid = symbolRow(row);
    EXPECT_NE(p->SyncFromElement(renamed, row, oid), 0);
    oid = symbolRow(row);
    EXPECT_STREQ(row.Text, "Invoice");
    EXPECT_STREQ(row.Stereotype, "StereotypeGuid00000003");
    EXPECT_EQ(p->SyncFromElement(renamed, row, oid), 0);
}

} // namespace
