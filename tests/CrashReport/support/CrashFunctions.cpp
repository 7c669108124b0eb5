#include "CrashReport/support/CrashFunctions.h"

#include "CrashReport/support/CrashChild.h"

#include <cstdlib>
#include <stdexcept>

volatile int theCrashSink;
volatile int theZero;
volatile int theNever = -1;

void CrashWriteNull()
{
    // A volatile store through a volatile pointer: the compiler drops a
    // plain store to null, even through a volatile pointer, as undefined.
    volatile int* volatile target = nullptr;
    ArmAllocationCount();
    *target = 1;
}

void CrashReadLow()
{
    volatile int* volatile source = reinterpret_cast<volatile int*>(0x10);
    ArmAllocationCount();
    theCrashSink = *source;
}

void CrashDivide()
{
    ArmAllocationCount();
    theCrashSink = 7 / theZero;
}

int CrashRecurse(int depth)
{
    volatile char frame[512];
    frame[0] = char(depth);
    if (depth == theNever)
        return 0;
    return CrashRecurse(depth + 1) + frame[0];
}

void CrashOverflowStack()
{
    ArmAllocationCount();
    theCrashSink = CrashRecurse(0);
}

void CrashThrow()
{
    // Throwing allocates the exception object, so nothing is counted here.
    throw std::runtime_error("nobody catches this");
}

void CrashAbort()
{
    ArmAllocationCount();
    std::abort();
}
