// Package symbols: growth around the children the metamodel lets them hold,
// the tab, and the moves of existing packages placed for them.
#include "SymbolFixture.h"

#include "UML/Model/SymbolText.h"
#include "UML/Symbols/PackageSymbol.h"

namespace {

class Packages : public SymbolFixture {
protected:
    CPackageSymbol* Package() { return static_cast<CPackageSymbol*>(Prototype("Package")); }

    // The element the symbol shows.
    ModelT ElementOf(int symbolId)
    {
        ModelT element;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("GUID", Row(symbolId).GUID), 0);
        element = *c.GetRecord();
        return element;
    }
};

TEST_F(Packages, ALongNameWidensItToTheTextPlus300)
{
    const char* name = "A package with a rather long name indeed";
    const int id = Place("Package", RECT{1000, 1000, 1500, 1500}, 0, name);
    int w = 0, h = 0;
    MeasureText(&canvas.dc, w, h, name);
    EXPECT_EQ(Row(id).x2 - Row(id).x1, w + 300);
    EXPECT_EQ(Row(id).tx1, (Row(id).x1 + Row(id).x2 - w) / 2);
}

TEST_F(Packages, GrowsAroundAllowedChildrenOnly)
{
    const int p = DrawResources::PixelSize;
    const struct {
        const char* child;
        bool grows;
    } cases[] = {{"Class", true}, {"Comment", true}, {"Initial", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.child);
        const int package = Place("Package", RECT{1000, 1000, 4000, 4000}, 0, "Box");
        const int child = Place(c.child, RECT{3500, 1100, 6000, 5000}, package, "Inner");
        ASSERT_GT(child, 0);
        Relayout(package);
        const SymbolT box = Row(package), inner = Row(child);
        EXPECT_TRUE(box.ItemState & SYMBOL_HAS_CHILDREN);
        if (c.grows) {
            EXPECT_EQ(box.x2, inner.x2 + p);
            EXPECT_EQ(box.y2, std::max(4000, inner.y2 + p));
            EXPECT_EQ(box.y1, inner.y1 - p - 300) << "the child stays below the text band";
        } else {
            EXPECT_EQ(box.x2, 4000);
            EXPECT_EQ(box.y1, 1000);
        }
    }
}

TEST_F(Packages, TheTabHitsAndTheRestAboveMisses)
{
    const int id = Place("Package", RECT{1000, 1000, 4000, 3000}, 0, "Tab");
    const SymbolT row = Row(id);
    const struct {
        POINT point;
        bool hit;
    } cases[] = {
        {{row.x1 + 500, row.y1 - 200}, true},    // on the tab
        {{row.x1 + 1200, row.y1 - 200}, false},  // beside it
        {{row.x1 + 500, row.y1 - 301}, false},   // above it
        {{row.x1, row.y1}, true},
        {{row.x2, row.y2}, true},
        {{row.x2 + 1, row.y2}, false},
    };
    for (const auto& c : cases) {
        HitSymbol out;
        EXPECT_EQ(Prototype("Package")->HitTest(c.point, row, out), c.hit) << c.point.x << "," << c.point.y;
    }
}

TEST_F(Packages, AChildIsHitBeforeThePackage)
{
    const int package = Place("Package", RECT{1000, 1000, 9000, 9000}, 0, "Box");
    const int child = Place("Class", RECT{2000, 3000, 4000, 5000}, package, "Inner");
    Relayout(package);
    HitSymbol out;
    ASSERT_TRUE(Prototype("Package")->HitTest(POINT{2100, 3100}, Row(package), out));
    EXPECT_EQ(out.rec.ID, child);
    ASSERT_TRUE(Prototype("Package")->HitTest(POINT{8000, 8000}, Row(package), out));
    EXPECT_EQ(out.rec.ID, package);
}

TEST_F(Packages, PlacingAnExistingPackageInAnotherMovesItAndMarksBothUnits)
{
    const int outer = Place("Package", RECT{1000, 1000, 9000, 9000}, 0, "Outer");
    const int loose = Place("Package", RECT{10000, 1000, 12000, 3000}, 0, "Loose");
    const ModelT moved = ElementOf(loose);
    HookRecorder::calls.clear();
    const int shown = Place("Package", RECT{2000, 2000, 3000, 3000}, outer, "", moved.GUID);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(ElementOf(shown).FID, ElementOf(outer).ID);
    EXPECT_STREQ(Row(shown).Text, "Loose");
    EXPECT_TRUE(hooks.Has("mark " + std::to_string(owner) + " 1"));
    EXPECT_TRUE(hooks.Has("mark " + std::to_string(ElementOf(outer).ID) + " 1"));
    EXPECT_TRUE(hooks.Has("tree"));
}

TEST_F(Packages, APackageIsNeverPlacedInsideItself)
{
    const int outer = Place("Package", RECT{1000, 1000, 9000, 9000}, 0, "Outer");
    const int inner = Place("Package", RECT{2000, 2000, 5000, 5000}, outer, "Inner");
    const int innermost = Place("Package", RECT{2500, 2500, 3000, 3000}, inner, "Innermost");
    const ModelT top = ElementOf(outer);
    for (int container : {outer, inner, innermost}) {
        SCOPED_TRACE(container);
        EXPECT_EQ(Place("Package", RECT{2600, 2600, 2700, 2700}, container, "", top.GUID), 0);
        EXPECT_EQ(ElementOf(outer).FID, owner);
    }
}

TEST_F(Packages, AFixedPackageIsShownButNotMoved)
{
    const int outer = Place("Package", RECT{1000, 1000, 9000, 9000}, 0, "Outer");
    const int fixed = Place("Package", RECT{10000, 1000, 12000, 3000}, 0, "Fixed");
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("GUID", Row(fixed).GUID), 0);
        ModelT element = *c.GetRecord();
        element.ItemState = ITEM_FIXED;
        MemDbUpdate(&ModelT::TableInfo, &element, c.GetCurrentOid());
    }
    const int shown = Place("Package", RECT{2000, 2000, 3000, 3000}, outer, "", Row(fixed).GUID);
    EXPECT_GT(shown, 0);
    EXPECT_EQ(ElementOf(fixed).FID, owner);
}

} // namespace
