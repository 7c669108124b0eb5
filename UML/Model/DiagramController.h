// CDiagramController: shows one page of one diagram. It holds no model data:
// symbols are SymbolT rows, read with cursors and drawn and hit-tested through
// the prototype of each row's Type. One controller exists per diagram kind.
//
// Painting order: top-level symbols in ascending ID, each drawing its own
// children, so the most recent top-level symbol is on top; hit testing walks
// the same rows in descending ID so it finds what is drawn on top.
//
// A gesture runs from OnMouseDown through OnMouseMove to OnMouseUp, which
// always ends it in Idle. Moves change only the tracking figure; the press and
// the release write the model. Selection is bit SYMBOL_CHECKED of a row's
// ItemState, written with the engine's plain update (never undone, never
// saved); SelectionCount counts the selected rows of the page.
#pragma once

#include "Platform/Geometry.h"
#include "Platform/Types.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"

#include <vector>

class CColorEdit;
class CDC;
class CWnd;

// The pages of a diagram in SN order: the element IDs of its children.
std::vector<int> PagesOf(int diagramId);

class CDiagramController {
public:
    // The kinds whose painting and hit order differ from the base.
    enum Order { PlainOrder, PartitionsBelow, LifelinesBelow };

    // Gesture modes (Mode).
    enum GestureMode {
        RubberBand = 1,
        MoveBoxes = 4,
        MoveLabel = 5,
        DragLineEnd = 6,   // HotHandle 0 the start, 1 the end, 2 + k bend point k
        DrawNewLine = 7,
        ResizeBox = 8,     // HotHandle 0 the top-left, 1 the bottom-right corner
        DropAllowed = 9,   // a browser element over a spot that takes it
        DropRefused = 10,
        Idle = 12,
    };
    // Results of the mouse operations: what the view repaints and whether it
    // marks the diagram's unit modified (ModelChanged and up).
    enum Result {
        NoChange = 0,
        SelectionChanged = 1,
        BandChanged = 2,
        ModelChanged = 4,
        SymbolCreated = 5,
        BendPointRemoved = 6,
    };

    CDiagramController(const char* kindKey, Order order = PlainOrder);
    virtual ~CDiagramController() = default;
    CDiagramController(const CDiagramController&) = delete;
    CDiagramController& operator=(const CDiagramController&) = delete;

    virtual void DrawPage(CDC* dc);
    // The symbol under point into out; false, with out cleared, when none.
    virtual bool HitTest(POINT point, HitSymbol& out);
    // Mouse input in page units with the MK_ key flags; each returns a Result.
    virtual int OnMouseDown(UINT flags, POINT point, CDC* dc);
    virtual int OnMouseUp(UINT flags, POINT point, CDC* dc);
    // Selects a symbol under point and shows the menu of the page's edit
    // commands through the shell; true.
    virtual bool OnContextMenu(UINT flags, POINT point, CDC* dc, CWnd* owner, POINT screen);
    // Shows the element of the symbol under point in the model browser (with
    // Ctrl the element it uses); elsewhere a press.
    virtual int OnDoubleClick(UINT flags, POINT point, CDC* dc);
    virtual int OnMouseMove(UINT flags, POINT point, CDC* dc);
    // Deletes the selected symbols, with withElements their elements too;
    // true when anything was selected.
    virtual bool DeleteSelection(bool withElements, CDC* dc);
    // Selects every top-level symbol of the page; true when one changed.
    virtual bool SelectAll();
    // Binds the controller to the diagram the view opens, with the view's
    // in-place text editor; the view chooses the page afterwards.
    virtual void Attach(int ownerId, int diagramId, CColorEdit* editor);

    // Moves the selected symbols that are not lines by (dx, dy), each clamped
    // to the usable page; symbols inside a selected symbol move with it. True
    // when one moved.
    bool MoveSelection(CDC* dc, int dx, int dy);
    // Opens the in-place editor over the record's text box at the click
    // point; ownerId scopes the colouring of the typed text. Enter breaks
    // lines only in the shaped text kinds.
    void BeginTextEdit(int ownerId, POINT point, const SymbolT& record, CDC* dc, CSymbol* prototype);
    // Ends an open edit: without a context the typed text is dropped; with
    // one the symbol takes the text (a new symbol is made for an edit opened
    // on an empty member band) and its element is renamed. True when the
    // model took a text.
    bool CommitTextEdit(CDC* dc);
    // Sets or clears the selected bit of the page's rows (id < 0: all of them);
    // returns the new SelectionCount.
    int SetSelection(int pageId, bool select, int id);
    // The diagram cursor index last chosen by a gesture.
    int GetCursorIndex() const { return cursorIndex_; }
    // The menu the last OnContextMenu showed.
    const std::vector<ContextMenuItem>& GetContextMenu() const { return menu_; }

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
    // The next paint lays out the page's symbols that were never laid out:
    // rows written by something else than the page's own gestures.
    void ScheduleLayout() { layoutPending_ = true; }

    int GetSelectionCount() const { return SelectionCount; }
    const HitSymbol* GetCurrentSymbol() const { return SelectionCount > 0 ? &Current : nullptr; }

    // The symbol whose text is open in Editor; -1 when none is open.
    int EditSymbolId = 0;
    CColorEdit* Editor = nullptr;
    CSymbol* KindPrototype = nullptr;
    int HotHandle = -1;
    int Mode = Idle;
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

    void SetCursorIndex(int index);
    void UpdateHoverCursor(UINT flags, POINT point);
    void TrackLineEnd(POINT point);
    bool RubberBandSelect(int pageId);
    // Loads Current from the symbol row id; false when there is none.
    bool LoadCurrent(int id);
    void RefreshCurrent();
    void BeginLineEndDrag(int handle);
    bool FindConnectTarget(HitSymbol& record, CSymbol* line, bool isSource);
    bool FindContainer(HitSymbol& record, CSymbol*& prototype);
    void PlaceSymbol(CDC* dc, POINT point, bool hit);
    int FinishNewLine(CDC* dc, POINT point);
    int FinishDrop(POINT point, CDC* dc);
    void DropLineEnd(CSymbol* prototype, POINT point, CDC* dc);
    void MoveLabelOf(CDC* dc, int dx, int dy, int id);

    Order order_;
    int cursorIndex_ = 0;
    // Set when this gesture's press accepted the source of a new line: only
    // then does the release draw the line.
    bool lineSourceAccepted_ = false;
    // Set when a page is made current or ScheduleLayout is called: the next
    // paint lays out the symbols that were never laid out.
    bool layoutPending_ = false;
    std::vector<ContextMenuItem> menu_;
};
