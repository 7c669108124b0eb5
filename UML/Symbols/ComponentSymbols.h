// Components, compositions, nodes and subjects: classifier elements whose
// symbols are containers instead of boxes with compartments. Every symbol
// whose FID is theirs is drawn, hit-tested and laid out through them, and the
// container grows to take in what it holds (never shrinking by itself). Ports
// and interface ends sit on the border: they are laid out last, against the
// final bounds, and never widen it.
//
// ItemState bits as for classifier boxes; 16 records contained symbols.
#pragma once

#include "UML/Symbols/ClassifierSymbols.h"

class CComponentSymbol : public CClassSymbol {
public:
    // A new element under the container's element (or the diagram's owner);
    // a dropped element is moved under the container's element unless that
    // lies below it (refused) or either is read-only (shown where it is).
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    // The box with its active bars, then the contained symbols.
    void Draw(const SymbolT& row, CDC* dc) override;
    // Grows around the text, then ArrangeAttached; places the text. Returns 1.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // A contained symbol first, then the bounds.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category) override;
    // Lays out the contained symbols, border symbols last, growing row around
    // those GrowsAround accepts; true when there is any.
    virtual bool ArrangeAttached(SymbolT& row, CDC* dc);

protected:
    // Every child with a prototype except the border symbols.
    virtual bool GrowsAround(const SymbolT& child, bool hasPrototype) const;
    // Whether a dropped element moves under the container's element.
    virtual bool MovesDropped() const { return true; }
};

// Grows only around parts.
class CCompositionSymbol : public CComponentSymbol {
protected:
    bool GrowsAround(const SymbolT& child, bool hasPrototype) const override;
};

// A three-dimensional box; a dropped element never moves.
class CNodeSymbol : public CComponentSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;

protected:
    bool MovesDropped() const override { return false; }
};

// The system boundary of a use case diagram: an outline with its name in the
// top left corner, always on the page itself and owned by the diagram's owner.
class CSubjectSymbol : public CClassSymbol {
public:
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // Grows around the text and every contained symbol whose layout did
    // something. Returns 1.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Inside the bounds: a contained symbol, else the subject.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category) override;
    // The default and the own stereotype, left-aligned at tx1.
    void DrawStereotype(CDC* dc, const SymbolT& row) override;
};
