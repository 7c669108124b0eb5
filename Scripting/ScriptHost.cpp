#include "Scripting/ScriptHost.h"

#include "App/ScriptSeam.h"
#include "App/ShellServices.h"
#include "Platform/TextConv.h"
#include "Scripting/HostClass.h"
#include "Scripting/HostClasses.h"

#include <js/CompilationAndEvaluation.h>
#include <js/CompileOptions.h>
#include <js/Conversions.h>
#include <js/ErrorReport.h>
#include <js/Exception.h>
#include <js/Initialization.h>
#include <js/Realm.h>
#include <js/SourceText.h>
#include <js/Stack.h>
#include <js/Warnings.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

const JSClass kGlobalClass = { "Global", JSCLASS_GLOBAL_FLAGS, &JS::DefaultGlobalClassOps, nullptr, nullptr, nullptr };

// Deep recursion ends with the engine's "too much recursion" well before
// the main thread's stack runs out.
const size_t kNativeStackQuota = 2 * 1024 * 1024;

bool theEngineStarted = false;

void WriteReport(const char* message, const JSErrorReport* report)
{
    OutputMessage(message ? message : "");
    OutputMessage(std::string(report->filename ? report->filename : "") + ",line " + std::to_string(report->lineno)
                  + ", errorNumber " + std::to_string(report->errorNumber));
}

void ReportWarning(JSContext*, JSErrorReport* report) { WriteReport(report->message().c_str(), report); }

// The error a failed compile or run left pending. A native that failed
// after a warning left none: it was reported already.
void ReportPendingError(JSContext* cx)
{
    if (!JS_IsExceptionPending(cx))
        return;
    JS::ExceptionStack stack(cx);
    if (!JS::StealPendingExceptionStack(cx, &stack))
        return;
    JS::ErrorReportBuilder builder(cx);
    if (!builder.init(cx, stack, JS::ErrorReportBuilder::WithSideEffects)) {
        JS_ClearPendingException(cx);
        return;
    }
    WriteReport(builder.toStringResult().c_str(), builder.report());
}

// print(...): every argument as text, joined by a blank, as one line.
bool Print(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    std::string line;
    for (unsigned i = 0; i < args.length(); ++i) {
        std::string text;
        JS::RootedString str(cx, JS::ToString(cx, args[i]));
        if (!str)
            return false;
        JS::UniqueChars chars = JS_EncodeStringToUTF8(cx, str);
        if (!chars)
            return false;
        if (i > 0)
            line += ' ';
        line += chars.get();
    }
    OutputMessage(line);
    args.rval().setUndefined();
    return true;
}

const JSFunctionSpec kGlobalFunctions[] = {
    JS_FN("print", HostNative<Print>, 0, 0),
    JS_FS_END,
};

bool IsUtf8(const std::string& bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const int n = b < 0x80 ? 1 : MbCharLengthAt(bytes.data() + i, int(bytes.size() - i));
        if (b >= 0x80 && n < 2)
            return false;
        i += size_t(n);
    }
    return true;
}

// A file that is not UTF-8 is read a byte per character; everything else,
// a file that cannot be read included, goes to the engine's own reader.
JSScript* CompileFile(JSContext* cx, const JS::CompileOptions& options, const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || IsUtf8(bytes))
        return JS::CompileUtf8Path(cx, options, path);
    std::u16string latin1(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        latin1[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    JS::SourceText<char16_t> source;
    if (!source.init(cx, latin1.data(), latin1.size(), JS::SourceOwnership::Borrowed))
        return nullptr;
    return JS::Compile(cx, options, source);
}

bool MakeGlobal(ScriptHost& host)
{
    JSContext* cx = host.context;
    JS::RealmOptions options;
    JS::RootedObject global(cx, JS_NewGlobalObject(cx, &kGlobalClass, nullptr, JS::FireOnNewGlobalHook, options));
    if (!global)
        return false;
    JSAutoRealm realm(cx, global);
    if (!JS::InitRealmStandardClasses(cx) || !JS_DefineFunctions(cx, global, kGlobalFunctions))
        return false;
    InitHostClasses(cx, global);
    host.global = std::make_unique<JS::PersistentRooted<JSObject*>>(cx, global);
    return true;
}

} // namespace

bool ScriptEngineStart()
{
    if (!theEngineStarted)
        theEngineStarted = JS_Init();
    return theEngineStarted;
}

void ScriptEngineStop()
{
    if (theEngineStarted)
        JS_ShutDown();
    theEngineStarted = false;
}

ScriptHost* ScriptHostInit()
{
    if (!ScriptEngineStart())
        return nullptr;
    auto host = std::make_unique<ScriptHost>();
    host->context = JS_NewContext(JS::DefaultHeapMaxBytes);
    if (!host->context)
        return nullptr;
    JS_SetNativeStackQuota(host->context, kNativeStackQuota);
    JS::SetWarningReporter(host->context, ReportWarning);
    if (!JS::InitSelfHostedCode(host->context) || !MakeGlobal(*host)) {
        ScriptHostDestroy(host.release());
        return nullptr;
    }
    return host.release();
}

bool ScriptHostRunFile(ScriptHost* host, const char* path)
{
    if (!host || !host->context || !host->global)
        return false;
    JSContext* cx = host->context;
    JSAutoRealm realm(cx, *host->global);
    JS::CompileOptions options(cx);
    options.setFileAndLine(path, 1);
    JS::RootedScript script(cx, CompileFile(cx, options, path));
    JS::RootedValue result(cx);
    if (!script || !JS_ExecuteScript(cx, script, &result)) {
        ReportPendingError(cx);
        return false;
    }
    return true;
}

void ScriptHostDestroy(ScriptHost* host)
{
    if (!host)
        return;
    host->global.reset();
    if (host->context)
        JS_DestroyContext(host->context);
    delete host;
}

void InstallScriptHost() { theScriptSeam = { ScriptHostInit, ScriptHostRunFile, ScriptHostDestroy }; }
