// Resources other than strings: each module (the program, or a loaded
// resource library) has a table of numbered resources of numbered types,
// holding their bytes in the classic layouts (menu templates, accelerator
// tables, dialog templates, bitmaps as BMP files). Lookups go along the
// resource chain of Platform/Resource.h: the resource library first, then
// the program.
#pragma once

#include "Platform/Resource.h"
#include "Platform/ResourceId.h"

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_TOOLBAR MAKEINTRESOURCE(241)

struct RESOURCE_ENTRY {
    WORD type;
    WORD id;
    const void* data;
    DWORD size;
};

struct HRSRC__;
typedef HRSRC__* HRSRC;

// Gives a module its table (the entries must outlive the registration);
// null removes it. The program's own table is built in.
void AfxSetResourceTable(HINSTANCE module, const RESOURCE_ENTRY* entries, int count);

// A resource of one module (null: the program); null when it has none.
// Names and types are numbers (MAKEINTRESOURCE).
HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
// The module of the chain that holds the resource, or null. Bitmaps are
// found in the bitmap tables (Platform/ResourceBitmaps.h).
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
