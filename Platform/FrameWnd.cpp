#include "Platform/FrameWnd.h"

#include "Platform/Menu.h"

#include "Platform/Accelerators.h"
#include "Platform/CString.h"
#include "Platform/MessageMap.h"
#include "Platform/MiniDockFrameWnd.h"
#include "Platform/Resource.h"
#include "Platform/StatusBar.h"
#include "Platform/ResourceTable.h"
#include "Platform/WinApp.h"

#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(0, 0, 800, 600);

struct HDWP__ {
    struct Move {
        HWND hwnd;
        HWND after;
        int x, y, cx, cy;
        UINT flags;
    };
    std::vector<Move> moves;
};

HDWP BeginDeferWindowPos(int nNumWindows)
{
    auto* dwp = new HDWP__;
    dwp->moves.reserve(size_t(nNumWindows > 0 ? nNumWindows : 0));
    return dwp;
}

HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    if (!hWinPosInfo || !IsWindow(hWnd))
        return hWinPosInfo;
    hWinPosInfo->moves.push_back({ hWnd, hWndInsertAfter, x, y, cx, cy, uFlags });
    return hWinPosInfo;
}

BOOL EndDeferWindowPos(HDWP hWinPosInfo)
{
    if (!hWinPosInfo)
        return FALSE;
    for (const HDWP__::Move& m : hWinPosInfo->moves) {
        if (CWnd* w = CWnd::FromHandle(m.hwnd))
            w->SetWindowPos(CWnd::FromHandle(m.after), m.x, m.y, m.cx, m.cy, m.flags);
    }
    delete hWinPosInfo;
    return TRUE;
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    if (!lpLayout->hDWP)
        return;
    CWnd* w = CWnd::FromHandle(hWnd);
    if (!w)
        return;
    // Unchanged positions are left alone.
    CRect old;
    w->GetWindowRect(&old);
    if (CWnd* parent = w->GetParent())
        parent->ScreenToClient(&old);
    if (old == *lpRect)
        return;
    lpLayout->hDWP = DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                    lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                    SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = (nFlag & reposQuery) ? nullptr : BeginDeferWindowPos(8);
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        GetClientRect(&layout.rect);

    HWND leftOver = nullptr;
    for (CWnd* child = GetTopWindow(); child; child = child->GetNextWindow()) {
        const UINT id = UINT(child->GetDlgCtrlID());
        if (id == nIDLeftOver)
            leftOver = child->m_hWnd;
        else if (id >= nIDFirst && id <= nIDLast)
            child->SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (nFlag & reposQuery) {
        if (bStretch)
            *lpRectParam = layout.rect;
        else
            *lpRectParam = CRect(0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        return;
    }
    if (leftOver) {
        CRect rect(layout.rect);
        if ((nFlag & reposExtra) && lpRectParam) {
            rect.left += lpRectParam->left;
            rect.top += lpRectParam->top;
            rect.right -= lpRectParam->right;
            rect.bottom -= lpRectParam->bottom;
        }
        AfxRepositionWindow(&layout, leftOver, &rect);
    }
    EndDeferWindowPos(layout.hDWP);
}

CFrameWnd::CFrameWnd() : m_pFloatingFrameClass(RUNTIME_CLASS(CMiniDockFrameWnd)) {}
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    (void)lpszMenuName;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr,
                    nullptr, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    const CString full = LoadResString(nIDResource);
    const int end = full.Find('\n');
    const CString title = end < 0 ? full : full.Left(end);
    LoadAccelTable(MAKEINTRESOURCE(nIDResource));
    return Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext);
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = LoadAccelerators(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* made = pContext->m_pNewViewClass->CreateObject();
    auto* view = DYNAMIC_DOWNCAST(CWnd, made);
    if (!view) {
        delete made;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return view;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    return OnCreateClient(lpCreateStruct, context) ? 0 : -1;
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (CWnd* view = GetActiveView())
        view->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
    if (m_bLayoutDue && !IsIconic())
        RecalcLayout();
    m_bLayoutDue = FALSE;
    return 0;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !GetSafeHwnd())
        return;
    m_bInRecalcLayout = TRUE;
    m_bLayoutDue = FALSE;
    if (GetStyle() & FWS_SNAPTOBARS) {
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        // A frame whose style changed since its last move keeps its size
        // but not its client area.
        CRect now;
        GetWindowRect(&now);
        const UINT frameChanged = now.Size() == rect.Size() ? SWP_FRAMECHANGED : 0;
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER | frameChanged);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

// Asks the frame's non-client handling what it would leave of a window
// rectangle, and grows the client rectangle by the difference.
void CFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    const CRect window(0, 0, 10000, 10000);
    NCCALCSIZE_PARAMS params = {};
    params.rgrc[0] = window;
    SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
    const CRect client(params.rgrc[0]);
    CRect* r = static_cast<CRect*>(lpClientRect);
    r->InflateRect(client.left - window.left, client.top - window.top, window.right - client.right,
                   window.bottom - client.bottom);
}

void CFrameWnd::DelayRecalcLayout(BOOL) { m_bLayoutDue = TRUE; }

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    BringWindowToTop();
}

CWnd* CFrameWnd::GetActiveView() const
{
    return m_pViewActive && CWnd::FromHandlePermanent(m_hWndViewActive) == m_pViewActive ? m_pViewActive : nullptr;
}

void CFrameWnd::SetActiveView(CWnd* pViewNew, BOOL)
{
    m_pViewActive = pViewNew;
    m_hWndViewActive = pViewNew ? pViewNew->GetSafeHwnd() : nullptr;
    if (pViewNew && pViewNew->GetSafeHwnd() && IsChild(pViewNew))
        pViewNew->SetFocus();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd* view = GetActiveView(); view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    delete this;
}

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    rMessage = LoadResString(nID);
    const int lf = rMessage.Find('\n');
    if (lf >= 0)
        rMessage = rMessage.Left(lf);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

// wParam: a command or string id; 0 with the text in lParam.
LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    CString text;
    if (wParam)
        GetMessageString(UINT(wParam), text);
    else if (lParam)
        text = reinterpret_cast<LPCTSTR>(lParam);
    m_nIDLastMessage = UINT(wParam);
    m_nIDTracking = UINT(wParam);
    CWnd* bar = GetDlgItem(AFX_IDW_STATUS_BAR);
    if (bar && bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
        static_cast<CStatusBar*>(bar)->SetPaneText(0, text);
    return 0;
}

// A highlighted command shows its prompt; a popup, a separator or the
// menu's close (flags 0xFFFF, no menu) the idle prompt.
LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT flags = HIWORD(wParam);
    const bool closed = flags == 0xFFFF && !lParam;
    const bool command = !closed && !(flags & (MF_SEPARATOR | MF_POPUP)) && LOWORD(wParam) != 0;
    SetMessageText(command ? UINT(LOWORD(wParam)) : UINT(AFX_IDS_IDLEMESSAGE));
    return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    const int key = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL
                    : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                        : VK_SCROLL;
    pCmdUI->Enable(GetKeyState(key) & 1);
}

// Each item of a popup about to open asks its update handler; popups and
// separators are left alone.
void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = UINT(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(int(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == UINT(-1))
            continue;
        state.DoUpdate(this, m_bAutoMenuEnable);
    }
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w; w = w->GetParent()) {
        if (w->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(w);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* frame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                                                          : GetParentFrame();
    while (frame) {
        CFrameWnd* outer = frame->GetParentFrame();
        if (!outer)
            break;
        frame = outer;
    }
    return frame;
}
