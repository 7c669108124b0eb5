#include "MemDB/dbEngine.h"
#include "dbTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using dbtest::UniqueName;

namespace {

struct ReportedError {
    int code;
    std::string message;
};

void RecordError(int code, const char* message, int, void* context)
{
    static_cast<std::vector<ReportedError>*>(context)->push_back({code, message ? message : ""});
}

uint32_t Get32(const char* p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

} // namespace

// The model's database: 256 MB, 4 MB extension, 524288 index entries.
TEST(dbImageLayout, ModelDatabaseFigures)
{
    dbEngine db(dbEngine::dbAllAccess, 0x10000000, 0x400000, 0x80000, 1);
    ASSERT_TRUE(db.Open(UniqueName("layout").c_str()));
    const dbImageHeader* h = db.GetHeader();

    EXPECT_EQ(h->size, 268435456u);
    EXPECT_EQ(h->curr, 0);
    EXPECT_EQ(h->initialized, 1);
    EXPECT_EQ(h->majorVersion, 3);
    EXPECT_EQ(h->minorVersion, 49);
    EXPECT_EQ(h->mode, 64);
    EXPECT_EQ(db.GetVersion(), 349);
    for (int r = 0; r < 2; r++) {
        EXPECT_EQ(h->root[r].index, 4096u + r * 4u * 524288u);
        EXPECT_EQ(h->root[r].shadowIndex, 4096u + (1 - r) * 4u * 524288u);
        EXPECT_EQ(h->root[r].indexSize, 524288u);
        EXPECT_EQ(h->root[r].shadowIndexSize, 524288u);
        EXPECT_EQ(h->root[r].indexUsed, 8194u);
        EXPECT_EQ(h->root[r].freeList, 0u);
    }

    const uint32_t used = 4198400; // header and both indices
    const uint32_t bitmapPages = 9;
    for (int root = 0; root < 2; root++) {
        EXPECT_EQ(dbtest::RootEntry(db, root, 0), 0x80000000u);
        for (uint32_t k = 0; k < bitmapPages; k++)
            EXPECT_EQ(dbtest::RootEntry(db, root, 2 + k), (used + 4096 * k) | dbBitmapPageKind);
        for (uint32_t id = 2 + bitmapPages; id < 8194; id++)
            ASSERT_EQ(dbtest::RootEntry(db, root, id), 0x80000000u) << id;
        // The Metatable record lies at the first free byte.
        EXPECT_EQ(dbtest::RootEntry(db, root, 1), 4235264u);
    }
    const unsigned char* bitmap = reinterpret_cast<const unsigned char*>(db.GetBase() + used);
    const uint32_t usedBytes = (used + 4096 * bitmapPages) / 128;
    for (uint32_t i = 0; i < usedBytes; i++)
        ASSERT_EQ(bitmap[i], 0xFF) << i;

    EXPECT_TRUE(dbtest::ImageIsConsistent(db));
    EXPECT_EQ(db.AllocateIds(1), 8194u);
    db.Close();
}

TEST(dbImageLayout, MetatableRecord)
{
    dbEngine db(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(db.Open(UniqueName("meta").c_str()));
    const char* r = db.GetRow(dbMetatableId);
    // 48 + 16 * 44 + "Metatable" + 3 per field (name, table and inverse terminators)
    // + the 175 characters of the field names.
    EXPECT_EQ(Get32(r + 0), 985u);
    EXPECT_EQ(Get32(r + 4), 0u);
    EXPECT_EQ(Get32(r + 8), 0u);
    EXPECT_EQ(Get32(r + 12), 10u);
    EXPECT_STREQ(r + Get32(r + 16), "Metatable");
    EXPECT_EQ(Get32(r + 20), 16u);
    EXPECT_EQ(Get32(r + 24), 48u);
    EXPECT_EQ(Get32(r + 28), 48u);
    EXPECT_EQ(Get32(r + 32), 0u);
    EXPECT_EQ(Get32(r + 36), 5u);
    EXPECT_EQ(Get32(r + 40), 0u);
    EXPECT_EQ(Get32(r + 44), 0u);

    struct Field {
        const char* name;
        uint32_t type, size, offset;
    };
    const Field fields[] = {
        {"name", 7, 8, 12}, {"fields", 9, 8, 20}, {"fields[]", 19, 44, 0},
        {"fields[].name", 7, 8, 0}, {"fields[].tableName", 7, 8, 8}, {"fields[].inverse", 7, 8, 16},
        {"fields[].type", 3, 4, 24}, {"fields[].offset", 3, 4, 28}, {"fields[].size", 3, 4, 32},
        {"fields[].hashTable", 8, 4, 36}, {"fields[].tTree", 8, 4, 40}, {"fixedSize", 3, 4, 28},
        {"nRows", 3, 4, 32}, {"nColumns", 3, 4, 36}, {"firstRow", 8, 4, 40}, {"lastRow", 8, 4, 44},
    };
    for (int i = 0; i < 16; i++) {
        SCOPED_TRACE(fields[i].name);
        const char* f = r + 48 + 44 * i;
        EXPECT_EQ(Get32(f + 0), strlen(fields[i].name) + 1);
        EXPECT_STREQ(f + Get32(f + 4), fields[i].name);
        EXPECT_EQ(Get32(f + 8), 1u);
        EXPECT_STREQ(f + Get32(f + 12), "");
        EXPECT_EQ(Get32(f + 16), 1u);
        EXPECT_STREQ(f + Get32(f + 20), "");
        EXPECT_EQ(Get32(f + 24), fields[i].type);
        EXPECT_EQ(Get32(f + 28), fields[i].offset);
        EXPECT_EQ(Get32(f + 32), fields[i].size);
        EXPECT_EQ(Get32(f + 36), 0u);
        EXPECT_EQ(Get32(f + 40), 0u);
    }
    db.Close();
}

TEST(dbImageLayout, IndexAndSectionSizes)
{
    struct Case {
        size_t initSize, initIndexSize;
        uint32_t indexSize, imageSize;
    };
    const Case cases[] = {
        {0, 0x80000, 0x80000, 0x10000000},
        {0, 0, 9216, 0x10000000},          // below 8194: 8194 rounded up to 1024s
        {1, 8194, 9216, 524288},           // 16 bytes per entry, then whole 512 KB
        {600000, 10000, 10240, 1048576},
        {1 << 20, 0x20000, 0x20000, 2097152}, // 16 bytes per entry wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initIndexSize);
        dbEngine db(dbEngine::dbAllAccess, c.initSize, 1 << 20, c.initIndexSize, 1);
        ASSERT_TRUE(db.Open(UniqueName("sizes").c_str()));
        EXPECT_EQ(db.GetHeader()->root[0].indexSize, c.indexSize);
        EXPECT_EQ(db.GetHeader()->size, c.imageSize);
        EXPECT_TRUE(dbtest::ImageIsConsistent(db));
        db.Close();
    }
}

TEST(dbImageLayout, SecondEngineUnderTheSameNameSharesTheImage)
{
    std::string name = UniqueName("attach");
    dbEngine first(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    dbEngine second(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(first.Open(name.c_str()));
    ASSERT_TRUE(second.Open(name.c_str()));

    ASSERT_TRUE(first.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t id = dbtest::NewRecord(first, 100, 0x5A);
    first.Commit();

    ASSERT_TRUE(second.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(second, id, 100, 0x5A));
    EXPECT_NE(first.GetBase(), second.GetBase());
    second.Commit();

    second.Close();
    first.Close();
    EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".1").c_str(), dbProcessLocal), 0u);
    EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".dm").c_str(), dbProcessLocal), 0u);
}

// A section left under the image's name is opened with its contents, and its
// header is examined before anything trusts it.
TEST(dbImageLayout, DamagedOrUnsuitableImageIsRefused)
{
    struct Case {
        dbEngine::dbAccessType mode;
        int curr, initialized, dirty, minor, imageMode;
        bool sizeMatches;
        const char* message;
    };
    const Case cases[] = {
        {dbEngine::dbAllAccess, 2, 1, 0, 49, 64, true, "Database file was corrupted: invalid root index"},
        {dbEngine::dbAllAccess, 0, 1, 0, 49, 0, true, "Incompatible database mode"},
        {dbEngine::dbAllAccess, 0, 1, 0, 49, 64, false,
         "Database file was corrupted: file size in header differs from actual file size"},
        {dbEngine::dbReadOnly, 0, 0, 0, 49, 64, true, "Can not open uninitialized file in read only mode"},
        {dbEngine::dbReadOnly, 0, 1, 1, 49, 64, true, "Can not open dirty file in read only mode"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string name = UniqueName("bad");
        dbSharedMemory leftover;
        ASSERT_EQ(leftover.Open((name + ".1").c_str(), 524288, dbProcessLocal, false), 0);
        dbImageHeader* h = reinterpret_cast<dbImageHeader*>(leftover.Base());
        h->size = c.sizeMatches ? 524288 : 1048576;
        h->curr = c.curr;
        h->initialized = c.initialized;
        h->dirty = c.dirty;
        h->majorVersion = 3;
        h->minorVersion = c.minor;
        h->mode = c.imageMode;

        std::vector<ReportedError> errors;
        dbEngine db(c.mode, 524288, 1 << 20, 0, 1);
        db.SetErrorHandler(RecordError, &errors);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(db.Open(name.c_str()));
        std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(db.IsOpen());
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].code, dbDatabaseOpenError);
        EXPECT_EQ(errors[0].message, c.message);
        EXPECT_EQ(printed, std::string(c.message) + "\n");
        // Nothing is left held: the monitor and the names are released.
        EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".dm").c_str(), dbProcessLocal), 0u);
        EXPECT_EQ(dbSharedMemory::ExistingSize((name + ".in").c_str(), dbProcessLocal), 0u);
        // Operations of the unopened engine are refused, not run on a null image.
        EXPECT_FALSE(db.BeginTransaction(dbEngine::dbSharedLock));
        EXPECT_THROW(db.AllocateSpace(16), dbException);
        EXPECT_THROW(db.AllocateIds(1), dbException);
        EXPECT_THROW(db.GetRow(dbMetatableId), dbException);
        db.SetErrorHandler(nullptr);
        db.Close();
    }
}

TEST(dbImageLayout, BadOpenArgumentsAreReported)
{
    std::string longName(300, 'x');
    const char* names[] = {nullptr, "", "a/b", longName.c_str()};
    for (const char* name : names) {
        std::vector<ReportedError> errors;
        dbEngine db(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
        db.SetErrorHandler(RecordError, &errors);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(db.Open(name));
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].code, dbDatabaseOpenError);
        EXPECT_EQ(errors[0].message, "Invalid database name");
    }
    std::vector<ReportedError> errors;
    dbEngine huge(dbEngine::dbAllAccess, size_t(3) << 30, 1 << 20, 0, 1);
    huge.SetErrorHandler(RecordError, &errors);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(huge.Open(UniqueName("huge").c_str()));
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "Invalid database size");
}

TEST(dbImageLayout, CloseCommitsAndASecondCloseDoesNothing)
{
    std::string name = UniqueName("close");
    dbEngine keeper(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    dbEngine db(dbEngine::dbAllAccess, 1 << 20, 1 << 20, 0, 1);
    ASSERT_TRUE(keeper.Open(name.c_str()));
    ASSERT_TRUE(db.Open(name.c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbExclusiveLock));
    oid_t id = dbtest::NewRecord(db, 64, 7);
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    db.Close();

    ASSERT_TRUE(keeper.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(keeper, id, 64, 7));
    keeper.Commit();
    // The engine can be opened again after close.
    ASSERT_TRUE(db.Open(name.c_str()));
    ASSERT_TRUE(db.BeginTransaction(dbEngine::dbSharedLock));
    EXPECT_TRUE(dbtest::RecordHolds(db, id, 64, 7));
    db.Close();
    keeper.Close();
}
