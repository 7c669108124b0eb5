// How the engine reports errors: a user handler, then print or throw.
#include "MemDB/dbEngine.h"

#include <cstdio>

dbTableInfo* dbStaticTableChain = nullptr;

void dbEngine::HandleError(int code, const char* message, int arg)
{
    if (errorHandler != nullptr)
        errorHandler(code, message, arg, errorHandlerContext);
    if (code == dbNoError)
        return;
    if (message == nullptr) {
        message = dbErrorText(code);
        if (message == nullptr)
            message = "Unknown error";
    }
    if (code == dbDatabaseOpenError
        || (code == dbInconsistentInverseReference && dbStaticTableChain == nullptr)) {
        fprintf(stderr, "%s\n", message);
        return;
    }
    throw dbException(code, message, arg);
}

int dbEngine::FormatErrorMessage(char* buffer, size_t bufferSize, int code, const char* message,
                                 int arg)
{
    if (message == nullptr)
        message = "";
    char systemText[256];
    switch (code) {
    case dbQuerySyntaxError:
        return snprintf(buffer, bufferSize, "%s in position %d", message, arg);
    case dbArithmeticError:
    case dbDatabaseOpenError:
    case dbInconsistentInverseReference:
        return snprintf(buffer, bufferSize, "%s", message);
    case dbIndexOutOfRange:
        return snprintf(buffer, bufferSize, "Index %d is out of range", arg);
    case dbFileAccessError:
        return snprintf(buffer, bufferSize, "%s: %s", message,
                        FormatSystemError(arg, systemText, sizeof systemText));
    case dbOutOfMemoryError:
        return snprintf(buffer, bufferSize, "Not enough memory: failed to allocate %d bytes", arg);
    case dbDeadlock:
        return snprintf(buffer, bufferSize, "Deadlock is caused by upgrading shared locks to exclusive");
    case dbNullReferenceError:
        return snprintf(buffer, bufferSize, "Null object reference is accessed");
    case dbLockRevoked:
        return snprintf(buffer, bufferSize, "Lock is revoked by some other client");
    case dbDatabaseReadOnly:
        return snprintf(buffer, bufferSize, "Attempt to modify readonly database");
    case dbAssertionFailed:
        return snprintf(buffer, bufferSize, "Assertion failed %s at line %d", message, arg);
    default:
        return snprintf(buffer, bufferSize, "Error %d: %s", code, message);
    }
}

dbEngine::dbErrorHandler dbEngine::SetErrorHandler(dbErrorHandler handler, void* context)
{
    dbErrorHandler previous = errorHandler;
    errorHandler = handler;
    errorHandlerContext = context;
    return previous;
}
