// Select plans over hashed and rectangle fields and reference paths, and
// random conditions (with method fields and user functions among them)
// answered through the indices of one table and by a scan of an unindexed
// twin holding the same rows, both checked against a brute-force evaluation.
#include "MemDB/dbCursor.h"
#include "MemDB/dbCustomFunction.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbSelect.h"
#include "MemDB/dbTableInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Shape {
    int32_t ID;
    int32_t Code;
    int32_t Rank;
    char* Label;
    double Weight;
    dbRectangle Box;
    dbReference Owner;
};

struct Group {
    int32_t Tag;
    dbArray<dbReference> Members;
    dbReference Parent;
    dbArray<dbReference> Children;
};

dbFieldInfo* DescribeGroup(bool indexed)
{
    const char* table = indexed ? "IndexedGroup" : "PlainGroup";
    return dbFieldList({
        dbDescribe<int32_t>("Tag", offsetof(Group, Tag), indexed ? int(dbFieldInfo::HASHED) : 0),
        dbDescribeReferenceArray("Members", offsetof(Group, Members), indexed ? "IndexedShape" : "PlainShape",
                                 indexed ? "Owner" : nullptr),
        dbDescribeReference("Parent", offsetof(Group, Parent), table, indexed ? "Children" : nullptr),
        dbDescribeReferenceArray("Children", offsetof(Group, Children), table,
                                 indexed ? "Parent" : nullptr),
    });
}

dbFieldInfo* DescribeIndexedGroup()
{
    return DescribeGroup(true);
}

dbFieldInfo* DescribePlainGroup()
{
    return DescribeGroup(false);
}

// Fields computed from the stored record: the width of Box, and a text
// that is null for odd IDs.
struct Width : dbFieldMethod {
    void Invoke(const void* record, void* value) const override
    {
        dbRectangle box;
        std::memcpy(&box, static_cast<const char*>(record) + boxOffset, sizeof box);
        int32_t width = box.right - box.left;
        std::memcpy(value, &width, 4);
    }
    size_t boxOffset = 0;
} width;

struct Nickname : dbFieldMethod {
    void Invoke(const void* record, void* value) const override
    {
        int32_t id;
        std::memcpy(&id, static_cast<const char*>(record) + idOffset, 4);
        char* text = id % 2 != 0 ? nullptr : strdup(("N" + std::to_string(id % 10)).c_str());
        std::memcpy(value, &text, sizeof text);
    }
    size_t idOffset = 0;
} nickname;

int64_t Parity(int64_t x)
{
    return x & 1;
}

dbCustomFunction parity("parity", reinterpret_cast<dbCustomFunction::Function>(Parity), 3);

dbFieldInfo* DescribeShape(bool indexed)
{
    int hashed = indexed ? int(dbFieldInfo::HASHED) : 0;
    int both = indexed ? int(dbFieldInfo::HASHED | dbFieldInfo::INDEXED) : 0;
    return dbFieldList({
        dbDescribe<int32_t>("ID", offsetof(Shape, ID)),
        dbDescribe<int32_t>("Code", offsetof(Shape, Code), hashed),
        dbDescribe<int32_t>("Rank", offsetof(Shape, Rank), both),
        dbDescribe<char*>("Label", offsetof(Shape, Label), hashed),
        dbDescribe<double>("Weight", offsetof(Shape, Weight), hashed),
        dbDescribe<dbRectangle>("Box", offsetof(Shape, Box), indexed ? int(dbFieldInfo::INDEXED) : 0),
        dbDescribeReference("Owner", offsetof(Shape, Owner), indexed ? "IndexedGroup" : "PlainGroup",
                            indexed ? "Members" : nullptr),
        dbDescribeMethod("Width", dbFieldInfo::tpInt4, &width),
        dbDescribeMethod("Nickname", dbFieldInfo::tpString, &nickname),
    });
}

dbFieldInfo* DescribeIndexedShape()
{
    return DescribeShape(true);
}

dbFieldInfo* DescribePlainShape()
{
    return DescribeShape(false);
}

// A row as the oracle sees it.
struct Plain {
    int32_t ID = 0, Code = 0, Rank = 0;
    std::string Label;
    double Weight = 0;
    dbRectangle Box{0, 0, 0, 0};
    int Owner = 0;  // group number
};

// A group as the oracle sees it.
struct PlainGroup {
    int32_t Tag;
    int Parent;
};

class QueryPeriphery : public ::testing::Test {
  protected:
    QueryPeriphery() : db(dbEngine::dbAllAccess, 16 << 20, 4 << 20, 8194, 1)
    {
        static int counter = 0;
        indexed.reset(new dbTableInfo("IndexedShape", &db, sizeof(Shape), DescribeIndexedShape));
        plain.reset(new dbTableInfo("PlainShape", &db, sizeof(Shape), DescribePlainShape));
        indexedGroups.reset(new dbTableInfo("IndexedGroup", &db, sizeof(Group), DescribeIndexedGroup));
        plainGroups.reset(new dbTableInfo("PlainGroup", &db, sizeof(Group), DescribePlainGroup));
        width.boxOffset = indexed->FindField("Box")->dbsOffs;
        nickname.idOffset = indexed->FindField("ID")->dbsOffs;
        std::string name = "periphery-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        EXPECT_TRUE(db.Open(name.c_str()));
    }
    ~QueryPeriphery() override { db.Close(); }

    // Groups with the given tags, each the parent of the next and the last
    // the parent of the first.
    void AddGroups(const std::vector<int32_t>& tags)
    {
        for (auto* t : {indexedGroups.get(), plainGroups.get()}) {
            std::vector<oid_t>& ids = t == indexedGroups.get() ? indexedGroupIds : plainGroupIds;
            for (int32_t tag : tags) {
                Group g{tag, {}, {ids.empty() ? 0 : ids.back()}, {}};
                ids.push_back(db.InsertRecord(t, &g));
            }
            Group first{};
            ASSERT_TRUE(db.FetchRecord(ids[0], t, &first));
            first.Parent.oid = ids.back();
            ASSERT_TRUE(db.UpdateRecord(ids[0], t, &first));
        }
        for (size_t i = 0; i < tags.size(); i++)
            groups.push_back({tags[i], static_cast<int>(i == 0 ? tags.size() - 1 : i - 1)});
    }

    void Insert(const Plain& p)
    {
        Shape s{p.ID, p.Code, p.Rank, const_cast<char*>(p.Label.c_str()), p.Weight, p.Box, {0}};
        if (!indexedGroupIds.empty())
            s.Owner.oid = indexedGroupIds[p.Owner];
        ASSERT_NE(db.InsertRecord(indexed.get(), &s), 0u);
        if (!plainGroupIds.empty())
            s.Owner.oid = plainGroupIds[p.Owner];
        ASSERT_NE(db.InsertRecord(plain.get(), &s), 0u);
        rows.push_back(p);
    }

    // The ID fields of the selected rows, sorted.
    std::vector<int32_t> Select(dbQueryText& q, dbTableInfo* from)
    {
        dbTypedCursor<Shape> cursor(from);
        std::vector<int32_t> ids;
        if (cursor.Select(q, dbCursorViewOnly) > 0) {
            do
                ids.push_back(cursor->ID);
            while (cursor.Next() != nullptr);
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    std::vector<int32_t> Select(const char* text, dbTableInfo* from = nullptr)
    {
        dbQueryText q;
        q.Append(dbFragText, text);
        return Select(q, from ? from : indexed.get());
    }

    dbEngine db;
    std::unique_ptr<dbTableInfo> indexed;
    std::unique_ptr<dbTableInfo> plain;
    std::unique_ptr<dbTableInfo> indexedGroups;
    std::unique_ptr<dbTableInfo> plainGroups;
    std::vector<oid_t> indexedGroupIds, plainGroupIds;
    std::vector<PlainGroup> groups;
    std::vector<Plain> rows;
};

TEST_F(QueryPeriphery, EqualityChoosesTheHashIndex)
{
    for (int i = 0; i < 30; i++)
        Insert({i, i % 7, i % 5, "L" + std::to_string(i % 4), i % 3 * 0.5});
    dbArray<int32_t> codes;
    const int32_t wanted[] = {2, 3, 2};
    codes.Assign(wanted, 3);
    dbQueryText in;
    in.Append(dbFragText, "Code in ").Append(dbFragArrayOfInt4, &codes);
    struct Case {
        const char* text;
        int hashSearches;
        int indexSearches;
        size_t found;
    } cases[] = {
        {"Code = 3", 1, 1, 4},
        {"Code between 3 and 3", 1, 1, 4},
        {"Code > 3", 0, 0, 12},
        {"Rank = 2", 1, 1, 6},
        {"Rank > 2", 0, 1, 12},
        {"Label = 'L1'", 1, 1, 8},
        {"Label like 'L1'", 1, 1, 8},
        {"Label like 'L%'", 0, 0, 30},
        {"Weight = 0.5", 1, 1, 10},
        {"Code = 3 and Rank = 3", 1, 1, 1},
        {"Code = 3 or Code = 4", 2, 2, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Select(c.text).size(), c.found) << c.text;
        EXPECT_EQ(dbLastSelectPlan().hashSearches, c.hashSearches) << c.text;
        EXPECT_EQ(dbLastSelectPlan().indexSearches, c.indexSearches) << c.text;
    }
    EXPECT_EQ(Select(in, indexed.get()).size(), 8u);
    EXPECT_EQ(dbLastSelectPlan().hashSearches, 3) << "each element once, no id twice";
}

TEST_F(QueryPeriphery, RectangleComparisonsChooseTheRtree)
{
    for (int i = 0; i < 40; i++)
        Insert({i, 0, 0, "", 0, dbRectangle{i, i, i + 4, i + 4}});
    dbRectangle view{10, 10, 20, 20};
    struct Case {
        const char* text;
        size_t found;
    } cases[] = {
        {"Box overlaps ", 15}, {"Box = ", 0}, {"Box > ", 0}, {"Box >= ", 0},
        {"Box < ", 7}, {"Box <= ", 7}, {"Box in ", 7},
    };
    for (const Case& c : cases) {
        dbQueryText q;
        q.Append(dbFragText, c.text).Append(dbFragRectangle, &view);
        EXPECT_EQ(Select(q, indexed.get()).size(), c.found) << c.text;
        EXPECT_EQ(dbLastSelectPlan().spatialSearches, 1) << c.text;
        EXPECT_EQ(Select(q, plain.get()).size(), c.found) << c.text;
    }
    EXPECT_EQ(Select("Box overlaps (10, 10, 20, 20)").size(), 15u);
    EXPECT_EQ(dbLastSelectPlan().spatialSearches, 0) << "a rectangle literal is scanned";
}

TEST_F(QueryPeriphery, ReferencePathsFollowInverseReferencesBack)
{
    AddGroups({1, 2, 3});
    for (int i = 0; i < 30; i++) {
        Plain p;
        p.ID = i;
        p.Owner = i % 3;
        Insert(p);
    }
    struct Case {
        const char* text;
        size_t found;
        int inverseSearches;
    } cases[] = {
        {"Owner.Tag = 2", 10, 1},
        {"Owner.Parent.Tag = 2", 10, 1},
        {"Owner.Tag = 2 and ID < 15", 5, 1},
        {"Owner.Tag = 2 or Owner.Tag = 3", 20, 2},
        {"Owner.Tag > 1", 20, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Select(c.text).size(), c.found) << c.text;
        EXPECT_EQ(dbLastSelectPlan().inverseSearches, c.inverseSearches) << c.text;
        EXPECT_EQ(dbLastSelectPlan().rowsScanned, c.inverseSearches ? 0 : 30) << c.text;
    }
}

// A random condition: its query, built from text and bound variables, and
// its meaning for the oracle.
struct Condition {
    struct Piece {
        int kind;  // dbFragText or a variable's fragment kind
        std::string text;
        const void* value;
    };
    std::vector<Piece> pieces;
    std::function<bool(const Plain&)> test;

    void Fill(dbQueryText& q) const
    {
        for (const Piece& p : pieces) {
            if (p.kind == dbFragText)
                q.Append(dbFragText, p.text.c_str());
            else
                q.Append(p.kind, p.value);
        }
    }
    static Condition Text(std::string text, std::function<bool(const Plain&)> test)
    {
        return {{{dbFragText, std::move(text), nullptr}}, std::move(test)};
    }
};

bool Holds(int op, const dbRectangle& a, const dbRectangle& b)
{
    bool equal = a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    auto contains = [](const dbRectangle& x, const dbRectangle& y) {
        return x.left <= y.left && x.top <= y.top && y.right <= x.right && y.bottom <= x.bottom;
    };
    switch (op) {
      case 0: return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
      case 1: return equal;
      case 2: return contains(a, b) && !equal;
      case 3: return contains(a, b);
      case 4: return contains(b, a) && !equal;
      default: return contains(b, a);
    }
}

class Generator {
  public:
    Generator(unsigned seed, const std::vector<PlainGroup>& groups) : rng(seed), groups(groups)
    {
        for (dbRectangle& r : views)
            r = Box();
        for (int i = 0; i < 3; i++) {
            int32_t v[4];
            for (int32_t& x : v)
                x = Pick(9);
            codes[i].Assign(v, 1 + Pick(4));
        }
    }
    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    dbRectangle Box()
    {
        int32_t x = Pick(40), y = Pick(40);
        return dbRectangle{x, y, x + Pick(12), y + Pick(12)};
    }

    Condition Atom()
    {
        switch (Pick(10)) {
          case 9: {
            int v = Pick(2);
            return Condition::Text("parity(Rank) = " + std::to_string(v),
                                   [=](const Plain& r) { return (r.Rank & 1) == v; });
          }
          case 8: {
            int v = Pick(12);
            if (Pick(2) == 0)
                return Condition::Text("Width > " + std::to_string(v),
                                       [=](const Plain& r) { return r.Box.right - r.Box.left > v; });
            std::string n = v % 3 == 0 ? "" : "N" + std::to_string(v % 10);
            return Condition::Text("Nickname = '" + n + "'", [=](const Plain& r) {
                return (r.ID % 2 != 0 ? std::string() : "N" + std::to_string(r.ID % 10)) == n;
            });
          }
          case 7: {
            int v = Pick(5);
            const std::vector<PlainGroup>* g = &groups;
            if (Pick(2) == 0)
                return Condition::Text("Owner.Tag = " + std::to_string(v),
                                       [=](const Plain& r) { return (*g)[r.Owner].Tag == v; });
            return Condition::Text("Owner.Parent.Tag = " + std::to_string(v),
                                   [=](const Plain& r) { return (*g)[(*g)[r.Owner].Parent].Tag == v; });
          }
          case 0: {
            int v = Pick(9);
            return Condition::Text("Code = " + std::to_string(v), [=](const Plain& r) { return r.Code == v; });
          }
          case 1: {
            const dbArray<int32_t>* a = &codes[Pick(3)];
            std::vector<int32_t> in(static_cast<const int32_t*>(a->data),
                                    static_cast<const int32_t*>(a->data) + a->used);
            return {{{dbFragText, "Code in ", nullptr}, {dbFragArrayOfInt4, "", a}},
                    [=](const Plain& r) { return std::find(in.begin(), in.end(), r.Code) != in.end(); }};
          }
          case 2: {
            int lo = Pick(6), hi = lo + Pick(3) * Pick(2);
            return Condition::Text("Rank between " + std::to_string(lo) + " and " + std::to_string(hi),
                                   [=](const Plain& r) { return r.Rank >= lo && r.Rank <= hi; });
          }
          case 3: {
            std::string l = "L" + std::to_string(Pick(5));
            if (Pick(2) == 0)
                return Condition::Text("Label = '" + l + "'", [=](const Plain& r) { return r.Label == l; });
            return Condition::Text("Label like '" + l + "%'",
                                   [=](const Plain& r) { return r.Label.compare(0, l.size(), l) == 0; });
          }
          case 4: {
            static const char* const texts[] = {"0", "0.5", "-0.5", "1"};
            static const double values[] = {0, 0.5, -0.5, 1};
            int k = Pick(4);
            double v = values[k];
            return Condition::Text(std::string("Weight = ") + texts[k], [=](const Plain& r) { return r.Weight == v; });
          }
          default: {
            static const char* const ops[] = {"Box overlaps ", "Box = ", "Box > ", "Box >= ", "Box < ", "Box <= "};
            int op = Pick(6);
            const dbRectangle* view = &views[Pick(4)];
            return {{{dbFragText, ops[op], nullptr}, {dbFragRectangle, "", view}},
                    [=](const Plain& r) { return Holds(op, r.Box, *view); }};
          }
        }
    }

    Condition Any(int depth)
    {
        int k = depth > 1 ? 0 : Pick(4);
        if (k <= 1)
            return Atom();
        Condition a = Any(depth + 1);
        Condition b = Any(depth + 1);
        Condition c;
        c.pieces.push_back({dbFragText, "(", nullptr});
        c.pieces.insert(c.pieces.end(), a.pieces.begin(), a.pieces.end());
        c.pieces.push_back({dbFragText, k == 2 ? ") and (" : ") or (", nullptr});
        c.pieces.insert(c.pieces.end(), b.pieces.begin(), b.pieces.end());
        c.pieces.push_back({dbFragText, ")", nullptr});
        if (k == 2)
            c.test = [=](const Plain& r) { return a.test(r) && b.test(r); };
        else
            c.test = [=](const Plain& r) { return a.test(r) || b.test(r); };
        return c;
    }

    std::mt19937 rng;
    const std::vector<PlainGroup>& groups;
    dbRectangle views[4];
    dbArray<int32_t> codes[3];
};

TEST_F(QueryPeriphery, IndexedAndScannedAnswersAgreeWithBruteForce)
{
    Generator gen(20261210, groups);
    AddGroups({0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 4, 1});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double weights[] = {0, -0.0, 0.5, -0.5, 1, nan};
    for (int i = 0; i < 500; i++) {
        Plain p;
        p.ID = i;
        p.Code = gen.Pick(9);
        p.Rank = gen.Pick(8);
        p.Label = "L" + std::to_string(gen.Pick(6)) + (gen.Pick(2) ? "x" : "");
        p.Weight = weights[gen.Pick(6)];
        p.Box = gen.Box();
        p.Owner = gen.Pick(12);
        Insert(p);
    }
    int indexed = 0;
    for (int round = 0; round < 300; round++) {
        Condition c = gen.Any(0);
        std::vector<int32_t> want;
        for (const Plain& r : rows)
            if (c.test(r))
                want.push_back(r.ID);
        dbQueryText q;
        c.Fill(q);
        char text[512];
        q.DumpValues(text, sizeof text);
        ASSERT_EQ(want, Select(q, this->indexed.get())) << text;
        indexed += dbLastSelectPlan().indexSearches != 0;
        ASSERT_EQ(want, Select(q, plain.get())) << text;
        ASSERT_EQ(0, dbLastSelectPlan().indexSearches) << text;
    }
    EXPECT_GT(indexed, 150) << "most conditions went through an index";
}

}  // namespace
