#include "Scripting/HostClass.h"

#include "MemDB/ModelSchema.h"
#include "Platform/TextConv.h"

#include <js/CharacterEncoding.h>
#include <js/Conversions.h>
#include <js/Exception.h>
#include <js/PropertyAndElement.h>
#include <js/String.h>
#include <js/Warnings.h>
#include <jsfriendapi.h>
#include <mozilla/Span.h>

#include <cmath>

namespace {

// The accessor functions of a tiny-id property carry the id and the class.
enum AccessorSlot { kTinyIdSlot, kDefSlot };

const HostClassDef& AccessorDef(const JS::CallArgs& args, int& tinyId)
{
    JSObject* callee = &args.callee();
    tinyId = js::GetFunctionNativeReserved(callee, kTinyIdSlot).toInt32();
    return *static_cast<const HostClassDef*>(js::GetFunctionNativeReserved(callee, kDefSlot).toPrivate());
}

bool GetProperty(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    int tinyId;
    const HostClassDef& def = AccessorDef(args, tinyId);
    if (!HostThisPrivate(cx, args, def))
        return false;
    JS::RootedObject obj(cx, &args.thisv().toObject());
    return def.get(cx, obj, tinyId, args.rval());
}

bool SetProperty(JSContext* cx, unsigned argc, JS::Value* vp)
{
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    int tinyId;
    const HostClassDef& def = AccessorDef(args, tinyId);
    args.rval().setUndefined();
    if (!def.set)
        return true;
    if (!HostThisPrivate(cx, args, def))
        return false;
    JS::RootedObject obj(cx, &args.thisv().toObject());
    return def.set(cx, obj, tinyId, args.get(0));
}

JSObject* NewAccessor(JSContext* cx, JSNative native, const char* name, int tinyId, const HostClassDef& def)
{
    JSFunction* fun = js::NewFunctionWithReserved(cx, native, native == SetProperty ? 1 : 0, 0, name);
    if (!fun)
        return nullptr;
    JSObject* obj = JS_GetFunctionObject(fun);
    js::SetFunctionNativeReserved(obj, kTinyIdSlot, JS::Int32Value(tinyId));
    js::SetFunctionNativeReserved(obj, kDefSlot, JS::PrivateValue(const_cast<HostClassDef*>(&def)));
    return obj;
}

bool DefineProperties(JSContext* cx, JS::HandleObject proto, const HostClassDef& def)
{
    for (const HostProperty* p = def.properties; p && p->name; ++p) {
        JS::RootedObject getter(cx, NewAccessor(cx, HostNative<GetProperty>, p->name, p->tinyId, def));
        JS::RootedObject setter(cx, NewAccessor(cx, HostNative<SetProperty>, p->name, p->tinyId, def));
        if (!getter || !setter || !JS_DefineProperty(cx, proto, p->name, getter, setter, JSPROP_ENUMERATE))
            return false;
    }
    return true;
}

bool DefineConstants(JSContext* cx, JS::HandleObject constructor, const HostConstant* constants)
{
    for (const HostConstant* c = constants; c && c->name; ++c) {
        if (!JS_DefineProperty(cx, constructor, c->name, c->value,
                               JSPROP_ENUMERATE | JSPROP_READONLY | JSPROP_PERMANENT))
            return false;
    }
    return true;
}

// The text of the string in UTF-8, embedded NULs included; a lone
// surrogate becomes U+FFFD.
bool StringText(JSContext* cx, JSString* str, std::string& text)
{
    JSLinearString* linear = JS_EnsureLinearString(cx, str);
    if (!linear)
        return false;
    text.resize(JS::GetDeflatedUTF8StringLength(linear));
    JS::DeflateStringToUTF8Buffer(linear, mozilla::Span<char>(text.data(), text.size()));
    return true;
}

} // namespace

bool InitHostClass(JSContext* cx, JS::HandleObject global, const HostClassDef& def,
                   JS::MutableHandleObject constructor)
{
    JS::RootedObject proto(cx, JS_InitClass(cx, global, nullptr, def.clasp, def.constructor, def.nargs, nullptr,
                                            def.methods, nullptr, def.staticMethods));
    if (!proto)
        return false;
    constructor.set(JS_GetConstructor(cx, proto));
    return constructor && DefineProperties(cx, proto, def) && DefineConstants(cx, constructor, def.constants);
}

bool ScriptWarn(JSContext* cx, const std::string& text)
{
    JS_ClearPendingException(cx);
    JS::WarnUTF8(cx, "%s", text.c_str());
    return false;
}

bool WarnHostFailure(JSContext* cx, const dbException& e)
{
    char text[512];
    theModelDb.FormatErrorMessage(text, sizeof text, e.GetErrCode(), e.GetMsg(), e.GetArg());
    return ScriptWarn(cx, text);
}

bool WarnOutOfMemory(JSContext* cx) { return ScriptWarn(cx, "Fail to alloc memory"); }

void* HostPrivate(JSObject* obj, const JSClass* clasp)
{
    return obj && JS::GetClass(obj) == clasp ? JS::GetMaybePtrFromReservedSlot<void>(obj, 0) : nullptr;
}

void* HostThisPrivate(JSContext* cx, const JS::CallArgs& args, const HostClassDef& def)
{
    void* priv = args.thisv().isObject() ? HostPrivate(&args.thisv().toObject(), def.clasp) : nullptr;
    if (!priv)
        ScriptWarn(cx, std::string(def.label) + " has not been initialized");
    return priv;
}

JSObject* NewHostObject(JSContext* cx, const JS::CallArgs& args, const JSClass* clasp)
{
    if (args.isConstructing())
        return JS_NewObjectForConstructor(cx, clasp, args);
    JS::RootedObject callee(cx, &args.callee());
    JS::RootedValue prototype(cx);
    if (!JS_GetProperty(cx, callee, "prototype", &prototype))
        return nullptr;
    JS::RootedObject proto(cx, prototype.isObject() ? &prototype.toObject() : nullptr);
    return JS_NewObjectWithGivenProto(cx, clasp, proto);
}

bool ArgText(JSContext* cx, const JS::CallArgs& args, unsigned i, std::string& text)
{
    if (i >= args.length())
        return false;
    JS::RootedString str(cx, JS::ToString(cx, args[i]));
    if (!str || !StringText(cx, str, text)) {
        JS_ClearPendingException(cx);
        return false;
    }
    return true;
}

bool ArgInt(JSContext* cx, const JS::CallArgs& args, unsigned i, int32_t& value)
{
    if (i >= args.length())
        return false;
    if (!JS::ToInt32(cx, args[i], &value)) {
        JS_ClearPendingException(cx);
        return false;
    }
    return true;
}

bool ArgWholeInt(JSContext* cx, const JS::CallArgs& args, unsigned i, int32_t& value)
{
    if (i >= args.length())
        return false;
    double d;
    if (!JS::ToNumber(cx, args[i], &d)) {
        JS_ClearPendingException(cx);
        return false;
    }
    const double whole = std::floor(d + 0.5);
    if (std::isnan(whole) || whole < INT32_MIN || whole > INT32_MAX)
        return false;
    value = int32_t(whole);
    return true;
}

JSString* NewScriptString(JSContext* cx, std::string_view text)
{
    const std::u16string chars = Utf8ToUtf16(text.data(), int(text.size()));
    return JS_NewUCStringCopyN(cx, chars.data(), chars.size());
}

bool SetText(JSContext* cx, JS::MutableHandleValue vp, std::string_view text)
{
    JSString* str = NewScriptString(cx, text);
    if (!str)
        return false;
    vp.setString(str);
    return true;
}
