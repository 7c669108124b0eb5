// Relationship lines: a line between two symbols that shows a relationship
// element owned by the element at the source end (FID) and naming the
// element at the destination end (Use). The row's SrcID and DestID hold the
// end symbols' SGUIDs; the line layout keeps both ends on their borders.
//
// The line tool asks CanConnect about the symbol under the press (source)
// and the one under the release (destination); the source asked about last is
// remembered in the prototype and read, then forgotten, by CreateSymbol. Every
// line kind with an element takes these operations from CRelationshipLine,
// whatever its element class.
#pragma once

#include "UML/Model/LinePath.h"
#include "UML/Model/Symbol.h"
#include "UML/Symbols/ExtendedElement.h"

#include <string>

// The label text that line labels share: at most 455 bytes, never ending
// inside a character. Valid until the next label is built.
const int kLineLabelSize = 456;
// Empties the label and returns it.
const char* ClearLineLabel();
// Appends at most maxCharacters characters of text (all for -1) as far as
// they fit whole, and returns the label.
const char* AppendLineLabel(const char* text, int maxCharacters = -1);

// The ends of an existing relationship element placed on the page by a drop
// on the symbol dropped, and its name: from dropped, which must show the
// element's owner, to the page's symbol of its Use element. False when the
// element is already on the page, missing, without Use or either end fails.
bool EndsOfPlacedElement(const char* elementGuid, int pageId, const SymbolT& dropped, HitSymbol& from,
                         HitSymbol& to, std::string& name);
// Inserts the line row from to to; its ID, 0 when refused.
int InsertLineSymbol(CSymbol& prototype, POINT start, POINT end, int pageId, const std::string& text,
                     const std::string& elementGuid, const HitSymbol& from, const HitSymbol& to);
// Creates a line of prototype's kind from the remembered source to
// destination. Drawn by the user (no elementGuid): a new element named text
// under the source's element, used by the destination's. An existing element
// (elementGuid): destination is the symbol it was dropped on, which must show
// the element's owner, and the line runs from there to the page's symbol of
// its Use element. The new symbol's ID, 0 when refused.
int CreateRelationshipLine(CSymbol& prototype, const HitSymbol& source, POINT start, POINT end, int pageId,
                           const char* text, const char* elementGuid, const SymbolT* destination);

// Handles on the ends and the label box of a selected line.
void DrawLineSelection(const SymbolT& row, CDC* dc);
// The label text at (tx1, ty1) in plain black, when there is one.
void DrawLineText(const SymbolT& row, CDC* dc);

template <class Base>
class CRelationshipLine : public Base {
public:
    using Base::Base;

    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                     const SymbolT* related) override
    {
        const int id = CreateRelationshipLine(*this, source_, start, end, pageId, text, elementGuid, related);
        source_.Clear();
        return id;
    }

    // Both ends onto their symbols' borders and the label placed; 0, with the
    // line left where it stands, when an end symbol is missing.
    int Layout(SymbolT& row, CDC* dc, const SymbolT*) override { return this->FitLineEnds(row, dc) ? 1 : 0; }

    // Within 150 units of a segment, or inside the label box.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override
    {
        if (!HitTestLine(point, row, nullptr))
            return false;
        out.Set(row);
        return true;
    }

    // A source end is remembered before the metamodel's rule decides.
    bool CanConnect(const SymbolT& target, bool source) override
    {
        if (source)
            source_.Set(target);
        return Base::CanConnect(target, source);
    }

protected:
    // The source end the last CanConnect for a source was asked about, or a
    // cleared record.
    const HitSymbol& RememberedSource() const { return source_; }
    void RememberSource(const SymbolT& row) { source_.Set(row); }
    void ForgetSource() { source_.Clear(); }

private:
    HitSymbol source_;
};
