// Well-formed UTF-8 sequences: no overlong forms, no surrogates, nothing
// above U+10FFFF.
#pragma once

// Whether b may stand at index (1..3) of a sequence led by lead.
inline bool Utf8Continues(unsigned char lead, int index, unsigned char b)
{
    unsigned char low = 0x80, high = 0xBF;
    if (index == 1) {
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        else if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    }
    return b >= low && b <= high;
}
