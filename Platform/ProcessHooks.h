// Hooks through which a layer above hears of new threads and new modules
// without the layers in between knowing it (the crash reporter gives each
// thread a signal stack and keeps its module list current with them).
// Each hook is one plain function, set once at start-up; unset hooks do
// nothing.
#pragma once

typedef void (*AFX_PROCESS_HOOK)();

// Each returns the hook it replaces.
AFX_PROCESS_HOOK AfxSetThreadStartHook(AFX_PROCESS_HOOK hook);
AFX_PROCESS_HOOK AfxSetModulesChangedHook(AFX_PROCESS_HOOK hook);

// Called first by every thread the program starts, on that thread.
void AfxThreadStarted();
// Called after a shared library has been loaded, and by the shell once its
// main window is up (the toolkit loads its plugins on its own).
void AfxModulesChanged();
