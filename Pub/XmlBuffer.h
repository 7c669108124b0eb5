// CXmlBuffer: a byte sequence that grows in 4096-byte blocks, with a read
// cursor. Invariants: count <= capacity; capacity is 4096 for the block
// inside the object plus 4096 per added block; byte i >= 4096 lives in added
// block i / 4096 - 1 at i % 4096. Clear keeps the blocks for reuse.
#pragma once

#include "Platform/Types.h"

#include <memory>
#include <vector>

class CXmlBuffer {
public:
    static constexpr int BlockSize = 4096;

    CXmlBuffer() = default;
    CXmlBuffer(const CXmlBuffer&) = delete;
    CXmlBuffer& operator=(const CXmlBuffer&) = delete;

    // Appends a byte; FALSE when no block can be added.
    BOOL Push(char byte);
    // The byte at index; FALSE at or past count.
    BOOL GetAt(int index, char& out) const;
    // The byte at the cursor; the cursor advances also when this fails.
    BOOL Next(char& out);
    // Moves the cursor; only positions below capacity are accepted.
    BOOL SetCursor(int index);
    int GetCursor() const { return m_cursor; }
    int Count() const { return m_count; }
    void Clear() { m_count = 0; m_cursor = 0; }
    // Drops bytes from the end.
    void Truncate(int count);

    // From the cursor: skips blanks and tabs (and "=" when delimiters hold
    // it), then copies bytes into out until a delimiter (consumed and
    // reported in stop), size - 1 bytes, or the end. Returns the bytes copied.
    int ReadToken(char* out, int size, const char* delimiters, char* stop);

private:
    char* Slot(int index);
    const char* Slot(int index) const;

    int m_count = 0;
    int m_capacity = BlockSize;
    int m_cursor = 0;
    char m_first[BlockSize];
    std::vector<std::unique_ptr<char[]>> m_blocks;
};
