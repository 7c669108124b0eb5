// Select execution on an open engine: the model's condition shapes, the plan
// each condition gets, START and LIMIT, FOLLOW BY, and a differential test of
// random conditions against a brute-force evaluation of the same rows.
#include "QueryFixture.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbError.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbSelect.h"
#include "MemDB/dbTableInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A row as the oracle sees it.
struct Plain {
    int32_t ID = 0, FID = 0, SN = 0, PID = 0;
    int8_t MMC = 0;
    int16_t Kind = 0;
    int64_t Big = 0;
    double Weight = 0;
    bool Flag = false;
    std::string Name, GUID, Type, Symbol;
    uint32_t Parent = 0;
};

class QuerySelect : public ::testing::Test {
  protected:
    QuerySelect() : db(dbEngine::dbAllAccess, 16 << 20, 4 << 20, 8194, 1)
    {
        static int counter = 0;
        table.reset(new dbTableInfo("QueryRow", &db, sizeof(QueryRow), DescribeQueryRow));
        other.reset(new dbTableInfo("OtherRow", &db, sizeof(QueryRow), DescribeQueryRow));
        std::string name = "query-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        EXPECT_TRUE(db.Open(name.c_str()));
    }

    ~QuerySelect() override
    {
        db.Close();
    }

    uint32_t Insert(const Plain& p, dbTableInfo* into = nullptr)
    {
        QueryRow r{};
        r.ID = p.ID;
        r.FID = p.FID;
        r.SN = p.SN;
        r.PID = p.PID;
        r.MMC = p.MMC;
        r.Kind = p.Kind;
        r.Big = p.Big;
        r.Weight = p.Weight;
        r.Flag = p.Flag;
        r.Name = const_cast<char*>(p.Name.c_str());
        r.GUID = const_cast<char*>(p.GUID.c_str());
        r.Type = const_cast<char*>(p.Type.c_str());
        r.Symbol = const_cast<char*>(p.Symbol.c_str());
        r.Parent.oid = p.Parent;
        uint32_t id = db.InsertRecord(into != nullptr ? into : table.get(), &r);
        oids.push_back(id);
        return id;
    }

    // The ID fields of the selected rows, in selection order.
    std::vector<int32_t> Select(dbQueryText& q, dbTableInfo* from = nullptr)
    {
        dbTypedCursor<QueryRow> cursor(from != nullptr ? from : table.get());
        std::vector<int32_t> ids;
        int n = cursor.Select(q, dbCursorViewOnly);
        if (n > 0) {
            ids.push_back(cursor->ID);
            while (cursor.Next() != nullptr)
                ids.push_back(cursor->ID);
        }
        EXPECT_EQ(static_cast<size_t>(n), ids.size());
        return ids;
    }

    std::vector<int32_t> Select(const char* text)
    {
        dbQueryText q;
        q.Append(dbFragText, text);
        return Select(q);
    }

    dbEngine db;
    std::unique_ptr<dbTableInfo> table;
    std::unique_ptr<dbTableInfo> other;
    std::vector<uint32_t> oids;
};

std::vector<int32_t> Ids(std::initializer_list<int32_t> ids)
{
    return ids;
}

// A model-like tree: owners, siblings in SN order, pages and symbols.
class QueryModel : public QuerySelect {
  protected:
    QueryModel()
    {
        int id = 1;
        for (int owner = 0; owner < 4; owner++)
            for (int sn = 5; sn > 0; sn--) {
                Plain p;
                p.ID = id++;
                p.FID = owner;
                p.SN = sn * 10;
                p.PID = p.ID % 3;
                p.Name = "Class" + std::to_string(p.ID) + (p.ID % 4 == 0 ? "'s" : "");
                p.GUID = "G" + std::to_string(p.ID % 5);
                p.Type = p.ID % 2 ? "Class" : "Actor";
                p.Symbol = p.ID % 3 ? "" : "Box";
                Insert(p);
            }
    }
};

TEST_F(QueryModel, ChildrenOfAnOwnerComeThroughTheTreeInSnOrder)
{
    int32_t owner = 1;
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &owner).Append(dbFragText, " order by SN");
    EXPECT_EQ(Ids({10, 9, 8, 7, 6}), Select(q));
    const dbSelectPlan& plan = dbLastSelectPlan();
    EXPECT_EQ(1, plan.indexSearches);
    EXPECT_EQ(0, plan.rowsScanned);
    EXPECT_TRUE(plan.sorted);

    dbOpNode* compiled = q.tree.root;
    owner = 3;
    EXPECT_EQ(Ids({20, 19, 18, 17, 16}), Select(q));
    EXPECT_EQ(compiled, q.tree.root) << "a new value of the bound variable needs no compile";
}

TEST_F(QueryModel, OrderByTheAnsweringIndexSortsNothing)
{
    EXPECT_EQ(Ids({6, 7, 8}), Select("ID > 5 and ID <= 8 order by ID"));
    EXPECT_FALSE(dbLastSelectPlan().sorted);
    EXPECT_FALSE(dbLastSelectPlan().reversed);
    EXPECT_EQ(Ids({8, 7, 6}), Select("ID > 5 and ID <= 8 order by ID desc"));
    EXPECT_FALSE(dbLastSelectPlan().sorted);
    EXPECT_TRUE(dbLastSelectPlan().reversed);
    EXPECT_EQ(Ids({18, 19, 20}), Select("ID > 17 order by ID"));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);
}

TEST_F(QueryModel, TheModelsConditionShapes)
{
    int32_t page = 1;
    dbQueryText q;
    q.Append(dbFragText, "PID=").Append(dbFragInt4, &page).Append(dbFragText, " and FID=0 order by ID");
    EXPECT_EQ(Ids({1, 4}), Select(q));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);

    const char* guid = "G3";
    q.Reset().Append(dbFragText, "GUID=");
    q.AppendString(guid);
    q.AppendString(" and Symbol!='' order by ID");
    EXPECT_EQ(Ids({3, 18}), Select(q));

    q.Reset().Append(dbFragText, "Symbol=");
    q.AppendString(nullptr);
    q.AppendString(" order by ID");
    EXPECT_EQ(14u, Select(q).size()) << "a null string value is the empty text";

    int32_t fid = 2;
    const char* type = "Actor";
    q.Reset().Append(dbFragText, "FID=").Append(dbFragInt4, &fid).Append(dbFragText, " and Type=");
    q.AppendString(type);
    EXPECT_EQ(Ids({12, 14}), [&] { auto v = Select(q); std::sort(v.begin(), v.end()); return v; }());

    std::string search = "ss7";
    std::string text = "Type='Class' and '" + search + "' in Name";
    EXPECT_EQ(Ids({7}), Select(text.c_str()));
    EXPECT_GT(dbLastSelectPlan().rowsScanned, 0);

    std::string quoted = "Type='Class' and '" + std::string("'s") + "' in Name";
    EXPECT_THROW(Select(quoted.c_str()), dbException) << "a quote in the search text ends the literal";
}

TEST_F(QueryModel, EmptyConditionsSelectEveryRow)
{
    EXPECT_EQ(20u, Select("").size());
    EXPECT_TRUE(dbLastSelectPlan().allRows);
    std::vector<int32_t> all = Select(" order by ID");
    ASSERT_EQ(20u, all.size());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_EQ(1, dbLastSelectPlan().treeWalks);
}

TEST_F(QueryModel, StartAndLimit)
{
    EXPECT_TRUE(Select("FID = 1 limit 0").empty());
    EXPECT_EQ(Ids({8, 9, 10}), Select("ID >= 6 order by ID limit 2, 3"));
    std::vector<int32_t> unordered = Select("Type = 'Class' limit 2, 3");
    std::vector<int32_t> all = Select("Type = 'Class'");
    ASSERT_EQ(10u, all.size());
    EXPECT_EQ(std::vector<int32_t>(all.begin() + 2, all.begin() + 5), unordered);
    EXPECT_EQ(Ids({16, 11}), Select("order by SN desc, ID desc limit 2"));
}

TEST_F(QueryModel, InAnArrayParameterSearchesEachElement)
{
    const int32_t wanted[] = {7, 3, 7, 99};
    dbArray<int32_t> ids;
    ids.Assign(wanted, 4);
    dbQueryText q;
    q.Append(dbFragText, "ID in ").Append(dbFragArrayOfInt4, &ids).Append(dbFragText, " order by ID");
    EXPECT_EQ(Ids({3, 7}), Select(q));
    EXPECT_EQ(4, dbLastSelectPlan().indexSearches);
    EXPECT_TRUE(dbLastSelectPlan().sorted) << "element order is not key order";
}

TEST_F(QueryModel, StartFromAnArrayOfReferences)
{
    dbArray<dbReference> start;
    const dbReference refs[] = {{oids[4]}, {0}, {oids[1]}};
    start.Assign(refs, 3);
    dbQueryText q;
    q.Append(dbFragText, "start from ").Append(dbFragArrayOfRef, &start, table.get());
    EXPECT_EQ(Ids({5, 2}), Select(q));
    dbArray<dbReference>* pointer = &start;
    q.Reset().Append(dbFragText, "start from ").Append(dbFragArrayPtrOfRef, &pointer, table.get());
    q.Append(dbFragText, " order by ID");
    EXPECT_EQ(Ids({2, 5}), Select(q));
}

TEST_F(QueryModel, FirstAndLastRowsOfTheTable)
{
    EXPECT_EQ(Ids({1}), Select("current = first"));
    EXPECT_EQ(Ids({20}), Select("current = last"));
    EXPECT_EQ(Ids({1, 20}), Select("current = first or current = last order by ID"));
}

TEST_F(QueryModel, BoundLimitsAreReadAtEachSelect)
{
    int32_t skip = 0, count = 2;
    dbQueryText q;
    q.Append(dbFragText, "FID = 0 order by ID limit ").Append(dbFragInt4, &skip);
    q.Append(dbFragText, ", ").Append(dbFragInt4, &count);
    EXPECT_EQ(Ids({1, 2}), Select(q));
    skip = 3;
    count = 5;
    EXPECT_EQ(Ids({4, 5}), Select(q));
}

TEST_F(QueryModel, OrChainsFindEachRecordOnce)
{
    EXPECT_EQ(Ids({1, 2, 6}), Select("ID = 1 or ID = 2 or FID = 1 and SN = 50 order by ID"));
    EXPECT_EQ(Ids({1, 2, 3}), Select("ID = 1 or ID < 4 or Name = 'Class2' order by ID"));
    // A record that satisfies both operands is counted once against START.
    EXPECT_EQ(Ids({2, 3}), Select("ID = 1 or ID < 4 limit 1, 10"));
}

TEST_F(QueryModel, LikePrefixesUseTheTree)
{
    EXPECT_EQ(Ids({1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}), Select("Name like 'Class1%' order by ID"));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);
    EXPECT_EQ(0, dbLastSelectPlan().rowsScanned);
    EXPECT_EQ(Ids({12, 16}), Select("Name like 'Class1%s' order by ID"));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);
    EXPECT_EQ(Ids({4, 8, 12, 16, 20}), Select("Name like '%s' order by ID"));
    EXPECT_EQ(0, dbLastSelectPlan().indexSearches);
}

TEST_F(QueryModel, KeysThatArePrefixesOfAValueUseTheTree)
{
    const char* value = "Class12's and more";
    dbQueryText bound;
    bound.Append(dbFragString, const_cast<char*>(value)).Append(dbFragText, " like Name || '%' order by Name");
    EXPECT_EQ(Ids({1, 12}), Select(bound));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);
    EXPECT_EQ(0, dbLastSelectPlan().rowsScanned);
    EXPECT_FALSE(dbLastSelectPlan().sorted);
    EXPECT_EQ(Ids({1, 12}), Select("'Class12''s and more' like Name || '%' and ID < 20 order by ID"));
    EXPECT_EQ(1, dbLastSelectPlan().indexSearches);
    EXPECT_EQ(Ids({1, 3, 5}), Select("'Classy' like Type || '%' and ID < 7 order by ID"));
    EXPECT_EQ(0, dbLastSelectPlan().indexSearches);
}

TEST_F(QueryModel, ACompiledQueryIsCompiledAgainForAnotherTable)
{
    Plain p;
    p.ID = 99;
    p.FID = 1;
    Insert(p, other.get());
    dbQueryText q;
    q.Append(dbFragText, "FID = 1 order by ID");
    EXPECT_EQ(5u, Select(q).size());
    EXPECT_EQ(Ids({99}), Select(q, other.get()));
    EXPECT_EQ(other.get(), q.tree.table);
}

TEST_F(QueryModel, CurrentRecordByReference)
{
    dbReference ref{oids[6]};
    dbQueryText q;
    q.Append(dbFragText, "current = ").Append(dbFragReference, &ref, table.get());
    EXPECT_EQ(Ids({7}), Select(q));
    EXPECT_TRUE(dbLastSelectPlan().byId);
    ref.oid = 0;
    EXPECT_THROW(Select(q), dbException);
}

TEST_F(QuerySelect, UnorderedScansReportRowsInRowListOrder)
{
    // Keys fall as rows are added and a removed row comes back last, so no
    // index and no id order lists the rows as the table's row list does.
    std::vector<int32_t> listed;
    for (int i = 0; i < 40; i++) {
        Plain p;
        p.ID = p.FID = p.PID = 100 - i;
        p.Weight = -i;
        p.Kind = static_cast<int16_t>(i % 2);
        p.Name = p.GUID = "N" + std::to_string(100 - i);
        Insert(p);
        listed.push_back(p.ID);
    }
    ASSERT_TRUE(db.RemoveRecord(table.get(), oids[5]));
    listed.erase(listed.begin() + 5);
    Plain back;
    back.ID = back.FID = back.PID = 95;
    back.Name = back.GUID = "N95";
    Insert(back);
    listed.push_back(95);
    std::vector<int32_t> even;
    for (int32_t id : listed)
        if (id % 2 == 0 || id == 95)
            even.push_back(id);
    struct Case {
        const char* condition;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {"'N' in Name", listed},
        {"Kind = 0", even},
        {"Kind = 0 limit 2, 3", std::vector<int32_t>(even.begin() + 2, even.begin() + 5)},
        {"Kind = 0 or ID = 95", even},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Select(c.condition)) << c.condition;
}

TEST_F(QuerySelect, ConditionsThroughReferences)
{
    Plain p;
    p.ID = 1;
    p.FID = 7;
    uint32_t owner = Insert(p);
    for (int i = 2; i <= 4; i++) {
        p.ID = i;
        p.FID = 0;
        p.Parent = i == 4 ? 0 : owner;
        Insert(p);
    }
    EXPECT_EQ(Ids({2, 3}), Select("Parent.FID = 7 order by ID"));
    EXPECT_EQ(2, dbLastSelectPlan().indexSearches) << "the owner by FID, then the rows by Parent";
    EXPECT_EQ(0, dbLastSelectPlan().rowsScanned);
    EXPECT_EQ(Ids({2, 3}), Select("Parent <> null and Parent.SN = 0 order by ID"));
    EXPECT_EQ(0, dbLastSelectPlan().indexSearches) << "SN has no index";
    EXPECT_EQ(1, dbLastSelectPlan().treeWalks) << "the rows are tested along the ID index";
    EXPECT_THROW(Select("Parent.SN = 0"), dbException) << "a null reference is dereferenced";
    ASSERT_TRUE(db.RemoveRecord(table.get(), owner));
    EXPECT_THROW(Select("Parent <> null and Parent.SN = 0"), dbException)
        << "a reference to a removed record reads nothing";
}

TEST_F(QuerySelect, FollowByWalksReferencesOnce)
{
    Plain p;
    p.ID = 1;
    uint32_t root = Insert(p);
    p.ID = 2;
    p.Parent = root;
    uint32_t mid = Insert(p);
    p.ID = 3;
    p.Parent = mid;
    uint32_t leaf = Insert(p);
    QueryRow r{};
    db.FetchRecord(root, table.get(), &r);
    r.Parent.oid = leaf;  // a cycle
    db.UpdateRecord(root, table.get(), &r);

    dbReference start{leaf};
    dbQueryText q;
    q.Append(dbFragText, "start from ").Append(dbFragReference, &start, table.get());
    q.Append(dbFragText, " follow by Parent");
    EXPECT_EQ(Ids({3, 2, 1}), Select(q));
    q.Reset().Append(dbFragText, "ID <> 2 start from ").Append(dbFragReference, &start, table.get());
    q.Append(dbFragText, " follow by Parent order by ID");
    EXPECT_EQ(Ids({1, 3}), Select(q));
}

TEST_F(QuerySelect, ConstantsOutsideAFieldsRangeAnswerAsAScan)
{
    for (int i = 0; i < 6; i++) {
        Plain p;
        p.ID = i;
        p.MMC = static_cast<int8_t>(i * 50 - 128);
        p.Weight = i == 5 ? std::numeric_limits<double>::quiet_NaN() : i * 0.5;
        Insert(p);
    }
    struct Case {
        const char* text;
        std::vector<int32_t> ids;
    } cases[] = {
        {"MMC = 300", {}},
        {"MMC = -300", {}},
        {"MMC < 300 order by ID", {0, 1, 2, 3, 4, 5}},
        {"MMC > 127", {}},
        {"MMC >= -128 and MMC < -27 order by ID", {0, 1, 2}},
        {"MMC between -1000 and 1000 order by ID", {0, 1, 2, 3, 4, 5}},
        {"Weight > 1 order by ID", {3, 4}},
        {"Weight >= 0 order by ID", {0, 1, 2, 3, 4}},
        {"Weight between 0.5 and 1.5 order by ID", {1, 2, 3}},
        {"Weight = 1.0", {2}},
        {"Weight <> 1.0 order by ID", {0, 1, 3, 4, 5}},
        {"order by Weight desc, ID", {5, 4, 3, 2, 1, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.ids, Select(c.text)) << c.text;
}

TEST(QueryParallel, ParallelScanFindsWhatASequentialScanFinds)
{
    dbEngine db(dbEngine::dbAllAccess, 16 << 20, 4 << 20, 8194, 4);
    std::unique_ptr<dbTableInfo> table(new dbTableInfo("QueryRow", &db, sizeof(QueryRow), DescribeQueryRow));
    ASSERT_TRUE(db.Open(("query-parallel-" + std::to_string(getpid())).c_str()));
    for (int i = 0; i < 3000; i++) {
        QueryRow r{};
        r.ID = i;
        r.SN = (i * 7919) % 1000;
        r.Name = const_cast<char*>(i % 3 ? "abc" : "xyz");
        r.GUID = r.Type = r.Symbol = const_cast<char*>("");
        db.InsertRecord(table.get(), &r);
    }
    dbQueryText q;
    q.Append(dbFragText, "SN < 100 and Name = 'xyz' order by SN desc, ID");
    dbTypedCursor<QueryRow> cursor(table.get());
    int n = cursor.Select(q, dbCursorViewOnly);
    std::vector<std::pair<int32_t, int32_t>> got;
    for (int k = 0; k < n; k++, cursor.Next())
        got.emplace_back(cursor->SN, cursor->ID);
    std::vector<std::pair<int32_t, int32_t>> want;
    for (int i = 0; i < 3000; i++)
        if ((i * 7919) % 1000 < 100 && i % 3 == 0)
            want.emplace_back((i * 7919) % 1000, i);
    std::sort(want.begin(), want.end(), [](auto a, auto b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    EXPECT_EQ(want, got);
    EXPECT_EQ(0, dbLastSelectPlan().rowsScanned) << "the shares scanned, not the sequential loop";

    q.Reset().Append(dbFragText, "Name = 'xyz' limit 10, 5");
    EXPECT_EQ(5, cursor.Select(q, dbCursorViewOnly));
    db.Close();
}

// ---- differential test ----------------------------------------------------

bool LikeMatch(const char* s, const char* p)
{
    if (*p == '\0')
        return *s == '\0';
    if (*p == '%')
        return LikeMatch(s, p + 1) || (*s != '\0' && LikeMatch(s + 1, p));
    if (*s != '\0' && (*p == '_' || *p == *s))
        return LikeMatch(s + 1, p + 1);
    return false;
}

struct Condition {
    std::string text;
    std::function<bool(const Plain&)> test;
};

class Generator {
  public:
    explicit Generator(unsigned seed) : rng(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    std::string Word()
    {
        std::string s;
        int n = 1 + Pick(3);
        for (int i = 0; i < n; i++)
            s += "abc"[Pick(3)];
        return s;
    }

    Condition Atom()
    {
        static const char* const ops[] = {"=", "<>", "<", "<=", ">", ">="};
        int op = Pick(6);
        auto relation = [op](auto a, auto b) {
            switch (op) {
              case 0: return a == b;
              case 1: return a != b;
              case 2: return a < b;
              case 3: return a <= b;
              case 4: return a > b;
              default: return a >= b;
            }
        };
        switch (Pick(9)) {
          case 0: {
            int v = Pick(12) - 1;
            return {"FID " + std::string(ops[op]) + " " + std::to_string(v),
                    [=](const Plain& r) { return relation(r.FID, v); }};
          }
          case 1: {
            int v = Pick(600) - 300;
            return {"MMC " + std::string(ops[op]) + " " + std::to_string(v),
                    [=](const Plain& r) { return relation(int(r.MMC), v); }};
          }
          case 2: {
            int lo = Pick(60), hi = lo + Pick(30);
            return {"SN between " + std::to_string(lo) + " and " + std::to_string(hi),
                    [=](const Plain& r) { return r.SN >= lo && r.SN <= hi; }};
          }
          case 3: {
            int a = Pick(10), b = Pick(10);
            return {"PID in (" + std::to_string(a) + ", " + std::to_string(b) + ")",
                    [=](const Plain& r) { return r.PID == a || r.PID == b; }};
          }
          case 4: {
            std::string w = Word();
            return {"Name " + std::string(ops[op]) + " '" + w + "'",
                    [=](const Plain& r) { return relation(r.Name.compare(w), 0); }};
          }
          case 5: {
            static const char* const patterns[] = {"a%", "%b%", "ab", "a_c", "%c", "b%a%", "%", "_"};
            std::string pat = patterns[Pick(8)];
            return {"Name like '" + pat + "'",
                    [=](const Plain& r) { return LikeMatch(r.Name.c_str(), pat.c_str()); }};
          }
          case 6: {
            std::string w = Word();
            return {"'" + w + "' in Name",
                    [=](const Plain& r) { return r.Name.find(w) != std::string::npos; }};
          }
          case 7: {
            double v = Pick(8) * 0.5 - 1;
            return {"Weight " + std::string(ops[op]) + " " + std::to_string(v),
                    [=](const Plain& r) { return relation(r.Weight, v); }};
          }
          default: {
            int v = Pick(12) - 1;
            return {std::to_string(v) + " " + ops[op] + " ID",
                    [=](const Plain& r) { return relation(v, r.ID); }};
          }
        }
    }

    Condition Any(int depth)
    {
        int k = depth > 2 ? 0 : Pick(5);
        if (k <= 1)
            return Atom();
        Condition a = Any(depth + 1);
        Condition b = Any(depth + 1);
        if (k == 2)
            return {"(" + a.text + ") and (" + b.text + ")",
                    [=](const Plain& r) { return a.test(r) && b.test(r); }};
        if (k == 3)
            return {a.text + " or " + b.text, [=](const Plain& r) { return a.test(r) || b.test(r); }};
        return {"not (" + a.text + ")", [=](const Plain& r) { return !a.test(r); }};
    }

    std::mt19937 rng;
};

TEST_F(QuerySelect, RandomConditionsAgreeWithBruteForce)
{
    Generator gen(20261210);
    std::vector<Plain> rows;
    for (int i = 0; i < 400; i++) {
        Plain p;
        p.ID = i * 7919 % 400;  // every ID once, not in the order added
        p.FID = gen.Pick(10);
        p.SN = gen.Pick(60);
        p.PID = gen.Pick(10);
        p.MMC = static_cast<int8_t>(gen.Pick(256) - 128);
        p.Weight = gen.Pick(10) == 0 ? std::numeric_limits<double>::quiet_NaN() : gen.Pick(8) * 0.5 - 1;
        p.Name = gen.Word();
        rows.push_back(p);
        Insert(p);
    }
    for (int i = 0; i < 60; i++) {
        size_t victim = gen.Pick(static_cast<int>(rows.size()));
        ASSERT_TRUE(db.RemoveRecord(table.get(), oids[victim]));
        rows.erase(rows.begin() + victim);
        oids.erase(oids.begin() + victim);
    }
    static const char* const orders[] = {"", " order by ID", " order by SN, ID", " order by Name desc, ID",
                                         " order by FID desc, ID desc", " order by Weight, ID",
                                         " order by length(Name) desc, ID"};
    for (int round = 0; round < 400; round++) {
        Condition c = gen.Any(0);
        int order = gen.Pick(7);
        std::vector<const Plain*> expected;
        for (const Plain& r : rows)
            if (c.test(r))
                expected.push_back(&r);
        auto before = [order](const Plain* a, const Plain* b) {
            auto w = [](double x) { return std::isnan(x) ? std::numeric_limits<double>::infinity() : x; };
            switch (order) {
              case 2: return std::make_pair(a->SN, a->ID) < std::make_pair(b->SN, b->ID);
              case 3: return a->Name != b->Name ? a->Name > b->Name : a->ID < b->ID;
              case 4: return std::make_pair(a->FID, a->ID) > std::make_pair(b->FID, b->ID);
              case 5: {
                bool na = std::isnan(a->Weight), nb = std::isnan(b->Weight);
                if (na != nb)
                    return nb;
                return w(a->Weight) != w(b->Weight) ? w(a->Weight) < w(b->Weight) : a->ID < b->ID;
              }
              case 6: return a->Name.size() != b->Name.size() ? a->Name.size() > b->Name.size()
                                                               : a->ID < b->ID;
              default: return a->ID < b->ID;
            }
        };
        if (order != 0)
            std::sort(expected.begin(), expected.end(), before);
        std::vector<int32_t> want;
        for (const Plain* r : expected)
            want.push_back(r->ID);
        std::string text = c.text + orders[order];
        bool limited = order != 0 && gen.Pick(3) == 0;
        if (limited) {
            int start = gen.Pick(5), count = gen.Pick(8);
            text += " limit " + std::to_string(start) + ", " + std::to_string(count);
            size_t s = std::min<size_t>(start, want.size());
            want = std::vector<int32_t>(want.begin() + s, want.begin() + std::min(want.size(), s + count));
        }
        std::vector<int32_t> got = Select(text.c_str());
        // Without ORDER BY a scan reports rows in the order they were added,
        // an index in its own order.
        const dbSelectPlan& plan = dbLastSelectPlan();
        if (order == 0 && (plan.indexSearches != 0 || plan.treeWalks != 0)) {
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
        }
        ASSERT_EQ(want, got) << text;
    }
}

}  // namespace
