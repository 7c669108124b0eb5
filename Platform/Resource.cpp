#include "Platform/Resource.h"

#include "Platform/CString.h"
#include "Platform/TextConv.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

// The program's own table, in ResourceStrings.cpp.
extern const ResourceString theProgramStrings[];
extern const int theProgramStringCount;

namespace {

struct ProgramModuleTag {};
ProgramModuleTag theProgramModule;

HINSTANCE theResourceLibrary = nullptr;

typedef std::vector<ResourceString> StringTable;

bool ById(const ResourceString& a, const ResourceString& b) { return a.id < b.id; }

StringTable Sorted(const ResourceString* entries, int count)
{
    StringTable table(entries, entries + std::max(count, 0));
    std::stable_sort(table.begin(), table.end(), ById);
    return table;
}

std::map<HINSTANCE, StringTable>& Tables()
{
    static std::map<HINSTANCE, StringTable> tables{
        {AfxGetInstanceHandle(), Sorted(theProgramStrings, theProgramStringCount)}};
    return tables;
}

} // namespace

HINSTANCE AfxGetInstanceHandle()
{
    return reinterpret_cast<HINSTANCE>(&theProgramModule);
}

HINSTANCE AfxGetResourceHandle()
{
    return theResourceLibrary ? theResourceLibrary : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    theResourceLibrary = module == AfxGetInstanceHandle() ? nullptr : module;
}

int AfxGetResourceChain(HINSTANCE chain[2])
{
    int n = 0;
    if (theResourceLibrary)
        chain[n++] = theResourceLibrary;
    chain[n++] = AfxGetInstanceHandle();
    return n;
}

void AfxSetStringTable(HINSTANCE module, const ResourceString* entries, int count)
{
    if (!module)
        return;
    if (!entries || count <= 0)
        Tables().erase(module);
    else
        Tables()[module] = Sorted(entries, count);
}

const char* AfxModuleString(HINSTANCE module, UINT id)
{
    const auto found = Tables().find(module);
    if (found == Tables().end())
        return nullptr;
    const StringTable& table = found->second;
    const auto it = std::lower_bound(table.begin(), table.end(), ResourceString{id, nullptr}, ById);
    return it != table.end() && it->id == id ? it->text : nullptr;
}

HINSTANCE AfxFindResourceHandle(UINT id)
{
    HINSTANCE chain[2];
    const int n = AfxGetResourceChain(chain);
    for (int i = 0; i < n; ++i)
        if (AfxModuleString(chain[i], id))
            return chain[i];
    return nullptr;
}

const char* AfxFindResourceString(UINT id)
{
    const HINSTANCE module = AfxFindResourceHandle(id);
    return module ? AfxModuleString(module, id) : nullptr;
}

int LoadString(HINSTANCE module, UINT id, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    const char* text = AfxModuleString(module, id);
    if (!text)
        return 0;
    const int n = MbFitLength(text, size - 1);
    std::memcpy(buffer, text, size_t(n));
    buffer[n] = 0;
    return n;
}

CString LoadResString(UINT id)
{
    return CString(AfxFindResourceString(id));
}
