#include "Pub/OsVersion.h"

int ClassifyOsVersion(bool line9x, int major, int minor)
{
    if (line9x) {
        if (major < 4)
            return 0;
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5)
        return minor == 0 ? 6 : (minor == 1 ? 7 : 8);
    return 1;
}

int GetOsVersionClass()
{
    return ClassifyOsVersion(false, 10, 0);
}
