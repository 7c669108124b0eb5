// Schema load: dictionary records and indices of a fresh image, reloading
// an unchanged schema, and converting the rows of a changed table.
#include <gtest/gtest.h>

#include <cmath>

#include "MemDB/dbTreeIndex.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct First {
    int32_t id;
    const char* name;
    int16_t small;
};

struct Second {
    int32_t parent;
};

dbFieldInfo* DescribeFirst()
{
    return dbFieldList({dbDescribe<int32_t>("id", offsetof(First, id), dbFieldInfo::INDEXED),
                        dbDescribe<const char*>("name", offsetof(First, name),
                                                dbFieldInfo::INDEXED),
                        dbDescribe<int16_t>("small", offsetof(First, small))});
}

dbFieldInfo* DescribeSecond()
{
    return dbFieldList(
        {dbDescribe<int32_t>("parent", offsetof(Second, parent), dbFieldInfo::INDEXED)});
}

// The dictionary rows of the Metatable in row-list order.
std::vector<oid_t> DictionaryRows(dbEngine& db)
{
    std::vector<oid_t> rows;
    dbDictionaryRecord meta(reinterpret_cast<const uint8_t*>(db.GetRow(dbMetatableId)));
    for (oid_t row = meta.FirstRow(); row != 0;
         row = reinterpret_cast<const dbRecordHeader*>(db.GetRow(row))->next) {
        rows.push_back(row);
    }
    return rows;
}

TEST(SchemaLoad, FreshImageGetsDictionaryRecordsAndIndices)
{
    Database base;
    dbTableInfo* first = base.AddTable("First", sizeof(First), DescribeFirst);
    dbTableInfo* second = base.AddTable("Second", sizeof(Second), DescribeSecond);
    ASSERT_TRUE(base.Open());
    std::vector<oid_t> rows = DictionaryRows(base.db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], oid_t(dbFirstUserId));
    // Each table's record is followed by the headers of its new indices.
    dbTableInfo* order[2] = {first, second};
    if (second->tableId == rows[0])
        std::swap(order[0], order[1]);
    oid_t next = dbFirstUserId;
    for (dbTableInfo* t : order) {
        EXPECT_EQ(t->tableId, next);
        next += 1;
        for (dbFieldInfo* fd = t->indexedFields; fd; fd = fd->nextIndexedField) {
            EXPECT_EQ(fd->tTree, next) << fd->name;
            EXPECT_EQ(base.db.GetEntry(fd->tTree) & dbFlagsMask, uint32_t(dbTtreeKind));
            next += 1;
        }
        dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(base.db.GetRow(t->tableId)));
        EXPECT_STREQ(dict.Name(), t->name);
        EXPECT_EQ(dict.RowCount(), 0u);
        EXPECT_TRUE(t->EqualsStored(reinterpret_cast<const uint8_t*>(base.db.GetRow(t->tableId))));
    }
    EXPECT_EQ(first->FindField("small")->tTree, 0u);
    EXPECT_TRUE(base.Consistent());
}

TEST(SchemaLoad, ReloadingAnUnchangedSchemaKeepsItsIndices)
{
    Database base;
    dbTableInfo* first = base.AddTable("First", sizeof(First), DescribeFirst);
    ASSERT_TRUE(base.Open());
    First rec{42, "answer", 1};
    base.db.InsertRecord(first, &rec);
    base.db.Commit();
    oid_t table = first->tableId, tree = first->FindField("id")->tTree;
    base.db.UnbindTables();
    ASSERT_TRUE(base.db.LoadSchema(true));
    EXPECT_EQ(first->tableId, table);
    EXPECT_EQ(first->FindField("id")->tTree, tree);
    EXPECT_EQ(DictionaryRows(base.db).size(), 1u);
    dbTypedCursor<First> c(first);
    ASSERT_EQ(c.SelectByKey("id", int32_t(42)), 1);
    EXPECT_STREQ(c->name, "answer");
}

// The same table after its record type changed: id became a real, name was
// renamed, small was dropped and two fields were added.
struct FirstChanged {
    double id;
    const char* label;
    int32_t added;
    dbArray<int32_t> list;
};

dbFieldInfo* DescribeFirstChanged()
{
    return dbFieldList(
        {dbDescribe<double>("id", offsetof(FirstChanged, id), dbFieldInfo::INDEXED),
         dbDescribe<const char*>("label", offsetof(FirstChanged, label)),
         dbDescribe<int32_t>("added", offsetof(FirstChanged, added), dbFieldInfo::INDEXED),
         dbDescribeArray<int32_t>("list", offsetof(FirstChanged, list))});
}

TEST(SchemaLoad, ChangedDescriptorConvertsTheStoredRows)
{
    Database base;
    auto* original = new dbTableInfo("First", &base.db, sizeof(First), DescribeFirst);
    ASSERT_TRUE(base.Open());
    std::vector<oid_t> ids;
    for (int i = 0; i < 40; ++i) {
        std::string name = "name" + std::to_string(i);
        First rec{i * 3 - 7, name.c_str(), static_cast<int16_t>(i)};
        ids.push_back(base.db.InsertRecord(original, &rec));
    }
    base.db.Commit();
    oid_t table = original->tableId;
    base.db.UnbindTables();
    delete original;

    base.AddTable("First", sizeof(FirstChanged), DescribeFirstChanged);
    dbTableInfo* changed = base.tables.back().get();
    ASSERT_TRUE(base.db.LoadSchema(true));
    EXPECT_EQ(changed->tableId, table);
    EXPECT_TRUE(changed->EqualsStored(reinterpret_cast<const uint8_t*>(base.db.GetRow(table))));
    for (int i = 0; i < 40; ++i) {
        FirstChanged rec{};
        ASSERT_TRUE(base.db.FetchRecord(ids[i], changed, &rec));
        EXPECT_EQ(rec.id, double(i * 3 - 7));
        EXPECT_STREQ(rec.label, "");
        EXPECT_EQ(rec.added, 0);
        EXPECT_EQ(rec.list.Length(), 0u);
    }
    dbRecordCursor c(changed);
    EXPECT_EQ(c.SelectByKey("added", int32_t(0)), 40);
    EXPECT_EQ(c.SelectByKeyRange("id", -7.0, 2.0), 4);
    EXPECT_TRUE(base.Consistent());
    base.db.Commit();
    EXPECT_TRUE(base.Consistent());
}

// First with a hash index added to id and the tree index of name dropped.
dbFieldInfo* DescribeFirstRehashed()
{
    return dbFieldList(
        {dbDescribe<int32_t>("id", offsetof(First, id), dbFieldInfo::HASHED | dbFieldInfo::INDEXED),
         dbDescribe<const char*>("name", offsetof(First, name), dbFieldInfo::HASHED),
         dbDescribe<int16_t>("small", offsetof(First, small))});
}

TEST(SchemaLoad, IndicesComeAndGoWithTheDescriptor)
{
    Database base;
    auto* original = new dbTableInfo("First", &base.db, sizeof(First), DescribeFirst);
    ASSERT_TRUE(base.Open());
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back("n" + std::to_string(i % 10));
    for (int i = 0; i < 30; ++i) {
        First rec{i % 7, names[i].c_str(), 0};
        base.db.InsertRecord(original, &rec);
    }
    base.db.Commit();
    oid_t idTree = original->FindField("id")->tTree;
    base.db.UnbindTables();
    delete original;

    dbTableInfo* changed = base.AddTable("First", sizeof(First), DescribeFirstRehashed);
    ASSERT_TRUE(base.db.LoadSchema(true));
    dbFieldInfo* id = changed->FindField("id");
    dbFieldInfo* name = changed->FindField("name");
    EXPECT_EQ(id->tTree, idTree);
    EXPECT_NE(id->hashTable, 0u);
    EXPECT_EQ(name->tTree, 0u);
    EXPECT_NE(name->hashTable, 0u);
    dbRecordCursor c(changed);
    EXPECT_EQ(c.SelectByKey("id", int32_t(3)), 4);
    EXPECT_EQ(c.SelectByKey("name", "n3"), 3);
    EXPECT_EQ(c.SelectByKeyRange("id", int32_t(0), int32_t(1)), 10) << "ranges use the tree";
    EXPECT_TRUE(base.Consistent()) << "the dropped tree left nothing behind";
    base.db.Commit();
    EXPECT_TRUE(base.Consistent());
}

struct Lists {
    dbArray<int16_t> nums;
    dbArray<const char*> tags;
    const char* title;
};

dbFieldInfo* DescribeLists()
{
    return dbFieldList({dbDescribeArray<int16_t>("nums", offsetof(Lists, nums)),
                        dbDescribeArrayOf("tags", offsetof(Lists, tags),
                                          dbDescribe<const char*>("[]", 0),
                                          &dbArray<const char*>::Allocate),
                        dbDescribe<const char*>("title", offsetof(Lists, title))});
}

// Fields reordered, array elements widened, and a field added in front.
struct ListsChanged {
    int8_t flag;
    const char* title;
    dbArray<const char*> tags;
    dbArray<int32_t> nums;
};

dbFieldInfo* DescribeListsChanged()
{
    return dbFieldList({dbDescribe<int8_t>("flag", offsetof(ListsChanged, flag)),
                        dbDescribe<const char*>("title", offsetof(ListsChanged, title)),
                        dbDescribeArrayOf("tags", offsetof(ListsChanged, tags),
                                          dbDescribe<const char*>("[]", 0),
                                          &dbArray<const char*>::Allocate),
                        dbDescribeArray<int32_t>("nums", offsetof(ListsChanged, nums))});
}

TEST(SchemaLoad, ConversionCarriesArraysAndTextsToTheirNewPlaces)
{
    Database base;
    auto* original = new dbTableInfo("Lists", &base.db, sizeof(Lists), DescribeLists);
    ASSERT_TRUE(base.Open());
    std::vector<oid_t> ids;
    std::vector<std::vector<std::string>> tags;
    for (int i = 0; i < 12; ++i) {
        Lists rec{};
        std::vector<int16_t> nums;
        for (int k = 0; k < i; ++k)
            nums.push_back(static_cast<int16_t>(k * 1000 - 5000));
        rec.nums.Assign(nums.data(), nums.size());
        tags.emplace_back();
        std::vector<const char*> ptrs;
        for (int k = 0; k < i % 4; ++k)
            tags.back().push_back(std::string(k * 7 + 1, char('a' + i)));
        for (const std::string& t : tags.back())
            ptrs.push_back(t.c_str());
        rec.tags.Assign(ptrs.data(), ptrs.size());
        std::string title = "title " + std::to_string(i);
        rec.title = title.c_str();
        ids.push_back(base.db.InsertRecord(original, &rec));
    }
    base.db.Commit();
    base.db.UnbindTables();
    delete original;

    dbTableInfo* changed = base.AddTable("Lists", sizeof(ListsChanged), DescribeListsChanged);
    ASSERT_TRUE(base.db.LoadSchema(true));
    for (int i = 0; i < 12; ++i) {
        ListsChanged rec{};
        ASSERT_TRUE(base.db.FetchRecord(ids[i], changed, &rec));
        EXPECT_EQ(rec.flag, 0);
        EXPECT_EQ(std::string(rec.title), "title " + std::to_string(i));
        ASSERT_EQ(rec.nums.Length(), size_t(i));
        for (int k = 0; k < i; ++k)
            EXPECT_EQ(rec.nums[k], k * 1000 - 5000);
        ASSERT_EQ(rec.tags.Length(), tags[i].size());
        for (size_t k = 0; k < tags[i].size(); ++k)
            EXPECT_EQ(rec.tags[k], tags[i][k]);
    }
    EXPECT_TRUE(base.Consistent());
}

TEST(SchemaLoad, WithoutAlterationADifferentTableFailsTheLoad)
{
    Database base;
    auto* original = new dbTableInfo("First", &base.db, sizeof(First), DescribeFirst);
    ASSERT_TRUE(base.Open());
    base.db.UnbindTables();
    delete original;
    dbTableInfo* changed = base.AddTable("First", sizeof(FirstChanged), DescribeFirstChanged);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(base.db.LoadSchema(false));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Incompatible class definition in application\n");
    EXPECT_EQ(changed->tableId, 0u);
}

TEST(SchemaLoad, DetachedDescriptorGetsAClonePerEngine)
{
    dbTableInfo detached("Second", dbTableInfo::Detached, sizeof(Second), DescribeSecond);
    Database one, two;
    ASSERT_TRUE(one.Open());
    ASSERT_TRUE(two.Open());
    dbTableInfo* a = one.db.FindBoundTable(&detached);
    dbTableInfo* b = two.db.FindBoundTable(&detached);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->cloneOf, &detached);
    EXPECT_EQ(detached.tableId, 0u);
    Second rec{3};
    EXPECT_NE(one.db.InsertRecord(a, &rec), 0u);
    EXPECT_EQ(two.db.InsertRecord(a, &rec), 0u);
    dbRecordCursor c(&detached);
    c.db = &one.db;
    EXPECT_EQ(c.SelectByKey("parent", int32_t(3)), 1);
    EXPECT_EQ(c.GetTable(), a);
}

struct Node {
    dbReference up;
    dbArray<dbReference> down;
};

dbFieldInfo* DescribeNodeMismatched()
{
    return dbFieldList({dbDescribeReference("up", offsetof(Node, up), "Node", "down"),
                        dbDescribeReferenceArray("down", offsetof(Node, down), "Node", "side")});
}

TEST(SchemaLoad, MismatchedInverseReferencesAreReported)
{
    Database base;
    base.AddTable("Node", sizeof(Node), DescribeNodeMismatched);
    try {
        base.Open();
        FAIL() << "no error reported";
    } catch (const dbException& e) {
        EXPECT_EQ(e.GetErrCode(), dbInconsistentInverseReference);
        EXPECT_STREQ(e.what(),
                     "Inverse references for field Node.up is Node.down, but its inverse "
                     "reference is side");
    }
}

} // namespace
