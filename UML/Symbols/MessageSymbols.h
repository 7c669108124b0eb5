// The message lines of interactions and activities: a message between
// lifelines, the Create message ending on the head of the lifeline it
// creates, the method call with its activation boxes and return arrow, and
// the flow of activities. None makes an element; the text is the call itself,
// checked against the signals (the method call: the operations) of the type
// of the receiving lifeline.
//
// Sequence order is a message's height on the lifelines: an end on a
// lifeline lies on its centre line below the head, and an end placed within
// 2P of the other end's height levels the message.
#pragma once

#include "UML/Symbols/DependencySymbol.h"

class CMessageSymbol : public CDependencySymbol {
public:
    CMessageSymbol() { mmc = MMC_NONE; }
    // A line from the remembered source to destination, without text or
    // element, each end placed as ConnectLineEnd places it; a lifeline at
    // either end must show an element.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // On a lifeline: its centre line at the point's height, P below the head
    // when the point is higher, levelled within 2P of the other end. On any
    // other target: its middle height at the point's x (a destination within
    // 2P of the start's x goes vertical). Asks no rule and moves no element.
    bool ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC* dc, int end) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The type of the lifeline at the destination (for a timeline, of the
    // timeline's lifeline); defaultId when untyped or missing.
    int GetOwnerElement(const SymbolT& row, int defaultId) override;

protected:
    // The path with an open arrow head at the end, in the pen selected.
    static void DrawArrowPath(const SymbolT& row, CDC* dc);
    // The stereotype line, the selection marks and the coloured text.
    void DrawMessageMarks(const SymbolT& row, CDC* dc);
    // Inserts the line from the remembered source, which is forgotten, to
    // destination; its ID, 0 when refused.
    int InsertMessage(POINT start, POINT end, int pageId, const SymbolT& destination);
};

// Dotted; its destination lies on the side of the created lifeline's head
// that faces its start.
class CCreateSymbol : public CMessageSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    bool ConnectLineEnd(SymbolT& line, const SymbolT* target, POINT point, CDC* dc, int end) override;
};

// Between any two symbols but one and the same.
class CFlowSymbol : public CMessageSymbol {
public:
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
};

// The call arrow into the receiver's activation box, the caller's box and
// the dotted return arrow 500 below; drawn right to left, the boxes mirror.
class CMethodcallSymbol : public CMessageSymbol {
public:
    void Draw(const SymbolT& row, CDC* dc) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
};
