// The exception codes of the log, and the code and detail of a fatal
// signal. The log keeps the codes of the system it was first written for,
// so records read the same wherever they came from.
#pragma once

#include <csignal>
#include <cstdint>

enum : uint32_t {
    kCodeAbort = 0x40000015,  // SIGABRT
    kCodeMisaligned = 0x80000002,
    kCodeBreakpoint = 0x80000003,
    kCodeSingleStep = 0x80000004,
    kCodeAccessViolation = 0xC0000005,
    kCodeInPageError = 0xC0000006,
    kCodeIllegalInstruction = 0xC000001D,
    kCodeArrayBounds = 0xC000008C,
    kCodeFltDenormal = 0xC000008D,
    kCodeFltDivideByZero = 0xC000008E,
    kCodeFltInexact = 0xC000008F,
    kCodeFltInvalid = 0xC0000090,
    kCodeFltOverflow = 0xC0000091,
    kCodeFltUnderflow = 0xC0000093,
    kCodeIntDivideByZero = 0xC0000094,
    kCodeIntOverflow = 0xC0000095,
    kCodePrivInstruction = 0xC0000096,
    kCodeStackOverflow = 0xC00000FD,
    kCodeCppException = 0xE06D7363,  // an uncaught C++ exception
};

// The code's name; "<unkown exception>" for a code outside the table.
const char* ExceptionCodeName(uint32_t code);

// What a fatal signal is recorded as. The detail (access violations only,
// and never for a signal sent by another process) says whether the fault
// read or wrote and where.
struct SignalException {
    uint32_t code;
    uintptr_t address;  // the instruction's
    enum { NoDetail, Read, Write } access;
    uintptr_t faultAddress;
};

// pageSize decides a stack overflow: a fault within one page of the stack
// pointer.
SignalException ClassifySignal(int sig, const siginfo_t* info, const void* context, uintptr_t pageSize);
// The instruction pointer of a signal's context.
uintptr_t ContextInstruction(const void* context);
