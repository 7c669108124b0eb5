// The fatal-signal and terminate handlers.
//
// Invariant: theCrash.owner is 0 until a thread starts a record, then that
// thread's id until the process ends. The owner writes the record and ends
// the process by the signal's default action; a second fault on the owner
// (the record itself failed) goes straight to that action; any other thread
// that faults meanwhile waits for the end. An atomic, not a lock: a lock
// taken in a handler deadlocks against itself or re-enters, and handlers
// that others chain to us (the script engine's, with SA_NODEFER) are not
// held off by our signal mask.
#include "CrashReport/CrashReporter.h"
#include "CrashReport/CrashState.h"
#include "CrashReport/CrashWriter.h"
#include "CrashReport/ExceptionCodes.h"

#include <cerrno>
#include <csignal>
#include <exception>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

const int kSignals[] = { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT };
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct sigaction thePrevious[kSignalCount];
bool theReplaced[kSignalCount];
std::terminate_handler thePreviousTerminate;
bool theTerminateReplaced;

[[noreturn]] void DieBySignal(int sig)
{
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    raise(sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    // The default action of every signal we take ends the process; this is
    // reached only if something blocks it still.
    _exit(128 + sig);
}

// Returns only to the thread that is to write the record.
void TakeRecord(int sig)
{
    const pid_t self = pid_t(syscall(SYS_gettid));
    pid_t expected = 0;
    if (theCrash.owner.compare_exchange_strong(expected, self))
        return;
    if (expected == self)
        DieBySignal(sig);
    for (;;) {
        timespec second = { 1, 0 };
        nanosleep(&second, nullptr);
    }
}

// The fatal-exit box: its text on the standard error and, with a display,
// in a box shown by the program itself (started afresh, as nothing of this
// process can be trusted to draw), waited for.
void ShowFatalExit(const CrashEvent& e)
{
    char text[256];
    CrashText t(text, sizeof text);
    t.Text("*** Unhandled Exception!\n   ExpCode: 0x").Hex(e.code, 8, true);
    t.Text("\n   ExpFlags: ").Decimal(e.flags).Text("\n   ExpAddress: 0x").Hex(e.address, 8, true);
    t.Text("\n   Please report!");
    {
        CrashWriter err(STDERR_FILENO);
        err.Text(text).Text("\n");
    }
    if (!theCrash.fatalBox)
        return;
    char option[64];
    CrashText(option, sizeof option).Text(CrashReporter::FatalBoxOption);
    char* argv[] = { theCrash.exePath, option, text, nullptr };
    const pid_t child = vfork();
    if (child == 0) {
        execve(theCrash.exePath, argv, environ);
        _exit(127);
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

[[noreturn]] void Report(int sig, const CrashEvent& e)
{
    WriteCrashRecord(e);
    ShowFatalExit(e);
    DieBySignal(sig);
}

void OnFatalSignal(int sig, siginfo_t* info, void* context)
{
    TakeRecord(sig);
    const SignalException s = ClassifySignal(sig, info, context, theCrash.pageSize);
    char detail[64];
    CrashText d(detail, sizeof detail);
    if (s.access != SignalException::NoDetail) {
        d.Text(s.access == SignalException::Write ? " write" : " read");
        d.Text(" attempt to address 0x").Hex(s.faultAddress, 8, true).Text(" ");
    }
    Report(sig, CrashEvent{ s.code, 0, s.address, detail, s.address });
}

// An exception that nothing caught: recorded here, so the abort that ends
// the process must not record it again.
[[noreturn]] void OnTerminate()
{
    TakeRecord(SIGABRT);
    const uintptr_t caller = uintptr_t(__builtin_return_address(0));
    // Thrown exceptions do not continue: the system's flag for that is 1.
    Report(SIGABRT, CrashEvent{ kCodeCppException, 1, caller, "", caller });
}

bool IsOurs(const struct sigaction& action)
{
    return (action.sa_flags & SA_SIGINFO) && action.sa_sigaction == OnFatalSignal;
}

} // namespace

void InstallCrashHandlers()
{
    struct sigaction ours = {};
    ours.sa_sigaction = OnFatalSignal;
    ours.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&ours.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        if (!theReplaced[i])
            theReplaced[i] = sigaction(kSignals[i], &ours, &thePrevious[i]) == 0;
    }
    if (!theTerminateReplaced) {
        thePreviousTerminate = std::set_terminate(OnTerminate);
        theTerminateReplaced = true;
    }
}

void RestoreCrashHandlers()
{
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction current;
        if (theReplaced[i] && sigaction(kSignals[i], nullptr, &current) == 0 && IsOurs(current))
            sigaction(kSignals[i], &thePrevious[i], nullptr);
        theReplaced[i] = false;
    }
    if (theTerminateReplaced && std::get_terminate() == OnTerminate)
        std::set_terminate(thePreviousTerminate);
    theTerminateReplaced = false;
}
