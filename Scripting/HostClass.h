// The conventions every host class follows, in one place.
//
// - An object made by a class's constructor holds its private object in
//   reserved slot 0 (JSCLASS_HAS_RESERVED_SLOTS(1)); the prototype and
//   objects of other classes hold none. Methods and property reads take the
//   private object only from an object of their own class: anything else
//   warns "<label> has not been initialized".
// - A warning (ScriptWarn) goes to the Messages pane through the warning
//   reporter and answers false with no exception pending, so the native's
//   false ends the script: no catch and no finally runs. An exception left
//   pending by a failed conversion is cleared first.
// - Properties with a tiny id are accessors on the prototype that call the
//   class's get operation; the class's set operation takes assignments, and
//   without one an assignment does nothing, in strict code too.
// - Constants are read-only, permanent properties of the constructor.
// - Natives are wrapped in HostNative, which turns a database exception or a
//   failed allocation into a warning instead of unwinding through the engine.
#pragma once

#include "MemDB/dbError.h"

#include <jsapi.h>
#include <js/Object.h>

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

struct HostProperty {
    const char* name;   // null ends a table
    int tinyId;
};

struct HostConstant {
    const char* name;   // null ends a table
    double value;
};

// The class's answer for a tiny id on an object of the class.
using HostGetOp = bool (*)(JSContext* cx, JS::HandleObject obj, int tinyId, JS::MutableHandleValue vp);
using HostSetOp = bool (*)(JSContext* cx, JS::HandleObject obj, int tinyId, JS::HandleValue v);

struct HostClassDef {
    const JSClass* clasp;
    const char* label;   // the class in messages, "JSDatabase"
    JSNative constructor;
    unsigned nargs;
    const HostProperty* properties;       // may be null
    HostGetOp get;                        // null when there are no properties
    HostSetOp set;                        // null: assignments are ignored
    const JSFunctionSpec* methods;        // may be null
    const JSFunctionSpec* staticMethods;  // may be null
    const HostConstant* constants;        // may be null
};

// Registers the class on the global object; true with its constructor.
bool InitHostClass(JSContext* cx, JS::HandleObject global, const HostClassDef& def,
                   JS::MutableHandleObject constructor);

// Reports the text as a warning; answers false for the native to return.
bool ScriptWarn(JSContext* cx, const std::string& text);
// The engine's own message for the exception, as a warning.
bool WarnHostFailure(JSContext* cx, const dbException& e);
bool WarnOutOfMemory(JSContext* cx);

// The private object of obj when obj is an object of the class; else null.
void* HostPrivate(JSObject* obj, const JSClass* clasp);
// The private object of the call's this; null after warning
// "<label> has not been initialized".
void* HostThisPrivate(JSContext* cx, const JS::CallArgs& args, const HostClassDef& def);
template <class T>
T* HostThis(JSContext* cx, const JS::CallArgs& args, const HostClassDef& def)
{
    return static_cast<T*>(HostThisPrivate(cx, args, def));
}

// A new object of the class for a constructor call, with or without new,
// whose prototype is the constructor's; it holds no private object yet.
JSObject* NewHostObject(JSContext* cx, const JS::CallArgs& args, const JSClass* clasp);
inline void SetHostPrivate(JSObject* obj, void* priv) { JS::SetReservedSlot(obj, 0, JS::PrivateValue(priv)); }
// The finalizer of a class whose private object is a T.
template <class T>
void FinalizeHostPrivate(JS::GCContext*, JSObject* obj)
{
    delete JS::GetMaybePtrFromReservedSlot<T>(obj, 0);
}

// Argument i as UTF-8 text; false when absent or when it does not convert
// (its exception cleared).
bool ArgText(JSContext* cx, const JS::CallArgs& args, unsigned i, std::string& text);
// Argument i by ECMA ToInt32 (NaN gives 0); false when absent or when it
// does not convert.
bool ArgInt(JSContext* cx, const JS::CallArgs& args, unsigned i, int32_t& value);
// Argument i as a whole number rounded to the nearest; NaN and the
// infinities do not convert either.
bool ArgWholeInt(JSContext* cx, const JS::CallArgs& args, unsigned i, int32_t& value);

// A string of the UTF-8 text; a byte that is no part of a well-formed
// sequence becomes U+FFFD. Null when out of memory.
JSString* NewScriptString(JSContext* cx, std::string_view text);
bool SetText(JSContext* cx, JS::MutableHandleValue vp, std::string_view text);

template <JSNative Native>
bool HostNative(JSContext* cx, unsigned argc, JS::Value* vp)
{
    try {
        return Native(cx, argc, vp);
    } catch (const dbException& e) {
        return WarnHostFailure(cx, e);
    } catch (const std::bad_alloc&) {
        return WarnOutOfMemory(cx);
    }
}
