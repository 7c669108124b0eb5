// Enumerations: a classifier box with one compartment of literal lines
// (symbol rows of MMC 4 whose FID is the box, in ID order), each showing a
// Literal element owned by the enumeration's element. Neither has an
// extension row; a literal's text is its name. A collapsed enumeration is a
// plain box: no compartment, no band.
#pragma once

#include "UML/Symbols/ClassifierSymbols.h"

class CEnumerationSymbol : public CInterfaceSymbol {
public:
    CEnumerationSymbol() = default;
    void Draw(const SymbolT& row, CDC* dc) override;
    // As a classifier box, without the 1200 minimum width and with one
    // compartment of literals above a band of 2F + 2P.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};

class CLiteralSymbol : public CSymbol {
public:
    CLiteralSymbol();
    // A line inside a box that shows an element: a new literal named text (a
    // default name when empty), or a dropped literal of that element.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
};
