// The R-tree under random inserts, updates and removals against a model,
// its structure checked after each batch; its searches against brute force;
// the rectangle predicates and measures at the ends of the coordinate range.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <set>

#include "MemDB/dbIndexSearch.h"
#include "MemDB/dbRectangle.h"
#include "MemDB/dbSpatialIndex.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Placed {
    dbRectangle box;
    int32_t serial;  // a tree index lets removals find the record's table at once
};

dbFieldInfo* DescribePlaced()
{
    return dbFieldList({dbDescribe<dbRectangle>("box", offsetof(Placed, box), dbFieldInfo::INDEXED),
                        dbDescribe<int32_t>("serial", offsetof(Placed, serial), dbFieldInfo::INDEXED)});
}

class SpatialIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = base.AddTable("Placed", sizeof(Placed), DescribePlaced);
        ASSERT_TRUE(base.Open());
        box = table->FindField("box");
    }
    dbEngine& db() { return base.db; }

    oid_t Insert(const dbRectangle& r)
    {
        Placed p{r, serial++};
        oid_t id = db().InsertRecord(table, &p);
        boxOf[id] = r;
        return id;
    }
    void Remove(oid_t id)
    {
        ASSERT_TRUE(db().RemoveRecord(table, id));
        boxOf.erase(id);
    }
    dbRtreeHeader Header()
    {
        dbRtreeHeader h;
        memcpy(&h, db().GetObject(box->tTree), sizeof h);
        return h;
    }
    dbRtreePage Page(oid_t id)
    {
        EXPECT_EQ(db().GetEntry(id) & dbFlagsMask, uint32_t(dbRtreePageKind));
        dbRtreePage p;
        memcpy(&p, db().GetObject(id), sizeof p);
        return p;
    }
    // Checks fill and covers below page; collects the leaf branches.
    dbRectangle CheckPage(oid_t page, uint32_t level, bool root, std::map<oid_t, dbRectangle>& leaves)
    {
        dbRtreePage p = Page(page);
        EXPECT_LE(p.n, uint32_t(dbRtreePage::MaxBranches));
        if (!root) {
            EXPECT_GE(p.n, uint32_t(dbRtreePage::MinBranches)) << "page " << page;
        }
        dbRectangle cover = p.branch[0].rect;
        for (uint32_t i = 0; i < p.n; i++) {
            const dbRtreeBranch& b = p.branch[i];
            cover = dbRectangleCover(cover, b.rect);
            if (level == 1) {
                EXPECT_TRUE(leaves.emplace(b.id, b.rect).second) << "record " << b.id << " twice";
            } else {
                dbRectangle below = CheckPage(b.id, level - 1, false, leaves);
                EXPECT_TRUE(dbRectanglesEqual(below, b.rect)) << "inexact cover at level " << level;
            }
        }
        return cover;
    }
    void CheckTree()
    {
        std::map<oid_t, dbRectangle> leaves;
        dbRtreeHeader h = Header();
        if (h.height != 0)
            CheckPage(h.root, h.height, true, leaves);
        ASSERT_EQ(leaves.size(), boxOf.size());
        for (auto& kv : boxOf) {
            ASSERT_TRUE(leaves.count(kv.first));
            ASSERT_TRUE(dbRectanglesEqual(leaves[kv.first], kv.second));
        }
    }
    std::set<oid_t> Find(int op, const dbRectangle& q)
    {
        dbRecordCursor cursor(table);
        dbIndexSearch s;
        s.db = &db();
        s.cursor = &cursor;
        s.firstKey = &q;
        s.spatialOp = op;
        dbSpatialIndex::Find(&db(), box->tTree, s);
        std::vector<oid_t> ids(cursor.GetNumberOfRecords());
        cursor.ToArray(ids.data());
        EXPECT_EQ(std::set<oid_t>(ids.begin(), ids.end()).size(), ids.size());
        return std::set<oid_t>(ids.begin(), ids.end());
    }
    std::set<oid_t> BruteForce(int op, const dbRectangle& q)
    {
        std::set<oid_t> ids;
        for (auto& kv : boxOf)
            if (dbRectanglePredicate(op, kv.second, q))
                ids.insert(kv.first);
        return ids;
    }

    Database base;
    dbTableInfo* table = nullptr;
    dbFieldInfo* box = nullptr;
    std::map<oid_t, dbRectangle> boxOf;
    int32_t serial = 0;
};

dbRectangle RandomBox(std::mt19937& rng, int32_t span)
{
    int32_t x = static_cast<int32_t>(rng() % 1000), y = static_cast<int32_t>(rng() % 1000);
    return dbRectangle{x, y, x + static_cast<int32_t>(rng() % span), y + static_cast<int32_t>(rng() % span)};
}

TEST_F(SpatialIndexTest, RandomChangesKeepPagesFullAndCoversExact)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 10; round++) {
        for (int step = 0; step < 600; step++) {
            int op = rng() % 10;
            if (op < (round < 6 ? 8 : 3) || boxOf.empty()) {
                Insert(RandomBox(rng, 60));
            } else {
                auto it = boxOf.begin();
                std::advance(it, rng() % boxOf.size());
                if (op < 8) {
                    Remove(it->first);
                } else {
                    Placed p{RandomBox(rng, 60), serial++};
                    ASSERT_TRUE(db().UpdateRecord(it->first, table, &p));
                    it->second = p.box;
                }
            }
        }
        CheckTree();
        for (int op = dbSpatialEqual; op <= dbSpatialInside; op++) {
            dbRectangle q = op == dbSpatialEqual ? boxOf.begin()->second : RandomBox(rng, 300);
            ASSERT_EQ(Find(op, q), BruteForce(op, q)) << "operation " << op;
        }
        ASSERT_TRUE(base.Consistent());
        if (round % 3 == 2)
            db().Commit();
    }
    EXPECT_GE(Header().height, 2u);
}

TEST_F(SpatialIndexTest, ThreeLevelsShrinkBackToOne)
{
    // Removals that empty inner pages reinsert whole subtrees one level up.
    std::mt19937 rng(31);
    for (int i = 0; i < 45000; i++)
        Insert(RandomBox(rng, 20));
    ASSERT_EQ(Header().height, 3u);
    CheckTree();
    std::vector<oid_t> ids;
    for (auto& kv : boxOf)
        ids.push_back(kv.first);
    std::shuffle(ids.begin(), ids.end(), rng);
    for (size_t i = 0; i < ids.size(); i++) {
        Remove(ids[i]);
        if (i % 9000 == 0) {
            CheckTree();
            dbRectangle q = RandomBox(rng, 200);
            ASSERT_EQ(Find(dbSpatialOverlaps, q), BruteForce(dbSpatialOverlaps, q));
        }
    }
    EXPECT_EQ(Header().height, 1u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(SpatialIndexTest, PredicatesOnTouchingAndEqualRectangles)
{
    const dbRectangle q{0, 0, 10, 10};
    struct Case {
        dbRectangle a;
        bool holds[6];  // equal, overlaps, strictly contains, contains, strictly inside, inside
    } cases[] = {
        {{0, 0, 10, 10}, {true, true, false, true, false, true}},
        {{10, 10, 20, 20}, {false, true, false, false, false, false}},
        {{10, 0, 20, 10}, {false, true, false, false, false, false}},
        {{11, 0, 20, 10}, {false, false, false, false, false, false}},
        {{-1, 0, 10, 10}, {false, true, true, true, false, false}},
        {{0, 0, 10, 9}, {false, true, false, false, true, true}},
        {{2, 2, 3, 3}, {false, true, false, false, true, true}},
    };
    for (const Case& c : cases) {
        oid_t id = Insert(c.a);
        for (int op = 0; op < 6; op++) {
            EXPECT_EQ(dbRectanglePredicate(op, c.a, q), c.holds[op])
                << c.a.left << "," << c.a.top << "," << c.a.right << "," << c.a.bottom << " op " << op;
            EXPECT_EQ(Find(op, q).count(id), c.holds[op] ? 1u : 0u);
        }
        Remove(id);
    }
}

TEST_F(SpatialIndexTest, ExtremeCoordinatesAreExact)
{
    std::mt19937 rng(5);
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    for (int i = 0; i < 600; i++) {
        int32_t a = static_cast<int32_t>(rng()), b = static_cast<int32_t>(rng());
        switch (i % 4) {
        case 0: Insert({lo, lo, hi, hi}); break;
        case 1: Insert({lo, a, a, hi}); break;
        case 2: Insert({std::min(a, b), lo, std::max(a, b), lo}); break;
        default: Insert({hi, hi, hi, hi}); break;
        }
    }
    CheckTree();
    for (int op = 0; op < 6; op++) {
        for (const dbRectangle& q : {dbRectangle{lo, lo, hi, hi}, dbRectangle{hi, hi, hi, hi},
                                     dbRectangle{0, lo, 0, lo}}) {
            ASSERT_EQ(Find(op, q), BruteForce(op, q)) << "operation " << op;
        }
    }
    const dbArea side = (dbArea(1) << 32) - 1;
    EXPECT_TRUE(dbRectangleArea({lo, lo, hi, hi}) == side * side);
    EXPECT_TRUE(dbRectangleArea({hi, hi, lo, lo}) == side * side) << "both sides negative";
    EXPECT_TRUE(dbRectangleArea({hi, lo, lo, hi}) == -side * side);
    while (!boxOf.empty())
        Remove(boxOf.begin()->first);
    EXPECT_EQ(Header().height, 1u);
    EXPECT_TRUE(base.Consistent());
}

TEST(RectangleDistance, GapsOverBothAxes)
{
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    struct Case {
        dbRectangle a, b;
        uint64_t distance;
    } cases[] = {
        {{0, 0, 1, 1}, {1, 1, 2, 2}, 0},
        {{0, 0, 1, 1}, {4, 5, 6, 6}, 5},
        {{4, 5, 6, 6}, {0, 0, 1, 1}, 5},
        {{0, 0, 1, 1}, {0, 7, 1, 9}, 6},
        {{lo, lo, lo, lo}, {hi, lo, hi, lo}, 4294967295u},
        {{lo, lo, lo, lo}, {hi, hi, hi, hi}, 6074000998u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dbRectangleDistance(c.a, c.b), c.distance);
}

TEST_F(SpatialIndexTest, TheSplitAndTheCollapse)
{
    std::vector<oid_t> ids;
    for (int32_t i = 0; i < 204; i++)
        ids.push_back(Insert({i, 0, i + 1, 1}));
    EXPECT_EQ(Header().height, 1u);
    EXPECT_EQ(Page(Header().root).n, 204u);
    ids.push_back(Insert({204, 0, 205, 1}));
    dbRtreeHeader h = Header();
    ASSERT_EQ(h.height, 2u);
    dbRtreePage root = Page(h.root);
    ASSERT_EQ(root.n, 2u);
    EXPECT_GE(Page(root.branch[0].id).n, 102u);
    EXPECT_GE(Page(root.branch[1].id).n, 102u);
    CheckTree();

    // Removing from the leaf of 102 leaves 101: it is taken out and its
    // branches go into the other leaf, which the root then is.
    dbRtreePage smaller = Page(root.branch[Page(root.branch[0].id).n == 102 ? 0 : 1].id);
    ASSERT_EQ(smaller.n, 102u);
    Remove(smaller.branch[0].id);
    h = Header();
    EXPECT_EQ(h.height, 1u) << "the root with a single branch collapsed";
    EXPECT_EQ(Page(h.root).n, 204u);
    CheckTree();
    EXPECT_TRUE(base.Consistent());

    // A record absent under its rectangle changes nothing.
    Placed moved{{500, 500, 501, 501}, 0};
    oid_t stray = boxOf.begin()->first;
    memcpy(db().PutObject(stray) + box->dbsOffs, &moved.box, sizeof moved.box);
    dbSpatialIndex::Remove(&db(), box->tTree, stray, box->dbsOffs);
    CheckTree();
}

} // namespace
