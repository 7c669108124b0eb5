// Stereotype definitions: a classifier box whose attribute lines are the
// stereotype's tag definitions. The element is a plain ModelT row whose Use
// names the extended metaclass (not a GUID); the box's Stereotype field holds
// a copy of that name and shows as a second guillemet line. A collapsed
// stereotype is a plain box: no compartment, no band.
#pragma once

#include "UML/Symbols/ClassifierSymbols.h"

class CStereotypeSymbol : public CInterfaceSymbol {
public:
    CStereotypeSymbol();
    void Draw(const SymbolT& row, CDC* dc) override;
    // Text = Name, Stereotype = Use; writes only when either differs.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // "Base properties": Name, Type (read-only) and the base-type chooser.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // Removes the stereotype, clears it from every element and symbol that
    // carried it with their links and values, and marks each changed element's
    // unit modified.
    void DeleteElement(int elementId) override;
    void DrawStereotype(CDC* dc, const SymbolT& row) override;
    void MeasureStereotype(int& width, int& height, const SymbolT& row, int charWidth) override;

    // The chooser of the extended metaclass, keyed "Use": every registered
    // metaclass in byte order, current selected; read-only, current alone.
    static void AddBaseTypeRow(COptionTreeItem* category, COptionTree* grid, const char* label, const char* current,
                               bool readOnly);
};
