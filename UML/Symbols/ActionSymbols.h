// The nodes of activity and interaction diagrams whose content is a text the
// expression checker reads: actions (statements), action nodes that hold
// other symbols, choices (guards), interaction references, signal sends and
// receipts, and combined fragments with their operands. They show no element:
// a symbol is a SymbolT row only. Every drawn node but the fragment and the
// reference follows one sequence: fill, outline, stereotype, coloured text,
// the children of a container, handles.
#pragma once

#include "UML/Model/Symbol.h"

class CActionSymbol : public CSymbol {
public:
    CActionSymbol() : CActionSymbol(MMC_NONE, MSC_TEXT) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    // 300 beyond the widest text line and the stereotype, 300 below them.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // The middle of the edge facing the reference point, the box's diagonals
    // dividing the plane; a box without width or height takes the edge middle
    // nearest the reference point.
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
    // The text checked as statements; the page is the fallback scope.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The classifier that the enclosing symbol's element is typed by.
    int GetOwnerElement(const SymbolT& row, int defaultId) override;

protected:
    CActionSymbol(int8_t category, int8_t shape) : CSymbol(category, shape) {}
    // The shape between selecting the fill and drawing the texts.
    virtual void DrawOutline(const SymbolT& row, CDC* dc);
    // What a node holds, drawn over its texts and under its handles.
    virtual void DrawInside(const SymbolT&, CDC*) {}
    // The needed size from (x1, y1): exact with Autolayout, else only growing.
    static void FitBox(SymbolT& row, int width, int height);
    // A rounded box 400 beyond its text and stereotype, the text centred.
    void LayoutRounded(SymbolT& row, CDC* dc);
};

// A rounded box that holds child symbols; its text is centred.
class CActionnodeSymbol : public CActionSymbol {
public:
    CActionnodeSymbol() : CActionSymbol(MMC_NONE, MSC_RECTANGLE) {}
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Children first; then the box itself, not its text box alone.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;

protected:
    void DrawOutline(const SymbolT& row, CDC* dc) override;
    void DrawInside(const SymbolT& row, CDC* dc) override;
};

// A diamond twice as wide as its widest line and twice as high as its texts.
class CChoiceSymbol : public CActionSymbol {
public:
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Inside the bounds and within 150 of the diamond; a box without width or
    // height is hit within 150 of its bounds.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    // The guard checked as a call.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;

protected:
    void DrawOutline(const SymbolT& row, CDC* dc) override;
};

// A combined fragment across the page, named in a tab ("alt" when new); its
// operands are the rows whose FID is the fragment, whatever their Type,
// stacked below the tab by their y1. Only its tab and a 300-unit border hit,
// so what lies inside stays reachable.
class CInlineframeSymbol : public CActionSymbol {
public:
    CInlineframeSymbol() : CActionSymbol(MMC_NONE, MSC_RECTANGLE) {}
    // Never inside another symbol.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;

private:
    // The needed width and height of a fragment or operand with text; places
    // its tab.
    static void PlaceTab(SymbolT& row, CDC* dc, int& width, int& height);
    static void DrawTab(const SymbolT& row, CDC* dc);
};

// An interaction use: a box with a "ref" tab whose text names a behaviour.
class CReferenceSymbol : public CActionSymbol {
public:
    CReferenceSymbol() : CActionSymbol(MMC_COMMENT, MSC_RECTANGLE) {}
    void Draw(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // Blue when the whole text names a behaviour in scope, grey otherwise.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
};

// A pentagon pointing right whose text is a signal with its arguments.
class CSendSymbol : public CActionSymbol {
public:
    CSendSymbol() : CActionSymbol(MMC_NONE, MSC_RECTANGLE) {}
    void DrawShadow(const SymbolT& row, CDC* dc) override;
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;

protected:
    void DrawOutline(const SymbolT& row, CDC* dc) override;
};

// The Send's text and layout in a box notched on its right side.
class CReceiveSymbol : public CSendSymbol {
public:
    void DrawShadow(const SymbolT& row, CDC* dc) override;

protected:
    void DrawOutline(const SymbolT& row, CDC* dc) override;
};
