// A strip of square test images side by side: image i is filled with
// colours[i] and has a black pixel at its centre.
#pragma once

#include "Platform/Gdi.h"

#include <vector>

inline void MakeImageStrip(CBitmap& strip, int size, const std::vector<COLORREF>& colours)
{
    const int width = size * int(colours.size());
    std::vector<BYTE> bits(size_t(width) * size_t(size) * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < width; ++x) {
            const bool centre = x % size == size / 2 && y == size / 2;
            const COLORREF c = centre ? RGB(0, 0, 0) : colours[size_t(x / size)];
            BYTE* p = &bits[(size_t(y) * size_t(width) + size_t(x)) * 4];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            p[3] = 0xFF;
        }
    strip.CreateBitmap(width, size, 1, 32, bits.data());
}
