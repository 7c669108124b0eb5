#include "UML/Model/ParameterText.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/GuidText.h"
#include "Pub/TextHelpers.h"
#include "Pub/TextPool.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/TypeResolution.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const COLORREF kKeyword = 0xC87689;
const COLORREF kName = 0;
const COLORREF kPunctuation = 0xFF0000;
const COLORREF kType = 0x008000;
const COLORREF kUnknownType = 0x969696;
const COLORREF kMultiplicity = 0x0000FF;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One item's pieces as byte ranges of the text.
struct Span {
    int begin = -1;
    int end = -1;
    bool Empty() const { return begin < 0 || end <= begin; }
};

struct ItemSpans {
    Span keyword, name, colon, type, open, multiplicity, close;
    int direction = 0;
};

// The list's scanner: positions stay within [0, length].
class ListScanner {
public:
    ListScanner(const char* text, int length) : text_(text), length_(length) {}

    bool AtEnd() const { return pos_ >= length_; }
    int Pos() const { return pos_; }
    void SetPos(int pos) { pos_ = pos; }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(text_[pos_]))
            ++pos_;
    }
    // The run up to the first of stops (or the end), without its outer blanks.
    Span Until(const char* stops)
    {
        SkipBlanks();
        Span s;
        s.begin = pos_;
        while (!AtEnd() && text_[pos_] && !std::strchr(stops, text_[pos_]))
            ++pos_;
        s.end = pos_;
        while (s.end > s.begin && IsBlank(text_[s.end - 1]))
            --s.end;
        return s;
    }
    bool Is(const Span& s, const char* word) const
    {
        const int n = static_cast<int>(std::strlen(word));
        return s.end - s.begin == n && std::strncmp(text_ + s.begin, word, size_t(n)) == 0;
    }
    void Copy(const Span& s, char (&out)[65]) const
    {
        out[0] = '\0';
        if (s.Empty())
            return;
        std::string piece(text_ + s.begin, size_t(s.end - s.begin));
        SafeStrCopy(out, piece.c_str(), sizeof out);
    }
    // Reads one item; false when the list holds no further item.
    bool Item(ItemSpans& item)
    {
        item = ItemSpans();
        SkipBlanks();
        if (AtEnd() || Peek() == ')' || Peek() == '>' || Peek() == '\0') {
            pos_ = length_;
            return false;
        }
        Span first = Until(" \t:,)>[");
        static const char* const directions[] = {"in", "out", "inout"};
        for (int d = 0; d < 3; ++d)
            if (Is(first, directions[d]) && IsBlank(Peek())) {
                item.keyword = first;
                item.direction = d + 1;
                first = Until(":,)>[");
            }
        item.name = first;
        SkipBlanks();
        if (Peek() == ':') {
            item.colon = Span{pos_, pos_ + 1};
            ++pos_;
            item.type = Until(",[)>");
        }
        SkipBlanks();
        if (Peek() == '[') {
            item.open = Span{pos_, pos_ + 1};
            ++pos_;
            item.multiplicity = Until(")>],");
            if (Peek() == ']') {
                item.close = Span{pos_, pos_ + 1};
                ++pos_;
            }
        }
        // On to the next item; ")" and ">" end the list.
        while (!AtEnd() && Peek() != ',' && Peek() != ')' && Peek() != '>' && Peek() != '\0')
            ++pos_;
        if (Peek() == ',')
            ++pos_;
        else
            pos_ = length_;
        return !item.name.Empty() || !item.type.Empty();
    }

private:
    const char* text_;
    int length_;
    int pos_ = 0;
};

int LengthOf(const char* text, int length)
{
    const int n = text ? static_cast<int>(std::strlen(text)) : 0;
    return length < 0 || length > n ? n : length;
}

bool TypeResolves(int scope, const std::string& type)
{
    return type == "type" || ResolveTypeName(scope, MMC_CLASS, nullptr, type.c_str(), nullptr);
}

std::string Text(const char* text, const Span& s)
{
    return s.Empty() ? std::string() : std::string(text + s.begin, size_t(s.end - s.begin));
}

} // namespace

bool ParseParameterItem(int scope, const char* text, int& pos, int length, ParameterItem& item)
{
    item = ParameterItem{};
    length = LengthOf(text, length);
    if (pos < 0 || pos >= length)
        return false;
    ListScanner scanner(text, length);
    scanner.SetPos(pos);
    ItemSpans spans;
    bool found;
    // An empty item (",,") is skipped rather than ending the list.
    while (!(found = scanner.Item(spans)) && !scanner.AtEnd()) {
    }
    pos = scanner.Pos();
    if (!found)
        return false;
    scanner.Copy(spans.name, item.name);
    scanner.Copy(spans.multiplicity, item.multiplicity);
    item.direction = spans.direction;
    const std::string type = Text(text, spans.type).substr(0, 64);
    if (type == "type") {
        SafeStrCopy(item.type, "type", sizeof item.type);
    } else if (!type.empty()) {
        TypeMatchList matches;
        if (ResolveTypeName(scope, MMC_CLASS, nullptr, type.c_str(), &matches) && !matches.empty())
            SafeStrCopy(item.type, matches.front().guid, sizeof item.type);
    }
    return true;
}

void ColorParameterList(int scope, const char* text, int length, SyntaxRunCodec& writer)
{
    length = LengthOf(text, length);
    const TypeLookupSession session;
    ListScanner scanner(text, length);
    int last = -1;
    auto run = [&](const Span& s, COLORREF colour) {
        if (!s.Empty() && s.begin > last) {
            writer.AddRun(s.begin, colour);
            last = s.begin;
        }
    };
    ItemSpans item;
    while (!scanner.AtEnd()) {
        const bool found = scanner.Item(item);
        run(item.keyword, kKeyword);
        run(item.name, kName);
        run(item.colon, kPunctuation);
        if (!item.type.Empty())
            run(item.type, TypeResolves(scope, Text(text, item.type).substr(0, 64)) ? kType : kUnknownType);
        run(item.open, kPunctuation);
        run(item.multiplicity, kMultiplicity);
        run(item.close, kPunctuation);
        const int comma = scanner.Pos() - 1;
        if (comma >= 0 && comma < length && text[comma] == ',')
            run(Span{comma, comma + 1}, kPunctuation);
        if (!found && scanner.AtEnd())
            break;
    }
}

int CSymbol::ParseParameters(int ownerId, const char* text, int length)
{
    CSymbol* parameter = nullptr;
    if (!FindMetaclass("Parameter", parameter))
        return 0;
    length = LengthOf(text, length);
    std::vector<oid_t> children;
    {
        static dbQueryText q;
        static int32_t owner = 0;
        if (!q.Fragments())
            q.Append(dbFragText, "FID=")
                .Append(dbFragInt4, &owner)
                .Append(dbFragText, " and Type='Parameter' order by ID");
        owner = ownerId;
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                children.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    int pos = 0;
    int count = 0;
    ParameterItem item;
    for (oid_t oid : children) {
        ModelT child;
        if (!theModelDb.FetchRecord(oid, &ModelT::TableInfo, &child))
            continue;
        ++count;
        dbTypedCursor<ModelParameter> extension(&ModelParameter::TableInfo);
        oid_t extensionOid = extension.SelectByKey("ID", child.ID) > 0 ? extension.GetCurrentOid() : 0;
        if (!extensionOid) {
            ModelParameter row;
            row.ID = child.ID;
            extensionOid = MemDbInsert(&ModelParameter::TableInfo, &row);
        }
        if (ParseParameterItem(ownerId, text, pos, length, item)) {
            child.Name = item.name;
            child.Use = item.type;
            MemDbUpdate(&ModelT::TableInfo, &child, oid);
            ModelParameter row;
            if (theModelDb.FetchRecord(extensionOid, &ModelParameter::TableInfo, &row)) {
                row.Multiplicity = item.multiplicity;
                row.Direction = static_cast<int8_t>(item.direction);
                MemDbUpdate(&ModelParameter::TableInfo, &row, extensionOid);
            }
        } else {
            MemDbRemove(&ModelParameter::TableInfo, extensionOid);
            MemDbRemove(&ModelT::TableInfo, oid);
        }
    }
    while (ParseParameterItem(ownerId, text, pos, length, item)) {
        ModelT child;
        child.ID = child.SN = ++theNextElementId;
        child.FID = ownerId;
        child.Name = item.name;
        child.Type = parameter->metaName;
        char guid[GuidTextLength + 1] = "";
        MakeGuidText(guid, sizeof guid, TRUE);
        child.GUID = guid;
        child.Use = item.type;
        child.MMC = parameter->mmc;
        child.Visibility = 0;
        MemDbInsert(&ModelT::TableInfo, &child);
        ModelParameter row;
        row.ID = child.ID;
        row.Multiplicity = item.multiplicity;
        row.Direction = static_cast<int8_t>(item.direction);
        MemDbInsert(&ModelParameter::TableInfo, &row);
        ++count;
    }
    return count;
}
