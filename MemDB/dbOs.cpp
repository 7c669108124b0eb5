#include "MemDB/dbOs.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

dbSectionLock::dbSectionLock() : initialized(false)
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    initialized = pthread_mutex_init(&mutex, &attr) == 0;
    pthread_mutexattr_destroy(&attr);
}

dbSectionLock::~dbSectionLock()
{
    if (initialized) {
        initialized = false;
        pthread_mutex_destroy(&mutex);
    }
}

void dbSectionLock::Enter()
{
    if (initialized)
        pthread_mutex_lock(&mutex);
}

void dbSectionLock::Leave()
{
    if (initialized)
        pthread_mutex_unlock(&mutex);
}

dbInlineBuffer::~dbInlineBuffer()
{
    free(heap);
}

char* dbInlineBuffer::Get(size_t size)
{
    if (size <= InlineSize)
        return local;
    free(heap);
    heap = static_cast<char*>(malloc(size));
    return heap;
}

void* dbAllocate(size_t size)
{
    return malloc(size);
}

void dbFree(void* p)
{
    free(p);
}

bool dbTraceEnabled = true;
dbTraceFunction dbTraceOutput = dbTraceToStderr;

void dbTraceToStderr(const char* message)
{
    fputs(message, stderr);
    fflush(stderr);
}

void dbTrace(const char* format, ...)
{
    if (!dbTraceEnabled)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    dbTraceOutput(buffer);
}

char* FormatSystemError(int error, char* buffer, size_t length)
{
    if (length == 0)
        return buffer;
    char text[256];
    const char* message = nullptr;
    // Linux strerror texts for unknown numbers read "Unknown error N".
    const char* known = strerror_r(error, text, sizeof text);
    if (known != nullptr && strncmp(known, "Unknown error", 13) != 0)
        message = known;
    if (message != nullptr)
        snprintf(buffer, length, "%s", message);
    else
        snprintf(buffer, length, "unknown error code %u", static_cast<unsigned>(error));
    return buffer;
}

uint32_t dbCurrentThreadId()
{
    // Kernel thread ids are unique across processes, as the monitor needs.
    thread_local uint32_t id = static_cast<uint32_t>(syscall(SYS_gettid));
    return id;
}

uint64_t dbTickCount()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
}
