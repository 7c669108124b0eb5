// Characters of the colour editor's lines: UTF-8 sequences walked whole, a
// byte that starts none counting as one character. Columns are byte offsets.
// No locale is consulted: a word byte is an ASCII letter or digit or any
// non-ASCII byte, so a word with accented letters stays one word.
#pragma once

#include "Platform/CString.h"
#include "Platform/TextConv.h"

// The length of the character at byte pos; 0 at or past the end.
inline int EditCharLength(const char* text, int length, int pos)
{
    return pos < length ? MbCharLengthAt(text + pos, length - pos) : 0;
}

inline int EditCharLength(const CString& line, int pos)
{
    return EditCharLength(line.GetString(), line.GetLength(), pos);
}

// The first boundary at or after column, at most the line's length.
int SnapColumn(const CString& line, int column);
// The boundary of the character that ends at or spans column - 1 (column > 0).
int PreviousBoundary(const CString& line, int column);

inline bool IsWordByte(unsigned char b)
{
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80;
}

inline bool IsBlankByte(unsigned char b)
{
    return b == ' ' || b == '\t';
}
