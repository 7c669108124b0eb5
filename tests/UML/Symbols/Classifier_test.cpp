// Classifier boxes and their member lines: the box geometry, the insertion
// bands, typed member texts parsed and rebuilt, and the element with its
// extension row through creation, unit files, scripts and the clipboard.
#include "PageFile.h"
#include "SymbolFixture.h"
#include "TestFolder.h"
#include "UnitFile.h"

#include "MemDB/FlatImage.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/SymbolText.h"
#include "UML/Symbols/ClassifierSymbols.h"
#include "UML/Symbols/MemberSymbols.h"

#include <random>
#include <string>
#include <vector>

namespace {

std::string UnitPath(const std::string& name)
{
    return std::string(VEXAL_TEST_OUTPUT) + "/symbols/" + name + ".uml";
}

class Classifiers : public SymbolFixture {
protected:
    int Box(const char* key, const char* name, RECT r = RECT{2000, 2000, 2100, 2100})
    {
        return Place(key, r, 0, name);
    }
    // A member typed into the box's band the way the controller commits it:
    // created under the typed text, then parsed, then rebuilt.
    int Type(int box, const char* key, const char* text)
    {
        const int id = Place(key, RECT{0, 0, 0, 0}, box, text);
        if (id <= 0)
            return 0;
        SymbolT line = Row(id);
        Prototype(key)->RenameElement(line);
        Resync(id);
        Relayout(box);
        return id;
    }
    // Edits an existing line's text as the controller does.
    void Edit(int id, const char* text)
    {
        SymbolT line = Row(id);
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        line.Text = text;
        MemDbUpdate(&SymbolT::TableInfo, &line, c.GetCurrentOid());
        if (Prototype(line.Type)->RenameElement(Row(id)))
            Resync(id);
    }
    void Resync(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        const SymbolT line = *c.GetRecord();
        const oid_t oid = c.GetCurrentOid();
        ModelT element;
        ASSERT_TRUE(ElementOf(line, element));
        Prototype(line.Type)->SyncFromElement(element, line, oid);
    }
    bool ElementOf(const SymbolT& line, ModelT& element)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("GUID", line.GUID) <= 0)
            return false;
        element = *c.GetRecord();
        return true;
    }
    ModelT Element(int symbolId)
    {
        ModelT element;
        EXPECT_TRUE(ElementOf(Row(symbolId), element));
        return element;
    }
    std::string Guid(int elementId)
    {
        ModelT e;
        EXPECT_TRUE(FetchElementById(elementId, e));
        return e.GUID ? e.GUID : "";
    }
    int P() const { return DrawResources::PixelSize; }
    int F() const { return theSysConfig.m_nFontSize; }
    int NameHeight(const char* text)
    {
        int w = 0, h = 0;
        MeasureText(&canvas.dc, w, h, text);
        return h;
    }
    int TextWidth(const char* text)
    {
        int w = 0, h = 0;
        MeasureText(&canvas.dc, w, h, text);
        return w;
    }
};

// Box geometry: the edge cases of the layout, each checked as its height below
// the name and its width.
TEST_F(Classifiers, BoxGeometry)
{
    const int p = P(), f = F();
    ASSERT_GT(p, 0);
    // A row without an ID yet: two empty compartments of 2F + 2P.
    {
        SymbolT row;
        row.ID = 0;
        row.x1 = row.y1 = 0;
        row.x2 = row.y2 = 10;
        row.Text = "A";
        row.ItemState = SYMBOL_AUTOLAYOUT;
        row.Type = "Class";
        Prototype("Class")->Layout(row, &canvas.dc, nullptr);
        const int th = NameHeight("A");
        const int sh = row.ty1 - row.y1 - p;
        EXPECT_EQ(row.y2 - row.y1, 4 * p + th + sh + 2 * f + 2 * p + p);
        EXPECT_EQ(row.x2 - row.x1, 1200 + 300 + 4 * p) << "a short name keeps the 1200 minimum";
    }
    // With an ID and no members: F + 2P and F + P.
    const int id = Box("Class", "A");
    SymbolT empty = Row(id);
    const int th = empty.ty2 - empty.ty1;
    const int sh = empty.ty1 - empty.y1 - p;
    EXPECT_EQ(empty.y2 - empty.y1, 4 * p + th + sh + f + 2 * p + f + p + p);
    EXPECT_EQ(empty.x2 - empty.x1, 1200 + 300 + 4 * p);
    EXPECT_EQ(empty.ItemState & SYMBOL_HAS_CHILDREN, 0);

    // Members widen the box to the widest line plus 300 and stack from the name.
    const char* longLine = "+ averyveryverylongattributename_for_widening";
    const int a = Type(id, "Attribute", longLine);
    const int o = Type(id, "Operation", "+ run()");
    SymbolT box = Row(id);
    SymbolT attribute = Row(a), operation = Row(o);
    EXPECT_NE(box.ItemState & SYMBOL_HAS_CHILDREN, 0);
    EXPECT_EQ(attribute.x1, box.x1 + 150);
    EXPECT_EQ(attribute.y1, box.y1 + 4 * p + th + sh);
    EXPECT_EQ(attribute.x2, attribute.x1 + p + TextWidth(attribute.Text));
    EXPECT_EQ(operation.y1, attribute.y2 + f + 2 * p);
    EXPECT_EQ(operation.x2, operation.x1 + TextWidth(operation.Text));
    EXPECT_EQ(box.y2, operation.y2 + f + p + p);
    EXPECT_EQ(box.x2 - box.x1, TextWidth(attribute.Text) + 300);

    // Without Autolayout an enlarged box keeps its size; with it, it shrinks.
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        SymbolT big = *c.GetRecord();
        big.x2 += 5000;
        big.y2 += 5000;
        big.ItemState &= ~SYMBOL_AUTOLAYOUT;
        MemDbUpdate(&SymbolT::TableInfo, &big, c.GetCurrentOid());
    }
    Relayout(id);
    EXPECT_EQ(Row(id).x2, box.x2 + 5000);
    EXPECT_EQ(Row(id).y2, box.y2 + 5000);
    EXPECT_EQ(Row(id).tx1, box.x1 + (box.x2 + 5000 - box.x1 - (box.tx2 - box.tx1 - p)) / 2);
    UpdateSymbolFields(id, {"ItemState", "1"});
    Relayout(id);
    EXPECT_EQ(Row(id).x2, box.x2);
    EXPECT_EQ(Row(id).y2, box.y2);

    // Collapsed: the name alone.
    UpdateSymbolFields(id, {"ItemState", "3"});
    Relayout(id);
    EXPECT_EQ(Row(id).y2 - Row(id).y1, 4 * p + th + sh + p);
}

// Hit points on each band's edges and on the member lines.
TEST_F(Classifiers, HitTestFindsMembersBandsAndTheBox)
{
    const int p = P(), f = F();
    const int id = Box("Class", "Shape");
    const int a = Type(id, "Attribute", "+ x : Integer");
    const int o = Type(id, "Operation", "+ area()");
    const SymbolT box = Row(id), attribute = Row(a), operation = Row(o);
    const int cx = box.x1 + 400;
    const int attributeBand = attribute.y2;
    const int operationBand = operation.y2;
    struct Probe {
        const char* what;
        POINT at;
        int id;            // -1: a new-member hit
        const char* type;
    } probes[] = {
        {"name", {cx, box.y1 + p}, id, "Class"},
        {"attribute line", {attribute.x1 + 10, attribute.y1 + 10}, a, "Attribute"},
        {"attribute band top", {cx, attributeBand + p}, -1, "Attribute"},
        {"attribute band bottom", {cx, attributeBand + f + p}, -1, "Attribute"},
        {"operation line", {operation.x1 + 10, operation.y1 + 10}, o, "Operation"},
        {"operation band top", {cx, operationBand + p}, -1, "Operation"},
        {"operation band bottom", {cx, operationBand + f + p}, -1, "Operation"},
        {"bottom edge", {cx, box.y2}, id, "Class"},
    };
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.what);
        HitSymbol out;
        ASSERT_TRUE(Prototype("Class")->HitTest(probe.at, box, out));
        EXPECT_STREQ(out.rec.Type, probe.type);
        if (probe.id >= 0) {
            EXPECT_EQ(out.rec.ID, probe.id);
            continue;
        }
        EXPECT_EQ(out.rec.ID, 0);
        EXPECT_EQ(out.rec.FID, id);
        EXPECT_EQ(out.rec.Text, nullptr);
        EXPECT_NE(out.rec.ItemState & SYMBOL_CHECKED, 0);
        EXPECT_EQ(out.rec.tx1, box.x1 + 150);
        EXPECT_EQ(out.rec.tx2, box.x2 - 150);
        EXPECT_EQ(out.rec.ty2 - out.rec.ty1, f);
    }
    HitSymbol out;
    EXPECT_FALSE(Prototype("Class")->HitTest(POINT{box.x2 + 1, box.y1 + 10}, box, out));
    UpdateSymbolFields(id, {"ItemState", "3"});
    Relayout(id);
    const SymbolT collapsed = Row(id);
    ASSERT_TRUE(Prototype("Class")->HitTest(POINT{cx, collapsed.y2 - p}, collapsed, out));
    EXPECT_EQ(out.rec.ID, id);
}

// Typed attribute texts: text, stored fields, rebuilt text.
TEST_F(Classifiers, AttributeTextsParseAndRebuild)
{
    const int id = Box("Class", "Holder");
    Box("Class", "Integer", RECT{9000, 2000, 9100, 2100});
    Box("Class", "Foo-Bar", RECT{9000, 6000, 9100, 6100});
    const std::string integer = Guid(Element(Row(id) .ID).ID);
    struct Case {
        const char* text;
        int visibility;
        int isStatic;
        int kind;
        const char* name;
        const char* type;   // the name of the type element, "" for none
        const char* multiplicity;
        const char* rebuilt;
    } cases[] = {
        {"x : Integer", 0, 0, 1, "x", "Integer", "", "- x:Integer"},
        {"+ static shared count : Foo [1..*]", 3, 1, 2, "count", "", "1..*", "+ static shared count[1..*]"},
        {"a+b : Integer", 3, 0, 1, "b", "Integer", "", "+ b:Integer"},
        {"# c : Integer [ 0..* ]", 1, 0, 1, "c", "Integer", " 0..* ", "# c:Integer[ 0..* ]"},
        {"~ composite d", 2, 0, 3, "d", "", "", "~ composite d"},
        {"x [2]", 0, 0, 1, "x", "", "", "- x"},
        {"x : Foo-Bar", 0, 0, 1, "x", "Foo-Bar", "", "- x:Foo-Bar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const int line = Type(id, "Attribute", c.text);
        ASSERT_GT(line, 0);
        const ModelT element = Element(line);
        ModelAttribute extension;
        ASSERT_TRUE(FetchExtension(element.ID, extension));
        EXPECT_EQ(element.Visibility, c.visibility);
        EXPECT_EQ(extension.Static, c.isStatic);
        EXPECT_EQ(extension.Associationkind, c.kind);
        EXPECT_STREQ(element.Name, c.name);
        std::string typeName;
        ModelT type;
        dbTypedCursor<ModelT> t(&ModelT::TableInfo);
        if (!IsEmpty(element.Use) && t.SelectByKey("GUID", element.Use) > 0)
            typeName = t->Name;
        EXPECT_EQ(typeName, c.type);
        EXPECT_STREQ(extension.Multiplicity ? extension.Multiplicity : "", c.multiplicity);
        EXPECT_STREQ(Row(line).Text, c.rebuilt);
        EXPECT_EQ(Row(line).FID, id);
        EXPECT_EQ(element.FID, Element(id).ID);
    }
    (void)integer;
}

// Retyping keeps what the text does not mention; an empty text removes the
// line and keeps the element.
TEST_F(Classifiers, RetypingKeepsStaticAndMultiplicityAndAnEmptyTextKeepsTheElement)
{
    const int id = Box("Class", "Holder");
    Box("Class", "B", RECT{9000, 2000, 9100, 2100});
    const int line = Type(id, "Attribute", "+ static composite a : B [3]");
    Edit(line, "- a : B");
    const ModelT element = Element(line);
    ModelAttribute extension;
    ASSERT_TRUE(FetchExtension(element.ID, extension));
    EXPECT_EQ(extension.Static, 1);
    EXPECT_EQ(extension.Associationkind, 1);
    EXPECT_STREQ(extension.Multiplicity, "3");
    EXPECT_STREQ(Row(line).Text, "- static a:B[3]");

    Edit(line, "");
    EXPECT_EQ(CountSymbols("ID", line), 0);
    ModelT still;
    EXPECT_TRUE(FetchElementById(element.ID, still));
    EXPECT_TRUE(FetchExtension(element.ID, extension));
}

// Names longer than any fixed word buffer are taken whole, UTF-8 included.
TEST_F(Classifiers, LongNamesAreTakenWhole)
{
    const int id = Box("Class", "Holder");
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "\xC3\xA9";  // é: 80 bytes in all
    const int a = Type(id, "Attribute", ("+ " + name + " [" + std::string(70, '9') + "]").c_str());
    EXPECT_STREQ(Element(a).Name, name.c_str());
    const int o = Type(id, "Operation", ("+ " + name + "()").c_str());
    EXPECT_STREQ(Element(o).Name, name.c_str());
}

// Operation signatures: text, then the rebuilt line and the stored fields.
TEST_F(Classifiers, OperationTextsParseAndRebuild)
{
    const int id = Box("Class", "Shape");
    Box("Class", "Integer", RECT{9000, 2000, 9100, 2100});
    struct Case {
        const char* text;
        int visibility;
        int isStatic;
        int virtuality;
        int abstract;
        const char* name;
        const char* rebuilt;
    } cases[] = {
        {"+ area ( in s : Integer ) : Integer [1]", 3, 0, 0, 0, "area", "+area(in s:Integer):Integer[1]"},
        {"static virtual op()", 0, 1, 0, 0, "virtual", "-static virtual()"},
        {"# abstract virtual f()", 1, 0, 1, 1, "f", "#abstract virtual f()"},
        {"op(d:Integer=-1)", 0, 0, 0, 0, "op", "-op(d)"},
        {"+ g() : Nowhere", 3, 0, 0, 0, "g", "+g()"},
        {"~ redefined static h", 2, 1, 3, 0, "h", "~redefined static h()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const int line = Type(id, "Operation", c.text);
        ASSERT_GT(line, 0);
        const ModelT element = Element(line);
        ModelOperation extension;
        ASSERT_TRUE(FetchExtension(element.ID, extension));
        EXPECT_EQ(element.Visibility, c.visibility);
        EXPECT_EQ(extension.Static, c.isStatic);
        EXPECT_EQ(extension.Virtuality, c.virtuality);
        EXPECT_EQ(extension.Abstract, c.abstract);
        EXPECT_STREQ(element.Name, c.name);
        EXPECT_STREQ(Row(line).Text, c.rebuilt);
    }
}

// Class templates: the name, the parameter list and its colours.
TEST_F(Classifiers, ClassTemplateTextRenamesAndListsParameters)
{
    Box("Class", "Integer", RECT{9000, 2000, 9100, 2100});
    const int id = Box("Class", "List");
    Edit(id, "Map<K:type,V:Integer>");
    EXPECT_STREQ(Element(id).Name, "Map");
    EXPECT_STREQ(Row(id).Text, "Map<K:type,V:Integer>");
    Edit(id, "Map<K");
    EXPECT_STREQ(Element(id).Name, "Map");
    EXPECT_STREQ(Row(id).Text, "Map<K:type,V:Integer>") << "no '>': the parameters stay";
    Edit(id, "Plain");
    EXPECT_STREQ(Row(id).Text, "Plain<K:type,V:Integer>");
}

// The element and its extension row: created, undone, saved, loaded back
// byte for byte, accessed by field and pasted.
TEST_F(Classifiers, ExtensionRowsTravelWithTheirElements)
{
    const int id = Box("Class", "Shape");
    const int a = Type(id, "Attribute", "+ static x : Shape [2]");
    const int o = Type(id, "Operation", "+ area()");
    const int cls = Element(id).ID;
    ModelClass k;
    ASSERT_TRUE(FetchExtension(cls, k));
    EXPECT_EQ(k.Abstract, 0);
    EXPECT_EQ(k.Active, 0);
    ASSERT_TRUE(Prototype("Class")->UpdateElementFields(cls, {"Active", "1", "Name", "Shape"}));
    ASSERT_TRUE(FetchExtension(cls, k));
    EXPECT_EQ(k.Active, 1);
    char buffer[32];
    EXPECT_GT(Prototype("Class")->GetElementField(Element(id), "Active", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "1");
    EXPECT_EQ(Prototype("Interface")->GetElementField(Element(id), "Active", buffer, sizeof buffer), 0);

    const std::string first = UnitPath("classifier-1"), second = UnitPath("classifier-2");
    ASSERT_TRUE(WriteUnit(first, owner));
    const std::string text = TestFolder::Read(first);
    EXPECT_NE(text.find(" Active=\"1\""), std::string::npos);
    EXPECT_NE(text.find(" Static=\"1\" Associationkind=\"1\" Multiplicity=\"2\""), std::string::npos);
    const int copy = Prototype("Package")->CreateElement(0, "Loaded", NewGuid(true).c_str(), nullptr);
    ASSERT_FALSE(ReadUnit(first, copy).empty());
    ASSERT_TRUE(WriteUnit(second, copy));
    EXPECT_EQ(TestFolder::Read(second), text);

    const ModelT attribute = Element(a);
    const size_t size = Prototype("Attribute")->FlatElementSize(attribute);
    std::vector<char> image(size);
    ASSERT_EQ(Prototype("Attribute")->FlattenElement(image.data(), attribute), size);
    PasteIdMap map(cls);
    EXPECT_EQ(Prototype("Attribute")->PasteElement(image.data(), size - 1, map), 0u)
        << "a block ending inside the extension image pastes nothing";
    const int before = theNextElementId;
    EXPECT_EQ(Prototype("Attribute")->PasteElement(image.data(), size, map), size);
    ModelT pasted;
    ASSERT_TRUE(FetchElementById(before + 1, pasted));
    EXPECT_STRNE(pasted.GUID, attribute.GUID);
    ModelAttribute pastedRow;
    ASSERT_TRUE(FetchExtension(pasted.ID, pastedRow));
    EXPECT_EQ(pastedRow.Static, 1);

    const int operation = Element(o).ID;
    Prototype("Operation")->DeleteElement(operation);
    ModelOperation gone;
    EXPECT_FALSE(FetchExtension(operation, gone));
}

// Every classifier-family key on one page, elements and symbols, through a
// unit file: read back and written again, the file is the same bytes.
TEST_F(Classifiers, EveryFamilyKeyRoundTripsThroughAUnitByteForByte)
{
    const int type = Box("Class", "Integer", RECT{20000, 2000, 20100, 2100});
    const int shape = Box("Class", "Shape");
    Box("Interface", "Drawable", RECT{6000, 2000, 6100, 2100});
    Box("Artifact", "shapes.jar", RECT{10000, 2000, 10100, 2100});
    const int colour = Box("Enumeration", "Colour", RECT{14000, 2000, 14100, 2100});
    const int stereotype = Box("Stereotype", "Persistent", RECT{2000, 12000, 2100, 12100});
    ASSERT_TRUE(Prototype("Stereotype")->UpdateElementFields(Element(stereotype).ID, {"Use", "Class"}));
    Type(stereotype, "Attribute", "table : Integer");
    Type(colour, "Literal", "Red");
    Type(shape, "Attribute", "+ static corners : Integer [0..*]");
    Type(shape, "Operation", "# area(in scale : Integer [1]) : Integer");
    for (const char* key : {"Activity", "Interaction", "Signal", "Statemachine"})
        ASSERT_GT(Type(shape, key, key), 0) << key;
    Relayout(shape);
    (void)type;

    const std::string first = UnitPath("family-1"), second = UnitPath("family-2");
    ASSERT_TRUE(WriteUnit(first, owner));
    const std::string text = TestFolder::Read(first);
    for (const char* piece : {"<Interface Name=\"Drawable\"", "<Artifact Name=\"shapes.jar\"", "<Literal Name=\"Red\"",
                              " Use=\"Class\"", "<Parameter Name=\"scale\"", " Direction=\"1\" Multiplicity=\"1\"",
                              "<Signal Name=\"Signal\"", "<Statemachine Name=\"Statemachine\""})
        EXPECT_NE(text.find(piece), std::string::npos) << piece;
    const int copy = Prototype("Package")->CreateElement(0, "Loaded", NewGuid(true).c_str(), nullptr);
    ASSERT_FALSE(ReadUnit(first, copy).empty());
    ASSERT_TRUE(WriteUnit(second, copy));
    EXPECT_EQ(TestFolder::Read(second), text);
}

TEST_F(Classifiers, DroppingAClassTypesANewAttributeAndAForeignAttributeMakesNothing)
{
    const int id = Box("Class", "Holder");
    const int other = Box("Class", "Other", RECT{9000, 2000, 9100, 2100});
    const int foreign = Type(other, "Attribute", "y");
    const std::string type = Element(other).GUID;
    const int line = Place("Attribute", RECT{0, 0, 0, 0}, id, "z", type.c_str());
    ASSERT_GT(line, 0);
    EXPECT_STREQ(Element(line).Use, type.c_str());
    EXPECT_EQ(Place("Attribute", RECT{0, 0, 0, 0}, id, "", Element(foreign).GUID), 0);
    EXPECT_EQ(Place("Attribute", RECT{0, 0, 0, 0}, 0, "free"), 0) << "no line outside a box";
}

TEST_F(Classifiers, DeletingATagDefinitionRemovesEveryValueNamingIt)
{
    const int stereotype = Prototype("Stereotype")->CreateElement(owner, "Persistent", NewGuid(true).c_str(), nullptr);
    const std::string guid = NewGuid(true);
    const int tag = Prototype("Attribute")->CreateElement(stereotype, "table", guid.c_str(), nullptr);
    for (int holder : {-1, -2, -3}) {
        StereotypeT value{holder, guid.c_str(), "t"};
        MemDbInsert(&StereotypeT::TableInfo, &value);
    }
    UndoLog::NewGroup();
    Prototype("Attribute")->DeleteElement(tag);
    dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
    EXPECT_LE(c.SelectByKey("SSGUID", guid.c_str()), 0);
    UndoLog::Undo();
    EXPECT_EQ(c.SelectByKey("SSGUID", guid.c_str()), 3) << "undo brings every value back";
}

// Seeded member texts, names with marks inside among them: once parsed and
// rebuilt, a line parses into the same fields and rebuilds to the same text.
TEST_F(Classifiers, ARebuiltLineIsAFixedPointOfTheParser)
{
    const int id = Box("Class", "Holder");
    Box("Class", "Integer", RECT{9000, 2000, 9100, 2100});
    Box("Class", "Foo-Bar", RECT{9000, 6000, 9100, 6100});
    std::mt19937 random(20);
    const auto pick = [&](std::initializer_list<const char*> items) {
        return std::string(items.begin()[random() % items.size()]);
    };
    const auto name = [&] {
        std::string n(1, "abxyz"[random() % 5]);
        const std::string alphabet = "abcxyz019-+#~";
        for (int i = random() % 5; i > 0; --i)
            n += alphabet[random() % alphabet.size()];
        return n + "abxyz"[random() % 5];
    };
    for (int i = 0; i < 1000; ++i) {
        const bool attribute = i % 2 == 0;
        std::string text = pick({"", "+ ", "- ", "#", "~ "});
        text += attribute ? pick({"", "static "}) + pick({"", "shared ", "composite "})
                          : pick({"", "abstract "}) + pick({"", "virtual ", "finalized "}) + pick({"", "static "});
        text += name();
        if (!attribute)
            text += "(" + pick({"", "a", "in a : Integer", "out b:Foo-Bar[2], c"}) + ")";
        text += pick({"", " : Integer", ":Foo-Bar", " : Nowhere"}) + pick({"", " [0..*]", "[1]"});
        SCOPED_TRACE(text);
        const char* key = attribute ? "Attribute" : "Operation";
        const int line = Place(key, RECT{0, 0, 0, 0}, id, text.c_str());
        ASSERT_GT(line, 0);
        ASSERT_TRUE(Prototype(key)->RenameElement(Row(line)));
        Resync(line);
        const std::string once = Row(line).Text;
        const ModelT before = Element(line);
        const std::string beforeName = before.Name, beforeUse = before.Use ? before.Use : "";
        Edit(line, once.c_str());
        EXPECT_EQ(std::string(Row(line).Text), once);
        const ModelT after = Element(line);
        EXPECT_EQ(std::string(after.Name), beforeName);
        EXPECT_EQ(std::string(after.Use ? after.Use : ""), beforeUse);
        EXPECT_EQ(after.Visibility, before.Visibility);
    }
}

TEST_F(Classifiers, GalleryOfBoxesWithMembers)
{
    const int shape = Box("Class", "Shape", RECT{500, 500, 600, 600});
    Type(shape, "Attribute", "+ static count : Integer [0..*]");
    Type(shape, "Attribute", "- name");
    Type(shape, "Operation", "+ area ( in s : Shape ) : Shape");
    ASSERT_TRUE(Prototype("Class")->UpdateElementFields(Element(shape).ID, {"Active", "1"}));
    Resync(shape);
    Relayout(shape);
    const int iface = Box("Interface", "Drawable", RECT{500, 6000, 600, 6100});
    Type(iface, "Operation", "+ draw()");
    const int artifact = Box("Artifact", "shape.dll", RECT{8000, 500, 8100, 600});
    const int collapsed = Box("Class", "Folded", RECT{8000, 6000, 8100, 6100});
    UpdateSymbolFields(collapsed, {"ItemState", "3"});
    Relayout(collapsed);
    PrepareSymbolDC(&canvas.dc);
    for (int id : {shape, iface, artifact, collapsed})
        Prototype(Row(id).Type)->Draw(Row(id), &canvas.dc);
    canvas.Save("symbols/gallery-classifiers");
    const SymbolT box = Row(shape);
    EXPECT_TRUE(canvas.IsInk(PageCanvas::Device(box.x1 + 3 * P()), PageCanvas::Device((box.y1 + box.y2) / 2)))
        << "the active bar";
}

} // namespace
