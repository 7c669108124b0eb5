// Writes what a memory context shows as a PNG file under the test output
// folder, so drawings can be looked at. Stored (uncompressed) deflate
// blocks keep the writer small; the files are only a few kilobytes.
#pragma once

#include "Platform/Dc.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace png_file {

inline unsigned Crc(const std::vector<unsigned char>& bytes, size_t from)
{
    unsigned crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void Be32(std::vector<unsigned char>& out, unsigned v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back((unsigned char)(v >> s));
}

inline void Chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    Be32(out, unsigned(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Be32(out, Crc(out, start));
}

} // namespace png_file

// The rectangle (0, 0, width, height) of dc as VEXAL_TEST_OUTPUT/name.
inline bool WritePng(CDC& dc, int width, int height, const std::string& name)
{
    using namespace png_file;
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            raw.insert(raw.end(), { GetRValue(c), GetGValue(c), GetBValue(c) });
        }
    }
    std::vector<unsigned char> z = { 0x78, 0x01 };
    unsigned a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n >= raw.size() ? 1 : 0);
        z.insert(z.end(), { (unsigned char)(n & 0xFF), (unsigned char)(n >> 8), (unsigned char)(~n & 0xFF),
                            (unsigned char)((~n >> 8) & 0xFF) });
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        if (raw.empty())
            break;
    }
    Be32(z, (b << 16) | a);
    std::vector<unsigned char> out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<unsigned char> header;
    Be32(header, unsigned(width));
    Be32(header, unsigned(height));
    header.insert(header.end(), { 8, 2, 0, 0, 0 });
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    std::FILE* f = std::fopen((std::string(VEXAL_TEST_OUTPUT) + "/" + name).c_str(), "wb");
    if (!f)
        return false;
    std::fwrite(out.data(), 1, out.size(), f);
    return std::fclose(f) == 0;
}
