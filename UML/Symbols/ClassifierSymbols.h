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

// Places the member lines of mmc in box from top f, each extra wider than its
// text (P for attributes), and stores them; the bottom after them. width grows
// to the widest text; box gets bit 16 when there is any.
int PlaceBoxMembers(SymbolT& box, CDC* dc, int mmc, int f, int extra, int& width);
// Draws with key's prototype the member lines whose bottom is above limit; the
// lowest bottom drawn, or top when none was.
int DrawBoxMembers(const SymbolT& box, CDC* dc, int mmc, const char* key, int top, int limit);
// Offers the point to each member line, c following the lines' bottoms.
bool HitBoxMembers(POINT p, const SymbolT& box, int mmc, const char* key, int& c, HitSymbol& out);
// The insertion band c + from <= y <= c + F + from: a new-member hit of Type
// key (ID 0, FID the box, the band as text box, selected, no text).
bool HitMemberBand(POINT p, const SymbolT& box, int c, int from, const char* key, HitSymbol& out);

// Sizes a laid-out box to bottom and width (exactly with Autolayout, else
// only growing) and centres the name of tw x th under the stereotype lines of
// height sh.
void FitBox(SymbolT& row, int bottom, int width, int tw, int th, int sh);

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
    // Autolayout, Symbol color and Collapse, then the stereotype chooser for a
    // box without element; read-only for a read-only box.
    COptionTreeItem* AddSymbolProperties(const SymbolT& row, COptionTree* grid) override;
    // The base rows, then Collapse by its key.
    bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category) override;

protected:
    // The box, its name (with its colour runs when runs is set), stereotype,
    // active bars and handles.
    void DrawPlainBox(const SymbolT& row, CDC* dc, bool runs);
    // The one compartment of a box with a single member list (mmc drawn by
    // key's prototype) between its two lines.
    void DrawCompartment(const SymbolT& row, CDC* dc, int mmc, const char* key);
    // A box with a single member list: its lines, the band from c to c + F
    // under them, else the box. A collapsed box is a plain box.
    bool HitCompartment(POINT p, const SymbolT& row, int mmc, const char* key, HitSymbol& out);
};

// Class and Artifact: the box of a ModelClass element, its name followed by
// its template parameters in angle brackets, with ports and interface ends
// (child rows of Type Port, Realized and Required) on its border.
class CClassSymbol : public CExtendedElement<CInterfaceSymbol, ModelClass> {
public:
    // The box, then its ports and interface ends.
    void Draw(const SymbolT& row, CDC* dc) override;
    // The box, then its ports, then its interface ends on the border.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // A port or interface end first, then the box.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // The name, and with "<...>" after it, the template parameters.
    bool RenameElement(const SymbolT& row) override;
    // The template text with its colour runs, the Active bit and the
    // stereotype; writes the row only when one of them changed.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    // The base rows, then Abstract and Active.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
};

// Artifact: a class box under a metaclass name of its own.
class CArtifactSymbol : public CClassSymbol {};

// The template text of a class element: "Name<p1:T1,p2:type>" into the text
// pool, its runs into theSyntaxWriter (both reset first). Parameters whose Use
// names nothing show without ":".
void BuildTemplateText(const ModelT& element);
