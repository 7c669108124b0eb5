#include "Platform/TickCount.h"

#include <chrono>

namespace {

DWORD (*tickSource)() = nullptr;

} // namespace

DWORD GetTickCount()
{
    if (tickSource)
        return tickSource();
    using namespace std::chrono;
    return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SetTickCountSource(DWORD (*source)()) { tickSource = source; }
