// The crashes the tests provoke. Each is exported (the test program links
// with its symbols exported), never inlined and left alone by the
// sanitizers, so that it faults as written and a record can name it.
#pragma once

#define CRASH_FUNCTION __attribute__((noinline, no_sanitize("address", "undefined")))

CRASH_FUNCTION void CrashWriteNull();
CRASH_FUNCTION void CrashReadLow();
CRASH_FUNCTION void CrashDivide();
CRASH_FUNCTION int CrashRecurse(int depth);
CRASH_FUNCTION void CrashOverflowStack();
CRASH_FUNCTION void CrashThrow();
CRASH_FUNCTION void CrashAbort();
