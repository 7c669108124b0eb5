#include "Scripting/JSParser.h"
#include "Scripting/Utf8Sequence.h"

#include "Platform/TextConv.h"

#include <cstring>

namespace {

bool IsAsciiLetter(unsigned char b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

unsigned char Lower(unsigned char b)
{
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

} // namespace

JSParser::JSParser()
{
    std::memset(m_ring, 0, sizeof m_ring);
    Reset();
}

JSParser::~JSParser() = default;

void JSParser::Reset()
{
    m_reserved = -1;
    m_current = 0;
    m_position = 0;
    m_filled = 0;
    m_unreadCount = 0;
    m_pushedBack.length = 0;
}

bool JSParser::OpenFile(const char* path)
{
    m_file.Abort();
    std::string native = path ? path : "";
    for (char& c : native)
        if (c == '\\')
            c = '/';
    if (!m_file.Open(native.c_str(), CFile::modeRead | CFile::typeBinary | CFile::shareDenyWrite))
        return false;
    Reset();
    return true;
}

bool JSParser::CloseFile()
{
    if (!m_file.IsOpen())
        return false;
    m_file.Abort();
    return true;
}

void JSParser::SetAdditionalChars(const std::string& chars)
{
    m_additional = chars.substr(0, MaxAdditionalChars);
}

int JSParser::NextByte()
{
    if (m_unreadCount > 0)
        return m_unread[--m_unreadCount];
    for (;;) {
        if (m_position == m_filled) {
            m_position = 0;
            m_filled = static_cast<int>(m_file.Read(m_buffer, BufferSize));
            if (m_filled == 0)
                return -1;
        }
        const unsigned char b = m_buffer[m_position++];
        if (b != '\r')
            return b;
    }
}

void JSParser::UnreadBytes(const unsigned char* bytes, int count)
{
    for (int i = count - 1; i >= 0; --i)
        m_unread[m_unreadCount++] = bytes[i];
}

JSParser::Char JSParser::ReadChar()
{
    Char c{};
    if (m_pushedBack.length) {
        c = m_pushedBack;
        m_pushedBack.length = 0;
        return c;
    }
    const int lead = NextByte();
    if (lead < 0)
        return c;
    c.bytes[0] = static_cast<unsigned char>(lead);
    c.length = 1;
    const int need = MbCharLength(c.bytes[0]);
    unsigned char taken[3];
    for (int i = 1; i < need; ++i) {
        const int b = NextByte();
        if (b < 0 || !Utf8Continues(c.bytes[0], i, static_cast<unsigned char>(b))) {
            // The lead byte stands alone; what followed it is read again.
            if (b >= 0)
                taken[i - 1] = static_cast<unsigned char>(b);
            UnreadBytes(taken, b >= 0 ? i : i - 1);
            return c;
        }
        taken[i - 1] = static_cast<unsigned char>(b);
    }
    std::memcpy(c.bytes + 1, taken, need - 1);
    c.length = need;
    return c;
}

void JSParser::PushBack(const Char& c)
{
    if (!IsBlank(c))
        m_pushedBack = c;
}

bool JSParser::IsBlank(const Char& c)
{
    return c.Is(' ') || c.Is('\t') || c.Is('\0');
}

bool JSParser::IsWordChar(const Char& c) const
{
    if (c.length > 1)
        return true;
    const unsigned char b = c.bytes[0];
    if (b == 0 || b >= 0x80)
        return false;
    return IsAsciiLetter(b) || m_additional.find(static_cast<char>(b)) != std::string::npos;
}

bool JSParser::Append(char* slot, int& length, const Char& c)
{
    if (length + c.length > MaxTokenBytes)
        return false;
    std::memcpy(slot + length, c.bytes, c.length);
    length += c.length;
    slot[length] = '\0';
    return true;
}

const char* JSParser::ReadWord()
{
    if (!m_file.IsOpen())
        return nullptr;
    if (m_reserved >= 0) {
        const int slot = m_reserved;
        m_reserved = -1;
        return m_ring[slot];
    }
    m_current = NextIndex(m_current);
    char* slot = m_ring[m_current];
    int length = 0;
    slot[0] = '\0';

    Char c;
    do
        c = ReadChar();
    while (c.length && IsBlank(c));
    if (!c.length)
        return nullptr;
    Append(slot, length, c);
    if (c.Is('\n'))
        return slot;

    if (IsWordChar(c) || IsDigit(c)) {
        const bool number = IsDigit(c);
        for (;;) {
            c = ReadChar();
            if (!c.length)
                break;
            const bool belongs = IsWordChar(c) || IsDigit(c) || (number && c.Is('.'));
            if (!belongs || !Append(slot, length, c)) {
                PushBack(c);
                break;
            }
        }
        return slot;
    }
    ReadOperator(slot, length);
    return slot;
}

// Grows the token while it stays an operator; the character that would make
// it none, or not fit the slot, starts the next token. A byte that starts no
// UTF-8 sequence joins no other character.
void JSParser::ReadOperator(char* slot, int& length)
{
    if (length == 1 && IsBadByte(static_cast<unsigned char>(slot[0])))
        return;
    while (IsOperator(std::string(slot, length))) {
        const Char c = ReadChar();
        if (!c.length || IsBlank(c))
            return;
        const std::string longer = std::string(slot, length) + std::string(reinterpret_cast<const char*>(c.bytes), c.length);
        if (c.Is('\n') || (c.length == 1 && IsBadByte(c.bytes[0])) || !IsOperator(longer) || !Append(slot, length, c)) {
            PushBack(c);
            return;
        }
    }
}

bool JSParser::Rollback(int index)
{
    if (index < 0 || index >= RingSize)
        return false;
    m_current = index;
    return true;
}

bool JSParser::Reserve(int index)
{
    if (index < 0 || index >= RingSize)
        return false;
    m_reserved = index;
    return true;
}

const char* JSParser::Word(int index) const
{
    return index >= 0 && index < RingSize ? m_ring[index] : nullptr;
}

bool JSParser::IsValidFile(const std::string& name) const
{
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && m_fileTypes.find(name.substr(dot)) != std::string::npos;
}

bool JSParser::IsOperator(const std::string& text) const
{
    for (const std::string& op : m_operators)
        if (op == text)
            return true;
    return false;
}

bool JSParser::IsWord(const std::string& text) const
{
    if (text.empty())
        return false;
    Char c{};
    const int need = MbCharLength(static_cast<unsigned char>(text[0]));
    c.length = 1;
    c.bytes[0] = static_cast<unsigned char>(text[0]);
    if (need > 1 && text.size() >= size_t(need)) {
        c.length = need;
        for (int i = 1; i < need; ++i)
            if (!Utf8Continues(c.bytes[0], i, static_cast<unsigned char>(text[i])))
                c.length = 1;
    }
    return IsWordChar(c);
}

bool JSParser::IsSameStr(const std::string& a, const std::string& b, bool matchCase)
{
    if (matchCase)
        return a == b;
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(static_cast<unsigned char>(a[i])) != Lower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
