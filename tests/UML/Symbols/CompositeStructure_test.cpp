// Parts, ports and interface ends: who owns what is placed, the typed text,
// and how the border symbols follow their containers.
#include "SymbolFixture.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Platform/Wnd.h"
#include "UML/Model/BoxGeometry.h"
#include "UML/Symbols/ExtendedElement.h"

#include <string>
#include <vector>

namespace {

class CompositeStructure : public SymbolFixture {
protected:
    CompositeStructure() : SymbolFixture("Compositestructurediagram") {}

    void SetUp() override
    {
        SymbolFixture::SetUp();
        car = Place("Class", RECT{4000, 4000, 4100, 4100}, 0, "Car");
        engine = Place("Class", RECT{20000, 4000, 20100, 4100}, 0, "Engine");
        motor = Place("Class", RECT{20000, 12000, 20100, 12100}, 0, "Motor");
    }

    // Types text into the symbol as the editor commits it.
    bool Rename(int id, const char* text)
    {
        SymbolT row = Row(id);
        row.Text = text;
        return Prototype(row.Type)->RenameElement(row);
    }
    int Drop(const char* key, int symbolOfElement, int container)
    {
        const std::string guid = Row(symbolOfElement).GUID;
        return Place(key, RECT{5000, 5000, 5100, 5100}, container, "", guid.c_str());
    }
    bool OnSide(const SymbolT& box, int x, int y, int side)
    {
        switch (side) {
        case SideLeft:
            return x == box.x1 && y >= box.y1 && y <= box.y2;
        case SideTop:
            return y == box.y1 && x >= box.x1 && x <= box.x2;
        case SideRight:
            return x == box.x2 && y >= box.y1 && y <= box.y2;
        default:
            return y == box.y2 && x >= box.x1 && x <= box.x2;
        }
    }
    POINT Centre(const SymbolT& row) { return POINT{(row.x1 + row.x2) / 2, (row.y1 + row.y2) / 2}; }

    int car = 0, engine = 0, motor = 0;
};

TEST_F(CompositeStructure, ADroppedClassTypesANewCompositePartAndOnlyTheOwnersPartsAreShown)
{
    const int part = Drop("Part", engine, car);
    ASSERT_GT(part, 0);
    const ModelT element = ElementOf(part);
    EXPECT_EQ(element.FID, ElementOf(car).ID);
    EXPECT_STREQ(element.Use, Row(engine).GUID);
    EXPECT_STREQ(Row(part).Model, "Class");
    ModelAttribute extension;
    ASSERT_TRUE(FetchExtension(element.ID, extension));
    EXPECT_EQ(extension.Associationkind, ASSOCIATION_COMPOSITE);

    // A part of Car dropped into Engine's box is not Engine's.
    EXPECT_EQ(Drop("Part", part, engine), 0);
    EXPECT_GT(Drop("Objectnode", part, engine), 0) << "an object node shows any element";
    EXPECT_EQ(Place("Part", RECT{100, 100, 200, 200}), 0) << "a part needs a container";
    const int node = Place("Objectnode", RECT{100, 100, 200, 200}, 0, "n");
    ASSERT_GT(node, 0);
    EXPECT_EQ(ElementOf(node).FID, owner) << "the diagram's owner";
}

TEST_F(CompositeStructure, ThePartTextSetsNameTypeAndMultiplicity)
{
    const int part = Place("Part", RECT{4200, 4600, 4300, 4700}, car, "p");
    const int id = ElementOf(part).ID;
    const std::string engineGuid = Row(engine).GUID;
    const struct {
        const char* text;
        bool renamed;
        const char* name;
        const char* use;
        const char* multiplicity;
    } cases[] = {
        {"p:Engine", true, "p", engineGuid.c_str(), ""},
        {"q : Motor", true, "q", engineGuid.c_str(), ""},
        {"q:Engine[2]", true, "q", engineGuid.c_str(), "2"},
        {"r[0..1]", true, "r", engineGuid.c_str(), "0..1"},
        {"r:", true, "r", engineGuid.c_str(), "0..1"},
        {"s:Nothing", true, "s", "", "0..1"},
        {"", false, "s", "", "0..1"},
        {" : ", false, "s", "", "0..1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Rename(part, c.text), c.renamed);
        ModelT element;
        ASSERT_TRUE(FetchElementById(id, element));
        EXPECT_STREQ(element.Name, c.name);
        EXPECT_STREQ(element.Use ? element.Use : "", c.use);
        ModelAttribute extension;
        ASSERT_TRUE(FetchExtension(id, extension));
        EXPECT_STREQ(extension.Multiplicity ? extension.Multiplicity : "", c.multiplicity);
    }
}

TEST_F(CompositeStructure, APortOnAPartBelongsToItsTypeAndATypeChangeDropsThePortSymbols)
{
    const int part = Drop("Part", engine, car);
    Relayout(car);
    const int port = Place("Port", RECT{5000, 5000, 5100, 5100}, part, "shaft");
    ASSERT_GT(port, 0);
    const int portElement = ElementOf(port).ID;
    EXPECT_EQ(ElementOf(port).FID, ElementOf(engine).ID);

    ASSERT_TRUE(Prototype("Class")->UpdateElementFields(ElementOf(motor).ID, {"ItemState", "32"}));
    ASSERT_TRUE(Rename(part, "e:Motor"));
    SymbolT gone;
    EXPECT_FALSE(FetchSymbolById(port, gone)) << "the port symbol showed the old type's port";
    ModelT kept;
    EXPECT_TRUE(FetchElementById(portElement, kept)) << "its element stays with Engine";
    EXPECT_EQ(Place("Port", RECT{5000, 5000, 5100, 5100}, part, "x"), 0) << "Motor is read-only";
}

TEST_F(CompositeStructure, APortSnapsToTheNearestSideAndKeepsItWhenTheClassIsResized)
{
    const SymbolT box = Row(car);
    // Dropped just inside the top edge, clear of the right one.
    const int port = Place("Port", RECT{box.x2 - 800, box.y1 - 100, box.x2 - 700, box.y1}, car, "p");
    RelayoutSymbol(port, &canvas.dc);
    SymbolT row = Row(port);
    POINT c = Centre(row);
    EXPECT_TRUE(OnSide(Row(car), c.x, c.y, SideTop)) << c.x << "," << c.y;
    EXPECT_EQ(row.x2 - row.x1, 450);
    EXPECT_LT(row.ty2, Row(car).y1) << "the name stands outside";

    ResizeSymbol(car, SIZE{3000, 2000}, 1, &canvas.dc);
    row = Row(port);
    c = Centre(row);
    EXPECT_TRUE(OnSide(Row(car), c.x, c.y, SideTop)) << "still on the top side";

    // A port on the left side stays there too.
    const SymbolT wide = Row(car);
    const int left = Place("Port", RECT{wide.x1 - 100, wide.y1 + 400, wide.x1, wide.y1 + 500}, car, "q");
    RelayoutSymbol(left, &canvas.dc);
    ResizeSymbol(car, SIZE{2500, 300}, 1, &canvas.dc);
    for (int id : {port, left}) {
        c = Centre(Row(id));
        EXPECT_TRUE(OnSide(Row(car), c.x, c.y, id == port ? SideTop : SideLeft)) << "port " << id;
    }

    // Moved into the middle of the box, it jumps to the nearest side.
    const SymbolT grown = Row(car);
    ASSERT_TRUE(UpdateSymbolFields(port, {"x1", std::to_string(grown.x1 + 100).c_str(), "y1",
                                          std::to_string((grown.y1 + grown.y2) / 2).c_str()}));
    RelayoutSymbol(port, &canvas.dc);
    c = Centre(Row(port));
    EXPECT_TRUE(OnSide(Row(car), c.x, c.y, SideLeft)) << c.x << "," << c.y;
}

// A box grown from either corner keeps each port on its side, also one that
// lies nearer another side of the grown box than the moved edge.
TEST_F(CompositeStructure, APortKeepsItsSideWhenTheBoxGrowsFromEitherCorner)
{
    const struct {
        int handle;
        SIZE delta;
    } resizes[] = { { 0, SIZE{-3000, -1000} }, { 0, SIZE{-1000, -3000} }, { 1, SIZE{3000, 1000} },
                    { 1, SIZE{1000, 3000} } };
    for (const auto& r : resizes) {
        const int box = Place("Class", RECT{8000, 8000, 8100, 8100}, 0, "Box");
        ResizeSymbol(box, SIZE{2000, 2000}, 1, &canvas.dc);
        const SymbolT b = Row(box);
        const struct {
            POINT at;  // the centre as placed
            int side;
        } ports[] = { { POINT{b.x1, b.y1 + 300}, SideLeft },
                      { POINT{b.x1 + 300, b.y1}, SideTop },
                      { POINT{b.x2, b.y2 - 300}, SideRight },
                      { POINT{b.x2 - 300, b.y2}, SideBottom } };
        std::vector<int> ids;
        for (const auto& p : ports) {
            ids.push_back(Place("Port", RECT{p.at.x - 50, p.at.y - 50, p.at.x + 50, p.at.y + 50}, box,
                                ("p" + std::to_string(ids.size())).c_str()));
            RelayoutSymbol(ids.back(), &canvas.dc);
            const POINT c = Centre(Row(ids.back()));
            ASSERT_TRUE(OnSide(Row(box), c.x, c.y, p.side)) << "placed " << ids.size();
        }
        ResizeSymbol(box, r.delta, r.handle, &canvas.dc);
        for (size_t i = 0; i < ids.size(); ++i) {
            const POINT c = Centre(Row(ids[i]));
            EXPECT_TRUE(OnSide(Row(box), c.x, c.y, ports[i].side))
                << "handle " << r.handle << " by " << r.delta.cx << "," << r.delta.cy << ": port " << i;
        }
    }
}

TEST_F(CompositeStructure, InterfaceEndsStandOutFromThePortAndSpreadWhenTwo)
{
    const SymbolT box = Row(car);
    const int port = Place("Port", RECT{box.x2 - 100, box.y1 + 300, box.x2, box.y1 + 400}, car, "p");
    RelayoutSymbol(port, &canvas.dc);
    const int provided = Place("Realized", RECT{0, 0, 0, 0}, port, "IDrive");
    ASSERT_GT(provided, 0);
    RelayoutSymbol(provided, &canvas.dc);
    SymbolT p = Row(port), lollipop = Row(provided);
    EXPECT_EQ(lollipop.x1, p.x2) << "on the port's outer side";
    EXPECT_EQ(lollipop.x2, lollipop.x1 + 1150);
    EXPECT_EQ(lollipop.y2, lollipop.y1);

    const int required = Place("Required", RECT{0, 0, 0, 0}, port, "IPower");
    RelayoutSymbol(required, &canvas.dc);
    lollipop = Row(provided);
    const SymbolT socket = Row(required);
    const int middle = (p.y1 + p.y2) / 2;
    EXPECT_EQ(lollipop.y1, middle);
    EXPECT_EQ(lollipop.y2, middle + 575);
    EXPECT_EQ(socket.y2, middle - 575);
    EXPECT_EQ(socket.x2, p.x2 + 1150);

    // A third end: none is moved.
    const int extra = Prototype("Realized")->InsertSymbolFields(
        {"PID", std::to_string(page).c_str(), "FID", std::to_string(port).c_str(), "x1", "1", "y1", "1"});
    const SymbolT before = Row(provided);
    RelayoutSymbol(port, &canvas.dc);
    const SymbolT after = Row(provided);
    EXPECT_EQ(MemDbRecordChanged(&SymbolT::TableInfo, &before, &after), 0);
    EXPECT_EQ(Row(extra).x2, 0);
    DeleteSymbol(extra, false);

    PageCanvas picture{600, 600};
    PrepareSymbolDC(&picture.dc);
    Prototype("Class")->Draw(Row(car), &picture.dc);
    picture.Save("symbols/composite-port-ends");
}

TEST_F(CompositeStructure, APortShowsItsInterfaceEndElementsOnlyOnce)
{
    const int port = Place("Port", RECT{4000, 4000, 4100, 4100}, car, "p");
    const int first = Place("Realized", RECT{0, 0, 0, 0}, port, "I");
    ASSERT_GT(first, 0);
    const int element = ElementOf(first).ID;
    EXPECT_EQ(Place("Realized", RECT{0, 0, 0, 0}, port, "J"), 0) << "already shown on the port";
    DeleteSymbol(first, false);
    const int again = Place("Realized", RECT{0, 0, 0, 0}, port, "K");
    ASSERT_GT(again, 0);
    EXPECT_EQ(ElementOf(again).ID, element) << "the port's element is shown again";
    EXPECT_GT(Place("Required", RECT{0, 0, 0, 0}, port, "L"), 0);
}

TEST_F(CompositeStructure, ALollipopLinksTheInterfaceItNamesAndKeepsItsOwnName)
{
    const int drive = Place("Interface", RECT{20000, 20000, 20100, 20100}, 0, "IDrive");
    const int end = Place("Realized", RECT{0, 0, 0, 0}, car, "own");
    ASSERT_GT(end, 0);
    RelayoutSymbol(end, &canvas.dc);
    SymbolT row = Row(end);
    const int scope = ElementOf(end).FID;
    row.Text = "IDrive";
    EXPECT_STRNE(Prototype("Realized")->MakeSyntax(row, scope), "");
    const std::string green = Prototype("Realized")->MakeSyntax(row, scope);
    ASSERT_TRUE(Rename(end, "IDrive"));
    EXPECT_STREQ(ElementOf(end).Use, Row(drive).GUID);
    EXPECT_STREQ(ElementOf(end).Name, "own");
    row.Text = "Nothing";
    EXPECT_NE(std::string(Prototype("Realized")->MakeSyntax(row, scope)), green) << "grey, not green";
    ASSERT_TRUE(Rename(end, "Nothing"));
    EXPECT_STREQ(ElementOf(end).Use, "");

    // The interface row: read-only shows only the current interface.
    ASSERT_TRUE(Rename(end, "IDrive"));
    Place("Interface", RECT{20000, 30000, 20100, 30100}, 0, "IOther");
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    auto entries = [&](bool readOnly) {
        grid.DeleteAllItems();
        const ModelT element = ElementOf(end);
        EXPECT_NE(Prototype("Realized")->AddElementProperties(element, readOnly, &grid), nullptr);
        for (COptionTreeItem* r = grid.GetRootItem()->GetFirstChild()->GetFirstChild(); r; r = r->GetNextSibling())
            if (std::string(r->GetKey() ? r->GetKey() : "") == "Use")
                return dynamic_cast<COptionTreeComboBoxItem*>(r)->GetCount();
        return -1;
    };
    EXPECT_EQ(entries(true), 1);
    EXPECT_EQ(entries(false), 3) << "the empty entry and both interfaces";
}

// Without a container a border symbol cannot know its border: the page-level
// relayout and the activity toolbar give none.
TEST_F(CompositeStructure, BorderSymbolsWithoutAContainerKeepTheirPlace)
{
    const int pin = Place("Pin", RECT{1000, 1000, 1100, 1100}, 0, "in");
    ASSERT_GT(pin, 0);
    SymbolT row = Row(pin);
    EXPECT_EQ(row.x2 - row.x1, 400);
    EXPECT_EQ(row.y2 - row.y1, 400);
    EXPECT_GT(row.tx1, row.x2) << "the name on the right";
    for (const char* key : {"Pin", "Port", "Realized", "Required"}) {
        SCOPED_TRACE(key);
        row.Type = key;
        const SymbolT before = row;
        EXPECT_EQ(Prototype(key)->Layout(row, &canvas.dc, nullptr), 0);
        EXPECT_EQ(MemDbRecordChanged(&SymbolT::TableInfo, &before, &row), 0);
    }
}

TEST_F(CompositeStructure, APinJumpsToItsActionsNearestSideWithItsNameOutside)
{
    SymbolT action = Row(car);
    const int pin = Place("Pin", RECT{action.x1 + 300, action.y1 + 100, action.x1 + 400, action.y1 + 200}, 0, "in");
    SymbolT row = Row(pin);
    ASSERT_EQ(Prototype("Pin")->Layout(row, &canvas.dc, &action), 1);
    EXPECT_EQ((row.y1 + row.y2) / 2, action.y1) << "on the top side";
    EXPECT_EQ((row.tx1 + row.tx2) / 2, row.x1) << "centred on the pin's left edge";
    EXPECT_LT(row.ty2, row.y1);
    row.x1 = action.x1 + 100;
    row.y1 = (action.y1 + action.y2) / 2;
    ASSERT_EQ(Prototype("Pin")->Layout(row, &canvas.dc, &action), 1);
    EXPECT_EQ((row.x1 + row.x2) / 2, action.x1) << "on the left side";
    EXPECT_LT(row.tx2, row.x1) << "right-aligned against the pin";
}

} // namespace
