#include "CrashReport/ModuleList.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <link.h>
#include <mutex>

namespace {

constexpr size_t MaxModules = 1024;
constexpr size_t PoolSize = 256 * 1024;

// A module past MaxModules or a path past the pool is left out: the lookup
// then names no module for its addresses.
struct Table {
    size_t count;
    CrashModule modules[MaxModules];
    size_t poolUsed;
    char pool[PoolSize];
};

Table theTables[2];
std::atomic<Table*> theCurrent{ nullptr };
std::mutex theRefreshLock;
char theExecutablePath[PATH_MAX];

const char* Keep(Table& t, const char* text)
{
    const size_t n = std::strlen(text) + 1;
    if (t.poolUsed + n > PoolSize)
        return nullptr;
    char* copy = t.pool + t.poolUsed;
    std::memcpy(copy, text, n);
    t.poolUsed += n;
    return copy;
}

int AddModule(dl_phdr_info* info, size_t, void* data)
{
    Table& t = *static_cast<Table*>(data);
    if (t.count == MaxModules)
        return 1;
    uintptr_t low = UINTPTR_MAX, high = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        low = ph.p_vaddr < low ? ph.p_vaddr : low;
        high = ph.p_vaddr + ph.p_memsz > high ? ph.p_vaddr + ph.p_memsz : high;
    }
    if (low >= high)
        return 0;
    const char* image = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : theExecutablePath;
    const char* path = Keep(t, image);
    if (!path)
        return 1;
    const char* slash = std::strrchr(path, '/');
    CrashModule& m = t.modules[t.count++];
    m.path = path;
    m.name = slash ? slash + 1 : path;
    m.base = info->dlpi_addr;
    m.begin = info->dlpi_addr + low;
    m.end = info->dlpi_addr + high;
    return 0;
}

} // namespace

void ModuleList::SetExecutablePath(const char* path)
{
    std::lock_guard<std::mutex> hold(theRefreshLock);
    std::strncpy(theExecutablePath, path, sizeof theExecutablePath - 1);
}

bool ModuleList::Refresh()
{
    std::lock_guard<std::mutex> hold(theRefreshLock);
    Table* next = theCurrent.load() == &theTables[0] ? &theTables[1] : &theTables[0];
    next->count = 0;
    next->poolUsed = 0;
    dl_iterate_phdr(AddModule, next);
    theCurrent.store(next);
    return next->count > 0;
}

const CrashModule* ModuleList::Find(uintptr_t address)
{
    const Table* t = theCurrent.load();
    if (!t)
        return nullptr;
    for (size_t i = 0; i < t->count; ++i) {
        if (address >= t->modules[i].begin && address < t->modules[i].end)
            return &t->modules[i];
    }
    return nullptr;
}
