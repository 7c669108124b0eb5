// The write wrapper: open, the change test, what updates and removes log,
// identifiers set by field width, and emptying the model.
#include <gtest/gtest.h>

#include "ModelStoreFixture.h"

using namespace modelstore;

namespace {

class ModelStoreWrapperTest : public ModelStoreTest {
protected:
    ModelT Element(const char* name)
    {
        ModelT e;
        e.ID = 5;
        e.FID = 1;
        e.Name = name;
        e.Type = "Class";
        e.GUID = "g5";
        return e;
    }
    std::string Stored(oid_t id)
    {
        ModelT e;
        EXPECT_TRUE(theModelDb.FetchRecord(id, &ModelT::TableInfo, &e));
        return RowText(&ModelT::TableInfo, &e);
    }
};

TEST_F(ModelStoreWrapperTest, OpenNeedsTheRunName)
{
    MemDbClose();
    char saved[DbNameSize];
    memcpy(saved, theDbName, DbNameSize);
    theDbName[0] = 0;
    EXPECT_EQ(MemDbOpen(), 0);
    EXPECT_FALSE(theModelDb.IsOpen());
    memcpy(theDbName, saved, DbNameSize);
    EXPECT_EQ(MemDbOpen(), 1);
    EXPECT_STREQ(theModelDb.GetDatabaseName(), theDbName);
}

TEST_F(ModelStoreWrapperTest, ChangeTestComparesTextsByContent)
{
    dbTableInfo* table = &ModelT::TableInfo;
    std::string copy = "Name";
    struct Case {
        const char* what;
        void (*change)(ModelT&, const char* copyOfName);
        int changed;
    };
    const Case cases[] = {
        {"equal", [](ModelT&, const char*) {}, 0},
        {"same text elsewhere", [](ModelT& e, const char* c) { e.Name = c; }, 0},
        {"null and empty", [](ModelT& e, const char*) { e.Use = ""; }, 0},
        {"empty and null", [](ModelT& e, const char*) { e.Type = nullptr; }, 0},
        {"null and text", [](ModelT& e, const char*) { e.Use = "u"; }, 1},
        {"text cleared", [](ModelT& e, const char*) { e.Name = nullptr; }, 1},
        {"text differs", [](ModelT& e, const char*) { e.Name = "Namf"; }, 1},
        {"int1 differs", [](ModelT& e, const char*) { e.MMC = 2; }, 1},
        {"int2 differs", [](ModelT& e, const char*) { e.ItemState = 256; }, 1},
        {"int4 differs", [](ModelT& e, const char*) { e.SN = 1 << 20; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModelT a = Element("Name");
        a.Type = "";
        ModelT b = a;
        c.change(b, copy.c_str());
        EXPECT_EQ(MemDbRecordChanged(table, &a, &b), c.changed);
        EXPECT_EQ(MemDbRecordChanged(table, &b, &a), c.changed);
    }
}

TEST_F(ModelStoreWrapperTest, UpdateThatChangesNothingIsNeitherWrittenNorLogged)
{
    ModelT e = Element("Name");
    oid_t id = theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    std::string name = "Name";
    e.Name = name.c_str();
    e.Use = "";
    EXPECT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, id), 0);
    EXPECT_EQ(UndoLog::UndoDepth(), 0u);
    EXPECT_EQ(UndoLog::Undo(), 0);
}

TEST_F(ModelStoreWrapperTest, ClearingATextIsWrittenAndUndoable)
{
    ModelT e = Element("Name");
    oid_t id = MemDbInsert(&ModelT::TableInfo, &e);
    ASSERT_NE(id, 0u);
    std::string before = Stored(id);

    UndoLog::NewGroup();
    e.Name = nullptr;
    EXPECT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, id), 1);
    EXPECT_EQ(UndoLog::UndoDepth(), 2u);
    EXPECT_NE(Stored(id).find("Name=\"\";"), std::string::npos);

    EXPECT_EQ(UndoLog::Undo(), 1);
    EXPECT_EQ(Stored(id), before);
}

TEST_F(ModelStoreWrapperTest, MissingRowsAreNeitherChangedNorLogged)
{
    ModelT e = Element("Name");
    oid_t id = MemDbInsert(&ModelT::TableInfo, &e);
    StereotypeObj link{5, "s"};
    oid_t other = MemDbInsert(&StereotypeObj::TableInfo, &link);
    size_t depth = UndoLog::UndoDepth();

    EXPECT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, other), 0);
    EXPECT_EQ(MemDbUpdate(&ModelT::TableInfo, &e, 999999), 0);
    MemDbRemove(&ModelT::TableInfo, other);
    MemDbRemove(&ModelT::TableInfo, 0);
    EXPECT_EQ(UndoLog::UndoDepth(), depth);
    EXPECT_EQ(RowIds(&ModelT::TableInfo), std::vector<oid_t>{id});
    EXPECT_EQ(RowIds(&StereotypeObj::TableInfo), std::vector<oid_t>{other});
}

TEST_F(ModelStoreWrapperTest, ACommittedChangeCopiesIntoTheSpaceTheLastCommitFreed)
{
    ModelT e = Element("Name");
    oid_t id = theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    theModelDb.Commit();
    // A change to a committed record writes a copy; its commit frees the
    // place the record left, and the next copy takes it back.
    std::vector<offs_t> places{theModelDb.GetEntry(id) & ~dbFlagsMask};
    for (int16_t state = 1; state <= 3; ++state) {
        e.ItemState = state;
        ASSERT_TRUE(theModelDb.UpdateRecord(id, &ModelT::TableInfo, &e));
        theModelDb.Commit();
        places.push_back(theModelDb.GetEntry(id) & ~dbFlagsMask);
    }
    EXPECT_NE(places[1], places[0]);
    EXPECT_EQ(places[2], places[0]);
    EXPECT_EQ(places[3], places[1]);
}

TEST_F(ModelStoreWrapperTest, SetIdWritesTheIdFieldOnly)
{
    ModelOperation operation;
    EXPECT_EQ(MemDbSetId(&ModelOperation::TableInfo, &operation, -17), 1);
    EXPECT_EQ(operation.ID, -17);

    StereotypeT value{4, "tag", "v"};
    StereotypeT before = value;
    EXPECT_EQ(MemDbSetId(&StereotypeT::TableInfo, &value, 9), 0);
    EXPECT_EQ(memcmp(&value, &before, sizeof value), 0);
}

TEST_F(ModelStoreWrapperTest, ClearModelKeepsOnlyTheMetamodel)
{
    MetaEle rule;
    rule.ID = 1;
    rule.Parent = "Classdiagram";
    rule.Name = "Class";
    theModelDb.InsertRecord(&MetaEle::TableInfo, &rule);
    std::vector<char> zero(512, 0);
    for (dbTableInfo* table : ModelTables()) {
        theModelDb.InsertRecord(table, zero.data());
        MemDbInsert(table, zero.data());
    }
    Snapshot before = TakeSnapshot();

    MemDbClearModel();
    Snapshot after = TakeSnapshot();
    for (dbTableInfo* table : ModelTables())
        EXPECT_TRUE(after[table->name].empty()) << table->name;
    EXPECT_EQ(after["MetaEle"], before["MetaEle"]);
    EXPECT_EQ(after["MetaEle"].size(), 1u);
}

} // namespace
