// The resource handle chain and the string table.
// A module is the program itself (AfxGetInstanceHandle) or a loaded resource
// library. Lookups search the chain: the resource library first when one is
// set, then the program. Each kind of resource keeps its own per-module
// tables; strings are kept here, other kinds walk the same chain through
// AfxGetResourceChain.
#pragma once

#include "Platform/Types.h"

class CString;

struct ResourceString {
    UINT id;
    const char* text;
};

// The program's own module; never null.
HINSTANCE AfxGetInstanceHandle();
// The preferred module: the resource library when one is set, else the program.
HINSTANCE AfxGetResourceHandle();
// Sets the resource library; null returns to the program's own resources.
void AfxSetResourceHandle(HINSTANCE module);
// The modules to search, most preferred first; returns how many (1 or 2).
int AfxGetResourceChain(HINSTANCE chain[2]);

// Gives a module its string table (entries in any order; the texts must
// outlive the registration). A null table removes it. The program's own
// table is built in and needs no registration.
void AfxSetStringTable(HINSTANCE module, const ResourceString* entries, int count);

// The text of entry id in module, or null when the module has none.
const char* AfxModuleString(HINSTANCE module, UINT id);
// The text of entry id from the first module of the chain that has it, or null.
const char* AfxFindResourceString(UINT id);
// The module of the chain that holds string id, or null.
HINSTANCE AfxFindResourceHandle(UINT id);

// Copies entry id of module into buffer (always terminated, cut at a
// character boundary when it does not fit); returns the bytes copied, 0 when
// the entry is missing.
int LoadString(HINSTANCE module, UINT id, char* buffer, int size);

// The entry id through the chain; the empty string when no module has it.
CString LoadResString(UINT id);
