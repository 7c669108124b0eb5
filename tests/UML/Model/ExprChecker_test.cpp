#include "UML/Model/ExprChecker.h"

#include "Controls/ColorEdit.h"
#include "Controls/EditLineBuffer.h"
#include "TypeModel.h"
#include "Pub/SyntaxRunCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<int, int>> Runs;

const int kGrey = 0x969696, kClassifier = 0x5000, kTyped = 0x8000, kCall = 0xC02040, kOp = 0xC87689,
          kNumber = 0xFF, kQuoted = 0xFF0000;

Runs RunsOf(const SyntaxRunCodec& codec)
{
    SyntaxRunCodec reader;
    reader.Attach(codec.GetText());
    Runs runs;
    int offset, colour;
    while (reader.NextRun(offset, colour))
        runs.emplace_back(offset, colour);
    return runs;
}

// A machine with attributes, overloaded operations, a signal, a point class
// with an operator, and a template list, beside the type model.
class Checker : public TypeModel {
protected:
    void SetUp() override
    {
        TypeModel::SetUp();
        const std::string integer = Guid(Id("Integer"));
        point = Add(geo, "Class", "Point");
        Add(point, "Attribute", "x", integer, VISIBILITY_PUBLIC);
        plus = Add(point, "Operation", "+", Guid(point), VISIBILITY_PUBLIC);
        Add(plus, "Parameter", "other", Guid(point));
        const int list = Add(geo, "Class", "List");
        Add(list, "Parameter", "T", "type");
        machine = Add(geo, "Class", "Machine");
        Add(machine, "Attribute", "count", integer);
        Add(machine, "Attribute", "pos", Guid(point));
        Add(machine, "Attribute", "gr\xC3\xB6\xC3\x9F" "e", integer);
        Add(machine, "Operation", "reset");
        move1 = Add(machine, "Operation", "move", Guid(point));
        Add(move1, "Parameter", "dx", integer);
        move2 = Add(machine, "Operation", "move", Guid(point));
        Add(move2, "Parameter", "dx", integer);
        Add(move2, "Parameter", "dy", integer);
        const int ping = Add(machine, "Signal", "ping");
        Add(ping, "Parameter", "n", integer);
        theExprChecker.Reset(true);
        theExprChecker.SetContext(true, machine, 0);
    }
    Runs Check(const char* text)
    {
        theExprChecker.SetContext(true, machine, 0);
        SyntaxRunCodec codec;
        theExprChecker.CheckExpression(text, codec);
        return RunsOf(codec);
    }
    Runs Call(const char* text, const char* metaclass)
    {
        theExprChecker.SetContext(false, machine, 0);
        SyntaxRunCodec codec;
        theExprChecker.CheckCallOf(text, codec, metaclass);
        return RunsOf(codec);
    }
    int point = 0, plus = 0, machine = 0, move1 = 0, move2 = 0;
};

TEST_F(Checker, ActionTexts)
{
    struct Case {
        const char* text;
        Runs runs;
    } const cases[] = {
        {"   ", {{3, kGrey}}},
        {"count += 1;", {{0, kTyped}, {6, kOp}, {9, kNumber}, {10, kOp}, {11, kGrey}}},
        {"Fals", {{0, kGrey}}},
        {"False", {{0, 0}, {5, kGrey}}},
        {"3.14", {{0, kNumber}, {4, kGrey}}},
        {"3.", {{0, kGrey}}},
        {"1.2.3", {{0, kGrey}}},
        {"12ab", {{0, kGrey}}},
        {"'a'", {{0, kQuoted}, {3, kGrey}}},
        {"'\\n'", {{0, kQuoted}, {4, kGrey}}},
        {"'ab'", {{0, kGrey}}},
        {"\"text", {{0, kGrey}}},
        {"\"a b\" ", {{0, kQuoted}, {6, kGrey}}},
        {"unknown = 1", {{0, kGrey}}},
        {"count : 1", {{0, kTyped}, {6, kGrey}}},
        {"pos.x = 2;", {{0, kTyped}, {3, 0}, {4, kTyped}, {6, kOp}, {8, kNumber}, {9, kOp}, {10, kGrey}}},
        {"Red", {{0, kNumber}, {3, kGrey}}},
        {"gr\xC3\xB6\xC3\x9F" "e = 1", {{0, kTyped}, {8, kOp}, {10, kNumber}, {11, kGrey}}},
        {"count +- 1", {{0, kTyped}, {6, kOp}, {7, kOp}, {9, kNumber}, {10, kGrey}}},
        {"count <> 1", {{0, kTyped}, {6, kOp}, {7, kOp}, {9, kNumber}, {10, kGrey}}},
        {"count @ 1", {{0, kTyped}, {6, kGrey}}},
        {"(count) * 2", {{0, kOp}, {1, kTyped}, {6, kOp}, {8, kOp}, {10, kNumber}, {11, kGrey}}},
        {"move(1)", {{0, kCall}, {4, kOp}, {5, kNumber}, {6, kOp}, {7, kGrey}}},
        {"move(count, 2).x", {{0, kCall}, {4, kOp}, {5, kTyped}, {10, kOp}, {12, kNumber}, {13, kOp}, {14, 0},
                              {15, kTyped}, {16, kGrey}}},
        {"Integer a, b; a = b;",
         {{0, kClassifier}, {8, kTyped}, {9, kOp}, {11, kTyped}, {12, kOp}, {14, kTyped}, {16, kOp}, {18, kTyped},
          {19, kOp}, {20, kGrey}}},
        {"List<Integer> l;", {{0, kClassifier}, {4, 0}, {5, kClassifier}, {12, kOp}, {14, kTyped}, {15, kOp}, {16, kGrey}}},
        {"List<Integer, Float> l;",
         {{0, kClassifier}, {4, 0}, {5, kClassifier}, {12, kOp}, {14, kClassifier}, {19, kOp}, {21, kGrey}}},
        {"Integer[3] v;", {{0, kClassifier}, {7, kOp}, {8, kNumber}, {9, kOp}, {11, kTyped}, {12, kOp}, {13, kGrey}}},
        {"Integer[pos] v;", {{0, kClassifier}, {7, kOp}, {8, kTyped}, {11, kOp}, {13, kGrey}}},
        {"Point::x", {{0, kClassifier}, {5, 0}, {7, kTyped}, {8, kGrey}}},
        {"pos + pos", {{0, kTyped}, {4, kOp}, {6, kTyped}, {9, kGrey}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check(c.text), c.runs) << c.text;
}

TEST_F(Checker, CallsBindToTheOverloadThatFits)
{
    struct Case {
        const char* text;
        int bound;
    } const cases[] = {
        {"move(1)", move1},
        {"move(1, 2)", move2},
        {"move(count, count)", move2},
        {"pos + pos", plus},
    };
    for (const Case& c : cases) {
        Check(c.text);
        int value = 0;
        for (const ExprToken& t : theExprChecker.Tokens())
            if (t.kind == ExprChecker::Behaviour || (t.kind == ExprChecker::Operator && t.value)) {
                value = t.value;
                break;
            }
        EXPECT_EQ(value, c.bound) << c.text;
    }
    // Refused calls keep their kinds; the operand type of a refused operator
    // does not fit either.
    Check("move(pos)");
    EXPECT_EQ(theExprChecker.Tokens()[0].kind, ExprChecker::Behaviour);
}

TEST_F(Checker, CallTexts)
{
    struct Case {
        const char* text;
        const char* metaclass;
        Runs runs;
    } const cases[] = {
        {"ping(1)", "Signal", {{0, kCall}, {4, kOp}, {5, kNumber}, {6, kOp}, {7, kGrey}}},
        {"ping(1)", "Operation", {{0, kGrey}, {4, kGrey}}},
        {"pos.x", "Operation", {{0, kTyped}, {3, 0}, {4, kTyped}, {5, kGrey}}},
        {"move(1, 2)", "Operation", {{0, kCall}, {4, kOp}, {5, kNumber}, {6, kOp}, {8, kNumber}, {9, kOp}, {10, kGrey}}},
        {"Point::x ;", "Operation", {{0, kClassifier}, {5, 0}, {7, kTyped}, {9, kGrey}}},
        {"", "Operation", {{0, kGrey}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(c.text, c.metaclass), c.runs) << c.text << " " << c.metaclass;
}

TEST_F(Checker, DeepNestingEndsTheStatement)
{
    for (const char* open : {"(", "[", "move("}) {
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += open;
        const Runs runs = Check(text.c_str());
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.back().second, kGrey) << open;
        EXPECT_LT(runs.back().first, static_cast<int>(text.size())) << open;
    }
}

TEST_F(Checker, BuiltinTypesFollowTheProject)
{
    Check("1");
    EXPECT_EQ(theExprChecker.Tokens()[0].reference, Guid(Id("Integer")));
    // Without a Predefined root a forced reset forgets them.
    SetModelRoots(project, library, -1);
    theExprChecker.Reset(true);
    Check("1");
    EXPECT_EQ(theExprChecker.Tokens()[0].reference, "");
    // A project of other numbers: the new Integer.
    firstId = 2000;
    SetUp();
    Check("1");
    EXPECT_EQ(theExprChecker.Tokens()[0].reference, Guid(Id("Integer")));
}

// An action symbol as the symbol classes will have it: its text checked as
// statements in the scope the editor passes.
class ActionSymbol : public CSymbol {
public:
    ActionSymbol() : CSymbol(MMC_NONE, MSC_TEXT) {}
    const char* MakeSyntax(const SymbolT& row, int scopeId) override
    {
        theExprChecker.SetContext(true, scopeId, 0);
        theExprChecker.CheckExpression(row.Text, theSyntaxWriter);
        return theSyntaxWriter.GetText();
    }
};

TEST_F(Checker, TypingInTheColourEditorGivesTheCheckersRuns)
{
    static ActionSymbol prototype;
    RegisterMetaclass("TestAction", &prototype);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "view", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    CColorEdit editor;
    LOGFONT font{};
    font.lfHeight = 16;
    std::strcpy(font.lfFaceName, "Arial");
    ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, &owner, CRect(0, 0, 0, 0), 1026, 8, font, 0));
    SymbolT row;
    row.Type = "TestAction";
    editor.GetBuffer().SetSyntaxContext(row);
    ASSERT_TRUE(editor.GetBuffer().HasSyntaxContext());

    for (const char* text : {"count += 1;", "Integer a, b; a = b;", "move(1, 2)", "pos.x = 2;", "unknown = 1"}) {
        editor.BeginEdit("", CRect(10, 10, 300, 40), nullptr, POINT{0, 0}, machine);
        std::string typed;
        for (const char* c = text; *c; ++c) {
            ::SendMessage(editor.GetHwnd(), WM_CHAR, static_cast<unsigned char>(*c), 0);
            typed += *c;
            SyntaxRunCodec expected;
            theExprChecker.SetContext(true, machine, 0);
            theExprChecker.CheckExpression(typed.c_str(), expected);
            ASSERT_STREQ(editor.GetBuffer().GetRunText(), expected.GetText()) << typed;
        }
        CString committed;
        ASSERT_TRUE(editor.EndEdit(committed));
        EXPECT_STREQ(committed, text);
        SyntaxRunCodec runs;
        runs.Attach(editor.GetBuffer().GetRunText());
        EXPECT_EQ(RunsOf(runs), Check(text)) << text;
    }
}

} // namespace
