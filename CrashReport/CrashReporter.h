// CrashReporter: turns a failure that nothing handles (a fatal signal, an
// uncaught C++ exception, abort) into a record in the exception log beside
// the executable, then ends the process by that signal, so the exit status
// and core dump stay the signal's.
//
// The log is the executable's path plus ".exp.xml" (mode 2, XML records) or
// ".exp.log" (text records). A log longer than 0xFFFFF bytes is moved to the
// same name plus ".old" before a record is added; a log that cannot be
// opened gives way to the standard output.
//
// Everything the handler needs is made at install time: the log paths, the
// signal stack, the unwinder (its first call allocates), the module list and
// the local-time offset. The handler itself allocates nothing, takes no lock
// and uses no stdio, so a fault inside malloc or under a stdio lock is still
// recorded. One thread records; a nested fault on it ends the process at
// once, and other faulting threads wait for that end.
#pragma once

class CrashReporter {
public:
    enum { TextMode0 = 0, TextMode1 = 1, XmlMode = 2 };

    // Computes the log paths, prepares the stack walk (Setup) and, when
    // setFilter is true and no earlier call did, takes over the fatal signals
    // and the terminate handler. The program's start-up passes (2, true, 0).
    static void Install(int mode, bool setFilter, unsigned long count);
    // Keeps the mode, the memory-log path and the count (0 unless below 4)
    // and prepares the stack walk. 2 when it was prepared already, else what
    // LoadDbgHelp gives.
    static int Setup(int mode, const char* memLogPath, unsigned long count);
    // Prepares the stack walk: primes the unwinder and reads the module list.
    // 0 on success; 1, with a line on the standard output, on failure, after
    // which records carry the "Stackwalker not initialized" line instead of
    // a stack.
    static int LoadDbgHelp();
    // Restores every signal action and the terminate handler that Install
    // replaced and that nobody has replaced since; drops the preparation.
    static void Uninstall();
    // Test seams: a log path of the test's choosing in place of the one
    // Install computed, and a preparation that fails.
    static void SetExceptionLogPath(const char* path);
    static void FailDebugHelpForTesting(bool fail);

    // The option with which the handler starts the program to show the
    // fatal-exit box, and what the program does with it: shows the text
    // given after it and exits.
    static const char* const FatalBoxOption;
    static bool IsFatalBoxCall(int argc, char** argv);
    [[noreturn]] static void ShowFatalBox(const char* text);
};

// The program's installer: a single static object in the program's own main
// file, where the linker cannot drop it, constructed before any other static
// object (init_priority 101). It installs in XML mode with the fatal-exit box
// shown through the program itself when there is a display, and registers
// Uninstall with atexit.
struct CrashReporterStartup {
    CrashReporterStartup();
};
