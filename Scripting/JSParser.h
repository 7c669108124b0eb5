// The word reader behind the script class Parser: splits a source file into
// words, numbers, operators and line ends, and keeps the recent tokens in a
// ring that a script can look back into, roll back to or reserve.
//
// Invariants: every slot holds a zero-terminated text of at most
// MaxTokenBytes bytes; `current` and `reserved` (when not -1) are ring
// indices 0..RingSize-1, so no read writes outside the ring. A token never
// splits a well-formed UTF-8 sequence; a byte that starts none is a token of
// its own. Blanks (space, tab, NUL) and carriage returns never appear in a
// token, and every other byte of the file lands in exactly one token, in
// order.
#pragma once

#include "Platform/File.h"

#include <string>
#include <vector>

class JSParser {
public:
    enum { RingSize = 680, SlotSize = 96, MaxTokenBytes = SlotSize - 1, BufferSize = 65536,
           MaxAdditionalChars = 16 };

    JSParser();
    ~JSParser();
    JSParser(const JSParser&) = delete;
    JSParser& operator=(const JSParser&) = delete;

    // Closes the open file first; on success the reader starts afresh.
    bool OpenFile(const char* path);
    // True when a file was open.
    bool CloseFile();

    // The slot of the next token; null at the end of the file and when no
    // file is open.
    const char* ReadWord();

    // Both take ring indices only; false leaves the reader unchanged.
    bool Rollback(int index);
    bool Reserve(int index);

    // The slot's text; null outside the ring.
    const char* Word(int index) const;
    int CurrentIndex() const { return m_current; }
    static int NextIndex(int index) { return index + 1 == RingSize ? 0 : index + 1; }
    static int ForeIndex(int index) { return index - 1 < 0 ? RingSize - 1 : index - 1; }

    void SetFileTypes(const std::string& types) { m_fileTypes = types; }
    void AddOperator(const std::string& op) { m_operators.push_back(op); }
    // Keeps the first MaxAdditionalChars bytes.
    void SetAdditionalChars(const std::string& chars);

    // The name's extension, from its last "." on, occurs in the file types.
    bool IsValidFile(const std::string& name) const;
    bool IsOperator(const std::string& text) const;
    // The text's first character is a word character.
    bool IsWord(const std::string& text) const;
    static bool IsSameStr(const std::string& a, const std::string& b, bool matchCase);

private:
    // One character of the file: a single byte, or a whole well-formed
    // UTF-8 sequence; length 0 at the end of the file.
    struct Char {
        unsigned char bytes[4];
        int length;
        bool Is(char c) const { return length == 1 && bytes[0] == static_cast<unsigned char>(c); }
    };

    void Reset();
    int NextByte();
    void UnreadBytes(const unsigned char* bytes, int count);
    Char ReadChar();
    void PushBack(const Char& c);
    bool IsWordChar(const Char& c) const;
    static bool IsDigit(const Char& c) { return c.length == 1 && c.bytes[0] >= '0' && c.bytes[0] <= '9'; }
    static bool IsBlank(const Char& c);
    // Read alone, a byte of 0x80 or above starts no well-formed sequence.
    static bool IsBadByte(unsigned char b) { return b >= 0x80; }
    static bool Append(char* slot, int& length, const Char& c);
    void ReadOperator(char* slot, int& length);

    unsigned char m_buffer[BufferSize];
    char m_ring[RingSize][SlotSize];
    int m_current;
    int m_position;
    int m_filled;
    int m_reserved;
    // Bytes taken back from a sequence that turned out malformed, read
    // again before the buffer; last in, first out.
    unsigned char m_unread[3];
    int m_unreadCount;
    Char m_pushedBack; // length 0 = none
    std::string m_fileTypes;
    std::string m_additional;
    std::vector<std::string> m_operators;
    CFile m_file;
};
