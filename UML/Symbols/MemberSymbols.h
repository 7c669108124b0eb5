// Member lines of classifier boxes: an Attribute ("+ static count:Integer[0..*]")
// or an Operation ("+ abstract op(in a:Integer):Boolean[1]") shown as one
// coloured text line whose owner symbol is the box. The text is parsed into
// the element, its extension row and (operations) its Parameter children, and
// rebuilt from them whenever the element changes. Words are taken whole. A
// visibility mark counts only before an attribute's ":" or an operation's "(",
// so a "-" in a type name or a default value is text.
#pragma once

#include "UML/Symbols/ExtendedElement.h"

#include "Pub/GuidText.h"

#include <string>

// A member line inside the box related, which must show an element: for
// typed text a new element named by it (a default name when empty); for a
// dropped element that accept takes, that element when the box's element owns
// it; for any other dropped element, when typeDropped, a new element typed by
// it. The new symbol's ID, 0 when refused.
template <class Accept>
int CreateMemberLine(CSymbol& prototype, POINT start, POINT end, int pageId, const char* text,
                       const char* elementGuid, const SymbolT* related, bool typeDropped, Accept accept)
{
    const int owner = ElementIdOfSymbol(related);
    if (owner <= 0)
        return 0;
    std::string name = text ? text : "", guid;
    if (!IsEmpty(elementGuid)) {
        ModelT dropped;
        {
            dbTypedCursor<ModelT> c(&ModelT::TableInfo);
            if (c.SelectByKey("GUID", elementGuid) <= 0)
                return 0;
            dropped = *c.GetRecord();
        }
        if (accept(dropped)) {
            if (dropped.FID != owner)
                return 0;
            guid = elementGuid;
        } else {
            if (!typeDropped)
                return 0;
            char made[GuidTextLength + 1];
            const std::string use = elementGuid;
            if (!MakeGuidText(made, sizeof made, TRUE))
                return 0;
            guid = made;
            if (!prototype.CreateElement(owner, name.c_str(), guid.c_str(), use.c_str()))
                return 0;
        }
    } else {
        if (name.empty()) {
            char buffer[80];
            prototype.MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (!prototype.CreateElement(owner, name.c_str(), guid.c_str(), nullptr))
            return 0;
    }
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    prototype.FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, name.c_str(), guid.c_str(), sguid,
                               related, nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

// The visibility mark ("+", "-", "#" or "~") within the first limit bytes of
// text: the first one that a word follows, else the first one; its position,
// -1 for none. visibility gets 3, 0, 1 or 2 (0 without a mark). A rebuilt
// line starts with its mark and a word, so it reads back the same whatever
// marks its name holds.
int FindVisibilityMark(const char* text, int limit, int& visibility);

// An attribute's typed text as stored fields, for the parser and its tests.
struct TypedTextFields {
    int visibility = 0;
    bool isStatic = false;
    int associationKind = 1;
    std::string name;
    bool hasType = false;     // a word followed the ":"
    std::string typeName;
    bool hasMultiplicity = false;
    std::string multiplicity;
    bool hasWord = false;     // any word after the mark: Static may be set
    bool hasKind = false;     // a word after "static": the association kind is set
    bool hasName = false;
};
TypedTextFields ParseTypedText(const char* text);

class CAttributeSymbol : public CExtendedElement<CSymbol, ModelAttribute> {
public:
    CAttributeSymbol();
    // A line inside a box that shows an element: for typed text a new
    // attribute; for a dropped classifier a new attribute typed by it; for a
    // dropped attribute of the box's element that attribute. 0 otherwise.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // Parses the typed text into the element; an empty text deletes the line
    // (not the element) and returns false.
    bool RenameElement(const SymbolT& row) override;
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    // The base rows and the type, then the extension rows.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // Also removes every tag value of a stereotype that names the attribute.
    void DeleteElement(int elementId) override;

protected:
    // The base rows with the type row, then the extension rows; the last
    // category made, null without the base one.
    COptionTreeItem* AddTypedRows(const ModelT& element, bool readOnly, bool typeReadOnly, COptionTree* grid);
};

class COperationSymbol : public CExtendedElement<CSymbol, ModelOperation> {
public:
    COperationSymbol();
    // A line inside a box that shows an element: a new operation from typed
    // text, or a dropped operation-like child of the box's element.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    bool RenameElement(const SymbolT& row) override;
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    // The base rows and the return type, then the extension rows.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
};

// Activity and Interaction: operation lines under metaclass names of their own.
class CActivitySymbol : public COperationSymbol {};
class CInteractionSymbol : public COperationSymbol {};

// Signal and Statemachine: operation lines whose page has no return type,
// multiplicity, query or raised exception rows.
class CSignalSymbol : public COperationSymbol {
public:
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
};

class CStatemachineSymbol : public CSignalSymbol {};
