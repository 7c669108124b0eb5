#include "Platform/CString.h"

#include "Platform/Resource.h"
#include "Platform/TextConv.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char kWhitespace[] = " \t\r\n\v\f";

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

const char* Safe(const char* text) { return text ? text : ""; }

} // namespace

CString::CString(const char* text) : m_data(Safe(text)) {}

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        m_data.assign(text, size_t(length));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0)
        m_data.assign(size_t(repeat), ch);
}

CString::CString(const WCHAR* text) : m_data(Utf16ToUtf8(text)) {}

CString& CString::operator=(const char* text)
{
    m_data = Safe(text);
    return *this;
}

CString& CString::operator=(char ch)
{
    m_data.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text)
{
    m_data += text.m_data;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    m_data += Safe(text);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_data += ch;
    return *this;
}

char CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        return 0;
    return m_data[size_t(index)];
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength())
        m_data[size_t(index)] = ch;
}

int CString::Compare(const char* text) const
{
    const int r = std::strcmp(m_data.c_str(), Safe(text));
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* text) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_data.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(Safe(text));
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(AsciiLower(char(*a)));
        const unsigned char cb = static_cast<unsigned char>(AsciiLower(char(*b)));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_data.c_str() + first, count);
}

CString CString::Left(int count) const
{
    return CString(m_data.c_str(), Clamp(count, 0, GetLength()));
}

CString CString::Right(int count) const
{
    count = Clamp(count, 0, GetLength());
    return CString(m_data.c_str() + GetLength() - count, count);
}

CString CString::SpanIncluding(const char* set) const
{
    return Left(int(std::strspn(m_data.c_str(), Safe(set))));
}

CString CString::SpanExcluding(const char* set) const
{
    return Left(int(std::strcspn(m_data.c_str(), Safe(set))));
}

CString& CString::MakeUpper()
{
    std::transform(m_data.begin(), m_data.end(), m_data.begin(), AsciiUpper);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(m_data.begin(), m_data.end(), m_data.begin(), AsciiLower);
    return *this;
}

CString& CString::MakeReverse()
{
    std::string out;
    out.reserve(m_data.size());
    std::vector<std::pair<int, int>> chars;
    for (int i = 0; i < GetLength();) {
        const int len = MbCharLengthAt(m_data.c_str() + i, GetLength() - i);
        chars.emplace_back(i, len ? len : 1);
        i += len ? len : 1;
    }
    for (auto it = chars.rbegin(); it != chars.rend(); ++it)
        out.append(m_data, size_t(it->first), size_t(it->second));
    m_data.swap(out);
    return *this;
}

int CString::Replace(char from, char to)
{
    int n = 0;
    for (char& c : m_data)
        if (c == from) {
            c = to;
            ++n;
        }
    return n;
}

int CString::Replace(const char* from, const char* to)
{
    const size_t fromLen = from ? std::strlen(from) : 0;
    if (fromLen == 0)
        return 0;
    const char* repl = Safe(to);
    std::string out;
    int n = 0;
    size_t pos = 0;
    for (size_t hit; (hit = m_data.find(from, pos, fromLen)) != std::string::npos; pos = hit + fromLen) {
        out.append(m_data, pos, hit - pos);
        out += repl;
        ++n;
    }
    if (n) {
        out.append(m_data, pos, std::string::npos);
        m_data.swap(out);
    }
    return n;
}

int CString::Remove(char ch)
{
    const size_t before = m_data.size();
    m_data.erase(std::remove(m_data.begin(), m_data.end(), ch), m_data.end());
    return int(before - m_data.size());
}

int CString::Insert(int index, char ch)
{
    m_data.insert(size_t(Clamp(index, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    m_data.insert(size_t(Clamp(index, 0, GetLength())), Safe(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        m_data.erase(size_t(index), size_t(std::min(count, GetLength() - index)));
    return GetLength();
}

CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }

CString& CString::TrimLeft(char ch)
{
    const char set[2] = {ch, 0};
    return TrimLeft(set);
}

CString& CString::TrimLeft(const char* set)
{
    m_data.erase(0, std::min(m_data.size(), m_data.find_first_not_of(Safe(set))));
    return *this;
}

CString& CString::TrimRight() { return TrimRight(kWhitespace); }

CString& CString::TrimRight(char ch)
{
    const char set[2] = {ch, 0};
    return TrimRight(set);
}

CString& CString::TrimRight(const char* set)
{
    const size_t last = m_data.find_last_not_of(Safe(set));
    m_data.erase(last == std::string::npos ? 0 : last + 1);
    return *this;
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t pos = m_data.find(ch, size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    const size_t pos = m_data.find(Safe(sub), size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::ReverseFind(char ch) const
{
    const size_t pos = m_data.rfind(ch);
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::FindOneOf(const char* set) const
{
    const size_t pos = m_data.find_first_of(Safe(set));
    return pos == std::string::npos ? -1 : int(pos);
}

CString CString::Tokenize(const char* delimiters, int& start) const
{
    if (start >= 0 && start < GetLength()) {
        const char* set = Safe(delimiters);
        const size_t from = m_data.find_first_not_of(set, size_t(start));
        if (from != std::string::npos) {
            size_t to = m_data.find_first_of(set, from);
            if (to == std::string::npos)
                to = m_data.size();
            start = int(to) + 1;
            return CString(m_data.c_str() + from, int(to - from));
        }
    }
    start = -1;
    return CString();
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, Safe(format), probe);
    va_end(probe);
    if (needed <= 0) {
        m_data.clear();
        return;
    }
    std::string out(size_t(needed), '\0');
    std::vsnprintf(&out[0], size_t(needed) + 1, Safe(format), args);
    m_data.swap(out);
}

void CString::AppendFormat(const char* format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    m_data += more.m_data;
}

BOOL CString::LoadString(UINT id)
{
    const char* text = AfxFindResourceString(id);
    if (!text)
        return FALSE;
    m_data = text;
    return TRUE;
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_data.resize(size_t(minLength));
    return &m_data[0];
}

char* CString::GetBufferSetLength(int length)
{
    m_data.resize(size_t(std::max(length, 0)));
    return &m_data[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = int(std::strlen(m_data.c_str()));
    m_data.resize(size_t(std::min(newLength, GetLength())));
}

std::u16string CString::ToUtf16() const
{
    return Utf8ToUtf16(m_data.c_str(), GetLength());
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

bool operator==(const CString& a, const CString& b) { return a.GetLength() == b.GetLength() && a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }
