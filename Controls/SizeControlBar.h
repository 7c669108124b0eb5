// CSizeControlBar: a docking bar holding one child window, sized by
// dragging its edges. Docked bars of one dock row share the row: they take
// one thickness, their lengths fill the row's length, and the edge between
// two of them moves length from one to the other. Each bar keeps a size for
// docking at top or bottom, at left or right, and floating, in the profile
// between runs.
// Sizes are window sizes, borders included; neighbouring bars of a row
// overlap by 2 pixels. m_nDockSide is the control id of the window that
// holds the bar (a dock bar id, 0 before the bar was first placed); the
// bar counts as floating unless it names a side.
// The four edge bits of m_dwSizeFlags are recomputed with every non-client
// size calculation: an edge is sizable where it faces the frame's centre
// or another sizing bar of the row. A bar missing from its dock bar's list
// (while it moves between dock bars) has no row: no inner edges and no
// space negotiation.
#pragma once

#include "Platform/ControlBar.h"

#include <vector>

class CDockBar;

// m_dwSizeFlags.
#define SCBS_EDGELEFT 0x00000001
#define SCBS_EDGERIGHT 0x00000002
#define SCBS_EDGETOP 0x00000004
#define SCBS_EDGEBOTTOM 0x00000008
#define SCBS_EDGEALL 0x0000000F
#define SCBS_SHOWEDGES 0x00000010
#define SCBS_SIZECHILD 0x00000020

class CSizeControlBar : public CControlBar {
    DECLARE_DYNAMIC(CSizeControlBar)
public:
    CSizeControlBar();

    DWORD m_dwSizeFlags = 0;
    // Size docked at top or bottom, at left or right, floating, and their minimums.
    CSize m_sizeHorz{ 200, 200 };
    CSize m_sizeVert{ 200, 200 };
    CSize m_sizeFloat{ 200, 200 };
    CSize m_sizeMinHorz{ 33, 32 };
    CSize m_sizeMinVert{ 33, 32 };
    CSize m_sizeMinFloat{ 37, 32 };
    int m_nEdgeWidth = 5;

    // The child window of the bar: its style bits beyond CBRS_ALL are
    // window styles. False when the window cannot be made.
    virtual BOOL Create(LPCTSTR lpszWindowName, CWnd* pParentWnd, UINT nID,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
    virtual BOOL CreateWithSize(LPCTSTR lpszWindowName, CWnd* pParentWnd, CSize sizeDefault, BOOL bHasGripper,
                                UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);
    // The three sizes under "<profile>-SCBar-<id>", each at least its
    // minimum and at most the screen. Loading also moves this bar's saved
    // floating place down by the caption it no longer has.
    virtual void LoadState(LPCTSTR lpszProfileName);
    virtual void SaveState(LPCTSTR lpszProfileName);
    // LoadState or SaveState of every sizing bar of the frame, in list order.
    static void LoadAllBarStates(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
    static void SaveAllBarStates(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
    // Docking with a dock context of its own (CSizeBarDockContext).
    void EnableDocking(DWORD dwDockStyle);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // The edge drag: StartTracking on a press on a sizable edge (screen
    // point), TrackSize on each move, StopTracking on the release, a right
    // press or the loss of the capture. DrawTracker inverts the tracker on
    // the dock site's overlay; a second call erases it.
    virtual void StartTracking(UINT nHitTest, CPoint point);
    virtual void StopTracking();
    virtual void TrackSize(CPoint point);
    virtual void DrawTracker();
    // The caption or gripper, in window coordinates; none here.
    virtual void PaintGripper(CDC* pDC, const CRect& rcClient);
    // Shrinks a window rectangle to the client rectangle for a dock bar id.
    virtual void NcCalcClient(LPRECT pRc, UINT nDockBarID);
    // Moves the bars of the row into line; true when any moved.
    virtual BOOL ArrangeRow();

    UINT GetDockSide() const { return m_nDockSide; }
    BOOL IsTracking() const { return m_bTracking; }
    int GetTrackMin() const { return m_nTrackMin; }
    int GetTrackMax() const { return m_nTrackMax; }

protected:
    BOOL IsSideHorz() const;
    BOOL IsSideVert() const;
    BOOL IsSideFloating() const;
    // The drag moves the boundary between two bars of the row.
    BOOL IsAlongRow() const;
    // The row's first and last index and this bar's; false without a row.
    BOOL GetRowInfo(int& nFirst, int& nLast, int& nThis) const;
    // The visible sizing bars of the row in order, and this bar's position
    // among them (-1 without a row).
    std::vector<CSizeControlBar*> GetRowSizingBars(int* pThis = nullptr) const;
    // The edge strip of a hit code within rcWnd; false for no such edge.
    BOOL GetEdgeRect(CRect rcWnd, UINT nHitTest, CRect& rcEdge) const;
    // Shares the row's length among its bars; false when it split the row
    // before this bar (the dock bar lays out again from there).
    BOOL NegotiateSpace(int nLengthTotal, BOOL bHorz);
    // Length, thickness and minimum length of a bar for this docking.
    static int& Length(CSizeControlBar* pBar, BOOL bHorz);
    static int& Thickness(CSizeControlBar* pBar, BOOL bHorz);
    static int MinLength(const CSizeControlBar* pBar, BOOL bHorz);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnPaint();
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void OnClose();
    DECLARE_MESSAGE_MAP()

    UINT m_nDockSide = 0;

private:
    UINT m_nTrackHit = 0;
    int m_nTrackMin = 0;
    int m_nTrackMax = 0;
    int m_nTrackPos = 0;
    int m_nTrackGrab = 0;
    BOOL m_bTracking = FALSE;
    BOOL m_bJustShown = FALSE;
    BOOL m_bRowLayout = FALSE;
};
