#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include "CloseFault.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

const size_t MB = 1 << 20;

std::vector<char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TempPath(const char* tag)
{
    return std::string(VEXAL_TEST_OUTPUT) + "/" + dbtest::UniqueName(tag);
}

class dbBackup : public testing::Test {
protected:
    dbBackup() : db(dbEngine::dbAllAccess, MB, MB, 0, 1) {}
    void SetUp() override
    {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
        ASSERT_TRUE(db.Open(dbtest::UniqueName("backup").c_str()));
        ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
        kept = dbtest::NewRecord(db, 5000, 0x44);
        oid_t gone = dbtest::NewRecord(db, 300, 0x55);
        dbtest::RemoveRecord(db, gone);
        db.Commit();
    }
    void TearDown() override { db.Close(); }

    dbEngine db;
    oid_t kept = 0;
};

} // namespace

TEST_F(dbBackup, WholeImage)
{
    std::string path = TempPath("whole");
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    ASSERT_TRUE(db.WriteBackup(path.c_str()));
    std::vector<char> data = ReadFile(path);
    ASSERT_EQ(data.size(), db.GetHeader()->size);
    EXPECT_EQ(memcmp(data.data(), db.GetBase(), data.size()), 0);
    db.Commit();
    remove(path.c_str());
}

TEST_F(dbBackup, CompactedImageKeepsIdentifiersAndContents)
{
    std::string path = TempPath("compact");
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    ASSERT_TRUE(db.WriteBackup(path.c_str(), true));
    db.Commit();
    std::vector<char> data = ReadFile(path);
    ASSERT_GE(data.size(), sizeof(dbImageHeader));
    dbImageHeader h;
    memcpy(&h, data.data(), sizeof h);
    EXPECT_EQ(h.size, data.size());
    EXPECT_EQ(h.curr, 0);
    EXPECT_EQ(h.dirty, 0);
    EXPECT_EQ(h.initialized, 1);
    EXPECT_EQ(h.root[0].indexSize, 9216u);
    EXPECT_EQ(h.root[0].indexUsed, kept + 2);
    EXPECT_EQ(h.root[0].freeList, kept + 1);
    const oid_t* index = reinterpret_cast<const oid_t*>(data.data() + h.root[0].index);
    const oid_t* shadow = reinterpret_cast<const oid_t*>(data.data() + h.root[1].index);
    EXPECT_EQ(memcmp(index, shadow, h.root[0].indexUsed * 4), 0);
    EXPECT_EQ(index[kept + 1], 0x80000000u);
    // The records follow the header, indices and one bitmap page in id order.
    offs_t first = 4096 + 8 * 9216 + 4096;
    EXPECT_EQ(index[dbMetatableId], first);
    EXPECT_EQ(index[kept], first + 992);
    const char* record = data.data() + index[kept];
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(record), 5000u);
    EXPECT_EQ(record[4999], 0x44);
    remove(path.c_str());
}

// A file system that refuses the delayed writes when the copy is closed: the
// backup fails, whole or compacted, and the earlier backup stays as it was.
TEST_F(dbBackup, ARefusedCloseFailsTheBackupAndKeepsTheEarlierOne)
{
    const std::string folder = TempPath("refused");
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/backup.img";
    std::ofstream(path, std::ios::binary) << "earlier backup";
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    for (bool compactify : {false, true}) {
        CloseFault refuse(folder);
        EXPECT_FALSE(db.WriteBackup(path.c_str(), compactify)) << compactify;
        EXPECT_GT(refuse.Failed(), 0);
        const std::vector<char> data = ReadFile(path);
        EXPECT_EQ(std::string(data.begin(), data.end()), "earlier backup") << compactify;
    }
    EXPECT_TRUE(db.WriteBackup(path.c_str()));
    EXPECT_EQ(ReadFile(path).size(), db.GetHeader()->size);
    db.Commit();
    std::filesystem::remove_all(folder);
}

TEST_F(dbBackup, PeriodicBackupRunsUntilClose)
{
    std::string path = TempPath("periodic");
    ASSERT_TRUE(db.StartBackup(path.c_str(), 3600));
    EXPECT_FALSE(db.StartBackup(path.c_str(), 3600)); // one backup thread
    std::vector<char> data;
    for (int i = 0; i < 500 && data.size() != db.GetHeader()->size; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        data = ReadFile(path);
    }
    EXPECT_EQ(data.size(), db.GetHeader()->size);
    db.Close(); // stops the thread although its next copy is an hour away
    remove(path.c_str());
}
