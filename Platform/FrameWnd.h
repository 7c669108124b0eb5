// CFrameWnd: a top-level frame that lays out its control bars and its view
// (RepositionBars through WM_SIZEPARENT), routes commands view first, then
// itself, then the application, and translates its keyboard table before
// messages are dispatched. Frames live on the heap and delete themselves
// when their window is gone; the main window's end ends the message loop.
#pragma once

#include "Platform/Wnd.h"

class CString;

// Child-window ids of a frame.
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST 0xE8FF
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

#define FWS_ADDTOTITLE 0x00008000L

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

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with the resources of one id: the title (first part
    // of the string) and the keyboard table.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    HACCEL GetDefaultAccelerator() const { return m_hAccelTable; }

    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The layout is redone at the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Null once the view's window is gone (views delete themselves with it).
    CWnd* GetActiveView() const;
    void SetActiveView(CWnd* pViewNew, BOOL bNotify = TRUE);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pViewActive = nullptr;
    BOOL m_bInRecalcLayout = FALSE;
    BOOL m_bLayoutDue = FALSE;

private:
    HWND m_hWndViewActive = nullptr;
};
