// Colour runs of the node and message texts over a small model: a class
// with op(x), a signal ping, an activity act and a state machine with Idle.
// Each kind's text is shown resolved and unresolved.
#include "SymbolFixture.h"

#include "Pub/SyntaxRunCodec.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Runs;

const int B = 0xC02040, G = 0x969696, P = 0xC87689, N = 0xFF, Blue = 0xFF0000;

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

std::string Show(const Runs& runs)
{
    std::string s;
    char item[32];
    for (const auto& r : runs) {
        std::snprintf(item, sizeof item, "{%d, 0x%X} ", r.first, r.second);
        s += item;
    }
    return s;
}

struct ColourCase {
    const char* key;
    const char* text;
    Runs runs;
};

// A resolved call: its name, the brackets, the argument, and a grey run where
// the text ends; an unresolved one is grey from its name on.
const ColourCase kCases[] = {
    {"Action", "op(1)", {{0, B}, {2, P}, {3, N}, {4, P}, {5, G}}},
    {"Action", "nope(1)", {{0, G}}},
    {"Choice", "op(1)", {{0, B}, {2, P}, {3, N}, {4, P}, {5, G}}},
    {"Choice", "nope(1)", {{0, G}, {4, G}}},
    {"Send", "ping(1)", {{0, B}, {4, P}, {5, N}, {6, P}, {7, G}}},
    {"Send", "op(1)", {{0, G}, {2, G}}},
    {"Receive", "ping(1)", {{0, B}, {4, P}, {5, N}, {6, P}, {7, G}}},
    {"Reference", "act", {{0, Blue}}},
    {"Reference", "nothing", {{0, G}}},
    {"State", "Nowhere", {{0, B}}},
    {"Message", "ping(1)", {{0, B}, {4, P}, {5, N}, {6, P}, {7, G}}},
    {"Message", "op(1)", {{0, G}, {2, G}}},
    {"Methodcall", "op(1)", {{0, B}, {2, P}, {3, N}, {4, P}, {5, G}}},
    {"Methodcall", "ping(1)", {{0, G}, {4, G}}},
};

class NodeColours : public SymbolFixture, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(NodeColours, EachKindColoursItsText)
{
    const int type = Prototype("Class")->CreateElement(owner, "C", NewGuid(true).c_str(), nullptr);
    const int op = Prototype("Operation")->CreateElement(type, "op", NewGuid(true).c_str(), nullptr);
    Prototype("Parameter")->CreateElement(op, "x", NewGuid(true).c_str(), nullptr);
    Prototype("Signal")->CreateElement(type, "ping", NewGuid(true).c_str(), nullptr);
    Prototype("Activity")->CreateElement(type, "act", NewGuid(true).c_str(), nullptr);
    const int machine = Prototype("Statemachine")->CreateElement(type, "M", NewGuid(true).c_str(), nullptr);
    Prototype("State")->CreateElement(machine, "Idle", NewGuid(true).c_str(), nullptr);

    const ColourCase& c = GetParam();
    SymbolT row;
    row.Type = c.key;
    row.Text = c.text;
    row.PID = page;
    const Runs runs = Decode(Prototype(c.key)->MakeSyntax(row, type));
    EXPECT_EQ(runs, c.runs) << c.key << " \"" << c.text << "\": " << Show(runs);
}

INSTANTIATE_TEST_SUITE_P(Texts, NodeColours, ::testing::ValuesIn(kCases));

} // namespace
