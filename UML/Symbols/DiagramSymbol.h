// Diagrams: model elements whose children are their pages; a diagram is never
// drawn as a symbol itself. One prototype per diagram key, each carrying its
// own key; the page controller of each kind keeps the prototype of its key.
#pragma once

#include "UML/Model/Symbol.h"

extern const char* const kDiagramKeys[12];

class CDiagramSymbol : public CSymbol {
public:
    CDiagramSymbol() : CSymbol(MMC_DIAGRAM, static_cast<int8_t>(MSC_NONE)) {}
    // The diagram, then at once its first page when Page has a prototype; the
    // caller's undo group holds both. The diagram's ID, 0 when refused.
    int CreateElement(int ownerId, const char* name, const char* guid, const char* use) override;
    // Head, one picture per page in SN order, each an SVG named
    // after the page ("Classdiagram12_0.svg") and titled with this diagram's
    // name. Needs the main view, whose context measures the text; without it
    // nothing is written (false). The open page state is left as it was.
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;
    // Name and Type only: a diagram has no stereotype, visibility or file.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
};
