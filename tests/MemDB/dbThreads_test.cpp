// Several threads of one engine reading and writing in turn: the locks keep
// every reader on a committed state and the image consistent.
#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
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
