// COptionTreeListWnd: the grid's list window. It paints the shown rows
// double-buffered, keeps the vertical scroll bar and turns the mouse, the
// wheel and the keys into focus changes, expansion, edits and divider
// moves on the grid, asking the grid's owner first where it may veto. The
// row kinds' editor windows are its children.
// The divider drag: idle -> (button down on the divider, not vetoed)
// dragging with the capture -> (button up) idle with the new divider.
#pragma once

#include "Platform/Wnd.h"

class COptionTree;
class COptionTreeItem;

class COptionTreeListWnd : public CWnd {
public:
    COptionTreeListWnd();
    ~COptionTreeListWnd() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetOptionsOwner(COptionTree* otProp) { m_otOption = otProp; }
    void UpdateResize();  // the scroll range
    // Scrolls so the content band [top, bottom) shows, without taking the
    // focus or deselecting.
    void ScrollIntoView(long top, long bottom);
    BOOL IsDragging() const { return m_bDragging; }

    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    UINT OnGetDlgCode();
    void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    BOOL InputAllowed(bool needGrid = true) const;
    void DropHiddenFocus();
    void Toggle(COptionTreeItem* otiItem);
    void AutoFitDivider();
    void FocusRow(COptionTreeItem* otiItem);
    void SetScrollPosition(long lOffset);

    COptionTree* m_otOption = nullptr;
    BOOL m_bDragging = FALSE;
    HCURSOR m_hSplitter = nullptr;
    HCURSOR m_hHand = nullptr;
    long m_lDragX = -1;
};
