#include "Platform/Library.h"
#include "Platform/ProcessHooks.h"
#include "Platform/ResourceBitmaps.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// The bitmap entries of each loaded resource library, as the bitmap tables take them.
std::map<HMODULE, std::vector<ResourceBitmap>>& LibraryBitmaps()
{
    static std::map<HMODULE, std::vector<ResourceBitmap>> bitmaps;
    return bitmaps;
}

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return std::string();
    path[n] = 0;
    char* slash = std::strrchr(path, '/');
    return slash ? std::string(path, size_t(slash - path + 1)) : std::string();
}

std::string SharedObjectName(const char* name)
{
    std::string s = name;
    const size_t n = s.size();
    if (n > 4 && strcasecmp(s.c_str() + n - 4, ".dll") == 0)
        s.replace(n - 4, 4, ".so");
    return s;
}

} // namespace

HMODULE LoadLibrary(LPCTSTR lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName)
        return nullptr;
    const std::string name = SharedObjectName(lpLibFileName);
    void* handle = nullptr;
    if (name.find('/') == std::string::npos)
        handle = dlopen((ProgramFolder() + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    AfxModulesChanged();
    auto module = static_cast<HMODULE>(handle);
    if (auto entry = reinterpret_cast<VEXAL_RESOURCE_PROC>(dlsym(handle, VEXAL_RESOURCE_ENTRY_POINT))) {
        const VEXAL_RESOURCE_LIBRARY* library = entry();
        if (!library || library->version != VEXAL_RESOURCE_VERSION || library->stringCount < 0 ||
            library->resourceCount < 0) {
            dlclose(handle);
            return nullptr;
        }
        AfxSetStringTable(module, library->strings, library->stringCount);
        AfxSetResourceTable(module, library->resources, library->resourceCount);
        std::vector<ResourceBitmap>& bitmaps = LibraryBitmaps()[module];
        for (int i = 0; i < library->resourceCount; ++i) {
            const RESOURCE_ENTRY& e = library->resources[i];
            if (e.type == RESOURCE_ID(RT_BITMAP))
                bitmaps.push_back({ e.id, static_cast<const BYTE*>(e.data), e.size });
        }
        AfxSetBitmapTable(module, bitmaps.data(), int(bitmaps.size()));
    }
    return module;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    if (!hModule || !lpProcName)
        return nullptr;
    return reinterpret_cast<FARPROC>(dlsym(hModule, lpProcName));
}

BOOL FreeLibrary(HMODULE hModule)
{
    if (!hModule || hModule == AfxGetInstanceHandle())
        return FALSE;
    if (AfxGetResourceHandle() == hModule)
        AfxSetResourceHandle(nullptr);
    AfxSetStringTable(hModule, nullptr, 0);
    AfxSetResourceTable(hModule, nullptr, 0);
    AfxSetBitmapTable(hModule, nullptr, 0);
    LibraryBitmaps().erase(hModule);
    return dlclose(hModule) == 0;
}
