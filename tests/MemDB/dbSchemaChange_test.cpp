// Schema changes on an open engine: indices created and dropped while the
// table holds rows, and a dropped table.
#include <gtest/gtest.h>

#include "MemDB/dbQueryText.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Item {
    int32_t code;
    const char* name;
    dbRectangle box;
    dbArray<int32_t> list;
};

dbFieldInfo* DescribeItem()
{
    return dbFieldList({dbDescribe<int32_t>("code", offsetof(Item, code)),
                        dbDescribe<const char*>("name", offsetof(Item, name)),
                        dbDescribe<dbRectangle>("box", offsetof(Item, box)),
                        dbDescribeArray<int32_t>("list", offsetof(Item, list))});
}

struct Other {
    int32_t code;
};

dbFieldInfo* DescribeOther()
{
    return dbFieldList({dbDescribe<int32_t>("code", offsetof(Other, code), dbFieldInfo::INDEXED)});
}

class SchemaChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        items = base.AddTable("Item", sizeof(Item), DescribeItem);
        others = base.AddTable("Other", sizeof(Other), DescribeOther);
        ASSERT_TRUE(base.Open());
        for (int32_t i = 0; i < 300; i++) {
            std::string name = "n" + std::to_string(i % 17);
            Item rec{i % 10, name.c_str(), {i, i, i + 2, i + 2}, {}};
            ASSERT_NE(base.db.InsertRecord(items, &rec), 0u);
        }
        base.db.Commit();
        code = items->FindField("code");
        name = items->FindField("name");
        box = items->FindField("box");
    }
    // The identifiers a field's record in the stored dictionary holds.
    std::pair<oid_t, oid_t> Stored(dbFieldInfo* fd)
    {
        dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(base.db.GetRow(items->tableId)));
        const uint8_t* f = dict.Field(static_cast<uint32_t>(fd->fieldNo));
        return {dbGet32(f, dbFieldRecHashTable), dbGet32(f, dbFieldRecTTree)};
    }
    int Count(const char* condition)
    {
        dbQueryText q;
        q.Append(dbFragText, condition);
        dbRecordCursor c(items);
        return c.Select(q, dbCursorViewOnly);
    }

    Database base;
    dbTableInfo* items = nullptr;
    dbTableInfo* others = nullptr;
    dbFieldInfo* code = nullptr;
    dbFieldInfo* name = nullptr;
    dbFieldInfo* box = nullptr;
};

TEST_F(SchemaChange, IndicesCreatedOnALiveTableHoldEveryRow)
{
    ASSERT_TRUE(base.db.CreateHashIndex(items, code));
    ASSERT_TRUE(base.db.CreateTreeIndex(items, code));
    ASSERT_TRUE(base.db.CreateHashIndex(items, name));
    ASSERT_TRUE(base.db.CreateTreeIndex(items, box));
    EXPECT_EQ(Stored(code), std::make_pair(code->hashTable, code->tTree));
    EXPECT_EQ(Stored(name).first, name->hashTable);
    EXPECT_EQ(Stored(box).second, box->tTree);
    EXPECT_EQ(base.db.GetEntry(box->tTree) & dbFlagsMask, uint32_t(dbRtreeKind));

    dbRecordCursor c(items);
    EXPECT_EQ(c.SelectByKey("code", int32_t(3)), 30);
    EXPECT_EQ(c.SelectByKey("name", "n4"), 18);
    EXPECT_EQ(c.SelectByKeyRange("code", int32_t(2), int32_t(4)), 90);
    dbRectangle view{0, 0, 9, 9};
    dbQueryText q;
    q.Append(dbFragText, "box overlaps ").Append(dbFragRectangle, &view);
    EXPECT_EQ(c.Select(q, dbCursorViewOnly), 10);
    EXPECT_TRUE(base.Consistent());

    // Later changes keep the new indices in step.
    Item rec{3, "n4", {1000, 1000, 1001, 1001}, {}};
    base.db.InsertRecord(items, &rec);
    EXPECT_EQ(c.SelectByKey("code", int32_t(3)), 31);
    EXPECT_EQ(c.SelectByKey("name", "n4"), 19);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(SchemaChange, DroppedIndicesLeaveNothingBehind)
{
    ASSERT_TRUE(base.db.CreateHashIndex(items, code));
    ASSERT_TRUE(base.db.CreateTreeIndex(items, code));
    ASSERT_TRUE(base.db.CreateTreeIndex(items, box));
    ASSERT_TRUE(base.db.DropHashIndex(items, code));
    ASSERT_TRUE(base.db.DropTreeIndex(items, box));
    EXPECT_EQ(code->hashTable, 0u);
    EXPECT_EQ(box->tTree, 0u);
    EXPECT_EQ(Stored(code), std::make_pair(oid_t(0), code->tTree));
    EXPECT_EQ(Stored(box), std::make_pair(oid_t(0), oid_t(0)));
    EXPECT_EQ(items->hashedFields, nullptr);
    EXPECT_EQ(items->indexedFields, code);
    EXPECT_EQ(code->nextIndexedField, nullptr);
    EXPECT_EQ(Count("code = 3"), 30) << "the tree answers";
    EXPECT_TRUE(base.Consistent()) << "no object of the dropped indices is left";
}

TEST_F(SchemaChange, RefusedChangesChangeNothing)
{
    ASSERT_TRUE(base.db.CreateHashIndex(items, code));
    dbFieldInfo* list = items->FindField("list");
    struct Case {
        const char* what;
        bool done;
    } cases[] = {
        {"a second hash index", base.db.CreateHashIndex(items, code)},
        {"a hash index of a rectangle", base.db.CreateHashIndex(items, box)},
        {"an index of an array", base.db.CreateTreeIndex(items, list)},
        {"a field of another table", base.db.CreateTreeIndex(items, others->FindField("code"))},
        {"no field", base.db.CreateTreeIndex(items, nullptr)},
        {"a tree index the field lacks", base.db.DropTreeIndex(items, code)},
        {"an unbound table", base.db.CreateTreeIndex(nullptr, code)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(c.done) << c.what;
    EXPECT_EQ(Stored(code).second, 0u);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(SchemaChange, ADroppedTableIsGoneAndComesBackEmptyOnReload)
{
    ASSERT_TRUE(base.db.CreateHashIndex(items, code));
    ASSERT_TRUE(base.db.CreateTreeIndex(items, box));
    dbRecordCursor stale(items);
    ASSERT_EQ(stale.SelectByKey("code", int32_t(3)), 30);
    oid_t row = items->tableId;
    ASSERT_TRUE(base.db.DropTable(items));
    EXPECT_EQ(items->tableId, 0u);
    EXPECT_TRUE(base.Consistent());
    EXPECT_EQ(stale.GetNumberOfRecords(), 0);
    EXPECT_FALSE(base.db.IsRecordOf(row, items));

    // The unbound descriptor is refused everywhere.
    Item rec{1, "x", {0, 0, 1, 1}, {}};
    EXPECT_EQ(base.db.InsertRecord(items, &rec), 0u);
    EXPECT_EQ(Count("code = 1"), 0);
    dbRecordCursor later(items);
    EXPECT_EQ(later.SelectByKey("code", int32_t(1)), 0);
    EXPECT_FALSE(base.db.DropTable(items));
    dbDictionaryRecord meta(reinterpret_cast<const uint8_t*>(base.db.GetRow(dbMetatableId)));
    EXPECT_EQ(meta.RowCount(), 1u) << "only Other is left";

    base.db.UnbindTables();
    ASSERT_TRUE(base.db.LoadSchema(true));
    EXPECT_NE(items->tableId, 0u);
    EXPECT_EQ(RowCountOf(base.db, items), 0u);
    EXPECT_NE(base.db.InsertRecord(items, &rec), 0u);
    EXPECT_EQ(Count("code = 1"), 1);
    EXPECT_TRUE(base.Consistent());
}

} // namespace
