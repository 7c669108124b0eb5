// CrashWriter: the signal handler's output. Formats into a fixed buffer and
// hands it to write(2) when full and on Flush; it allocates nothing, takes
// no lock and uses no stdio, so it works whatever the interrupted code held.
// A failed write is remembered and later output is dropped.
#pragma once

#include <cstddef>
#include <cstdint>

// The digits of value in a local array; FormatHex and FormatDecimal return
// the start of the text within it.
struct CrashDigits {
    char text[24];
};
const char* FormatHex(CrashDigits& out, uint64_t value, int minDigits, bool upper);
const char* FormatDecimal(CrashDigits& out, uint64_t value);

// The number formats of both outputs, written through Out::Text.
template <class Out>
class CrashFormat {
public:
    // At least minDigits digits, all of the value's digits shown.
    Out& Hex(uint64_t value, int minDigits, bool upper)
    {
        CrashDigits d;
        return Self().Text(FormatHex(d, value, minDigits, upper));
    }
    Out& Decimal(uint64_t value)
    {
        CrashDigits d;
        return Self().Text(FormatDecimal(d, value));
    }

private:
    Out& Self() { return static_cast<Out&>(*this); }
};

class CrashWriter : public CrashFormat<CrashWriter> {
public:
    explicit CrashWriter(int fd) : m_fd(fd) {}
    ~CrashWriter() { Flush(); }
    CrashWriter(const CrashWriter&) = delete;
    CrashWriter& operator=(const CrashWriter&) = delete;

    CrashWriter& Text(const char* text);
    // The text with " & ' < > as XML entities: every attribute value.
    CrashWriter& Escaped(const char* text);
    using CrashFormat<CrashWriter>::Decimal;
    // Right-aligned in width characters, like "%3d".
    CrashWriter& Decimal(uint64_t value, int width);
    // With its sign always shown, like "%+ld".
    CrashWriter& Signed(int64_t value);

    void Flush();

private:
    void Put(char c);

    int m_fd;
    bool m_failed = false;
    size_t m_used = 0;
    char m_buffer[4096];
};

// Formats into a fixed array, for texts needed in one piece (the detail,
// the fatal-box text); what does not fit is cut.
class CrashText : public CrashFormat<CrashText> {
public:
    CrashText(char* buffer, size_t size) : m_buffer(buffer), m_size(size) { m_buffer[0] = 0; }
    CrashText& Text(const char* text);

private:
    char* m_buffer;
    size_t m_size;
    size_t m_used = 0;
};
