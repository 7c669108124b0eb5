// One fatal failure and what its record must show, checked in a forked
// child: it dies by its own signal and leaves one well-formed record with
// the code, its name, the detail and a stack that names the faulting
// function in the test program's module, written without an allocation.
#pragma once

#include "CrashReport/support/CrashChild.h"

struct FaultCase {
    const char* name;
    void (*crash)();
    int signal;
    const char* code;
    const char* codeName;
    const char* detail;
    const char* function;  // named by one of the stack entries
    bool countsAllocations;
};

// Runs the case with gtest's checks and gives the child's result for more.
CrashChildResult ExpectFault(const FaultCase& c);
