// The model schema: the tables after open with working indices on the
// indexed fields, the dictionary order, and the record defaults.
#include <gtest/gtest.h>

#include <set>

#include "MemDB/dbCursor.h"
#include "ModelStoreFixture.h"

using namespace modelstore;

namespace {

class ModelSchemaTest : public ModelStoreTest {};

std::vector<std::string> FieldNames(dbTableInfo* table)
{
    std::vector<std::string> names;
    dbFieldInfo* fd = table->columns;
    do
        names.push_back(fd->name);
    while ((fd = fd->next) != table->columns);
    return names;
}

// A record whose integer fields hold 7 and whose texts are "k" + field name.
std::vector<uint64_t> KeyRecord(dbTableInfo* table, std::vector<std::string>& texts)
{
    std::vector<uint64_t> record((table->appSize + 7) / 8);
    texts.clear();
    texts.reserve(32);
    dbFieldInfo* fd = table->columns;
    do {
        char* p = reinterpret_cast<char*>(record.data()) + fd->appOffs;
        if (fd->appType == dbFieldInfo::tpString) {
            texts.push_back(std::string("k") + fd->name);
            const char* s = texts.back().c_str();
            memcpy(p, &s, sizeof s);
        } else {
            memset(p, 0, fd->appSize);
            *p = 7;
        }
    } while ((fd = fd->next) != table->columns);
    return record;
}

TEST_F(ModelSchemaTest, TablesAreStoredWithSearchableIndexedFields)
{
    const std::map<std::string, std::set<std::string>> indexed = {
        {"MetaEle", {"ID", "Parent"}},
        {"ModelT", {"SN", "ID", "FID", "Name", "Type", "GUID", "Use"}},
        {"SymbolT", {"PID", "ID", "FID", "GUID", "SGUID", "SrcID", "DestID"}},
        {"ModelPage", {"ID"}},
        {"ModelClass", {"ID"}},
        {"ModelOperation", {"ID"}},
        {"ModelAttribute", {"ID"}},
        {"ModelParameter", {"ID"}},
        {"ModelUsecase", {"ID"}},
        {"StereotypeT", {"OID", "SSGUID"}},
        {"StereotypeObj", {"OID", "StereotypeGUID"}},
    };
    ASSERT_EQ(AllTables().size(), indexed.size());
    for (dbTableInfo* table : AllTables()) {
        SCOPED_TRACE(table->name);
        ASSERT_NE(table->tableId, 0u);
        ASSERT_EQ(indexed.count(table->name), 1u);
        std::set<std::string> found;
        for (dbFieldInfo* fd = table->indexedFields; fd; fd = fd->nextIndexedField)
            found.insert(fd->name);
        EXPECT_EQ(found, indexed.at(table->name));

        std::vector<std::string> texts;
        std::vector<uint64_t> record = KeyRecord(table, texts);
        oid_t id = theModelDb.InsertRecord(table, record.data());
        ASSERT_NE(id, 0u);
        for (const std::string& name : found) {
            dbFieldInfo* fd = table->FindField(name.c_str());
            ASSERT_NE(fd, nullptr) << name;
            dbRecordCursor cursor(table);
            std::string key = "k" + name;
            int n = fd->appType == dbFieldInfo::tpString
                        ? cursor.SelectByKey(name.c_str(), key.c_str())
                        : cursor.SelectByKey(name.c_str(), int32_t(7));
            EXPECT_EQ(n, 1) << name;
            EXPECT_EQ(cursor.GetCurrentOid(), id) << name;
        }
    }
}

TEST_F(ModelSchemaTest, ElementFieldsFollowTheDictionaryOrder)
{
    EXPECT_EQ(FieldNames(&ModelT::TableInfo),
              (std::vector<std::string>{"ID", "FID", "SN", "Name", "Type", "GUID", "Use",
                                        "Visibility", "Stereotype", "File", "ItemState",
                                        "MMC"}));
}

TEST_F(ModelSchemaTest, StereotypeRowsOfSymbolsKeepNegativeOwners)
{
    StereotypeT value{-42, "tag", "v"};
    ASSERT_NE(theModelDb.InsertRecord(&StereotypeT::TableInfo, &value), 0u);
    dbTypedCursor<StereotypeT> cursor(&StereotypeT::TableInfo);
    ASSERT_EQ(cursor.SelectByKey("OID", int32_t(-42)), 1);
    EXPECT_EQ(cursor->OID, -42);
    EXPECT_STREQ(cursor->Value, "v");
}

TEST(ModelSchema, RecordsStartWithTheirDefaults)
{
    ModelT element;
    EXPECT_EQ(element.ID, 0);
    EXPECT_EQ(element.FID, 0);
    EXPECT_EQ(element.Name, nullptr);
    EXPECT_EQ(element.Use, nullptr);
    EXPECT_EQ(element.Visibility, VISIBILITY_PRIVATE);
    EXPECT_EQ(element.MMC, MMC_CLASS);
    EXPECT_EQ(element.ItemState, 0);

    MetaEle rule;
    EXPECT_EQ(rule.Parent, nullptr);
    EXPECT_EQ(rule.In, -1);
    EXPECT_EQ(rule.Out, -1);

    ModelPage page;
    EXPECT_EQ(page.PageWidth, 21000);
    EXPECT_EQ(page.PageHeight, 29700);
    EXPECT_EQ(page.EdgeX, 1500);
    EXPECT_EQ(page.EdgeY, 1500);
    EXPECT_EQ(page.Parsed, 0);

    ModelAttribute attribute;
    EXPECT_EQ(attribute.Navigable, 1);
    EXPECT_EQ(attribute.Static + attribute.Derived + attribute.ReadOnly, 0);
    EXPECT_EQ(attribute.Associationkind, ASSOCIATION_NONE);

    SymbolT symbol;
    EXPECT_EQ(symbol.MSC, MSC_RECTANGLE);
    EXPECT_EQ(symbol.ItemState, 0);
    EXPECT_EQ(symbol.Text, nullptr);
    EXPECT_EQ(symbol.x2, 0);
}

} // namespace
