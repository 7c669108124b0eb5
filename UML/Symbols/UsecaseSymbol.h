// Use cases and junctions. A use case is a behaviour (it keeps an operation's
// ModelOperation row) with a second extension row, ModelUsecase, holding its
// estimates and author; its symbol is an ellipse around the name or, with
// ItemState 2, a user-story box whose story is a Comment symbol inside it.
// Lines read and write the three rows of a use case in the order ModelT,
// ModelOperation, ModelUsecase: a column goes to the first that has it.
//
// A junction is a small labelled ellipse with no element; junctions labelled
// alike on the pages of one diagram belong together, and the label of one at
// which a line ends shows whether such a partner exists.
#pragma once

#include "UML/Symbols/MemberSymbols.h"

class CUsecaseSymbol : public COperationSymbol {
public:
    CUsecaseSymbol();
    int CreateElement(int ownerId, const char* name, const char* guid, const char* use) override;
    // On the page or inside a symbol whose element owns it; a dropped
    // element lends its name.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    void Draw(const SymbolT& row, CDC* dc) override;
    // The text is the element's Name, as for a plain symbol.
    bool RenameElement(const SymbolT& row) override;
    int SyncFromElement(const ModelT& element, const SymbolT& row, oid_t oid) override;
    // An ellipse is 600 larger than its text block; a user-story box fits its
    // story below the name.
    int Layout(SymbolT& row, CDC* dc, const SymbolT* related) override;
    // A click below the name of a user story without a story is a new-member
    // hit of Type "Comment" inside the use case.
    bool HitTest(POINT point, const SymbolT& row, HitSymbol& out) override;
    int GetAttachPoint(const SymbolT& target, int& x, int& y, int refX, int refY) override;
    int LoadElementXml(CXmlFile& xml, ModelT& record, int ownerId, char* path) override;
    void SaveElementXml(CXmlFile& xml, const ModelT& element) override;
    int GetElementField(const ModelT& element, const char* column, char* buffer, int size) override;
    int InsertElementFields(const ColumnValueList& pairs) override;
    // False, with nothing written, unless all three rows exist.
    bool UpdateElementFields(int elementId, const ColumnValueList& pairs) override;
    COptionTreeItem* AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid) override;
    int ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root) override;
    // Autolayout, colour and "Show user story", with the stereotype chooser
    // of a symbol without an element.
    COptionTreeItem* AddSymbolProperties(const SymbolT& row, COptionTree* grid) override;
    bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category) override;
    void DeleteElement(int elementId) override;
    size_t FlattenElement(void* buffer, const ModelT& element) override;
    size_t FlatElementSize(const ModelT& element) override;
    size_t PasteElement(const void* image, size_t size, PasteIdMap& map) override;
};

class CJunctionSymbol : public CUsecaseSymbol {
public:
    CJunctionSymbol() { mmc = MMC_NONE; }
    // A default label, no element, on the page only.
    int CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc, const char* elementGuid,
                     const SymbolT* related) override;
    // Black while no line ends here; else 0xC02040 when a junction labelled
    // alike lies on a page of the same diagram, grey when none does.
    const char* MakeSyntax(const SymbolT& row, int scopeId) override;
    // The base rows: a junction has no user-story form.
    COptionTreeItem* AddSymbolProperties(const SymbolT& row, COptionTree* grid) override;
    bool ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category) override;
};
