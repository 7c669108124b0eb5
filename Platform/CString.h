// CString: a value string of bytes, UTF-8 by convention.
// Invariants: the bytes are always followed by a terminator, so the string
// converts to a C string at any time; lengths and positions count bytes.
// Case operations (MakeUpper, CompareNoCase, ...) fold ASCII letters only and
// leave every byte of a multi-byte character as it is.
#pragma once

#include "Platform/Types.h"

#include <cstdarg>
#include <string>
#include <type_traits>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const char* text);
    CString(const char* text, int length);
    CString(char ch, int repeat = 1);
    // UTF-16 text, converted to UTF-8.
    explicit CString(const WCHAR* text);
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);
    CString& operator=(char ch);

    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    int GetLength() const { return int(m_data.size()); }
    BOOL IsEmpty() const { return m_data.empty(); }
    void Empty() { m_data.clear(); }

    char GetAt(int index) const;
    // A template so that any integer index beats the built-in subscript
    // reached through the conversion to const char*.
    template <typename I, typename = std::enable_if_t<std::is_integral_v<I>>>
    char operator[](I index) const { return GetAt(int(index)); }
    void SetAt(int index, char ch);

    operator const char*() const { return m_data.c_str(); }
    const char* GetString() const { return m_data.c_str(); }

    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    int Collate(const char* text) const { return Compare(text); }
    int CollateNoCase(const char* text) const { return CompareNoCase(text); }

    // Out-of-range positions and counts are clamped, never an error.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    CString& MakeUpper();
    CString& MakeLower();
    // Reverses the characters; a multi-byte character keeps its byte order.
    CString& MakeReverse();

    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // Without an argument these trim blanks, tabs, line breaks, vertical tabs and form feeds.
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);
    CString& Trim() { TrimRight(); return TrimLeft(); }

    // Searches give the byte index of the match, or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;
    // The next token after start that holds none of the delimiters; start
    // moves past it, or becomes -1 (with an empty result) when none is left.
    CString Tokenize(const char* delimiters, int& start) const;

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The string-table entry id through the resource chain; FALSE (and the
    // string unchanged) when no module has it.
    BOOL LoadString(UINT id);

    // Direct access: GetBuffer gives room for at least minLength bytes plus a
    // terminator; ReleaseBuffer(-1) takes the length up to the first zero byte.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void FreeExtra() { m_data.shrink_to_fit(); }

    // The text as UTF-16; invalid UTF-8 bytes become U+FFFD.
    std::u16string ToUtf16() const;

private:
    std::string m_data;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);
