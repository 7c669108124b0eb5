// Colour runs of typed member texts, offset by offset: marks and keywords,
// names, punctuation, types green when they resolve from the owner and grey
// when not, multiplicities red. A mark counts only before an attribute's ":"
// or an operation's "(".
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

} // namespace
