// Dependency and Realization: the plain relationship lines. A dependency is a
// dotted line with an open arrow head, a realization a solid line with a
// closed triangle; the element is a ModelT row only. The message lines derive
// from CDependencySymbol.
#pragma once

#include "UML/Symbols/RelationshipLine.h"

class CDependencySymbol : public CRelationshipLine<CSymbol> {
public:
    CDependencySymbol() : CRelationshipLine<CSymbol>(MMC_RELATION, MSC_LINE) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    // Text and Stereotype from the element, with one black run; 0 when both
    // already agree.
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    // The base rows, then the type row, read-only while a line shows the
    // element: its destination decides Use.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // The name, "<<stereotype>>" and the destination's name, run together.
    const char* GetLabel(const ModelT& element) override;

protected:
    // The stereotype line, the selection marks and the text: what every
    // dependency-like line draws after its path and head.
    void DrawLineMarks(const SymbolT& row, CDC* dc);
};

class CRealizationSymbol : public CDependencySymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    // The realized element's name.
    const char* GetLabel(const ModelT& element) override;
};
