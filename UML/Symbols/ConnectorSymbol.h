// Connector and Performance. A connector is a plain relationship line, for
// example between parts and ports. A performance joins an actor and a use
// case only, always with the use case as its source, at most once per pair of
// symbols and page; a pair joined again on another page reuses the element.
#pragma once

#include "UML/Symbols/RelationshipLine.h"

class CConnectorSymbol : public CRelationshipLine<CSymbol> {
public:
    CConnectorSymbol() : CRelationshipLine<CSymbol>(MMC_RELATION, MSC_LINE) {}
    // The path without a head, the stereotype line and the text.
    void Draw(const SymbolT& row, CDC* dc) override;
    // The name and a blank when named, then the destination's name.
    const char* GetLabel(const ModelT& element) override;
};

class CPerformanceSymbol : public CConnectorSymbol {
public:
    // Actors and use cases only, and never two of one kind: the source end is
    // remembered without a metamodel rule, a destination must differ from
    // it in kind.
    bool CanConnect(const SymbolT& target, bool source) override;
    // Orders the ends so the use case is the source, then refuses a pair
    // already joined on the page and reuses an element of the use case used
    // by the actor.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;

private:
    HitSymbol end_;
};
