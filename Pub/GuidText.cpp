#include "Pub/GuidText.h"

#include "Platform/Guid.h"

#include <cstring>

namespace {
const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz*+";
}

char SixBitToChar(int value)
{
    return kAlphabet[value & 0x3F];
}

int CharToSixBit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 36;
    return ch == '*' ? 62 : 63;
}

int MakeGuidText(char* buffer, int size, BOOL elementFlag)
{
    if (!buffer || size <= GuidTextLength)
        return 0;
    GUID guid;
    if (CoCreateGuid(&guid) != S_OK)
        return 0;
    unsigned char b[16];
    std::memcpy(b, &guid, sizeof b);
    int n = 0;
    for (int k = 0; k < 5; ++k) {
        const uint32_t v = b[3 * k] | (uint32_t(b[3 * k + 1]) << 8) | (uint32_t(b[3 * k + 2]) << 16);
        for (int shift = 0; shift < 24; shift += 6)
            buffer[n++] = SixBitToChar(int(v >> shift));
    }
    buffer[n++] = SixBitToChar(b[15]);
    buffer[n++] = char(SixBitToChar(b[15] >> 6) + (elementFlag ? 3 : 0));
    buffer[n] = 0;
    return 1;
}
