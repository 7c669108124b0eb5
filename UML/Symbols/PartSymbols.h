// Parts, object nodes and pins: typed elements (a ModelT row with a
// ModelAttribute row, composite when new) drawn as boxes. A part sits inside
// a classifier box or another container, shows "name:Type[multiplicity]" and
// holds child symbols (its ports); an object node is a plain box; a pin is a
// 400 x 400 square on its action's border with its name outside.
//
// Part ItemState bits: 1 Autolayout, 16 has child symbols, 128 selected.
#pragma once

#include "UML/Symbols/MemberSymbols.h"

class CPartSymbol : public CAttributeSymbol {
public:
    CPartSymbol();
    // A part needs a container that shows an element, its owner; object nodes
    // and pins go to the owner of the page's diagram. A dropped classifier
    // types a new element; any other dropped element is shown (a part's only
    // when the owner owns it).
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // Name, type after a ":" and a bracketed multiplicity; a changed type
    // deletes the child symbols (not their elements), which belonged to the
    // old one.
    bool RenameElement(const SymbolT& row) override;
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    // Sized around the text, never shrinking without Autolayout; the child
    // symbols are laid out inside.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // A child symbol first, then the box.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;

protected:
    void InitExtension(ModelAttribute& row) override;
};

// The plain box of a symbol.
class CObjectnodeSymbol : public CPartSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};

class CPinSymbol : public CPartSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    // Onto the nearest side of the container, the text outside it. Without a
    // container the pin keeps its place as a square with its name on the
    // right, and reports a change only when that moved anything.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // From the pin's centre towards the reference point.
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
};
