// Lets a test own the clock of window timers. While a hook is set, SetTimer
// and KillTimer keep their bookkeeping but no timer runs: the hook hears each
// start with its interval, and the test sends WM_TIMER itself, so a slow run
// cannot slip ticks in between the test's own steps.
#pragma once

#include "Platform/Types.h"

using TimerHook = void (*)(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse);

// Sets the hook (null: timers run) and answers the previous one.
TimerHook AfxSetTimerHook(TimerHook hook);
