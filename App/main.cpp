#include "App/VexalApp.h"
#include "CrashReport/CrashReporter.h"
#include "Scripting/ScriptHost.h"

#include <cstdio>
#include <cstdlib>

// Before anything else, and in this file so that the linker keeps it.
static CrashReporterStartup theCrashReporterStartup __attribute__((init_priority(101)));

CVexalApp theApp;

namespace {

bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

int main(int argc, char** argv)
{
    if (CrashReporter::IsFatalBoxCall(argc, argv))
        CrashReporter::ShowFatalBox(argv[2]);

    // The toolkit would abort without a display; say why in one line instead.
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        std::fputs("vexal: no display (set DISPLAY, or QT_QPA_PLATFORM=offscreen to run without one)\n", stderr);
        return 1;
    }
    InstallScriptHost();
    const int code = AfxWinMain(argc, argv);
    ScriptEngineStop();
    return theApp.Started() ? code : 1;
}
