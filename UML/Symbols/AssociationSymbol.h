// Association: a relationship line whose element is typed like an attribute
// (a ModelAttribute row beside it): a property of the source classifier typed
// by the destination. The line shows "name[multiplicity]", an open arrow head
// at the destination while navigable, and at the source a hollow (shared) or
// filled (composite) diamond.
#pragma once

#include "UML/Symbols/MemberSymbols.h"
#include "UML/Symbols/RelationshipLine.h"

class CAssociationSymbol : public CRelationshipLine<CAttributeSymbol> {
public:
    CAssociationSymbol();
    void Draw(const SymbolT& row, CDC* dc) override;
    // The first word becomes the name, a further one (brackets optional) the
    // multiplicity; both ends are re-linked from the line's end symbols, an
    // end whose symbol or element cannot be read keeping its link. False,
    // with nothing written, for a text without a word or a missing element.
    bool RenameElement(const SymbolT& row) override;
    // "name[multiplicity]" with its runs and the element's stereotype.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The attribute's rows, the type read-only while a line shows the
    // element, and Navigable last.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;

protected:
    // A new association is navigable and has no aggregation.
    void InitExtension(ModelAttribute& row) override;
};
