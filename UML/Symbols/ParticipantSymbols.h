// The participants of interactions and activities, each a typed element whose
// text is "name:Type[multiplicity]": the actor (a stick figure), the lifeline
// of sequence diagrams (a head box over a line down the page, holding stop
// marks, executions and durations, where messages end), the partition or
// swimlane of activities (a lane with a header strip, around what it holds)
// and the timing lane (across the page, stacking its time states and
// chaining its timelines). Each layout also lays out and stores its
// children, so moving or resizing a participant moves what it holds.
#pragma once

#include "UML/Symbols/MemberSymbols.h"

// A participant or use case placed on the page or inside the container: a
// dropped element must exist and, inside a container that shows an element,
// belong to it; it keeps its own metaclass in Model. Otherwise a new element
// under the container's element or the diagram's owner. The symbol text is
// the given one (the dropped element's name when empty, or always when
// nameFromElement). The new symbol's ID, 0 when refused.
int CreateShownElementSymbol(CSymbol& prototype, POINT start, POINT end, int pageId, const char* text,
                             const char* elementGuid, const SymbolT* container, bool nameFromElement);

// 500 x 1050 with the text below; lines aim at the figure's centre.
class CActorSymbol : public CAttributeSymbol {
public:
    CActorSymbol() { msc = MSC_RECTANGLE; }
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
};

// The head box fits its text exactly; children are centred on the line below
// it. A message end lies on the centre line below the head, or, for an end
// above it, on the head's side facing the reference point.
class CLifelineSymbol : public CActorSymbol {
public:
    CLifelineSymbol() { msc = MSC_LIFELINE; }
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Children first, then the head box or the 300-wide column of the line.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
    // Called once the moved row is stored, its line ends having moved with
    // it: every end goes back to the centre line at its height, out of the
    // head, none passing another; a Create ending here goes to the head's
    // side facing its start.
    void UpdateAttachedLines(const SymbolT& moved, CDC* dc) override;
};

// A swimlane: the header strip lies at the top of a lane taller than wide,
// else at the left (ItemState 8 set for the top). The lane grows around its
// children and never reaches over them with its header.
class CPartitionSymbol : public CLifelineSymbol {
public:
    CPartitionSymbol() { msc = MSC_RECTANGLE; }
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};

// A lane of a timing diagram across the usable page. Each layout restacks
// its time states by y1 (a drag reorders them), each 2h + 300 high below the
// name, and chains its timelines (the lines whose SrcID is the lane) by x2,
// from 150 right of the widest state name on.
class CTimelifelineSymbol : public CLifelineSymbol {
public:
    CTimelifelineSymbol() { msc = MSC_RECTANGLE; }
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};
