#include "CrashReport/CrashWriter.h"

#include <cerrno>
#include <unistd.h>

const char* FormatHex(CrashDigits& out, uint64_t value, int minDigits, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char* end = out.text + sizeof out.text - 1;
    char* p = end;
    *p = 0;
    do {
        *--p = digits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (end - p < minDigits && p > out.text)
        *--p = '0';
    return p;
}

const char* FormatDecimal(CrashDigits& out, uint64_t value)
{
    char* p = out.text + sizeof out.text - 1;
    *p = 0;
    do {
        *--p = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return p;
}

void CrashWriter::Put(char c)
{
    if (m_used == sizeof m_buffer)
        Flush();
    m_buffer[m_used++] = c;
}

CrashWriter& CrashWriter::Text(const char* text)
{
    while (*text)
        Put(*text++);
    return *this;
}

CrashWriter& CrashWriter::Escaped(const char* text)
{
    for (; *text; ++text) {
        switch (*text) {
        case '"': Text("&quot;"); break;
        case '&': Text("&amp;"); break;
        case '\'': Text("&apos;"); break;
        case '<': Text("&lt;"); break;
        case '>': Text("&gt;"); break;
        default: Put(*text); break;
        }
    }
    return *this;
}

CrashWriter& CrashWriter::Decimal(uint64_t value, int width)
{
    CrashDigits d;
    const char* digits = FormatDecimal(d, value);
    for (int length = int(d.text + sizeof d.text - 1 - digits); length < width; ++length)
        Put(' ');
    return Text(digits);
}

CrashWriter& CrashWriter::Signed(int64_t value)
{
    Put(value < 0 ? '-' : '+');
    CrashDigits d;
    return Text(FormatDecimal(d, value < 0 ? 0 - uint64_t(value) : uint64_t(value)));
}

void CrashWriter::Flush()
{
    const char* p = m_buffer;
    size_t left = m_failed ? 0 : m_used;
    while (left > 0) {
        const ssize_t n = write(m_fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    m_used = 0;
}

CrashText& CrashText::Text(const char* text)
{
    while (*text && m_used + 1 < m_size)
        m_buffer[m_used++] = *text++;
    m_buffer[m_used] = 0;
    return *this;
}
