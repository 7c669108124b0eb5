// CMiniDockFrameWnd: the floating frame of docked control bars. Its one
// child is a floating dock bar (m_wndDockBar) that holds the bars; the
// frame takes the size of the bars (FWS_SNAPTOBARS) and the dock bar's
// title. Its caption drags the bar back to the dock site, a double click
// on it docks the bar where it docked last, and closing it hides the bars.
// The dock site's frame creates one (by the runtime class it names) when a
// bar starts to float; the frame destroys itself when its last bar leaves.
#pragma once

#include "Platform/DockBar.h"
#include "Platform/MiniFrameWnd.h"

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    CDockBar m_wndDockBar;

    // A frame for bars of that style (CBRS_ALIGN_..., CBRS_SIZE_DYNAMIC,
    // CBRS_FLOAT_MULTI), owned by pParent, hidden and empty.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    // The first bar of the floating dock bar, unless it holds several.
    CControlBar* SingleBar();
    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()
};
