// CBufferedFile: a write-only CFile that gathers small writes in a 64 KB
// buffer. Invariant: the file holds exactly the bytes written so far less
// the `pending` ones at the front of the buffer, so bytes reach the file in
// the order of the calls; a write that does not fit the buffer first writes
// the pending bytes, then itself directly.
#pragma once

#include "Platform/File.h"

class CBufferedFile : public CFile {
public:
    static constexpr int BufferSize = 65536;

    CBufferedFile() = default;
    // Writes what is still pending, so bytes are never lost to a missing Close.
    ~CBufferedFile() override;

    void SetFilePath(const char* path) override;
    void Write(const void* data, UINT length) override;
    void Close() override;
    virtual void WriteString(const char* text);

    int Pending() const { return m_pending; }

private:
    void WritePending();

    char m_buffer[BufferSize];
    int m_pending = 0;
};
