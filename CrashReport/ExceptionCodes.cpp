#include "CrashReport/ExceptionCodes.h"

#include <ucontext.h>

namespace {

struct CodeName {
    uint32_t code;
    const char* name;
};

const CodeName kNames[] = {
    { 0x40010005, "DBG CONTROL C " },
    { kCodeMisaligned, "DATATYPE MISALIGNMENT" },
    { kCodeBreakpoint, "BREAKPOINT" },
    { kCodeSingleStep, "SINGLE STEP" },
    { kCodeAccessViolation, "ACCESS VIOLATION" },
    { kCodeInPageError, "IN PAGE ERROR" },
    { kCodeIllegalInstruction, "ILLEGAL INSTRUCTION" },
    { 0xC0000025, "NONCONTINUABLE EXCEPTION" },
    { 0xC0000026, "INVALID DISPOSITION" },
    { kCodeArrayBounds, "ARRAY BOUNDS EXCEEDED" },
    { kCodeFltDenormal, "FLT DENORMAL OPERAND" },
    { kCodeFltDivideByZero, "FLT DIVIDE BY ZERO" },
    { kCodeFltInexact, "FLT INEXACT RESULT" },
    { kCodeFltInvalid, "FLT INVALID OPERATION" },
    { kCodeFltOverflow, "FLT OVERFLOW" },
    { 0xC0000092, "FLT STACK CHECK" },
    { kCodeFltUnderflow, "FLT UNDERFLOW" },
    { kCodeIntDivideByZero, "INT DIVIDE BY ZERO" },
    { kCodeIntOverflow, "INT OVERFLOW" },
    { kCodePrivInstruction, "PRIV INSTRUCTION" },
    { kCodeStackOverflow, "STACK OVERFLOW" },
};

const mcontext_t& Machine(const void* context) { return static_cast<const ucontext_t*>(context)->uc_mcontext; }

uintptr_t ContextStack(const void* context)
{
#if defined(__x86_64__)
    return uintptr_t(Machine(context).gregs[REG_RSP]);
#elif defined(__aarch64__)
    return uintptr_t(Machine(context).sp);
#else
    return 0;
#endif
}

// Bit 1 of the page-fault error code says the access was a write; other
// machines do not tell.
bool FaultWasWrite(const void* context)
{
#if defined(__x86_64__)
    return (Machine(context).gregs[REG_ERR] & 2) != 0;
#else
    (void)context;
    return false;
#endif
}

uint32_t FloatingPointCode(int siCode)
{
    switch (siCode) {
    case FPE_INTOVF: return kCodeIntOverflow;
    case FPE_FLTDIV: return kCodeFltDivideByZero;
    case FPE_FLTOVF: return kCodeFltOverflow;
    case FPE_FLTUND: return kCodeFltUnderflow;
    case FPE_FLTRES: return kCodeFltInexact;
    case FPE_FLTINV: return kCodeFltInvalid;
    case FPE_FLTSUB: return kCodeArrayBounds;
    default: return kCodeIntDivideByZero;
    }
}

} // namespace

const char* ExceptionCodeName(uint32_t code)
{
    for (const CodeName& n : kNames) {
        if (n.code == code)
            return n.name;
    }
    return "<unkown exception>";
}

uintptr_t ContextInstruction(const void* context)
{
#if defined(__x86_64__)
    return uintptr_t(Machine(context).gregs[REG_RIP]);
#elif defined(__aarch64__)
    return uintptr_t(Machine(context).pc);
#else
    (void)context;
    return 0;
#endif
}

SignalException ClassifySignal(int sig, const siginfo_t* info, const void* context, uintptr_t pageSize)
{
    // The kernel's own codes of a fault lie between 0 and SI_KERNEL; kill and
    // raise give 0 or less, and SI_KERNEL comes without the fault's address.
    const bool fault = info->si_code > 0 && info->si_code < SI_KERNEL;
    SignalException e = { kCodeAccessViolation, ContextInstruction(context), SignalException::NoDetail, 0 };
    switch (sig) {
    case SIGSEGV:
        if (fault) {
            const uintptr_t address = uintptr_t(info->si_addr);
            const uintptr_t sp = ContextStack(context);
            const uintptr_t distance = address > sp ? address - sp : sp - address;
            if (distance < pageSize) {
                e.code = kCodeStackOverflow;
            } else {
                e.access = FaultWasWrite(context) ? SignalException::Write : SignalException::Read;
                e.faultAddress = address;
            }
        }
        break;
    case SIGBUS: e.code = fault && info->si_code == BUS_ADRALN ? kCodeMisaligned : kCodeInPageError; break;
    case SIGFPE: e.code = fault ? FloatingPointCode(info->si_code) : kCodeIntDivideByZero; break;
    case SIGILL:
        e.code = fault && (info->si_code == ILL_PRVOPC || info->si_code == ILL_PRVREG) ? kCodePrivInstruction
                                                                                    : kCodeIllegalInstruction;
        break;
    case SIGTRAP: e.code = fault && info->si_code == TRAP_TRACE ? kCodeSingleStep : kCodeBreakpoint; break;
    default: e.code = kCodeAbort; break;
    }
    return e;
}
