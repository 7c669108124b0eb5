// CWnd: a window of the layer. Each window is a pair of Qt widgets owned by
// the layer (the whole window, and inside it the client area that holds
// the child windows); Qt's events become messages dispatched through the
// window's message map, and everything not handled there reaches
// DefWindowProc, which gives the default behaviour of the window's class.
// Invariants: m_hWnd is null or names a live window whose permanent object
// is this one; a window's position is in its parent's client coordinates
// (screen coordinates for a top-level window); the client rectangle is
// what WM_NCCALCSIZE last left of the window rectangle.
#pragma once

#include "Platform/CmdTarget.h"
#include "Platform/MessageMap.h"
#include "Platform/Messages.h"
#include "Platform/WindowStyles.h"

class CDC;
class CFont;
class CMenu;
class CScrollBar;
struct CCreateContext;

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;

    // Stand-ins for the z-order places SetWindowPos takes.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The permanent object of a window; a window created without one (a
    // control made from a dialog template) gets a plain CWnd that lives as
    // long as the window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Makes this object the window's permanent object (replacing a plain
    // one); its message map answers from now on.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation. The class name selects the class's default behaviour (see
    // AfxRegisterClassProc) and class styles registered with
    // AfxRegisterWndClass; null means a plain window.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // Called after the last message; self-deleting windows delete themselves here.
    virtual void PostNcDestroy();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to pWndStop's descendants from the target up to
    // pWndStop; true when one consumed it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default handling of the message being handled now.
    LRESULT Default();
    static const MSG* GetCurrentMessage();

    // A modal loop on this window: messages are filtered and dispatched as
    // in the main loop, and at each idle time WM_KICKIDLE reaches the window
    // (unless MLF_NOKICKIDLE) and WM_ENTERIDLE its parent (unless
    // MLF_NOIDLEMSG). Runs until EndModalLoop; returns its result.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // Geometry.
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop();

    // State.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Changes the style at run time; with nFlags the frame is recomputed
    // through SetWindowPos(SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags).
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // Text and font (the font is kept as a handle; WM_SETFONT and WM_GETFONT).
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Family.
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    CWnd* GetTopLevelParent() const;
    class CFrameWnd* GetParentFrame() const;
    class CFrameWnd* GetTopLevelFrame() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* GetDlgItem(int nID) const;
    // Messages and texts of a child by its id; 0 or nothing without one.
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    // The check state of button nID (BM_SETCHECK, BM_GETCHECK).
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    static CWnd* WindowFromPoint(POINT point);

    // Focus, capture and activation, kept by the layer.
    static CWnd* GetFocus();
    CWnd* SetFocus();
    static CWnd* GetCapture();
    CWnd* SetCapture();
    static CWnd* GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* GetForegroundWindow();
    BOOL SetForegroundWindow();

    // Painting.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, class CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);
    // Contexts on the client area and on the whole window; release each.
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(class CRgn* prgnClip, DWORD flags);
    int ReleaseDC(CDC* pDC);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();

    // Timers by id: WM_TIMER reaches the window (or lpfnTimer is called)
    // every nElapse ms until KillTimer; setting an id again restarts it.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The caret (one for the whole program, owned by one window).
    void CreateSolidCaret(int nWidth, int nHeight);
    void CreateGrayCaret(int nWidth, int nHeight);
    void ShowCaret();
    void HideCaret();
    static void SetCaretPos(POINT point);
    static CPoint GetCaretPos();

    // The window's own scroll bars (SB_HORZ, SB_VERT). A bar whose range
    // needs no scrolling is hidden (or disabled with SIF_DISABLENOSCROLL),
    // which changes the style and the client area.
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const;
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);

    // A message box owned by this window (MB_... type, ID... answer); the
    // caption defaults to the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = 0);

    // The menu bar: shown in the non-client area of a top-level window,
    // above the client area. The window does not own the menu.
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetMenu() const;
    void DrawMenuBar();
    // The window menu (its close item SC_CLOSE), made on first use; with
    // bRevert a changed one returns to its first state and null is returned.
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // Command and notification routing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's chance to answer the notification it sent to its parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    // Lays out the children with ids nIDFirst..nIDLast (they answer
    // WM_SIZEPARENT) and gives what is left to nIDLeftOver; reposQuery
    // only reports the rectangle left (or the bars' total size).
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = 0,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
    // Asks pTarget's update handlers about each child control by its id;
    // push buttons without any handler are disabled when asked to.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
    // Update handlers of the window's control bars and children at idle.
    virtual void OnUpdateCmdUI(class CFrameWnd* pTarget, BOOL bDisableIfNoHndler);

protected:
    // Default handlers; each gives the message its default handling.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnNcActivate(BOOL bActive);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonUp(UINT nHitTest, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    UINT OnGetDlgCode();
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnEnable(BOOL bEnable);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnCaptureChanged(CWnd* pWnd);
    void OnCancelMode();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    void OnClose();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    // Owner-draw requests go back to the control that asked (reflection).
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* pFocusWnd);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

protected:
    int m_nModalResult = 0;

private:
    friend struct WndData;
    explicit CWnd(HWND place) : m_hWnd(place) {}
    class QEventLoop* m_modalLoop = nullptr;
    bool m_modalDone = false;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
};

// A scroll-bar control; the window's own bars are reached through CWnd.
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
};

// Registered window classes: a class name with its class styles, cursor
// and background colour. Returns the name to pass to Create.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
// The default behaviour of a window class (the controls register theirs):
// DefWindowProc of a window of that class calls it.
void AfxRegisterClassProc(LPCTSTR lpszClassName, WNDPROC proc);

// GetDCEx flags. With DCX_LOCKWINDOWUPDATE the context draws over the
// window's children as well (trackers and drag outlines), on a layer that
// inverts what lies beneath wherever it is not black.
#define DCX_WINDOW 0x00000001L
#define DCX_CACHE 0x00000002L
#define DCX_CLIPCHILDREN 0x00000008L
#define DCX_CLIPSIBLINGS 0x00000010L
#define DCX_PARENTCLIP 0x00000020L
#define DCX_LOCKWINDOWUPDATE 0x00000400L
HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags);

#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004
#define MSGF_DIALOGBOX 0

// The message queue for loops of the program's own (a drag that pumps its
// messages): GetMessage waits for the next message, PeekMessage takes one
// if there is one (PM_REMOVE) or looks at it (PM_NOREMOVE). Messages a
// loop leaves in the queue are dispatched when the loop is done. Character
// messages are made with their key message, so TranslateMessage has
// nothing left to do. GetMessage is false for WM_QUIT.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL TranslateMessage(const MSG* lpMsg);

// The flat window calls, as the Parts use them.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT DispatchMessage(const MSG* pMsg);
// The default behaviour of every window, below any class behaviour.
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Numbers in 0xC000..0xFFFF, the same for the same name during the run.
UINT RegisterWindowMessage(LPCTSTR lpString);
BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
HWND GetParent(HWND hWnd);
// Whether hWnd is a child or deeper descendant of hWndParent.
BOOL IsChild(HWND hWndParent, HWND hWnd);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
HWND GetCapture();
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetActiveWindow();
int GetDlgCtrlID(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nID);
HWND WindowFromPoint(POINT point);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT lpPoint);
LONG GetWindowLong(HWND hWnd, int nIndex);
LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);

// Key state as the last input left it: the high bit set while the key is
// down, the low bit toggled by each press.
short GetKeyState(int nVirtKey);
short GetAsyncKeyState(int vKey);
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int x, int y);
DWORD GetMessagePos();
DWORD GetMessageTime();
