#include "MemDB/dbEngine.h"
#include "MemDB/dbError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

TEST(dbError, EveryCodeHasItsText)
{
    const char* texts[] = {
        "No error", "Query syntax error", "Arithmetic exception", "Index out of range",
        "Database open error", "File access error", "Out of memory", "Deadlock", "Null reference",
        "Lock revoked", "File limit exeeded", "Inconsistent inverse reference",
        "Attempt to modify read-only database", "Assertion failed",
    };
    for (int code = 0; code < dbErrorCodeCount; code++)
        EXPECT_STREQ(dbErrorText(code), texts[code]) << code;
    EXPECT_EQ(dbErrorText(-1), nullptr);
    EXPECT_EQ(dbErrorText(dbErrorCodeCount), nullptr);
}

TEST(dbError, ExceptionOwnsItsMessage)
{
    char message[] = "first";
    dbException original(dbDeadlock, message, 42);
    message[0] = 'X';
    dbException copy(original);
    EXPECT_EQ(copy.GetErrCode(), dbDeadlock);
    EXPECT_EQ(copy.GetArg(), 42);
    EXPECT_STREQ(copy.what(), "first");
    EXPECT_NE(copy.GetMsg(), original.GetMsg());

    dbException assigned(dbNoError);
    assigned = copy;
    EXPECT_STREQ(assigned.what(), "first");
    EXPECT_NE(assigned.GetMsg(), copy.GetMsg());

    dbException bare(dbLockRevoked);
    EXPECT_EQ(bare.GetMsg(), nullptr);
    EXPECT_STREQ(bare.what(), "");
}

namespace {

struct Seen {
    int calls = 0;
    int code = -1;
    std::string message;
    int arg = 0;
};

void Remember(int code, const char* message, int arg, void* context)
{
    Seen* seen = static_cast<Seen*>(context);
    seen->calls++;
    seen->code = code;
    seen->message = message ? message : "(null)";
    seen->arg = arg;
}

} // namespace

TEST(dbError, HandleErrorPrintsOrThrowsByCode)
{
    dbEngine db;
    // Code 0 does nothing, even with a message.
    testing::internal::CaptureStderr();
    db.HandleError(dbNoError, "ignored");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // Code 4 prints its message with a line break and returns.
    testing::internal::CaptureStderr();
    db.HandleError(dbDatabaseOpenError, "Failed to open database monitor");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to open database monitor\n");

    // Code 11 is printed while no static table descriptor exists, and
    // thrown while one does.
    dbTableInfo* chain = dbStaticTableChain;
    dbStaticTableChain = nullptr;
    testing::internal::CaptureStderr();
    db.HandleError(dbInconsistentInverseReference, "inverse");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "inverse\n");
    dbStaticTableChain = reinterpret_cast<dbTableInfo*>(&db);
    EXPECT_THROW(db.HandleError(dbInconsistentInverseReference, "inverse"), dbException);
    dbStaticTableChain = chain;

    // Any other code throws; without a message the short text is used.
    for (int code : {1, 2, 3, 5, 6, 7, 8, 9, 10, 12, 13}) {
        try {
            db.HandleError(code, nullptr, code * 10);
            ADD_FAILURE() << "code " << code << " did not throw";
        } catch (const dbException& e) {
            EXPECT_EQ(e.GetErrCode(), code);
            EXPECT_STREQ(e.what(), dbErrorText(code));
            EXPECT_EQ(e.GetArg(), code * 10);
        }
    }
    try {
        db.HandleError(dbNullReferenceError);
        ADD_FAILURE();
    } catch (const dbException& e) {
        EXPECT_STREQ(e.what(), "Null reference");
    }
}

TEST(dbError, UserHandlerSeesEveryReportFirst)
{
    dbEngine db;
    Seen seen;
    EXPECT_EQ(db.SetErrorHandler(Remember, &seen), nullptr);
    db.HandleError(dbNoError, "zero", 3);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.message, "zero");
    EXPECT_THROW(db.HandleError(dbArithmeticError, "overflow", 9), dbException);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_EQ(seen.code, dbArithmeticError);
    EXPECT_EQ(seen.message, "overflow");
    EXPECT_EQ(seen.arg, 9);
    EXPECT_EQ(db.SetErrorHandler(nullptr), Remember);
}

TEST(dbError, LongTexts)
{
    dbEngine db;
    char system[256];
    FormatSystemError(ENOENT, system, sizeof system);
    struct Case {
        int code;
        const char* message;
        int arg;
        std::string text;
    };
    const Case cases[] = {
        {1, "Query syntax error", 7, "Query syntax error in position 7"},
        {2, "Division by zero", 0, "Division by zero"},
        {3, nullptr, 12, "Index 12 is out of range"},
        {4, "Failed to create database file", 0, "Failed to create database file"},
        {5, "Failed to reopen database file", ENOENT,
         std::string("Failed to reopen database file: ") + system},
        {6, nullptr, 4096, "Not enough memory: failed to allocate 4096 bytes"},
        {7, nullptr, 0, "Deadlock is caused by upgrading shared locks to exclusive"},
        {8, nullptr, 0, "Null object reference is accessed"},
        {9, nullptr, 0, "Lock is revoked by some other client"},
        {10, "File limit exeeded", 0, "Error 10: File limit exeeded"},
        {11, "Failed to locate referenced table T", 0, "Failed to locate referenced table T"},
        {12, nullptr, 0, "Attempt to modify readonly database"},
        {13, "x > 0", 99, "Assertion failed x > 0 at line 99"},
    };
    for (const Case& c : cases) {
        char buffer[256];
        int n = db.FormatErrorMessage(buffer, sizeof buffer, c.code, c.message, c.arg);
        EXPECT_EQ(std::string(buffer), c.text) << c.code;
        EXPECT_EQ(n, static_cast<int>(c.text.size()));
    }
    // Bounded: the result is cut, terminated, and the full length returned.
    char small[8];
    int n = db.FormatErrorMessage(small, sizeof small, dbDeadlock, nullptr, 0);
    EXPECT_STREQ(small, "Deadloc");
    EXPECT_GT(n, 8);
}
