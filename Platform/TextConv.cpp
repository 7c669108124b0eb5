#include "Platform/TextConv.h"

#include <cstring>

namespace {

const char16_t kReplacement = 0xFFFD;

// Decodes one character at s (n bytes available); stores the code point in cp
// and returns the bytes used, or 0 when s does not start a valid sequence.
int DecodeOne(const unsigned char* s, int n, char32_t& cp)
{
    const unsigned char b = s[0];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    int len;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

} // namespace

int MbCharLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

int MbCharLengthAt(const char* text, int available)
{
    if (!text || available <= 0 || *text == 0)
        return 0;
    char32_t cp;
    const int len = DecodeOne(reinterpret_cast<const unsigned char*>(text), available, cp);
    return len ? len : 1;
}

int MbFitLength(const char* text, int room)
{
    const int len = text ? int(std::strlen(text)) : 0;
    int n = 0;
    while (n < len) {
        const int step = MbCharLengthAt(text + n, len - n);
        if (n + step > room)
            break;
        n += step;
    }
    return n;
}

std::u16string Utf8ToUtf16(const char* text, int length)
{
    std::u16string out;
    if (!text)
        return out;
    const int n = length < 0 ? int(std::strlen(text)) : length;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    out.reserve(n);
    for (int i = 0; i < n;) {
        char32_t cp;
        const int len = DecodeOne(s + i, n - i, cp);
        if (len == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(const WCHAR* text, int length)
{
    std::string out;
    if (!text)
        return out;
    int n = length;
    if (n < 0)
        for (n = 0; text[n]; ++n) {}
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

int _mbscmp(const unsigned char* a, const unsigned char* b)
{
    return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}
