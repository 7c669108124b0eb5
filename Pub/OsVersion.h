// The class of the running system version that the owner-drawn menus use.
#pragma once

// 0 old 9x (major below 4), 2 other 9x, 3 version 4.10 of the 9x line,
// 4 version 4.90 of the 9x line, 5 NT 4, 6 NT 5.0, 7 NT 5.1, 8 other NT 5.x,
// 1 NT with any other major version.
int ClassifyOsVersion(bool line9x, int major, int minor);

// This platform reports itself as a modern NT-line system (class 1).
int GetOsVersionClass();
