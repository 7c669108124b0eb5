// Member lines of classifier boxes: an Attribute ("+ static count:Integer[0..*]")
// or an Operation ("+ abstract op(in a:Integer):Boolean[1]") shown as one
// coloured text line whose owner symbol is the box. The text is parsed into
// the element, its extension row and (operations) its Parameter children, and
// rebuilt from them whenever the element changes. Words are taken whole. A
// visibility mark counts only before an attribute's ":" or an operation's "(",
// so a "-" in a type name or a default value is text.
#pragma once

#include "UML/Symbols/ExtendedElement.h"

#include <string>

// Where a visibility mark decides within the first limit bytes of text: "+"
// first, then "-", "#", "~". The mark's position, -1 for none; visibility gets
// 3, 0, 1 or 2 (0 without a mark).
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
    // Also removes every tag value of a stereotype that names the attribute.
    void DeleteElement(int elementId) override;
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
};
