// CScrollView: a view whose content is larger than its window. The content's
// total size and the page and line steps are given in a mapping mode's
// logical units; the scroll bars count device pixels. Invariant: the scroll
// position lies within 0 and total - client on each axis (0 where the
// content fits), and a bar is shown only where the content does not fit.
#pragma once

#include "Platform/Dc.h"
#include "Platform/View.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    // sizePage and sizeLine of 0 take a tenth and a hundredth of the total.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = SIZE{0, 0},
                        const SIZE& sizeLine = SIZE{0, 0});
    int GetMapMode() const { return m_nMapMode; }
    CSize GetTotalSize() const { return m_totalLog; }
    // In device pixels from the content's top-left.
    CPoint GetDeviceScrollPosition() const;
    // In logical units of the mapping mode (y negative in MM_HIMETRIC).
    CPoint GetScrollPosition() const;
    void ScrollToPosition(POINT pt);
    // Scrolls by a line or page step as a scroll bar code would (SB_...).
    void ScrollBy(int nBar, UINT nSBCode);

    // Sets the mapping mode and, on screen, moves the viewport origin by the
    // scroll position, so drawing in content coordinates lands where it
    // shows; a printed page is not scrolled.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateBars();
    void ScrollToDevicePosition(int x, int y);

    int m_nMapMode = MM_TEXT;
    CSize m_totalLog{0, 0};
    CSize m_totalDev{0, 0};
    CSize m_pageDev{0, 0};
    CSize m_lineDev{0, 0};
    CPoint m_position{0, 0};
};
