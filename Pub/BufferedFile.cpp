#include "Pub/BufferedFile.h"

#include <cstring>

CBufferedFile::~CBufferedFile()
{
    CBufferedFile::Close();
}

void CBufferedFile::SetFilePath(const char* path)
{
    CFile::SetFilePath(path);
}

void CBufferedFile::WritePending()
{
    if (m_pending > 0)
        CFile::Write(m_buffer, UINT(m_pending));
    m_pending = 0;
}

void CBufferedFile::Write(const void* data, UINT length)
{
    if (length == 0)
        return;
    if (!data) {
        m_writeError = TRUE;
        return;
    }
    if (length < UINT(BufferSize - m_pending)) {
        std::memcpy(m_buffer + m_pending, data, length);
        m_pending += int(length);
        return;
    }
    WritePending();
    CFile::Write(data, length);
}

void CBufferedFile::WriteString(const char* text)
{
    for (; text && *text; ++text) {
        if (m_pending == BufferSize)
            WritePending();
        m_buffer[m_pending++] = *text;
    }
}

void CBufferedFile::Close()
{
    if (IsOpen())
        WritePending();
    else if (m_pending > 0)
        m_writeError = TRUE;
    m_pending = 0;
    CFile::Close();
}
