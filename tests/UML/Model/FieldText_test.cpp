#include "UML/Model/FieldText.h"

#include "ModelFixture.h"
#include "UML/Model/ElementPath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Fields : public ModelRows {};

TEST_F(Fields, ReadByColumnNameInAnyCaseAndEveryWidth)
{
    ModelT e;
    e.Name = "Shape";
    e.Visibility = 3;
    e.ItemState = -2;
    e.FID = 70000;
    SymbolT s;
    s.MSC = static_cast<int8_t>(MSC_NONE);
    s.Text = nullptr;
    ModelAttribute a;
    a.Multiplicity = "0..*";
    struct Case {
        const char* column;
        dbTableInfo* table;
        const void* record;
        const char* text;
        int result;
    } const cases[] = {
        {"name", &ModelT::TableInfo, &e, "Shape", 32},
        {"NAME", &ModelT::TableInfo, &e, "Shape", 32},
        {"Visibility", &ModelT::TableInfo, &e, "3", 1},
        {"ItemState", &ModelT::TableInfo, &e, "-2", 2},
        {"fid", &ModelT::TableInfo, &e, "70000", 5},
        // The shape code of a page symbol is a signed byte.
        {"MSC", &SymbolT::TableInfo, &s, "-1", 2},
        {"Text", &SymbolT::TableInfo, &s, "", 32},
        {"multiplicity", &ModelAttribute::TableInfo, &a, "0..*", 32},
        {"Navigable", &ModelAttribute::TableInfo, &a, "1", 1},
    };
    for (const Case& c : cases) {
        char buffer[32];
        EXPECT_EQ(GetFieldText(c.column, c.table, c.record, buffer, sizeof buffer), c.result) << c.column;
        EXPECT_STREQ(buffer, c.text) << c.column;
    }
    char buffer[4] = "old";
    EXPECT_EQ(GetFieldText("Nothing", &ModelT::TableInfo, &e, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "old");
    EXPECT_EQ(GetFieldText("Name", &ModelT::TableInfo, &e, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "Sha");
}

TEST_F(Fields, WriteByColumnNameCutsNumbersToTheFieldWidth)
{
    ModelT e;
    const char* name = "Box";
    EXPECT_TRUE(SetFieldText("name", name, &ModelT::TableInfo, &e));
    EXPECT_EQ(e.Name, name); // the pointer itself
    EXPECT_TRUE(SetFieldText("Visibility", "259", &ModelT::TableInfo, &e));
    EXPECT_EQ(e.Visibility, 3);
    EXPECT_TRUE(SetFieldText("ItemState", "70000", &ModelT::TableInfo, &e));
    EXPECT_EQ(e.ItemState, static_cast<int16_t>(70000));
    EXPECT_TRUE(SetFieldText("FID", "x12", &ModelT::TableInfo, &e));
    EXPECT_EQ(e.FID, 0);
    EXPECT_FALSE(SetFieldText("Colour", "1", &ModelT::TableInfo, &e));
}

TEST_F(Fields, InsertingAnElementTakesTheMetaclassAndMakesAnIdentifier)
{
    const size_t undoDepth = UndoLog::UndoDepth();
    const int id = Prototype("Class")->InsertElementFields({"Name", "Box", "Type", "Package", "Colour", "red"});
    const ModelT e = Element(id);
    EXPECT_STREQ(e.Name, "Box");
    EXPECT_STREQ(e.Type, "Class");
    EXPECT_EQ(e.MMC, 1);
    EXPECT_EQ(e.SN, id);
    EXPECT_EQ(std::strlen(e.GUID), 22u);
    // Not journalled: undo has nothing to take back.
    EXPECT_EQ(UndoLog::UndoDepth(), undoDepth);

    const int given = Prototype("Class")->InsertElementFields({"GUID", "given", "MMC", "5"});
    EXPECT_STREQ(Element(given).GUID, "given");
    EXPECT_EQ(Element(given).MMC, 5);
}

TEST_F(Fields, UpdatingAnElementKeepsItsNumberAndRefusesALoop)
{
    const int root = Add(0, "Package", "Model");
    const int geo = Add(root, "Package", "Geo");
    const int shape = Add(geo, "Class", "Shape");
    CSymbol* p = Prototype("Class");
    EXPECT_TRUE(p->UpdateElementFields(shape, {"Name", "Figure", "ID", "999", "Visibility", "2"}));
    EXPECT_STREQ(Element(shape).Name, "Figure");
    EXPECT_EQ(Element(shape).Visibility, 2);
    EXPECT_FALSE(Exists(999));

    const std::string self = std::to_string(geo), below = std::to_string(shape);
    EXPECT_FALSE(p->UpdateElementFields(geo, {"FID", self.c_str()}));
    EXPECT_FALSE(p->UpdateElementFields(geo, {"Name", "Moved", "FID", below.c_str()}));
    EXPECT_EQ(Element(geo).FID, root);
    EXPECT_STREQ(Element(geo).Name, "Geo");
    EXPECT_TRUE(p->UpdateElementFields(shape, {"FID", std::to_string(root).c_str()}));
    EXPECT_EQ(Element(shape).FID, root);
    EXPECT_FALSE(p->UpdateElementFields(12345, {"Name", "x"}));
}

TEST_F(Fields, InsertingASymbolTakesThePrototypesCodes)
{
    CSymbol* dependency = Prototype("Dependency");
    const int id = dependency->InsertSymbolFields({"Text", "uses", "PID", "4", "Type", "Class"});
    SymbolT s = Symbol(id);
    EXPECT_STREQ(s.Type, "Dependency");
    EXPECT_STREQ(s.Text, "uses");
    EXPECT_EQ(s.PID, 4);
    EXPECT_EQ(s.MSC, MSC_LINE);
    EXPECT_EQ(s.MMC, MMC_RELATION);
    EXPECT_EQ(std::strlen(s.SGUID), 22u);

    const int other = dependency->InsertSymbolFields({"MSC", "0", "MMC", "0", "SGUID", "mine"});
    s = Symbol(other);
    EXPECT_EQ(s.MSC, 0);
    EXPECT_EQ(s.MMC, 0);
    EXPECT_STREQ(s.SGUID, "mine");

    EXPECT_TRUE(UpdateSymbolFields(other, {"x1", "100", "ID", "77", "Color", "255"}));
    s = Symbol(other);
    EXPECT_EQ(s.x1, 100);
    EXPECT_EQ(s.Color, 255);
    EXPECT_EQ(s.ID, other);
    EXPECT_FALSE(UpdateSymbolFields(9999, {"x1", "1"}));
}

TEST_F(Fields, ElementAndPagePaths)
{
    const int root = Add(0, "Package", "Model");
    const int geo = Add(root, "Package", "Geo");
    const int shape = Add(geo, "Class", "Shape");
    const int page = Add(shape, "Page", "Main");
    const int symbol = AddSymbol(page, "Class", "Shape");
    struct Case {
        int id;
        const char* start;
        const char* path;
    } const cases[] = {
        {shape, "", "Model/Geo/Shape"},
        {geo, "x", "Model/Geo/x"},
        {0, "kept", "kept"},
        {4242, "", ""},
    };
    for (const Case& c : cases) {
        std::string path = c.start;
        GetElementPath(path, c.id);
        EXPECT_EQ(path, c.path) << c.id;
    }
    std::string path;
    GetSymbolPagePath(path, symbol);
    EXPECT_EQ(path, "Model/Geo/Shape/Main");
    path.clear();
    GetSymbolPagePath(path, 5555);
    EXPECT_EQ(path, "");

    // Owners that loop end the path at the first repeated one.
    const int a = Add(0, "Package", "A");
    const int b = Add(a, "Package", "B");
    ModelT loop = Element(a);
    loop.FID = b;
    theModelDb.UpdateRecord(ElementOid(a), &ModelT::TableInfo, &loop);
    path.clear();
    GetElementPath(path, b);
    EXPECT_EQ(path, "A/B");
}

} // namespace
