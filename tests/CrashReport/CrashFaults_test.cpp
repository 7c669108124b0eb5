#include "CrashReport/support/CrashFault.h"
#include "CrashReport/support/CrashFunctions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>

namespace {

void* ThrowingThread(void*)
{
    CrashThrow();
    return nullptr;
}

// On a thread of its own: nothing above the thrower catches (the child's
// own stack holds the test framework, which catches everything).
void ThrowUncaught()
{
    pthread_t thread;
    pthread_create(&thread, nullptr, ThrowingThread, nullptr);
    pthread_join(thread, nullptr);
}

const FaultCase kFaults[] = {
    { "WriteToNull", CrashWriteNull, SIGSEGV, "C0000005", "ACCESS VIOLATION", " write attempt to address 0x00000000 ",
      "CrashWriteNull", true },
    { "ReadLowAddress", CrashReadLow, SIGSEGV, "C0000005", "ACCESS VIOLATION", " read attempt to address 0x00000010 ",
      "CrashReadLow", true },
    { "IntegerDivideByZero", CrashDivide, SIGFPE, "C0000094", "INT DIVIDE BY ZERO", "", "CrashDivide", true },
    { "StackOverflow", CrashOverflowStack, SIGSEGV, "C00000FD", "STACK OVERFLOW", "", "CrashRecurse", true },
    // Throwing allocates the exception object: nothing to count.
    { "UncaughtException", ThrowUncaught, SIGABRT, "E06D7363", "<unkown exception>", "", "CrashThrow", false },
    { "Abort", CrashAbort, SIGABRT, "40000015", "<unkown exception>", "", "CrashAbort", true },
};

class CrashFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CrashFaultTest, DiesBySignalWithOneRecordNamingTheFunction) { ExpectFault(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Faults, CrashFaultTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

} // namespace
