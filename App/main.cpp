#include "CrashReport/CrashReporter.h"

#include <cstdio>

// Before anything else, and in this file so that the linker keeps it.
static CrashReporterStartup theCrashReporterStartup __attribute__((init_priority(101)));

int main(int argc, char** argv)
{
    if (CrashReporter::IsFatalBoxCall(argc, argv))
        CrashReporter::ShowFatalBox(argv[2]);

    std::fputs("vexal: the main window is not built yet\n", stderr);
    return 2;
}
