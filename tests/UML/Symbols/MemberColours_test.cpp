// Colour runs of typed member texts, offset by offset: marks and keywords,
// names, punctuation, types green when they resolve from the owner and grey
// when not, multiplicities red. A mark counts only before an attribute's ":"
// or an operation's "(". Lines rebuilt from their elements colour each piece.
#include "SymbolFixture.h"

#include "Pub/SyntaxRunCodec.h"

#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Runs;

const int K = 0xC87689, P = 0xFF0000, Green = 0x008000, Grey = 0x969696, Red = 0x0000FF;

Runs Decode(const char* text)
{
    Runs runs;
    SyntaxRunCodec reader;
    reader.Attach(text);
    int offset = 0, colour = 0;
    while (reader.NextRun(offset, colour))
        runs.emplace_back(offset, colour);
    return runs;
}

struct ColourCase {
    const char* key;
    const char* text;
    Runs runs;
};

const ColourCase kColourCases[] = {
    {"Attribute", "", {}},
    {"Attribute", "-count : Integer [0..1]", {{0, K}, {1, 0}, {7, P}, {8, Green}, {17, P}, {18, Red}, {22, P}}},
    {"Attribute", "-count : Nowhere", {{0, K}, {1, 0}, {7, P}, {8, Grey}}},
    {"Attribute", "+ static shared n : Integer", {{0, K}, {1, K}, {9, K}, {16, 0}, {18, P}, {19, Green}}},
    {"Attribute", "a+b : Integer", {{1, K}, {2, 0}, {4, P}, {5, Green}}},
    {"Attribute", "x : Foo-Bar", {{0, 0}, {2, P}, {3, Grey}}},
    {"Attribute", "x [2]", {{0, 0}, {2, P}, {3, Red}, {4, P}}},
    {"Attribute", "x :", {{0, 0}, {2, P}}},
    {"Operation", "+ area(s : Integer) : Integer [1]",
     {{0, K}, {1, 0}, {6, P}, {7, 0}, {9, P}, {11, Green}, {18, P}, {20, P}, {21, Green}, {30, P}, {31, Red}, {32, P}}},
    {"Operation", "abstract virtual f()", {{0, K}, {8, K}, {16, 0}, {18, P}, {19, P}}},
    {"Operation", "g() : Nowhere", {{0, 0}, {1, P}, {2, P}, {4, P}, {5, Grey}}},
    {"Operation", "op(d:Integer=-1)", {{0, 0}, {2, P}, {3, 0}, {4, P}, {5, Grey}, {15, P}}},
    {"Operation", "h(in a, out b:Foo-Bar)",
     {{0, 0}, {1, P}, {2, K}, {5, 0}, {6, P}, {8, K}, {12, 0}, {13, P}, {14, Grey}, {21, P}}},
};

class MemberColours : public SymbolFixture, public ::testing::WithParamInterface<ColourCase> {};
class BuiltLines : public SymbolFixture {};

TEST_P(MemberColours, EachPieceTakesItsColour)
{
    Place("Class", RECT{9000, 2000, 9100, 2100}, 0, "Integer");
    const ColourCase& c = GetParam();
    SymbolT row;
    row.Type = c.key;
    row.Text = c.text;
    EXPECT_EQ(Decode(Prototype(c.key)->MakeSyntax(row, owner)), c.runs);
}

INSTANTIATE_TEST_SUITE_P(Texts, MemberColours, ::testing::ValuesIn(kColourCases));

// Once parsed, a line is rebuilt from its element, each piece in its colour.
TEST_F(BuiltLines, EachPieceOfTheRebuiltLineTakesItsColour)
{
    Place("Class", RECT{9000, 2000, 9100, 2100}, 0, "Integer");
    const int box = Place("Class", RECT{1000, 2000, 1100, 2100}, 0, "Holder");
    const struct {
        const char* key;
        const char* typed;
        const char* built;
        Runs runs;
    } cases[] = {
        {"Attribute", "+ static shared count : Integer [0..*]", "+ static shared count:Integer[0..*]",
         {{0, K}, {2, K}, {9, K}, {16, 0}, {21, P}, {22, Green}, {29, P}, {30, Red}, {34, P}}},
        {"Operation", "# area(in s : Integer) : Integer [1]", "#area(in s:Integer):Integer[1]",
         {{0, K}, {1, 0}, {5, P}, {6, K}, {9, 0}, {10, P}, {11, 0}, {18, P}, {19, P}, {20, Green}, {27, P}, {28, Red},
          {29, P}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const int line = Place(c.key, RECT{0, 0, 0, 0}, box, c.typed);
        ASSERT_GT(line, 0);
        ASSERT_TRUE(Prototype(c.key)->RenameElement(Row(line)));
        dbTypedCursor<SymbolT> row(&SymbolT::TableInfo);
        ASSERT_GT(row.SelectByKey("ID", line), 0);
        const SymbolT shown = *row.GetRecord();
        ModelT element;
        dbTypedCursor<ModelT> e(&ModelT::TableInfo);
        ASSERT_GT(e.SelectByKey("GUID", shown.GUID), 0);
        element = *e.GetRecord();
        Prototype(c.key)->SyncFromElement(element, shown, row.GetCurrentOid());
        EXPECT_STREQ(Row(line).Text, c.built);
        EXPECT_EQ(Decode(Row(line).Syntax), c.runs);
    }
}

} // namespace
