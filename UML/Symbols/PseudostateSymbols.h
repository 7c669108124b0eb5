// The fixed-shape pseudostates of state machines and activities: initial and
// final nodes, flow final, history, terminate, and the fork and join bar. None
// shows an element: a symbol is a SymbolT row only. The circle family keeps a
// fixed square from the top-left corner whatever size was drawn.
#pragma once

#include "UML/Model/Symbol.h"

// Initial, Unknownobject and Start: a black disc 400 across; lines end on its
// circle.
class CInitialSymbol : public CSymbol {
public:
    CInitialSymbol() : CInitialSymbol(MSC_ELLIPSE, 400) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;

protected:
    CInitialSymbol(int8_t shape, int side);
    // The circle of the fixed square in the current brush and pen.
    void DrawCircle(const SymbolT& row, CDC* dc) const;
    // The selection handles of the family, grey.
    static void DrawHandles(const SymbolT& row, CDC* dc, int style);
    // Edge of the fixed square in page units.
    const int side_;
};

// Final and Return: a ringed disc 520 across with its text on the right; the
// text is checked as a call.
class CFinalSymbol : public CInitialSymbol {
public:
    CFinalSymbol() : CInitialSymbol(MSC_ELLIPSE, 520) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // No runs for an empty text.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
};

class CFlowfinalSymbol : public CInitialSymbol {
public:
    CFlowfinalSymbol() : CInitialSymbol(MSC_ELLIPSE, 520) {}
    void Draw(const SymbolT& row, CDC* dc) override;
};

class CHistorySymbol : public CInitialSymbol {
public:
    CHistorySymbol() : CInitialSymbol(MSC_ELLIPSE, 520) {}
    void Draw(const SymbolT& row, CDC* dc) override;
};

// A cross 520 across; lines end at its centre (side 6).
class CTerminalSymbol : public CInitialSymbol {
public:
    CTerminalSymbol() : CInitialSymbol(MSC_RECTANGLE, 520) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
};

// A black bar 200 thick and at least 500 long, lying along the longer side of
// the box drawn.
class CForkSymbol : public CSymbol {
public:
    CForkSymbol() : CSymbol(MMC_NONE, MSC_RECTANGLE) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
};
