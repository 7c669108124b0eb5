// Relationship lines between symbols: which ends the shipped metamodel lets a
// line join, what the element of a drawn line is, placing an existing
// relationship element, labels and the type row.
#include "SymbolFixture.h"

#include "Controls/OptionTree.h"
#include "MemDB/db.h"
#include "Platform/Wnd.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Symbols/ExtendedElement.h"
#include "UML/Symbols/RelationshipLine.h"

#include <string>

namespace {

class RelationshipLines : public SymbolFixture {
protected:
    // A symbol of key with an element named text at column n: on the page,
    // or for parts and ports in a class of their own, for interface ends on
    // a port of one.
    int Box(const char* key, int n, const char* text = "")
    {
        const RECT at{1000 + 6000 * n, 1000, 1100 + 6000 * n, 1100};
        const std::string k = key;
        if (k != "Part" && k != "Port" && k != "Realized" && k != "Required")
            return Place(key, at, 0, text);
        const int holder = Place("Class", at, 0, "Holder");
        if (k == "Part" || k == "Port")
            return Place(key, at, holder, text);
        const int port = Place("Port", at, holder, "p");
        return Place(key, at, port, text);
    }
};

struct Connection {
    const char* line;
    const char* from;
    const char* to;
    bool created;
};

// The shipped rules: a line starts and ends only where the end's metaclass
// lists the line's kind.
const Connection kConnections[] = {
    {"Dependency", "Class", "Class", true},
    {"Dependency", "Class", "Interface", true},
    {"Dependency", "Comment", "Class", true},
    {"Dependency", "Class", "Comment", true},
    {"Dependency", "Package", "Class", true},
    {"Dependency", "Enumeration", "Stereotype", true},
    {"Realization", "Class", "Interface", true},
    {"Realization", "Artifact", "Class", true},
    {"Realization", "Comment", "Class", false},
    {"Realization", "Class", "Package", false},
    {"Realization", "Stereotype", "Class", false},
    {"Association", "Class", "Class", true},
    {"Association", "Interface", "Enumeration", true},
    {"Association", "Comment", "Class", false},
    {"Association", "Class", "Package", false},
    {"Connector", "Class", "Class", false},
    {"Connector", "Part", "Port", true},
    {"Connector", "Port", "Realized", true},
    {"Connector", "Required", "Part", true},
    {"Connector", "Part", "Class", false},
    {"Dependency", "Part", "Class", true},
};

class ConnectionTable : public RelationshipLines, public ::testing::WithParamInterface<Connection> {};

TEST_P(ConnectionTable, FollowsTheShippedRules)
{
    const Connection& c = GetParam();
    const int from = Box(c.from, 0, "A"), to = Box(c.to, 1, "B");
    const int before = CountSymbols("PID", page);
    const int line = Connect(c.line, from, to, "r");
    if (!c.created) {
        EXPECT_EQ(line, 0);
        EXPECT_EQ(CountSymbols("PID", page), before);
        return;
    }
    ASSERT_GT(line, 0);
    const SymbolT row = Row(line);
    EXPECT_STREQ(row.SrcID, Row(from).SGUID);
    EXPECT_STREQ(row.DestID, Row(to).SGUID);
    const ModelT element = ElementOf(line);
    EXPECT_STREQ(element.Type, c.line);
    EXPECT_STREQ(element.Name, "r");
    EXPECT_EQ(element.FID, ElementOf(from).ID);
    EXPECT_STREQ(element.Use, Row(to).GUID);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ConnectionTable, ::testing::ValuesIn(kConnections),
                         [](const ::testing::TestParamInfo<Connection>& info) {
                             return std::string(info.param.line) + "From" + info.param.from + "To" + info.param.to;
                         });

TEST_F(RelationshipLines, RefusesALineToItselfAnEndWithoutElementAndAForgottenSource)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int before = CountSymbols("PID", page);
    EXPECT_EQ(Connect("Dependency", a, a), 0);
    const int bare = Box("Class", 2, "Bare");
    ASSERT_TRUE(UpdateSymbolFields(bare, {"GUID", ""}));
    EXPECT_EQ(Connect("Dependency", a, bare), 0);
    EXPECT_EQ(Connect("Dependency", bare, a), 0);
    EXPECT_EQ(CountSymbols("PID", page), before + 1);

    ASSERT_GT(Connect("Dependency", a, b), 0);
    // The source was used: a creation no source test preceded makes nothing.
    HitSymbol to;
    to.Set(Row(b));
    EXPECT_EQ(Prototype("Dependency")->CreateSymbol(POINT{0, 0}, POINT{10, 10}, page, "", &canvas.dc, nullptr,
                                                    &to.rec),
              0);
    EXPECT_EQ(ChildElements(ElementOf(a).ID).size(), 1u);
}

TEST_F(RelationshipLines, PlacesAnExistingElementFromASymbolOfItsOwnerOnly)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B"), c = Box("Class", 2, "C");
    const int drawn = Connect("Dependency", a, b, "uses");
    ASSERT_GT(drawn, 0);
    const ModelT element = ElementOf(drawn);
    const std::string guid = element.GUID;
    HitSymbol at;
    auto drop = [&](int on) {
        at.Set(Row(on));
        return Prototype("Dependency")->CreateSymbol(POINT{0, 0}, POINT{0, 0}, page, "", &canvas.dc, guid.c_str(),
                                                     &at.rec);
    };
    EXPECT_EQ(drop(a), 0) << "already shown on this page";
    DeleteSymbol(drawn, false);

    // Dropped on a symbol of another element: placing it there would take
    // the element away from its owner at the next end move.
    EXPECT_EQ(drop(c), 0);
    EXPECT_EQ(drop(b), 0);
    const int placed = drop(a);
    ASSERT_GT(placed, 0);
    Relayout(placed);
    EXPECT_STREQ(Row(placed).SrcID, Row(a).SGUID);
    EXPECT_STREQ(Row(placed).DestID, Row(b).SGUID);
    EXPECT_STREQ(Row(placed).Text, "uses");
    EXPECT_EQ(ElementOf(placed).FID, ElementOf(a).ID);
    EXPECT_EQ(drop(a), 0) << "one line per element and page";

    DeleteSymbol(b, false);
    DeleteSymbol(placed, false);
    EXPECT_EQ(drop(a), 0) << "no symbol of the used element on the page";
}

TEST_F(RelationshipLines, LabelsJoinNameStereotypeAndTargetWithinTheBuffer)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int line = Connect("Dependency", a, b, "d1");
    ModelT element = ElementOf(line);
    EXPECT_STREQ(Prototype("Dependency")->GetLabel(element), "d1B");
    const int use = Prototype("Stereotype")->CreateElement(owner, "use", NewGuid(true).c_str(), "Dependency");
    ModelT stereotype;
    ASSERT_TRUE(FetchElementById(use, stereotype));
    const std::string stereotypeGuid = stereotype.GUID;
    element.Stereotype = stereotypeGuid.c_str();
    EXPECT_STREQ(Prototype("Dependency")->GetLabel(element), "d1<<use>>B");
    element.Name = "";
    element.Stereotype = "";
    EXPECT_STREQ(Prototype("Dependency")->GetLabel(element), "B");
    EXPECT_STREQ(Prototype("Realization")->GetLabel(element), "B");
    element.Use = "";
    EXPECT_STREQ(Prototype("Realization")->GetLabel(element), "");

    // Long names of two-byte characters: each piece stops at a whole
    // character, the whole at the buffer.
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += "\xC3\xA9";
    ASSERT_TRUE(Prototype("Class")->UpdateElementFields(ElementOf(b).ID, {"Name", wide.c_str()}));
    element = ElementOf(line);
    element.Name = wide.c_str();
    element.Stereotype = stereotypeGuid.c_str();
    ASSERT_TRUE(Prototype("Stereotype")->UpdateElementFields(use, {"Name", wide.c_str()}));
    const std::string label = Prototype("Dependency")->GetLabel(element);
    EXPECT_LE(label.size(), size_t(kLineLabelSize - 1));
    EXPECT_EQ(label.substr(0, 126), wide.substr(0, 126)) << "63 characters of the name";
    EXPECT_EQ(label.substr(126, 2), "<<");
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '\xC3') {
            EXPECT_TRUE(i + 1 < label.size() && label[i + 1] == '\xA9') << "a character cut at " << i;
        }
    }
    EXPECT_EQ(std::string(Prototype("Realization")->GetLabel(element)), wide.substr(0, 384));
}

TEST_F(RelationshipLines, TheTypeRowIsReadOnlyWhileALineShowsTheElement)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int line = Connect("Realization", a, b);
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    auto useRowReadOnly = [&](const ModelT& element) {
        grid.DeleteAllItems();
        EXPECT_NE(Prototype(element.Type)->AddElementProperties(element, false, &grid), nullptr);
        for (COptionTreeItem* r = grid.GetRootItem()->GetFirstChild()->GetFirstChild(); r; r = r->GetNextSibling())
            if (std::string(r->GetKey() ? r->GetKey() : "") == "Use")
                return r->IsReadOnly() ? 1 : 0;
        return -1;
    };
    const ModelT element = ElementOf(line);
    EXPECT_EQ(useRowReadOnly(element), 1);
    DeleteSymbol(line, false);
    EXPECT_EQ(useRowReadOnly(element), 0);
}

TEST_F(RelationshipLines, TheLabelBoxHitsAwayFromTheSegments)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    for (const char* key : {"Dependency", "Realization", "Association"}) {
        SCOPED_TRACE(key);
        const SymbolT row = Row(Connect(key, a, b, "a rather long label"));
        const POINT inLabel{(row.tx1 + row.tx2) / 2, row.ty1 + 5};
        ASSERT_GT(row.y1 - inLabel.y, 150) << "the label stands clear of the line";
        HitSymbol out;
        EXPECT_TRUE(Prototype(key)->HitTest(inLabel, row, out));
        EXPECT_FALSE(Prototype(key)->HitTest(POINT{row.tx2 + 400, inLabel.y}, row, out));
    }
}

TEST_F(RelationshipLines, ASelectedDependencyShowsEndHandlesAndItsLabelBox)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int line = Connect("Dependency", a, b, "named");
    SymbolT row = Row(line);
    row.ItemState |= SYMBOL_CHECKED;
    PrepareSymbolDC(&canvas.dc);
    Prototype("Dependency")->Draw(row, &canvas.dc);
    canvas.Save("symbols/dependency-selected");
    for (POINT end : {POINT{row.x1, row.y1}, POINT{row.x2, row.y2}})
        for (int d : {-50, 50})
            EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(end.x + d), PageCanvas::Device(end.y + d)))
                << end.x << "," << end.y;
    EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(row.tx1), PageCanvas::Device((row.ty1 + row.ty2) / 2)));
}

// Files and pastes can name an end symbol that is not there.
TEST_F(RelationshipLines, ALineToAMissingSymbolStaysWhereItIsAndDeletes)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    for (const char* key : {"Dependency", "Association"}) {
        SCOPED_TRACE(key);
        const int line = Connect(key, a, b);
        ASSERT_GT(line, 0);
        ASSERT_TRUE(UpdateSymbolFields(line, {"DestID", "NO-SUCH-SYMBOL"}));
        SymbolT row = Row(line);
        const SymbolT before = row;
        EXPECT_EQ(Prototype(key)->Layout(row, &canvas.dc, nullptr), 0);
        EXPECT_EQ(MemDbRecordChanged(&SymbolT::TableInfo, &row, &before), 0);
        Prototype(key)->Draw(row, &canvas.dc);
        const std::string guid = row.GUID;
        DeleteSymbol(line, false);
        EXPECT_FALSE(FetchSymbolById(line, row));
        ModelT element;
        EXPECT_TRUE(FetchElementByGuid(guid.c_str(), element)) << "the element stays";
    }
}

TEST_F(RelationshipLines, ANewAssociationIsNavigableWithoutAggregationAndDrawsItsEnds)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int line = Connect("Association", a, b, "r");
    const ModelT element = ElementOf(line);
    EXPECT_EQ(element.MMC, MMC_ATTRIBUTE);
    ModelAttribute extension;
    ASSERT_TRUE(FetchExtension(element.ID, extension));
    EXPECT_EQ(extension.Navigable, 1);
    EXPECT_EQ(extension.Associationkind, ASSOCIATION_NONE);

    const SymbolT row = Row(line);
    // Inked on the far side of the arrow's barbs and inside the diamond.
    const POINT head{row.x2 - 200, row.y1 + 150}, diamond{row.x1 + 240, row.y1};
    const struct {
        int kind;
        int navigable;
        bool headInk;
        COLORREF diamondFill; // 0xFFFFFFFF: no diamond
    } kinds[] = {{0, 1, true, 0xFFFFFFFF}, {1, 1, true, 0xFFFFFFFF}, {2, 0, false, 0xFFFFFF}, {3, 1, true, 0}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        ASSERT_TRUE(Prototype("Association")
                        ->UpdateElementFields(element.ID, {"Associationkind", std::to_string(k.kind).c_str(),
                                                           "Navigable", std::to_string(k.navigable).c_str()}));
        PageCanvas picture{600, 600};
        PrepareSymbolDC(&picture.dc);
        Prototype("Association")->Draw(row, &picture.dc);
        picture.Save("symbols/association-kind" + std::to_string(k.kind));
        EXPECT_EQ(picture.IsInk(PageCanvas::Device(head.x), PageCanvas::Device(head.y)), k.headInk);
        bool framed = false;
        for (int dy = -8; dy <= -5; ++dy)
            framed = picture.IsInk(PageCanvas::Device(row.x1 + 240), PageCanvas::Device(row.y1) + dy) || framed;
        EXPECT_EQ(framed, k.diamondFill != 0xFFFFFFFF) << "the diamond's side corner";
        if (k.diamondFill != 0xFFFFFFFF) {
            const COLORREF inside = picture.Pixel(PageCanvas::Device(diamond.x), PageCanvas::Device(diamond.y) - 2);
            EXPECT_EQ(inside, k.diamondFill);
        }
    }
}

TEST_F(RelationshipLines, ARenameSetsNameAndMultiplicityAndRelinksBothEnds)
{
    const int a = Box("Class", 0, "A"), b = Box("Class", 1, "B");
    const int line = Connect("Association", a, b, "r");
    const int id = ElementOf(line).ID;
    auto rename = [&](const char* text) {
        SymbolT row = Row(line);
        row.Text = text;
        return Prototype("Association")->RenameElement(row);
    };
    auto resync = [&]() {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", line), 0);
        const SymbolT row = *c.GetRecord();
        const oid_t oid = c.GetCurrentOid();
        Prototype("Association")->SyncFromElement(ElementOf(line), row, oid);
    };
    const struct {
        const char* text;
        bool renamed;
        const char* name;
        const char* multiplicity;
    } cases[] = {
        {"owner [1..*]", true, "owner", "1..*"}, {"r 0..*", true, "r", "0..*"}, {"s", true, "s", "0..*"},
        {"t[2 3]", true, "t", "2"},              {"  [ ]  ", false, "t", "2"},  {"", false, "t", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(rename(c.text), c.renamed);
        ModelT element;
        ASSERT_TRUE(FetchElementById(id, element));
        EXPECT_STREQ(element.Name, c.name);
        ModelAttribute extension;
        ASSERT_TRUE(FetchExtension(id, extension));
        EXPECT_STREQ(extension.Multiplicity, c.multiplicity);
    }
    ASSERT_TRUE(rename("owner [1..*]"));
    resync();
    EXPECT_STREQ(Row(line).Text, "owner[1..*]");
    SyntaxRunCodec runs;
    runs.Attach(Row(line).Syntax);
    EXPECT_STREQ(Row(line).Syntax, Prototype("Association")->MakeSyntax(Row(line), 0));

    // The ends moved in the table are followed by the next rename.
    const int c = Box("Class", 2, "C"), d = Box("Class", 3, "D");
    ASSERT_TRUE(UpdateSymbolFields(line, {"SrcID", Row(c).SGUID, "DestID", Row(d).SGUID}));
    ASSERT_TRUE(rename("owner"));
    ModelT element;
    ASSERT_TRUE(FetchElementById(id, element));
    EXPECT_EQ(element.FID, ElementOf(c).ID);
    EXPECT_STREQ(element.Use, Row(d).GUID);

    // An end that cannot be read keeps its link: owner 0 would drop the
    // association from every unit.
    const std::string used = Row(d).GUID;
    ASSERT_TRUE(UpdateSymbolFields(d, {"GUID", ""}));
    ASSERT_TRUE(UpdateSymbolFields(line, {"SrcID", "NO-SUCH-SYMBOL"}));
    ASSERT_TRUE(rename("kept"));
    ASSERT_TRUE(FetchElementById(id, element));
    EXPECT_STREQ(element.Name, "kept");
    EXPECT_EQ(element.FID, ElementOf(c).ID);
    EXPECT_EQ(std::string(element.Use), used);
}

// Actors and use cases as bare rows: their classes come later.
class Performances : public RelationshipLines {
protected:
    int Figure(const char* key, int x, const char* name, int onPage = 0)
    {
        const int element = Prototype(key)->InsertElementFields({"FID", std::to_string(owner).c_str(), "Name", name});
        ModelT e;
        EXPECT_TRUE(FetchElementById(element, e));
        const std::string guid = e.GUID;
        return Prototype(key)->InsertSymbolFields({"PID", std::to_string(onPage ? onPage : page).c_str(), "GUID",
                                                   guid.c_str(), "x1", std::to_string(x).c_str(), "y1", "1000", "x2",
                                                   std::to_string(x + 1000).c_str(), "y2", "2000"});
    }
};

TEST_F(Performances, JoinAnActorAndAUseCaseOnceWithTheUseCaseAsSource)
{
    const int actor = Figure("Actor", 1000, "Clerk"), usecase = Figure("Usecase", 5000, "Sell");
    const int other = Figure("Actor", 9000, "Buyer");
    const int line = Connect("Performance", actor, usecase);
    ASSERT_GT(line, 0);
    EXPECT_STREQ(Row(line).SrcID, Row(usecase).SGUID);
    EXPECT_STREQ(Row(line).DestID, Row(actor).SGUID);
    const ModelT element = ElementOf(line);
    EXPECT_EQ(element.FID, ElementOf(usecase).ID);
    EXPECT_STREQ(element.Use, Row(actor).GUID);

    EXPECT_EQ(Connect("Performance", actor, usecase), 0);
    EXPECT_EQ(Connect("Performance", usecase, actor), 0) << "either way";
    EXPECT_EQ(Connect("Performance", actor, other), 0) << "two actors";
    const int reverse = Connect("Performance", usecase, other);
    ASSERT_GT(reverse, 0);
    EXPECT_STREQ(Row(reverse).SrcID, Row(usecase).SGUID);
    const int comment = Box("Comment", 3, "note");
    EXPECT_EQ(Connect("Performance", comment, usecase), 0);
    EXPECT_EQ(ChildElements(ElementOf(usecase).ID).size(), 2u);
}

TEST_F(Performances, ReuseTheElementOfThePairOnASecondPage)
{
    const int actor = Figure("Actor", 1000, "Clerk"), usecase = Figure("Usecase", 5000, "Sell");
    const int first = Connect("Performance", usecase, actor);
    ASSERT_GT(first, 0);
    const int second = Prototype("Classdiagram")->CreateElement(owner, "Second", NewGuid(true).c_str(), nullptr);
    const int otherPage = ChildElements(second)[0];
    const int actor2 = Figure("Actor", 1000, "", otherPage), usecase2 = Figure("Usecase", 5000, "", otherPage);
    ASSERT_TRUE(UpdateSymbolFields(actor2, {"GUID", Row(actor).GUID}));
    ASSERT_TRUE(UpdateSymbolFields(usecase2, {"GUID", Row(usecase).GUID}));
    const int savedPage = page;
    page = otherPage;
    const int again = Connect("Performance", actor2, usecase2);
    page = savedPage;
    ASSERT_GT(again, 0);
    EXPECT_STREQ(Row(again).GUID, Row(first).GUID);
    EXPECT_EQ(ChildElements(ElementOf(usecase).ID).size(), 1u);
}

TEST_F(RelationshipLines, AConnectorLabelIsItsNameAndTarget)
{
    ModelT element;
    const int target = Prototype("Class")->CreateElement(owner, "Port1", NewGuid(true).c_str(), nullptr);
    ModelT port;
    ASSERT_TRUE(FetchElementById(target, port));
    const std::string guid = port.GUID;
    element.Name = "c";
    element.Use = guid.c_str();
    EXPECT_STREQ(Prototype("Connector")->GetLabel(element), "c Port1");
    element.Name = "";
    EXPECT_STREQ(Prototype("Connector")->GetLabel(element), "Port1");
}

} // namespace
