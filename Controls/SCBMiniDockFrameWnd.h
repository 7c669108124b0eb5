// CSCBMiniDockFrameWnd: the floating frame of the sizing bars. Once a
// sizing bar is in it, it drops its own caption (the bar draws its own
// strip and close button), becomes sizable at the corners too, and keeps
// its size as the bar's floating size (the client size plus 4 each way).
// A frame holding any other bar behaves as the plain floating frame.
#pragma once

#include "Platform/MiniDockFrameWnd.h"

class CSizeControlBar;

class CSCBMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CSCBMiniDockFrameWnd)
public:
    // The sizing bar the frame holds (its dock bar's first child), or null.
    CSizeControlBar* GetSizeBar();

protected:
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    DECLARE_MESSAGE_MAP()
};
