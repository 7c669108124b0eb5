#include "Scripting/FileFinder.h"

#include "Platform/FileFind.h"
#include "Scripting/HostClass.h"

#include <js/Exception.h>

namespace {

// A match is current once findNext has run after a findFile that found one.
struct FinderState {
    CFileFind find;
    bool searching = false;
    bool hasMatch = false;
};

extern const HostClassDef kFileFinder;

bool Construct(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedObject obj(cx, NewHostObject(cx, args, kFileFinder.clasp));
    if (!obj)
        return false;
    auto* state = new (std::nothrow) FinderState;
    if (!state)
        return ScriptWarn(cx, "Fail to alloc memory fro JSFileFinder");
    SetHostPrivate(obj, state);
    args.rval().setObject(*obj);
    return true;
}

bool FindFile(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    FinderState* state = HostThis<FinderState>(cx, args, kFileFinder);
    if (!state)
        return false;
    if (args.length() < 1)
        return ScriptWarn(cx, "Project file name should be prompted");
    std::string pattern;
    if (!ArgText(cx, args, 0, pattern))
        return ScriptWarn(cx, "Invalid project name");
    state->hasMatch = false;
    state->searching = pattern.find('\0') == std::string::npos && state->find.FindFile(pattern.c_str());
    args.rval().setBoolean(state->searching);
    return true;
}

bool FindNext(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    FinderState* state = HostThis<FinderState>(cx, args, kFileFinder);
    if (!state)
        return false;
    state->hasMatch = state->searching;
    args.rval().setBoolean(state->searching && state->find.FindNextFile());
    return true;
}

bool IsDirectory(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    FinderState* state = HostThis<FinderState>(cx, args, kFileFinder);
    if (!state)
        return false;
    args.rval().setBoolean(state->hasMatch && state->find.IsDirectory());
    return true;
}

bool IsDots(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    FinderState* state = HostThis<FinderState>(cx, args, kFileFinder);
    if (!state)
        return false;
    args.rval().setBoolean(state->hasMatch && state->find.IsDots());
    return true;
}

bool NameOf(JSContext* cx, unsigned argc, JS::Value* vp, bool fullPath)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setNull();
    FinderState* state = HostThis<FinderState>(cx, args, kFileFinder);
    if (!state)
        return false;
    if (!state->hasMatch)
        return true;
    const CString name = fullPath ? state->find.GetFilePath() : state->find.GetFileName();
    if (!SetText(cx, args.rval(), name.GetString())) {
        JS_ClearPendingException(cx);
        args.rval().setNull();
    }
    return true;
}

bool GetFullName(JSContext* cx, unsigned argc, JS::Value* vp) { return NameOf(cx, argc, vp, true); }
bool GetFileName(JSContext* cx, unsigned argc, JS::Value* vp) { return NameOf(cx, argc, vp, false); }

const JSClassOps kFileFinderOps = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeHostPrivate<FinderState>, nullptr, nullptr, nullptr,
};

const JSClass kFileFinderClass = {
    "fileFinder", JSCLASS_HAS_RESERVED_SLOTS(1) | JSCLASS_FOREGROUND_FINALIZE, &kFileFinderOps, nullptr, nullptr,
    nullptr,
};

const JSFunctionSpec kMethods[] = {
    JS_FN("findFile", HostNative<FindFile>, 1, 0),
    JS_FN("findNext", HostNative<FindNext>, 0, 0),
    JS_FN("isDirectory", HostNative<IsDirectory>, 0, 0),
    JS_FN("isDots", HostNative<IsDots>, 0, 0),
    JS_FN("getFullName", HostNative<GetFullName>, 0, 0),
    JS_FN("getFileName", HostNative<GetFileName>, 0, 0),
    JS_FS_END,
};

const HostClassDef kFileFinder = {
    &kFileFinderClass, "JSFileFinder", HostNative<Construct>, 0, nullptr, nullptr, nullptr,
    kMethods, nullptr, nullptr,
};

} // namespace

bool InitFileFinderClass(JSContext* cx, JS::HandleObject global)
{
    JS::RootedObject constructor(cx);
    return InitHostClass(cx, global, kFileFinder, &constructor);
}
