// The shared staging area for the texts of one record being built.
// Invariants: count <= MaxTexts; the staged texts lie back to back from the
// start of the area, each with its terminator, and lengths[i] is the size of
// text i (its length plus one); their sum stays below Capacity. One user owns
// the pool from its first write to its Reset; texts live until that Reset.
#pragma once

#include "Platform/Types.h"

class CTextPool {
public:
    static constexpr int Capacity = 32768;
    static constexpr int MaxTexts = 16;

    CTextPool() { Reset(); }
    void Reset();

    // Copies text into the pool and returns the copy, or null when a 17th
    // text or a text that does not fit is offered (the pool is unchanged).
    const char* Stage(const char* text);
    int Count() const { return m_count; }
    int Used() const;

    // Building one text at the fill position (after the staged texts).
    // Append is FALSE, and keeps what was built, when the bytes do not fit.
    BOOL Append(const char* bytes, int length);
    BOOL Append(const char* text);
    // The text built so far, terminated.
    const char* Built();
    int BuiltLength() const { return m_fill - Used(); }

private:
    int m_count;
    int m_fill;
    char m_text[Capacity];
    UINT m_lengths[MaxTexts];
};

extern CTextPool TextPool;
