// Error codes of the engine, their short texts and the engine's one exception.
#pragma once

#include <exception>

enum dbErrorCode {
    dbNoError = 0,
    dbQuerySyntaxError = 1,
    dbArithmeticError = 2,
    dbIndexOutOfRange = 3,
    dbDatabaseOpenError = 4,
    dbFileAccessError = 5,
    dbOutOfMemoryError = 6,
    dbDeadlock = 7,
    dbNullReferenceError = 8,
    dbLockRevoked = 9,
    dbFileLimitExceeded = 10,
    dbInconsistentInverseReference = 11,
    dbDatabaseReadOnly = 12,
    dbAssertionFailed = 13,
    dbErrorCodeCount = 14
};

// Short text of a code, used when an error is reported without a message.
// Codes outside the table give null.
const char* dbErrorText(int code);

class dbException : public std::exception {
public:
    dbException(int code, const char* message = nullptr, int arg = 0);
    dbException(const dbException& other);
    dbException& operator=(const dbException& other);
    ~dbException() override;

    int GetErrCode() const { return errCode; }
    const char* GetMsg() const { return msg; }
    int GetArg() const { return arg; }
    const char* what() const noexcept override;

private:
    int errCode;
    char* msg;   // owned copy, or null
    int arg;
};
