#include "Pub/TextPool.h"

#include <cstring>

CTextPool TextPool;

void CTextPool::Reset()
{
    m_count = 0;
    m_fill = 0;
    m_text[0] = 0;
}

int CTextPool::Used() const
{
    int used = 0;
    for (int i = 0; i < m_count; ++i)
        used += int(m_lengths[i]);
    return used;
}

const char* CTextPool::Stage(const char* text)
{
    const char* src = text ? text : "";
    const size_t n = std::strlen(src);
    const int used = Used();
    if (m_count >= MaxTexts || n >= size_t(Capacity - used - 1))
        return nullptr;
    char* copy = m_text + used;
    std::memcpy(copy, src, n + 1);
    m_lengths[m_count++] = UINT(n + 1);
    m_fill = used + int(n) + 1;
    return copy;
}

BOOL CTextPool::Append(const char* bytes, int length)
{
    if (m_fill < Used())
        m_fill = Used();
    if (length <= 0)
        return length == 0;
    if (!bytes || m_fill + length >= Capacity)
        return FALSE;
    std::memcpy(m_text + m_fill, bytes, size_t(length));
    m_fill += length;
    m_text[m_fill] = 0;
    return TRUE;
}

BOOL CTextPool::Append(const char* text)
{
    return Append(text, text ? int(std::strlen(text)) : 0);
}

const char* CTextPool::Built()
{
    const int start = Used();
    if (m_fill < start)
        m_fill = start;
    m_text[m_fill] = 0;
    return m_text + start;
}
