#include "Pub/ModuleDir.h"

#include <climits>
#include <cstring>
#include <unistd.h>

char theModuleDir[ModuleDirSize];

int InitModuleDir()
{
    theModuleDir[0] = 0;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return 0;
    exe[n] = 0;
    char* slash = std::strrchr(exe, '/');
    if (!slash || slash - exe + 2 > ModuleDirSize)
        return 0;
    slash[1] = 0;
    std::memcpy(theModuleDir, exe, size_t(slash - exe) + 2);
    return 1;
}
