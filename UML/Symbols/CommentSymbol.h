// Comments and constraints: notes with a folded corner whose text is the
// element's Name, possibly several lines; the symbol's Text repeats it. The
// whole note text takes one colour, the class's.
#pragma once

#include "UML/Model/Symbol.h"

class CCommentSymbol : public CSymbol {
public:
    CCommentSymbol() : CSymbol(MMC_COMMENT, MSC_TEXT) {}
    // A dropped element lends its Name; otherwise a new element named text
    // (no default name) under the element the enclosing symbol shows, or the
    // owner of the page's diagram.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // Two-pixel strips, the right one starting below the fold.
    void DrawShadow(const SymbolT& row, CDC* dc) override;
    // With Autolayout the note is exactly its lines plus 400 each way;
    // without it only grows and the text box stays.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // At most the first 63 characters of the Name, then "..."; empty for an
    // empty Name. The text lives until the next call.
    const char* GetLabel(const ModelT& element) override;
    // Only Name and GUID: a note has no stereotype or visibility.
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    // Name, several lines, and Type.
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    // The base page with the Name row only.
    bool WriteHtmlPage(const char* folder, const ModelT& element) override;

protected:
    CCommentSymbol(COLORREF colour) : CSymbol(MMC_COMMENT, MSC_TEXT), colour_(colour) {}

private:
    COLORREF colour_ = 0xC02040;
};

class CConstraintSymbol : public CCommentSymbol {
public:
    CConstraintSymbol() : CCommentSymbol(0x008000) {}
};
