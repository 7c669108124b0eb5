// Command icons for tests: 16x16 24-bit BMP files written under the test
// output folder, white (the transparent colour) with a coloured square.
#pragma once

#include "Platform/Types.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

inline std::string WriteIcon(const char* name, COLORREF colour)
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
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = x >= 4 && x < 12 && y >= 4 && y < 12 ? colour : RGB(255, 255, 255);
            b.insert(b.end(), { GetBValue(c), GetGValue(c), GetRValue(c) });
        }
    }
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    const std::string path = std::string(VEXAL_TEST_OUTPUT) + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(b.data(), 1, b.size(), f);
        std::fclose(f);
    }
    return path;
}
