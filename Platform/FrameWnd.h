// CFrameWnd: a top-level frame that lays out its control bars and its view
// (RepositionBars through WM_SIZEPARENT), routes commands view first, then
// itself, then the application, and translates its keyboard table before
// messages are dispatched. Frames live on the heap and delete themselves
// when their window is gone; the main window's end ends the message loop.
#pragma once

#include "Platform/Collections.h"
#include "Platform/ControlBar.h"
#include "Platform/Wnd.h"

class CString;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;

// Child-window ids of a frame.
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST 0xE8FF
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

#define FWS_ADDTOTITLE 0x00008000L
// The frame takes the size of its bars (floating frames).
#define FWS_SNAPTOBARS 0x00002000L

// The status bar's idle prompt and its lock indicators.
#define AFX_IDS_IDLEMESSAGE 0xE001
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703

// RepositionBars modes.
#define reposDefault 0
#define reposQuery 1
#define reposExtra 2

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    class CDocument* m_pCurrentDoc = nullptr;
    class CDocTemplate* m_pNewDocTemplate = nullptr;
    CWnd* m_pLastView = nullptr;
    class CFrameWnd* m_pCurrentFrame = nullptr;
};

// Deferred positions: moves collected and applied together.
struct HDWP__;
typedef HDWP__* HDWP;
HDWP BeginDeferWindowPos(int nNumWindows);
HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL EndDeferWindowPos(HDWP hWinPosInfo);

// WM_SIZEPARENT's parameter: each bar takes its part of `rect` (shrinking
// it) and, unless the layout is only asked, positions itself through hDWP.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};
// Positions a bar for a layout (nothing in query mode); rect is in the parent's client coordinates.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd();
    ~CFrameWnd() override;

    BOOL m_bAutoMenuEnable = TRUE;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    // Margins kept free around the view by RecalcLayout.
    CRect m_rectBorder;
    // Every control bar docking to this frame (its dock bars and the
    // floating frames' dock bars included), in creation order.
    CPtrList m_listControlBars;
    // The class of the floating frames made for bars (a CMiniDockFrameWnd).
    const CRuntimeClass* m_pFloatingFrameClass;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with the resources of one id: the title (first part
    // of the string) and the keyboard table.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    HACCEL GetDefaultAccelerator() const { return m_hAccelTable; }

    // Docking. EnableDocking makes the dock bars of the sides in
    // dwDockStyle (CBRS_ALIGN_...), laid out after the bars already there;
    // the other calls act on bars that allowed docking.
    void EnableDocking(DWORD dwDockStyle);
    // Docks at a dock bar (by id; 0 picks the side the bar is aligned to),
    // in the row and place lpRect (screen coordinates) falls on.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Docks again, into the place the bar left when it floated if a dock
    // bar kept one (any dock bar when pDockBar is null).
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats the bar in a floating frame at a screen point.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    CControlBar* GetControlBar(UINT nID);
    // The side of a visible dock bar that rect (screen coordinates)
    // touches, among the sides allowed by dwDockStyle; 0 for none.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    void GetDockState(CDockState& state) const;
    void SetDockState(const CDockState& state);
    // The layout under the profile name (see CDockState).
    void LoadBarState(LPCTSTR lpszProfileName);
    void SaveBarState(LPCTSTR lpszProfileName) const;
    // Grows a client rectangle to the window rectangle for the frame's style.
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // Lays out the bars and the view; a frame with FWS_SNAPTOBARS also
    // takes the size its bars ask for.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The layout is redone at the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Null once the view's window is gone (views delete themselves with it).
    CWnd* GetActiveView() const;
    void SetActiveView(CWnd* pViewNew, BOOL bNotify = TRUE);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // The status bar's first pane (the child AFX_IDW_STATUS_BAR): a text,
    // or the prompt of a command (its string up to the line feed). The
    // idle prompt comes back once a menu closes or the pointer leaves a
    // toolbar button.
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    virtual void GetMessageString(UINT nID, CString& rMessage) const;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

protected:
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Lays out again while the layout asks for one more (a frame that
    // changed its style for its bars), at most once more.
    void RecalcLayoutSettled();
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Each lock indicator shows while its key is toggled on.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pViewActive = nullptr;
    BOOL m_bInRecalcLayout = FALSE;
    BOOL m_bLayoutDue = FALSE;

private:
    HWND m_hWndViewActive = nullptr;
    // The prompt wanted (a command id, or the idle prompt) and the one shown.
    UINT m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    UINT m_nIDLastMessage = 0;
};
