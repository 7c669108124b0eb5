// The state of one script File object: a path and, while open, a standard
// I/O stream read and written as characters of one of three encodings.
//
// Text files hold one byte per character (U+0000..U+00FF; any other
// character is written as "?"), UTF-8 files decode well-formed sequences of
// up to four bytes into UTF-16 (surrogate pairs for U+10000 and above, U+FFFD
// for each malformed part, after which reading goes on), unicode files hold
// UTF-16 little-endian units. Bytes read ahead of the characters handed out
// (an unfinished sequence, the character after a carriage return) are kept in
// the object and count as not yet read: the position and a switch from
// reading to writing step back over them.
#pragma once

#include "Scripting/FileErrors.h"

#include <cstdio>
#include <string>

enum FileModeBits : unsigned {
    FileModeRead = 0x01,
    FileModeWrite = 0x02,
    FileModeReadWrite = 0x04, // both of the above
    FileModeAppend = 0x08,
    FileModeCreate = 0x10,
    FileModeReplace = 0x20,   // never set by a mode text
    FileModeTruncate = 0x40
};

enum class FileType { Text = 0, Utf8 = 1, Unicode = 2 };

struct FileMode {
    unsigned bits = 0;
    FileType type = FileType::Text;
};

class ScriptFile {
public:
    ScriptFile() = default;
    ~ScriptFile() { Close(); }
    ScriptFile(const ScriptFile&) = delete;
    ScriptFile& operator=(const ScriptFile&) = delete;

    // The mode of a mode text: the first of "r", "w", "a" it holds gives
    // reading, writing from empty or appending; "+" adds reading and
    // writing; "u" makes the file UTF-8, else "b" unicode, else text.
    static FileMode ParseMode(const std::string& text);
    // The standard I/O mode for the bits ("rb", "w+b", "ab", ...); empty
    // when they name no way to open.
    static std::string StdioMode(unsigned bits);

    const std::string& Path() const { return m_path; }
    void SetPath(const std::string& path) { m_path = path; }
    bool IsOpen() const { return m_stream != nullptr; }
    unsigned Mode() const { return m_mode; }
    FileType Type() const { return m_type; }
    bool HasRandomAccess() const { return m_type != FileType::Utf8; }
    bool HasAutoFlush() const { return m_autoFlush; }
    void SetAutoFlush(bool on) { m_autoFlush = on; }

    // Opens the stored path; a folder is refused with a warning.
    FileResult Open(const FileMode& mode);
    // Closes the stream and resets the object, path included.
    FileResult Close();

    // Closed: the path allows it; open: the mode does too.
    bool CanRead() const;
    bool CanWrite() const;

    // Up to count characters; false when none could be read.
    bool Read(int count, std::u16string& text);
    // The next line without its end (LF, CR LF or CR); false at the end.
    bool ReadLine(std::u16string& line);
    FileResult Write(const std::u16string& text);
    FileResult WriteLineEnd();
    void Flush();

    // The byte offset of the next character; -1 when unknown.
    long long Position() const;
    bool SetPosition(long long offset);
    // Moves by count characters of a text or unicode file.
    bool Seek(int count);

    // Copies the whole file, from its start, to dest in chunks; its own file
    // is refused.
    FileResult CopyTo(const std::string& dest);
    // Renames the closed file; an existing dest is kept.
    FileResult RenameTo(const std::string& dest);

private:
    int NextByte();
    void UnreadByte(unsigned char b);
    // A code point, or -1 at the end; counts the bytes it took.
    long ReadCodePoint(int& bytes);
    long DecodeUtf8(int lead, int& bytes);
    long DecodeUnicode(int& bytes);
    // Steps back over the bytes read ahead before the stream is written.
    void PrepareWrite();
    void PrepareRead();
    FileResult PutBytes(const std::string& bytes);

    std::string m_path;
    std::FILE* m_stream = nullptr;
    unsigned m_mode = 0;
    FileType m_type = FileType::Text;
    bool m_autoFlush = false;
    unsigned char m_pending[3] = {};
    int m_pendingCount = 0;
    long m_pushedBack = -1;    // a code point returned first by the next read
    int m_pushedBackBytes = 0;
    enum class LastOp { None, Read, Write } m_lastOp = LastOp::None;
};
