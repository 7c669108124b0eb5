// An image built by one engine and attached by another that describes only
// some of its tables: the others are described from the dictionary, listed
// and queried.
#include <gtest/gtest.h>

#include "MemDB/dbQueryText.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Kept {
    int32_t n;
};

dbFieldInfo* DescribeKept()
{
    return dbFieldList({dbDescribe<int32_t>("n", offsetof(Kept, n), dbFieldInfo::INDEXED)});
}

struct Described {
    int32_t code;
    const char* name;
    dbRectangle box;
    dbArray<int16_t> list;
    Point pt;
    dbReference kept;
    double weight;
};

dbFieldInfo* DescribeDescribed()
{
    return dbFieldList({
        dbDescribe<int32_t>("code", offsetof(Described, code), dbFieldInfo::HASHED),
        dbDescribe<const char*>("name", offsetof(Described, name), dbFieldInfo::INDEXED),
        dbDescribe<dbRectangle>("box", offsetof(Described, box), dbFieldInfo::INDEXED),
        dbDescribeArray<int16_t>("list", offsetof(Described, list)),
        dbDescribeStruct("pt", offsetof(Described, pt), sizeof(Point), PointMembers()),
        dbDescribeReference("kept", offsetof(Described, kept), "Kept"),
        dbDescribe<double>("weight", offsetof(Described, weight)),
    });
}

template <class T>
T Read(const std::vector<uint8_t>& app, const dbFieldInfo* fd)
{
    T v;
    memcpy(&v, app.data() + fd->appOffs, sizeof v);
    return v;
}

TEST(DictionaryOnly, TablesNoDescriptorNamesAreDescribedFromTheDictionary)
{
    std::string name = UniqueName("dict");
    dbEngine builder(dbEngine::dbAllAccess, 8 << 20, 1 << 20, 8194, 1);
    dbTableInfo kept("Kept", &builder, sizeof(Kept), DescribeKept);
    dbTableInfo described("Described", &builder, sizeof(Described), DescribeDescribed);
    ASSERT_TRUE(builder.Open(name.c_str()));
    Kept k{9};
    oid_t keptId = builder.InsertRecord(&kept, &k);
    for (int16_t i = 0; i < 20; i++) {
        std::string text = "row" + std::to_string(i);
        Described d{i % 4, text.c_str(), {i, i, i + 1, i + 1}, {}, {i, i * 10}, {keptId}, i * 0.5};
        const int16_t items[3] = {i, int16_t(i + 1), int16_t(i + 2)};
        d.list.Assign(items, static_cast<size_t>(i % 4));
        ASSERT_NE(builder.InsertRecord(&described, &d), 0u);
    }
    builder.Commit();

    dbEngine reader(dbEngine::dbAllAccess, 8 << 20, 1 << 20, 8194, 1);
    dbTableInfo readerKept("Kept", &reader, sizeof(Kept), DescribeKept);
    ASSERT_TRUE(reader.Open(name.c_str()));
    EXPECT_EQ(reader.FindTable("Described"), nullptr) << "not described yet";
    ASSERT_EQ(reader.LoadDictionary(), 1);
    EXPECT_EQ(reader.LoadDictionary(), 0) << "every table is described now";
    dbTableInfo* t = reader.FindTable("Described");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->tableId, described.tableId);
    EXPECT_EQ(RowCountOf(reader, t), 20u);
    EXPECT_EQ(t->FindField("code")->hashTable, described.FindField("code")->hashTable);
    EXPECT_EQ(t->FindField("kept")->refTable, &readerKept);

    dbQueryText q;
    q.Append(dbFragText, "code = 2 and pt.y >= 100 order by name");
    std::vector<uint8_t> app(t->appSize);
    dbRecordCursor c(t, dbCursorViewOnly, app.data());
    ASSERT_EQ(c.Select(q, dbCursorViewOnly), 3);
    EXPECT_STREQ(Read<const char*>(app, t->FindField("name")), "row10");
    EXPECT_EQ(Read<int32_t>(app, t->FindField("code")), 2);
    EXPECT_EQ(Read<double>(app, t->FindField("weight")), 5.0);
    // Structure members sit at their offsets within the structure.
    dbFieldInfo* pt = t->FindField("pt");
    int32_t y;
    memcpy(&y, app.data() + pt->appOffs + pt->FindComponent("y")->appOffs, 4);
    EXPECT_EQ(y, 100);
    auto list = Read<dbAnyArray>(app, t->FindField("list"));
    ASSERT_EQ(list.used, 2u);
    EXPECT_EQ(static_cast<const int16_t*>(list.data)[1], 11);
    dbRectangle box = Read<dbRectangle>(app, t->FindField("box"));
    EXPECT_EQ(box.right, 11);

    dbRectangle view{0, 0, 3, 3};
    dbQueryText overlapping;
    overlapping.Append(dbFragText, "box overlaps ").Append(dbFragRectangle, &view);
    EXPECT_EQ(c.Select(overlapping, dbCursorViewOnly), 4);
    EXPECT_EQ(c.SelectByKey("name", "row7"), 1);
    EXPECT_EQ(Read<uint32_t>(app, t->FindField("kept")), keptId);

    reader.Close();
    builder.Close();
}

} // namespace
