// Byte-string helpers shared by every subsystem: bounded copies, character
// and token scanning, blank trimming and the hexadecimal number texts of the
// system's XML files.
// Texts are zero-terminated UTF-8; a missing (null) text counts as empty.
// No helper reads past a terminator or writes past the size it is given.
#pragma once

#include "Platform/Types.h"

// True when the low bytes of a and b are both zero or both non-zero.
BOOL BoolEqual(int a, int b);

// Copies src into dst (size bytes) and always terminates it; a text that does
// not fit is cut at a character boundary. Nothing is written when size < 1.
char* SafeStrCopy(char* dst, const char* src, int size);
int SafeStrLen(const char* text);

// Copies the character starting at byte pos into out and terminates it;
// returns its length in bytes, 0 at or past the terminator. A character is up
// to four bytes, so out needs MbCharBufferSize bytes, not the three a
// double-byte code page would.
const int MbCharBufferSize = 5;
int CopyMbChar(const char* text, char* out, int pos);

// Index of the first ch at or after start, -1 when the terminator comes
// first (or start lies outside the text); ch 0 finds the terminator.
int FindCharFrom(const char* text, int start, char ch);

// Reads the token at pos: skips delimiters, then copies up to the next
// delimiter or the terminator (at most size - 1 bytes kept). Returns the
// position of the character that ended the token, or 0 (with out empty)
// when text is empty or pos is at or past its terminator.
int NextToken(const char* text, int pos, char* out, int size, const char* delimiters);

// Removes leading and trailing blanks and tabs in place.
void TrimBlanks(char* text);

// Optional "-", then hexadecimal digits in either case up to the first other
// character; no digits give 0.
int ParseHex(const char* text);

// Upper-case hexadecimal without prefix or leading zeros; "-" and the
// magnitude for a negative value. At most size - 1 characters are written
// (digits that do not fit are dropped from the end); returns the count.
// HexTextSize holds any value whole.
int FormatHex(int value, char* out, int size);
const int HexTextSize = 10;
