// Shared libraries, and resource libraries among them. A name ending in
// ".dll" stands for the shared object of the same name ending in ".so";
// a bare name is looked for in the program folder first. A library that
// exports VEXAL_RESOURCE_ENTRY_POINT is a resource library: its string
// table and resources become those of its module while it is loaded.
#pragma once

#include "Platform/Resource.h"
#include "Platform/ResourceTable.h"

typedef void (*FARPROC)();

struct VEXAL_RESOURCE_LIBRARY {
    DWORD version;  // VEXAL_RESOURCE_VERSION
    const ResourceString* strings;
    int stringCount;
    const RESOURCE_ENTRY* resources;
    int resourceCount;
};
#define VEXAL_RESOURCE_VERSION 1
#define VEXAL_RESOURCE_ENTRY_POINT "VexalResourceLibrary"
typedef const VEXAL_RESOURCE_LIBRARY* (*VEXAL_RESOURCE_PROC)();

// Null when the library cannot be loaded.
HMODULE LoadLibrary(LPCTSTR lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// Unloading the current resource module returns the chain to the program.
BOOL FreeLibrary(HMODULE hModule);
