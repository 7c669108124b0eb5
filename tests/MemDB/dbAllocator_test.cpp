#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using dbtest::ImageIsConsistent;

namespace {

const size_t MB = 1 << 20;

class dbAllocator : public testing::Test {
protected:
    // A 4 MB image whose index fits in its first bitmap page; the extension
    // quantum (and so the reuse threshold) is 1 MB.
    dbAllocator() : db(dbEngine::dbAllAccess, 4 * MB, MB, 0, 1) {}

    void SetUp() override
    {
        ASSERT_TRUE(db.Open(dbtest::UniqueName("alloc").c_str()));
        ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
        // The first change copies the shared bitmap page; later ones do not.
        dbtest::NewRecord(db, 16, 0);
    }
    void TearDown() override { db.Close(); }

    bool Used(offs_t offset) const { return !db.IsSpaceFree(offset, 1); }

    dbEngine db;
};

} // namespace

TEST_F(dbAllocator, QuantaAndPageAlignment)
{
    offs_t a = db.AllocateSpace(20);
    offs_t b = db.AllocateSpace(20);
    EXPECT_EQ(a % 16, 0u);
    EXPECT_EQ(b - a, 32u); // 20 bytes take two quanta
    EXPECT_TRUE(Used(a + 16));
    EXPECT_FALSE(Used(b + 32));

    for (size_t size : {4096, 8192, 3 * 4096}) {
        db.AllocateSpace(48); // the small-object position is not page aligned
        EXPECT_EQ(db.AllocateSpace(size) % 4096, 0u) << size;
    }

    // A hole that starts inside a page takes a 4100-byte request (a small
    // object of 4112 bytes), but not a 4096-byte one.
    offs_t z = db.AllocateSpace(4112 + 16);
    offs_t hole = z % 4096 != 0 ? z : z + 16;
    db.FreeSpace(hole, 4112);
    offs_t small = db.AllocateSpace(4100);
    EXPECT_EQ(small, hole);
    EXPECT_TRUE(Used(small + 4096));
    db.FreeSpace(small, 4100);
    EXPECT_NE(db.AllocateSpace(4096), hole);
}

TEST_F(dbAllocator, FreeingBeforeThePositionInTheSamePageMovesItBack)
{
    offs_t a = db.AllocateSpace(64);
    offs_t b = db.AllocateSpace(64);
    db.FreeSpace(a, 64);
    EXPECT_FALSE(Used(a));
    EXPECT_EQ(db.AllocateSpace(64), a);
    EXPECT_GT(db.AllocateSpace(64), b);
}

TEST_F(dbAllocator, ReuseThresholdSendsTheSearchBackToTheStart)
{
    offs_t early = db.AllocateSpace(64);
    size_t fillerSize = 3 * MB / 2 + 16; // a small object: moves the small-object position
    offs_t filler = db.AllocateSpace(fillerSize);
    offs_t late = db.AllocateSpace(64);
    ASSERT_GT(late / 524288, early / 524288);

    db.FreeSpace(early, 64); // another page: the position stays
    offs_t next = db.AllocateSpace(64);
    EXPECT_GT(next, late);

    db.FreeSpace(filler, fillerSize); // the freed bytes reach the threshold
    EXPECT_EQ(db.GetFreedBytes(), 0u);
    EXPECT_EQ(db.AllocateSpace(64), early);
}

TEST_F(dbAllocator, RequestsCrossBitmapPages)
{
    // Everything of the first bitmap page is used but its last three quanta.
    for (offs_t q = 0; q < 524288 - 48; q += 16) {
        if (!Used(q))
            db.MarkSpaceUsed(q, 1);
    }
    // Only fits once new bitmap pages extend the area: it begins in the
    // trailing hole and continues across the boundary.
    size_t big = 2 * MB - 48;
    offs_t across = db.AllocateSpace(big);
    EXPECT_EQ(across, 524288u - 48);
    EXPECT_TRUE(Used(524288 - 16));
    EXPECT_TRUE(Used(524288));
    EXPECT_TRUE(Used(across + big - 16));

    // Freed and asked for again, the hole is found across the boundary.
    db.FreeSpace(across, big);
    EXPECT_FALSE(Used(524288 - 48));
    EXPECT_FALSE(Used(524288));
    EXPECT_EQ(db.AllocateSpace(big), across);
    offs_t small = db.AllocateSpace(32);
    EXPECT_GE(small, across + big);
}

TEST_F(dbAllocator, SharedBitmapPageIsCopiedOncePerTransaction)
{
    dbtest::NewRecord(db, 64, 1);
    db.Commit();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    int c = db.GetHeader()->curr;
    oid_t committedPage = dbtest::RootEntry(db, c, dbBitmapId);
    ASSERT_EQ(db.GetEntry(dbBitmapId), committedPage);

    dbtest::NewRecord(db, 64, 2);
    oid_t copy = db.GetEntry(dbBitmapId);
    EXPECT_NE(copy, committedPage);
    EXPECT_EQ(copy & dbFlagsMask, dbBitmapPageKind);
    dbtest::NewRecord(db, 64, 3);
    EXPECT_EQ(db.GetEntry(dbBitmapId), copy);
    EXPECT_EQ(dbtest::RootEntry(db, c, dbBitmapId), committedPage);
    EXPECT_TRUE(ImageIsConsistent(db));

    db.Commit();
    EXPECT_TRUE(ImageIsConsistent(db));
    EXPECT_FALSE(Used(committedPage & ~dbFlagsMask)); // the old copy is freed
}

TEST_F(dbAllocator, IdentifiersAreRecycledLastFreedFirst)
{
    std::vector<oid_t> ids;
    for (int i = 0; i < 5; i++)
        ids.push_back(dbtest::NewRecord(db, 32, uint8_t(i)));

    dbtest::RemoveRecord(db, ids[1]);
    dbtest::RemoveRecord(db, ids[3]);
    EXPECT_TRUE(ImageIsConsistent(db));
    oid_t fresh = db.AllocateIds(2); // more than one: always new
    EXPECT_EQ(fresh, ids[4] + 1);
    EXPECT_EQ(db.AllocateIds(1), ids[3]);
    EXPECT_EQ(db.AllocateIds(1), ids[1]);
    EXPECT_EQ(db.AllocateIds(1), fresh + 2);
}

TEST_F(dbAllocator, FreeingARangeKeepsEveryIdentifier)
{
    oid_t first = db.AllocateIds(4);
    for (oid_t id = first; id < first + 4; id++)
        db.SetEntry(id, db.AllocateSpace(16), dbHashTableItemKind);
    for (oid_t id = first; id < first + 4; id++)
        db.FreeSpace(dbtest::OffsetOf(db, id), 16);
    db.FreeIds(first, 4);
    EXPECT_TRUE(ImageIsConsistent(db));
    std::set<oid_t> again;
    for (int i = 0; i < 4; i++)
        again.insert(db.AllocateIds(1));
    EXPECT_EQ(again, (std::set<oid_t>{first, first + 1, first + 2, first + 3}));
}

TEST_F(dbAllocator, IndexGrowsByDoubling)
{
    const dbImageHeader* h = db.GetHeader();
    int w = 1 - h->curr;
    ASSERT_EQ(h->root[w].indexSize, 9216u);
    std::vector<oid_t> ids;
    while (db.GetCurrentIndexSize() <= 9216)
        ids.push_back(dbtest::NewRecord(db, 16, uint8_t(ids.size())));
    EXPECT_EQ(h->root[w].indexSize, 18432u);
    for (size_t i = 0; i < ids.size(); i += 97)
        EXPECT_TRUE(dbtest::RecordHolds(db, ids[i], 16, uint8_t(i)));
    EXPECT_TRUE(ImageIsConsistent(db));
    db.Commit();
    EXPECT_TRUE(ImageIsConsistent(db));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    EXPECT_EQ(h->root[0].indexSize, 18432u);
    EXPECT_EQ(h->root[1].indexSize, 18432u);
    EXPECT_TRUE(dbtest::RecordHolds(db, ids.back(), 16, uint8_t(ids.size() - 1)));
    dbtest::NewRecord(db, 16, 1);
    EXPECT_TRUE(ImageIsConsistent(db));
}

TEST(dbImageGrowth, FullImageGrowsIntoALargerSection)
{
    std::string name = dbtest::UniqueName("grow");
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    dbEngine other(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(name.c_str()));
    ASSERT_TRUE(other.Open(name.c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t before = dbtest::NewRecord(db, 500, 0x11);
    db.Commit();
    ASSERT_TRUE(other.BeginTransaction(dbEngine::dbSharedLock));
    const char* seen = other.GetRow(before);
    const char* otherBase = other.GetBase();
    other.Commit();

    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    const char* base = db.GetBase();
    oid_t big = dbtest::NewRecord(db, 3 * MB, 0x22);
    EXPECT_GE(db.GetHeader()->size, 4 * MB);
    EXPECT_EQ(db.GetSectionVersion(), 2);
    EXPECT_EQ(db.GetBase(), base);
    EXPECT_TRUE(dbtest::RecordHolds(db, before, 500, 0x11));
    EXPECT_TRUE(dbtest::RecordHolds(db, big, 3 * MB, 0x22));
    EXPECT_TRUE(ImageIsConsistent(db));
    db.Commit();
    EXPECT_TRUE(ImageIsConsistent(db));

    // The other engine maps the grown image at its next transaction, in
    // place of the old one: what it read before still reads the same.
    ASSERT_TRUE(other.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_EQ(other.GetSectionVersion(), 2);
    EXPECT_EQ(other.GetBase(), otherBase);
    EXPECT_EQ(other.GetRow(before), seen);
    EXPECT_EQ(static_cast<unsigned char>(seen[sizeof(dbRecordHeader)]), 0x11);
    EXPECT_TRUE(dbtest::RecordHolds(other, big, 3 * MB, 0x22));
    other.Commit();
    other.Close();
    db.Close();
    EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".1").c_str(), dbProcessLocal), 0u);
    EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".2").c_str(), dbProcessLocal), 0u);
}

TEST_F(dbAllocator, BadRequestsAreRefused)
{
    try {
        db.AllocateSpace(size_t(3) << 30);
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_EQ(e.GetErrCode(), dbOutOfMemoryError);
        EXPECT_EQ(e.GetArg(), 0x7fffffff);
    }
    // Offsets stay below 2 GB: an image cannot grow beyond that.
    try {
        db.AllocateSpace(0x7FFF0000);
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_EQ(e.GetErrCode(), dbFileLimitExceeded);
        EXPECT_STREQ(e.what(), "File limit exeeded");
    }
    EXPECT_EQ(db.GetSectionVersion(), 1);
    struct Case {
        const char* what;
        void (*call)(dbEngine&);
    };
    const Case cases[] = {
        {"no identifiers", [](dbEngine& d) { d.AllocateIds(0); }},
        {"free identifier 0", [](dbEngine& d) { d.FreeIds(0, 1); }},
        {"free a reserved identifier", [](dbEngine& d) { d.FreeIds(dbMetatableId, 1); }},
        {"free beyond the entries in use", [](dbEngine& d) { d.FreeIds(d.GetCurrentIndexSize(), 1); }},
        {"free the header", [](dbEngine& d) { d.FreeSpace(0, 16); }},
        {"free past the image", [](dbEngine& d) { d.FreeSpace(d.GetHeader()->size - 16, 32); }},
    };
    for (const Case& c : cases) {
        try {
            c.call(db);
            ADD_FAILURE() << c.what;
        } catch (const dbException& e) {
            EXPECT_EQ(e.GetErrCode(), dbIndexOutOfRange) << c.what;
        }
    }
    EXPECT_TRUE(ImageIsConsistent(db));
}

TEST(dbReadOnly, WritesAreRefusedWithCode12)
{
    std::string name = dbtest::UniqueName("ro");
    dbEngine writer(dbEngine::dbAllAccess, MB, MB, 0, 1);
    dbEngine reader(dbEngine::dbReadOnly, MB, MB, 0, 1);
    ASSERT_TRUE(writer.Open(name.c_str()));
    ASSERT_TRUE(writer.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t id = dbtest::NewRecord(writer, 40, 3);
    writer.Commit();
    ASSERT_TRUE(reader.Open(name.c_str()));
    ASSERT_TRUE(reader.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(reader, id, 40, 3));

    // Even while the image is dirty, no write reaches the read-only view.
    const struct {
        const char* what;
        void (*call)(dbEngine&);
    } writes[] = {
        {"space", [](dbEngine& d) { d.AllocateSpace(16); }},
        {"identifiers", [](dbEngine& d) { d.AllocateIds(1); }},
        {"free", [](dbEngine& d) { d.FreeIds(dbFirstUserId, 1); }},
        {"lock", [](dbEngine& d) { d.BeginTransaction(dbEngine::dbExclusiveLock); }},
    };
    ASSERT_EQ(reader.GetHeader()->dirty, 1);
    for (const auto& w : writes) {
        try {
            w.call(reader);
            ADD_FAILURE() << w.what;
        } catch (const dbException& e) {
            EXPECT_EQ(e.GetErrCode(), dbDatabaseReadOnly) << w.what;
            EXPECT_STREQ(e.what(), "Attempt to modify readonly database");
        }
    }
    reader.Commit();
    reader.Close();
    writer.Close();
}
