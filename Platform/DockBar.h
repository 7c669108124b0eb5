// CDockBar: a side of a frame (or the inside of a floating mini frame)
// that holds docked control bars in rows and lays them out.
// Invariants of m_arrBars:
// - entry 0 is null, and so is the last entry once a bar was docked; a null
//   entry ends a row, so a row is the run of entries between two nulls;
// - an entry below 0x10000 is a placeholder: the control id of a bar that
//   left for a floating frame and comes back to this place when it docks
//   again; every other entry is a bar whose m_pDockBar is this dock bar.
// Rows are laid out with CalcDynamicLayout(-1, ...) of each visible bar;
// neighbouring bars, and the first bar and the edge, overlap by 2 pixels.
#pragma once

#include "Platform/Collections.h"
#include "Platform/ControlBar.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);

    BOOL m_bFloating;
    // Deleted with its window (the frame's dock bars live on the heap).
    BOOL m_bAutoDelete = FALSE;
    CPtrArray m_arrBars;
    // Set while the frame only asks for the layout: nothing moves.
    BOOL m_bLayoutQuery = FALSE;
    // What the frame's layout offered this dock bar, in the frame's client
    // coordinates; empty outside a layout of the frame.
    CRect m_rectLayout;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // The index of an entry (a bar, or a placeholder given as its id),
    // skipping nPosExclude; -1 when there is none.
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    // The bar at an index; null for a row end or a placeholder.
    CControlBar* GetDockedControlBar(int nPos) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;

    // Docks a bar: into the row and place that lpRect (screen coordinates)
    // falls on, or at the end on a row of its own. ReDock first takes the
    // bar's placeholder, if this dock bar keeps one.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Takes a bar out; with nAddPlaceHolder 1 its place is kept for it.
    // A floating dock bar left without bars destroys its frame (true), or
    // hides it while it still holds hidden bars.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    void RemovePlaceHolder(CControlBar* pBar);
    // Called by a bar whose window goes: it leaves the list, nothing else.
    void ForgetControlBar(CControlBar* pBar);
    void ShowAll(BOOL bShow);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

protected:
    // The index the bar gets for a rectangle in this dock bar's client
    // coordinates; a new row is opened where no row lies under ptMid.
    int Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid);
    void Dock(CControlBar* pBar, LPCRECT lpRect, bool usePlaceHolder);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void PostNcDestroy() override;
    void DoPaint(CDC* pDC) override;
    DECLARE_MESSAGE_MAP()
};

// The entry a placeholder for this bar holds.
void* AfxPlaceHolderOf(CControlBar* pBar);
// The dock bar id for a bar of that style: its first alignment among top,
// bottom, left and right; 0 for none.
UINT AfxDockBarIdOf(DWORD dwBarStyle);
