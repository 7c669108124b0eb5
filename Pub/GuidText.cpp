#include "Pub/GuidText.h"

#include "Platform/Guid.h"

#include <cstring>

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
