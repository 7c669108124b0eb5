// The page-symbol XML. Writing takes the page's rows once and walks the
// nesting from the top level with a stack of its own, so neither the number
// of symbols nor the depth costs a query or a call frame each. Reading keeps
// the stack of open symbol elements by ID; the bottom entry, 0, is the page
// itself, and its end tag ends the reading. Elements that are not symbols are
// read to their end tag at once, so every end tag the loop sees closes the
// top entry.
#include "UML/Symbols/PageSymbol.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/TextHelpers.h"
#include "Pub/XmlFile.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <unordered_map>
#include <vector>

namespace {

// The ItemState bits a file carries; 0x10 and 0x20 are recomputed on reading,
// the selection is dropped.
const int kStoredStateBits = 0x0F;

// Elements LoadSymbolsXml passed over, in this process.
int theSkippedElements = 0;

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

bool IsName(const char* a, const char* b)
{
    return strcasecmp(a, b) == 0;
}

void WriteTextIfSet(CXmlFile& xml, const char* name, const char* text)
{
    if (!IsEmpty(text))
        xml.WriteAttribute(name, text);
}

void WriteHexIfSet(CXmlFile& xml, const char* name, int value)
{
    if (value != 0)
        xml.WriteAttributeHex(name, value);
}

void SaveSymbolXml(CXmlFile& xml, const SymbolT& row)
{
    WriteTextIfSet(xml, "model", row.Model);
    xml.WriteAttribute("sid", row.SGUID ? row.SGUID : "");
    WriteTextIfSet(xml, "mid", row.GUID);
    xml.WriteAttributeHex4("area", row.x1, row.y1, row.x2, row.y2);
    if (row.tx1 != row.tx2 || row.ty1 != row.ty2)
        xml.WriteAttributeHex4("txtarea", row.tx1, row.ty1, row.tx2, row.ty2);
    WriteHexIfSet(xml, "sterey", row.sterey);
    WriteTextIfSet(xml, "text", row.Text);
    WriteHexIfSet(xml, "color", row.Color);
    WriteHexIfSet(xml, "state", row.ItemState & kStoredStateBits);
    WriteTextIfSet(xml, "src", row.SrcID);
    WriteTextIfSet(xml, "dest", row.DestID);
    WriteTextIfSet(xml, "node", row.Nodes);
    WriteTextIfSet(xml, "stereotype", row.Stereotype);
    WriteStereoValues(xml, -row.ID);
}

// Reads to the end tag of the element whose start tag the reader is on.
void SkipElement(CXmlFile& xml)
{
    int depth = 1;
    while (depth > 0 && xml.ReadNextNode()) {
        if (xml.GetKind() == XML_START)
            ++depth;
        else if (xml.GetKind() == XML_END)
            --depth;
    }
}

// The texts of a symbol being read, held whole until the row is inserted.
struct SymbolTexts {
    std::string model, sguid, guid, text, stereotype, src, dest, nodes;
};

const char* TextOrNull(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

int LoadSymbolXml(CXmlFile& xml, const CSymbol& prototype, int pageId, int parentId, bool readOnly)
{
    SymbolT row;
    SymbolTexts texts;
    const std::string type = xml.GetName();
    int state = 0;
    while (xml.ReadNextAttribute()) {
        const char* name = xml.GetName();
        const char* value = xml.GetValue();
        if (IsName(name, "sid"))
            texts.sguid = value;
        else if (IsName(name, "mid"))
            texts.guid = value;
        else if (IsName(name, "area"))
            ParseHex4(value, row.x1, row.y1, row.x2, row.y2);
        else if (IsName(name, "txtarea"))
            ParseHex4(value, row.tx1, row.ty1, row.tx2, row.ty2);
        else if (IsName(name, "sterey"))
            row.sterey = ParseHex(value);
        else if (IsName(name, "color"))
            row.Color = ParseHex(value);
        else if (IsName(name, "text"))
            texts.text = value;
        else if (IsName(name, "model"))
            texts.model = value;
        else if (IsName(name, "state"))
            state = ParseHex(value) & kStoredStateBits;
        else if (IsName(name, "stereotype"))
            texts.stereotype = value;
        else if (IsName(name, "src"))
            texts.src = value;
        else if (IsName(name, "dest"))
            texts.dest = value;
        else if (IsName(name, "node"))
            texts.nodes = value;
    }
    if (xml.GetKind() != XML_CLOSED)
        state |= SYMBOL_HAS_CHILDREN;
    if (readOnly)
        state |= SYMBOL_READONLY;
    row.ID = ++theNextSymbolId;
    row.PID = pageId;
    row.FID = parentId;
    row.MSC = prototype.msc;
    row.MMC = prototype.mmc;
    row.Type = type.c_str();
    row.ItemState = static_cast<int16_t>(state);
    row.Model = TextOrNull(texts.model);
    row.SGUID = TextOrNull(texts.sguid);
    row.GUID = TextOrNull(texts.guid);
    row.Text = TextOrNull(texts.text);
    row.Stereotype = TextOrNull(texts.stereotype);
    row.SrcID = TextOrNull(texts.src);
    row.DestID = TextOrNull(texts.dest);
    row.Nodes = TextOrNull(texts.nodes);
    theModelDb.InsertRecord(&SymbolT::TableInfo, &row);
    LinkElementStereotype(-row.ID, row.Stereotype);
    return row.ID;
}

// The prototype of a tag that names a metaclass with symbols, else null.
CSymbol* SymbolPrototype(const char* tag)
{
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(tag, prototype) || prototype->msc == static_cast<int8_t>(MSC_NONE))
        return nullptr;
    return prototype;
}

} // namespace

void CPageSymbol::SaveSymbolsXml(CXmlFile& xml, int pageId, int parentId)
{
    std::vector<oid_t> rows;
    std::unordered_map<int, std::vector<size_t>> children; // FID -> positions in rows, ID order
    {
        dbQueryText q;
        q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId).Append(dbFragText, " order by ID");
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do {
                children[c->FID].push_back(rows.size());
                rows.push_back(c.GetCurrentOid());
            } while (c.Next());
    }
    // Each frame is a list of siblings and the next one to write; an element
    // stays open while its children's frame is on the stack.
    struct Frame {
        const std::vector<size_t>* siblings;
        size_t next;
    };
    static const std::vector<size_t> none;
    auto childrenOf = [&](int id) -> const std::vector<size_t>* {
        auto it = children.find(id);
        return it == children.end() ? &none : &it->second;
    };
    std::vector<Frame> stack{{childrenOf(parentId), 0}};
    SymbolT row;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.siblings->size()) {
            stack.pop_back();
            if (!stack.empty())
                xml.EndElement();
            continue;
        }
        const oid_t oid = rows[(*frame.siblings)[frame.next++]];
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
            continue;
        xml.BeginElement(row.Type ? row.Type : "");
        SaveSymbolXml(xml, row);
        stack.push_back({childrenOf(row.ID), 0});
    }
}

int CPageSymbol::SkippedElements()
{
    return theSkippedElements;
}

int CPageSymbol::LoadSymbolsXml(CXmlFile& xml, int pageId, bool readOnly)
{
    std::vector<int> open;
    open.reserve(10);
    open.push_back(0);
    while (xml.ReadNextNode()) {
        if (xml.GetKind() == XML_END) {
            if (open.size() == 1)
                break;
            open.pop_back();
            continue;
        }
        if (xml.GetKind() != XML_START)
            continue;
        if (xml.NameIs("Stereo")) {
            // A value of the innermost open symbol; at the top, of the page.
            ReadStereoValues(xml, open.size() == 1 ? pageId : -open.back());
            SkipElement(xml);
            continue;
        }
        CSymbol* prototype = SymbolPrototype(xml.GetName());
        if (!prototype) {
            ++theSkippedElements;
            SkipElement(xml);
            continue;
        }
        open.push_back(LoadSymbolXml(xml, *prototype, pageId, open.back(), readOnly));
    }
    return pageId;
}
