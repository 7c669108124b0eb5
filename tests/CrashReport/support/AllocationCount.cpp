// Counts the allocations a crashing child makes after it is armed, into a
// shared page that the parent reads after the child died. The sanitizers
// bring their own allocator, so they build without the count.
#include "CrashReport/support/CrashChild.h"

#include <atomic>
#include <cstddef>
#include <sys/mman.h>

namespace {

struct Counter {
    std::atomic<bool> armed;
    std::atomic<long> count;
};

Counter* SharedCounter()
{
    static Counter* counter = [] {
        void* page = mmap(nullptr, sizeof(Counter), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        return page == MAP_FAILED ? nullptr : new (page) Counter{};
    }();
    return counter;
}

} // namespace

long TakeAllocationCount()
{
    Counter* c = SharedCounter();
    if (!c || !AllocationsCounted())
        return -1;
    const long n = c->count.load();
    c->armed.store(false);
    c->count.store(0);
    return n;
}

void ArmAllocationCount()
{
    if (Counter* c = SharedCounter())
        c->armed.store(true);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

bool AllocationsCounted() { return false; }

#else

bool AllocationsCounted() { return true; }

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);

static void Count()
{
    // The counter's own page is mapped before any child is armed.
    static Counter* c = SharedCounter();
    if (c && c->armed.load(std::memory_order_relaxed))
        c->count.fetch_add(1);
}

void* malloc(size_t size)
{
    Count();
    return __libc_malloc(size);
}

void* calloc(size_t n, size_t size)
{
    Count();
    return __libc_calloc(n, size);
}

void* realloc(void* p, size_t size)
{
    Count();
    return __libc_realloc(p, size);
}
}

#endif
