// The other members of the classifier family: enumerations with their
// literals, stereotype definitions, parameters, and the behaviour members'
// help pages beside those of classes, attributes and operations.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolText.h"
#include "UML/Model/TypeResolution.h"
#include "UML/Symbols/ClassifierSymbols.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The texts of a combo row's entries in list order.
std::vector<std::string> Entries(COptionTreeComboBoxItem* combo)
{
    std::vector<std::string> texts;
    for (int i = 0; i < combo->GetCount(); ++i) {
        CString text;
        combo->GetLBText(i, text);
        texts.emplace_back(static_cast<const char*>(text));
    }
    return texts;
}

COptionTreeItem* RowByKey(COptionTreeItem* category, const char* key)
{
    for (COptionTreeItem* r = category ? category->GetFirstChild() : nullptr; r; r = r->GetNextSibling())
        if (std::strcmp(r->GetKey() ? r->GetKey() : "", key) == 0)
            return r;
    return nullptr;
}

class ClassifierFamily : public SymbolFixture {
protected:
    ModelT ElementOf(int symbolId)
    {
        ModelT element;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("GUID", Row(symbolId).GUID), 0);
        if (c.GetRecord())
            element = *c.GetRecord();
        return element;
    }
    void Resync(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        const SymbolT row = *c.GetRecord();
        const oid_t oid = c.GetCurrentOid();
        const ModelT element = ElementOf(id);
        Prototype(row.Type)->SyncFromElement(element, row, oid);
    }
    int P() const { return DrawResources::PixelSize; }
    int F() const { return theSysConfig.m_nFontSize; }
};

TEST_F(ClassifierFamily, AnEnumerationHasNoMinimumWidthAndOneLiteralCompartment)
{
    const int id = Place("Enumeration", RECT{1000, 1000, 1100, 1100}, 0, "E");
    SymbolT box = Row(id);
    int tw = 0, th = 0;
    MeasureText(&canvas.dc, tw, th, "E");
    int sw = 0, sh = theSysConfig.m_nSmallFontSize;
    Prototype("Enumeration")->MeasureStereotype(sw, sh, box, tw);
    EXPECT_EQ(box.x2 - box.x1, std::max(tw, sw) + 4 * P() + 300);

    const int red = Place("Literal", RECT{0, 0, 0, 0}, id, "Red");
    ASSERT_GT(red, 0);
    Relayout(id);
    box = Row(id);
    const SymbolT literal = Row(red);
    EXPECT_EQ(literal.x1, box.x1 + 150);
    EXPECT_EQ(literal.y1, box.ty2 + 3 * P());
    EXPECT_EQ(box.y2, literal.y2 + 2 * F() + 2 * P() + P());
    EXPECT_EQ(ElementOf(red).FID, ElementOf(id).ID);
    EXPECT_EQ(ElementOf(red).MMC, MMC_LITERAL);

    HitSymbol out;
    ASSERT_TRUE(Prototype("Enumeration")->HitTest(POINT{box.x2 - 200, literal.y2}, box, out));
    EXPECT_STREQ(out.rec.Type, "Literal") << "the last line's bottom already is the band";
    EXPECT_EQ(out.rec.ID, 0);
    EXPECT_EQ(out.rec.FID, id);
    ASSERT_TRUE(Prototype("Enumeration")->HitTest(POINT{literal.x1 + 10, literal.y1 + 10}, box, out));
    EXPECT_EQ(out.rec.ID, red);
    EXPECT_EQ(Place("Literal", RECT{0, 0, 0, 0}, 0, "Loose"), 0);
}

// Collapsed, an enumeration and a stereotype are plain boxes: no band that
// would take a member never shown, and no compartment drawn.
TEST_F(ClassifierFamily, CollapsedSingleCompartmentBoxesArePlainBoxes)
{
    const struct {
        const char* key;
        const char* member;
    } boxes[] = {{"Enumeration", "Literal"}, {"Stereotype", "Attribute"}};
    int x = 1000;
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.key);
        const int id = Place(b.key, RECT{x, 1000, x + 100, 1100}, 0, "Folded");
        x += 6000;
        UpdateSymbolFields(id, {"ItemState", "3"});
        Relayout(id);
        const SymbolT box = Row(id);
        EXPECT_EQ(box.y2, box.ty2 + 3 * P() + (std::string(b.key) == "Enumeration" ? P() : P()));
        for (int y = box.y1; y <= box.y2; y += 20) {
            HitSymbol out;
            ASSERT_TRUE(Prototype(b.key)->HitTest(POINT{box.x1 + 100, y}, box, out));
            EXPECT_EQ(out.rec.ID, id) << "at " << y;
        }
        PageCanvas picture{600, 600};
        PrepareSymbolDC(&picture.dc);
        Prototype(b.key)->Draw(box, &picture.dc);
        picture.Save(std::string("symbols/collapsed-") + b.key);
        const int below = PageCanvas::Device(box.ty2 + P());
        const COLORREF fill = picture.Pixel(PageCanvas::Device(box.x1) + 2, below);
        for (int dx = 3; dx < PageCanvas::Device(box.x2 - box.x1) - 3; ++dx)
            EXPECT_EQ(picture.Pixel(PageCanvas::Device(box.x1) + dx, below), fill) << "compartment line at " << dx;
    }
}

TEST_F(ClassifierFamily, AStereotypeShowsItsBaseTypeAndIsClearedEverywhereWhenDeleted)
{
    const int id = Place("Stereotype", RECT{1000, 1000, 1100, 1100}, 0, "Persistent");
    const int before = Row(id).y2 - Row(id).y1;
    const ModelT stereotype = ElementOf(id);
    ASSERT_TRUE(Prototype("Stereotype")->UpdateElementFields(stereotype.ID, {"Use", "Class"}));
    Resync(id);
    Relayout(id);
    EXPECT_STREQ(Row(id).Stereotype, "Class");
    EXPECT_EQ(Row(id).y2 - Row(id).y1, before + theSysConfig.m_nSmallFontSize) << "a second guillemet line";

    const int cls = Place("Class", RECT{9000, 1000, 9100, 1100}, 0, "Carrier");
    const int carrier = ElementOf(cls).ID;
    const int bare = Place("Comment", RECT{9000, 6000, 9100, 6100}, 0, "note");
    const std::string guid = stereotype.GUID;
    ASSERT_TRUE(Prototype("Class")->UpdateElementFields(carrier, {"Stereotype", guid.c_str()}));
    LinkElementStereotype(carrier, guid.c_str());
    LinkElementStereotype(-bare, guid.c_str());
    UpdateSymbolFields(bare, {"Stereotype", guid.c_str()});
    HookRecorder::calls.clear();

    Prototype("Stereotype")->DeleteElement(stereotype.ID);
    ModelT gone, cleared;
    EXPECT_FALSE(FetchElementById(stereotype.ID, gone));
    ASSERT_TRUE(FetchElementById(carrier, cleared));
    EXPECT_STREQ(cleared.Stereotype ? cleared.Stereotype : "", "");
    EXPECT_TRUE(hooks.Has("mark " + std::to_string(carrier) + " 1")) << "the carrier's unit is saved again";
    EXPECT_STREQ(Row(bare).Stereotype ? Row(bare).Stereotype : "", "");
    dbTypedCursor<StereotypeObj> links(&StereotypeObj::TableInfo);
    EXPECT_LE(links.SelectByKey("OID", carrier), 0);
    EXPECT_LE(links.SelectByKey("OID", -bare), 0);
}

// The base-type chooser lists every metaclass in byte order; the choice is
// stored in Use and offers the stereotype to that metaclass's elements only.
TEST_F(ClassifierFamily, TheBaseTypeChooserListsTheMetaclassesAndAReadOnlyOneItsOwn)
{
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    const std::string guid = NewGuid(true);
    const int id = Prototype("Stereotype")->CreateElement(owner, "Persistent", guid.c_str(), nullptr);
    ModelT element;
    ASSERT_TRUE(FetchElementById(id, element));
    COptionTreeItem* category = Prototype("Stereotype")->AddElementProperties(element, false, &grid);
    ASSERT_NE(category, nullptr);
    EXPECT_STREQ(static_cast<const char*>(category->GetLabelText()), "Base properties");
    std::vector<std::string> keys;
    for (COptionTreeItem* r = category->GetFirstChild(); r; r = r->GetNextSibling())
        keys.emplace_back(r->GetKey() ? r->GetKey() : "");
    EXPECT_EQ(keys, (std::vector<std::string>{"Name", "Type", "Use"}));
    EXPECT_TRUE(RowByKey(category, "Type")->IsReadOnly());
    auto* chooser = dynamic_cast<COptionTreeComboBoxItem*>(RowByKey(category, "Use"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_STREQ(static_cast<const char*>(chooser->GetLabelText()), "Base type of stereotype ");
    std::vector<std::string> expected;
    for (CSymbol* prototype : GetSortedMetaclasses())
        expected.emplace_back(prototype->metaName);
    EXPECT_EQ(Entries(chooser), expected);
    EXPECT_TRUE(std::is_sorted(expected.begin(), expected.end()));
    EXPECT_EQ(chooser->GetValueInt(), -1) << "an empty Use selects nothing";

    const std::vector<std::string> listed = Entries(chooser);
    chooser->SetCurSel(static_cast<int>(std::find(listed.begin(), listed.end(), "Class") - listed.begin()));
    oid_t oid = 0;
    ASSERT_TRUE(FetchElementById(id, element, &oid));
    EXPECT_TRUE(Prototype("Stereotype")->ApplyElementProperties(oid, element, grid.GetRootItem()));
    ASSERT_TRUE(FetchElementById(id, element));
    EXPECT_STREQ(element.Use, "Class");

    const struct {
        const char* key;
        bool offered;
    } carriers[] = {{"Class", true}, {"Interface", false}};
    for (const auto& c : carriers) {
        SCOPED_TRACE(c.key);
        grid.DeleteAllItems();
        const int carrier = Prototype(c.key)->CreateElement(owner, "Carrier", NewGuid(true).c_str(), nullptr);
        ModelT row;
        ASSERT_TRUE(FetchElementById(carrier, row));
        Prototype(c.key)->AddElementProperties(row, false, &grid);
        auto* stereotypes =
            dynamic_cast<COptionTreeComboBoxItem*>(RowByKey(grid.GetRootItem()->GetFirstChild(), "Stereotype"));
        ASSERT_NE(stereotypes, nullptr);
        const std::vector<std::string> offered = Entries(stereotypes);
        EXPECT_EQ(std::find(offered.begin(), offered.end(), "Persistent") != offered.end(), c.offered);
    }

    grid.DeleteAllItems();
    ASSERT_TRUE(FetchElementById(id, element));
    chooser = dynamic_cast<COptionTreeComboBoxItem*>(
        RowByKey(Prototype("Stereotype")->AddElementProperties(element, true, &grid), "Use"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->IsReadOnly());
    EXPECT_EQ(Entries(chooser), std::vector<std::string>{"Class"});
    EXPECT_EQ(chooser->GetValueInt(), 0);
}

// Applying the rows keeps a type the type row cannot list: a template
// parameter's word "type" and a class the attribute's scope cannot see.
TEST_F(ClassifierFamily, ATypeTheRowCannotListSurvivesApplyingOtherRows)
{
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    const int holder = ElementOf(Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Holder")).ID;
    const int elsewhere = Prototype("Package")->CreateElement(0, "Elsewhere", NewGuid(true).c_str(), nullptr);
    const std::string hidden = NewGuid(true);
    ASSERT_GT(Prototype("Class")->CreateElement(elsewhere, "Hidden", hidden.c_str(), nullptr), 0);
    TypeMatchList seen;
    ASSERT_FALSE(ResolveTypeName(holder, MMC_CLASS, nullptr, "Hidden", &seen) && !seen.empty());
    const struct {
        const char* key;
        const char* use;
    } cases[] = {{"Attribute", hidden.c_str()}, {"Parameter", "type"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const int id = Prototype(c.key)->CreateElement(holder, "before", NewGuid(true).c_str(), c.use);
        ModelT element;
        oid_t oid = 0;
        ASSERT_TRUE(FetchElementById(id, element, &oid));
        grid.DeleteAllItems();
        Prototype(c.key)->AddElementProperties(element, false, &grid);
        auto* name = dynamic_cast<COptionTreeEditItem*>(RowByKey(grid.GetRootItem()->GetFirstChild(), "Name"));
        ASSERT_NE(name, nullptr);
        name->SetWindowText("after");
        Prototype(c.key)->ApplyElementProperties(oid, element, grid.GetRootItem());
        ASSERT_TRUE(FetchElementById(id, element));
        EXPECT_STREQ(element.Name, "after");
        EXPECT_STREQ(element.Use, c.use);
    }
}

TEST_F(ClassifierFamily, AParameterChangeReachesItsOperationsLine)
{
    const int box = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "Shape");
    const int integer = Place("Class", RECT{9000, 1000, 9100, 1100}, 0, "Integer");
    const int line = Place("Operation", RECT{0, 0, 0, 0}, box, "op(a)");
    SymbolT row = Row(line);
    Prototype("Operation")->RenameElement(row);
    Resync(line);
    EXPECT_STREQ(Row(line).Text, "-op(a)");
    const int operation = ElementOf(line).ID;
    std::vector<int> parameters = ChildElements(operation);
    ASSERT_EQ(parameters.size(), 1u);
    const std::string type = ElementOf(integer).GUID;
    ASSERT_TRUE(Prototype("Parameter")->UpdateElementFields(parameters[0], {"Use", type.c_str(), "Direction", "1"}));
    ModelT parameter;
    ASSERT_TRUE(FetchElementById(parameters[0], parameter));
    Prototype("Parameter")->SyncFromElement(parameter, SymbolT(), 0);
    EXPECT_STREQ(Row(line).Text, "-op(in a:Integer)");

    // The type changed in the grid reaches the line at once.
    const int real = Place("Class", RECT{9000, 6000, 9100, 6100}, 0, "Real");
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    ASSERT_TRUE(FetchElementById(parameters[0], parameter));
    COptionTreeItem* base = Prototype("Parameter")->AddElementProperties(parameter, false, &grid);
    ASSERT_NE(base, nullptr);
    COptionTreeComboBoxItem* typeRow = nullptr;
    for (COptionTreeItem* r = grid.GetRootItem()->GetFirstChild()->GetFirstChild(); r; r = r->GetNextSibling())
        if (std::string(r->GetKey() ? r->GetKey() : "") == "Use")
            typeRow = dynamic_cast<COptionTreeComboBoxItem*>(r);
    ASSERT_NE(typeRow, nullptr);
    int entry = -1;
    for (int i = 0; i < typeRow->GetCount(); ++i) {
        CString text;
        typeRow->GetLBText(i, text);
        if (std::string(static_cast<const char*>(text)) == "Real")
            entry = i;
    }
    ASSERT_GE(entry, 0);
    typeRow->SetCurSel(entry);
    oid_t oid = 0;
    ASSERT_TRUE(FetchElementById(parameters[0], parameter, &oid));
    EXPECT_TRUE(Prototype("Parameter")->ApplyElementProperties(oid, parameter, grid.GetRootItem()));
    EXPECT_STREQ(Row(line).Text, "-op(in a:Real)");
    (void)real;
}

TEST_F(ClassifierFamily, HelpPagesEscapeNamesAndListTheExtensionRows)
{
    const std::string folder = std::string(VEXAL_TEST_OUTPUT) + "/symbols/html-family/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const int box = Place("Class", RECT{1000, 1000, 1100, 1100}, 0, "A<&\"B");
    const int owner = ElementOf(box).ID;
    const struct {
        const char* key;
        const char* label;  // a row the page must hold
    } pages[] = {{"Class", "Active"},    {"Attribute", "Multiplicity"}, {"Operation", "Query"},
                 {"Signal", "Static"}, {"Parameter", "Direction"}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.key);
        int id = owner;
        if (std::string(p.key) != "Class")
            id = Prototype(p.key)->CreateElement(owner, "x<&\"y", NewGuid(true).c_str(), nullptr);
        ModelT element;
        ASSERT_TRUE(FetchElementById(id, element));
        ASSERT_TRUE(Prototype(p.key)->WriteHtmlPage(folder.c_str(), element));
        const std::string page = TestFolder::Read(folder + p.key + std::to_string(id) + ".htm");
        EXPECT_NE(page.find("&lt;&amp;&quot;"), std::string::npos);
        EXPECT_EQ(page.find("<&\""), std::string::npos);
        EXPECT_NE(page.find(p.label), std::string::npos);
        EXPECT_NE(page.find("Extended properties"), std::string::npos);
    }
}

// A box shown without element offers the chooser after Collapse: choosing a
// stereotype stores it and leaves the box as it was; Collapse is read by its key.
TEST_F(ClassifierFamily, TheSymbolRowsReadCollapseAndTheChooserByKey)
{
    const std::string guid = NewGuid(true);
    const int stereotype = Prototype("Stereotype")->CreateElement(owner, "boundary", guid.c_str(), nullptr);
    ASSERT_TRUE(Prototype("Stereotype")->UpdateElementFields(stereotype, {"Use", "Interface"}));
    const int id = Prototype("Interface")->InsertSymbolFields({"PID", std::to_string(page).c_str(), "Text", "Bare",
                                                               "ItemState", "1"});
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP, 0, 0, 320, 400, nullptr, nullptr));
    COptionTree grid;
    ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), &pane, 0, 1, 90));
    SymbolT row = Row(id);
    COptionTreeItem* category = Prototype("Interface")->AddSymbolProperties(row, &grid);
    ASSERT_NE(category, nullptr);
    std::vector<COptionTreeItem*> rows;
    for (COptionTreeItem* r = category->GetFirstChild(); r; r = r->GetNextSibling())
        rows.push_back(r);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_STREQ(rows[0]->GetKey(), "Autolayout");
    EXPECT_STREQ(rows[2]->GetKey(), "Collapse");
    EXPECT_STREQ(rows[3]->GetKey(), "Stereotype");
    auto* chooser = dynamic_cast<COptionTreeComboBoxItem*>(rows[3]);
    ASSERT_NE(chooser, nullptr);
    int entry = -1;
    for (int i = 0; i < chooser->GetCount(); ++i) {
        CString text;
        chooser->GetLBText(i, text);
        if (std::string(static_cast<const char*>(text)) == "boundary")
            entry = i;
    }
    ASSERT_GE(entry, 0);
    chooser->SetCurSel(entry);
    EXPECT_TRUE(Prototype("Interface")->ApplySymbolProperties(id, row, category));
    EXPECT_EQ(row.ItemState & BOX_COLLAPSED, 0) << "the chooser is not read as Collapse";
    EXPECT_STREQ(row.Stereotype, guid.c_str());
}

} // namespace
