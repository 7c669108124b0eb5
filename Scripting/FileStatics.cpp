// The File constructor's own properties and methods: the start-up folder,
// the separator, the file and folder dialogs of the main window (through the
// platform's dialog hook), and making and removing folders and files.
#include "Scripting/File.h"

#include "Platform/CommonDialogs.h"
#include "Platform/WinApp.h"
#include "Platform/Wnd.h"
#include "Scripting/HostClass.h"
#include "Scripting/ScriptPaths.h"

#include <js/PropertyAndElement.h>

#include <vector>

namespace {

const DWORD kOpenFlags = OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
const DWORD kNewFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
const DWORD kFileBufferSize = 65536;

HWND MainWindow()
{
    CWnd* frame = AfxGetMainWnd();
    return frame ? frame->GetSafeHwnd() : nullptr;
}

enum class FileDialog { Open, New, SaveAs };

// The chosen paths of a dialog's buffer: one path, or a folder followed by
// names, each ended by a zero byte.
std::string ChosenPaths(const std::vector<char>& buffer)
{
    const std::string first(buffer.data());
    std::string paths;
    for (size_t at = first.size() + 1; at < buffer.size() && buffer[at]; ) {
        const std::string name(buffer.data() + at);
        paths += (paths.empty() ? "" : "\n") + first + "/" + name;
        at += name.size() + 1;
    }
    return paths.empty() ? first : paths;
}

bool RunFileDialog(JSContext* cx, unsigned argc, JS::Value* vp, FileDialog kind)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    if (args.length() < 2)
        return ScriptWarn(cx, "File extension and filter should be prompted");
    std::string extension, filter;
    if (!ArgText(cx, args, 0, extension))
        return ScriptWarn(cx, "Invalid file extension");
    if (!ArgText(cx, args, 1, filter))
        return ScriptWarn(cx, "Invalid file filter");
    // "desc|pattern|...||" becomes the zero-separated list the dialog takes.
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter += '\0';
    std::vector<char> buffer(kFileBufferSize, '\0');
    OPENFILENAME ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = MainWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size() - 1);
    ofn.lpstrDefExt = extension.c_str();
    ofn.Flags = kind == FileDialog::Open ? kOpenFlags : kNewFlags;
    const BOOL chosen = kind == FileDialog::SaveAs ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
    if (!chosen) {
        if (kind == FileDialog::SaveAs)
            args.rval().setNull();
        return true;
    }
    return SetText(cx, args.rval(), kind == FileDialog::Open ? ChosenPaths(buffer) : std::string(buffer.data()));
}

bool OpenDialog(JSContext* cx, unsigned argc, JS::Value* vp) { return RunFileDialog(cx, argc, vp, FileDialog::Open); }
bool NewDialog(JSContext* cx, unsigned argc, JS::Value* vp) { return RunFileDialog(cx, argc, vp, FileDialog::New); }
bool SaveAsDialog(JSContext* cx, unsigned argc, JS::Value* vp) { return RunFileDialog(cx, argc, vp, FileDialog::SaveAs); }

bool SelectFolder(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    std::string title;
    if (args.length() > 0 && !ArgText(cx, args, 0, title))
        return ScriptWarn(cx, "Invalid dialog title");
    std::vector<char> path(4096, '\0');
    BROWSEINFO info = {};
    info.hwndOwner = MainWindow();
    info.lpszTitle = title.c_str();
    info.pszPath = path.data();
    info.nMaxPath = DWORD(path.size());
    if (!BrowseForFolder(&info) || !path[0])
        return true;
    return SetText(cx, args.rval(), path.data());
}

// The path argument of mkdir and remove: text without NUL.
bool ArgFolderPath(JSContext* cx, const JS::CallArgs& args, std::string& path)
{
    if (ArgText(cx, args, 0, path) && path.find('\0') == std::string::npos)
        return true;
    std::string shown = "undefined";
    if (args.length() > 0 && ArgText(cx, args, 0, shown))
        shown = shown.substr(0, shown.find('\0'));
    return ReportFileFailure(cx, FileResult::Error(FileErrPathNotText, shown));
}

bool MakeDir(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    std::string path, failed;
    if (!ArgFolderPath(cx, args, path))
        return false;
    if (!MakeFolder(path, failed))
        return ScriptWarn(cx, "Fail to create directory " + failed);
    args.rval().setBoolean(true);
    return true;
}

bool Remove(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    std::string path;
    if (!ArgFolderPath(cx, args, path))
        return false;
    switch (RemovePath(path)) {
    case RemoveFailure::Folder:
        return ScriptWarn(cx, "Fail to remove directory " + path);
    case RemoveFailure::File:
        return ScriptWarn(cx, "Fail to remove file " + path);
    case RemoveFailure::None:
        break;
    }
    args.rval().setBoolean(true);
    return true;
}

} // namespace

const JSFunctionSpec kFileStaticMethods[] = {
    JS_FN("openDialog", HostNative<OpenDialog>, 2, 0),
    JS_FN("newDialog", HostNative<NewDialog>, 2, 0),
    JS_FN("saveAsDialog", HostNative<SaveAsDialog>, 2, 0),
    JS_FN("selectFolder", HostNative<SelectFolder>, 1, 0),
    JS_FN("mkdir", HostNative<MakeDir>, 1, 0),
    JS_FN("remove", HostNative<Remove>, 1, 0),
    JS_FS_END,
};

bool DefineFileStatics(JSContext* cx, JS::HandleObject constructor)
{
    const unsigned flags = JSPROP_ENUMERATE | JSPROP_READONLY | JSPROP_PERMANENT;
    JS::RootedObject currentDir(cx, NewFileObject(cx, FileStartDir()));
    JS::RootedValue separator(cx);
    return currentDir && JS_DefineProperty(cx, constructor, "currentDir", currentDir, flags) &&
           SetText(cx, &separator, "/") && JS_DefineProperty(cx, constructor, "separator", separator, flags);
}
