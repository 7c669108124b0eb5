// Select plans over hashed fields, and random conditions answered through
// the indices of one table and by a scan of an unindexed twin holding the
// same rows, both checked against a brute-force evaluation.
#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
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

struct Shape {
    int32_t ID;
    int32_t Code;
    int32_t Rank;
    char* Label;
    double Weight;
};

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
};

class QueryPeriphery : public ::testing::Test {
  protected:
    QueryPeriphery() : db(dbEngine::dbAllAccess, 16 << 20, 4 << 20, 8194, 1)
    {
        static int counter = 0;
        indexed.reset(new dbTableInfo("IndexedShape", &db, sizeof(Shape), DescribeIndexedShape));
        plain.reset(new dbTableInfo("PlainShape", &db, sizeof(Shape), DescribePlainShape));
        std::string name = "periphery-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        EXPECT_TRUE(db.Open(name.c_str()));
    }
    ~QueryPeriphery() override { db.Close(); }

    void Insert(const Plain& p)
    {
        Shape s{p.ID, p.Code, p.Rank, const_cast<char*>(p.Label.c_str()), p.Weight};
        ASSERT_NE(db.InsertRecord(indexed.get(), &s), 0u);
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

}  // namespace
