#include "CrashReport/CrashReporter.h"

#include "CrashReport/CrashState.h"
#include "CrashReport/ModuleList.h"
#include "Platform/DialogHook.h"
#include "Platform/ProcessHooks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <unistd.h>

CrashState theCrash;

const char* const CrashReporter::FatalBoxOption = "--fatal-exit-box";

namespace {

bool theInstalled;

void Copy(char* to, size_t size, const char* first, const char* second = "")
{
    std::snprintf(to, size, "%s%s", first, second);
}

long LocalTimeOffset()
{
    const time_t now = time(nullptr);
    struct tm local;
    return localtime_r(&now, &local) ? local.tm_gmtoff : 0;
}

void ComputeLogPaths(int mode)
{
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    const bool known = n > 0;
    exe[known ? n : 0] = 0;
    Copy(theCrash.exePath, sizeof theCrash.exePath, exe);
    if (known) {
        Copy(theCrash.logPath, sizeof theCrash.logPath, exe, mode == 2 ? ".exp.xml" : ".exp.log");
        Copy(theCrash.memLogPath, sizeof theCrash.memLogPath, exe, mode == 2 ? ".mem.xml-leaks" : ".mem.log");
    } else {
        Copy(theCrash.logPath, sizeof theCrash.logPath, "/exceptions.log");
        Copy(theCrash.memLogPath, sizeof theCrash.memLogPath, mode == 2 ? "/mem-leaks.xml-leaks" : "/mem-leaks.log");
    }
    Copy(theCrash.oldLogPath, sizeof theCrash.oldLogPath, theCrash.logPath, ".old");
}

// A display the box could be shown on: the toolkit's offscreen and minimal
// platforms have none.
bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strncmp(platform, "offscreen", 9) == 0 || std::strncmp(platform, "minimal", 7) == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void OnModulesChanged()
{
    if (theCrash.debugHelpLoaded.load())
        ModuleList::Refresh();
}

} // namespace

void CrashReporter::Install(int mode, bool setFilter, unsigned long count)
{
    ComputeLogPaths(mode);
    theCrash.pageSize = uintptr_t(sysconf(_SC_PAGESIZE));
    Setup(mode, theCrash.memLogPath, count);
    if (setFilter && !theInstalled) {
        EnsureThreadSignalStack();
        InstallCrashHandlers();
        AfxSetThreadStartHook(EnsureThreadSignalStack);
        AfxSetModulesChangedHook(OnModulesChanged);
        theInstalled = true;
    }
}

int CrashReporter::Setup(int mode, const char* memLogPath, unsigned long count)
{
    if (theCrash.debugHelpLoaded.load())
        return 2;
    theCrash.count = count < 4 ? count : 0;
    if (memLogPath != theCrash.memLogPath)
        Copy(theCrash.memLogPath, sizeof theCrash.memLogPath, memLogPath ? memLogPath : "");
    theCrash.mode = mode;
    return LoadDbgHelp();
}

int CrashReporter::LoadDbgHelp()
{
    // The unwinder loads itself at its first call, which allocates: never
    // let that first call be the handler's.
    void* frame[1];
    const bool unwinder = !theCrash.failDebugHelp && backtrace(frame, 1) > 0;
    ModuleList::SetExecutablePath(theCrash.exePath);
    if (!unwinder || !ModuleList::Refresh()) {
        std::fputs("GetProcAddress(): some required function not found.\n", stdout);
        std::fflush(stdout);
        return 1;
    }
    theCrash.utcOffset = LocalTimeOffset();
    theCrash.debugHelpLoaded.store(true);
    return 0;
}

void CrashReporter::Uninstall()
{
    theCrash.debugHelpLoaded.store(false);
    if (!theInstalled)
        return;
    AfxSetThreadStartHook(nullptr);
    AfxSetModulesChangedHook(nullptr);
    RestoreCrashHandlers();
    theInstalled = false;
}

void CrashReporter::SetExceptionLogPath(const char* path)
{
    Copy(theCrash.logPath, sizeof theCrash.logPath, path);
    Copy(theCrash.oldLogPath, sizeof theCrash.oldLogPath, path, ".old");
}

void CrashReporter::FailDebugHelpForTesting(bool fail) { theCrash.failDebugHelp = fail; }

bool CrashReporter::IsFatalBoxCall(int argc, char** argv)
{
    return argc == 3 && std::strcmp(argv[1], FatalBoxOption) == 0;
}

void CrashReporter::ShowFatalBox(const char* text) { FatalAppExit(0, text); }

CrashReporterStartup::CrashReporterStartup()
{
    CrashReporter::Install(2, true, 0);
    theCrash.fatalBox = HasDisplay();
    std::atexit(CrashReporter::Uninstall);
}
