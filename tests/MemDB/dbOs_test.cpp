#include "MemDB/dbHoleCache.h"
#include "MemDB/dbKernel.h"
#include "MemDB/dbNameTable.h"
#include "MemDB/dbOs.h"
#include "MemDB/dbWorkerPool.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

TEST(dbNameTable, EqualTextsInternToOnePointer)
{
    dbNameTable& table = dbNameTable::Instance();
    std::string unique = dbtest::UniqueName("name");
    const char* a = unique.c_str();
    EXPECT_EQ(table.Intern(&a, 1, false), 1);
    EXPECT_EQ(a, unique.c_str()); // not copied: the caller's text is kept

    std::string copy = unique;
    const char* b = copy.c_str();
    EXPECT_EQ(table.Intern(&b, 5, true), 5); // the larger tag is kept and returned
    EXPECT_EQ(b, unique.c_str());
    const char* c = copy.c_str();
    EXPECT_EQ(table.Intern(&c, 2, true), 5);
    EXPECT_EQ(c, unique.c_str());

    // With the copy flag a new text is copied, only the first time.
    std::string other = dbtest::UniqueName("copied");
    const char* d = other.c_str();
    table.Intern(&d, 0, true);
    EXPECT_NE(d, other.c_str());
    EXPECT_STREQ(d, other.c_str());
    const char* e = other.c_str();
    table.Intern(&e, 0, true);
    EXPECT_EQ(e, d);
}

TEST(dbOs, FormatSystemErrorIsBounded)
{
    char buffer[64];
    EXPECT_STREQ(FormatSystemError(ENOENT, buffer, sizeof buffer), strerror(ENOENT));
    EXPECT_STREQ(FormatSystemError(123456, buffer, sizeof buffer), "unknown error code 123456");
    char four[4] = {'x', 'x', 'x', 'x'};
    FormatSystemError(ENOENT, four, sizeof four);
    EXPECT_EQ(strlen(four), 3u);
}

TEST(dbOs, TraceGoesToTheOutputFunction)
{
    static std::string captured;
    dbTraceFunction saved = dbTraceOutput;
    dbTraceOutput = [](const char* text) { captured += text; };
    dbTrace("page %d of %s\n", 3, "image");
    dbTraceEnabled = false;
    dbTrace("hidden\n");
    dbTraceEnabled = true;
    dbTraceOutput = saved;
    EXPECT_EQ(captured, "page 3 of image\n");
}

TEST(dbOs, InlineBufferUsesTheHeapOnlyWhenLarge)
{
    dbInlineBuffer buffer;
    char* small = buffer.Get(512);
    char* large = buffer.Get(513);
    EXPECT_NE(small, large);
    EXPECT_TRUE(reinterpret_cast<char*>(&buffer) <= small
                && small < reinterpret_cast<char*>(&buffer) + sizeof buffer);
    memset(large, 1, 513);
}

TEST(dbKernel, NamedSectionIsSharedAndZeroFilled)
{
    for (dbKernelScope scope : {dbProcessLocal, dbSystemWide}) {
        std::string name = dbtest::UniqueName("section");
        dbSharedMemory a, b, c;
        ASSERT_EQ(a.Open(name.c_str(), 8192, scope, false), 0);
        EXPECT_TRUE(a.WasCreated());
        EXPECT_EQ(a.Base()[100], 0);
        a.Base()[100] = 42;
        ASSERT_EQ(b.Open(name.c_str(), 8192, scope, true), 0);
        EXPECT_FALSE(b.WasCreated());
        EXPECT_EQ(b.Base()[100], 42);
        EXPECT_EQ(c.Open(name.c_str(), 4096, scope, false), EBADFD);
        EXPECT_EQ(dbSharedMemory::ExistingSize(name.c_str(), scope), 8192u);
        a.Close();
        b.Close();
        // Gone with its last holder.
        EXPECT_EQ(dbSharedMemory::ExistingSize(name.c_str(), scope), 0u);
        EXPECT_EQ(c.Open(name.c_str(), 4096, scope, false, dbOpenExisting), ENOENT);
    }
    dbSharedMemory bad;
    EXPECT_EQ(bad.Open("a/b", 4096, dbProcessLocal, false), EINVAL);
    EXPECT_EQ(bad.Open("", 4096, dbSystemWide, false), EINVAL);
}

TEST(dbKernel, SemaphoreAndEvents)
{
    std::string name = dbtest::UniqueName("sem");
    dbKernelSync sem, same;
    ASSERT_EQ(sem.Open(name.c_str(), dbKernelSync::Semaphore, 2, 3, dbSystemWide), 0);
    ASSERT_EQ(same.Open(name.c_str(), dbKernelSync::Semaphore, 0, 3, dbSystemWide), 0);
    EXPECT_TRUE(same.Wait(0));
    EXPECT_TRUE(sem.Wait(0));
    EXPECT_FALSE(sem.Wait(20));
    same.Release(10); // never beyond the maximum
    EXPECT_EQ(sem.Count(), 3);

    dbKernelSync manual, automatic;
    ASSERT_EQ(manual.Open(nullptr, dbKernelSync::ManualEvent, 0, 1, dbProcessLocal), 0);
    ASSERT_EQ(automatic.Open(nullptr, dbKernelSync::AutoEvent, 0, 1, dbProcessLocal), 0);
    manual.Release();
    automatic.Release();
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(automatic.Wait(0));
    EXPECT_FALSE(automatic.Wait(0));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0));

    std::thread signaller([&automatic] { automatic.Release(); });
    EXPECT_TRUE(automatic.Wait(5000));
    signaller.join();
}

namespace {

std::atomic<int> workDone{0};

void Work(void* arg)
{
    workDone += *static_cast<int*>(arg);
}

} // namespace

TEST(dbWorkerPool, WorkersRunAndAreReused)
{
    dbWorkerPool pool;
    int one = 1, ten = 10;
    dbWorker* first = pool.Start(Work, &one);
    ASSERT_NE(first, nullptr);
    pool.Join(first);
    dbWorker* again = pool.Start(Work, &ten);
    EXPECT_EQ(again, first); // the idle worker is taken
    dbWorker* second = pool.Start(Work, &one);
    EXPECT_NE(second, first);
    pool.Join(again);
    pool.Join(second);
    EXPECT_EQ(workDone.load(), 12);
}

TEST(dbHoleCache, InertUntilConfigured)
{
    dbHoleCache cache;
    EXPECT_FALSE(cache.Covers(64));
    cache.Put(4096, 64);
    EXPECT_EQ(cache.Get(64), 0u);

    cache.Configure(32, 256, 32, 2);
    EXPECT_TRUE(cache.Covers(64));
    EXPECT_FALSE(cache.Covers(256));
    cache.Put(8192, 100);
    cache.Put(16384, 40);
    cache.Put(32768, 40); // no node left
    EXPECT_EQ(cache.Get(90), 8192u);  // a hole of at least the size asked for
    EXPECT_EQ(cache.Get(90), 0u);
    EXPECT_EQ(cache.Get(32), 16384u); // buckets promise their lower bound
    EXPECT_EQ(cache.Hits(), 2u);
    EXPECT_EQ(cache.Misses(), 1u);
    cache.Put(65536, 40);
    cache.Reset();
    EXPECT_EQ(cache.Get(32), 0u);
}
