// The crash reporter's process-wide state and the pieces its files share.
// Private to CrashReport/.
//
// Everything here is set up outside the handler (Install, Setup, Refresh);
// the handler only reads it, apart from the walk counter and the owner of
// the record in progress, which are atomics.
#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <sys/types.h>

struct CrashState {
    int mode = 2;
    unsigned long count = 0;
    char exePath[PATH_MAX] = "";
    char logPath[PATH_MAX + 16] = "";
    char oldLogPath[PATH_MAX + 32] = "";  // logPath + ".old"
    char memLogPath[PATH_MAX + 32] = "";  // kept, never written
    long utcOffset = 0;                   // seconds east of UTC, noted at install
    uintptr_t pageSize = 4096;
    bool fatalBox = false;                // start exePath to show the fatal-exit box
    bool failDebugHelp = false;
    std::atomic<bool> debugHelpLoaded{ false };
    std::atomic<unsigned long> walkCounter{ 0 };
    // The thread writing the record; 0 while none is.
    std::atomic<pid_t> owner{ 0 };
};

extern CrashState theCrash;

// One crash as the record gives it.
struct CrashEvent {
    uint32_t code;
    uint32_t flags;
    uintptr_t address;
    const char* detail;
    // The walk begins at the return address or instruction pointer that
    // equals this; the handler's own frames before it are left out.
    uintptr_t firstFrame;
};

// Appends the record to the exception log (or the standard output).
void WriteCrashRecord(const CrashEvent& event);
// The record's header date "MM/DD/YY" and time "HH:MM:SS" of a moment.
void FormatCrashTime(long long secondsSinceEpoch, long utcOffset, char date[9], char time[9]);
// Gives the calling thread an alternate signal stack unless it has one.
void EnsureThreadSignalStack();
// Sets and restores the signal actions and the terminate handler.
void InstallCrashHandlers();
void RestoreCrashHandlers();
