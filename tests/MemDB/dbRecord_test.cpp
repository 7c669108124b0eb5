// Record operations: round trips of every field type against a map model,
// inverse references, row lists, refused identifiers and the lifetime of
// fetched texts. The image checker runs after every change.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <thread>

#include "MemDB/dbQueryText.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

std::string RandomText(std::mt19937& rng)
{
    size_t n = rng() % 8 == 0 ? 200 + rng() % 400 : rng() % 24;
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('a' + rng() % 26);
    return s;
}

Value RandomValue(std::mt19937& rng)
{
    Value v;
    v.b = rng() % 2;
    v.i1 = static_cast<int8_t>(rng());
    v.i2 = static_cast<int16_t>(rng());
    v.i4 = static_cast<int32_t>(rng() % 50);
    v.i8 = (static_cast<int64_t>(rng()) << 32) | rng();
    v.r4 = static_cast<float>(rng() % 1000) / 8;
    v.r8 = static_cast<double>(rng()) / 3;
    v.s = RandomText(rng);
    v.ss = RandomText(rng);
    v.ref = rng() % 100;
    for (size_t n = rng() % 6; n > 0; --n)
        v.ai.push_back(static_cast<int32_t>(rng()));
    for (size_t n = rng() % 4; n > 0; --n)
        v.as.push_back(RandomText(rng));
    for (size_t n = rng() % 3; n > 0; --n)
        v.ap.emplace_back(static_cast<int16_t>(rng()), static_cast<int32_t>(rng()));
    v.pt = {static_cast<int16_t>(rng()), static_cast<int32_t>(rng())};
    for (uint8_t& c : v.raw)
        c = static_cast<uint8_t>(rng());
    v.rect = {static_cast<int32_t>(rng()), 1, 2, static_cast<int32_t>(rng())};
    return v;
}

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = base.AddTable("AllTypes", sizeof(AllTypes), DescribeAllTypes);
        ASSERT_TRUE(base.Open());
    }
    dbEngine& db() { return base.db; }
    oid_t Insert(const Value& v)
    {
        AllTypes rec{};
        std::vector<const char*> ptrs;
        ToRecord(v, rec, ptrs);
        return db().InsertRecord(table, &rec);
    }
    bool Update(oid_t id, const Value& v)
    {
        AllTypes rec{};
        std::vector<const char*> ptrs;
        ToRecord(v, rec, ptrs);
        return db().UpdateRecord(id, table, &rec);
    }
    Value Fetch(oid_t id)
    {
        AllTypes rec{};
        EXPECT_TRUE(db().FetchRecord(id, table, &rec));
        return FromRecord(rec);
    }
    uint32_t RowCount(dbTableInfo* t) { return RowCountOf(db(), t); }

    Database base;
    dbTableInfo* table = nullptr;
};

TEST_F(RecordTest, RandomRoundTripsMatchAMapModel)
{
    std::mt19937 rng(777);
    std::map<oid_t, Value> model;
    for (int step = 0; step < 600; ++step) {
        int op = rng() % 10;
        if (op < 4 || model.empty()) {
            Value v = RandomValue(rng);
            oid_t id = Insert(v);
            ASSERT_GE(id, oid_t(dbFirstUserId));
            ASSERT_EQ(model.count(id), 0u);
            model[id] = v;
        } else {
            auto it = model.begin();
            std::advance(it, rng() % model.size());
            if (op < 7) {
                Value v = RandomValue(rng);
                ASSERT_TRUE(Update(it->first, v));
                it->second = v;
            } else if (op < 9) {
                ASSERT_TRUE(db().RemoveRecord(table, it->first));
                model.erase(it);
            } else {
                db().Commit();
            }
        }
        ASSERT_TRUE(base.Consistent()) << "step " << step;
        for (int i = 0; i < 3 && !model.empty(); ++i) {
            auto it = model.begin();
            std::advance(it, rng() % model.size());
            ASSERT_TRUE(Fetch(it->first) == it->second) << "record " << it->first;
        }
    }
    ASSERT_EQ(RowCount(table), model.size());
    std::map<int32_t, int> perKey;
    for (auto& kv : model) {
        ASSERT_TRUE(Fetch(kv.first) == kv.second);
        perKey[kv.second.i4] += 1;
    }
    dbTypedCursor<AllTypes> cursor(table);
    for (int32_t key = 0; key < 50; ++key)
        EXPECT_EQ(cursor.SelectByKey("i4", key), perKey[key]) << key;
    const Value& some = model.begin()->second;
    EXPECT_GE(cursor.SelectByKey("s", some.s.c_str()), 1);
    EXPECT_EQ(cursor->s, some.s);
}

// Random changes against a map model with the image held near a small size
// limit: an insert or update that finds no room is refused with code 10 and
// leaves nothing half-made (the image checker, the row count, an unindexed
// scan and every record agree with the model after each step); removals and
// commits are never refused, so deleting rows always makes room again.
TEST_F(RecordTest, ChangesRefusedAtTheSizeLimitLeaveNothingHalfMade)
{
    db().Commit();
    const size_t limit = db().GetHeader()->size; // 8 MB, nearly all free
    db().SetSizeLimit(limit);
    std::mt19937 rng(4242);
    std::map<oid_t, Value> model, committed;
    auto scanned = [this]() {
        dbQueryText all;
        all.Append(dbFragText, "i1 = i1");
        dbRecordCursor cursor(table);
        return cursor.Select(all, dbCursorViewOnly);
    };
    int refused = 0, removedWhenFull = 0;
    bool full = false;
    for (int step = 0; step < 1200; ++step) {
        Value v = RandomValue(rng);
        if (rng() % 4 != 0)
            v.ss.assign(30000 + rng() % 60000, static_cast<char>('a' + rng() % 26));
        // Fill the image for a while, then make room, and again.
        const bool filling = (step / 300) % 2 == 0;
        int op = rng() % 10;
        if (model.empty())
            op = 0;
        auto it = model.begin();
        std::advance(it, model.empty() ? 0 : rng() % model.size());
        try {
            if (op < (filling ? 6 : 2)) {
                oid_t id = Insert(v);
                ASSERT_EQ(model.count(id), 0u);
                model[id] = v;
                full = false;
            } else if (op < (filling ? 8 : 4)) {
                ASSERT_TRUE(Update(it->first, v));
                it->second = v;
            } else if (op < 9) {
                ASSERT_TRUE(db().RemoveRecord(table, it->first));
                model.erase(it);
                removedWhenFull += full ? 1 : 0;
            } else {
                db().Commit();
                committed = model;
            }
        } catch (const dbException& e) {
            ASSERT_EQ(e.GetErrCode(), dbFileLimitExceeded) << "step " << step;
            ASSERT_LT(op, filling ? 8 : 4) << "a removal or commit was refused at step " << step;
            ++refused;
            full = true;
        }
        ASSERT_TRUE(base.Consistent()) << "step " << step;
        ASSERT_EQ(RowCount(table), model.size()) << "step " << step;
        ASSERT_EQ(scanned(), static_cast<int>(model.size())) << "step " << step;
        if (step % 25 == 0) {
            for (auto& kv : model)
                ASSERT_TRUE(Fetch(kv.first) == kv.second) << "record " << kv.first << " at step " << step;
        }
    }
    EXPECT_GT(refused, 10);
    EXPECT_GT(removedWhenFull, 0);
    EXPECT_LE(db().GetHeader()->size, limit + (1 << 20));
    db().Commit();
    EXPECT_TRUE(base.Consistent());
    for (auto& kv : model)
        ASSERT_TRUE(Fetch(kv.first) == kv.second) << "record " << kv.first;
}

TEST_F(RecordTest, RowListOfASingleRow)
{
    oid_t id = Insert(Value{});
    const auto* hdr = reinterpret_cast<const dbRecordHeader*>(db().GetRow(id));
    EXPECT_EQ(hdr->next, 0u);
    EXPECT_EQ(hdr->prev, 0u);
    dbDictionaryRecord dict(reinterpret_cast<const uint8_t*>(db().GetRow(table->tableId)));
    EXPECT_EQ(dict.FirstRow(), id);
    EXPECT_EQ(dict.LastRow(), id);
    ASSERT_TRUE(db().RemoveRecord(table, id));
    dbDictionaryRecord after(reinterpret_cast<const uint8_t*>(db().GetRow(table->tableId)));
    EXPECT_EQ(after.FirstRow(), 0u);
    EXPECT_EQ(after.LastRow(), 0u);
    EXPECT_EQ(after.RowCount(), 0u);
    EXPECT_EQ(Insert(Value{}), id);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(RecordTest, NullTextStoresAsEmpty)
{
    AllTypes rec{};
    oid_t id = db().InsertRecord(table, &rec);
    AllTypes back{};
    ASSERT_TRUE(db().FetchRecord(id, table, &back));
    ASSERT_NE(back.s, nullptr);
    EXPECT_STREQ(back.s, "");
}

TEST_F(RecordTest, IdentifiersThatAreNotRowsOfTheTableAreRefused)
{
    oid_t row = Insert(Value{});
    Value v;
    v.s = "kept";
    ASSERT_TRUE(Update(row, v));
    oid_t removed = Insert(Value{});
    ASSERT_TRUE(db().RemoveRecord(table, removed));
    oid_t tree = table->FindField("i4")->tTree;
    const oid_t refused[] = {0, 1, 2, table->tableId, tree, removed,
                             db().GetCurrentIndexSize() + 7, 0xFFFFFFFFu};
    for (oid_t id : refused) {
        AllTypes rec{};
        EXPECT_FALSE(db().FetchRecord(id, table, &rec)) << id;
        EXPECT_FALSE(db().UpdateRecord(id, table, &rec)) << id;
        EXPECT_FALSE(db().RemoveRecord(table, id)) << id;
    }
    EXPECT_EQ(RowCount(table), 1u);
    EXPECT_EQ(Fetch(row).s, "kept");
    EXPECT_EQ(db().InsertRecord(nullptr, &v), 0u);
    EXPECT_TRUE(base.Consistent());
}

struct Small {
    int32_t n;
};

dbFieldInfo* DescribeSmall()
{
    return dbFieldList({dbDescribe<int32_t>("n", offsetof(Small, n), dbFieldInfo::INDEXED)});
}

TEST(RecordTables, ARowOfAnotherTableIsRefused)
{
    Database base;
    dbTableInfo* a = base.AddTable("SmallA", sizeof(Small), DescribeSmall);
    dbTableInfo* b = base.AddTable("SmallB", sizeof(Small), DescribeSmall);
    ASSERT_TRUE(base.Open());
    Small rec{5};
    std::vector<oid_t> rowsOfB;
    for (int i = 0; i < 5; ++i) {
        base.db.InsertRecord(a, &rec);
        rowsOfB.push_back(base.db.InsertRecord(b, &rec));
    }
    for (oid_t id : rowsOfB) {
        EXPECT_FALSE(base.db.FetchRecord(id, a, &rec));
        EXPECT_FALSE(base.db.RemoveRecord(a, id));
        EXPECT_TRUE(base.db.IsRecordOf(id, b));
    }
    dbRecordCursor cursor(a);
    EXPECT_EQ(cursor.SelectById(rowsOfB[2]), 0);
    EXPECT_TRUE(base.Consistent());
}

TEST_F(RecordTest, UpdateFromARecordFetchedFromItself)
{
    Value v;
    v.s = "short";
    v.as = {"x", "y"};
    oid_t id = Insert(v);
    db().Commit();
    for (const char* text : {"same!", "a much longer text that moves the record", "tiny"}) {
        AllTypes rec{};
        ASSERT_TRUE(db().FetchRecord(id, table, &rec));
        rec.i4 = 3;
        ASSERT_TRUE(db().UpdateRecord(id, table, &rec));
        Value expected = v;
        expected.i4 = 3;
        EXPECT_TRUE(Fetch(id) == expected);
        v.s = text;
        ASSERT_TRUE(Update(id, v));
        EXPECT_TRUE(base.Consistent());
    }
}

// Texts of a fetched record stay readable until the transaction ends, even
// when the record moves or goes and its space could be reused.
TEST_F(RecordTest, FetchedTextsStayReadableUntilCommit)
{
    Value v;
    v.s = "original text";
    oid_t id = Insert(v);
    oid_t gone = Insert(v);
    AllTypes held{}, heldGone{};
    ASSERT_TRUE(db().FetchRecord(id, table, &held));
    ASSERT_TRUE(db().FetchRecord(gone, table, &heldGone));
    dbTypedCursor<AllTypes> cursor(table);
    ASSERT_EQ(cursor.SelectById(id), 1);

    v.s = std::string(300, 'n');
    ASSERT_TRUE(Update(id, v));
    ASSERT_TRUE(db().RemoveRecord(table, gone));
    Value filler;
    filler.s = std::string(300, 'f');
    for (int i = 0; i < 20; ++i)
        Insert(filler);
    EXPECT_STREQ(held.s, "original text");
    EXPECT_STREQ(heldGone.s, "original text");
    EXPECT_EQ(std::string(cursor->s), v.s);
    EXPECT_TRUE(base.Consistent());
}

// Growth maps a larger section in place of the image: texts fetched before
// it, by a cursor or by hand, and a record given up before it, still read
// their values.
TEST_F(RecordTest, FetchedTextsSurviveImageGrowth)
{
    Value v;
    v.s = "watched";
    v.as = {"one", "two"};
    oid_t id = Insert(v);
    oid_t gone = Insert(v);
    AllTypes held{}, heldGone{};
    ASSERT_TRUE(db().FetchRecord(id, table, &held));
    ASSERT_TRUE(db().FetchRecord(gone, table, &heldGone));
    ASSERT_TRUE(db().RemoveRecord(table, gone));
    dbTypedCursor<AllTypes> cursor(table);
    ASSERT_EQ(cursor.SelectById(id), 1);
    const char* base0 = db().GetBase();
    int version0 = db().GetSectionVersion();
    Value big;
    big.s = std::string(200000, 'g');
    for (int i = 0; i < 100 && db().GetSectionVersion() == version0; ++i)
        Insert(big);
    ASSERT_NE(db().GetSectionVersion(), version0);
    EXPECT_EQ(db().GetBase(), base0);
    EXPECT_STREQ(cursor->s, "watched");
    EXPECT_STREQ(cursor->as[1], "two");
    EXPECT_STREQ(held.s, "watched");
    EXPECT_STREQ(held.as[0], "one");
    EXPECT_STREQ(heldGone.s, "watched");
    EXPECT_TRUE(base.Consistent());
}

// A writer dropped after the lock timeout loses the record places it set
// aside: the commit of the thread that took over must not free them under
// the records it has placed there since.
TEST_F(RecordTest, DroppedWriterLeavesNoSetAsidePlaces)
{
    db().Close();
    ASSERT_TRUE(db().Open(UniqueName("revoke").c_str(), nullptr, 100));
    Value v;
    v.s = "dropped";
    ASSERT_TRUE(db().RemoveRecord(table, Insert(v)));
    oid_t kept = 0;
    bool consistent = false;
    std::thread other([&] {
        db().Attach();
        Value w;
        w.s = "kept";
        kept = Insert(w); // waits out the timeout, then takes over
        consistent = base.Consistent();
        db().Commit();
        consistent = consistent && base.Consistent();
        db().Detach();
    });
    other.join();
    ASSERT_NE(kept, 0u);
    EXPECT_TRUE(consistent);
    EXPECT_THROW(db().Commit(), dbException);
    db().Detach(0);
}

struct Owner {
    const char* name;
    dbArray<dbReference> items;
};

struct Item {
    int32_t n;
    dbReference owner;
};

template <int ownerFlags, int itemFlags>
struct OwnedTables {
    static dbFieldInfo* DescribeOwner()
    {
        return dbFieldList({dbDescribe<const char*>("name", offsetof(Owner, name)),
                            dbDescribeReferenceArray("items", offsetof(Owner, items), "Item",
                                                     "owner", ownerFlags)});
    }
    static dbFieldInfo* DescribeItem()
    {
        return dbFieldList({dbDescribe<int32_t>("n", offsetof(Item, n)),
                            dbDescribeReference("owner", offsetof(Item, owner), "Owner", "items",
                                                itemFlags)});
    }
};

class InverseTest : public ::testing::Test {
protected:
    template <int ownerFlags, int itemFlags>
    void Open()
    {
        owners = base.AddTable("Owner", sizeof(Owner),
                               OwnedTables<ownerFlags, itemFlags>::DescribeOwner);
        items = base.AddTable("Item", sizeof(Item), OwnedTables<ownerFlags, itemFlags>::DescribeItem);
        ASSERT_TRUE(base.Open());
    }
    oid_t NewOwner(const char* name)
    {
        Owner o{name, {}};
        return base.db.InsertRecord(owners, &o);
    }
    oid_t NewItem(int32_t n, oid_t owner)
    {
        Item i{n, {owner}};
        return base.db.InsertRecord(items, &i);
    }
    std::multiset<oid_t> ItemsOf(oid_t owner)
    {
        Owner o{};
        EXPECT_TRUE(base.db.FetchRecord(owner, owners, &o));
        std::multiset<oid_t> ids;
        for (size_t i = 0; i < o.items.Length(); ++i)
            ids.insert(o.items[i].oid);
        return ids;
    }
    oid_t OwnerOf(oid_t item)
    {
        Item i{};
        EXPECT_TRUE(base.db.FetchRecord(item, items, &i));
        return i.owner.oid;
    }

    Database base;
    dbTableInfo* owners = nullptr;
    dbTableInfo* items = nullptr;
};

TEST_F(InverseTest, BackReferencesFollowRandomChanges)
{
    Open<0, dbFieldInfo::INDEXED>();
    std::mt19937 rng(99);
    std::vector<oid_t> ownerIds;
    std::map<oid_t, oid_t> ownerOf;
    for (int i = 0; i < 6; ++i)
        ownerIds.push_back(NewOwner("o"));
    for (int step = 0; step < 400; ++step) {
        int op = rng() % 10;
        oid_t owner = rng() % 5 == 0 ? 0 : ownerIds[rng() % ownerIds.size()];
        if (op < 4 || ownerOf.empty()) {
            oid_t id = NewItem(step, owner);
            ownerOf[id] = owner;
        } else {
            auto it = ownerOf.begin();
            std::advance(it, rng() % ownerOf.size());
            if (op < 7) {
                Item rec{step, {owner}};
                ASSERT_TRUE(base.db.UpdateRecord(it->first, items, &rec));
                it->second = owner;
            } else if (op < 9) {
                ASSERT_TRUE(base.db.RemoveRecord(items, it->first));
                ownerOf.erase(it);
            } else {
                // Removing an owner clears the reference of its items.
                oid_t victim = ownerIds[rng() % ownerIds.size()];
                ASSERT_TRUE(base.db.RemoveRecord(owners, victim));
                std::replace(ownerIds.begin(), ownerIds.end(), victim, NewOwner("o"));
                for (auto& kv : ownerOf) {
                    if (kv.second == victim)
                        kv.second = 0;
                }
            }
        }
        ASSERT_TRUE(base.Consistent()) << "step " << step;
        if (step % 97 == 0)
            base.db.Commit();
    }
    std::map<oid_t, std::multiset<oid_t>> expected;
    for (auto& kv : ownerOf) {
        ASSERT_EQ(OwnerOf(kv.first), kv.second) << "item " << kv.first;
        if (kv.second)
            expected[kv.second].insert(kv.first);
    }
    for (oid_t o : ownerIds)
        EXPECT_EQ(ItemsOf(o), expected[o]) << "owner " << o;
    // The indexed reference was re-keyed along the way.
    dbRecordCursor cursor(items);
    EXPECT_EQ(cursor.SelectByKey("owner", dbReference{ownerIds[0]}),
              static_cast<int>(expected[ownerIds[0]].size()));
}

TEST_F(InverseTest, SettingTheArraySideMovesItemsBetweenOwners)
{
    Open<0, 0>();
    oid_t a = NewOwner("a"), b = NewOwner("b");
    oid_t i1 = NewItem(1, a), i2 = NewItem(2, a);
    Owner rec{"b", {}};
    dbReference refs[] = {{i1}};
    rec.items.Assign(refs, 1);
    ASSERT_TRUE(base.db.UpdateRecord(b, owners, &rec));
    EXPECT_EQ(OwnerOf(i1), b);
    EXPECT_EQ(ItemsOf(a), std::multiset<oid_t>{i2});
    EXPECT_EQ(ItemsOf(b), std::multiset<oid_t>{i1});
    EXPECT_TRUE(base.Consistent());
}

TEST_F(InverseTest, CascadeRemovesATargetLeftWithoutOtherBackReferences)
{
    Open<0, dbFieldInfo::CASCADE>();
    oid_t shared = NewOwner("shared"), single = NewOwner("single");
    oid_t i1 = NewItem(1, shared), i2 = NewItem(2, shared), i3 = NewItem(3, single);
    ASSERT_TRUE(base.db.RemoveRecord(items, i3));
    EXPECT_FALSE(base.db.IsRecordOf(single, owners));
    ASSERT_TRUE(base.db.RemoveRecord(items, i1));
    EXPECT_TRUE(base.db.IsRecordOf(shared, owners));
    EXPECT_EQ(ItemsOf(shared), std::multiset<oid_t>{i2});
    EXPECT_TRUE(base.Consistent());
}

TEST_F(InverseTest, EmptyingATableClearsTheBackReferences)
{
    Open<0, 0>();
    oid_t a = NewOwner("a");
    oid_t i1 = NewItem(1, a);
    NewItem(2, a);
    base.db.DeleteTable(owners);
    EXPECT_EQ(OwnerOf(i1), 0u);
    EXPECT_EQ(RowCountOf(base.db, owners), 0u);
    EXPECT_TRUE(base.Consistent());
    base.db.DeleteTable(items);
    EXPECT_TRUE(base.Consistent());
}

// The table of each record comes from a look-up, not a walk of the item
// table's row list (it has no tree index): the answer follows identifiers
// reused by another table, a rollback, an emptied table and the changes of
// a second engine on the same image.
TEST_F(InverseTest, RowsBelongToTheirTableThroughEveryKindOfChange)
{
    Open<0, 0>();
    auto belongs = [this](oid_t id) {
        return std::make_pair(base.db.IsRecordOf(id, owners), base.db.IsRecordOf(id, items));
    };
    const auto owner = std::make_pair(true, false), item = std::make_pair(false, true),
               none = std::make_pair(false, false);
    oid_t a = NewOwner("a");
    oid_t i1 = NewItem(1, a), i2 = NewItem(2, a);
    base.db.Commit();
    EXPECT_EQ(belongs(a), owner);
    EXPECT_EQ(belongs(i1), item);

    // A removed item's identifier goes to the next row, here an owner's.
    ASSERT_TRUE(base.db.RemoveRecord(items, i1));
    EXPECT_EQ(belongs(i1), none);
    oid_t b = NewOwner("b");
    ASSERT_EQ(b, i1);
    EXPECT_EQ(belongs(b), owner);
    Item fetched{};
    EXPECT_FALSE(base.db.FetchRecord(b, items, &fetched));
    base.db.Rollback();
    EXPECT_EQ(belongs(i1), item);
    EXPECT_EQ(OwnerOf(i1), a);

    // A second engine on the same image gives an item's identifier to an owner.
    Database other;
    dbTableInfo* otherItems = other.AddTable("Item", sizeof(Item), OwnedTables<0, 0>::DescribeItem);
    dbTableInfo* otherOwners = other.AddTable("Owner", sizeof(Owner), OwnedTables<0, 0>::DescribeOwner);
    ASSERT_TRUE(other.db.Open(base.db.GetDatabaseName()));
    ASSERT_TRUE(other.db.RemoveRecord(otherItems, i2));
    Owner added{"c", {}};
    ASSERT_EQ(other.db.InsertRecord(otherOwners, &added), i2);
    other.db.Commit();
    other.db.Close();
    EXPECT_EQ(belongs(i2), owner);

    base.db.DeleteTable(items);
    EXPECT_EQ(belongs(i1), none);
    EXPECT_EQ(belongs(i2), owner);
    EXPECT_EQ(belongs(a), owner);
    EXPECT_TRUE(base.Consistent());
    base.db.Commit();
}

} // namespace
