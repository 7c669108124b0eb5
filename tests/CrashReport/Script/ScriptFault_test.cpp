// A fault once the script engine has made its context. The engine sets its
// own fault handler over ours then and passes on the faults that are not
// its own. (A program of its own: the engine's library replaces abort()
// for every program it is linked into.)
#include "CrashReport/support/CrashFault.h"
#include "CrashReport/support/CrashFunctions.h"

#include <gtest/gtest.h>
#include <js/Initialization.h>
#include <jsapi.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

void CrashAfterScriptEngine()
{
    struct sigaction before;
    sigaction(SIGSEGV, nullptr, &before);
    JS_Init();
    JSContext* cx = JS_NewContext(JS::DefaultHeapMaxBytes);
    if (!cx || !JS::InitSelfHostedCode(cx))
        _exit(3);
    struct sigaction after;
    sigaction(SIGSEGV, nullptr, &after);
    if (after.sa_sigaction != before.sa_sigaction)
        std::fputs("engine handler set\n", stdout);
    std::fflush(stdout);
    CrashWriteNull();
}

TEST(CrashScriptEngineTest, FaultAfterTheEngineContextReachesTheReporter)
{
    const CrashChildResult r =
        ExpectFault({ "FaultAfterScriptEngine", CrashAfterScriptEngine, SIGSEGV, "C0000005", "ACCESS VIOLATION",
                      " write attempt to address 0x00000000 ", "CrashWriteNull", true });
    EXPECT_NE(r.out.find("engine handler set"), std::string::npos) << r.out;
}

} // namespace
