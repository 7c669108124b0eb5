// CControlBar: a bar along a side of its frame (a toolbar, a status bar, a
// docking pane). The frame lays it out through WM_SIZEPARENT: a bar aligned
// to the top or the bottom takes its fixed height across the remaining
// rectangle. Borders (CBRS_BORDER_...) and a gripper (CBRS_GRIPPER) are
// drawn around the client area; at idle the bar asks its frame's update
// handlers about its items.
// Docking: a bar that EnableDocking allowed lives in one of its frame's
// dock bars (m_pDockBar, null while it has none) and is dragged by its
// dock context; m_pDockSite is the frame it docks to, also while it floats.
// A delayed show or hide (m_nStateFlags) takes effect at the next layout
// of its dock bar, or at idle.
#pragma once

#include "Platform/Wnd.h"

#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// CalcDynamicLayout modes.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// Dock bar ids of a frame (the floating one is the mini frame's).
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F

class CDC;
class CFrameWnd;
class CDockBar;
class CDockContext;
class CControlBarInfo;
struct AFX_SIZEPARENTPARAMS;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // CBRS_... flags of the bar (not window styles).
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    // Length of a floating bar laid out horizontally, as last chosen.
    int m_nMRUWidth = 32767;
    enum StateFlags { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags = 0;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Allows docking at the sides in dwDockStyle (CBRS_ALIGN_...,
    // CBRS_FLOAT_MULTI); the bar gets a dock context and, unless it has
    // one, the parent as owner.
    void EnableDocking(DWORD dwDockStyle);
    // Shown or hidden at the next layout (or idle time); a request that
    // matches the present state cancels a pending one.
    void DelayShow(BOOL bShow);
    // Shown (by its own style, whether or not its frame is), counting a
    // pending delayed show or hide.
    BOOL IsVisible() const;
    BOOL IsFloating() const;
    BOOL IsDockBar() const;
    // The frame whose layout holds the bar: its mini frame while it floats.
    CFrameWnd* GetDockingFrame() const;
    // Applies a pending delayed show or hide through the layout's deferred
    // positions; in a query layout (no deferred positions) it stays pending.
    void RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    // The bar's size in the layout: its borders and whatever the kind of bar
    // needs inside them, across the stretch of its side when bStretch.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size for a layout mode (LM_...); nLength is the length asked
    // for, -1 when a dock bar lays out the whole row. The base gives the
    // fixed layout, horizontal for LM_HORZDOCK or LM_HORZ.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual void DoPaint(CDC* pDC);
    // Borders around rect (window coordinates), which shrinks by them.
    void DrawBorders(CDC* pDC, CRect& rect);
    void DrawGripper(CDC* pDC, const CRect& rect);
    // The rectangle inside the borders and the gripper.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    // A press on the bar outside its items drags it (with a dock context);
    // a double click docks or floats it.
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
