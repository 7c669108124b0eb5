#include "UML/Model/HtmlRows.h"

#include "MemDB/dbCursor.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"

#include <cstdint>
#include <string>

namespace {

const char kNoText[] = "&nbsp;";

// The value is written as it stands: callers escape model texts.
void Row(CBufferedFile& file, const char* label, const char* value)
{
    file.WriteString("<tr><td bgcolor='lightgrey'>");
    file.WriteString(label ? label : "");
    file.WriteString("</td><td>");
    file.WriteString(value);
    file.WriteString("</td></tr>\r\n");
}

// The word for code among the listed ones (indexed from first), else "&nbsp;".
template <size_t N>
const char* CodeWord(int code, int first, const char* const (&words)[N])
{
    const int index = static_cast<int8_t>(code) - first;
    return index >= 0 && index < int(N) ? words[index] : kNoText;
}

} // namespace

std::string HtmlEscape(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        switch (*p) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += *p; break;
        }
    }
    return out;
}

void HtmlPageHead(const ModelT& element, CBufferedFile& file)
{
    file.WriteString("<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'><title>");
    file.WriteString(HtmlEscape(element.Name).c_str());
    file.WriteString("[");
    file.WriteString(HtmlEscape(element.Type).c_str());
    file.WriteString("]</title></head>\r\n<body><table border='1' cellspacing='0' width='90%' align='center'>\r\n");
}

void HtmlPageTail(CBufferedFile& file)
{
    file.WriteString("</table></body></html>\r\n");
}

void HtmlSectionRow(CBufferedFile& file, const char* label)
{
    file.WriteString("<tr bgcolor='steelblue'><td colspan='2'><b>");
    file.WriteString(label ? label : "");
    file.WriteString("</b></td></tr>\r\n");
}

void HtmlRowText(CBufferedFile& file, const char* label, const char* text)
{
    Row(file, label, text && *text ? HtmlEscape(text).c_str() : kNoText);
}

void HtmlRowInt(CBufferedFile& file, const char* label, int value)
{
    Row(file, label, std::to_string(value).c_str());
}

void HtmlRowBool(CBufferedFile& file, const char* label, int flag)
{
    Row(file, label, (flag & 0xFF) ? "True" : "False");
}

void HtmlRowVisibility(CBufferedFile& file, const char* label, int code)
{
    static const char* const words[] = {"private", "protected", "package", "public"};
    Row(file, label, CodeWord(code, 0, words));
}

void HtmlRowDirection(CBufferedFile& file, const char* label, int code)
{
    static const char* const words[] = {"in", "out", "inout"};
    Row(file, label, CodeWord(code, 1, words));
}

void HtmlRowVirtuality(CBufferedFile& file, const char* label, int code)
{
    static const char* const words[] = {"virtual", "finalized", "redefined"};
    Row(file, label, CodeWord(code, 1, words));
}

void HtmlRowAggregation(CBufferedFile& file, const char* label, int code)
{
    static const char* const words[] = {"reference", "shared", "composite"};
    Row(file, label, CodeWord(code, 1, words));
}

void HtmlRowElementRef(CBufferedFile& file, const char* label, const char* guid)
{
    if (!guid || !*guid) {
        Row(file, label, kNoText);
        return;
    }
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", guid) <= 0)
        Row(file, label, kNoText);
    else
        HtmlRowText(file, label, c->Name);
}

void HtmlCommonRows(const ModelT& element, CBufferedFile& file)
{
    HtmlRowText(file, LoadResString(61470), element.Name);
    HtmlRowText(file, LoadResString(61471), element.Type);
    HtmlRowElementRef(file, LoadResString(61472), element.Stereotype);
    HtmlRowVisibility(file, LoadResString(61476), element.Visibility);
}
