// Cursors: selections over several segments, moves at both ends, refresh
// after changes, removal through the cursor, and refused input.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Row {
    int32_t key;
    int32_t n;
    const char* name;
};

dbFieldInfo* DescribeRow()
{
    return dbFieldList({dbDescribe<int32_t>("key", offsetof(Row, key), dbFieldInfo::INDEXED),
                        dbDescribe<int32_t>("n", offsetof(Row, n)),
                        dbDescribe<const char*>("name", offsetof(Row, name),
                                                dbFieldInfo::INDEXED)});
}

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = base.AddTable("Row", sizeof(Row), DescribeRow);
        other = base.AddTable("OtherRow", sizeof(Row), DescribeRow);
        ASSERT_TRUE(base.Open());
    }
    oid_t Insert(int32_t key, int32_t n, const char* name = "row", dbTableInfo* t = nullptr)
    {
        Row r{key, n, name};
        return base.db.InsertRecord(t ? t : table, &r);
    }
    // Numbers of the rows a cursor visits from its position with Next.
    std::vector<int32_t> Rest(dbTypedCursor<Row>& c)
    {
        std::vector<int32_t> seen;
        while (Row* r = c.Next())
            seen.push_back(r->n);
        return seen;
    }

    Database base;
    dbTableInfo* table = nullptr;
    dbTableInfo* other = nullptr;
};

TEST_F(CursorTest, SelectionLongerThanOneSegment)
{
    for (int i = 0; i < 2500; ++i)
        Insert(1, i);
    Insert(2, -1);
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectByKey("key", int32_t(1)), 2500);
    std::vector<int32_t> seen{c->n};
    std::vector<int32_t> rest = Rest(c);
    seen.insert(seen.end(), rest.begin(), rest.end());
    ASSERT_EQ(seen.size(), 2500u);
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < 2500; ++i)
        ASSERT_EQ(seen[i], i);
    EXPECT_EQ(c.Next(), nullptr);
    EXPECT_EQ(c.Next(), nullptr);
    EXPECT_TRUE(c.Last());
    int back = 0;
    while (c.Prev())
        ++back;
    EXPECT_EQ(back, 2499);
    EXPECT_TRUE(c.IsFirst());
    EXPECT_EQ(c.Seek(c.GetCurrentOid()), 0);
}

// Walks selections while rows go: every live selected row is visited once,
// in selection order, and no removed row ever is.
TEST_F(CursorTest, RandomRemovalsDuringAWalk)
{
    std::mt19937 rng(31337);
    for (int round = 0; round < 20; ++round) {
        bool allRows = round % 2 == 1;
        int rows = 50 + static_cast<int>(rng() % 1500);
        for (int i = 0; i < rows; ++i)
            Insert(static_cast<int32_t>(rng() % 100), i);
        dbTypedCursor<Row> c(table, dbCursorForUpdate);
        if (allRows) {
            ASSERT_TRUE(base.db.BeginTransaction(dbEngine::dbExclusiveLock));
            c.SelectAllRows();
        } else {
            c.SelectByKeyRange("key", int32_t(10), int32_t(89));
        }
        std::vector<oid_t> order(c.GetNumberOfRecords());
        c.ToArray(order.data());
        std::set<oid_t> gone;
        std::vector<oid_t> visited;
        if (c.First()) {
            c.Fetch();
            do {
                oid_t here = c.GetCurrentOid();
                ASSERT_EQ(gone.count(here), 0u);
                visited.push_back(here);
                int op = rng() % 6;
                if (op == 0) {
                    gone.insert(here);
                    c.RemoveCurrent();
                } else if (op == 1) {
                    oid_t victim = order[rng() % order.size()];
                    if (!gone.count(victim) && victim != here) {
                        gone.insert(victim);
                        ASSERT_TRUE(base.db.RemoveRecord(table, victim));
                    }
                }
            } while (c.Next());
        }
        std::vector<oid_t> expected;
        std::set<oid_t> seen(visited.begin(), visited.end());
        for (oid_t id : order) {
            if (!gone.count(id) || seen.count(id))
                expected.push_back(id);
        }
        ASSERT_EQ(visited, expected) << "round " << round;
        ASSERT_TRUE(base.Consistent());
        base.db.Commit();
        base.db.DeleteTable(table);
    }
}

TEST_F(CursorTest, MovesAtBothEnds)
{
    oid_t a = Insert(1, 1), b = Insert(2, 2), d = Insert(3, 3);
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectByKeyRange("key", int32_t(1), int32_t(3)), 3);
    EXPECT_EQ(c.GetCurrentOid(), a);
    EXPECT_EQ(c.Prev(), nullptr);
    EXPECT_EQ(c.GetCurrentOid(), a);
    EXPECT_TRUE(c.Skip(0));
    EXPECT_EQ(c->n, 1);
    EXPECT_TRUE(c.Skip(2));
    EXPECT_EQ(c.GetCurrentOid(), d);
    EXPECT_FALSE(c.Skip(1));
    EXPECT_EQ(c.GetCurrentOid(), d);
    EXPECT_TRUE(c.Skip(-1));
    EXPECT_EQ(c->n, 2);
    EXPECT_FALSE(c.Skip(-5));
    EXPECT_EQ(c.GetCurrentOid(), a);
    EXPECT_TRUE(c.HasNext());
    EXPECT_TRUE(c.Last());
    EXPECT_TRUE(c.IsLast());
    EXPECT_FALSE(c.HasNext());
    EXPECT_EQ(c.Seek(b), 1);
    EXPECT_EQ(c->n, 2);
    EXPECT_EQ(c.Seek(Insert(2, 0)), -1);
}

TEST_F(CursorTest, NoMatchLeavesTheBufferAlone)
{
    Insert(1, 10, "alpha");
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectByKey("name", "alpha"), 1);
    EXPECT_EQ(c.SelectByKey("name", "beta"), 0);
    EXPECT_EQ(c->n, 10);
    EXPECT_FALSE(c.First());
    EXPECT_EQ(c.Next(), nullptr);
}

TEST_F(CursorTest, RefusedInputSelectsNothing)
{
    oid_t mine = Insert(1, 1);
    oid_t theirs = Insert(1, 2, "x", other);
    oid_t removed = Insert(1, 3);
    base.db.RemoveRecord(table, removed);
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectById(mine), 1);
    struct Case {
        const char* what;
        int count;
    };
    const Case cases[] = {
        {"unknown field", c.SelectByKey("nope", int32_t(1))},
        {"null field", c.SelectByKey(nullptr, int32_t(1))},
        {"unindexed field", c.SelectByKey("n", int32_t(1))},
        {"key of another type", c.SelectByKey("key", int64_t(1))},
        {"text for a number", c.SelectByKey("key", "1")},
        {"null text", c.SelectByKey("name", static_cast<const char*>(nullptr))},
        {"identifier 0", c.SelectById(0)},
        {"dictionary record", c.SelectById(table->tableId)},
        {"index object", c.SelectById(table->FindField("key")->tTree)},
        {"removed record", c.SelectById(removed)},
        {"row of another table", c.SelectById(theirs)},
        {"beyond the index", c.SelectById(base.db.GetCurrentIndexSize() + 3)},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.count, 0) << k.what;
    EXPECT_EQ(c->n, 1);
    EXPECT_THROW(c.SetCurrent(dbReference{0}), dbException);
}

TEST_F(CursorTest, RefreshAfterUpdateAndRemoval)
{
    oid_t a = Insert(7, 1, "first"), b = Insert(8, 2), d = Insert(9, 3);
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectByKeyRange("key", int32_t(7), int32_t(9)), 3);
    Row changed{7, 1, "a longer name than before"};
    ASSERT_TRUE(base.db.UpdateRecord(a, table, &changed));
    EXPECT_STREQ(c->name, "a longer name than before");

    // A record removed after the select is skipped.
    ASSERT_TRUE(base.db.RemoveRecord(table, b));
    EXPECT_EQ(Rest(c), std::vector<int32_t>{3});
    EXPECT_EQ(c.GetCurrentOid(), d);
    ASSERT_TRUE(base.db.RemoveRecord(table, d));
    EXPECT_EQ(c.GetCurrentOid(), 0u);
    EXPECT_EQ(c.Next(), nullptr);
    EXPECT_TRUE(c.First());
    EXPECT_EQ(c.GetCurrentOid(), a);
    EXPECT_FALSE(c.HasNext());
    // Even once its identifier is given to a new record.
    oid_t reused = Insert(7, 9);
    EXPECT_EQ(reused, d);
    EXPECT_EQ(c.Next(), nullptr);
}

TEST_F(CursorTest, RemoveCurrentStandsOnTheFollowingRecord)
{
    for (int i = 0; i < 5; ++i)
        Insert(i, i);
    dbTypedCursor<Row> c(table, dbCursorForUpdate);
    ASSERT_EQ(c.SelectByKeyRange("key", int32_t(0), int32_t(4)), 5);
    c.RemoveCurrent();
    EXPECT_EQ(c->n, 1);
    ASSERT_NE(c.Next(), nullptr);
    EXPECT_EQ(c->n, 1);
    EXPECT_TRUE(c.Skip(1));
    c.RemoveCurrent();
    EXPECT_EQ(Rest(c), (std::vector<int32_t>{3, 4}));
    c.RemoveCurrent();
    EXPECT_EQ(c.Next(), nullptr);
    EXPECT_EQ(c.GetCurrentOid(), 0u);
    EXPECT_THROW(c.RemoveCurrent(), dbException);
    EXPECT_EQ(RowCountOf(base.db, table), 2u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(CursorTest, AllRowsWalkGoesOnAfterRemovals)
{
    for (int i = 0; i < 6; ++i)
        Insert(i, i);
    dbTypedCursor<Row> c(table, dbCursorForUpdate);
    ASSERT_TRUE(base.db.BeginTransaction(dbEngine::dbExclusiveLock));
    c.SelectAllRows();
    EXPECT_EQ(c.GetNumberOfRecords(), 6);
    EXPECT_EQ(c->n, 0);
    std::vector<int32_t> kept;
    do {
        if (c->n % 2 == 0)
            c.RemoveCurrent();
        else
            kept.push_back(c->n);
    } while (c.Next());
    EXPECT_EQ(kept, (std::vector<int32_t>{1, 3, 5}));

    // A row removed by another path while the cursor stands on it.
    ASSERT_TRUE(c.First());
    base.db.RemoveRecord(table, c.GetCurrentOid());
    EXPECT_EQ(c.GetCurrentOid(), 0u);
    ASSERT_NE(c.Next(), nullptr);
    EXPECT_EQ(c->n, 3);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(CursorTest, RemoveAllSelected)
{
    for (int i = 0; i < 4; ++i)
        Insert(i % 2, i);
    dbTypedCursor<Row> c(table, dbCursorForUpdate);
    ASSERT_EQ(c.SelectByKey("key", int32_t(1)), 2);
    c.RemoveAllSelected();
    EXPECT_EQ(RowCountOf(base.db, table), 2u);
    EXPECT_EQ(c.SelectByKey("key", int32_t(1)), 0);
    EXPECT_EQ(c.SelectByKeyRange("key", int32_t(0), int32_t(5)), 2);
    ASSERT_TRUE(base.db.BeginTransaction(dbEngine::dbExclusiveLock));
    c.SelectAllRows();
    c.RemoveAllSelected();
    EXPECT_EQ(RowCountOf(base.db, table), 0u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(CursorTest, CommitResetsTheCursor)
{
    Insert(1, 1);
    dbTypedCursor<Row> c(table);
    ASSERT_EQ(c.SelectByKey("key", int32_t(1)), 1);
    base.db.Commit();
    EXPECT_EQ(c.GetCurrentOid(), 0u);
    EXPECT_EQ(c.GetNumberOfRecords(), 0);
    EXPECT_FALSE(c.First());
}

TEST(IdSelection, SortLeavesOrderedInputAndReversesDescendingInput)
{
    auto byValue = [](uint32_t a, uint32_t b, void*) { return a < b ? -1 : a > b; };
    auto byTens = [](uint32_t a, uint32_t b, void*) { return int(a / 10) - int(b / 10); };
    struct Case {
        std::vector<uint32_t> in;
        dbIdSelection::Compare compare;
        std::vector<uint32_t> out;
    };
    std::vector<uint32_t> big(3000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint32_t>((i * 7919) % 3001);
    std::vector<uint32_t> bigSorted = big;
    std::sort(bigSorted.begin(), bigSorted.end());
    const Case cases[] = {
        {{3, 1, 2}, byValue, {1, 2, 3}},
        {{9, 7, 5, 1}, byValue, {1, 5, 7, 9}},
        {{21, 25, 11, 15}, byTens, {15, 11, 25, 21}}, // descending: reversed, ties too
        {{11, 15, 21, 25}, byTens, {11, 15, 21, 25}}, // ordered: unchanged
        {{5, 5, 5}, byValue, {5, 5, 5}},
        {big, byValue, bigSorted},
    };
    for (const Case& k : cases) {
        dbIdSelection s;
        for (uint32_t id : k.in)
            s.Add(id);
        s.Sort(k.compare, nullptr);
        std::vector<uint32_t> out(s.nRows);
        s.ToArray(out.data());
        EXPECT_EQ(out, k.out);
    }
}

TEST(IdSelection, Truncate)
{
    dbIdSelection s;
    for (uint32_t i = 0; i < 2100; ++i)
        s.Add(i);
    s.Truncate(1000, 1050);
    std::vector<uint32_t> out(s.nRows);
    s.ToArray(out.data());
    ASSERT_EQ(out.size(), 1050u);
    EXPECT_EQ(out.front(), 1000u);
    EXPECT_EQ(out.back(), 2049u);
    s.Truncate(5000, 1);
    EXPECT_EQ(s.nRows, 0u);
}

} // namespace
