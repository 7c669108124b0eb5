#include "UML/Model/ParameterText.h"

#include "TypeModel.h"
#include "MemDB/dbQueryText.h"
#include "Pub/SyntaxRunCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Runs;

Runs RunsOf(const char* text)
{
    SyntaxRunCodec reader;
    reader.Attach(text);
    Runs runs;
    int offset, colour;
    while (reader.NextRun(offset, colour))
        runs.emplace_back(offset, colour);
    return runs;
}

struct Item {
    std::string name, type, multiplicity;
    int direction;
    bool operator==(const Item& o) const
    {
        return name == o.name && type == o.type && multiplicity == o.multiplicity && direction == o.direction;
    }
};

std::ostream& operator<<(std::ostream& out, const Item& i)
{
    return out << "{" << i.name << ", " << i.type << ", " << i.multiplicity << ", " << i.direction << "}";
}

class ParameterTexts : public TypeModel {
protected:
    std::vector<Item> Parse(const char* text)
    {
        std::vector<Item> items;
        int pos = 0;
        ParameterItem item;
        const int length = static_cast<int>(std::strlen(text));
        while (ParseParameterItem(shape, text, pos, length, item)) {
            items.push_back(Item{item.name, item.type, item.multiplicity, item.direction});
            EXPECT_LE(pos, length);
            if (items.size() > 20)
                break;
        }
        return items;
    }
    struct Child {
        std::string name, use, multiplicity;
        int direction;
        bool operator==(const Child& o) const
        {
            return name == o.name && use == o.use && multiplicity == o.multiplicity && direction == o.direction;
        }
    };
    friend std::ostream& operator<<(std::ostream& out, const Child& c)
    {
        return out << "{" << c.name << ", " << c.use << ", " << c.multiplicity << ", " << c.direction << "}";
    }
    std::vector<Child> Children(int owner)
    {
        // In ID order: an equality search through the hash index gives rows in
        // no defined order.
        std::vector<Child> children;
        dbQueryText q;
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &owner).Append(dbFragText, " order by ID");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do {
                if (std::strcmp(c->Type, "Parameter") != 0)
                    continue;
                dbTypedCursor<ModelParameter> p(&ModelParameter::TableInfo);
                EXPECT_GT(p.SelectByKey("ID", c->ID), 0) << c->Name;
                children.push_back(Child{c->Name, c->Use, p->Multiplicity, p->Direction});
            } while (c.Next());
        return children;
    }
    static int Count(dbTableInfo* table)
    {
        dbRecordCursor c(table);
        dbQueryText all;
        all.Append(dbFragText, "ID>0");
        return c.Select(all, dbCursorViewOnly);
    }
};

TEST_F(ParameterTexts, ItemsOfALists)
{
    const std::string integer = Guid(Id("Integer"));
    const std::string point = Guid(Id("Circle"));
    const std::string longText = std::string(80, 'n') + " : Integer";
    struct Case {
        const char* text;
        std::vector<Item> items;
    } const cases[] = {
        {"in a : Integer, out b", {{"a", integer, "", 1}, {"b", "", "", 2}}},
        {"inout v:Circle[0..1] , w", {{"v", point, "0..1", 3}, {"w", "", "", 0}}},
        {"x : T[1..*]", {{"x", "", "1..*", 0}}},
        {"p : type", {{"p", "type", "", 0}}},
        // A name alone is an item wherever it stands.
        {"x", {{"x", "", "", 0}}},
        {"a : T, b", {{"a", "", "", 0}, {"b", "", "", 0}}},
        {"x) : Integer", {{"x", "", "", 0}}},
        {"T>", {{"T", "", "", 0}}},
        {"in", {{"in", "", "", 0}}},
        {"a,,b", {{"a", "", "", 0}, {"b", "", "", 0}}},
        {"", {}},
        {"   ", {}},
        {")", {}},
        {longText.c_str(), {{std::string(64, 'n'), integer, "", 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text), c.items) << c.text;
}

TEST_F(ParameterTexts, ListColours)
{
    const int grey = 0x969696, blue = 0xFF0000, green = 0x008000, red = 0x0000FF, keyword = 0xC87689;
    struct Case {
        const char* text;
        Runs runs;
    } const cases[] = {
        {"x : T[1..*]", {{0, 0}, {2, blue}, {4, grey}, {5, blue}, {6, red}, {10, blue}}},
        {"x : Integer[1..*]", {{0, 0}, {2, blue}, {4, green}, {11, blue}, {12, red}, {16, blue}}},
        {"in a : Integer, out b", {{0, keyword}, {3, 0}, {5, blue}, {7, green}, {14, blue}, {16, keyword}, {20, 0}}},
        {"p:type", {{0, 0}, {1, blue}, {2, green}}},
        {"a) : Integer", {{0, 0}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SyntaxRunCodec writer;
        ColorParameterList(shape, c.text, static_cast<int>(std::strlen(c.text)), writer);
        EXPECT_EQ(RunsOf(writer.GetText()), c.runs) << c.text;
    }
}

TEST_F(ParameterTexts, ParametersFollowTheListAndUndoExactly)
{
    CSymbol* operation = Prototype("Operation");
    Prototype("Parameter");
    const int op = Add(shape, "Operation", "resize");
    const std::string integer = Guid(Id("Integer"));
    const std::string real = Guid(Id("Float"));
    struct Step {
        const char* text;
        int handled;
        std::vector<Child> children;
    } const steps[] = {
        {"in a : Integer, out b", 2, {{"a", integer, "", 1}, {"b", "", "", 2}}},
        {"c : Float[2], d, e", 3, {{"c", real, "2", 0}, {"d", "", "", 0}, {"e", "", "", 0}}},
        {"z", 3, {{"z", "", "", 0}}},
        {"z", 1, {{"z", "", "", 0}}},
        {"", 1, {}},
    };
    std::vector<std::vector<Child>> states{Children(op)};
    std::vector<int> counts{Count(&ModelParameter::TableInfo)};
    for (const Step& s : steps) {
        UndoLog::NewGroup();
        const size_t depth = UndoLog::UndoDepth();
        EXPECT_EQ(operation->ParseParameters(op, s.text, static_cast<int>(std::strlen(s.text))), s.handled) << s.text;
        EXPECT_EQ(Children(op), s.children) << s.text;
        EXPECT_EQ(Count(&ModelParameter::TableInfo), static_cast<int>(s.children.size())) << s.text;
        // A list that changes nothing leaves no step to undo.
        if (UndoLog::UndoDepth() != depth) {
            states.push_back(Children(op));
            counts.push_back(Count(&ModelParameter::TableInfo));
        }
    }
    ASSERT_EQ(states.size(), 5u);
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_EQ(UndoLog::Undo(), 1);
        EXPECT_EQ(Children(op), states[i - 1]) << i;
        EXPECT_EQ(Count(&ModelParameter::TableInfo), counts[i - 1]) << i;
    }
}

TEST_F(ParameterTexts, AParameterWithoutItsRowGetsOne)
{
    const int op = Add(shape, "Operation", "f");
    const int p = Add(op, "Parameter", "old");
    EXPECT_EQ(Prototype("Operation")->ParseParameters(op, "x : Integer", 11), 1);
    EXPECT_EQ(Children(op), (std::vector<Child>{{"x", Guid(Id("Integer")), "", 0}}));
    EXPECT_STREQ(Element(p).Name, "x");
}

TEST_F(ParameterTexts, TypedTextsShowTheTypeWhileItExists)
{
    CSymbol* attribute = Prototype("Attribute");
    const int integer = Id("Integer");
    ModelT type = Element(integer);
    type.Stereotype = "E7";
    theModelDb.UpdateRecord(ElementOid(integer), &ModelT::TableInfo, &type);
    ModelAttribute extension;
    extension.ID = area;
    extension.Multiplicity = "0..1";
    theModelDb.InsertRecord(&ModelAttribute::TableInfo, &extension);
    const int symbol = AddSymbol(1, "Attribute", "old", Guid(area));
    auto oid = [&] {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        c.SelectByKey("ID", symbol);
        return c.GetCurrentOid();
    };
    EXPECT_EQ(attribute->ComposeTypedText(Element(area), Symbol(symbol), oid()), 1);
    SymbolT s = Symbol(symbol);
    EXPECT_STREQ(s.Text, "area:Integer[0..1]");
    EXPECT_STREQ(s.Stereotype, "E7");
    EXPECT_EQ(RunsOf(s.Syntax), (Runs{{0, 0}, {4, 0xFF0000}, {5, 0x8000}, {12, 0xFF0000}, {13, 0xFF}, {17, 0xFF0000}}));
    EXPECT_EQ(attribute->ComposeTypedText(Element(area), Symbol(symbol), oid()), 0);

    theModelDb.RemoveRecord(&ModelT::TableInfo, ElementOid(integer));
    EXPECT_EQ(attribute->ComposeTypedText(Element(area), Symbol(symbol), oid()), 1);
    s = Symbol(symbol);
    EXPECT_STREQ(s.Text, "area[0..1]");
    EXPECT_STREQ(s.Stereotype, "");
    EXPECT_EQ(RunsOf(s.Syntax), (Runs{{0, 0}, {4, 0xFF0000}, {5, 0xFF}, {9, 0xFF0000}}));
}

} // namespace
