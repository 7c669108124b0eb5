// The marks placed on lifelines of sequence and timing diagrams: the stop
// cross, the coregion bracket, the duration constraints and the timeline
// segments of a timing lifeline. Each lies inside the symbol it was placed on
// (FID), except a timeline, which lies inside the state it starts from and
// names its lifeline as SrcID.
#pragma once

#include "UML/Symbols/PseudostateSymbols.h"

// At most one per lifeline (a symbol with an SGUID), inside it.
class CLifelinestopSymbol : public CInitialSymbol {
public:
    CLifelinestopSymbol() : CInitialSymbol(MSC_RECTANGLE, 460) {}
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
};

// 330 wide, at least 800 high.
class CCoregionSymbol : public CInitialSymbol {
public:
    CCoregionSymbol() : CInitialSymbol(MSC_RECTANGLE, 330) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
};

// A vertical duration constraint, 400 wide and at least 800 high, only on
// another symbol.
class CDurationSymbol : public CInitialSymbol {
public:
    CDurationSymbol() : CInitialSymbol(MSC_RECTANGLE, 400) {}
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
};

// The horizontal form of timing diagrams, at least 600 wider than its text.
class CTimedurationSymbol : public CDurationSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
};

// A horizontal segment from the end of the lifeline's last timeline (or the
// click) to the click, at least 150 long, made by clicking a timing state.
class CTimelineSymbol : public CSymbol {
public:
    CTimelineSymbol() : CSymbol(MMC_NONE, MSC_RECTANGLE) {}
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
};
