// The script host as the shell sees it. Scripting sits above the shell, so
// it fills this table at start-up instead of being linked to. Every entry
// is always callable: until a host is installed, Init makes none and
// RunFile says in the Messages pane that the file was not run.
#pragma once

class ScriptHost;

struct ScriptSeam {
    // The script engine's runtime, context and global object; null when
    // none can be made (later runs then fail).
    ScriptHost* (*Init)();
    // Runs the file to its end; false when it could not run or failed.
    bool (*RunFile)(ScriptHost* host, const char* path);
    void (*Destroy)(ScriptHost* host);
};

extern ScriptSeam theScriptSeam;

void ResetScriptSeam();
