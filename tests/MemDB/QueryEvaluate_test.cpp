// The expression interpreter: results of conditions on a stored row, and
// the faults it reports.
#include "QueryFixture.h"

#include "MemDB/dbError.h"
#include "MemDB/dbEvaluate.h"
#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

class QueryEvaluate : public ::testing::Test {
  protected:
    QueryEvaluate()
    {
        row.ID = 1;
        row.FID = 5;
        row.SN = 3;
        row.Big = std::numeric_limits<int64_t>::min();
        row.Weight = 1.5;
        row.Flag = false;
        row.Name = const_cast<char*>("abc");
        row.Items.Assign(items, 3);
        row.Box = dbRectangle{0, 0, 10, 10};
        row.Pos.x = 3;
        row.Pos.y = 4;
    }

    // Evaluates a condition on the row; a fault is returned as its message
    // and argument.
    std::string Evaluate(const std::string& text)
    {
        StoredRow stored(row);
        dbQueryText q;
        q.Append(dbFragText, text.c_str());
        dbQueryCompiler compiler(nullptr);
        try {
            if (!compiler.Compile(q, &QueryRowTable()))
                return "not compiled";
            dbEvalContext ctx(nullptr, stored.Data(), 1, nullptr);
            dbEvalValue v;
            dbEvaluate(q.tree.root, ctx, v);
            return v.ivalue != 0 ? "true" : "false";
        } catch (const dbException& e) {
            return std::string("error ") + std::to_string(e.GetErrCode()) + " " + e.GetMsg() + " "
                 + std::to_string(e.GetArg());
        }
    }

    const int32_t items[3] = {1, 2, 5};
    QueryRow row{};
};

struct Case {
    const char* text;
    const char* result;
};

const Case kCases[] = {
    {"7 / 2 = 3", "true"},
    {"-7 / 2 = -3", "true"},
    {"5 / 0 = 1", "error 2 Division by zero 0"},
    {"Big / -1 = 0", "error 2 Integer overflow 0"},
    {"Big * -1 = Big", "true"},
    {"10 - 3 - 2 = 5", "true"},
    {"2^10 = 1024", "true"},
    {"2^64 = 0", "true"},
    {"2^3^2 = 512", "true"},
    {"-2^2 = 4", "true"},
    {"3^-1 = 0", "true"},
    {"1^-5 = 1", "true"},
    {"(-1)^-3 = -1", "true"},
    {"0^-1 = 1", "error 2 Raise zero to negative power 0"},
    {"abs(2.0^0.5 * 2.0^0.5 - 2) < 1e-12", "true"},
    {"(-8.0)^(1.0/3.0) = 1", "error 2 Power operator returns complex result 0"},
    {"2.0^-2 = 0.25", "true"},
    {"1.0 / 0 = 1", "error 2 Division by zero 0"},
    {"FID = 5 and SN = 3", "true"},
    {"FID = 5 and SN = 4", "false"},
    {"FID = 4 or SN = 3", "true"},
    {"FID in (1, 5)", "true"},
    {"FID in (1, 2.5)", "false"},
    {"FID between 5 and 6", "true"},
    {"FID between 6 and 4", "false"},
    {"Flag = false", "true"},
    {"not Flag", "true"},
    {"Pos.y = 4", "true"},
    {"'abc' like 'a%'", "true"},
    {"'abc' like 'a_c'", "true"},
    {"'abc' like 'A%'", "false"},
    {"'abc' like '%c'", "true"},
    {"'abcbc' like 'a%bc'", "true"},
    {"'abc' like 'ab'", "false"},
    {"'a%c' like 'a\\%c' escape '\\'", "true"},
    {"'abc' like 'a\\%c' escape '\\'", "false"},
    {"Name like '%b%'", "true"},
    {"Name like 'abc'", "true"},
    {"'' in Name", "true"},
    {"'bc' in Name", "true"},
    {"'cb' in Name", "false"},
    {"'abcd' in Name", "false"},
    {"length('abc') = 3", "true"},
    {"'abc'[2] = 99", "true"},
    {"'abc'[3] = 1", "error 3 Index out of range 3"},
    {"Name[-1] = 1", "error 3 Index out of range -1"},
    {"upper(Name) = 'ABC' and lower('ABC') = Name", "true"},
    {"Name || 'def' = 'abcdef'", "true"},
    {"string(FID) = '5' and string(1.5) = '1.500000'", "true"},
    {"integer(-2.7) = -2 and real(3) = 3.0", "true"},
    {"Name between 'a' and 'b'", "true"},
    {"5 in Items and not 4 in Items", "true"},
    {"length(Items) = 3 and Items[2] = 5", "true"},
    {"Items[3] = 5", "error 3 Index out of range 3"},
    {"exists i: (Items[i] = 5)", "true"},
    {"exists i: (Items[i] = 7)", "false"},
    {"exists i: (FID = 5 or Items[i] = 7)", "true"},
    {"exists i: (FID = 4 and Items[i] = 7)", "false"},
    {"exists i: exists j: (Items[i] = 1 and Items[j] = 5)", "true"},
    {"Box overlaps (10, 10, 20, 20)", "true"},
    {"Box overlaps (11, 0, 20, 20)", "false"},
    {"(1, 1, 2, 2) in Box", "true"},
    {"Box in (1, 1, 2, 2)", "false"},
    {"Box > (1, 1, 2, 2) and not Box > (0, 0, 10, 10) and Box >= (0, 0, 10, 10)", "true"},
    {"Box + (5, 5, 20, 20) = (0, 0, 20, 20)", "true"},
    {"Box[2] = 10 and area(Box) = 100", "true"},
    {"Box[4] = 0", "error 3 Index out of range 4"},
    {"Weight = 1.5 and Weight > 1", "true"},
};

TEST_F(QueryEvaluate, ConditionsGiveTheirResults)
{
    for (const Case& c : kCases)
        EXPECT_EQ(c.result, Evaluate(c.text)) << c.text;
}

TEST_F(QueryEvaluate, NanComparesByIeeeRules)
{
    row.Weight = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ("false", Evaluate("Weight = 0.0"));
    EXPECT_EQ("true", Evaluate("Weight <> 0.0"));
    EXPECT_EQ("false", Evaluate("Weight < 1 or Weight >= 1"));
    EXPECT_EQ("false", Evaluate("Weight between 0 and 2"));
}

TEST_F(QueryEvaluate, ExistsOverAnEmptyArrayIsFalse)
{
    row.Items.Clear();
    EXPECT_EQ("false", Evaluate("exists i: (Items[i] = 5)"));
    EXPECT_EQ("false", Evaluate("exists i: (Items[i] = 5 or Items[i] <> 5)"));
}

TEST_F(QueryEvaluate, LongTextsSpillToTheHeapAndAreFreed)
{
    std::string chunk(4000, 'x');
    std::string text = "length(Name || '" + chunk + "' || '" + chunk + "' || '" + chunk + "') = 12003";
    EXPECT_EQ("true", Evaluate(text));
}

TEST_F(QueryEvaluate, SubstringSearchInLongTexts)
{
    std::string hay(1000, 'a');
    hay.replace(990, 6, "needle");
    EXPECT_EQ("true", Evaluate("'needle' in '" + hay + "'"));
    EXPECT_EQ("false", Evaluate("'needlf' in '" + hay + "'"));
    EXPECT_EQ("true", Evaluate("'aaaa' in '" + hay + "'"));
}

struct LikeCase {
    const char* subject;
    const char* pattern;
    bool match;
};

TEST(QueryLike, MatchesLikeAReferenceMatcher)
{
    const LikeCase cases[] = {
        {"", "", true}, {"", "%", true}, {"", "_", false}, {"a", "%%", true},
        {"abc", "%b%", true}, {"abc", "%%c", true}, {"abc", "a%b%c", true},
        {"aXbXc", "a%c", true}, {"ab", "a%c", false}, {"abcabd", "%abd", true},
        {"mississippi", "m%iss%pi", true}, {"mississippi", "m%issx%", false},
    };
    for (const LikeCase& c : cases)
        EXPECT_EQ(c.match, dbMatchLike(c.subject, c.pattern)) << c.subject << " like " << c.pattern;
    EXPECT_TRUE(dbMatchLikeEscape("50%", "50!%", '!'));
    EXPECT_FALSE(dbMatchLikeEscape("50x", "50!%", '!'));
    EXPECT_TRUE(dbMatchLikeEscape("a_b", "a!_%", '!'));
    EXPECT_FALSE(dbMatchLikeEscape("a!", "a!", '!'));
}

}  // namespace
