#include "Scripting/ScriptFile.h"
#include "Scripting/Utf8Sequence.h"

#include "Platform/FileSystem.h"
#include "Platform/TextConv.h"

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr long kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendCodePoint(std::u16string& text, long cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        text += char16_t(0xD800 + (cp >> 10));
        text += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
        text += char16_t(cp);
    }
}

// The code point at text[i], a surrogate pair taken whole (i moves to its
// second unit); a lone surrogate gives -1.
long CodePointAt(const std::u16string& text, size_t& i)
{
    const char16_t u = text[i];
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        ++i;
        return 0x10000 + ((long(u) - 0xD800) << 10) + (text[i] - 0xDC00);
    }
    return IsHighSurrogate(u) || IsLowSurrogate(u) ? -1 : u;
}

void AppendUtf8(std::string& bytes, long cp)
{
    if (cp < 0x80) {
        bytes += char(cp);
    } else if (cp < 0x800) {
        bytes += char(0xC0 | (cp >> 6));
        bytes += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        bytes += char(0xE0 | (cp >> 12));
        bytes += char(0x80 | ((cp >> 6) & 0x3F));
        bytes += char(0x80 | (cp & 0x3F));
    } else {
        bytes += char(0xF0 | (cp >> 18));
        bytes += char(0x80 | ((cp >> 12) & 0x3F));
        bytes += char(0x80 | ((cp >> 6) & 0x3F));
        bytes += char(0x80 | (cp & 0x3F));
    }
}

std::string Encode(const std::u16string& text, FileType type)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (type == FileType::Unicode) {
            bytes += char(text[i] & 0xFF);
            bytes += char(text[i] >> 8);
            continue;
        }
        const long cp = CodePointAt(text, i);
        if (type == FileType::Text)
            bytes += cp >= 0 && cp <= 0xFF ? char(cp) : '?';
        else if (cp == 0x2028 || cp == 0x2029)
            bytes += '\n';
        else
            AppendUtf8(bytes, cp < 0 ? kReplacement : cp);
    }
    return bytes;
}

bool Accessible(const std::string& path, int mode)
{
    return !path.empty() && access(path.c_str(), mode) == 0;
}

} // namespace

FileMode ScriptFile::ParseMode(const std::string& text)
{
    FileMode mode;
    if (text.find('r') != std::string::npos)
        mode.bits = FileModeRead;
    else if (text.find('w') != std::string::npos)
        mode.bits = FileModeWrite | FileModeCreate | FileModeTruncate;
    else if (text.find('a') != std::string::npos)
        mode.bits = FileModeAppend | FileModeCreate;
    if (mode.bits && text.find('+') != std::string::npos)
        mode.bits |= FileModeRead | FileModeWrite;
    if ((mode.bits & FileModeRead) && (mode.bits & FileModeWrite))
        mode.bits |= FileModeReadWrite;
    if (text.find('u') != std::string::npos)
        mode.type = FileType::Utf8;
    else if (text.find('b') != std::string::npos)
        mode.type = FileType::Unicode;
    return mode;
}

std::string ScriptFile::StdioMode(unsigned bits)
{
    const bool reads = bits & (FileModeRead | FileModeReadWrite);
    const bool writes = bits & (FileModeWrite | FileModeReadWrite | FileModeAppend);
    if (bits & FileModeAppend)
        return reads ? "a+b" : "ab";
    if (bits & FileModeTruncate)
        return reads ? "w+b" : "wb";
    if (reads)
        return writes ? "r+b" : "rb";
    return std::string();
}

FileResult ScriptFile::Open(const FileMode& mode)
{
    if (m_stream)
        Close();
    struct stat st;
    if (!m_path.empty() && stat(m_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return FileResult::Warning(m_path + " seems to be a directory, there is no point in trying to open it, proceeding");
    const std::string stdioMode = StdioMode(mode.bits);
    if (m_path.empty() || stdioMode.empty())
        return FileResult::Error(FileErrOperation, "open", m_path);
    m_stream = std::fopen(m_path.c_str(), stdioMode.c_str());
    if (!m_stream)
        return FileResult::Error(FileErrOperation, "open", m_path);
    m_mode = mode.bits;
    m_type = mode.type;
    m_pendingCount = 0;
    m_pushedBack = -1;
    m_pushedBackBytes = 0;
    m_lastOp = LastOp::None;
    return FileResult::Success();
}

FileResult ScriptFile::Close()
{
    const bool failed = m_stream && std::fclose(m_stream) != 0;
    const std::string path = m_path;
    m_stream = nullptr;
    m_path.clear();
    m_mode = 0;
    m_type = FileType::Text;
    m_autoFlush = false;
    m_pendingCount = 0;
    m_pushedBack = -1;
    m_pushedBackBytes = 0;
    m_lastOp = LastOp::None;
    return failed ? FileResult::Error(FileErrOperation, "close", path) : FileResult::Success();
}

bool ScriptFile::CanRead() const
{
    if (m_stream && !(m_mode & (FileModeRead | FileModeReadWrite)))
        return false;
    return Accessible(m_path, R_OK);
}

bool ScriptFile::CanWrite() const
{
    if (m_stream && !(m_mode & (FileModeWrite | FileModeReadWrite | FileModeAppend)))
        return false;
    return Accessible(m_path, W_OK);
}

int ScriptFile::NextByte()
{
    if (m_pendingCount > 0) {
        const unsigned char b = m_pending[0];
        for (int i = 1; i < m_pendingCount; ++i)
            m_pending[i - 1] = m_pending[i];
        --m_pendingCount;
        return b;
    }
    return std::getc(m_stream);
}

void ScriptFile::UnreadByte(unsigned char b)
{
    for (int i = m_pendingCount; i > 0; --i)
        m_pending[i] = m_pending[i - 1];
    m_pending[0] = b;
    ++m_pendingCount;
}

long ScriptFile::DecodeUtf8(int lead, int& bytes)
{
    bytes = 1;
    if (lead < 0x80)
        return lead;
    const int need = MbCharLength(static_cast<unsigned char>(lead));
    if (need == 1)
        return kReplacement;
    long cp = lead & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
    for (int i = 1; i < need; ++i) {
        const int b = NextByte();
        if (b < 0)
            return kReplacement;
        if (!Utf8Continues(static_cast<unsigned char>(lead), i, static_cast<unsigned char>(b))) {
            UnreadByte(static_cast<unsigned char>(b));
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
        ++bytes;
    }
    return cp;
}

long ScriptFile::DecodeUnicode(int& bytes)
{
    const int lo = NextByte();
    if (lo < 0)
        return -1;
    const int hi = NextByte();
    bytes = 1;
    if (hi < 0)
        return kReplacement;
    bytes = 2;
    const char16_t unit = char16_t(lo | (hi << 8));
    if (!IsHighSurrogate(unit))
        return unit;
    const int lo2 = NextByte();
    if (lo2 < 0)
        return unit;
    const int hi2 = NextByte();
    if (hi2 < 0) {
        UnreadByte(static_cast<unsigned char>(lo2));
        return unit;
    }
    const char16_t second = char16_t(lo2 | (hi2 << 8));
    if (!IsLowSurrogate(second)) {
        UnreadByte(static_cast<unsigned char>(hi2));
        UnreadByte(static_cast<unsigned char>(lo2));
        return unit;
    }
    bytes = 4;
    return 0x10000 + ((long(unit) - 0xD800) << 10) + (second - 0xDC00);
}

long ScriptFile::ReadCodePoint(int& bytes)
{
    if (m_pushedBack >= 0) {
        const long cp = m_pushedBack;
        bytes = m_pushedBackBytes;
        m_pushedBack = -1;
        m_pushedBackBytes = 0;
        return cp;
    }
    PrepareRead();
    bytes = 0;
    if (m_type == FileType::Unicode)
        return DecodeUnicode(bytes);
    const int b = NextByte();
    if (b < 0)
        return -1;
    if (m_type == FileType::Utf8)
        return DecodeUtf8(b, bytes);
    bytes = 1;
    return b;
}

bool ScriptFile::Read(int count, std::u16string& text)
{
    text.clear();
    int bytes;
    for (int i = 0; i < count && m_stream; ++i) {
        const long cp = ReadCodePoint(bytes);
        if (cp < 0)
            break;
        AppendCodePoint(text, cp);
    }
    return !text.empty();
}

bool ScriptFile::ReadLine(std::u16string& line)
{
    line.clear();
    if (!m_stream)
        return false;
    int bytes;
    long cp = ReadCodePoint(bytes);
    if (cp < 0)
        return false;
    for (; cp >= 0; cp = ReadCodePoint(bytes)) {
        if (cp == '\n')
            break;
        if (cp == '\r') {
            const long next = ReadCodePoint(bytes);
            if (next >= 0 && next != '\n') {
                m_pushedBack = next;
                m_pushedBackBytes = bytes;
            }
            break;
        }
        AppendCodePoint(line, cp);
    }
    return true;
}

void ScriptFile::PrepareRead()
{
    if (m_lastOp == LastOp::Write)
        std::fflush(m_stream);
    m_lastOp = LastOp::Read;
}

void ScriptFile::PrepareWrite()
{
    if (m_lastOp == LastOp::Read) {
        const long ahead = m_pendingCount + (m_pushedBack >= 0 ? m_pushedBackBytes : 0);
        std::fseek(m_stream, -ahead, SEEK_CUR);
        m_pendingCount = 0;
        m_pushedBack = -1;
        m_pushedBackBytes = 0;
    }
    m_lastOp = LastOp::Write;
}

FileResult ScriptFile::PutBytes(const std::string& bytes)
{
    if (!m_stream)
        return FileResult::Error(FileErrWrite, m_path);
    PrepareWrite();
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_stream) != bytes.size())
        return FileResult::Error(FileErrWrite, m_path);
    return FileResult::Success();
}

FileResult ScriptFile::Write(const std::u16string& text)
{
    return PutBytes(Encode(text, m_type));
}

FileResult ScriptFile::WriteLineEnd()
{
    FileResult result = PutBytes(Encode(u"\n", m_type));
    if (result.Ok() && m_autoFlush && std::fflush(m_stream) != 0)
        result = FileResult::Error(FileErrWrite, m_path);
    return result;
}

void ScriptFile::Flush()
{
    if (m_stream)
        std::fflush(m_stream);
}

long long ScriptFile::Position() const
{
    if (!m_stream)
        return -1;
    const long offset = std::ftell(m_stream);
    if (offset < 0)
        return -1;
    return offset - m_pendingCount - (m_pushedBack >= 0 ? m_pushedBackBytes : 0);
}

bool ScriptFile::SetPosition(long long offset)
{
    if (!m_stream || offset < 0 || std::fseek(m_stream, long(offset), SEEK_SET) != 0)
        return false;
    m_pendingCount = 0;
    m_pushedBack = -1;
    m_pushedBackBytes = 0;
    m_lastOp = LastOp::None;
    return true;
}

bool ScriptFile::Seek(int count)
{
    const long long here = Position();
    return here >= 0 && SetPosition(here + (m_type == FileType::Unicode ? 2LL : 1LL) * count);
}

FileResult ScriptFile::CopyTo(const std::string& dest)
{
    struct stat from, to;
    if (m_path.empty() || stat(m_path.c_str(), &from) != 0)
        return FileResult::Error(FileErrStatus, m_path);
    if (stat(dest.c_str(), &to) == 0 && to.st_dev == from.st_dev && to.st_ino == from.st_ino)
        return FileResult::Error(FileErrCopyWrite, dest);
    Flush();
    std::FILE* in = std::fopen(m_path.c_str(), "rb");
    if (!in)
        return FileResult::Error(FileErrCopyRead, m_path);
    std::FILE* out = std::fopen(dest.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return FileResult::Error(FileErrOperation, "open", dest);
    }
    FileResult result;
    std::vector<char> chunk(65536);
    for (;;) {
        const size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n > 0 && std::fwrite(chunk.data(), 1, n, out) != n) {
            result = FileResult::Error(FileErrCopyWrite, dest);
            break;
        }
        if (n < chunk.size()) {
            if (std::ferror(in))
                result = FileResult::Error(FileErrCopyRead, m_path);
            break;
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0 && result.Ok())
        result = FileResult::Error(FileErrOperation, "close", dest);
    return result;
}

FileResult ScriptFile::RenameTo(const std::string& dest)
{
    if (m_stream)
        return FileResult::Error(FileErrMustBeClosed, "renameTo");
    if (m_path.empty())
        return FileResult::Error(FileErrMustBeOpen, "renameTo");
    if (!MoveFile(m_path.c_str(), dest.c_str()))
        return FileResult::Error(FileErrRename, m_path, dest);
    m_path = dest;
    return FileResult::Success();
}
