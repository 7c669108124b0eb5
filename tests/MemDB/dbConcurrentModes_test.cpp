// The concurrent access modes between two processes that open one name.
#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

const size_t MB = 1 << 20;

struct Message {
    oid_t id;
    uint8_t seed; // the content the reader must see
};

bool ReadAll(int fd, void* data, size_t size)
{
    return read(fd, data, size) == static_cast<ssize_t>(size);
}

bool WriteAll(int fd, const void* data, size_t size)
{
    return write(fd, data, size) == static_cast<ssize_t>(size);
}

// The reading process: for each message, one read transaction that must
// find the record with the given content; answers 1 or 0.
int ReaderProcess(const std::string& name, int in, int out)
{
    Message m;
    if (!ReadAll(in, &m, sizeof m))
        return 2;
    dbEngine db(dbEngine::dbConcurrentRead, MB, MB, 0, 1);
    if (!db.Open(name.c_str()))
        return 3;
    do {
        if (!db.BeginTransaction(dbEngine::dbSharedLock))
            return 4;
        char ok = dbtest::RecordHolds(db, m.id, 256, m.seed) ? 1 : 0;
        db.Commit();
        if (!WriteAll(out, &ok, 1))
            return 5;
    } while (ReadAll(in, &m, sizeof m));
    db.Close();
    return 0;
}

std::vector<std::string> SharedObjectsOf(const std::string& name)
{
    std::vector<std::string> found;
    std::string prefix = "vexal." + name + ".";
    if (DIR* dir = opendir("/dev/shm")) {
        while (dirent* e = readdir(dir)) {
            if (std::string(e->d_name).compare(0, prefix.size(), prefix) == 0)
                found.push_back(e->d_name);
        }
        closedir(dir);
    }
    return found;
}

} // namespace

TEST(dbConcurrentModes, AnotherProcessReadsTheCommittedState)
{
    std::string name = dbtest::UniqueName("proc");
    int toReader[2], toWriter[2];
    ASSERT_EQ(pipe(toReader), 0);
    ASSERT_EQ(pipe(toWriter), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(toReader[1]);
        close(toWriter[0]);
        _exit(ReaderProcess(name, toReader[0], toWriter[1]));
    }
    close(toReader[0]);
    close(toWriter[1]);

    dbEngine db(dbEngine::dbConcurrentUpdate, MB, MB, 0, 1);
    ASSERT_TRUE(db.Open(name.c_str()));
    EXPECT_FALSE(SharedObjectsOf(name).empty());
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t id = dbtest::NewRecord(db, 256, 1);
    db.Commit();

    // A change in progress is not seen; the committed version is.
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    dbtest::MakePrivate(db, id);
    memset(db.GetRow(id) + 12, 2, 244);
    char seen = 0;
    Message m = {id, 1};
    ASSERT_TRUE(WriteAll(toReader[1], &m, sizeof m));
    ASSERT_TRUE(ReadAll(toWriter[0], &seen, 1));
    EXPECT_EQ(seen, 1) << "the reader did not see the committed record";

    db.Commit();
    m.seed = 2;
    ASSERT_TRUE(WriteAll(toReader[1], &m, sizeof m));
    ASSERT_TRUE(ReadAll(toWriter[0], &seen, 1));
    EXPECT_EQ(seen, 1) << "the reader did not see the new commit";
    close(toReader[1]);

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    close(toWriter[0]);
    db.Close();
    EXPECT_EQ(SharedObjectsOf(name), std::vector<std::string>());
}

TEST(dbConcurrentModes, ReaderCannotCreateTheDatabase)
{
    std::string name = dbtest::UniqueName("noimage");
    dbEngine db(dbEngine::dbConcurrentRead, MB, MB, 0, 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(db.Open(name.c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Can not open uninitialized file in read only mode\n");
    EXPECT_EQ(SharedObjectsOf(name), std::vector<std::string>());
}
