// States of state machine diagrams and the levels of a timing lifeline. A
// state's text names a State element: inside a symbol whose element is typed
// by a classifier, the text is looked up among the states of that
// classifier's state machines, coloured by whether one exists, and on commit
// (and when a loaded page is completed) the symbol takes the state it names.
// Colouring itself writes nothing, since the editor colours unsaved text.
#pragma once

#include "UML/Symbols/ActionSymbols.h"

#include <string>

class CStateSymbol : public CActionSymbol {
public:
    CStateSymbol() : CActionSymbol(MMC_COMMENT, MSC_RECTANGLE) {}
    // A dropped state shows itself, inside a symbol only when it belongs to a
    // state machine of the classifier that symbol's element is typed by;
    // otherwise a new state under the diagram's owner.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Takes the state the text names, then renames the element shown.
    bool RenameElement(const SymbolT& row) override;
    bool TakeNamedElement(SymbolT& row, std::string& guid) override;
    // 0xC02040 at the top level or when the named state exists, else grey.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;

protected:
    void DrawOutline(const SymbolT& row, CDC* dc) override;
    // The GUID of the state the row's text names, empty for none; false at
    // the top level, where nothing is looked up.
    static bool FindNamedState(const SymbolT& row, std::string& guid);
};

// A level of a timing lifeline: its name at the left, vertically centred in
// a band the lifeline stacks; the timelines starting at it lie on its middle
// and its durations along its bottom.
class CTimestateSymbol : public CStateSymbol {
public:
    // Only on a timing lifeline; diagram-only unless a state is dropped.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // The band keeps its size.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};
