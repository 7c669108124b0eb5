// Runs a crash in a forked child with the reporter installed and collects
// what it left: how it ended, its log, its standard output and error, and
// how many allocations it made once armed.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

struct CrashChildOptions {
    int mode = 2;
    bool failDebugHelp = false;
    // Where the log goes; empty for a fresh file in the run's folder.
    std::string logPath;
};

struct CrashChildResult {
    bool finished = false;  // ended within 5 s
    int status = 0;         // as waitpid gives it
    std::string logPath;
    std::string log;
    std::string out;
    std::string err;
    long allocations = -1;  // made after ArmAllocationCount; -1 when not counted
};

// A folder of its own for one test, removed with its files when the test
// ends (not when it fails, to leave them for a look).
std::string CrashTestFolder();

CrashChildResult RunCrashChild(const std::function<void()>& crash, const CrashChildOptions& options = {});

// Called by a crash just before it faults. The count covers malloc, calloc
// and realloc; sanitizer builds do not count.
void ArmAllocationCount();
bool AllocationsCounted();

// One record read back with the system's XML reader.
struct CrashXmlRecord {
    bool parsed = false;
    std::map<std::string, std::string> exception;
    std::vector<std::map<std::string, std::string>> entries;
};
CrashXmlRecord ParseCrashRecord(const std::string& text);

std::string ReadWholeFile(const std::string& path);
