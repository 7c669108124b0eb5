// CDockContext: drags a control bar to another dock bar or out into a
// floating frame, and docks or floats it on a double click.
// A drag runs its own loop on the message queue (Track) while the bar holds
// the mouse capture: moves carry the outline, the left button's release
// drops the bar, a right press, Escape or the loss of the capture cancel.
// The outline is drawn on the dock site's overlay (screen rectangles are
// taken to its window coordinates); an outline outside the dock site is
// not seen, yet the drop still floats the bar there.
// Invariants: m_pDC is non-null exactly between InitLoop and CancelLoop;
// the drag rectangles are in screen coordinates and contain m_ptLast.
#pragma once

#include "Platform/Geometry.h"
#include "Platform/Types.h"

class CControlBar;
class CDC;
class CDockBar;
class CFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    // Outlines for docking horizontally, vertically, and for floating.
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    DWORD m_dwDockStyle = 0;     // the sides the bar may dock at
    DWORD m_dwOverDockStyle = 0; // the side the outline is over now, 0 to float
    DWORD m_dwStyle = 0;         // the bar's alignment at the start
    BOOL m_bFlip = FALSE;
    BOOL m_bForceFrame = FALSE;  // Control held: float, never dock
    CDC* m_pDC = nullptr;
    BOOL m_bDragging = FALSE;
    int m_nHitTest = 0;

    // Where the bar last docked (dock bar id, its rectangle there) and
    // last floated, for ToggleDocking.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{ -1, -1 };

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;

    // Starts a drag at a screen point and runs it to its end.
    virtual void StartDrag(CPoint pt);
    void Move(CPoint pt);
    void EndDrag();
    void OnKey(int nChar, BOOL bDown);
    // Resizing a floating bar by its frame's border.
    virtual void StartResize(int nHitTest, CPoint pt);
    void Stretch(CPoint pt);
    void EndResize();
    virtual void ToggleDocking();

    void InitLoop();
    void CancelLoop();
    // The drag loop; true when it ended with a drop.
    BOOL Track();
    void DrawFocusRect(BOOL bRemoveRect = FALSE);
    // The dock site's sides the outline is over (CBRS_ALIGN_...), 0 for none.
    DWORD CanDock();
    CDockBar* GetDockBar(DWORD dwOverDockStyle);

protected:
    // The drag outlines from the bar's sizes for docking horizontally,
    // vertically and floating (in a frame of dwFrameStyle), then the loop.
    void BeginDrag(CPoint pt, DWORD dwFrameStyle);

private:
    CRect m_rectRequestedSize;
    CRect m_rectActualSize;
    CRect m_rectActualFrameSize;
    CRect m_rectFrameBorders;
};
