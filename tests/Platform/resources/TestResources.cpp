// A resource library as a translation of the program would ship it: its
// own string table and a menu 128 whose first popup reads "&Datei"; and,
// for the menu images, toolbar 300 (Copy, a separator, Cut, Paste) with its
// 16-colour bitmap 300 and a 256-colour bitmap 301.
#include "Platform/Library.h"

#include <vector>

namespace {

const ResourceString kStrings[] = {
    { 61557, "Kein Projekt ist offen" },
};

// Version and header words, then one popup holding one item, both last of
// their levels: "&Datei" { "Neu" 57600 }.
const WORD kMenu[] = { 0,   0,   0x0090, '&', 'D', 'a', 't', 'e', 'i', 0,
                       0x0080, 57600, 'N', 'e', 'u', 0 };

// A 1 by 1 white 24-bit BMP file as bitmap 164.
const BYTE kBitmap[] = { 'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                         0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 255, 255, 255, 0 };

void Put(std::vector<BYTE>& b, DWORD v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

// A bottom-up BMP file with a colour table of 2^bits entries; pixel(x, y)
// gives the palette index of each pixel, top row first.
template <class Pixel>
std::vector<BYTE> Bmp(int width, int height, int bits, const std::vector<DWORD>& palette, Pixel pixel)
{
    const int colours = 1 << bits;
    const int stride = ((width * bits + 31) / 32) * 4;
    const DWORD offset = 14 + 40 + DWORD(colours) * 4;
    std::vector<BYTE> b;
    b.push_back('B');
    b.push_back('M');
    Put(b, offset + DWORD(stride * height), 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    Put(b, 40, 4);
    Put(b, DWORD(width), 4);
    Put(b, DWORD(height), 4);
    Put(b, 1, 2);
    Put(b, DWORD(bits), 2);
    for (int i = 0; i < 6; ++i)
        Put(b, 0, 4);
    for (int i = 0; i < colours; ++i) {
        const DWORD rgb = i < int(palette.size()) ? palette[size_t(i)] : 0;
        Put(b, ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF), 4);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<BYTE> row(size_t(stride), 0);
        for (int x = 0; x < width; ++x) {
            const int v = pixel(x, y);
            if (bits == 8)
                row[size_t(x)] = BYTE(v);
            else
                row[size_t(x / 2)] |= BYTE(x % 2 ? v : v << 4);
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// RGB values; index 7 is light grey, 8 dark grey, 0 black, 15 white.
const std::vector<DWORD> kVga = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                  0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };

struct Library {
    std::vector<BYTE> strip = Bmp(48, 16, 4, kVga, [](int x, int y) {
        const int inX = x % 16;
        if (inX < 3 || inX > 12 || y < 3 || y > 12)
            return 7;                              // light grey around
        if (inX == 3 || y == 3)
            return 0;                              // black edge
        return x < 16 ? 9 : x < 32 ? 10 : 12;      // red, green, blue
    });
    std::vector<BYTE> rich = Bmp(16, 16, 8, kVga, [](int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12 ? 12 : 7; });
    std::vector<BYTE> toolbar;
    std::vector<RESOURCE_ENTRY> resources;
    VEXAL_RESOURCE_LIBRARY library{};

    Library()
    {
        // Version 1, 16 by 16 buttons, four of them.
        for (DWORD word : { 1, 16, 16, 4, 57634, 0, 57635, 57637 })
            Put(toolbar, word, 2);
        resources = { { 4, 128, kMenu, sizeof kMenu },
                      { 2, 164, kBitmap, sizeof kBitmap },
                      { 2, 300, strip.data(), DWORD(strip.size()) },
                      { 2, 301, rich.data(), DWORD(rich.size()) },
                      { 241, 300, toolbar.data(), DWORD(toolbar.size()) } };
        library = { VEXAL_RESOURCE_VERSION, kStrings, 1, resources.data(), int(resources.size()) };
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) const VEXAL_RESOURCE_LIBRARY* VexalResourceLibrary()
{
    static Library library;
    return &library.library;
}
