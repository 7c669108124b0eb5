// The query language: accepted texts with the tree they compile to, and
// rejected texts with their message and position.
#include "QueryFixture.h"

#include "MemDB/dbError.h"
#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Compiled {
    std::string tree;
    std::string order;
};

Compiled CompileText(const char* text)
{
    dbQueryText q;
    q.Append(dbFragText, text);
    dbQueryCompiler compiler(nullptr);
    try {
        EXPECT_TRUE(compiler.Compile(q, &QueryRowTable())) << text;
    } catch (const dbException& e) {
        ADD_FAILURE() << text << ": " << e.GetMsg() << " at " << e.GetArg();
    }
    return Compiled{RenderTree(q.tree.root), RenderOrder(q.tree.order)};
}

struct Accepted {
    const char* text;
    const char* tree;
    const char* order;
};

const Accepted kAccepted[] = {
    {"FID=5", "(int= FID 5)", ""},
    {"5=FID", "(int= FID 5)", ""},
    {"5 < FID", "(int> FID 5)", ""},
    {"5 >= FID", "(int<= FID 5)", ""},
    {"where FID=5", "(int= FID 5)", ""},
    {"", "empty", ""},
    {" order by ID", "empty", "ID"},
    {"FID=5 order by SN", "(int= FID 5)", "SN"},
    {"FID=0 order by SN desc, ID", "(int= FID 0)", "SN desc, ID"},
    {"order by (SN desc)", "empty", "SN desc"},
    {"order by (SN, ID desc)", "empty", "SN, ID desc"},
    {"order by length(Items)", "empty", "Items"},
    {"order by Weight * 2", "empty", "(real* Weight 2r)"},
    {"order by Parent.SN", "empty", "((deref Parent).SN)"},
    {"FID=1 or FID=2 or FID=3", "(or (int= FID 1) (or (int= FID 2) (int= FID 3)))", ""},
    {"FID=1 and SN=2 and PID=3", "(and (int= FID 1) (and (int= SN 2) (int= PID 3)))", ""},
    {"FID - SN - PID = 0", "(int= (int- (int- FID SN) PID) 0)", ""},
    {"FID = 2^3^2", "(int= FID (int^ 2 (int^ 3 2)))", ""},
    {"FID = -2^2", "(int= FID (int^ -2 2))", ""},
    {"FID = -SN", "(int= FID (int-neg SN))", ""},
    {"not FID = 1 and SN = 2", "(and (not (int= FID 1)) (int= SN 2))", ""},
    {"FID = not 1", "(int= FID -2)", ""},
    {"FID in (5)", "(int= FID 5)", ""},
    {"(5) = FID", "(int= FID 5)", ""},
    {"FID in (1, 2.5)", "(or (real= (int->real FID) 1r) (real= (int->real FID) 2.5r))", ""},
    {"FID = 1.5", "(real= (int->real FID) 1.5r)", ""},
    {"Weight = 1", "(real= Weight 1r)", ""},
    {"Ratio < 1e3", "(real< Ratio 1000r)", ""},
    {"FID = #ff", "(int= FID 255)", ""},
    {"FID = # ", "(int= FID 0)", ""},
    {"Big = 12345678901", "(int= Big 12345678901)", ""},
    {"Big = #8000000000000000", "(int= Big -9223372036854775808)", ""},
    {"MMC = 1 and Kind = 2", "(and (int= MMC 1) (int= Kind 2))", ""},
    {"Flag = true", "(bool= Flag true)", ""},
    {"Flag", "Flag", ""},
    {"Parent = 0", "(ref= Parent (int->ref 0))", ""},
    {"Parent is null", "(is-null Parent)", ""},
    {"Parent is not null", "(not (is-null Parent))", ""},
    {"current = first or current = last", "(or (ref= current first) (ref= current last))", ""},
    {"Parent.FID = 3", "(int= ((deref Parent).FID) 3)", ""},
    {"Pos.x = 3", "(int= Pos.x 3)", ""},
    {"Name like 'abc'", "(str= Name 'abc')", ""},
    {"Name like '%abc%'", "(in-str 'abc' Name)", ""},
    {"Name like 'abc%'", "(like Name 'abc%')", ""},
    {"Name like '%a_c%'", "(like Name '%a_c%')", ""},
    {"Name not like 'a%'", "(not (like Name 'a%'))", ""},
    {"Name like 'a\\%c' escape '\\'", "(like-escape Name 'a\\%c' '\\')", ""},
    {"'ab' in Name", "(in-str 'ab' Name)", ""},
    {"Type='Class' and 'it''s' in Name", "(and (str= Type 'Class') (in-str 'it's' Name))", ""},
    {"Name || 'x' = 'ax'", "(str= (concat Name 'x') 'ax')", ""},
    {"Name + 'x' = 'ax'", "(str= (concat Name 'x') 'ax')", ""},
    {"Symbol!='' order by ID", "(str<> Symbol '')", "ID"},
    {"upper(Name) = 'A' and lower Name = 'a'", "(and (str= (upper Name) 'A') (str= (lower Name) 'a'))", ""},
    {"length(Name) > 3", "(int> (str-len Name) 3)", ""},
    {"Name[0] = 65", "(int= (char Name 0) 65)", ""},
    {"abs(FID) = 1 and abs(Weight) = 1", "(and (int= (int-abs FID) 1) (real= (real-abs Weight) 1r))", ""},
    {"integer(Weight) = 1", "(int= (real->int Weight) 1)", ""},
    {"real(FID) = 1", "(real= (int->real FID) 1r)", ""},
    {"string(FID) = '1'", "(str= (int->str FID) '1')", ""},
    {"FID between 1 and 5", "(int-between FID 1 5)", ""},
    {"Weight between 1 and 5", "(real-between Weight 1r 5r)", ""},
    {"Name between 'a' and 'b'", "(str-between Name 'a' 'b')", ""},
    {"FID not between 1 and 5", "(not (int-between FID 1 5))", ""},
    {"5 in Items", "(in-array 5 Items)", ""},
    {"FID not in (1, 2)", "(not (or (int= FID 1) (int= FID 2)))", ""},
    {"exists i: (Items[i] = 5)", "(exists (int= ((elem Items $0).Items[]) 5))", ""},
    {"exists i: (FID = 5)", "(int= FID 5)", ""},
    {"Box overlaps (0, 0, 10, 10)", "(overlaps Box [0,0,10,10])", ""},
    {"(1, 2, 3, 4) in Box", "(rect>= Box [1,2,3,4])", ""},
    {"Box = (1, 2, 3, 4)", "(rect= Box [1,2,3,4])", ""},
    {"area(Box) > 1", "(real> (area Box) 1r)", ""},
    {"Box[2] = 1", "(real= (coord Box 2) 1r)", ""},
    {"FID = 1 -- the owner\n and SN = 2", "(and (int= FID 1) (int= SN 2))", ""},
    {"FID=1\tand\r\nSN=2", "(and (int= FID 1) (int= SN 2))", ""},
    {"FID = 1 limit 10", "(int= FID 1)", ""},
};

TEST(QueryCompiler, AcceptedTextsCompileToTheirTrees)
{
    for (const Accepted& c : kAccepted) {
        Compiled got = CompileText(c.text);
        EXPECT_EQ(c.tree, got.tree) << c.text;
        EXPECT_EQ(c.order, got.order) << c.text;
    }
}

struct Rejected {
    const char* text;
    const char* message;
    int position;
};

const Rejected kRejected[] = {
    {"fid=5", "Field not found", 0},
    {"FID=5 and fid=3", "Field not found", 9},
    {"FID=5 AND SN=1", "START, ORDER BY or LIMIT expected", 8},
    {"!x", "Invalid token '!'", 0},
    {"FID |x", "Invalid token '|'", 4},
    {"FID = @", "Invalid symbol", 6},
    {"Name = '\xc3\xa9' and \xc3\xa9", "Invalid symbol", 16},
    {"Name = 'abc", "Unterminated character constant", 10},
    {"FID = 99999999999999999999", "Bad integer constant", 25},
    {"FID = #10000000000000000", "Bad integer constant", 23},
    {"Weight = 1e999", "Bad floating point constant", 13},
    {"FID = +1", "Using of unary plus operator has no sence", 6},
    {"FID = )", "operand expected", 6},
    {"select", "operand expected", 5},
    {"(FID = 1", "')' expected", 7},
    {"Items[1", "']' expected", 6},
    {"Items[Name] = 0", "Index should have integer type", 10},
    {"Pos = 1", "'.' expected", 4},
    {"Parent. = 1", "identifier expected", 7},
    {"FID. = 1", "Left operand of '.' should be structure or reference", 4},
    {"Parent.nothing = 1", "Field not found", 13},
    {"Name not = 'x'", "LIKE, MATCH, BETWEEN or IN expected", 8},
    {"Parent is 1", "[NOT] NULL expected", 9},
    {"Parent is not 1", "NULL expected", 13},
    {"Name is null", "IS [NOT] NULL predicate can be applied only to references", 0},
    {"FID between 1 or 2", "AND expected", 15},
    {"Name like 'a' escape 1", "String literal espected after ESCAPE", 20},
    {"exists 1", "Free variable name expected", 7},
    {"exists i (FID = 1)", "':' expected", 8},
    {"exists a: exists b: exists c: exists d: exists e: (FID = 1)",
     "Too many nested EXISTS clauses\n", 45},
    {"exists i: Items[i]", "Expresion in EXISTS clause should be of boolean type", 17},
    {"start first", "FROM expected after START", 5},
    {"start from 1", "FIRST, LAST or reference varaible expected", 10},
    {"start from first follow SN", "BY expected after FOLLOW", 23},
    {"start from first follow by 1", "Field name expected", 26},
    {"start from first follow by Nothing", "Field not found", 33},
    {"start from first follow by SN", "Follow field should be of compatibale reference or array of reference type", 28},
    {"FID=1 follow by Parent", "START, ORDER BY or LIMIT expected", 11},
    {"FID=1 order SN", "BY expected after ORDER", 11},
    {"order by SN)", "Unbalanced parentheses ", 11},
    {"order by (SN + 1) * 2", "START, ORDER BY or LIMIT expected", 18},
    {"order by Box", "Expressions in ORDER BY part should have scalar type", 8},
    {"limit x", "Parameter or integer constant expected", 5},
    {"limit 1 2", "START, ORDER BY or LIMIT expected", 8},
    {"FID + 1", "Conditional expression should have boolean type\n", 6},
    {"Flag < true", "Boolean variables can be checked only for equality", 0},
    {"Parent > 1", "References can be checked only for equality", 0},
    {"FID = 'x'", "operands of relation operator should be of intger, real or string type", 5},
    {"Box + 1 = Box", "Rectangle can be added only with rectangle", 5},
    {"Box - Box = Box", "Operation - is not defined for rectangles", 5},
    {"Name - 'a' = 'b'", "Operation - is not defined for strings", 6},
    {"Name * 2 = 1", "operands of arithmentic operator should be of integer or real type", 6},
    {"Name * 2.0 = 1", "operands of arithmetic operators should be of integer or real type", 0},
    {"2.0 * Name = 1", "operands of arithmetic operator should be of integer or real type", 5},
    {"FID and Flag", "Bad operands for AND operator", 7},
    {"Flag or FID", "Bad operands for OR operator", 7},
    {"-Name = 'a'", "Unary minus can be applied only to integer or real expressions", 1},
    {"not Name", "NOT operator can be applied only to integer or boolean expressions", 3},
    {"FID in Name", "Left operand of IN expression hasn't string type", 10},
    {"FID in 5", "List of expressions or array expected", 6},
    {"FID in (1, 'a')", "Expression 2 in right part of IN operator have incompatible type", 14},
    {"Name in Items", "Type of selective expression of IN operator doesn't match type of the array", 12},
    {"FID in Box", "Left operand of IN expression hasn't rectangle type", 9},
    {"Box = (1, 2, 3)", "Bad rectangle constant", 14},
    {"length(FID) = 1", "LENGTH function is defined only for arrays and strings", 6},
    {"upper(FID) = 1", "UPPER function can be applied only to string argument", 5},
    {"area(FID) = 1", "AREA function can be applied only to rectangles", 4},
    {"integer(FID) = 1", "INTEGER function can be applied only to expression of real type", 7},
    {"Box overlaps 1", "operands of OVERLAPS operator should be of rectangle type", 0},
    {"Name like 1", "operands of LIKE operator should be of string type", 0},
    {"Name between 1 and 2", "operands of BETWEEN operator should be of integer, real or string type", 0},
    {"Weight between 'a' and 2", "operand of BETWEEN operator should be of integer, real or string type", 14},
    {"FID[1] = 0", "Index can be applied only to arrays", 5},
    {"FID = 1\n and fid = 2", "Field not found", 4},
    {"where FID = 1 and fid = 2", "Field not found", 17},
};

TEST(QueryCompiler, RejectedTextsReportMessageAndPosition)
{
    for (const Rejected& c : kRejected) {
        dbQueryText q;
        q.Append(dbFragText, c.text);
        dbQueryCompiler compiler(nullptr);
        try {
            compiler.Compile(q, &QueryRowTable());
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const dbException& e) {
            EXPECT_EQ(dbQuerySyntaxError, e.GetErrCode()) << c.text;
            EXPECT_STREQ(c.message, e.GetMsg()) << c.text;
            EXPECT_EQ(c.position, e.GetArg()) << c.text;
        }
        EXPECT_EQ(nullptr, q.tree.root) << c.text;
        EXPECT_EQ(nullptr, q.tree.order) << c.text;
    }
}

TEST(QueryCompiler, BoundVariablesCompileToVariableNodes)
{
    int32_t fid = 7;
    const char* type = "Class";
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &fid).Append(dbFragText, " and Type=");
    q.AppendString(type);
    q.Append(dbFragText, " order by SN");
    dbQueryCompiler compiler(nullptr);
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_EQ("(and (int= FID var4) (str= Type var8))", RenderTree(q.tree.root));
    EXPECT_EQ(&fid, q.tree.root->op[0]->op[1]->var);
    EXPECT_EQ("SN", RenderOrder(q.tree.order));
}

TEST(QueryCompiler, LimitTakesConstantsAndInt4Variables)
{
    int32_t skip = 2;
    dbQueryText q;
    q.Append(dbFragText, "limit ").Append(dbFragInt4, &skip).Append(dbFragText, ", 10");
    dbQueryCompiler compiler(nullptr);
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_TRUE(q.tree.limit);
    EXPECT_EQ(&skip, q.tree.limitStartVar);
    EXPECT_EQ(10, q.tree.limitCount);
    EXPECT_EQ(nullptr, q.tree.limitCountVar);

    int64_t wide = 1;
    q.Reset().Append(dbFragText, "limit ").Append(dbFragInt8, &wide);
    try {
        compiler.Compile(q, &QueryRowTable());
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_STREQ("LIMIT parameter should have int4 type", e.GetMsg());
    }
}

TEST(QueryCompiler, StartFromTakesReferenceVariablesOfItsTable)
{
    dbReference start{0};
    dbQueryText q;
    q.Append(dbFragText, "start from ").Append(dbFragReference, &start, &QueryRowTable());
    q.Append(dbFragText, " follow by Parent order by SN");
    dbQueryCompiler compiler(nullptr);
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_EQ(dbStartRef, q.tree.startFrom);
    EXPECT_EQ(&start, q.tree.startFromVar);
    ASSERT_NE(nullptr, q.tree.follow);
    EXPECT_STREQ("Parent", q.tree.follow->field->name);

    int32_t id = 0;
    q.Reset().Append(dbFragText, "start from ").Append(dbFragInt4, &id);
    try {
        compiler.Compile(q, &QueryRowTable());
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_STREQ("Reference or array of reference variable expected", e.GetMsg());
    }
}

TEST(QueryCompiler, TokensNeverSpanFragments)
{
    dbQueryText q;
    q.Append(dbFragText, "FID").Append(dbFragText, "=").Append(dbFragText, "5");
    dbQueryCompiler compiler(nullptr);
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_EQ("(int= FID 5)", RenderTree(q.tree.root));

    q.Reset().Append(dbFragText, "Name = 'ab").Append(dbFragText, "c'");
    try {
        compiler.Compile(q, &QueryRowTable());
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_STREQ("Unterminated character constant", e.GetMsg());
    }
}

TEST(QueryCompiler, LongChainsCompileAndDeepNestingIsRefused)
{
    std::string chain = "FID=0";
    for (int i = 1; i < 20000; i++)
        chain += " or FID=" + std::to_string(i);
    dbQueryText q;
    q.Append(dbFragText, chain.c_str());
    dbQueryCompiler compiler(nullptr);
    EXPECT_TRUE(compiler.Compile(q, &QueryRowTable()));

    const std::string deep[] = {
        std::string(100000, '(') + "FID=1",
        [] { std::string s; for (int i = 0; i < 50000; i++) s += "- "; return s; }() + "1 = FID",
        "FID = 1" + std::string(100000, '^'),
        "FID = 0" + [] { std::string s; for (int i = 0; i < 5000; i++) s += "+1"; return s; }(),
        "Parent" + [] { std::string s; for (int i = 0; i < 5000; i++) s += ".Parent"; return s; }() + " = 0",
    };
    for (const std::string& text : deep) {
        q.Reset().Append(dbFragText, text.c_str());
        try {
            compiler.Compile(q, &QueryRowTable());
            ADD_FAILURE() << text.substr(0, 40);
        } catch (const dbException& e) {
            EXPECT_EQ(dbQuerySyntaxError, e.GetErrCode());
        }
        EXPECT_EQ(nullptr, q.tree.root);
    }
}

TEST(QueryCompiler, FailedCompileLeavesTheQueryReusable)
{
    dbQueryText q;
    dbQueryCompiler compiler(nullptr);
    q.Append(dbFragText, "FID = 1");
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    q.Reset();
    size_t freeBefore = dbNodePoolFreeCount();
    q.Append(dbFragText, "FID = 1 and SN in (1, 2, 3, 'x') order by SN, Weight * 2");
    EXPECT_THROW(compiler.Compile(q, &QueryRowTable()), dbException);
    EXPECT_EQ(nullptr, q.tree.root);
    EXPECT_EQ(freeBefore, dbNodePoolFreeCount()) << "every node of the failed compile is back";

    q.Reset().Append(dbFragText, "FID = 1");
    EXPECT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_EQ("(int= FID 1)", RenderTree(q.tree.root));
}

}  // namespace
