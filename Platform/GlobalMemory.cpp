#include "Platform/GlobalMemory.h"

#include <cstring>
#include <new>
#include <unordered_set>

namespace {

struct Block {
    BYTE* bytes;
    size_t size;
    int locks;
};

std::unordered_set<Block*>& Blocks()
{
    static std::unordered_set<Block*> blocks;
    return blocks;
}

Block* From(HGLOBAL h)
{
    auto* b = reinterpret_cast<Block*>(h);
    return b && Blocks().count(b) ? b : nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes)
{
    BYTE* bytes = new (std::nothrow) BYTE[dwBytes ? dwBytes : 1];
    if (!bytes)
        return nullptr;
    if (uFlags & GMEM_ZEROINIT)
        std::memset(bytes, 0, dwBytes);
    auto* b = new Block{ bytes, dwBytes, 0 };
    Blocks().insert(b);
    return reinterpret_cast<HGLOBAL>(b);
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    Block* b = From(hMem);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->bytes;
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    Block* b = From(hMem);
    if (!b || b->locks == 0)
        return FALSE;
    return --b->locks > 0;
}

size_t GlobalSize(HGLOBAL hMem)
{
    Block* b = From(hMem);
    return b ? b->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    Block* b = From(hMem);
    if (!b)
        return hMem;
    Blocks().erase(b);
    delete[] b->bytes;
    delete b;
    return nullptr;
}
