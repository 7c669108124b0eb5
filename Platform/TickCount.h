// The milliseconds since an arbitrary start, from a monotonic clock; a test
// may put a clock of its own in its place.
#pragma once

#include "Platform/Types.h"

DWORD GetTickCount();
// Null restores the system clock.
void SetTickCountSource(DWORD (*source)());
