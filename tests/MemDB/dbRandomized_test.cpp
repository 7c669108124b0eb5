// Random allocate, update, free, commit and rollback against a model of the
// committed and working states, with the image checked throughout.
#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace {

struct Content {
    uint32_t size;
    uint8_t seed;
};

typedef std::map<oid_t, Content> Model;

uint32_t RandomSize(std::mt19937& rng)
{
    switch (rng() % 10) {
    case 0:
        return 4096 * (1 + rng() % 4);        // whole pages
    case 1:
        return 4096 + rng() % 150000;         // large
    default:
        return 12 + rng() % 1500;             // small
    }
}

testing::AssertionResult Matches(const dbEngine& db, const Model& model)
{
    for (const auto& entry : model) {
        if (!dbtest::RecordHolds(db, entry.first, entry.second.size, entry.second.seed))
            return testing::AssertionFailure() << "record " << entry.first << " differs";
    }
    return dbtest::ImageIsConsistent(db);
}

void RunSession(unsigned seed, int steps)
{
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    dbEngine db(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(db.Open(dbtest::UniqueName("random").c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    Model committed, working;
    std::vector<oid_t> live;
    auto pick = [&]() -> oid_t { return live[rng() % live.size()]; };
    auto forget = [&](oid_t id) {
        for (size_t i = 0; i < live.size(); i++) {
            if (live[i] == id) {
                live[i] = live.back();
                live.pop_back();
                return;
            }
        }
    };
    auto restart = [&]() {
        live.clear();
        for (const auto& entry : working)
            live.push_back(entry.first);
        ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    };

    for (int step = 0; step < steps; step++) {
        unsigned op = rng() % 1000;
        if (op < 450) {
            uint32_t size = RandomSize(rng);
            uint8_t fill = static_cast<uint8_t>(rng());
            oid_t id = dbtest::NewRecord(db, size, fill);
            ASSERT_EQ(working.count(id), 0u) << "identifier " << id << " handed out twice";
            working[id] = {size, fill};
            live.push_back(id);
        } else if (op < 455) {
            for (int i = 0; i < 600; i++) {
                oid_t id = dbtest::NewRecord(db, 16, 0x33);
                working[id] = {16, 0x33};
                live.push_back(id);
            }
        } else if (op < 700 && !live.empty()) {
            oid_t id = pick();
            dbtest::RemoveRecord(db, id);
            working.erase(id);
            forget(id);
        } else if (op < 900 && !live.empty()) {
            oid_t id = pick();
            dbtest::MakePrivate(db, id);
            uint8_t fill = static_cast<uint8_t>(rng());
            memset(db.GetRow(id) + sizeof(dbRecordHeader), fill, working[id].size - sizeof(dbRecordHeader));
            working[id].seed = fill;
        } else if (op < 970) {
            db.Commit();
            committed = working;
            restart();
            ASSERT_TRUE(Matches(db, working)) << "after commit at step " << step;
        } else {
            db.Rollback();
            working = committed;
            restart();
            ASSERT_TRUE(Matches(db, working)) << "after rollback at step " << step;
        }
        if (step % 50 == 0) {
            ASSERT_TRUE(Matches(db, working)) << "at step " << step;
        }
    }
    db.Commit();
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(Matches(db, working));
    EXPECT_GT(db.GetHeader()->root[0].indexSize, 9216u); // the index grew
    EXPECT_GT(db.GetSectionVersion(), 1);                // and the image
    db.Close();
}

} // namespace

TEST(dbRandomized, AllocateFreeCommitRollback)
{
    for (unsigned seed : {1u, 2u, 3u})
        RunSession(seed, 2000);
}
