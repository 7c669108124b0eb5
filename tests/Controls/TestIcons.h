// Icons for tests: 16x16 24-bit BMPs, white (the transparent colour) with
// a coloured shape; command icons are written under the test output folder.
#pragma once

#include "Platform/Types.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

// The bytes of a 16x16 24-bit BMP with the colour of each pixel, top row first.
template <class Pixel>
std::vector<BYTE> IconBmp(Pixel pixel)
{
    std::vector<BYTE> b = { 'B', 'M' };
    auto put = [&](DWORD v, int n) {
        for (int i = 0; i < n; ++i)
            b.push_back(BYTE(v >> (8 * i)));
    };
    for (DWORD v : { DWORD(54 + 16 * 16 * 3), DWORD(0), DWORD(54), DWORD(40), DWORD(16), DWORD(16) })
        put(v, 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    for (int y = 15; y >= 0; --y) {
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = pixel(x, y);
            b.insert(b.end(), { GetBValue(c), GetGValue(c), GetRValue(c) });
        }
    }
    return b;
}

inline std::string WriteIcon(const char* name, COLORREF colour)
{
    const std::vector<BYTE> b =
        IconBmp([colour](int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12 ? colour : RGB(255, 255, 255); });
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    const std::string path = std::string(VEXAL_TEST_OUTPUT) + "/" + name;
    // Test programs run side by side and load the same icons: each writes
    // its own copy and renames it into place, so no reader sees a file
    // half written.
    const std::string own = path + "." + std::to_string(getpid());
    if (std::FILE* f = std::fopen(own.c_str(), "wb")) {
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
        std::error_code ignored;
        std::filesystem::rename(own, path, ignored);
    }
    return path;
}
