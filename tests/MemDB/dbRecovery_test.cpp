#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

namespace {

const size_t MB = 1 << 20;

} // namespace

// An image left dirty (a writer went away before committing) comes back as
// its committed state when a writable engine opens it.
TEST(dbRecovery, DirtyImageOpensAsItsCommittedState)
{
    std::string source = dbtest::UniqueName("crashed");
    std::string target = dbtest::UniqueName("recovered");
    dbSharedMemory leftover;
    oid_t committed, uncommitted;
    offs_t uncommittedAt;
    {
        dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
        ASSERT_TRUE(db.Open(source.c_str()));
        ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
        committed = dbtest::NewRecord(db, 700, 0x21);
        db.Commit();
        ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
        dbtest::MakePrivate(db, committed);
        memset(db.GetRow(committed) + 12, 0x99, 688);
        uncommitted = dbtest::NewRecord(db, 300, 0x42);
        uncommittedAt = dbtest::OffsetOf(db, uncommitted);
        ASSERT_EQ(db.GetHeader()->dirty, 1);
        // The image as it stands, under the name of another database.
        ASSERT_EQ(leftover.Open((target + ".1").c_str(), db.GetHeader()->size, dbProcessLocal, false), 0);
        memcpy(leftover.Base(), db.GetBase(), db.GetHeader()->size);
        db.Rollback();
        db.Close();
    }
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(target.c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    EXPECT_TRUE(dbtest::RecordHolds(db, committed, 700, 0x21));
    EXPECT_EQ(db.GetCurrentIndexSize(), uncommitted);
    EXPECT_TRUE(dbtest::ImageIsConsistent(db));
    // The space of the lost insert is usable again.
    EXPECT_EQ(dbtest::NewRecord(db, 300, 1), uncommitted);
    EXPECT_TRUE(db.IsSpaceFree(uncommittedAt + 304, 1) || dbtest::OffsetOf(db, uncommitted) != uncommittedAt);
    db.Commit();
    EXPECT_TRUE(dbtest::ImageIsConsistent(db));
    db.Close();
}

TEST(dbEngineParameters, OpenWithParametersAndThreadCount)
{
    dbEngine::OpenParameters p;
    std::string name = dbtest::UniqueName("params");
    p.databaseName = name.c_str();
    p.initSize = 3 * MB;
    p.initIndexSize = 20000;
    p.extensionQuantum = MB;
    p.freeSpaceReuseThreshold = 64;
    p.nThreads = 500;
    dbEngine db;
    ASSERT_TRUE(db.OpenWithParameters(p));
    EXPECT_EQ(db.GetHeader()->size, 3 * MB);
    EXPECT_EQ(db.GetHeader()->root[0].indexSize, 20480u);
    EXPECT_EQ(db.GetThreadCount(), 64);
    EXPECT_STREQ(db.GetFileName(), (name + ".fdb").c_str());
    EXPECT_FALSE(db.OpenWithParameters(p)) << "already open";

    // The small reuse threshold sends the search back at once.
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    offs_t a = db.AllocateSpace(64);
    db.AllocateSpace(64);
    db.FreeSpace(a, 64);
    EXPECT_EQ(db.GetFreedBytes(), 0u);
    EXPECT_EQ(db.AllocateSpace(64), a);
    db.Close();

    db.SetThreadCount(0);
    EXPECT_GE(db.GetThreadCount(), 1);
    db.SetThreadCount(3);
    EXPECT_EQ(db.GetThreadCount(), 3);
}

TEST(dbSpaceStatistics, HolesAndUsedBytes)
{
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("stats").c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    db.AllocateSpace(16);
    dbEngine::dbSpaceStatistics before;
    db.GetSpaceStatistics(before);
    offs_t a = db.AllocateSpace(100);
    db.AllocateSpace(16);
    offs_t b = db.AllocateSpace(1000);
    db.AllocateSpace(16);
    db.FreeSpace(a, 100);
    db.FreeSpace(b, 1000);
    dbEngine::dbSpaceStatistics after;
    db.GetSpaceStatistics(after);
    EXPECT_EQ(after.usedBytes, before.usedBytes + 32);
    EXPECT_EQ(after.holeCount, before.holeCount + 2);
    EXPECT_EQ(after.holeBytes + after.usedBytes, before.holeBytes + before.usedBytes);
    EXPECT_EQ(after.minHole, 112u);
    EXPECT_EQ(after.histogram[2], before.histogram[2] + 1); // 112 bytes: [64, 128)
    EXPECT_EQ(after.histogram[5], before.histogram[5] + 1); // 1008 bytes: [512, 1024)
    db.Close();
}

TEST(dbHoleCacheUse, FreedHolesAreTakenFirstWhenConfigured)
{
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("holes").c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    db.AllocateSpace(16);
    db.GetHoleCache().Configure(32, 1024, 32, 16);
    offs_t a = db.AllocateSpace(256);
    offs_t b = db.AllocateSpace(256);
    db.AllocateSpace(256);
    db.FreeSpace(a, 256);
    db.FreeSpace(b, 256);
    // The cache hands out the latest hole first; one that was taken
    // meanwhile is not used.
    db.MarkSpaceUsed(b, 16);
    offs_t first = db.AllocateSpace(256);
    EXPECT_NE(first, a);
    EXPECT_NE(first, b);
    EXPECT_EQ(db.AllocateSpace(256), a);
    EXPECT_EQ(db.GetHoleCache().Hits(), 2u);
    db.Close();
}
