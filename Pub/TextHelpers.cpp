#include "Pub/TextHelpers.h"

#include "Platform/TextConv.h"

#include <cstring>

BOOL BoolEqual(int a, int b)
{
    return ((a & 0xFF) == 0) == ((b & 0xFF) == 0);
}

char* SafeStrCopy(char* dst, const char* src, int size)
{
    if (!dst || size < 1)
        return dst;
    const int n = MbFitLength(src, size - 1);
    if (n > 0)
        std::memmove(dst, src, size_t(n));
    dst[n] = 0;
    return dst;
}

int SafeStrLen(const char* text)
{
    return text ? int(std::strlen(text)) : 0;
}

int CopyMbChar(const char* text, char* out, int pos)
{
    if (!out)
        return 0;
    out[0] = 0;
    if (!text || pos < 0)
        return 0;
    const int len = int(std::strlen(text));
    if (pos >= len)
        return 0;
    const int n = MbCharLengthAt(text + pos, len - pos);
    std::memcpy(out, text + pos, size_t(n));
    out[n] = 0;
    return n;
}

int FindCharFrom(const char* text, int start, char ch)
{
    if (!text || start < 0)
        return -1;
    const int len = int(std::strlen(text));
    if (start > len)
        return -1;
    if (ch == 0)
        return len;
    const char* hit = static_cast<const char*>(std::memchr(text + start, ch, size_t(len - start)));
    return hit ? int(hit - text) : -1;
}

int NextToken(const char* text, int pos, char* out, int size, const char* delimiters)
{
    if (out && size > 0)
        out[0] = 0;
    if (!text || pos < 0 || pos >= int(std::strlen(text)))
        return 0;
    const char* delims = delimiters ? delimiters : "";
    auto isDelim = [delims](char c) { return c != 0 && std::strchr(delims, c) != nullptr; };
    while (isDelim(text[pos]))
        ++pos;
    int kept = 0;
    for (; text[pos] && !isDelim(text[pos]); ++pos)
        if (out && kept < size - 1)
            out[kept++] = text[pos];
    if (out && size > 0)
        out[kept] = 0;
    return pos;
}

void TrimBlanks(char* text)
{
    if (!text)
        return;
    const char* start = text;
    while (*start == ' ' || *start == '\t')
        ++start;
    size_t len = std::strlen(start);
    while (len > 0 && (start[len - 1] == ' ' || start[len - 1] == '\t'))
        --len;
    std::memmove(text, start, len);
    text[len] = 0;
}

int ParseHex(const char* text)
{
    if (!text)
        return 0;
    bool negative = false;
    if (*text == '-') {
        negative = true;
        ++text;
    }
    uint32_t value = 0;
    for (;; ++text) {
        const char c = *text;
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            break;
        value = (value << 4) | digit;
    }
    return int(negative ? 0u - value : value);
}

int FormatHex(int value, char* out, int size)
{
    if (!out || size < 1)
        return 0;
    int n = 0;
    uint32_t magnitude = uint32_t(value);
    if (value < 0) {
        magnitude = 0u - magnitude;
        if (n < size - 1)
            out[n++] = '-';
    }
    bool leading = true;
    for (int shift = 28; shift >= 0 && n < size - 1; shift -= 4) {
        const unsigned nibble = (magnitude >> shift) & 0xF;
        if (leading && nibble == 0 && shift > 0)
            continue;
        leading = false;
        out[n++] = "0123456789ABCDEF"[nibble];
    }
    out[n] = 0;
    return n;
}
