// Alternate signal stacks: a handler for a stack overflow can run only on
// a stack of its own. The main thread gets the static emergency stack;
// threads the program starts get a mapped one through the thread-start
// hook, released when the thread ends.
#include "CrashReport/CrashState.h"

#include <atomic>
#include <csignal>
#include <sys/mman.h>

namespace {

constexpr size_t StackSize = 128 * 1024;

alignas(16) char theEmergencyStack[StackSize];

struct ThreadStack {
    void* memory = nullptr;
    ~ThreadStack()
    {
        if (!memory)
            return;
        stack_t off = {};
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
        munmap(memory, StackSize);
    }
};

thread_local ThreadStack theThreadStack;
std::atomic<bool> theEmergencyStackTaken{ false };

} // namespace

void EnsureThreadSignalStack()
{
    stack_t current = {};
    if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE))
        return;
    stack_t stack = {};
    if (!theEmergencyStackTaken.exchange(true)) {
        stack.ss_sp = theEmergencyStack;
    } else {
        void* memory = mmap(nullptr, StackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return;
        theThreadStack.memory = memory;
        stack.ss_sp = memory;
    }
    stack.ss_size = StackSize;
    sigaltstack(&stack, nullptr);
}
