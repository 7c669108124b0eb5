#include "Platform/ProcessHooks.h"

#include <atomic>

namespace {

std::atomic<AFX_PROCESS_HOOK> theThreadStartHook{ nullptr };
std::atomic<AFX_PROCESS_HOOK> theModulesChangedHook{ nullptr };

void Call(const std::atomic<AFX_PROCESS_HOOK>& hook)
{
    if (AFX_PROCESS_HOOK f = hook.load())
        f();
}

} // namespace

AFX_PROCESS_HOOK AfxSetThreadStartHook(AFX_PROCESS_HOOK hook) { return theThreadStartHook.exchange(hook); }
AFX_PROCESS_HOOK AfxSetModulesChangedHook(AFX_PROCESS_HOOK hook) { return theModulesChangedHook.exchange(hook); }
void AfxThreadStarted() { Call(theThreadStartHook); }
void AfxModulesChanged() { Call(theModulesChangedHook); }
