// The script host: one engine context and one global object that live from
// the main window's creation to shut-down. Every script file runs in that
// global, synchronously, so top-level functions and variables of one run are
// still there in the next. Errors and warnings of the engine and of the host
// classes go to the Messages pane as two lines: the message, then
// "<file>,line <n>, errorNumber <n>".
//
// Adding a host class: write Scripting/<Class>.cpp with its JSClass, its
// tables and natives on the helpers of Scripting/HostClass.h, and a function
// `bool Init<Class>Class(JSContext*, JS::HandleObject global)` that calls
// InitHostClass; declare that function in Scripting/<Class>.h and add it,
// one line, to the list in InitHostClasses (Scripting/HostClasses.cpp),
// whose order is the order of registration.
#pragma once

#include <memory>

struct JSContext;
class JSObject;
namespace JS {
template <typename T>
class PersistentRooted;
}

class ScriptHost {
public:
    JSContext* context = nullptr;
    std::unique_ptr<JS::PersistentRooted<JSObject*>> global;
};

// The engine's process-wide start (once; later calls only answer) and end.
// The program and every test program that runs scripts call both.
bool ScriptEngineStart();
void ScriptEngineStop();

// Null when the engine, the context, the global object, its standard
// classes or print could not be made.
ScriptHost* ScriptHostInit();
// Compiles and runs the file in the host's global object; true when it ran
// to its end. A file that is not UTF-8 is read a byte per character.
bool ScriptHostRunFile(ScriptHost* host, const char* path);
void ScriptHostDestroy(ScriptHost* host);

// Fills the shell's script seam with the functions above.
void InstallScriptHost();
