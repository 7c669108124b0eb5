// ModuleList: the loaded modules (the executable and its shared objects),
// read with dl_iterate_phdr into static storage so that the signal handler
// can look addresses up without allocating or locking.
//
// Two tables take turns: Refresh fills the one not in use and then makes it
// current with one atomic store, so a handler always sees a whole table.
// Refresh calls are serialised among themselves; Find is safe in a handler.
#pragma once

#include <cstddef>
#include <cstdint>

struct CrashModule {
    const char* path;  // the image path
    const char* name;  // its last component
    uintptr_t base;    // the load bias: an address less base is the file's own
    uintptr_t begin;   // the loaded range, end excluded
    uintptr_t end;
};

namespace ModuleList {

// The executable's own path, taken for the entry without a name.
void SetExecutablePath(const char* path);
// Reads the list anew; false when it found no module at all.
bool Refresh();
// The module that holds the address, or null.
const CrashModule* Find(uintptr_t address);

} // namespace ModuleList
