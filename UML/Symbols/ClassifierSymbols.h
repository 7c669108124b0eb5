// Classifier boxes: a name line under an optional stereotype line, then an
// attribute compartment and an operation compartment. Members are symbol rows
// of their own (FID = the box symbol's ID; attributes MMC 3, operations MMC 2,
// each list in ID order) that the box places, draws through their own
// prototypes and hit-tests; under each compartment lies an empty insertion
// band in which the controller creates a new member from typed text.
//
// Box ItemState bits: 1 Autolayout, 2 Collapse (no compartments), 4 the
// element's Active, 16 has members (set by Layout, read by Draw and HitTest),
// 32 read-only, 128 selected.
#pragma once

#include "UML/Symbols/ExtendedElement.h"

#include <vector>

enum {
    BOX_COLLAPSED = 2,
    BOX_ACTIVE = 4,
};

// The member lines of a box in ID order, mmc 3 for attributes and 2 for
// operations. The query is compiled once; its values are bound.
std::vector<oid_t> BoxMemberOids(int boxId, int mmc);

// Interface: the box alone; its element is a plain ModelT row.
class CInterfaceSymbol : public CSymbol {
public:
    CInterfaceSymbol();
    // A box for a dropped element, or for a new element under the element of
    // the enclosing symbol (else the diagram's owner) named text or a default
    // name.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    // The box, its active bars, then, unless collapsed, its compartments with
    // the members that fit.
    void Draw(const SymbolT& row, CDC* dc) override;
    // Sizes the box around its name and member lines and places each member
    // line (stored here); the caller stores the box. Returns 1.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // A member line, an insertion band (a new-member hit: ID 0, FID the box,
    // Type of the member, the band as text box, selected), or the box.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};

// Class and Artifact: the box of a ModelClass element, its name followed by
// its template parameters in angle brackets.
class CClassSymbol : public CExtendedElement<CInterfaceSymbol, ModelClass> {
public:
    // The name, and with "<...>" after it, the template parameters.
    bool RenameElement(const SymbolT& row) override;
    // The template text with its colour runs, the Active bit and the
    // stereotype; writes the row only when one of them changed.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
};

// The template text of a class element: "Name<p1:T1,p2:type>" into the text
// pool, its runs into theSyntaxWriter (both reset first). Parameters whose Use
// names nothing show without ":".
void BuildTemplateText(const ModelT& element);
