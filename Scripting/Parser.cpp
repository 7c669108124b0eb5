#include "Scripting/Parser.h"

#include "MemDB/ModelSchema.h"
#include "Pub/GuidText.h"
#include "Scripting/HostClass.h"
#include "Scripting/JSParser.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <js/Conversions.h>
#include <js/Exception.h>

namespace {

extern const HostClassDef kParser;

bool Construct(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedObject obj(cx, NewHostObject(cx, args, kParser.clasp));
    if (!obj)
        return false;
    auto* parser = new (std::nothrow) JSParser;
    if (!parser)
        return ScriptWarn(cx, "Fail to alloc memory fro JSParser");
    SetHostPrivate(obj, parser);
    args.rval().setObject(*obj);
    return true;
}

// The index argument, or the warning.
bool ArgIndex(JSContext* cx, const JS::CallArgs& args, int32_t& index, const char* warning)
{
    return ArgWholeInt(cx, args, 0, index) || ScriptWarn(cx, warning);
}

bool GetCurrentIndex(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    if (!p)
        return false;
    args.rval().setInt32(p->CurrentIndex());
    return true;
}

bool Neighbour(JSContext* cx, unsigned argc, JS::Value* vp, bool next)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    int32_t index;
    if (!HostThis<JSParser>(cx, args, kParser) || !ArgIndex(cx, args, index, "Invalid current index"))
        return false;
    args.rval().setInt32(next ? JSParser::NextIndex(index) : JSParser::ForeIndex(index));
    return true;
}

bool GetNextIndex(JSContext* cx, unsigned argc, JS::Value* vp) { return Neighbour(cx, argc, vp, true); }
bool GetForeIndex(JSContext* cx, unsigned argc, JS::Value* vp) { return Neighbour(cx, argc, vp, false); }

bool RollbackWord(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    int32_t index;
    if (!p || !ArgIndex(cx, args, index, "Invalid current index"))
        return false;
    return p->Rollback(index) || ScriptWarn(cx, "Invalid current index");
}

bool ReserveWord(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    int32_t index;
    if (!p || !ArgIndex(cx, args, index, "Invalid index"))
        return false;
    return p->Reserve(index) || ScriptWarn(cx, "Invalid index");
}

bool GetWord(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    int32_t index;
    if (!p || !ArgIndex(cx, args, index, "Invalid index"))
        return false;
    const char* word = p->Word(index);
    if (!word)
        return ScriptWarn(cx, "Invalid index");
    return SetText(cx, args.rval(), word);
}

bool ReadWord(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setNull();
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    if (!p)
        return false;
    const char* word = p->ReadWord();
    if (word && !SetText(cx, args.rval(), word))
        return ScriptWarn(cx, "Fatal error happened when calling JS_NewString in readWord");
    return true;
}

bool ArgFileName(JSContext* cx, const JS::CallArgs& args, std::string& name)
{
    if (args.length() < 1)
        return ScriptWarn(cx, "File name should be prompted");
    return ArgText(cx, args, 0, name) || ScriptWarn(cx, "Invalid file name");
}

bool IsValidFile(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    std::string name;
    if (!p || !ArgFileName(cx, args, name))
        return false;
    args.rval().setBoolean(p->IsValidFile(name));
    return true;
}

bool OpenFile(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    std::string name;
    if (!p || !ArgFileName(cx, args, name))
        return false;
    args.rval().setBoolean(name.find('\0') == std::string::npos && p->OpenFile(name.c_str()));
    return true;
}

bool CloseFile(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    if (!p)
        return false;
    args.rval().setBoolean(p->CloseFile());
    return true;
}

// The GUID of a new element: a fresh one for an empty text; one that another
// element carries is refused.
bool ElementGuid(const std::string& given, std::string& guid)
{
    if (!given.empty()) {
        ModelT other;
        guid = given;
        return !FetchElementByGuid(given.c_str(), other);
    }
    char fresh[GuidTextLength + 1];
    if (!MakeGuidText(fresh, sizeof fresh, TRUE))
        return false;
    guid = fresh;
    return true;
}

bool InsertItem(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setInt32(0);
    if (!HostThis<JSParser>(cx, args, kParser))
        return false;
    if (args.length() < 4)
        return ScriptWarn(cx, "Meta name, father ID, name and guid must be prompted");
    std::string meta, name, given, guid, used;
    CSymbol* prototype = nullptr;
    if (!ArgText(cx, args, 0, meta) || !FindMetaclass(meta.c_str(), prototype) || !prototype)
        return ScriptWarn(cx, "Invalid meta name");
    int32_t owner;
    ModelT ownerRow;
    if (!ArgWholeInt(cx, args, 1, owner) || owner < 0 || !FetchElementById(owner, ownerRow))
        return ScriptWarn(cx, "Invalid father ID");
    if (!ArgText(cx, args, 2, name))
        return ScriptWarn(cx, "Invalid name");
    if (!ArgText(cx, args, 3, given) || !ElementGuid(given, guid))
        return ScriptWarn(cx, "Invalid guid");
    if (args.length() > 4 && !ArgText(cx, args, 4, used))
        return ScriptWarn(cx, "Invalid used guid");
    args.rval().setInt32(prototype->CreateElement(owner, name.c_str(), guid.c_str(), used.c_str()));
    return true;
}

bool SetFileType(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    std::string types;
    if (!p)
        return false;
    if (!ArgText(cx, args, 0, types))
        return ScriptWarn(cx, "fileType must be prompted");
    p->SetFileTypes(types);
    return true;
}

bool SetAdditionalChars(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    std::string chars;
    if (!p)
        return false;
    if (!ArgText(cx, args, 0, chars))
        return ScriptWarn(cx, "additionalChars must be prompted");
    p->SetAdditionalChars(chars);
    return true;
}

bool AddOperator(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    if (!p)
        return false;
    std::string op;
    for (unsigned i = 0; i < args.length(); ++i)
        if (ArgText(cx, args, i, op))
            p->AddOperator(op);
    return true;
}

bool Classify(JSContext* cx, unsigned argc, JS::Value* vp, bool (JSParser::*test)(const std::string&) const)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    JSParser* p = HostThis<JSParser>(cx, args, kParser);
    std::string word;
    if (!p)
        return false;
    if (!ArgText(cx, args, 0, word))
        return ScriptWarn(cx, "Word must be prompted");
    args.rval().setBoolean((p->*test)(word));
    return true;
}

bool IsOperator(JSContext* cx, unsigned argc, JS::Value* vp) { return Classify(cx, argc, vp, &JSParser::IsOperator); }
bool IsWord(JSContext* cx, unsigned argc, JS::Value* vp) { return Classify(cx, argc, vp, &JSParser::IsWord); }

bool IsSameStr(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setBoolean(false);
    std::string a, b;
    if (!ArgText(cx, args, 0, a) || !ArgText(cx, args, 1, b))
        return ScriptWarn(cx, "Word must be prompted");
    const bool matchCase = args.length() < 3 || JS::ToBoolean(args[2]);
    args.rval().setBoolean(JSParser::IsSameStr(a, b, matchCase));
    return true;
}

bool GenerateGuid(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    char guid[GuidTextLength + 1];
    if (!MakeGuidText(guid, sizeof guid, TRUE))
        return ScriptWarn(cx, "Fail to generate GUID");
    if (!SetText(cx, args.rval(), guid))
        return ScriptWarn(cx, "Fatal error happened when calling JS_NewString in generateGUID");
    return true;
}

const JSClassOps kParserOps = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeHostPrivate<JSParser>, nullptr, nullptr, nullptr,
};

const JSClass kParserClass = {
    "Parser", JSCLASS_HAS_RESERVED_SLOTS(1) | JSCLASS_FOREGROUND_FINALIZE, &kParserOps, nullptr, nullptr, nullptr,
};

const JSFunctionSpec kMethods[] = {
    JS_FN("getCurrentIndex", HostNative<GetCurrentIndex>, 0, 0),
    JS_FN("getNextIndex", HostNative<GetNextIndex>, 1, 0),
    JS_FN("getForeIndex", HostNative<GetForeIndex>, 1, 0),
    JS_FN("rollbackWord", HostNative<RollbackWord>, 1, 0),
    JS_FN("reserveWord", HostNative<ReserveWord>, 1, 0),
    JS_FN("getWord", HostNative<GetWord>, 1, 0),
    JS_FN("readWord", HostNative<ReadWord>, 1, 0),
    JS_FN("isValidFile", HostNative<IsValidFile>, 1, 0),
    JS_FN("openFile", HostNative<OpenFile>, 1, 0),
    JS_FN("closeFile", HostNative<CloseFile>, 0, 0),
    JS_FN("insertItem", HostNative<InsertItem>, 5, 0),
    JS_FN("setFileType", HostNative<SetFileType>, 1, 0),
    JS_FN("setAdditionalChars", HostNative<SetAdditionalChars>, 1, 0),
    JS_FN("addOperator", HostNative<AddOperator>, 1, 0),
    JS_FN("isOperator", HostNative<IsOperator>, 1, 0),
    JS_FN("isWord", HostNative<IsWord>, 1, 0),
    JS_FS_END,
};

const JSFunctionSpec kStaticMethods[] = {
    JS_FN("isSameStr", HostNative<IsSameStr>, 3, 0),
    JS_FN("generateGUID", HostNative<GenerateGuid>, 0, 0),
    JS_FS_END,
};

const HostClassDef kParser = {
    &kParserClass, "JSParser", HostNative<Construct>, 0, nullptr, nullptr, nullptr, kMethods, kStaticMethods, nullptr,
};

} // namespace

bool InitParserClass(JSContext* cx, JS::HandleObject global)
{
    JS::RootedObject constructor(cx);
    return InitHostClass(cx, global, kParser, &constructor);
}
