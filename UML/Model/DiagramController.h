// CDiagramController: shows one page of one diagram. It holds no model data:
// symbols are SymbolT rows, read with cursors and drawn and hit-tested through
// the prototype of each row's Type. One controller exists per diagram kind.
//
// Painting order: top-level symbols in ascending ID, each drawing its own
// children, so the most recent top-level symbol is on top; hit testing walks
// the same rows in descending ID so it finds what is drawn on top.
#pragma once

#include "Platform/Geometry.h"
#include "UML/Model/Symbol.h"

class CColorEdit;
class CDC;

class CDiagramController {
public:
    // The kinds whose painting and hit order differ from the base.
    enum Order { PlainOrder, PartitionsBelow, LifelinesBelow };

    CDiagramController(const char* kindKey, Order order = PlainOrder);
    virtual ~CDiagramController() = default;
    CDiagramController(const CDiagramController&) = delete;
    CDiagramController& operator=(const CDiagramController&) = delete;

    virtual void DrawPage(CDC* dc);
    // The symbol under point into out; false, with out cleared, when none.
    virtual bool HitTest(POINT point, HitSymbol& out);
    // Binds the controller to the diagram the view opens, with the view's
    // in-place text editor; the view chooses the page afterwards.
    virtual void Attach(int ownerId, int diagramId, CColorEdit* editor);

    // Makes a page of the diagram current: pageId, or the first page for 0 or
    // less. Returns its index; -1, "no page", for a diagram without pages or a
    // pageId that is not one of them (the page state then stays as it was, but
    // for the page count).
    int OpenPage(int diagramId, int pageId);
    bool GoToPage(int n);
    bool NextPage();
    bool PrevPage();

    void DrawPageBorder(CDC* dc);
    void DrawTracking(CDC* dc);
    void DrawSymbolRecord(CDC* dc, const SymbolT& row);

    // Lays out again every symbol of the element; true when one of them lies on
    // the current page.
    bool RelayoutElementSymbols(int elementId, CDC* dc);

    int GetSelectionCount() const { return SelectionCount; }
    const HitSymbol* GetCurrentSymbol() const { return SelectionCount > 0 ? &Current : nullptr; }

    // The symbol whose text is open in Editor; -1 when none is open.
    int EditSymbolId = 0;
    CColorEdit* Editor = nullptr;
    CSymbol* KindPrototype = nullptr;
    int HotHandle = -1;
    int Mode = 12;
    POINT CurrentPoint{0, 0};
    POINT PressPoint{0, 0};
    RECT Tracking{0, 0, 0, 0};
    int Dragged = 0;
    int OwnerId = 0;
    HitSymbol Current;
    int SelectionCount = 0;

private:
    // Draws or hit-tests one row through its prototype; rows of unknown kinds
    // are skipped.
    void DrawRow(CDC* dc, const SymbolT& row);
    bool SetPage(int pageId, int index);
    Order order_;
};
