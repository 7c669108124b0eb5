#include "Scripting/Application.h"

#include "App/MainFrm.h"
#include "App/ShellServices.h"
#include "File/ExportCHM.h"
#include "File/ProjectStore.h"
#include "Pub/Paths.h"
#include "Scripting/HostClass.h"

namespace {

// Marks an object made by the constructor; it holds nothing.
struct ApplicationState {};

enum ApplicationProperty { kProjectOpened = 1, kCheckedModel, kModelId, kLibraryId, kPredefinedId };

// The command of File/Save All.
const UINT kSaveAllCommand = 32783;
// The string-table entry of the application title.
const UINT kAppTitle = 57344;

extern const HostClassDef kApplication;

bool GetApplicationProperty(JSContext*, JS::HandleObject, int tinyId, JS::MutableHandleValue vp)
{
    switch (tinyId) {
    case kProjectOpened:
        vp.setBoolean(!ProjectStore::IsClosed());
        break;
    case kCheckedModel:
        vp.setInt32(GetCheckedModel());
        break;
    case kModelId:
        vp.setInt32(theModelRootId);
        break;
    case kLibraryId:
        vp.setInt32(theLibraryRootId);
        break;
    case kPredefinedId:
        vp.setInt32(thePredefinedRootId);
        break;
    default:
        break;
    }
    return true;
}

bool Construct(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedObject obj(cx, NewHostObject(cx, args, kApplication.clasp));
    if (!obj)
        return false;
    auto* state = new (std::nothrow) ApplicationState;
    if (!state)
        return ScriptWarn(cx, "Fail to alloc memory fro JSApplication");
    SetHostPrivate(obj, state);
    args.rval().setObject(*obj);
    return true;
}

bool OutputChm(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    if (!HostThis<ApplicationState>(cx, args, kApplication))
        return false;
    int32_t id;
    if (!ArgInt(cx, args, 0, id))
        return ScriptWarn(cx, "Model ID should be prompted");
    if (id <= 0)
        return ScriptWarn(cx, "Invalid Model ID prompted");
    std::string folder = PathJoin(theProjectDir, "tmp").GetString();
    std::string given;
    if (ArgText(cx, args, 1, given))
        folder = given;
    args.rval().setBoolean(ExportChm(id, folder.c_str()));
    return true;
}

bool RefreshModelTreeNative(JSContext*, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    RefreshModelTree();
    args.rval().setUndefined();
    return true;
}

bool RefreshDiagramNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    int32_t id;
    if (!ArgInt(cx, args, 0, id))
        id = -1;
    RefreshDiagram(id);
    args.rval().setUndefined();
    return true;
}

bool CloseDiagramNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    int32_t id = 0;
    if (args.length() > 0 && !ArgInt(cx, args, 0, id))
        return ScriptWarn(cx, "It is a invalid diagram ID");
    CloseDiagram(id);
    args.rval().setBoolean(true);
    return true;
}

bool OpenOrCreate(JSContext* cx, unsigned argc, JS::Value* vp, bool create)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    if (!HostThis<ApplicationState>(cx, args, kApplication))
        return false;
    if (args.length() < 1)
        return ScriptWarn(cx, "Project file name should be prompted");
    std::string path;
    if (!ArgText(cx, args, 0, path))
        return ScriptWarn(cx, "Invalid project name");
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return false;
    frame->OpenProject(path, create);
    args.rval().setBoolean(true);
    return true;
}

bool OpenProjectNative(JSContext* cx, unsigned argc, JS::Value* vp) { return OpenOrCreate(cx, argc, vp, false); }

bool NewProjectNative(JSContext* cx, unsigned argc, JS::Value* vp) { return OpenOrCreate(cx, argc, vp, true); }

bool CloseProjectNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    if (!HostThis<ApplicationState>(cx, args, kApplication))
        return false;
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return false;
    frame->CloseProject();
    args.rval().setBoolean(true);
    return true;
}

bool SaveProjectNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    if (!HostThis<ApplicationState>(cx, args, kApplication))
        return false;
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return false;
    frame->SendMessage(WM_COMMAND, kSaveAllCommand);
    args.rval().setBoolean(true);
    return true;
}

// A static method: called on the constructor, or on an object of the class.
bool MessageBoxNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setInt32(0);
    JSObject* self = args.thisv().isObject() ? &args.thisv().toObject() : nullptr;
    if (!self || !(JS_IsNativeFunction(self, kApplication.constructor) || HostPrivate(self, kApplication.clasp)))
        return ScriptWarn(cx, std::string(kApplication.label) + " has not been initialized");
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return false;
    if (args.length() < 1)
        return ScriptWarn(cx, "Message text should be prompted");
    std::string text;
    if (!ArgText(cx, args, 0, text))
        return ScriptWarn(cx, "Invalid message text");
    std::string caption;
    if (!ArgText(cx, args, 1, caption) || caption.empty()) {
        CString title;
        title.LoadString(kAppTitle);
        caption = title.GetString();
    }
    int32_t type = 0;
    if (!ArgInt(cx, args, 2, type))
        type = 0;
    args.rval().setInt32(frame->MessageBox(text.c_str(), caption.c_str(), UINT(type)));
    return true;
}

const JSClassOps kApplicationOps = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeHostPrivate<ApplicationState>,
    nullptr, nullptr, nullptr,
};

const JSClass kApplicationClass = {
    "Application", JSCLASS_HAS_RESERVED_SLOTS(1) | JSCLASS_FOREGROUND_FINALIZE, &kApplicationOps, nullptr, nullptr,
    nullptr,
};

const HostProperty kProperties[] = {
    { "projectOpened", kProjectOpened },
    { "checkedModel", kCheckedModel },
    { "modelId", kModelId },
    { "libraryId", kLibraryId },
    { "predefinedId", kPredefinedId },
    { nullptr, 0 },
};

const JSFunctionSpec kMethods[] = {
    JS_FN("outputCHM", HostNative<OutputChm>, 1, 0),
    JS_FN("refreshModelTree", HostNative<RefreshModelTreeNative>, 0, 0),
    JS_FN("refreshDiagram", HostNative<RefreshDiagramNative>, 0, 0),
    JS_FN("closeDiagram", HostNative<CloseDiagramNative>, 0, 0),
    JS_FN("openProject", HostNative<OpenProjectNative>, 1, 0),
    JS_FN("newProject", HostNative<NewProjectNative>, 1, 0),
    JS_FN("closeProject", HostNative<CloseProjectNative>, 0, 0),
    JS_FN("saveProject", HostNative<SaveProjectNative>, 0, 0),
    JS_FS_END,
};

const JSFunctionSpec kStaticMethods[] = {
    JS_FN("messageBox", HostNative<MessageBoxNative>, 3, 0),
    JS_FS_END,
};

const HostConstant kConstants[] = {
    { "MB_ABORTRETRYIGNORE", 2 }, { "MB_OK", 0 }, { "MB_OKCANCEL", 1 }, { "MB_RETRYCANCEL", 5 },
    { "MB_YESNO", 4 }, { "MB_YESNOCANCEL", 3 }, { "MB_ICONEXCLAMATION", 48 }, { "MB_ICONINFORMATION", 64 },
    { "MB_ICONQUESTION", 32 }, { "MB_ICONSTOP", 16 }, { "IDABORT", 3 }, { "IDCANCEL", 2 },
    { "IDIGNORE", 5 }, { "IDNO", 7 }, { "IDOK", 1 }, { "IDRETRY", 4 },
    { "IDYES", 6 }, { nullptr, 0 },
};

const HostClassDef kApplication = {
    &kApplicationClass, "JSApplication", HostNative<Construct>, 0, kProperties, GetApplicationProperty, nullptr,
    kMethods, kStaticMethods, kConstants,
};

} // namespace

bool InitApplicationClass(JSContext* cx, JS::HandleObject global)
{
    JS::RootedObject constructor(cx);
    return InitHostClass(cx, global, kApplication, &constructor);
}
