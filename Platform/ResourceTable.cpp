#include "Platform/ResourceTable.h"

#include "Platform/ProgramResources.h"
#include "Platform/ResourceBitmaps.h"

#include <map>
#include <vector>

namespace {

struct Table {
    const RESOURCE_ENTRY* entries = nullptr;
    int count = 0;
};

std::map<HINSTANCE, Table>& Tables()
{
    static std::map<HINSTANCE, Table> tables;
    return tables;
}

Table TableOf(HMODULE module)
{
    if (!module || module == AfxGetInstanceHandle()) {
        Table t;
        t.entries = ProgramResources(&t.count);
        return t;
    }
    auto it = Tables().find(module);
    return it == Tables().end() ? Table() : it->second;
}

} // namespace

void AfxSetResourceTable(HINSTANCE module, const RESOURCE_ENTRY* entries, int count)
{
    if (entries && count > 0)
        Tables()[module] = Table{ entries, count };
    else
        Tables().erase(module);
}

HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType)
{
    if (!IS_INTRESOURCE(lpName) || !IS_INTRESOURCE(lpType))
        return nullptr;
    const Table t = TableOf(hModule);
    for (int i = 0; i < t.count; ++i) {
        const RESOURCE_ENTRY& e = t.entries[i];
        if (e.type == RESOURCE_ID(lpType) && e.id == RESOURCE_ID(lpName))
            return reinterpret_cast<HRSRC>(const_cast<RESOURCE_ENTRY*>(&e));
    }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo) { return reinterpret_cast<HGLOBAL>(hResInfo); }

LPVOID LockResource(HGLOBAL hResData)
{
    const auto* e = reinterpret_cast<const RESOURCE_ENTRY*>(hResData);
    return e ? const_cast<void*>(e->data) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC hResInfo)
{
    const auto* e = reinterpret_cast<const RESOURCE_ENTRY*>(hResInfo);
    return e ? e->size : 0;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    // Bitmaps are kept in the bitmap tables of the drawing side.
    if (IS_INTRESOURCE(lpszType) && RESOURCE_ID(lpszType) == RESOURCE_ID(RT_BITMAP) && IS_INTRESOURCE(lpszName))
        return AfxFindBitmapHandle(RESOURCE_ID(lpszName));
    HINSTANCE chain[2];
    const int n = AfxGetResourceChain(chain);
    for (int i = 0; i < n; ++i) {
        if (FindResource(chain[i], lpszName, lpszType))
            return chain[i];
    }
    return nullptr;
}
