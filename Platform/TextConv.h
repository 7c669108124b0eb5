// Conversions between the program's text encoding (UTF-8, standing for the
// system code page) and UTF-16, and the character tests the code page implies.
// Malformed UTF-8 (stray continuation bytes, overlong or truncated sequences,
// surrogates) decodes to U+FFFD one byte at a time, so decoding never stalls.
#pragma once

#include "Platform/Types.h"

#include <string>

// Bytes in the UTF-8 character that starts with byte lead: 1 for ASCII and for
// bytes that cannot start a sequence, else 2 to 4.
int MbCharLength(unsigned char lead);

// The length of the well-formed character at text (at most available bytes),
// or 1 for a byte that does not start one; 0 at the terminator.
int MbCharLengthAt(const char* text, int available);

// The bytes of the longest run of whole characters at the start of text that
// fits in room bytes: where a bounded copy cuts text without splitting a
// character.
int MbFitLength(const char* text, int room);

// True for a byte that starts a multi-byte character.
inline BOOL IsMbLeadByte(unsigned char b) { return b >= 0xC2 && b <= 0xF4; }

std::u16string Utf8ToUtf16(const char* text, int length = -1);
std::string Utf16ToUtf8(const WCHAR* text, int length = -1);

// Byte-wise comparison of two texts; UTF-8 byte order is code-point order.
int _mbscmp(const unsigned char* a, const unsigned char* b);
