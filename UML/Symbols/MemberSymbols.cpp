#include "UML/Symbols/MemberSymbols.h"

#include "MemDB/dbQueryText.h"
#include "Platform/Resource.h"
#include "Pub/BufferedFile.h"
#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/ParameterText.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Model/TypeResolution.h"
#include "UML/Symbols/TextPieces.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const COLORREF kKeyword = 0xC87689;
const COLORREF kPunctuation = 0xFF0000;
const COLORREF kTypeName = 0x008000;
const COLORREF kUnresolved = 0x969696;
const COLORREF kMultiplicity = 0x0000FF;

const char* const kVisibilityPrefix[] = {"- ", "# ", "~ ", "+ "};
const char* const kVisibilityMark[] = {"-", "#", "~", "+"};
const char* const kVirtuality[] = {"", "virtual", "finalized", "redefined"};
const char* const kDirection[] = {"", "in", "out", "inout"};

std::string Trimmed(const std::string& text)
{
    const size_t from = text.find_first_not_of(" \t");
    if (from == std::string::npos)
        return std::string();
    return text.substr(from, text.find_last_not_of(" \t") - from + 1);
}

bool SameText(const char* a, const char* b)
{
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// The name of the element whose GUID is guid; false when none.
bool NameOfGuid(const char* guid, std::string& name, std::string* stereotype = nullptr)
{
    if (IsEmpty(guid))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("GUID", guid) <= 0)
        return false;
    name = c->Name ? c->Name : "";
    if (stereotype)
        *stereotype = c->Stereotype ? c->Stereotype : "";
    return true;
}

void DrawLine(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawSyntaxText(dc, row.x1, row.y1, row.x2, row.y2, row.Text, runs);
}

// An empty committed text removes the line and keeps the element.
bool DeletedAsEmpty(const SymbolT& row)
{
    if (!IsEmpty(row.Text))
        return false;
    DeleteSymbol(row.ID, false);
    return true;
}

// The runs of a "[multiplicity]" after pos, when there is one; the encoded runs.
const char* ColorMultiplicity(const std::string& text, size_t pos)
{
    const size_t open = text.find('[', pos);
    if (open != std::string::npos) {
        theSyntaxWriter.AddRun(static_cast<int>(open), kPunctuation);
        theSyntaxWriter.AddRun(static_cast<int>(open) + 1, kMultiplicity);
        const size_t close = text.find(']', open + 1);
        if (close != std::string::npos)
            theSyntaxWriter.AddRun(static_cast<int>(close), kPunctuation);
    }
    return theSyntaxWriter.GetText();
}

// The colon at `colon`, then the type name after it, coloured by whether it
// resolves from the scope, then a multiplicity; the encoded runs.
const char* ColorTypeAfterColon(const std::string& text, size_t colon, const char* delimiters, int scopeId)
{
    theSyntaxWriter.AddRun(static_cast<int>(colon), kPunctuation);
    size_t pos = colon + 1, start = 0;
    std::string word;
    if (!NextWord(text, pos, delimiters, word, start))
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(static_cast<int>(colon) + 1,
                           ResolveType(scopeId, word).empty() ? kUnresolved : kTypeName);
    return ColorMultiplicity(text, pos);
}

int LimitAt(const std::string& text, char stop)
{
    const size_t at = text.find(stop);
    return static_cast<int>(at == std::string::npos ? text.size() : at);
}

} // namespace

int FindVisibilityMark(const char* text, int limit, int& visibility)
{
    visibility = 0;
    if (!text)
        return -1;
    static const char kMarks[] = "-#~+";
    int first = -1;
    for (int i = 0; i < limit && text[i]; ++i) {
        const char* mark = std::strchr(kMarks, text[i]);
        if (!mark)
            continue;
        if (first < 0)
            first = i;
        int j = i + 1;
        while (j < limit && text[j] && std::strchr(" \t", text[j]))
            ++j;
        if (j < limit && text[j] && !std::strchr(":[(", text[j])) {
            first = i;
            break;
        }
    }
    if (first >= 0)
        visibility = static_cast<int>(std::strchr(kMarks, text[first]) - kMarks);
    return first;
}

TypedTextFields ParseTypedText(const char* raw)
{
    static const char* const kDelimiters = " \t:[";
    TypedTextFields f;
    const std::string text = raw ? raw : "";
    const int mark = FindVisibilityMark(text.c_str(), LimitAt(text, ':'), f.visibility);
    size_t pos = mark >= 0 ? static_cast<size_t>(mark) + 1 : 0, start = 0;
    std::string word;
    if (!NextWord(text, pos, kDelimiters, word, start))
        return f;
    f.hasWord = true;
    if (word == "static") {
        f.isStatic = true;
        if (!NextWord(text, pos, kDelimiters, word, start))
            return f;
    }
    f.hasKind = true;
    if (word == "composite" || word == "shared") {
        f.associationKind = word == "composite" ? 3 : 2;
        if (!NextWord(text, pos, kDelimiters, word, start))
            return f;
    }
    f.hasName = true;
    f.name = word;
    if (text.find(':', pos) == std::string::npos)
        return f;
    if (!NextWord(text, pos, kDelimiters, word, start))
        return f;
    f.hasType = true;
    f.typeName = Trimmed(word);
    const size_t open = text.find('[', pos);
    if (open == std::string::npos)
        return f;
    const size_t close = text.find(']', open + 1);
    f.hasMultiplicity = true;
    f.multiplicity = text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    return f;
}

CAttributeSymbol::CAttributeSymbol()
{
    mmc = MMC_ATTRIBUTE;
    msc = MSC_LINETEXT;
}

int CAttributeSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                   const char* elementGuid, const SymbolT* related)
{
    return CreateMemberLine(*this, start, end, pageId, text, elementGuid, related, true,
                              [](const ModelT& e) { return SameText(e.Type, "Attribute"); });
}

void CAttributeSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawLine(row, dc);
}

bool CAttributeSymbol::RenameElement(const SymbolT& row)
{
    if (DeletedAsEmpty(row))
        return false;
    ModelT element;
    oid_t oid = 0;
    if (!ElementOfSymbol(row, element, oid))
        return false;
    const TypedTextFields f = ParseTypedText(row.Text);
    element.Visibility = static_cast<int8_t>(f.visibility);
    std::string use = element.Use ? element.Use : "";
    ModelAttribute extension;
    oid_t extensionOid = 0;
    if (f.hasWord && FetchExtension(element.ID, extension, &extensionOid)) {
        if (f.isStatic)
            extension.Static = 1;
        if (f.hasKind)
            extension.Associationkind = static_cast<int8_t>(f.associationKind);
        if (f.hasName) {
            element.Name = f.name.c_str();
            if (f.hasType)
                use = ResolveType(element.FID, f.typeName);
            if (f.hasMultiplicity)
                extension.Multiplicity = f.multiplicity.c_str();
            element.Use = use.c_str();
        }
        MemDbUpdate(&ModelAttribute::TableInfo, &extension, extensionOid);
    }
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

int CAttributeSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    TextPool.Reset();
    theSyntaxWriter.Reset();
    const ModelAttribute extension = Extension(element.ID);
    if (element.Visibility >= 0 && element.Visibility <= 3)
        Piece(kVisibilityPrefix[element.Visibility], kKeyword);
    if (extension.Static)
        Piece("static ", kKeyword);
    if (extension.Associationkind == 2 || extension.Associationkind == 3)
        Piece(extension.Associationkind == 2 ? "shared " : "composite ", kKeyword);
    Piece(element.Name, 0);
    std::string typeName, stereotype;
    if (NameOfGuid(element.Use, typeName, &stereotype)) {
        Piece(":", kPunctuation);
        Piece(typeName.c_str(), kTypeName);
        stereotype = stereotype.substr(0, GuidTextLength);
    }
    if (!IsEmpty(extension.Multiplicity)) {
        Piece("[", kPunctuation);
        Piece(extension.Multiplicity, kMultiplicity);
        Piece("]", kPunctuation);
    }
    return StoreBuiltText(row, oid, stereotype);
}

const char* CAttributeSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    const std::string text = row.Text ? row.Text : "";
    int visibility = 0;
    const int mark = FindVisibilityMark(text.c_str(), LimitAt(text, ':'), visibility);
    if (mark >= 0)
        theSyntaxWriter.AddRun(mark, kKeyword);
    static const char* const kDelimiters = " \t:[";
    // piece: where the next run starts, one past the end of the last token.
    size_t piece = mark >= 0 ? static_cast<size_t>(mark) + 1 : 0, pos = piece, start = 0;
    std::string word;
    bool more = NextWord(text, pos, kDelimiters, word, start);
    const auto keyword = [&](std::initializer_list<const char*> words) {
        if (!more || std::find(words.begin(), words.end(), word) == words.end())
            return;
        theSyntaxWriter.AddRun(static_cast<int>(piece), kKeyword);
        piece = pos + 1;
        more = NextWord(text, pos, kDelimiters, word, start);
    };
    keyword({"static"});
    keyword({"composite", "shared"});
    if (!more)
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(static_cast<int>(piece), 0);
    const size_t colon = text.find(':', pos);
    if (colon == std::string::npos)
        return ColorMultiplicity(text, 0);
    return ColorTypeAfterColon(text, colon, kDelimiters, scopeId);
}

void CAttributeSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    CSymbol::SaveElementXml(xml, element);
    ModelAttribute a;
    if (!FetchExtension(element.ID, a))
        return;
    XmlWriteHexIfNotDefault(xml, "Derived", a.Derived, 0);
    XmlWriteHexIfNotDefault(xml, "Static", a.Static, 0);
    XmlWriteHexIfNotDefault(xml, "Associationkind", a.Associationkind, 0);
    XmlWriteHexIfNotDefault(xml, "ReadOnly", a.ReadOnly, 0);
    XmlWriteTextIfSet(xml, "Defaultvalue", a.Defaultvalue);
    XmlWriteTextIfSet(xml, "Multiplicity", a.Multiplicity);
    XmlWriteHexIfNotDefault(xml, "Navigable", a.Navigable, 1);
}

bool CAttributeSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    return WriteExtendedPage(folder, element, 61474, [](CBufferedFile& file, const ModelAttribute& a) {
        HtmlRowBool(file, LoadResString(61479), a.Static);
        HtmlRowBool(file, LoadResString(61480), a.Derived);
        HtmlRowAggregation(file, LoadResString(61481), a.Associationkind);
        HtmlRowBool(file, LoadResString(61482), a.ReadOnly);
        HtmlRowText(file, LoadResString(61483), a.Defaultvalue);
        HtmlRowText(file, LoadResString(61484), a.Multiplicity);
    });
}

void CAttributeSymbol::DeleteElement(int elementId)
{
    ModelT element, owner;
    if (!FetchElementById(elementId, element))
        return;
    const std::string guid = element.GUID ? element.GUID : "";
    const bool tag = FetchElementById(element.FID, owner) && SameText(owner.Type, "Stereotype");
    CExtendedElement::DeleteElement(elementId);
    if (!tag || guid.empty())
        return;
    std::vector<oid_t> values;
    {
        dbTypedCursor<StereotypeT> c(&StereotypeT::TableInfo);
        if (c.SelectByKey("SSGUID", guid.c_str()) > 0)
            do
                values.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : values)
        MemDbRemove(&StereotypeT::TableInfo, oid);
}

// Operations.

namespace {

// An operation's signature as stored fields.
struct SignatureFields {
    int visibility = 0;
    bool hasToken = false;
    bool complete = false;   // the parse reached the name
    int abstract = 0;
    int virtuality = 0;
    int isStatic = 0;
    std::string name;
    bool hasParameters = false;
    std::string parameters;
    bool hasReturn = false;
    std::string returnType;
    std::string multiplicity;
};

SignatureFields ParseSignature(const std::string& text)
{
    static const char* const kDelimiters = " :\t(";
    SignatureFields f;
    const int mark = FindVisibilityMark(text.c_str(), LimitAt(text, '('), f.visibility);
    size_t pos = mark >= 0 ? static_cast<size_t>(mark) + 1 : 0, start = 0;
    std::string token;
    if (!NextWord(text, pos, kDelimiters, token, start))
        return f;
    f.hasToken = true;
    if (token == "abstract") {
        f.abstract = 1;
        if (!NextWord(text, pos, kDelimiters, token, start))
            return f;
    }
    for (int v = 1; v <= 3; ++v)
        if (token == kVirtuality[v]) {
            f.virtuality = v;
            if (!NextWord(text, pos, kDelimiters, token, start))
                return f;
            break;
        }
    if (token == "static") {
        f.isStatic = 1;
        if (!NextWord(text, pos, kDelimiters, token, start))
            return f;
    }
    f.complete = true;
    f.name = token;
    size_t colonFrom = start;
    const size_t open = text.find('(', pos);
    if (open != std::string::npos) {
        const size_t close = text.find(')', open + 1);
        if (close != std::string::npos) {
            f.hasParameters = true;
            f.parameters = text.substr(open + 1, close - open - 1);
            colonFrom = close;
        } else {
            colonFrom = 0;
        }
    }
    const size_t colon = text.find(':', colonFrom);
    if (colon == std::string::npos || colon == 0)
        return f;
    f.hasReturn = true;
    const size_t bracket = text.find('[', colon + 1);
    f.returnType = Trimmed(text.substr(colon + 1, bracket == std::string::npos ? std::string::npos
                                                                               : bracket - colon - 1));
    if (bracket != std::string::npos) {
        const size_t end = text.find(']', bracket + 1);
        f.multiplicity = text.substr(bracket + 1, end == std::string::npos ? std::string::npos : end - bracket - 1);
    }
    return f;
}

} // namespace

COperationSymbol::COperationSymbol()
{
    mmc = MMC_OPERATION;
    msc = MSC_LINETEXT;
}

int COperationSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                   const char* elementGuid, const SymbolT* related)
{
    return CreateMemberLine(*this, start, end, pageId, text, elementGuid, related, false,
                              [](const ModelT& e) { return e.MMC == MMC_OPERATION; });
}

void COperationSymbol::Draw(const SymbolT& row, CDC* dc)
{
    DrawLine(row, dc);
}

bool COperationSymbol::RenameElement(const SymbolT& row)
{
    if (DeletedAsEmpty(row))
        return false;
    ModelT element;
    oid_t oid = 0;
    if (!ElementOfSymbol(row, element, oid))
        return false;
    const SignatureFields f = ParseSignature(row.Text ? row.Text : "");
    element.Visibility = static_cast<int8_t>(f.visibility);
    if (!f.hasToken)
        return MemDbUpdate(&ModelT::TableInfo, &element, oid), true;
    ModelOperation extension;
    oid_t extensionOid = 0;
    if (!FetchExtension(element.ID, extension, &extensionOid))
        return false;
    extension.Abstract = static_cast<int8_t>(f.abstract);
    extension.Virtuality = static_cast<int8_t>(f.virtuality);
    extension.Static = static_cast<int8_t>(f.isStatic);
    std::string use = element.Use ? element.Use : "";
    if (f.complete) {
        element.Name = f.name.c_str();
        if (f.hasParameters)
            ParseParameters(element.ID, f.parameters.c_str(), static_cast<int>(f.parameters.size()));
        if (f.hasReturn) {
            use = ResolveType(element.FID, f.returnType);
            if (!f.multiplicity.empty())
                extension.Multiplicity = f.multiplicity.c_str();
        }
        element.Use = use.c_str();
    }
    MemDbUpdate(&ModelOperation::TableInfo, &extension, extensionOid);
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    return true;
}

int COperationSymbol::SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid)
{
    ModelOperation extension;
    if (!FetchExtension(element.ID, extension))
        return 0;
    TextPool.Reset();
    theSyntaxWriter.Reset();
    if (element.Visibility >= 0 && element.Visibility <= 3)
        Piece(kVisibilityMark[element.Visibility], kKeyword);
    if (extension.Abstract == 1)
        Piece("abstract ", kKeyword);
    if (extension.Virtuality >= 1 && extension.Virtuality <= 3)
        Piece((std::string(kVirtuality[extension.Virtuality]) + " ").c_str(), kKeyword);
    if (extension.Static == 1)
        Piece("static ", kKeyword);
    Piece(element.Name, 0);
    Piece("(", kPunctuation);
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &element.ID);
    q.Append(dbFragText, " and Type=").AppendString("Parameter");
    q.Append(dbFragText, " order by SN");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    bool first = true;
    if (c.Select(q, dbCursorViewOnly) > 0)
        do {
            if (!first)
                Piece(",", kPunctuation);
            first = false;
            ModelParameter p{};
            FetchExtension(c->ID, p);
            if (p.Direction >= 1 && p.Direction <= 3)
                Piece((std::string(kDirection[p.Direction]) + " ").c_str(), kKeyword);
            Piece(c->Name, 0);
            std::string typeName;
            if (SameText(c->Use, "type")) {
                Piece(":type", kPunctuation);
            } else if (NameOfGuid(c->Use, typeName)) {
                Piece(":", kPunctuation);
                Piece(typeName.c_str(), 0);
            }
            if (!IsEmpty(p.Multiplicity)) {
                Piece("[", kPunctuation);
                Piece(p.Multiplicity, kMultiplicity);
                Piece("]", kPunctuation);
            }
        } while (c.Next());
    Piece(")", kPunctuation);
    std::string typeName;
    if (NameOfGuid(element.Use, typeName)) {
        Piece(":", kPunctuation);
        Piece(typeName.c_str(), kTypeName);
        if (!IsEmpty(extension.Multiplicity)) {
            Piece("[", kPunctuation);
            Piece(extension.Multiplicity, kMultiplicity);
            Piece("]", kPunctuation);
        }
    }
    return StoreBuiltText(row, oid, element.Stereotype ? element.Stereotype : "");
}

const char* COperationSymbol::MakeSyntax(const SymbolT& row, int scopeId)
{
    theSyntaxWriter.Reset();
    const std::string text = row.Text ? row.Text : "";
    if (text.empty())
        return theSyntaxWriter.GetText();
    int visibility = 0;
    const int mark = FindVisibilityMark(text.c_str(), LimitAt(text, '('), visibility);
    if (mark >= 0)
        theSyntaxWriter.AddRun(mark, kKeyword);
    static const char* const kDelimiters = " :\t([";
    size_t pos = mark >= 0 ? static_cast<size_t>(mark) + 1 : 0, start = 0;
    std::string token;
    size_t from = pos;
    bool more = NextWord(text, pos, kDelimiters, token, start);
    if (more && (token == "abstract" || token == "static")) {
        theSyntaxWriter.AddRun(static_cast<int>(from), kKeyword);
        from = pos;
        more = NextWord(text, pos, kDelimiters, token, start);
    }
    if (more && (token == "virtual" || token == "redefined" || token == "finalized")) {
        theSyntaxWriter.AddRun(static_cast<int>(from), kKeyword);
        from = pos;
        more = NextWord(text, pos, kDelimiters, token, start);
    }
    if (!more)
        return theSyntaxWriter.GetText();
    theSyntaxWriter.AddRun(static_cast<int>(from), 0);
    size_t colonFrom = 0;
    const size_t open = text.find('(', pos);
    if (open != std::string::npos) {
        theSyntaxWriter.AddRun(static_cast<int>(open), kPunctuation);
        const size_t close = text.find(')', open + 1);
        if (close != std::string::npos) {
            theSyntaxWriter.SetBase(static_cast<int>(open) + 1);
            ColorParameterList(scopeId, text.c_str() + open + 1, static_cast<int>(close - open - 1),
                               theSyntaxWriter);
            theSyntaxWriter.SetBase(0);
            theSyntaxWriter.AddRun(static_cast<int>(close), kPunctuation);
            colonFrom = close;
        }
    }
    const size_t colon = text.find(':', colonFrom);
    if (colon == std::string::npos)
        return theSyntaxWriter.GetText();
    return ColorTypeAfterColon(text, colon, kDelimiters, scopeId);
}

void COperationSymbol::SaveElementXml(CXmlFile& xml, const ModelT& element)
{
    CSymbol::SaveElementXml(xml, element);
    ModelOperation o;
    if (!FetchExtension(element.ID, o))
        return;
    XmlWriteHexIfNotDefault(xml, "Abstract", o.Abstract, 0);
    XmlWriteHexIfNotDefault(xml, "Derived", o.Derived, 0);
    XmlWriteHexIfNotDefault(xml, "Static", o.Static, 0);
    XmlWriteHexIfNotDefault(xml, "Virtuality", o.Virtuality, 0);
    XmlWriteTextIfSet(xml, "Multiplicity", o.Multiplicity);
    XmlWriteTextIfSet(xml, "RaisedException", o.RaisedException);
    XmlWriteTextIfSet(xml, "Query", o.Query);
}

bool COperationSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    return WriteExtendedPage(folder, element, 61473, [](CBufferedFile& file, const ModelOperation& o) {
        HtmlRowBool(file, LoadResString(61491), o.Abstract);
        HtmlRowBool(file, LoadResString(61490), o.Derived);
        HtmlRowBool(file, LoadResString(61489), o.Static);
        HtmlRowVirtuality(file, LoadResString(61493), o.Virtuality);
        HtmlRowText(file, LoadResString(61494), o.Multiplicity);
        HtmlRowText(file, LoadResString(61495), o.Query);
        HtmlRowText(file, LoadResString(61492), o.RaisedException);
    });
}

bool CSignalSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    return WriteExtendedPage(folder, element, 61501, [](CBufferedFile& file, const ModelOperation& o) {
        HtmlRowBool(file, LoadResString(61498), o.Abstract);
        HtmlRowBool(file, LoadResString(61497), o.Derived);
        HtmlRowBool(file, LoadResString(61496), o.Static);
        HtmlRowVirtuality(file, LoadResString(61499), o.Virtuality);
    });
}

COptionTreeItem* CAttributeSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    return AddTypedRows(element, readOnly, readOnly, grid);
}

COptionTreeItem* CAttributeSymbol::AddTypedRows(const ModelT& element, bool readOnly, bool typeReadOnly,
                                                COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    if (!base)
        return nullptr;
    AddTypeRow(base, grid, "Use", LoadResString(61474), element.Use, element.FID, typeReadOnly);
    ModelAttribute a;
    COptionTreeItem* extended = FetchExtension(element.ID, a) ? AddExtendedCategory(grid) : nullptr;
    if (!extended)
        return base;
    AddCheckRow(extended, grid, "Static", LoadResString(61479), a.Static != 0, readOnly);
    AddCheckRow(extended, grid, "Derived", LoadResString(61480), a.Derived != 0, readOnly);
    AddAggregationRow(extended, grid, LoadResString(61481), a.Associationkind, readOnly);
    AddCheckRow(extended, grid, "ReadOnly", LoadResString(61482), a.ReadOnly != 0, readOnly);
    AddEditRow(extended, grid, "Defaultvalue", LoadResString(61483), a.Defaultvalue, readOnly, false);
    AddEditRow(extended, grid, "Multiplicity", LoadResString(61484), a.Multiplicity, readOnly, false);
    return extended;
}

COptionTreeItem* COperationSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    if (!base)
        return nullptr;
    AddTypeRow(base, grid, "Use", LoadResString(61473), element.Use, element.FID, readOnly);
    ModelOperation o;
    COptionTreeItem* extended = FetchExtension(element.ID, o) ? AddExtendedCategory(grid) : nullptr;
    if (!extended)
        return base;
    AddCheckRow(extended, grid, "Abstract", LoadResString(61491), o.Abstract != 0, readOnly);
    AddCheckRow(extended, grid, "Derived", LoadResString(61490), o.Derived != 0, readOnly);
    AddCheckRow(extended, grid, "Static", LoadResString(61489), o.Static != 0, readOnly);
    AddVirtualityRow(extended, grid, LoadResString(61493), o.Virtuality, readOnly);
    AddEditRow(extended, grid, "Multiplicity", LoadResString(61494), o.Multiplicity, readOnly, false);
    AddEditRow(extended, grid, "Query", LoadResString(61495), o.Query, readOnly, false);
    AddEditRow(extended, grid, "RaisedException", LoadResString(61492), o.RaisedException, readOnly, false);
    return extended;
}

COptionTreeItem* CSignalSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* base = CSymbol::AddElementProperties(element, readOnly, grid);
    ModelOperation o;
    COptionTreeItem* extended = base && FetchExtension(element.ID, o) ? AddExtendedCategory(grid) : nullptr;
    if (!extended)
        return base;
    AddCheckRow(extended, grid, "Abstract", LoadResString(61498), o.Abstract != 0, readOnly);
    AddCheckRow(extended, grid, "Derived", LoadResString(61497), o.Derived != 0, readOnly);
    AddCheckRow(extended, grid, "Static", LoadResString(61496), o.Static != 0, readOnly);
    AddVirtualityRow(extended, grid, LoadResString(61499), o.Virtuality, readOnly);
    return extended;
}
