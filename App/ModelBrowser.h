// CModelBrowser: the model tree of the Model pane. It draws the element
// table as an indented tree with icons, tree lines and expand boxes, keeps
// the user's selection, scrolls, renames in place, moves elements by
// dragging them onto other rows and hands a dragged element to the diagram
// page, and answers the editing commands (ModelBrowserCommands.cpp).
//
// What the tree shows lives in the element rows: the expanded, checked,
// has-children, last-sibling and fixed bits of ItemState, written straight
// through the engine (no undo record, no unit marked). The browser keeps only
// the display rows, rebuilt on demand, and the selection.
// Invariants: the selection holds each element at most once, in ascending
// SN order, and every element in it has its checked bit set; between
// rebuilds the rows may name elements that are gone, which painting and hit
// testing tolerate. The browser never captures the mouse: during a drag the
// layer hands moves and the release to the window under the cursor, so a
// release over the diagram view places a symbol there.
#pragma once

#include "Controls/ColorEdit.h"
#include "Platform/Gdi.h"
#include "Platform/Wnd.h"

#include <string>
#include <unordered_set>
#include <vector>

class CCommandImageList;
class CSymbol;
struct ModelT;

class CModelBrowser : public CWnd {
    DECLARE_DYNAMIC(CModelBrowser)
public:
    enum State { Idle = 0, Pressed = 1, PressedOnLabel = 3, Dragging = 4, Renaming = 8 };
    // Select's mode bits.
    enum { SelectCheck = 2, SelectKeep = 4 };
    enum { ScrollUpTimer = 1, ScrollDownTimer = 2 };

    // One display row, in content pixels (before scrolling).
    struct Row {
        int textX;     // where the label starts
        int left;      // start of the tree-line column
        int top;
        int right;
        int bottom;
        int lineEnd;   // y where the row's subtree ends
        CSymbol* prototype;
        int id;
    };
    struct Entry {
        int sn;
        int id;
        int fid;
        std::string type;
    };

    CModelBrowser();
    ~CModelBrowser() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The icons of the rows' metaclasses; returns the previous source.
    CCommandImageList* SetImageSource(CCommandImageList* icons);
    // FALSE while refresh is disabled; otherwise rebuilds the rows when
    // asked and repaints.
    BOOL Refresh(bool rebuild);
    void EnableRefresh(bool enable) { m_refreshEnabled = enable; }
    // The element of the first selection entry; 0 when none.
    int GetCheckedModel() const;
    // Expands the element's owners, selects it alone and scrolls it into view;
    // a diagram or page opens in the view.
    void LocateElement(int elementId);
    // id 0 or less unchecks everything; otherwise SelectCheck checks the
    // element (and shows it in the property pane), its absence unchecks it,
    // and without SelectKeep every other element is unchecked first.
    void Select(int elementId, int mode);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    const std::vector<Row>& GetRows() const { return m_rows; }
    const std::vector<Entry>& GetSelection() const { return m_selection; }
    int GetState() const { return m_state; }
    CPoint GetScrollOffset() const { return CPoint(m_scrollX, m_scrollY); }
    // The element the drag would drop on; 0 when none.
    int GetDropTarget() const { return m_dropTarget.id; }
    // The index of the row under the client point, -1 for none.
    int HitTest(POINT client) const;
    // The row of the element, -1 when it has none.
    int RowOf(int elementId) const;
    CColorEdit& GetEditor() { return m_editor; }

    // Whether every selected element may be moved under the element: it is
    // none of them nor inside their subtrees, a rule lets its kind own each,
    // and it is not fixed unless it is the "Model" root.
    bool AcceptsDrop(int targetId) const;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);

    // The commands (ModelBrowserCommands.cpp).
    void OnEditDelete();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditUndo();
    void OnEditRedo();
    void OnMoveUp();
    void OnMoveDown();
    void OnFileSaveAs();
    void OnLoadLibrary();
    void OnRemoveLibrary();
    void OnHelpTopics();
    void OnNewElement(UINT nID);
    DECLARE_MESSAGE_MAP()

private:
    struct Extent {
        CDC* dc;
        int widest;
        int height;
    };

    void Rebuild();
    // The rows of the owner's children from y on; the number of rows made
    // below it, or, for an owner that is not expanded, 1 when it has a child.
    int BuildChildren(int ownerId, int x, int& y, bool expanded, Extent& extent);
    // Drops entries whose element is gone or unchecked (a project closed, a
    // number used again); the rest take their SN and owner.
    void PruneSelection();
    void UpdateScrollBars(int width, int height);
    void PaintRow(CDC* dc, const Row& row, const CRect& client, int index);
    void PaintTreeLines(CDC* dc, const Row& row, const ModelT& element, const CRect& client);

    bool SetItemBits(int elementId, int set, int clear);
    void Uncheck(int elementId);
    void UncheckAll();
    void CheckEntry(const ModelT& element);
    // Checks the rows from index a to b (either order) that lie between the
    // "Model" and "Library" roots, the previous selection cleared.
    void SelectRun(int a, int b);
    // Moves the movable selected elements under the target, undoably.
    void DropSelection(int targetId);
    void SetDropTarget(int rowIndex);
    void StopTimer();
    void StartTimer(UINT_PTR id);

    // Rows are in content pixels; this sets a scroll offset, false when it
    // did not change.
    bool ScrollTo(int bar, int position);
    void Scroll(int bar, UINT code, int trackPos);
    int ScrollLimit(int bar) const;
    void ScrollIntoView(int rowIndex);

    // Renaming in place (ModelBrowserCommands.cpp).
    bool BeginRename(int rowIndex, const POINT* click);
    void CommitRename();
    void CancelRename();
    void RenameByKey();
    void MoveSiblings(bool up);
    // Closes every open diagram whose element is gone.
    void CloseDiagramsGone();
    bool RequireSelection() const;

    std::vector<Row> m_rows;
    std::vector<Entry> m_selection;
    // The selection's elements while a rebuild makes the rows' checked bits
    // follow it (an undo may bring back a row image with a stale bit).
    std::unordered_set<int> m_selectedIds;
    int m_state = Idle;
    DWORD m_pressTime = 0;
    Row m_dropTarget{};
    UINT_PTR m_timer = 0;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_contentWidth = 0;
    int m_contentHeight = 0;
    CRect m_client{0, 0, 0, 0};
    int m_firstPainted = -1;
    int m_lastPainted = -1;
    bool m_refreshEnabled = true;
    bool m_building = false;
    CCommandImageList* m_icons = nullptr;
    CFont m_font;
    CColorEdit m_editor;
};
