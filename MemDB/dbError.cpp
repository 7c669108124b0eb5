#include "MemDB/dbError.h"

#include <cstdlib>
#include <cstring>

static const char* const dbErrorTexts[dbErrorCodeCount] = {
    "No error",
    "Query syntax error",
    "Arithmetic exception",
    "Index out of range",
    "Database open error",
    "File access error",
    "Out of memory",
    "Deadlock",
    "Null reference",
    "Lock revoked",
    "File limit exeeded",
    "Inconsistent inverse reference",
    "Attempt to modify read-only database",
    "Assertion failed",
};

const char* dbErrorText(int code)
{
    return code >= 0 && code < dbErrorCodeCount ? dbErrorTexts[code] : nullptr;
}

static char* dbCopyText(const char* text)
{
    return text != nullptr ? strdup(text) : nullptr;
}

dbException::dbException(int code, const char* message, int arg)
    : errCode(code), msg(dbCopyText(message)), arg(arg)
{
}

dbException::dbException(const dbException& other)
    : std::exception(other), errCode(other.errCode), msg(dbCopyText(other.msg)), arg(other.arg)
{
}

dbException& dbException::operator=(const dbException& other)
{
    if (this != &other) {
        char* copy = dbCopyText(other.msg);
        free(msg);
        msg = copy;
        errCode = other.errCode;
        arg = other.arg;
    }
    return *this;
}

dbException::~dbException()
{
    free(msg);
}

const char* dbException::what() const noexcept
{
    return msg != nullptr ? msg : "";
}
