#include "Pub/XmlFile.h"

#include "Platform/CString.h"
#include "Platform/File.h"
#include "Platform/TextConv.h"
#include "Pub/TextHelpers.h"

#include <climits>
#include <cstring>

namespace {

struct XmlEntity {
    char ch;
    const char* text;
};

// One table for both directions.
const XmlEntity XmlEntityTable[] = {
    {'&', "&amp;"},  {'"', "&quot;"},  {'\'', "&apos;"}, {'\r', "&#x0D;"},
    {'\n', "&#x0A;"}, {'\t', "&#x09;"}, {'<', "&lt;"},    {'>', "&gt;"},
};

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

const char* EntityOf(char ch)
{
    for (const XmlEntity& e : XmlEntityTable)
        if (e.ch == ch)
            return e.text;
    return nullptr;
}

// Appends the well-formed UTF-8 of bytes[0, n), each malformed byte as U+FFFD.
void AppendSanitized(std::string& out, const char* bytes, int n)
{
    for (int i = 0; i < n;) {
        const int step = MbCharLengthAt(bytes + i, n - i);
        if (step == 0) { // an embedded zero byte
            ++i;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (step == 1 && lead >= 0x80)
            out += "\xEF\xBF\xBD";
        else
            out.append(bytes + i, size_t(step));
        i += step;
    }
}

// Replaces each entity of the table, once, by its character.
std::string DecodeEntities(const std::string& in)
{
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        bool replaced = false;
        if (in[i] == '&') {
            for (const XmlEntity& e : XmlEntityTable) {
                const size_t len = std::strlen(e.text);
                if (in.compare(i, len, e.text) == 0) {
                    out += e.ch;
                    i += len;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += in[i++];
    }
    return out;
}

bool EqualNoCase(const char* a, const char* b)
{
    return CString(a).CompareNoCase(b) == 0;
}

} // namespace

CXmlFile::CXmlFile()
{
    m_name[0] = 0;
    m_lastStart[0] = 0;
    m_stack.reserve(10);
}

CXmlFile::~CXmlFile()
{
    Close();
}

void CXmlFile::Reset()
{
    m_kind = 0;
    m_attrState = 0;
    m_name[0] = 0;
    m_value.clear();
    m_pendingEnd = FALSE;
    m_inStartTag = FALSE;
    m_markup.Clear();
    m_stack.clear();
    m_lastStart[0] = 0;
    m_in = m_block;
    m_readPos = 0;
    m_blockBytes = 0;
    m_writePos = 0;
    m_insideTag = FALSE;
    m_writeFailed = FALSE;
}

BOOL CXmlFile::Open(const char* path, int mode)
{
    Close();
    if (mode != XML_READ && mode != XML_WRITE)
        return FALSE;
    Reset();
    std::unique_ptr<CFile> file(new CFile);
    const UINT flags = mode == XML_WRITE
        ? CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary
        : CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary;
    if (!file->Open(path, flags))
        return FALSE;
    m_file = std::move(file);
    m_mode = mode;
    if (mode == XML_READ && !ReadHeader()) {
        Close();
        return FALSE;
    }
    return TRUE;
}

BOOL CXmlFile::OpenBytes(std::string bytes)
{
    Close();
    if (bytes.size() > size_t(INT_MAX))
        return FALSE;
    Reset();
    m_bytes = std::move(bytes);
    m_in = m_bytes.data();
    m_blockBytes = int(m_bytes.size());
    m_mode = XML_READ;
    if (!ReadHeader()) {
        Close();
        return FALSE;
    }
    return TRUE;
}

void CXmlFile::Close()
{
    // A closed reader hands out nothing more, from memory or from a file.
    std::string().swap(m_bytes);
    m_in = m_block;
    m_readPos = m_blockBytes = 0;
    if (!m_file)
        return;
    if (m_mode == XML_WRITE) {
        Flush();
        m_file->Close();
        if (m_file->HasWriteError())
            m_writeFailed = TRUE;
    } else {
        m_file->Close();
    }
    m_file.reset();
}

BOOL CXmlFile::WriteFailed() const
{
    return m_writeFailed || (m_file && m_file->HasWriteError());
}

BOOL CXmlFile::ReadByte(char& out)
{
    if (m_readPos >= m_blockBytes) {
        if (!m_file || m_mode != XML_READ)
            return FALSE;
        m_in = m_block;
        m_blockBytes = int(m_file->Read(m_block, BlockSize));
        m_readPos = 0;
        if (m_blockBytes <= 0) {
            m_blockBytes = 0;
            return FALSE;
        }
    }
    out = m_in[m_readPos++];
    return TRUE;
}

int CXmlFile::ReadMarkup()
{
    m_markup.Clear();
    char c;
    while (ReadByte(c)) {
        if (c == '\r' || c == '\n')
            continue;
        if (c == '\t')
            c = ' ';
        if (c == '<') {
            if (m_insideTag)
                continue;
            m_insideTag = TRUE;
            if (m_markup.Count() > 0)
                return XML_TEXT;
            continue;
        }
        if (c == '>') {
            if (!m_insideTag)
                continue;
            m_insideTag = FALSE;
            return XML_START;
        }
        m_markup.Push(c);
    }
    m_markup.Clear();
    return XML_OTHER;
}

BOOL CXmlFile::ReadHeader()
{
    char c;
    if (ReadByte(c)) {
        if (static_cast<unsigned char>(c) == 0xEF) {
            char b, f;
            if (!ReadByte(b) || !ReadByte(f) || static_cast<unsigned char>(b) != 0xBB ||
                static_cast<unsigned char>(f) != 0xBF)
                return FALSE;
        } else {
            m_readPos = 0; // the first block is still loaded: start again at its first byte
        }
    }
    if (ReadMarkup() == XML_OTHER)
        return FALSE;
    const char* const expected[] = {"?xml", "version=\"1.0\"", "encoding=\"UTF-8\"?"};
    char token[64];
    for (const char* want : expected) {
        m_markup.ReadToken(token, sizeof token, " ", nullptr);
        if (!EqualNoCase(token, want))
            return FALSE;
    }
    m_markup.Clear();
    return TRUE;
}

void CXmlFile::SetValue(int first, int end)
{
    std::string raw;
    raw.reserve(size_t(end > first ? end - first : 0));
    char c;
    for (int i = first; i < end && m_markup.GetAt(i, c); ++i)
        raw += c;
    std::string clean;
    AppendSanitized(clean, raw.data(), int(raw.size()));
    m_value = DecodeEntities(clean);
}

BOOL CXmlFile::ReadNextNode()
{
    if (!Reading())
        return FALSE;
    if (m_pendingEnd || m_attrState == 3) {
        m_pendingEnd = FALSE;
        m_attrState = 2;
        m_inStartTag = FALSE;
        m_kind = XML_END;
        std::memcpy(m_name, m_lastStart, NameSize);
        m_value.clear();
        return TRUE;
    }
    const int scanned = ReadMarkup();
    m_inStartTag = FALSE;
    m_attrState = 2;
    m_name[0] = 0;
    m_value.clear();
    if (scanned == XML_OTHER)
        return FALSE;
    if (scanned == XML_TEXT) {
        m_kind = XML_TEXT;
        SetValue(0, m_markup.Count());
        return TRUE;
    }
    // A tag name keeps at most 63 bytes; an end tag's token has room for one
    // more, the byte its "/" took.
    constexpr int kTokenSize = 64;
    char token[kTokenSize + 1];
    if (m_markup.ReadToken(token, kTokenSize, " \t", nullptr) == 0)
        return FALSE;
    if (token[0] == '/') {
        const size_t length = std::strlen(token);
        char next;
        if (length == kTokenSize - 1 && m_markup.GetAt(m_markup.GetCursor(), next) && next != ' ' && next != '\t') {
            token[length] = next;
            token[length + 1] = 0;
        }
        m_kind = XML_END;
        SafeStrCopy(m_name, token[1] ? token + 1 : m_lastStart, NameSize);
        return TRUE;
    }
    if (token[0] == '!') {
        m_kind = token[1] == '-' && token[2] == '-' ? XML_COMMENT : XML_OTHER;
        return TRUE;
    }
    // A start tag whose last byte before blanks is "/" closes its element.
    // Dropping the "/" up front gives the end node whether or not the
    // attributes are read.
    char last;
    while (m_markup.GetAt(m_markup.Count() - 1, last) && last == ' ')
        m_markup.Truncate(m_markup.Count() - 1);
    if (m_markup.GetAt(m_markup.Count() - 1, last) && last == '/') {
        const size_t length = std::strlen(token);
        if (m_markup.GetCursor() >= m_markup.Count() && length > 0 && token[length - 1] == '/')
            token[length - 1] = 0;
        else
            m_markup.Truncate(m_markup.Count() - 1);
        m_pendingEnd = TRUE;
    }
    m_kind = XML_START;
    m_inStartTag = TRUE;
    m_attrState = 0;
    SafeStrCopy(m_name, token, NameSize);
    SafeStrCopy(m_lastStart, token, NameSize);
    return TRUE;
}

BOOL CXmlFile::NameIs(const char* name) const
{
    return EqualNoCase(m_name, name);
}

BOOL CXmlFile::ReadNextAttribute()
{
    if (!Reading() || !m_inStartTag || m_attrState == 3 || m_markup.Count() == 0)
        return FALSE;
    m_kind = XML_OTHER;
    m_name[0] = 0;
    m_value.clear();
    char stop = 0;
    char token[NameSize];
    const int length = m_markup.ReadToken(token, sizeof token, " \t=/", &stop);
    if (stop == '/') {
        // The element ends here; its end node comes once, from the next read.
        m_kind = XML_CLOSED;
        m_attrState = 3;
        m_pendingEnd = FALSE;
        return FALSE;
    }
    if (length == 0) {
        if (m_pendingEnd)
            m_kind = XML_CLOSED;
        m_attrState = 2;
        return FALSE;
    }
    std::memcpy(m_name, token, size_t(length) + 1);
    if (stop == '=') {
        char c;
        int pos = m_markup.GetCursor();
        while (m_markup.GetAt(pos, c) && c == ' ')
            ++pos;
        int first = pos;
        int end = pos;
        if (m_markup.GetAt(pos, c) && (c == '"' || c == '\'')) {
            const char quote = c;
            first = end = pos + 1;
            char d;
            while (m_markup.GetAt(end, d) && d != quote)
                ++end;
            pos = end + 1;
        } else {
            char d;
            while (m_markup.GetAt(end, d) && d != ' ')
                ++end;
            pos = end;
        }
        SetValue(first, end);
        m_markup.SetCursor(pos < m_markup.Count() ? pos : m_markup.Count());
    }
    m_attrState = 0;
    return TRUE;
}

void CXmlFile::Put(char byte)
{
    if (m_writePos == BlockSize)
        Flush();
    m_block[m_writePos++] = byte;
}

void CXmlFile::PutRaw(const char* text)
{
    for (; text && *text; ++text)
        Put(*text);
}

void CXmlFile::PutEncoded(const char* text)
{
    if (!text)
        return;
    std::string clean;
    AppendSanitized(clean, text, int(std::strlen(text)));
    for (char c : clean) {
        if (const char* entity = EntityOf(c))
            PutRaw(entity);
        else
            Put(c);
    }
}

void CXmlFile::Flush()
{
    if (!Writing() || m_writePos == 0)
        return;
    m_file->Write(m_block, UINT(m_writePos));
    m_writePos = 0;
}

void CXmlFile::WriteHeader()
{
    if (!Writing())
        return;
    PutRaw("\xEF\xBB\xBF");
    PutRaw(kDeclaration);
}

void CXmlFile::CloseStartTag(const char* after)
{
    if (!m_stack.empty() && !m_stack.back().content) {
        m_stack.back().content = TRUE;
        PutRaw(">");
        PutRaw(after);
    }
}

void CXmlFile::BeginElement(const char* name)
{
    if (!Writing())
        return;
    CloseStartTag("\r\n");
    Put('<');
    PutRaw(name);
    OpenElement e;
    SafeStrCopy(e.name, name, NameSize);
    e.content = FALSE;
    m_stack.push_back(e);
}

void CXmlFile::EndElement()
{
    if (!Writing() || m_stack.empty())
        return;
    if (m_stack.back().content) {
        PutRaw("</");
        PutRaw(m_stack.back().name);
        PutRaw(">\r\n");
    } else {
        PutRaw("/>\r\n");
    }
    m_stack.pop_back();
}

void CXmlFile::PutAttributeStart(const char* name)
{
    Put(' ');
    PutRaw(name);
    PutRaw("=\"");
}

void CXmlFile::WriteAttribute(const char* name, const char* text)
{
    if (!Writing())
        return;
    PutAttributeStart(name);
    PutEncoded(text);
    Put('"');
}

void CXmlFile::PutAttributeRaw(const char* name, const char* text)
{
    if (!Writing())
        return;
    PutAttributeStart(name);
    PutRaw(text);
    Put('"');
}

void CXmlFile::WriteAttributeInt(const char* name, int value)
{
    CString text;
    text.Format("%d", value);
    PutAttributeRaw(name, text);
}

void CXmlFile::WriteAttributeHex(const char* name, int value)
{
    char text[HexTextSize];
    FormatHex(value, text, sizeof text);
    PutAttributeRaw(name, text);
}

void CXmlFile::WriteAttributeBool(const char* name, BOOL flag)
{
    PutAttributeRaw(name, flag ? "TRUE" : "FALSE");
}

void CXmlFile::WriteAttributeHex4(const char* name, int a, int b, int c, int d)
{
    if (!Writing())
        return;
    PutAttributeStart(name);
    const int values[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        char text[HexTextSize];
        FormatHex(values[i], text, sizeof text);
        if (i)
            Put(',');
        PutRaw(text);
    }
    Put('"');
}

void CXmlFile::WriteAttributeRect(const char* name, const RECT& rect)
{
    WriteAttributeHex4(name, rect.left, rect.top, rect.right, rect.bottom);
}

void CXmlFile::WriteText(const char* text)
{
    if (!Writing())
        return;
    CloseStartTag("");
    PutEncoded(text);
}

void CXmlFile::WriteComment(const char* text)
{
    if (!Writing())
        return;
    CloseStartTag("");
    PutRaw("<!-- ");
    PutEncoded(text);
    PutRaw(" -->\r\n");
}

BOOL ParseBool(const char* text)
{
    return text && (EqualNoCase(text, "true") || std::strcmp(text, "1") == 0);
}

void ParseHex4(const char* text, int& a, int& b, int& c, int& d)
{
    int* const out[] = {&a, &b, &c, &d};
    const char* p = text ? text : "";
    for (int* value : out) {
        char part[16];
        int n = 0;
        for (; *p && *p != ','; ++p)
            if (n < 15)
                part[n++] = *p;
        part[n] = 0;
        *value = ParseHex(part);
        if (*p == ',')
            ++p;
    }
}
