// Bitmap resources of the program and of the resource library.
#include "Platform/ResourceBitmaps.h"
#include "Platform/GdiData.h"
#include "Platform/ProgramResources.h"
#include "Platform/Resource.h"
#include "Platform/SysColors.h"

#include <cstring>
#include <map>

namespace {

std::map<HINSTANCE, std::map<UINT, ResourceBitmap>>& Tables()
{
    static std::map<HINSTANCE, std::map<UINT, ResourceBitmap>> tables;
    return tables;
}

// The program's bitmaps stand in its resource table with its other
// resources, unless a table of its own was given.
const ResourceBitmap* ProgramBitmap(UINT id)
{
    static std::map<UINT, ResourceBitmap> found;
    int count = 0;
    const RESOURCE_ENTRY* entries = ProgramResources(&count);
    for (int i = 0; i < count; ++i)
        if (entries[i].type == RESOURCE_ID(RT_BITMAP) && entries[i].id == id)
            return &(found[id] = ResourceBitmap{id, static_cast<const BYTE*>(entries[i].data), entries[i].size});
    return nullptr;
}

const ResourceBitmap* Find(HINSTANCE module, UINT id)
{
    auto table = Tables().find(module);
    if (table == Tables().end())
        return module && module == AfxGetInstanceHandle() ? ProgramBitmap(id) : nullptr;
    auto entry = table->second.find(id);
    return entry == table->second.end() ? nullptr : &entry->second;
}

DWORD Read32(const BYTE* p) { return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24; }
WORD Read16(const BYTE* p) { return WORD(p[0] | p[1] << 8); }

} // namespace

void AfxSetBitmapTable(HINSTANCE module, const ResourceBitmap* entries, int count)
{
    if (!entries) {
        Tables().erase(module);
        return;
    }
    auto& table = Tables()[module];
    table.clear();
    for (int i = 0; i < count; ++i)
        table[entries[i].id] = entries[i];
}

HINSTANCE AfxFindBitmapHandle(UINT id)
{
    HINSTANCE chain[2];
    const int n = AfxGetResourceChain(chain);
    for (int i = 0; i < n; ++i)
        if (Find(chain[i], id))
            return chain[i];
    return nullptr;
}

BOOL GetResourceBitmapHeader(HINSTANCE module, UINT id, BITMAPINFOHEADER* header)
{
    const ResourceBitmap* bitmap = Find(module, id);
    if (!bitmap || !header || bitmap->size < 14 + 12)
        return FALSE;
    const BYTE* p = bitmap->data + 14;
    std::memset(header, 0, sizeof *header);
    header->biSize = Read32(p);
    if (header->biSize == 12) {
        header->biWidth = Read16(p + 4);
        header->biHeight = Read16(p + 6);
        header->biPlanes = Read16(p + 8);
        header->biBitCount = Read16(p + 10);
        return TRUE;
    }
    if (header->biSize < 40 || bitmap->size < 14 + 40)
        return FALSE;
    header->biWidth = LONG(Read32(p + 4));
    header->biHeight = LONG(Read32(p + 8));
    header->biPlanes = Read16(p + 12);
    header->biBitCount = Read16(p + 14);
    header->biCompression = Read32(p + 16);
    header->biSizeImage = Read32(p + 20);
    header->biXPelsPerMeter = LONG(Read32(p + 24));
    header->biYPelsPerMeter = LONG(Read32(p + 28));
    header->biClrUsed = Read32(p + 32);
    header->biClrImportant = Read32(p + 36);
    return TRUE;
}

HBITMAP LoadBitmap(HINSTANCE module, UINT id)
{
    const ResourceBitmap* resource = Find(module, id);
    CBitmap bitmap;
    if (!resource || !bitmap.LoadFromMemory(resource->data, resource->size))
        return nullptr;
    return static_cast<HBITMAP>(bitmap.Detach());
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    HINSTANCE module = AfxFindBitmapHandle(id);
    return module && Attach(::LoadBitmap(module, id));
}

HBITMAP AfxLoadSysColorBitmap(HINSTANCE module, UINT id)
{
    BITMAPINFOHEADER header;
    if (!GetResourceBitmapHeader(module, id, &header) || header.biBitCount > 8)
        return nullptr;
    HBITMAP handle = LoadBitmap(module, id);
    BitmapRecord* bitmap = BitmapFromHandle(handle);
    if (!bitmap)
        return nullptr;
    const struct {
        QRgb from;
        int to;
    } map[] = {{0x000000, COLOR_BTNTEXT}, {0x808080, COLOR_BTNSHADOW}, {0xC0C0C0, COLOR_BTNFACE},
               {0xFFFFFF, COLOR_BTNHIGHLIGHT}};
    bitmap->mono = false;
    QImage& image = bitmap->image;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (const auto& m : map)
                if ((row[x] & 0xFFFFFF) == m.from) {
                    row[x] = RgbFromColorRef(GetSysColor(m.to));
                    break;
                }
    }
    return handle;
}
