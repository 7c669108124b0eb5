// File objects: the constructor, the properties and the methods that read
// and write an object's stream. A read or write on a closed object first
// opens its own path (for reading; or for writing, appending and creating)
// and goes on whatever that gave; an object without a path is refused.
#include "Scripting/File.h"

#include "Scripting/HostClass.h"
#include "Scripting/ScriptFile.h"
#include "Scripting/ScriptPaths.h"

#include <js/Array.h>
#include <js/Conversions.h>
#include <js/Date.h>
#include <js/Exception.h>
#include <js/Warnings.h>
#include <mozilla/Range.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

enum FileProperty {
    kLength = 2, kParent, kPath, kName, kIsDirectory, kIsFile, kExists, kCanRead, kCanWrite, kIsOpen, kType,
    kMode, kCreationTime, kLastModified, kSize, kHasRandomAccess, kPosition, kCanAppend, kCanReplace,
    kHasAutoFlush
};

const HostProperty kProperties[] = {
    { "length", kLength }, { "parent", kParent }, { "path", kPath }, { "name", kName },
    { "isDirectory", kIsDirectory }, { "isFile", kIsFile }, { "exists", kExists }, { "canRead", kCanRead },
    { "canWrite", kCanWrite }, { "isOpen", kIsOpen }, { "type", kType }, { "mode", kMode },
    { "creationTime", kCreationTime }, { "lastModified", kLastModified }, { "size", kSize },
    { "hasRandomAccess", kHasRandomAccess }, { "position", kPosition }, { "canAppend", kCanAppend },
    { "canReplace", kCanReplace }, { "hasAutoFlush", kHasAutoFlush }, { nullptr, 0 },
};

extern const HostClassDef kFile;

std::string theStartDir;

ScriptFile* FileOf(JSObject* obj) { return static_cast<ScriptFile*>(HostPrivate(obj, kFile.clasp)); }

bool Fail(JSContext* cx, int number, std::string arg0 = {}, std::string arg1 = {})
{
    return ReportFileFailure(cx, FileResult::Error(number, std::move(arg0), std::move(arg1)));
}

// A report that does not end the script.
void Notice(JSContext* cx, const FileResult& result)
{
    if (!result.Ok())
        ReportFileFailure(cx, result);
}

bool StatPath(const ScriptFile& f, struct stat& st)
{
    return !f.Path().empty() && stat(f.Path().c_str(), &st) == 0;
}

bool IsFolder(const ScriptFile& f)
{
    struct stat st;
    return StatPath(f, st) && S_ISDIR(st.st_mode);
}

// The value's text in UTF-16; false with its exception cleared.
bool ValueChars(JSContext* cx, JS::HandleValue v, std::u16string& chars)
{
    JS::RootedString str(cx, JS::ToString(cx, v));
    if (str) {
        chars.resize(JS_GetStringLength(str));
        if (JS_CopyStringChars(cx, mozilla::Range<char16_t>(chars.data(), chars.size()), str))
            return true;
    }
    JS_ClearPendingException(cx);
    return false;
}

bool SetChars(JSContext* cx, JS::MutableHandleValue vp, const std::u16string& chars)
{
    JSString* str = JS_NewUCStringCopyN(cx, chars.data(), chars.size());
    if (!str)
        return false;
    vp.setString(str);
    return true;
}

// The argument as shown in a message; "undefined" when absent.
std::string ArgShown(JSContext* cx, const JS::CallArgs& args, unsigned i)
{
    std::string text;
    return ArgText(cx, args, i, text) ? text : "undefined";
}

// A path argument: text without NUL, made canonical.
bool ArgPath(JSContext* cx, const JS::CallArgs& args, unsigned i, std::string& path)
{
    std::string text;
    if (!ArgText(cx, args, i, text) || text.find('\0') != std::string::npos)
        return false;
    path = CanonicalPath(text, theStartDir);
    return true;
}

// Opens a closed object on its own path before an operation.
bool OpenForOperation(JSContext* cx, ScriptFile& f, bool writing, const char* op)
{
    if (f.IsOpen())
        return true;
    if (f.Path().empty())
        return Fail(cx, FileErrMustBeOpen, op);
    ScriptWarn(cx, "File " + f.Path() + " is closed, will open it for " + (writing ? "writing" : "reading") +
                       ", proceeding");
    FileMode mode;
    mode.bits = writing ? FileModeWrite | FileModeAppend | FileModeCreate : FileModeRead;
    Notice(cx, f.Open(mode));
    return true;
}

bool ForReading(JSContext* cx, ScriptFile& f, const char* op)
{
    if (!OpenForOperation(cx, f, false, op))
        return false;
    return f.CanRead() || Fail(cx, FileErrNotReadable, f.Path());
}

bool ForWriting(JSContext* cx, ScriptFile& f, const char* op)
{
    if (!OpenForOperation(cx, f, true, op))
        return false;
    return f.CanWrite() || Fail(cx, FileErrNotWritable, f.Path());
}

bool OneArgument(JSContext* cx, const JS::CallArgs& args, const char* op)
{
    return args.length() == 1 || Fail(cx, FileErrArgumentCount, op, std::to_string(args.length()));
}

bool DateOf(JSContext* cx, time_t t, JS::MutableHandleValue vp)
{
    JSObject* date = JS::NewDateObject(cx, JS::TimeClip(double(t) * 1000.0));
    if (!date)
        return false;
    vp.setObject(*date);
    return true;
}

const char* ModeName(unsigned mode)
{
    if (mode & FileModeReadWrite)
        return "readWrite";
    if (mode & FileModeRead)
        return "read";
    if (mode & FileModeWrite)
        return "write";
    if (mode & FileModeAppend)
        return "append";
    return "";
}

bool GetPosition(JSContext* cx, const ScriptFile& f, JS::MutableHandleValue vp)
{
    if (!f.HasRandomAccess()) {
        ScriptWarn(cx, "File " + f.Path() + " doesn't support random access, can't report the position, proceeding");
        vp.setUndefined();
        return true;
    }
    struct stat st;
    if (!StatPath(f, st) || !S_ISREG(st.st_mode))
        return ScriptWarn(cx, "File " + f.Path() + " is closed or not a plain file, can't report position, proceeding");
    const long long position = f.Position();
    if (position < 0)
        return Fail(cx, FileErrReportPosition, f.Path());
    vp.setNumber(double(position));
    return true;
}

bool GetFileProperty(JSContext* cx, JS::HandleObject obj, int tinyId, JS::MutableHandleValue vp)
{
    ScriptFile& f = *FileOf(obj);
    struct stat st;
    const bool known = StatPath(f, st);
    switch (tinyId) {
    case kType:
        if (known && S_ISDIR(st.st_mode)) {
            vp.setUndefined();
            return true;
        }
        [[fallthrough]];
    case kHasRandomAccess:
    case kPosition:
    case kCanAppend:
    case kCanReplace:
    case kHasAutoFlush:
        if (!f.IsOpen())
            return Fail(cx, FileErrMustBeOpen, kProperties[tinyId - kLength].name);
        break;
    default:
        break;
    }
    switch (tinyId) {
    case kLength:
        vp.setNumber(known && !S_ISDIR(st.st_mode) ? double(st.st_size) : 0.0);
        return true;
    case kParent: {
        const std::string folder = PathFolder(f.Path());
        if (f.Path().empty() || folder == f.Path()) {
            vp.setNull();
            return true;
        }
        JSObject* parent = NewFileObject(cx, folder);
        if (!parent)
            return false;
        vp.setObject(*parent);
        return true;
    }
    case kPath:
        return SetText(cx, vp, f.Path());
    case kName:
        return SetText(cx, vp, PathLastComponent(f.Path()));
    case kIsDirectory:
        vp.setBoolean(known && S_ISDIR(st.st_mode));
        return true;
    case kIsFile:
        vp.setBoolean(known && !S_ISDIR(st.st_mode));
        return true;
    case kExists:
        vp.setBoolean(known);
        return true;
    case kCanRead:
        vp.setBoolean(f.CanRead());
        return true;
    case kCanWrite:
        vp.setBoolean(f.CanWrite());
        return true;
    case kIsOpen:
        vp.setBoolean(f.IsOpen());
        return true;
    case kType:
        return SetText(cx, vp, f.Type() == FileType::Utf8 ? "binary" : f.Type() == FileType::Unicode ? "unicode" : "text");
    case kMode:
        return SetText(cx, vp, ModeName(f.Mode()));
    case kCreationTime:
    case kLastModified:
        if (!known)
            return Fail(cx, FileErrStatus, f.Path());
        return DateOf(cx, tinyId == kCreationTime ? st.st_ctime : st.st_mtime, vp);
    case kSize:
        if (!known)
            return Fail(cx, FileErrStatus, f.Path());
        vp.setNumber(double(st.st_size));
        return true;
    case kHasRandomAccess:
        vp.setBoolean(f.HasRandomAccess());
        return true;
    case kPosition:
        return GetPosition(cx, f, vp);
    case kCanAppend:
        vp.setBoolean(f.Mode() & FileModeAppend);
        return true;
    case kCanReplace:
        vp.setBoolean(f.Mode() & FileModeReplace);
        return true;
    case kHasAutoFlush:
        vp.setBoolean(f.HasAutoFlush());
        return true;
    default:
        return true;
    }
}

bool SetFileProperty(JSContext* cx, JS::HandleObject obj, int tinyId, JS::HandleValue v)
{
    ScriptFile& f = *FileOf(obj);
    if (tinyId == kHasAutoFlush) {
        f.SetAutoFlush(JS::ToBoolean(v));
        return true;
    }
    if (tinyId != kPosition)
        return true;
    if (!f.HasRandomAccess())
        return ScriptWarn(cx, "File " + f.Path() + " doesn't support random access, can't report the position, proceeding");
    struct stat st;
    if (!f.IsOpen() || !StatPath(f, st) || !S_ISREG(st.st_mode))
        return ScriptWarn(cx, "File " + f.Path() + " is closed or not a file, can't set position, proceeding");
    double offset;
    if (!v.isNumber() || !JS::ToNumber(cx, v, &offset) || offset != double(int64_t(offset))) {
        JS_ClearPendingException(cx);
        JS::RootedString shown(cx, JS::ToString(cx, v));
        std::string text;
        if (shown) {
            JS::UniqueChars chars = JS_EncodeStringToUTF8(cx, shown);
            text = chars ? chars.get() : "";
        }
        return Fail(cx, FileErrNotNumber, "position", text);
    }
    return f.SetPosition((long long)offset) || Fail(cx, FileErrSetPosition, f.Path());
}

bool Construct(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedObject obj(cx, NewHostObject(cx, args, kFile.clasp));
    if (!obj)
        return false;
    SetHostPrivate(obj, new ScriptFile);
    args.rval().setObject(*obj);
    return true;
}

bool Open(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f)
        return false;
    if (f->IsOpen()) {
        ScriptWarn(cx, "File " + f->Path() + " is already open, we will close it and reopen, proceeding");
        const FileResult closed = f->Close();
        if (!closed.Ok())
            return ReportFileFailure(cx, closed);
    }
    std::string path;
    if (!ArgPath(cx, args, 0, path))
        return Fail(cx, FileErrPathNotText, ArgShown(cx, args, 0));
    f->SetPath(path);
    std::string mode;
    if (!ArgText(cx, args, 1, mode))
        return Fail(cx, FileErrOpenPathNotText, path);
    const FileResult opened = f->Open(ScriptFile::ParseMode(mode));
    if (!opened.Ok())
        return ReportFileFailure(cx, opened);
    args.rval().setBoolean(true);
    return true;
}

bool Close(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f)
        return false;
    if (!f->IsOpen())
        return ScriptWarn(cx, "File " + f->Path() + " is not open, can't close it, proceeding");
    const FileResult closed = f->Close();
    if (!closed.Ok())
        return ReportFileFailure(cx, closed);
    args.rval().setBoolean(true);
    return true;
}

bool CopyTo(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !OneArgument(cx, args, "copyTo") || !ForReading(cx, *f, "copyTo"))
        return false;
    std::string dest;
    if (!ArgPath(cx, args, 0, dest))
        return Fail(cx, FileErrPathNotText, ArgShown(cx, args, 0));
    const FileResult copied = f->CopyTo(dest);
    if (!copied.Ok())
        return ReportFileFailure(cx, copied);
    args.rval().setBoolean(true);
    return true;
}

bool RenameTo(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !OneArgument(cx, args, "renameTo"))
        return false;
    if (f->IsOpen())
        return Fail(cx, FileErrMustBeClosed, "renameTo");
    std::string dest;
    if (!ArgPath(cx, args, 0, dest))
        return Fail(cx, FileErrPathNotText, ArgShown(cx, args, 0));
    const FileResult renamed = f->RenameTo(dest);
    if (!renamed.Ok())
        return ReportFileFailure(cx, renamed);
    args.rval().setBoolean(true);
    return true;
}

bool Flush(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f)
        return false;
    f->Flush();
    return true;
}

bool Seek(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setInt32(0);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !OneArgument(cx, args, "seek") || !ForReading(cx, *f, "seek"))
        return false;
    int32_t count;
    if (!ArgWholeInt(cx, args, 0, count))
        return Fail(cx, FileErrNotNumber, "seek", ArgShown(cx, args, 0));
    if (!f->HasRandomAccess())
        return Fail(cx, FileErrNoRandomAccess, f->Path());
    if (IsFolder(*f))
        return ScriptWarn(cx, "Seek on directories is not supported, proceeding");
    return f->Seek(count) || Fail(cx, FileErrOperation, "seek", f->Path());
}

bool Read(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setNull();
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !OneArgument(cx, args, "read") || !ForReading(cx, *f, "read"))
        return false;
    int32_t count;
    if (!ArgWholeInt(cx, args, 0, count))
        return Fail(cx, FileErrNotNumber, "read", ArgShown(cx, args, 0));
    std::u16string text;
    return f->Read(count, text) && SetChars(cx, args.rval(), text);
}

bool ReadLn(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setNull();
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !ForReading(cx, *f, "readln"))
        return false;
    std::u16string line;
    return !f->ReadLine(line) || SetChars(cx, args.rval(), line);
}

bool ReadAll(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !ForReading(cx, *f, "readAll"))
        return false;
    JS::RootedObject lines(cx, JS::NewArrayObject(cx, 0));
    if (!lines)
        return false;
    std::u16string line;
    JS::RootedValue value(cx);
    for (uint32_t i = 0; f->ReadLine(line); ++i) {
        if (!SetChars(cx, &value, line) || !JS_SetElement(cx, lines, i, value))
            return false;
    }
    args.rval().setObject(*lines);
    return true;
}

bool WriteValues(JSContext* cx, ScriptFile& f, const JS::HandleValueArray& values, bool lineEnd)
{
    std::u16string text;
    for (size_t i = 0; i < values.length(); ++i) {
        if (!ValueChars(cx, values[i], text))
            return false;
        const FileResult written = f.Write(text);
        if (!written.Ok())
            return ReportFileFailure(cx, written);
    }
    const FileResult ended = lineEnd ? f.WriteLineEnd() : FileResult::Success();
    return ended.Ok() || ReportFileFailure(cx, ended);
}

bool WriteNative(JSContext* cx, unsigned argc, JS::Value* vp, bool lineEnd, const char* op)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !ForWriting(cx, *f, op) || !WriteValues(cx, *f, args, lineEnd))
        return false;
    args.rval().setBoolean(true);
    return true;
}

bool Write(JSContext* cx, unsigned argc, JS::Value* vp) { return WriteNative(cx, argc, vp, false, "write"); }

bool WriteLn(JSContext* cx, unsigned argc, JS::Value* vp) { return WriteNative(cx, argc, vp, true, "writeln"); }

bool WriteAll(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    if (!f || !OneArgument(cx, args, "writeAll") || !ForWriting(cx, *f, "writeAll"))
        return false;
    bool isArray = false;
    if (!JS::IsArrayObject(cx, args[0], &isArray) || !isArray)
        return Fail(cx, FileErrWriteAllNoArray);
    JS::RootedObject array(cx, &args[0].toObject());
    uint32_t length = 0;
    if (!JS::GetArrayLength(cx, array, &length))
        return false;
    JS::RootedValue element(cx);
    for (uint32_t i = 0; i < length; ++i) {
        if (!JS_GetElement(cx, array, i, &element) || !WriteValues(cx, *f, JS::HandleValueArray(element), true))
            return false;
    }
    args.rval().setBoolean(true);
    return true;
}

bool ToStringNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    return f && SetText(cx, args.rval(), f->Path());
}

bool ToUrl(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    ScriptFile* f = HostThis<ScriptFile>(cx, args, kFile);
    return f && SetText(cx, args.rval(), FileUrl(f->Path()));
}

const JSClassOps kFileOps = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeHostPrivate<ScriptFile>, nullptr, nullptr, nullptr,
};

const JSClass kFileClass = {
    "File", JSCLASS_HAS_RESERVED_SLOTS(1) | JSCLASS_FOREGROUND_FINALIZE, &kFileOps, nullptr, nullptr, nullptr,
};

const JSFunctionSpec kMethods[] = {
    JS_FN("open", HostNative<Open>, 2, 0),
    JS_FN("close", HostNative<Close>, 0, 0),
    JS_FN("copyTo", HostNative<CopyTo>, 0, 0),
    JS_FN("renameTo", HostNative<RenameTo>, 1, 0),
    JS_FN("flush", HostNative<Flush>, 0, 0),
    JS_FN("seek", HostNative<Seek>, 1, 0),
    JS_FN("read", HostNative<Read>, 0, 0),
    JS_FN("readln", HostNative<ReadLn>, 0, 0),
    JS_FN("readAll", HostNative<ReadAll>, 1, 0),
    JS_FN("write", HostNative<Write>, 1, 0),
    JS_FN("writeln", HostNative<WriteLn>, 1, 0),
    JS_FN("writeAll", HostNative<WriteAll>, 0, 0),
    JS_FN("toString", HostNative<ToStringNative>, 0, 0),
    JS_FN("toURL", HostNative<ToUrl>, 0, 0),
    JS_FS_END,
};

const HostClassDef kFile = {
    &kFileClass, "File", HostNative<Construct>, 1, kProperties, GetFileProperty, SetFileProperty,
    kMethods, kFileStaticMethods, nullptr,
};

} // namespace

const std::string& FileStartDir() { return theStartDir; }

namespace {

// A numbered error is a warning whose report carries the table's number: the
// host's reporter is wrapped for the one warning.
unsigned theErrorNumber;
JS::WarningReporter theHostReporter;

void ReportNumbered(JSContext* cx, JSErrorReport* report)
{
    report->errorNumber = theErrorNumber;
    if (theHostReporter)
        theHostReporter(cx, report);
}

} // namespace

bool ReportFileFailure(JSContext* cx, const FileResult& failure)
{
    if (!failure.error)
        return ScriptWarn(cx, failure.warning);
    JS_ClearPendingException(cx);
    theErrorNumber = unsigned(failure.error);
    theHostReporter = JS::SetWarningReporter(cx, ReportNumbered);
    JS::WarnUTF8(cx, "%s", failure.Text().c_str());
    JS::SetWarningReporter(cx, theHostReporter);
    return false;
}

JSObject* NewFileObject(JSContext* cx, const std::string& path)
{
    JS::RootedObject global(cx, JS::CurrentGlobalOrNull(cx));
    JS::RootedValue constructor(cx);
    JS::RootedObject obj(cx);
    if (global && JS_GetProperty(cx, global, "File", &constructor) && constructor.isObject()) {
        JS::RootedValue prototype(cx);
        JS::RootedObject ctor(cx, &constructor.toObject());
        if (JS_GetProperty(cx, ctor, "prototype", &prototype) && prototype.isObject()) {
            JS::RootedObject proto(cx, &prototype.toObject());
            obj = JS_NewObjectWithGivenProto(cx, kFile.clasp, proto);
        }
    }
    if (!obj) {
        Fail(cx, FileErrCreate, "js_NewFileObject");
        return nullptr;
    }
    auto* f = new ScriptFile;
    f->SetPath(path);
    SetHostPrivate(obj, f);
    return obj;
}

bool InitFileClass(JSContext* cx, JS::HandleObject global)
{
    char cwd[4096];
    theStartDir = getcwd(cwd, sizeof cwd) ? cwd : "";
    JS::RootedObject constructor(cx);
    if (!InitHostClass(cx, global, kFile, &constructor))
        return Fail(cx, FileErrClassInit);
    return DefineFileStatics(cx, constructor);
}
