#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using dbtest::ImageIsConsistent;

namespace {

const size_t MB = 1 << 20;

class dbTransaction : public testing::Test {
protected:
    dbTransaction() : db(dbEngine::dbAllAccess, 4 * MB, MB, 0, 1) {}
    void SetUp() override { ASSERT_TRUE(db.Open(dbtest::UniqueName("tx").c_str())); }
    void TearDown() override { db.Close(); }

    dbEngine db;
};

// Records the end of the transaction of the thread whose ring it is in.
class RecordingCursor : public dbTransactionCursor {
public:
    int ends = 0;
    void OnTransactionEnd() override { ends++; }
};

} // namespace

TEST_F(dbTransaction, CommitFlipsTheRootAndFreesReplacedVersions)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t kept = dbtest::NewRecord(db, 200, 1);
    oid_t changed = dbtest::NewRecord(db, 300, 2);
    oid_t removed = dbtest::NewRecord(db, 400, 3);
    db.Commit();
    int first = db.GetHeader()->curr;

    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    offs_t oldChanged = dbtest::OffsetOf(db, changed);
    offs_t oldRemoved = dbtest::OffsetOf(db, removed);
    dbtest::MakePrivate(db, changed);
    memset(db.GetRow(changed) + 12, 9, 288);
    dbtest::RemoveRecord(db, removed);
    EXPECT_NE(dbtest::OffsetOf(db, changed), oldChanged);
    // Until the commit the committed versions keep their space.
    EXPECT_FALSE(db.IsSpaceFree(oldChanged, 1));
    EXPECT_FALSE(db.IsSpaceFree(oldRemoved, 1));
    EXPECT_TRUE(ImageIsConsistent(db));
    db.Commit();

    const dbImageHeader* h = db.GetHeader();
    EXPECT_EQ(h->curr, 1 - first);
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(db.IsSpaceFree(oldChanged, 1));
    EXPECT_TRUE(db.IsSpaceFree(oldRemoved, 1));
    EXPECT_TRUE(dbtest::RecordHolds(db, kept, 200, 1));
    EXPECT_TRUE(dbtest::RecordHolds(db, changed, 300, 9));
    for (oid_t id = 0; id < h->root[h->curr].indexUsed; id++)
        ASSERT_EQ(dbtest::RootEntry(db, 0, id), dbtest::RootEntry(db, 1, id)) << id;
    EXPECT_EQ(h->root[0].freeList, removed);
    EXPECT_EQ(h->root[1].freeList, removed);
    EXPECT_TRUE(ImageIsConsistent(db));
    db.Commit();
}

TEST_F(dbTransaction, CommitWithoutChangesOnlyReleasesTheLocks)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::NewRecord(db, 64, 1);
    db.Commit();
    int curr = db.GetHeader()->curr;
    db.Commit(); // two in a row: the second finds nothing
    EXPECT_EQ(db.GetHeader()->curr, curr);

    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_FALSE(db.IsLockFree());
    db.Commit();
    EXPECT_TRUE(db.IsLockFree());
    EXPECT_EQ(db.GetHeader()->curr, curr);
}

TEST_F(dbTransaction, RollbackDropsInsertedSpaceAndIdentifiers)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t committed = dbtest::NewRecord(db, 100, 1);
    db.Commit();
    oid_t used = db.GetHeader()->root[db.GetHeader()->curr].indexUsed;

    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t inserted = dbtest::NewRecord(db, 5000, 2);
    offs_t insertedAt = dbtest::OffsetOf(db, inserted);
    dbtest::MakePrivate(db, committed);
    memset(db.GetRow(committed) + 12, 7, 88);
    dbtest::RemoveRecord(db, committed);
    db.Rollback();
    EXPECT_TRUE(db.IsLockFree());

    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_EQ(db.GetCurrentIndexSize(), used);
    EXPECT_TRUE(db.IsSpaceFree(insertedAt, 5000 / 16));
    EXPECT_TRUE(dbtest::RecordHolds(db, committed, 100, 1));
    const dbImageHeader* h = db.GetHeader();
    for (oid_t id = 0; id < used; id++)
        ASSERT_EQ(dbtest::RootEntry(db, 0, id), dbtest::RootEntry(db, 1, id)) << id;
    EXPECT_TRUE(ImageIsConsistent(db));
    db.Commit();
    // The next transaction hands out the same identifier again.
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    EXPECT_EQ(db.AllocateIds(1), inserted);
    EXPECT_EQ(h->root[1 - h->curr].indexUsed, used + 1);
    db.Rollback();
}

TEST_F(dbTransaction, RollbackAfterTheIndexGrew)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t committed = dbtest::NewRecord(db, 48, 4);
    db.Commit();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::RemoveRecord(db, committed);
    while (db.GetCurrentIndexSize() <= 9216)
        dbtest::NewRecord(db, 16, 1);
    db.Rollback();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    EXPECT_TRUE(dbtest::RecordHolds(db, committed, 48, 4));
    EXPECT_TRUE(ImageIsConsistent(db));
    dbtest::NewRecord(db, 16, 1);
    db.Commit();
    EXPECT_TRUE(ImageIsConsistent(db));
}

TEST_F(dbTransaction, RollbackClearsTheNextLinkOfALastRow)
{
    // The Metatable names a last row; a stray next link on it is cleared.
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t row = dbtest::NewRecord(db, 64, 0);
    dbtest::MakePrivate(db, dbMetatableId);
    memcpy(db.GetRow(dbMetatableId) + 44, &row, 4);
    db.Commit();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::NewRecord(db, 64, 0);
    reinterpret_cast<dbRecordHeader*>(db.GetRow(row))->next = 12345;
    db.Rollback();
    EXPECT_EQ(reinterpret_cast<dbRecordHeader*>(db.GetRow(row))->next, 0u);
}

TEST_F(dbTransaction, CursorsAreEmptiedAtTheEndOfATransaction)
{
    RecordingCursor cursor;
    cursor.LinkAfter(&db.GetThreadState()->cursors);
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::NewRecord(db, 64, 0);
    db.Commit();
    EXPECT_EQ(cursor.ends, 1);
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    db.Rollback();
    EXPECT_EQ(cursor.ends, 2);
    cursor.Unlink();
}

TEST_F(dbTransaction, ReaderUpgradesAtOnceWhenAlone)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_FALSE(db.IsInWriteTransaction());
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    EXPECT_TRUE(db.IsInWriteTransaction());
    EXPECT_TRUE(db.IsWriteAccessRequested());
    dbtest::NewRecord(db, 64, 0);
    db.Commit();
    EXPECT_TRUE(db.IsLockFree());
    // A read after the commit takes the shared lock again.
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_FALSE(db.IsLockFree());
    db.Commit();
}

TEST_F(dbTransaction, WriterWaitsForReaders)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    std::atomic<bool> written{false};
    oid_t id = 0;
    std::thread writer([&] {
        db.Attach();
        db.BeginTransaction(dbEngine::dbExclusiveLock);
        id = dbtest::NewRecord(db, 80, 5);
        written = true;
        db.Commit();
        db.Detach();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(written);
    db.Commit();
    writer.join();
    EXPECT_TRUE(written);
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(db, id, 80, 5));
    db.Commit();
}

TEST_F(dbTransaction, SecondUpgradingReaderGetsDeadlock)
{
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    std::atomic<bool> otherReads{false}, otherWrites{false};
    std::thread other([&] {
        db.Attach();
        db.BeginTransaction(dbEngine::dbSharedLock);
        otherReads = true;
        db.BeginTransaction(dbEngine::dbExclusiveLock); // waits to upgrade
        otherWrites = true;
        db.Commit();
        db.Detach();
    });
    while (!otherReads)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    try {
        db.BeginTransaction(dbEngine::dbExclusiveLock);
        ADD_FAILURE() << "no deadlock reported";
    } catch (const dbException& e) {
        EXPECT_EQ(e.GetErrCode(), dbDeadlock);
    }
    EXPECT_FALSE(otherWrites);
    db.Commit(); // releasing the shared lock lets the other reader upgrade
    other.join();
    EXPECT_TRUE(otherWrites);
}

TEST(dbLockTimeout, AWriterThatHoldsTooLongLosesItsLock)
{
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("revoke").c_str(), nullptr, 100));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t lost = dbtest::NewRecord(db, 64, 1);
    oid_t taken = 0;
    std::thread other([&] {
        db.Attach();
        db.BeginTransaction(dbEngine::dbExclusiveLock); // gives up waiting, takes over
        taken = dbtest::NewRecord(db, 64, 2);
        db.Commit();
        db.Detach();
    });
    other.join();
    EXPECT_EQ(taken, lost); // the dropped writer's identifier was given back
    try {
        db.Commit();
        ADD_FAILURE() << "the revoked lock was not noticed";
    } catch (const dbException& e) {
        EXPECT_EQ(e.GetErrCode(), dbLockRevoked);
    }
    db.Detach(0);
    db.Close();
}

// The dropped writer had grown the image: the engine that takes over undoes
// its changes in the grown image, not in the one it last mapped.
TEST(dbLockTimeout, ADroppedWriterIsUndoneInTheImageItGrew)
{
    std::string name = dbtest::UniqueName("revokegrown");
    dbEngine writer(dbEngine::dbAllAccess, MB, MB, 0, 1);
    dbEngine waiter(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(writer.Open(name.c_str(), nullptr, 100));
    ASSERT_TRUE(waiter.Open(name.c_str(), nullptr, 100));
    ASSERT_TRUE(writer.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t lost = dbtest::NewRecord(writer, 3 * MB, 1);
    ASSERT_EQ(writer.GetSectionVersion(), 2);
    oid_t taken = 0;
    bool consistent = false;
    std::thread other([&] {
        if (!waiter.BeginTransaction(dbEngine::dbExclusiveLock))
            return;
        taken = dbtest::NewRecord(waiter, 64, 2);
        waiter.Commit();
        consistent = ImageIsConsistent(waiter);
        waiter.Detach();
    });
    other.join();
    EXPECT_EQ(waiter.GetSectionVersion(), 2);
    EXPECT_EQ(taken, lost);
    EXPECT_TRUE(consistent);
    EXPECT_THROW(writer.Commit(), dbException);
    writer.Detach(0);
    waiter.Close();
    writer.Close();
}

TEST(dbDelayedCommit, CommitIsWrittenAfterTheDelay)
{
    dbEngine db(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("delay").c_str(), nullptr, -1, 1));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::NewRecord(db, 64, 1);
    int curr = db.GetHeader()->curr;
    db.Commit();
    EXPECT_EQ(db.GetHeader()->curr, curr); // handed to the commit thread
    for (int i = 0; i < 300 && db.GetHeader()->curr == curr; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(db.GetHeader()->curr, 1 - curr);

    // A pending commit is taken back by the thread's next transaction and
    // done by close.
    dbEngine reader(dbEngine::dbAllAccess, MB, MB, 0, 1);
    ASSERT_TRUE(reader.Open(db.GetDatabaseName()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t id = dbtest::NewRecord(db, 64, 2);
    db.Commit();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::NewRecord(db, 64, 3);
    db.Close();
    ASSERT_TRUE(reader.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(reader, id, 64, 2));
    EXPECT_TRUE(ImageIsConsistent(reader));
    reader.Close();
}
