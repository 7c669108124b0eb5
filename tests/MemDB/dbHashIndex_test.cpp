// The hash index against a std::unordered_multimap model under random
// inserts, updates and removals, its layout checked after each step, and
// its edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <unordered_map>

#include "MemDB/dbHashIndex.h"
#include "MemDB/dbIndexSearch.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

struct Hashed {
    int32_t key;
    const char* name;
    double weight;
};

dbFieldInfo* DescribeHashed()
{
    return dbFieldList({dbDescribe<int32_t>("key", offsetof(Hashed, key), dbFieldInfo::HASHED),
                        dbDescribe<const char*>("name", offsetof(Hashed, name),
                                                dbFieldInfo::HASHED),
                        dbDescribe<double>("weight", offsetof(Hashed, weight),
                                           dbFieldInfo::HASHED)});
}

// What a walk of the stored table finds.
struct Layout {
    dbHashHeader header;
    uint32_t nonEmpty = 0;
    std::multimap<uint32_t, oid_t> codes;  // item code -> record
};

class HashIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = base.AddTable("Hashed", sizeof(Hashed), DescribeHashed);
        ASSERT_TRUE(base.Open());
        keyField = table->FindField("key");
        nameField = table->FindField("name");
        weightField = table->FindField("weight");
    }
    dbEngine& db() { return base.db; }

    oid_t Insert(int32_t key, const char* name = "", double weight = 0)
    {
        Hashed rec{key, name, weight};
        return db().InsertRecord(table, &rec);
    }

    // Walks every bucket: each item sits in the bucket of its code, and its
    // code is the hash of its record's key.
    Layout Walk(dbFieldInfo* fd)
    {
        Layout l;
        memcpy(&l.header, db().GetObject(fd->hashTable), sizeof l.header);
        EXPECT_EQ(db().GetEntry(fd->hashTable) & dbFlagsMask, uint32_t(dbHashTableKind));
        for (uint32_t b = 0; b < l.header.size; b++) {
            oid_t page = l.header.firstPage + b / dbHashIndex::BucketsPerPage;
            EXPECT_EQ(db().GetEntry(page) & dbFlagsMask, uint32_t(dbBitmapPageKind));
            oid_t item = dbGet32(db().GetObject(page), 4 * (b % dbHashIndex::BucketsPerPage));
            l.nonEmpty += item != 0;
            for (; item != 0; item = dbGet32(db().GetObject(item), 0)) {
                EXPECT_EQ(db().GetEntry(item) & dbFlagsMask, uint32_t(dbHashTableItemKind));
                dbHashItem it;
                memcpy(&it, db().GetObject(item), sizeof it);
                EXPECT_EQ(it.hash % l.header.size, b);
                EXPECT_EQ(it.hash, CodeOf(fd, it.record));
                l.codes.emplace(it.hash, it.record);
            }
        }
        return l;
    }
    uint32_t CodeOf(dbFieldInfo* fd, oid_t id)
    {
        const char* rec = db().GetRow(id);
        if (fd->type == dbFieldInfo::tpString) {
            const char* text = rec + dbGet32(rec, fd->dbsOffs + 4);
            return dbHashIndex::StringHash(text, strlen(text));
        }
        return dbHashIndex::KeyHash(db().GetKeyHash(), rec + fd->dbsOffs, fd->type, fd->dbsSize);
    }
    std::set<oid_t> Find(dbFieldInfo* fd, const void* key)
    {
        dbRecordCursor cursor(table);
        dbIndexSearch s;
        s.db = &db();
        s.cursor = &cursor;
        s.firstKey = s.lastKey = key;
        s.type = fd->type;
        s.sizeofType = fd->dbsSize;
        s.offs = fd->dbsOffs;
        dbHashIndex::Find(&db(), fd->hashTable, s);
        std::vector<oid_t> ids(cursor.GetNumberOfRecords());
        cursor.ToArray(ids.data());
        return std::set<oid_t>(ids.begin(), ids.end());
    }

    Database base;
    dbTableInfo* table = nullptr;
    dbFieldInfo* keyField = nullptr;
    dbFieldInfo* nameField = nullptr;
    dbFieldInfo* weightField = nullptr;
};

TEST_F(HashIndexTest, RandomChangesKeepTheIndexInStepWithAMultimap)
{
    std::mt19937 rng(777);
    std::unordered_multimap<int32_t, oid_t> model;
    std::map<oid_t, int32_t> keyOf;
    for (int step = 0; step < 600; ++step) {
        int op = rng() % 10;
        int32_t key = static_cast<int32_t>(rng() % 300) - 150;
        if (op < 5 || keyOf.empty()) {
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
                Hashed rec{key, "", 0};
                ASSERT_TRUE(db().UpdateRecord(id, table, &rec));
                it->second = key;
                model.emplace(key, id);
            }
        }
        Layout l = Walk(keyField);
        ASSERT_EQ(l.header.size, 21911u);
        ASSERT_EQ(l.codes.size(), model.size());
        std::set<uint32_t> buckets;
        for (auto& kv : model)
            buckets.insert(static_cast<uint32_t>(kv.first) % l.header.size);
        ASSERT_EQ(l.nonEmpty, buckets.size());
        ASSERT_EQ(l.header.used, buckets.size());
        for (auto& kv : keyOf)
            ASSERT_EQ(l.codes.count(static_cast<uint32_t>(kv.second)),
                      model.count(kv.second));
        if (step % 50 == 0) {
            std::set<oid_t> expected;
            auto range = model.equal_range(key);
            for (auto m = range.first; m != range.second; ++m)
                expected.insert(m->second);
            ASSERT_EQ(Find(keyField, &key), expected);
            ASSERT_TRUE(base.Consistent());
        }
        if (step % 97 == 0)
            db().Commit();
    }
}

TEST_F(HashIndexTest, ANewIndexHasTheSmallestPrimeAboveItsFloor)
{
    struct Case {
        size_t requested;
        uint32_t buckets;
    } cases[] = {
        {0, 21911}, {16383, 21911}, {21911, 21911}, {21912, 43853},
        {1437356741, 1437356741}, {size_t(1) << 40, 1437356741},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dbHashIndex::BucketCount(c.requested), c.buckets) << c.requested;
    EXPECT_EQ(Walk(keyField).header.size, 21911u);
    EXPECT_EQ(dbHashIndex::GrownBucketCount(21911), 43853u);
    EXPECT_EQ(dbHashIndex::GrownBucketCount(1437356741), 0u);
}

TEST_F(HashIndexTest, GrowsOnlyOnInsertPastTwoThirds)
{
    // Keys below the bucket count fill one bucket each: the index grows at
    // the insert that finds more than two thirds of its buckets in use.
    db().DeleteTable(table);
    const int32_t twoThirds = 21911 * 2 / 3 + 1;
    uint32_t hash = dbHashIndex::Create(&db(), 0);
    std::vector<oid_t> ids;
    for (int32_t key = 0; key <= twoThirds; key++) {
        Hashed rec{key, "", 0};
        ids.push_back(db().InsertRecord(table, &rec));
        dbHashIndex::Insert(&db(), hash, ids.back(), dbFieldInfo::tpInt4, 4, keyField->dbsOffs,
                            key == twoThirds ? 0 : 1000000);
    }
    dbHashHeader h;
    memcpy(&h, db().GetObject(hash), sizeof h);
    EXPECT_EQ(h.size, 21911u) << "a re-keyed record never grows the index";
    EXPECT_EQ(h.used, uint32_t(twoThirds + 1));

    Hashed rec{twoThirds + 1, "", 0};
    oid_t id = db().InsertRecord(table, &rec);
    dbHashIndex::Insert(&db(), hash, id, dbFieldInfo::tpInt4, 4, keyField->dbsOffs, 1000000);
    memcpy(&h, db().GetObject(hash), sizeof h);
    EXPECT_EQ(h.size, 43853u);
    EXPECT_EQ(h.used, uint32_t(twoThirds + 2));
    dbHashIndex::Drop(&db(), hash);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(HashIndexTest, EqualCodesOfDifferentTextsDoNotMatch)
{
    ASSERT_EQ(dbHashIndex::StringHash("a", 1), dbHashIndex::StringHash("\x01" "B", 2));
    oid_t a = Insert(1, "a");
    oid_t b = Insert(2, "\x01" "B");
    EXPECT_EQ(Find(nameField, "a"), std::set<oid_t>{a});
    EXPECT_EQ(Find(nameField, "\x01" "B"), std::set<oid_t>{b});
    EXPECT_TRUE(Find(nameField, "\x01").empty());
}

TEST_F(HashIndexTest, RemovalsCountNonEmptyBucketsAndIgnoreAbsentRecords)
{
    oid_t only = Insert(5);
    oid_t first = Insert(7);
    oid_t second = Insert(7);
    EXPECT_EQ(Walk(keyField).header.used, 2u);
    ASSERT_TRUE(db().RemoveRecord(table, first));
    EXPECT_EQ(Walk(keyField).header.used, 2u);
    ASSERT_TRUE(db().RemoveRecord(table, only));
    EXPECT_EQ(Walk(keyField).header.used, 1u);

    // A record the index lacks: nothing changes.
    Hashed rec{7, "", 0};
    oid_t stray = db().InsertRecord(table, &rec);
    dbHashIndex::Remove(&db(), keyField->hashTable, stray, dbFieldInfo::tpInt4, 4,
                        keyField->dbsOffs);
    dbHashIndex::Remove(&db(), keyField->hashTable, stray, dbFieldInfo::tpInt4, 4,
                        keyField->dbsOffs);
    Layout l = Walk(keyField);
    EXPECT_EQ(l.header.used, 1u);
    EXPECT_EQ(Find(keyField, &rec.key), std::set<oid_t>{second});
    EXPECT_TRUE(base.Consistent());
}

TEST_F(HashIndexTest, ClearingKeepsTheBucketCount)
{
    for (int i = 0; i < 50; i++)
        Insert(i, "x");
    db().Commit();
    db().DeleteTable(table);
    for (dbFieldInfo* fd : {keyField, nameField, weightField}) {
        Layout l = Walk(fd);
        EXPECT_EQ(l.header.size, 21911u);
        EXPECT_EQ(l.header.used, 0u);
        EXPECT_EQ(l.nonEmpty, 0u);
        EXPECT_TRUE(l.codes.empty());
    }
    EXPECT_TRUE(base.Consistent());
    db().Commit();
    EXPECT_TRUE(base.Consistent());
}

TEST_F(HashIndexTest, RealKeysMatchAsTheScanCompares)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    oid_t zero = Insert(0, "", 0.0);
    oid_t negativeZero = Insert(0, "", -0.0);
    Insert(0, "", nan);
    oid_t one = Insert(0, "", 1.0);
    struct Case {
        double key;
        std::set<oid_t> found;
    } cases[] = {
        {0.0, {zero, negativeZero}},
        {-0.0, {zero, negativeZero}},
        {1.0, {one}},
        {nan, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(weightField, &c.key), c.found) << c.key;
}

TEST(HashFunctions, EachImageVersionHasItsOwn)
{
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint32_t low = 0x04030201u, high = 0x08070605u;
    uint32_t byBytes8 = 0, byBytes3 = 0;
    for (int i = 0; i < 8; i++)
        byBytes8 = byBytes8 * 31 + bytes[i];
    for (int i = 0; i < 3; i++)
        byBytes3 = byBytes3 * 31 + bytes[i];
    struct Case {
        int version;
        int type;
        size_t size;
        uint32_t code;
    } cases[] = {
        {349, dbFieldInfo::tpInt1, 1, 1},
        {349, dbFieldInfo::tpInt2, 2, 0x0201},
        {349, dbFieldInfo::tpInt4, 4, low},
        {349, dbFieldInfo::tpReal8, 8, low ^ high},
        {349, dbFieldInfo::tpRawBinary, 3, byBytes3},
        {333, dbFieldInfo::tpInt8, 8, low ^ high},
        {332, dbFieldInfo::tpInt8, 8, low ^ high},
        {320, dbFieldInfo::tpRawBinary, 3, 0x030201u},
        {308, dbFieldInfo::tpRawBinary, 8, low},
        {307, dbFieldInfo::tpInt8, 8, low},
        {288, dbFieldInfo::tpInt2, 2, 0x0201},
        {287, dbFieldInfo::tpInt8, 8, byBytes8},
        {200, dbFieldInfo::tpInt1, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dbHashIndex::FunctionFor(c.version)(bytes, c.type, c.size), c.code)
            << c.version << " type " << c.type;
    EXPECT_EQ(dbHashIndex::StringHash("ab", 2), 97u * 31 + 98);
    // Stored images keep their codes: every length and byte value hashes
    // as the one-byte-a-step definition.
    std::string text;
    for (int n = 0; n <= 41; n++) {
        uint32_t byDefinition = 0;
        for (unsigned char c : text)
            byDefinition = byDefinition * 31 + c;
        EXPECT_EQ(dbHashIndex::StringHash(text.data(), text.size()), byDefinition) << n;
        text.push_back(static_cast<char>(0xE9 + n * 7));
    }
}

TEST_F(HashIndexTest, TheSchemaLoadChoosesTheFunctionOfTheImagesVersion)
{
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto code = [&] { return db().GetKeyHash()(bytes, dbFieldInfo::tpInt8, 8); };
    EXPECT_EQ(db().GetVersion(), 349);
    EXPECT_EQ(code(), 0x04030201u ^ 0x08070605u);
    db().Commit();
    auto* header = const_cast<dbImageHeader*>(db().GetHeader());
    header->majorVersion = 2;
    header->minorVersion = 87;
    db().UnbindTables();
    ASSERT_TRUE(db().LoadSchema(true));
    uint32_t byBytes = 0;
    for (uint8_t b : bytes)
        byBytes = byBytes * 31 + b;
    EXPECT_EQ(code(), byBytes);
    header->majorVersion = 3;
    header->minorVersion = 49;
}

} // namespace
