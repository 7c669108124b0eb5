// Query text objects: fragments, their pool, and the two dumps.
#include "QueryFixture.h"

#include "MemDB/dbQueryCompiler.h"
#include "MemDB/dbQueryText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Dump(const dbQueryText& q)
{
    char buf[256];
    q.Dump(buf, sizeof buf);
    return buf;
}

std::string Values(const dbQueryText& q)
{
    char buf[256];
    q.DumpValues(buf, sizeof buf);
    return buf;
}

std::string Kinds(const dbQueryText& q)
{
    std::string s;
    for (const dbQueryFragment* f = q.Fragments(); f != nullptr; f = f->next)
        s += std::to_string(f->kind) + " ";
    return s;
}

TEST(QueryText, AppendStringAlternatesTextAndValues)
{
    dbQueryText q;
    q.AppendString("Parent=");
    q.AppendString("abc");
    q.AppendString(" and Model=");
    q.AppendString("def");
    EXPECT_EQ("0 8 0 8 ", Kinds(q));

    q.Reset();
    q.Append(dbFragText, "Name=");
    q.AppendString("x");
    q.AppendString(" order by ID");
    EXPECT_EQ("0 8 0 ", Kinds(q));
}

TEST(QueryText, ResetEmptiesTheChainAndReusesItsFragments)
{
    dbQueryText q;
    q.Reset();
    EXPECT_EQ(nullptr, q.Fragments());
    q.Append(dbFragText, "FID=1");
    const dbQueryFragment* first = q.Fragments();
    q.Reset();
    EXPECT_EQ(nullptr, q.Fragments());
    EXPECT_FALSE(q.ExpectingValue());
    q.Append(dbFragText, "FID=2");
    EXPECT_EQ(first, q.Fragments()) << "the fragment went back to the pool and was taken again";
}

TEST(QueryText, DumpsShowDescriptorsOrValues)
{
    int32_t fid = 42;
    int64_t big = -7;
    double weight = 1.5;
    bool flag = true;
    dbReference parent{0x2002};
    const char* name = "it";
    int32_t box[4] = {1, 2, 3, 4};
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &fid);
    q.Append(dbFragInt8, &big).Append(dbFragReal8, &weight).Append(dbFragBoolean, &flag);
    q.Append(dbFragString, name).Append(dbFragStringPtr, &name);
    q.Append(dbFragReference, &parent, &QueryRowTable()).Append(dbFragReference, &parent);
    q.Append(dbFragRectangle, box);
    EXPECT_EQ(" FID= {int4}{int8}{real8}{boolean}{char*}{char**}{dbReference<QueryRow>}"
              "{dbAnyReference}{rectangle}",
              Dump(q));
    EXPECT_EQ(" FID= 42-71.500000true'it''it'@QueryRow:2002@2002"
              "(1.000000,2.000000,3.000000,4.000000)",
              Values(q));

    char small[8];
    size_t needed = q.Dump(small, sizeof small);
    EXPECT_STREQ(" FID= {", small);
    EXPECT_EQ(Dump(q).size(), needed);
}

TEST(QueryText, ExpressionBuildersAppendParenthesisedOperands)
{
    dbQueryExpression field("Pos", "x");
    dbQueryExpression wrapped(field);
    dbQueryText q;
    q.Append(wrapped).Append(dbFragText, " = 3");
    EXPECT_EQ(" (  (  Pos  .  x  )  )   = 3 ", Dump(q));
    dbQueryCompiler compiler(nullptr);
    ASSERT_TRUE(compiler.Compile(q, &QueryRowTable()));
    EXPECT_EQ("(int= Pos.x 3)", RenderTree(q.tree.root));
}

}  // namespace
