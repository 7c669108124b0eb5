#include "App/ModulePath.h"

#include <cstring>

void ModuleDirFromPath(const char* path, char* buffer, int size)
{
    if (size <= 0)
        return;
    std::memset(buffer, 0, size_t(size));
    std::strncpy(buffer, path ? path : "", size_t(size - 1));
    for (int i = size - 1; i >= 0; --i) {
        if (buffer[i] == '/' || buffer[i] == '\\')
            return;
        buffer[i] = 0;
    }
}
