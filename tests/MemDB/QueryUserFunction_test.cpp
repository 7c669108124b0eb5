// Functions registered by the application and called from queries: their
// compilation in prefix and infix form, the values they receive and give,
// and the messages of their misuse.
#include "QueryFixture.h"

#include "MemDB/dbCustomFunction.h"
#include "MemDB/dbError.h"
#include "MemDB/dbEvaluate.h"
#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;  // what the functions saw, in call order

bool IsOdd(int64_t x)
{
    calls.push_back("IsOdd " + std::to_string(x));
    return x % 2 != 0;
}

double Half(double x)
{
    calls.push_back("Half " + std::to_string(x));
    return x / 2;
}

char* Shout(const char* s)
{
    std::string loud = std::string(s) + "!";
    return strdup(loud.c_str());
}

char* Nothing(const char*)
{
    return nullptr;
}

std::string Describe(const dbCustomArgument* a)
{
    switch (a->kind) {
      case dbCustomArgument::Integer: return "int " + std::to_string(a->i);
      case dbCustomArgument::Boolean: return std::string("bool ") + (a->b ? "true" : "false");
      case dbCustomArgument::String: return std::string("string ") + a->s;
      case dbCustomArgument::Real: return "real " + std::to_string(a->r);
      case dbCustomArgument::Reference: return "ref " + std::to_string(a->oid);
      default: return "raw";
    }
}

int64_t Minus(const dbCustomArgument* a, const dbCustomArgument* b)
{
    calls.push_back("Minus " + Describe(a) + ", " + Describe(b));
    return a->i - b->i;
}

bool Between3(const dbCustomArgument* v, const dbCustomArgument* lo, const dbCustomArgument* hi)
{
    calls.push_back("Between3 " + Describe(v) + ", " + Describe(lo) + ", " + Describe(hi));
    return lo->i <= v->i && v->i <= hi->i;
}

int64_t Id(const dbCustomArgument* a)
{
    calls.push_back("Id " + Describe(a));
    return a->kind == dbCustomArgument::Integer ? a->i : 0;
}

template <class F>
dbCustomFunction::Function AsAny(F* f)
{
    return reinterpret_cast<dbCustomFunction::Function>(f);
}

class QueryUserFunction : public ::testing::Test {
  protected:
    QueryUserFunction()
        : isOdd("isOdd", AsAny(IsOdd), 0), half("half", AsAny(Half), 7), shout("shout", AsAny(Shout), 11),
          nothing("nothing", AsAny(Nothing), 11), minus("minus", AsAny(Minus), 17),
          between3("between3", AsAny(Between3), 20), id("id", AsAny(Id), 13)
    {
        row.ID = 7;
        row.FID = 5;
        row.Weight = 1.5;
        row.Name = const_cast<char*>("abc");
        calls.clear();
    }

    // Evaluates a condition on the row; a compile error is returned as its
    // message and position.
    std::string Evaluate(const std::string& text)
    {
        StoredRow stored(row);
        dbQueryText q;
        q.Append(dbFragText, text.c_str());
        dbQueryCompiler compiler(nullptr);
        try {
            compiler.Compile(q, &QueryRowTable());
            dbEvalContext ctx(nullptr, stored.Data(), 1, nullptr);
            dbEvalValue v;
            dbEvaluate(q.tree.root, ctx, v);
            return v.ivalue != 0 ? "true" : "false";
        } catch (const dbException& e) {
            return std::string(e.GetMsg()) + " @" + std::to_string(e.GetArg());
        }
    }

    QueryRow row{};
    dbCustomFunction isOdd, half, shout, nothing, minus, between3, id;
};

TEST_F(QueryUserFunction, CallsGiveTheirResults)
{
    struct Case {
        const char* text;
        const char* result;
        std::vector<std::string> calls;
    } cases[] = {
        {"isOdd ID", "true", {"IsOdd 7"}},
        {"isOdd(FID + 1)", "false", {"IsOdd 6"}},
        {"half 3 = 1.5", "true", {"Half 3.000000"}},
        {"half(Weight) = 0.75", "true", {"Half 1.500000"}},
        {"shout Name = 'abc!'", "true", {}},
        {"shout(Name) = Name", "false", {}},
        {"nothing(Name) = ''", "true", {}},
        {"ID minus FID = 2", "true", {"Minus int 7, int 5"}},
        {"minus(ID, FID) = 2", "true", {"Minus int 7, int 5"}},
        {"ID minus FID minus 1 = 1", "true", {"Minus int 7, int 5", "Minus int 2, int 1"}},
        {"between3(ID, 1, 9)", "true", {"Between3 int 7, int 1, int 9"}},
        {"id(Name) = 0 and id(Weight) = 0 and id(FID = 5) = 0 and id(Parent) = 0", "true",
         {"Id string abc", "Id real 1.500000", "Id bool true", "Id ref 0"}},
        {"(isOdd FID) minus (isOdd ID) = 0", "true",
         {"IsOdd 7", "IsOdd 5", "Minus bool true, bool true"}},
    };
    for (const Case& c : cases) {
        calls.clear();
        EXPECT_EQ(c.result, Evaluate(c.text)) << c.text;
        if (!c.calls.empty()) {
            EXPECT_EQ(c.calls, calls) << c.text;
        }
    }
}

TEST_F(QueryUserFunction, TheRightOperandIsEvaluatedFirst)
{
    EXPECT_EQ("false", Evaluate("id(isOdd ID) minus id(isOdd FID) = 1"));
    std::vector<std::string> order = {"IsOdd 5", "Id bool true", "IsOdd 7", "Id bool true",
                                      "Minus int 0, int 0"};
    EXPECT_EQ(order, calls);
}

TEST_F(QueryUserFunction, MisusesReportTheirMessages)
{
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"unknown(1) = 1", "Field not found @0"},
        {"isOdd Name", "Incompatible function argument @5"},
        {"isOdd 1.5", "Incompatible function argument @5"},
        {"id(Items) = 1", "User function should receive parameter of boolean, integer, real, "
                          "string, reference or user defined type @2"},
        {"between3(1, 2)", "Too few parameters for user defined function @13"},
        {"between3 1", "Too few paramters for user defined function @9"},
        {"between3(1, 2, 3, 4)", "Too many parameters for user defined function @19"},
        {"between3(1, Items, 3)", "User function should receive parameters of boolean, integer, "
                                  "real, string, reference or user defined type @11"},
        {"ID isOdd FID", "Only function with two arguments can be used as operator @8"},
        {"ID minus Items = 1", "User function should receive parameter of boolean, integer, "
                               "real, string, reference or user defined type @8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error, Evaluate(c.text)) << c.text;
}

TEST(QueryUserFunctionRegistry, NamesAreCopiedAndRegistrationsEnd)
{
    char name[] = "later";
    {
        dbCustomFunction f(name, AsAny(IsOdd), 0);
        std::strcpy(name, "xxxxx");
        ASSERT_NE(dbCustomFunction::Find("later"), nullptr);
        EXPECT_EQ(dbCustomFunction::Find("later")->function, AsAny(IsOdd));
        EXPECT_EQ(dbCustomFunction::Find("xxxxx"), nullptr);
        dbCustomFunction newer("later", AsAny(Half), 7);
        EXPECT_EQ(dbCustomFunction::Find("later"), &newer) << "the newest registration wins";
    }
    EXPECT_EQ(dbCustomFunction::Find("later"), nullptr);
}

}  // namespace
