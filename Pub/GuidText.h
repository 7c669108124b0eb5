// Identifier texts: 22 characters of six bits each from the alphabet
// "0"-"9", "A"-"Z", "a"-"z", "*", "+", made from 128 random bits.
// The last character carries the top two bits of the last byte ("0"-"3");
// element identifiers add 3 to it ("3"-"6"), symbol identifiers and the
// per-run name do not.
#pragma once

#include "Platform/Types.h"

const int GuidTextLength = 22;

// Inline: colour runs encode and decode seven of them per run, tens of
// thousands per keystroke in the text editor.
inline constexpr char kSixBitAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz*+";

// The character of the low six bits of value.
constexpr char SixBitToChar(int value)
{
    return kSixBitAlphabet[value & 0x3F];
}

// The value of an alphabet character; 63 for any character outside it.
constexpr int CharToSixBit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 36;
    return ch == '*' ? 62 : 63;
}

// Writes a fresh identifier text and its terminator; returns 1, or 0 when
// size is GuidTextLength or less (nothing written) or no random bits came.
int MakeGuidText(char* buffer, int size, BOOL elementFlag);
