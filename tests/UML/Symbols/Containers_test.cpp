// Components, compositions, nodes and subjects as containers: where a
// dropped element goes, and how a container grows around what it holds.
#include "SymbolFixture.h"

#include "UML/Symbols/ComponentSymbols.h"
#include "UML/Symbols/ExtendedElement.h"

#include <string>

namespace {

class Containers : public SymbolFixture {
protected:
    Containers() : SymbolFixture("Componentdiagram") {}

    int Drop(const char* key, int symbolOfElement, int container)
    {
        const std::string guid = Row(symbolOfElement).GUID;
        return Place(key, RECT{30000, 30000, 30100, 30100}, container, "", guid.c_str());
    }
    int P() const { return DrawResources::PixelSize; }
};

TEST_F(Containers, ADroppedComponentMovesUnderItsContainerButNeverIntoALoopOrOutOfALibrary)
{
    const int outer = Place("Component", RECT{1000, 1000, 1100, 1100}, 0, "Outer");
    const int inner = Place("Component", RECT{9000, 1000, 9100, 1100}, outer, "Inner");
    const int loose = Place("Component", RECT{20000, 1000, 20100, 1100}, 0, "Loose");
    ASSERT_EQ(ElementOf(inner).FID, ElementOf(outer).ID);
    ASSERT_EQ(ElementOf(loose).FID, owner);

    EXPECT_GT(Drop("Component", loose, inner), 0);
    EXPECT_EQ(ElementOf(loose).FID, ElementOf(inner).ID) << "moved under the container's element";

    // Outer dropped into Inner, which lies below it: both would leave the tree.
    const int symbols = CountSymbols("PID", page);
    EXPECT_EQ(Drop("Component", outer, inner), 0);
    EXPECT_EQ(Drop("Composition", outer, outer), 0) << "nor into its own symbol";
    EXPECT_EQ(CountSymbols("PID", page), symbols);
    EXPECT_EQ(ElementOf(outer).FID, owner);

    // A read-only element is shown where it is, as a node shows it.
    const int library = Place("Component", RECT{40000, 1000, 40100, 1100}, 0, "Library");
    ASSERT_TRUE(Prototype("Component")->UpdateElementFields(ElementOf(library).ID, {"ItemState", "32"}));
    EXPECT_GT(Drop("Component", library, inner), 0);
    EXPECT_EQ(ElementOf(library).FID, owner);
    const int other = Place("Component", RECT{50000, 1000, 50100, 1100}, 0, "Other");
    ASSERT_TRUE(Prototype("Component")->UpdateElementFields(ElementOf(inner).ID, {"ItemState", "32"}));
    EXPECT_GT(Drop("Component", other, inner), 0);
    EXPECT_EQ(ElementOf(other).FID, owner) << "nothing is moved into a read-only element";

    const int node = Place("Node", RECT{60000, 1000, 60100, 1100}, 0, "Server");
    const int artifact = Place("Component", RECT{70000, 1000, 70100, 1100}, 0, "Deployed");
    EXPECT_GT(Drop("Node", artifact, node), 0);
    EXPECT_EQ(ElementOf(artifact).FID, owner) << "a node never moves what is dropped";
}

TEST_F(Containers, ANestedComponentWidensItsContainerAndAPortStaysOnTheFinalBorder)
{
    const int outer = Place("Component", RECT{1000, 1000, 1100, 1100}, 0, "Outer");
    const SymbolT small = Row(outer);
    // The port comes first: laid out in one pass it would stay at the old
    // right edge, inside the grown box.
    const int port = Place("Port", RECT{small.x2 - 100, small.y1 + 200, small.x2, small.y1 + 300}, outer, "p");
    RelayoutSymbol(outer, &canvas.dc);
    EXPECT_EQ(Row(outer).x2, small.x2) << "a port does not widen the box";
    const int nested = Place("Component", RECT{small.x2 + 2000, small.y1 + 500, small.x2 + 2100, small.y1 + 600},
                             outer, "Nested");
    RelayoutSymbol(outer, &canvas.dc);
    const SymbolT box = Row(outer), inner = Row(nested), p = Row(port);
    EXPECT_EQ(box.x2, inner.x2 + P()) << "grown around the nested component with a pixel to spare";
    EXPECT_EQ((p.x1 + p.x2) / 2, box.x2) << "the port stands on the final right edge";
    EXPECT_TRUE(Row(outer).ItemState & SYMBOL_HAS_CHILDREN);
}

TEST_F(Containers, ACompositionGrowsOnlyAroundParts)
{
    const int composition = Place("Composition", RECT{1000, 1000, 1100, 1100}, 0, "Whole");
    const SymbolT small = Row(composition);
    const int comment = Prototype("Comment")->InsertSymbolFields(
        {"PID", std::to_string(page).c_str(), "FID", std::to_string(composition).c_str(), "x1", "9000", "y1",
         "9000", "x2", "9500", "y2", "9500"});
    ASSERT_GT(comment, 0);
    RelayoutSymbol(composition, &canvas.dc);
    EXPECT_EQ(Row(composition).x2, small.x2);
    const int part = Place("Part", RECT{small.x2 + 3000, small.y1 + 300, small.x2 + 3100, small.y1 + 400},
                           composition, "wheel");
    RelayoutSymbol(composition, &canvas.dc);
    EXPECT_EQ(Row(composition).x2, Row(part).x2 + P());
    EXPECT_LT(Row(composition).x2, 9000);
}

TEST_F(Containers, ASubjectAlwaysLiesOnThePageUnderTheDiagramsOwner)
{
    const int component = Place("Component", RECT{1000, 1000, 1100, 1100}, 0, "Holder");
    const int subject = Place("Subject", RECT{2000, 2000, 2100, 2100}, component, "");
    ASSERT_GT(subject, 0);
    EXPECT_EQ(Row(subject).FID, 0);
    EXPECT_EQ(ElementOf(subject).FID, owner);
    EXPECT_STREQ(ElementOf(subject).Name, "Subject1") << "a default name for an empty text";

    // Inside its bounds a subject passes the point to what it holds.
    const int note = Prototype("Comment")->InsertSymbolFields(
        {"PID", std::to_string(page).c_str(), "FID", std::to_string(subject).c_str(), "x1", "2300", "y1", "2600",
         "x2", "2500", "y2", "2800"});
    RelayoutSymbol(subject, &canvas.dc);
    const SymbolT boundary = Row(subject);
    HitSymbol out;
    ASSERT_TRUE(Prototype("Subject")->HitTest(POINT{2400, 2700}, boundary, out));
    EXPECT_EQ(out.rec.ID, note);
    ASSERT_TRUE(Prototype("Subject")->HitTest(POINT{boundary.x2 - 10, boundary.y2 - 10}, boundary, out));
    EXPECT_EQ(out.rec.ID, subject);
    EXPECT_FALSE(Prototype("Subject")->HitTest(POINT{boundary.x2 + 10, boundary.y2}, boundary, out));

    SymbolT row = Row(subject);
    row.ItemState |= SYMBOL_CHECKED;
    row.Text = "";
    PageCanvas picture{600, 600};
    PrepareSymbolDC(&picture.dc);
    Prototype("Subject")->Draw(row, &picture.dc);
    picture.Save("symbols/subject-selected");
    EXPECT_TRUE(picture.IsInk(PageCanvas::Device(row.tx1), PageCanvas::Device((row.ty1 + row.ty2) / 2)))
        << "the empty text box's outline";
}

TEST_F(Containers, ANodesDepthLinesReachAHundredUnitsUpAndRight)
{
    const int node = Place("Node", RECT{2000, 2000, 2100, 2100}, 0, "Server");
    const SymbolT row = Row(node);
    PageCanvas picture{600, 600};
    PrepareSymbolDC(&picture.dc);
    Prototype("Node")->Draw(row, &picture.dc);
    picture.Save("symbols/node-depth");
    EXPECT_TRUE(picture.IsInk(PageCanvas::Device(row.x2 + 100), PageCanvas::Device(row.y1 - 100)));
    EXPECT_TRUE(picture.IsInk(PageCanvas::Device(row.x2 + 100), PageCanvas::Device((row.y1 + row.y2) / 2)));
    EXPECT_FALSE(picture.IsInk(PageCanvas::Device(row.x2 + 200), PageCanvas::Device(row.y1 - 200)));
}

} // namespace
