#include "Pub/XmlBuffer.h"

#include <cstring>
#include <new>

char* CXmlBuffer::Slot(int index)
{
    return index < BlockSize ? &m_first[index] : &m_blocks[size_t(index / BlockSize - 1)][index % BlockSize];
}

const char* CXmlBuffer::Slot(int index) const
{
    return const_cast<CXmlBuffer*>(this)->Slot(index);
}

BOOL CXmlBuffer::Push(char byte)
{
    if (m_count == m_capacity) {
        if (m_capacity > INT32_MAX - BlockSize)
            return FALSE;
        char* block = new (std::nothrow) char[BlockSize];
        if (!block)
            return FALSE;
        m_blocks.emplace_back(block);
        m_capacity += BlockSize;
    }
    *Slot(m_count++) = byte;
    return TRUE;
}

BOOL CXmlBuffer::GetAt(int index, char& out) const
{
    if (index < 0 || index >= m_count)
        return FALSE;
    out = *Slot(index);
    return TRUE;
}

BOOL CXmlBuffer::Next(char& out)
{
    return GetAt(m_cursor++, out);
}

BOOL CXmlBuffer::SetCursor(int index)
{
    if (index < 0 || index >= m_capacity)
        return FALSE;
    m_cursor = index;
    return TRUE;
}

void CXmlBuffer::Truncate(int count)
{
    if (count >= 0 && count < m_count)
        m_count = count;
}

int CXmlBuffer::ReadToken(char* out, int size, const char* delimiters, char* stop)
{
    if (stop)
        *stop = 0;
    const char* delims = delimiters ? delimiters : "";
    const bool skipEquals = std::strchr(delims, '=') != nullptr;
    char c;
    while (GetAt(m_cursor, c) && (c == ' ' || c == '\t' || (skipEquals && c == '=')))
        ++m_cursor;
    int n = 0;
    while (n < size - 1 && GetAt(m_cursor, c)) {
        ++m_cursor;
        if (c != 0 && std::strchr(delims, c)) {
            if (stop)
                *stop = c;
            break;
        }
        out[n++] = c;
    }
    if (size > 0)
        out[n] = 0;
    return n;
}
