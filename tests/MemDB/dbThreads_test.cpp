// Several threads of one engine reading and writing in turn: the locks keep
// every reader on a committed state and the image consistent.
#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

// Each thread owns records whose bodies repeat the low byte of their
// identifier; it checks them in its read transactions, adds and removes
// some in its write transactions and commits or rolls back.
void Worker(dbEngine& db, unsigned seed, int rounds, std::vector<oid_t>& mine, std::atomic<int>& failures)
{
    std::mt19937 rng(seed);
    db.Attach();
    for (int round = 0; round < rounds; round++) {
        if (rng() % 2 == 0) {
            db.BeginTransaction(dbEngine::dbSharedLock);
            for (oid_t id : mine) {
                if (!dbtest::RecordHolds(db, id, 64, static_cast<uint8_t>(id)))
                    failures++;
            }
            db.Commit();
        } else {
            if (rng() % 4 == 0) {
                // A reader that upgrades; when another reader already waits
                // to upgrade, this one backs off.
                db.BeginTransaction(dbEngine::dbSharedLock);
                try {
                    db.BeginTransaction(dbEngine::dbExclusiveLock);
                } catch (const dbException& e) {
                    if (e.GetErrCode() != dbDeadlock)
                        failures++;
                    db.Commit();
                    continue;
                }
            } else {
                db.BeginTransaction(dbEngine::dbExclusiveLock);
            }
            std::vector<oid_t> next = mine;
            oid_t id = dbtest::NewRecord(db, 64, 0);
            memset(db.GetRow(id) + 12, static_cast<uint8_t>(id), 52);
            next.push_back(id);
            if (!next.empty() && rng() % 3 == 0) {
                size_t i = rng() % next.size();
                dbtest::RemoveRecord(db, next[i]);
                next.erase(next.begin() + static_cast<long>(i));
            }
            if (rng() % 4 == 0) {
                db.Rollback();
            } else {
                db.Commit();
                mine = next;
            }
        }
    }
    db.Detach();
}

} // namespace

TEST(dbThreads, ReadersAndWritersTakeTurns)
{
    dbEngine db(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("threads").c_str()));
    std::atomic<int> failures{0};
    std::vector<std::vector<oid_t>> owned(4);
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < owned.size(); t++)
        threads.emplace_back(Worker, std::ref(db), t + 1, 300, std::ref(owned[t]), std::ref(failures));
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    for (const auto& ids : owned) {
        for (oid_t id : ids)
            EXPECT_TRUE(dbtest::RecordHolds(db, id, 64, static_cast<uint8_t>(id)));
    }
    EXPECT_TRUE(dbtest::ImageIsConsistent(db));
    db.Commit();
    db.Close();
}

// A writer engine grows the image many times while four threads of a second
// engine on the same name run read transactions: each remap of the reading
// engine happens once, under the threads that read, and every committed
// record stays readable through it.
TEST(dbThreads, ReadersOfAnotherEngineFollowAGrowingImage)
{
    struct Mode { dbEngine::dbAccessType writer, reader; };
    const Mode modes[] = {{dbEngine::dbConcurrentUpdate, dbEngine::dbConcurrentRead},
                          {dbEngine::dbAllAccess, dbEngine::dbAllAccess}};
    for (const Mode& mode : modes) {
        const std::string name = dbtest::UniqueName("grow");
        dbEngine writer(mode.writer, 1 << 20, 1 << 20, 0, 1);
        ASSERT_TRUE(writer.Open(name.c_str()));
        dbEngine reader(mode.reader, 1 << 20, 1 << 20, 0, 1);
        ASSERT_TRUE(reader.Open(name.c_str()));

        const uint32_t recordSize = 4096;
        std::mutex committedLock;
        std::vector<oid_t> committed; // records every reader may check
        std::atomic<bool> done{false};
        std::atomic<int> failures{0};
        std::vector<std::thread> readers;
        for (unsigned t = 0; t < 4; t++) {
            readers.emplace_back([&, t] {
                std::mt19937 rng(t + 1);
                reader.Attach();
                while (!done) {
                    if (!reader.BeginTransaction(dbEngine::dbSharedLock)) {
                        failures++;
                        break;
                    }
                    std::vector<oid_t> sample;
                    {
                        std::lock_guard<std::mutex> guard(committedLock);
                        for (int i = 0; i < 8 && !committed.empty(); i++)
                            sample.push_back(committed[rng() % committed.size()]);
                    }
                    for (oid_t id : sample)
                        if (!dbtest::RecordHolds(reader, id, recordSize, static_cast<uint8_t>(id)))
                            failures++;
                    reader.Commit();
                }
                reader.Detach();
            });
        }
        for (int batch = 0; batch < 100; batch++) {
            ASSERT_TRUE(writer.BeginTransaction(dbEngine::dbExclusiveLock));
            std::vector<oid_t> added;
            for (int i = 0; i < 30; i++)
                added.push_back(dbtest::NewRecord(writer, recordSize, 0));
            for (oid_t id : added)
                memset(writer.GetRow(id) + sizeof(dbRecordHeader), static_cast<uint8_t>(id),
                       recordSize - sizeof(dbRecordHeader));
            writer.Commit();
            std::lock_guard<std::mutex> guard(committedLock);
            committed.insert(committed.end(), added.begin(), added.end());
        }
        done = true;
        for (std::thread& t : readers)
            t.join();
        EXPECT_EQ(failures.load(), 0);
        EXPECT_GT(writer.GetHeader()->size, 10u << 20);
        ASSERT_TRUE(reader.BeginTransaction(dbEngine::dbSharedLock));
        EXPECT_EQ(reader.GetSectionVersion(), writer.GetSectionVersion());
        EXPECT_TRUE(dbtest::ImageIsConsistent(reader));
        reader.Commit();
        reader.Close();
        writer.Close();
    }
}

// The reading engine cannot map the grown image (its section is gone): the
// transaction that tried reports the error, and a thread already inside a
// transaction goes on reading the image it had.
TEST(dbThreads, AFailedRemapLeavesTheOldImageToItsReaders)
{
    const std::string name = dbtest::UniqueName("remap");
    dbEngine writer(dbEngine::dbConcurrentUpdate, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(writer.Open(name.c_str()));
    ASSERT_TRUE(writer.BeginTransaction(dbEngine::dbExclusiveLock));
    const oid_t first = dbtest::NewRecord(writer, 4096, 7);
    writer.Commit();
    dbEngine reader(dbEngine::dbConcurrentRead, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(reader.Open(name.c_str()));
    const int oldVersion = reader.GetSectionVersion();

    std::promise<void> inside, grown;
    std::shared_future<void> grownSignal = grown.get_future().share();
    std::future<bool> readLater = std::async(std::launch::async, [&] {
        reader.Attach();
        bool ok = reader.BeginTransaction(dbEngine::dbSharedLock);
        inside.set_value();
        grownSignal.wait();
        ok = ok && dbtest::RecordHolds(reader, first, 4096, 7);
        reader.Commit();
        reader.Detach();
        return ok;
    });
    inside.get_future().wait();

    // The writer grows the image; its commit waits for the reader.
    ASSERT_TRUE(writer.BeginTransaction(dbEngine::dbExclusiveLock));
    for (int i = 0; i < 600; i++)
        dbtest::NewRecord(writer, 4096, 1);
    ASSERT_GT(writer.GetSectionVersion(), oldVersion);
    const std::string grownSection = "/vexal." + name + "." + std::to_string(writer.GetSectionVersion());
    ASSERT_EQ(shm_unlink(grownSection.c_str()), 0);

    std::vector<int> codes;
    auto remember = [](int code, const char*, int, void* seen) {
        static_cast<std::vector<int>*>(seen)->push_back(code);
    };
    reader.SetErrorHandler(remember, &codes);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(reader.BeginTransaction(dbEngine::dbSharedLock));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(codes, std::vector<int>{dbDatabaseOpenError});
    EXPECT_EQ(reader.GetSectionVersion(), oldVersion);
    grown.set_value();
    EXPECT_TRUE(readLater.get());
    writer.Commit();
    reader.Close();
    writer.Close();
}
