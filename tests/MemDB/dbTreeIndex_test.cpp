// The T-tree against a std::multimap model under random inserts, removals
// and key changes, with its structural invariants checked after each batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "MemDB/dbIndexSearch.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTreeIndex.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Keyed {
    int32_t key;
    const char* name;
};

dbFieldInfo* DescribeKeyed()
{
    return dbFieldList({dbDescribe<int32_t>("key", offsetof(Keyed, key), dbFieldInfo::INDEXED),
                        dbDescribe<const char*>("name", offsetof(Keyed, name),
                                                dbFieldInfo::INDEXED)});
}

class TreeIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = base.AddTable("Keyed", sizeof(Keyed), DescribeKeyed);
        ASSERT_TRUE(base.Open());
        keyField = table->FindField("key");
        nameField = table->FindField("name");
    }

    // Each record goes into the trees at once, so that a test's order of
    // insertion is the trees' own.
    oid_t Insert(int32_t key, const char* name = "")
    {
        Keyed rec{key, name};
        oid_t id = db().InsertRecord(table, &rec);
        db().GetTreeBatches().SettleAll(&db());
        return id;
    }
    dbEngine& db() { return base.db; }

    // Checks order, balance and fill of the subtree; returns its height.
    int CheckNode(oid_t node, dbFieldInfo* fd, const void* low, const void* high,
                  std::vector<oid_t>& inOrder)
    {
        if (node == 0)
            return 0;
        const auto* n = reinterpret_cast<const dbTtreeNode*>(db().GetObject(node));
        EXPECT_EQ(db().GetEntry(node) & dbFlagsMask, uint32_t(dbTtreeNodeKind));
        EXPECT_GE(n->nItems, 1);
        EXPECT_LE(n->nItems, dbTtreeNode::MaxItems);
        dbTtreeNode copy = *n;
        const void* first = KeyOf(copy.item[0], fd);
        const void* last = KeyOf(copy.item[copy.nItems - 1], fd);
        int lh = CheckNode(copy.left, fd, low, first, inOrder);
        for (int i = 0; i < copy.nItems; ++i) {
            const void* k = KeyOf(copy.item[i], fd);
            if (i > 0) {
                EXPECT_LE(Compare(fd, KeyOf(copy.item[i - 1], fd), k), 0);
            }
            if (low) {
                EXPECT_LE(Compare(fd, low, k), 0);
            }
            if (high) {
                EXPECT_LE(Compare(fd, k, high), 0);
            }
            inOrder.push_back(copy.item[i]);
        }
        int rh = CheckNode(copy.right, fd, last, high, inOrder);
        EXPECT_EQ(copy.balance, rh - lh) << "node " << node;
        return std::max(lh, rh) + 1;
    }
    const void* KeyOf(oid_t id, dbFieldInfo* fd)
    {
        const char* rec = db().GetRow(id);
        if (fd->type == dbFieldInfo::tpString)
            return rec + dbGet32(rec, fd->dbsOffs + 4);
        return rec + fd->dbsOffs;
    }
    int Compare(dbFieldInfo* fd, const void* a, const void* b)
    {
        return dbFieldInfo::CompareKeys(fd->type, a, b, fd->dbsSize, nullptr);
    }
    std::vector<oid_t> CheckTree(dbFieldInfo* fd)
    {
        std::vector<oid_t> inOrder;
        db().GetTreeBatches().SettleAll(&db());
        oid_t root = dbGet32(db().GetObject(fd->tTree), 0);
        CheckNode(root, fd, nullptr, nullptr, inOrder);
        return inOrder;
    }
    // Runs a range search into a scratch cursor and returns what it found.
    std::vector<oid_t> Search(dbFieldInfo* fd, const void* low, bool lowIn, const void* high,
                              bool highIn, size_t prefix = 0)
    {
        dbRecordCursor cursor(table);
        dbIndexSearch s;
        s.db = &db();
        s.cursor = &cursor;
        s.firstKey = low;
        s.firstKeyInclusion = lowIn;
        s.lastKey = high;
        s.lastKeyInclusion = highIn;
        s.type = fd->type;
        s.sizeofType = fd->dbsSize;
        s.offs = fd->dbsOffs;
        s.prefixLength = prefix;
        dbTreeIndex::Find(&db(), fd->tTree, s);
        std::vector<oid_t> ids(cursor.GetNumberOfRecords());
        cursor.ToArray(ids.data());
        return ids;
    }
    // The key tree holds exactly the model's records, in its key order.
    void ExpectInStep(const std::multimap<int32_t, oid_t>& model, const std::map<oid_t, int32_t>& keyOf)
    {
        std::vector<oid_t> inOrder = CheckTree(keyField);
        ASSERT_EQ(inOrder.size(), model.size());
        auto m = model.begin();
        for (size_t i = 0; i < inOrder.size(); ++i, ++m)
            ASSERT_EQ(keyOf.at(inOrder[i]), m->first) << "position " << i;
        std::multiset<oid_t> a(inOrder.begin(), inOrder.end()), b;
        for (auto& kv : model)
            b.insert(kv.second);
        ASSERT_EQ(a, b);
    }
    std::vector<std::string> Names(const std::vector<oid_t>& ids)
    {
        std::vector<std::string> names;
        for (oid_t id : ids)
            names.push_back(static_cast<const char*>(KeyOf(id, nameField)));
        return names;
    }

    Database base;
    dbTableInfo* table = nullptr;
    dbFieldInfo* keyField = nullptr;
    dbFieldInfo* nameField = nullptr;
};

TEST_F(TreeIndexTest, RandomChangesKeepTheTreeInStepWithAMultimap)
{
    std::mt19937 rng(12345);
    std::multimap<int32_t, oid_t> model;
    std::map<oid_t, int32_t> keyOf;
    for (int round = 0; round < 12; ++round) {
        // Few distinct keys: runs of equal keys longer than a node.
        int spread = round % 3 == 0 ? 4 : 2000;
        for (int step = 0; step < 400; ++step) {
            int op = rng() % 10;
            if (op < 6 || keyOf.empty()) {
                int32_t key = static_cast<int32_t>(rng() % spread) - spread / 2;
                oid_t id = Insert(key);
                model.emplace(key, id);
                keyOf[id] = key;
            } else {
                auto it = keyOf.begin();
                std::advance(it, rng() % keyOf.size());
                oid_t id = it->first;
                EraseEntry(model, it->second, id);
                if (op < 8) {
                    ASSERT_TRUE(db().RemoveRecord(table, id));
                    keyOf.erase(it);
                } else {
                    Keyed rec{static_cast<int32_t>(rng() % spread), ""};
                    ASSERT_TRUE(db().UpdateRecord(id, table, &rec));
                    it->second = rec.key;
                    model.emplace(rec.key, id);
                }
            }
        }
        ExpectInStep(model, keyOf);
        ASSERT_FALSE(HasFailure());

        int32_t lo = static_cast<int32_t>(rng() % spread) - spread / 2, hi = lo + spread / 4;
        std::vector<oid_t> found = Search(keyField, &lo, true, &hi, false);
        size_t expected = std::distance(model.lower_bound(lo), model.lower_bound(hi));
        ASSERT_EQ(found.size(), expected);
        for (oid_t id : found) {
            ASSERT_GE(keyOf.at(id), lo);
            ASSERT_LT(keyOf.at(id), hi);
        }
        ASSERT_TRUE(base.Consistent());
        if (round % 4 == 3)
            db().Commit();
    }
}

// Hundreds of nodes, a dozen levels: full nodes pushing items down both
// ways, emptied nodes borrowing from both sides, rotations deep in the tree.
TEST_F(TreeIndexTest, ADeepTreeGrowsAndShrinksInStepWithAMultimap)
{
    std::mt19937 rng(777);
    std::multimap<int32_t, oid_t> model;
    std::map<oid_t, int32_t> keyOf;
    for (int i = 0; i < 40000; ++i) {
        // Ascending runs between scattered keys and a crowd of equal ones.
        const int32_t key = i % 3 == 0 ? i : i % 3 == 1 ? static_cast<int32_t>(rng() % 100000) : 7;
        const oid_t id = Insert(key);
        model.emplace(key, id);
        keyOf[id] = key;
    }
    ExpectInStep(model, keyOf);
    std::vector<oid_t> ids;
    for (const auto& kv : keyOf)
        ids.push_back(kv.first);
    std::shuffle(ids.begin(), ids.end(), rng);
    for (size_t i = 0; i < ids.size(); ++i) {
        const oid_t id = ids[i];
        EraseEntry(model, keyOf.at(id), id);
        if (i % 4 == 0) {
            Keyed rec{static_cast<int32_t>(rng() % 100000), ""};
            ASSERT_TRUE(db().UpdateRecord(id, table, &rec));
            model.emplace(rec.key, id);
            keyOf[id] = rec.key;
        } else {
            ASSERT_TRUE(db().RemoveRecord(table, id));
            keyOf.erase(id);
        }
        if (i % 10000 == 9999) {
            ExpectInStep(model, keyOf);
            ASSERT_FALSE(HasFailure());
        }
    }
    ExpectInStep(model, keyOf);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, RandomTextKeysStayInOrder)
{
    std::mt19937 rng(4242);
    std::multimap<std::string, oid_t> model;
    std::map<oid_t, std::string> nameOf;
    for (int step = 0; step < 1500; ++step) {
        if (rng() % 3 != 0 || nameOf.empty()) {
            // A byte above 127 orders after the letters, as in strcmp.
            static const char letters[] = {'a', 'b', '\xE9'};
            std::string name;
            for (size_t n = rng() % 4; n > 0; --n)
                name += letters[rng() % 3];
            oid_t id = Insert(0, name.c_str());
            model.emplace(name, id);
            nameOf[id] = name;
        } else {
            auto it = nameOf.begin();
            std::advance(it, rng() % nameOf.size());
            auto range = model.equal_range(it->second);
            for (auto m = range.first; m != range.second; ++m) {
                if (m->second == it->first) {
                    model.erase(m);
                    break;
                }
            }
            ASSERT_TRUE(db().RemoveRecord(table, it->first));
            nameOf.erase(it);
        }
    }
    std::vector<oid_t> inOrder = CheckTree(nameField);
    ASSERT_EQ(inOrder.size(), model.size());
    auto m = model.begin();
    for (oid_t id : inOrder)
        ASSERT_EQ(nameOf.at(id), (m++)->first);
    std::vector<oid_t> found = Search(nameField, "ab", true, nullptr, true, 2);
    EXPECT_EQ(found.size(),
              size_t(std::distance(model.lower_bound("ab"), model.lower_bound("ac"))));
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, EqualKeysBeyondOneNodeAreAllFound)
{
    std::set<oid_t> ids;
    for (int i = 0; i < 300; ++i)
        ids.insert(Insert(i % 2 == 0 ? 7 : 9));
    int32_t seven = 7, nine = 9;
    EXPECT_EQ(Search(keyField, &seven, true, &seven, true).size(), 150u);
    EXPECT_EQ(Search(keyField, &seven, false, &nine, true).size(), 150u);
    EXPECT_EQ(Search(keyField, &seven, true, nullptr, true).size(), 300u);
    EXPECT_EQ(CheckTree(keyField).size(), 300u);
    for (oid_t id : ids)
        db().RemoveRecord(table, id);
    EXPECT_EQ(dbGet32(db().GetObject(keyField->tTree), 0), 0u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, FullNodeTakesAKeyBetweenItsFirstAndLast)
{
    std::vector<oid_t> ids;
    for (int i = 0; i < dbTtreeNode::MaxItems; ++i)
        ids.push_back(Insert(i * 2));
    Insert(101);
    Insert(-1);
    Insert(500);
    Insert(57);
    std::vector<oid_t> inOrder = CheckTree(keyField);
    ASSERT_EQ(inOrder.size(), ids.size() + 4);
    int32_t all = INT32_MIN;
    EXPECT_EQ(Search(keyField, &all, true, nullptr, true), inOrder);
}

TEST_F(TreeIndexTest, RemovingARecordTheTreeDoesNotHoldChangesNothing)
{
    oid_t a = Insert(1), b = Insert(2), c = Insert(3);
    for (int i = 0; i < 2; ++i)
        dbTreeIndex::Remove(&db(), keyField->tTree, b, keyField->type, keyField->dbsSize,
                            nullptr, keyField->dbsOffs);
    EXPECT_EQ(CheckTree(keyField), (std::vector<oid_t>{a, c}));
    EXPECT_TRUE(db().RemoveRecord(table, b));
    EXPECT_EQ(CheckTree(keyField), (std::vector<oid_t>{a, c}));
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, StringSearches)
{
    for (const char* name : {"abd", "a", "abc", "b", "aa", "ab", "abcd", "ac"})
        Insert(0, name);
    // prefix length 2 stops at the first key not beginning with "ab"
    EXPECT_EQ(Names(Search(nameField, "ab", true, nullptr, true, 2)),
              (std::vector<std::string>{"ab", "abc", "abcd", "abd"}));
    EXPECT_EQ(Names(Search(nameField, "ab", false, "abd", false)),
              (std::vector<std::string>{"abc", "abcd"}));

    dbRecordCursor cursor(table);
    dbIndexSearch s;
    s.db = &db();
    s.cursor = &cursor;
    s.firstKey = "abc";
    s.type = nameField->type;
    s.sizeofType = nameField->dbsSize;
    s.offs = nameField->dbsOffs;
    dbTreeIndex::FindPrefixesOf(&db(), nameField->tTree, s);
    std::vector<oid_t> ids(cursor.GetNumberOfRecords());
    cursor.ToArray(ids.data());
    EXPECT_EQ(Names(ids), (std::vector<std::string>{"a", "ab", "abc"}));
}

TEST_F(TreeIndexTest, WalksReportEveryRecordInKeyOrderBothWays)
{
    for (int32_t k : {5, 3, 9, 1, 7})
        Insert(k);
    for (bool forward : {true, false}) {
        dbRecordCursor cursor(table);
        dbIndexSearch s;
        s.db = &db();
        s.cursor = &cursor;
        s.type = keyField->type;
        s.sizeofType = keyField->dbsSize;
        s.offs = keyField->dbsOffs;
        if (forward)
            dbTreeIndex::WalkForward(&db(), keyField->tTree, s);
        else
            dbTreeIndex::WalkBackward(&db(), keyField->tTree, s);
        std::vector<oid_t> ids(cursor.GetNumberOfRecords());
        cursor.ToArray(ids.data());
        std::vector<int32_t> keys;
        for (oid_t id : ids)
            keys.push_back(*static_cast<const int32_t*>(KeyOf(id, keyField)));
        std::vector<int32_t> expected{1, 3, 5, 7, 9};
        if (!forward)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(keys, expected);
    }
}

// Records inserted in a write transaction reach the trees in key order only
// when something next reads or changes a tree; until then every step of the
// transaction must see them as if they were there.
TEST_F(TreeIndexTest, QueuedInsertionsAreSeenByEveryLaterStepOfTheirTransaction)
{
    std::mt19937 rng(99);
    std::multimap<int32_t, oid_t> model;
    std::map<oid_t, int32_t> keyOf;
    // Names alike in more bytes than the queue sorts by.
    auto name = [&] { return "a prefix of twenty b" + std::to_string(rng() % 500); };
    auto pickRow = [&] {
        auto it = keyOf.begin();
        std::advance(it, rng() % keyOf.size());
        return it;
    };
    for (int step = 0; step < 3000; ++step) {
        const int op = rng() % 20;
        if (op < 14 || keyOf.empty()) {
            const std::string text = name();
            Keyed rec{static_cast<int32_t>(rng() % 60) - 30, text.c_str()};
            oid_t id = db().InsertRecord(table, &rec);
            ASSERT_NE(id, 0u);
            model.emplace(rec.key, id);
            keyOf[id] = rec.key;
        } else if (op < 16) {
            auto it = pickRow();
            EraseEntry(model, it->second, it->first);
            ASSERT_TRUE(db().RemoveRecord(table, it->first));
            keyOf.erase(it);
        } else if (op < 18) {
            auto it = pickRow();
            const std::string text = name();
            Keyed rec{static_cast<int32_t>(rng() % 60) - 30, text.c_str()};
            EraseEntry(model, it->second, it->first);
            ASSERT_TRUE(db().UpdateRecord(it->first, table, &rec));
            it->second = rec.key;
            model.emplace(rec.key, it->first);
        } else {
            int32_t lo = static_cast<int32_t>(rng() % 60) - 30, hi = lo + 10;
            std::vector<oid_t> found = Search(keyField, &lo, true, &hi, false);
            std::multiset<oid_t> got(found.begin(), found.end()), want;
            for (auto m = model.lower_bound(lo); m != model.lower_bound(hi); ++m)
                want.insert(m->second);
            ASSERT_EQ(got, want) << "step " << step;
        }
    }
    ExpectInStep(model, keyOf);
    std::vector<std::string> names = Names(CheckTree(nameField));
    EXPECT_EQ(names.size(), keyOf.size());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, ACommitLeavesEveryQueuedRecordInItsTree)
{
    std::mt19937 rng(5);
    for (int i = 0; i < 2000; ++i) {
        Keyed rec{static_cast<int32_t>(rng() % 100000), ""};
        db().InsertRecord(table, &rec);
    }
    db().Commit();
    // Read as another engine attached to the image would: from the nodes.
    std::vector<oid_t> inOrder;
    CheckNode(dbGet32(db().GetObject(keyField->tTree), 0), keyField, nullptr, nullptr, inOrder);
    EXPECT_EQ(inOrder.size(), 2000u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(TreeIndexTest, ARollbackForgetsTheQueuedInsertions)
{
    std::vector<oid_t> kept;
    for (int32_t k = 0; k < 50; ++k)
        kept.push_back(Insert(k));
    db().Commit();
    for (int32_t k = 0; k < 500; ++k) {
        Keyed rec{1000 - k, ""};
        db().InsertRecord(table, &rec);
    }
    db().Rollback();
    EXPECT_EQ(CheckTree(keyField), kept);
    EXPECT_TRUE(base.Consistent());

    Keyed rec{25, ""};
    oid_t late = db().InsertRecord(table, &rec);
    db().Commit();
    int32_t key = 25;
    EXPECT_EQ(Search(keyField, &key, true, &key, true), (std::vector<oid_t>{kept[25], late}));
}

// A writer that holds its lock too long loses it, and its transaction with
// it: what it had queued must not reach the trees of the writer that takes
// over, from another thread of its engine or from another engine, nor when
// it lets go without a commit.
TEST(TreeIndexQueue, ADroppedWritersQueueNeverReachesTheTrees)
{
    for (bool sameEngine : {true, false}) {
        SCOPED_TRACE(sameEngine ? "another thread" : "another engine");
        const std::string name = UniqueName("dropped");
        dbEngine writer(dbEngine::dbAllAccess, 8 << 20, 1 << 20, 8194, 1);
        dbEngine waiter(dbEngine::dbAllAccess, 8 << 20, 1 << 20, 8194, 1);
        dbTableInfo written("Keyed", &writer, sizeof(Keyed), DescribeKeyed);
        dbTableInfo waited("Keyed", &waiter, sizeof(Keyed), DescribeKeyed);
        ASSERT_TRUE(writer.Open(name.c_str(), nullptr, 100));
        ASSERT_TRUE(waiter.Open(name.c_str(), nullptr, 100));
        dbEngine& next = sameEngine ? writer : waiter;
        dbTableInfo& nextTable = sameEngine ? written : waited;
        for (int32_t k = 0; k < 50; ++k) {
            Keyed rec{k, "lost"};
            ASSERT_NE(writer.InsertRecord(&written, &rec), 0u);
        }
        std::thread other([&] {
            Keyed rec{7, "kept"};
            next.InsertRecord(&nextTable, &rec); // waits, then takes over
            next.Commit();
            next.Detach();
        });
        other.join();
        EXPECT_THROW(writer.Commit(), dbException);
        writer.Detach(0);

        dbTypedCursor<Keyed> rows(&nextTable);
        int32_t low = INT32_MIN;
        dbQueryText all;
        all.Append(dbFragText, "key>=").Append(dbFragInt4, &low).Append(dbFragText, " order by key");
        ASSERT_EQ(rows.Select(all, dbCursorViewOnly), 1);
        EXPECT_STREQ(rows->name, "kept");
        std::string problems;
        EXPECT_TRUE(dbImageChecker::Check(next, &problems)) << problems;
        next.Commit();
        writer.Close();
        waiter.Close();
    }
}

} // namespace
