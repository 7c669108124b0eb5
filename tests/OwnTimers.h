// While an OwnTimers lives, window timers keep their bookkeeping but none
// runs: the test sends every WM_TIMER itself, so a slow run cannot slip a
// tick in between its steps. Each start is kept, with its interval.
#pragma once

#include "Platform/TimerHook.h"

#include <utility>
#include <vector>

class OwnTimers {
public:
    OwnTimers() : previous_(AfxSetTimerHook(&Started)) { Starts().clear(); }
    ~OwnTimers() { AfxSetTimerHook(previous_); }
    OwnTimers(const OwnTimers&) = delete;
    OwnTimers& operator=(const OwnTimers&) = delete;

    // The intervals of the starts of timer id, in order; every timer's for 0.
    static std::vector<UINT> Intervals(UINT_PTR id = 0)
    {
        std::vector<UINT> intervals;
        for (const auto& start : Starts())
            if (id == 0 || start.first == id)
                intervals.push_back(start.second);
        return intervals;
    }
    static void Forget() { Starts().clear(); }

private:
    static std::vector<std::pair<UINT_PTR, UINT>>& Starts()
    {
        static std::vector<std::pair<UINT_PTR, UINT>> starts;
        return starts;
    }
    static void Started(HWND, UINT_PTR id, UINT elapse) { Starts().emplace_back(id, elapse); }

    TimerHook previous_;
};
