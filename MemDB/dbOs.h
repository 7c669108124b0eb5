// Small operating-system services of the engine: locks, rings, trace output,
// heap wrappers, system error texts and thread-local slots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <pthread.h>

// A recursive in-process lock. Enter and Leave do nothing until the lock is
// initialised, and nothing again after it has been destroyed.
class dbSectionLock {
public:
    dbSectionLock();
    ~dbSectionLock();
    dbSectionLock(const dbSectionLock&) = delete;
    dbSectionLock& operator=(const dbSectionLock&) = delete;

    void Enter();
    void Leave();

private:
    pthread_mutex_t mutex;
    bool initialized;
};

class dbCriticalSection {
public:
    explicit dbCriticalSection(dbSectionLock& lock) : lock(lock) { lock.Enter(); }
    ~dbCriticalSection() { lock.Leave(); }
    dbCriticalSection(const dbCriticalSection&) = delete;
    dbCriticalSection& operator=(const dbCriticalSection&) = delete;

private:
    dbSectionLock& lock;
};

// A link of a circular ring; an unlinked element points at itself.
struct dbListLink {
    dbListLink* next;
    dbListLink* prev;

    dbListLink() : next(this), prev(this) {}
    bool IsEmpty() const { return next == this; }
    void LinkAfter(dbListLink* head)
    {
        next = head->next;
        prev = head;
        head->next->prev = this;
        head->next = this;
    }
    void Unlink()
    {
        next->prev = prev;
        prev->next = next;
        next = prev = this;
    }
};

// Scratch memory: requests up to the inline size use the object itself.
class dbInlineBuffer {
public:
    enum { InlineSize = 512 };
    dbInlineBuffer() : heap(nullptr) {}
    ~dbInlineBuffer();
    dbInlineBuffer(const dbInlineBuffer&) = delete;
    dbInlineBuffer& operator=(const dbInlineBuffer&) = delete;

    char* Get(size_t size);

private:
    char local[InlineSize];
    char* heap;
};

void* dbAllocate(size_t size);
void dbFree(void* p);

// Trace output; messages must format to fewer than 1024 characters.
typedef void (*dbTraceFunction)(const char* message);
void dbTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void dbTraceToStderr(const char* message);
extern bool dbTraceEnabled;
extern dbTraceFunction dbTraceOutput;

// The system's text for an error number, at most length - 1 characters,
// always terminated; "unknown error code %u" when the system has none.
char* FormatSystemError(int error, char* buffer, size_t length);

// Identifier of the calling thread, never 0.
uint32_t dbCurrentThreadId();

// Milliseconds of a monotonic clock.
uint64_t dbTickCount();
