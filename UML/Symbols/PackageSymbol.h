// Packages and the system package: a folder whose tab stands 300 above the
// top-left corner and whose body grows around the symbols placed inside it
// that the metamodel lets it hold. ItemState bit 0x10 marks a package symbol
// with child symbols; the package draws and hit-tests them itself.
#pragma once

#include "UML/Model/Symbol.h"

class CPackageSymbol : public CSymbol {
public:
    CPackageSymbol() : CSymbol(MMC_NAMESPACE, MSC_RECTANGLE) {}
    // The owner is the element the container shows, else the owner of the
    // page's diagram. A dropped package moves into the owner, unless it is
    // fixed or the owner lies inside it (its ownership would loop); a new one
    // takes text or a default name.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Children first (the first hit wins), then the body or the tab.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;

    // Lays out and stores each child and grows the package around the
    // children it may hold; true when it has children.
    bool FitChildren(SymbolT& row, CDC* dc);
};
