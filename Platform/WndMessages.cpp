// Sending, posting and dispatching messages; the message-map lookup of
// windows; command and notification routing with reflection to controls.
#include "Platform/MessageMap.h"
#include "Platform/WinApp.h"
#include "Platform/MenuTrack.h"
#include "Platform/WndData.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <deque>

#include <string>
#include <unordered_map>

namespace {

// The message being handled now, for Default().
MSG g_current = {};

class PostedMessage : public QEvent {
public:
    static QEvent::Type Kind()
    {
        static const auto kind = QEvent::Type(QEvent::registerEventType());
        return kind;
    }
    explicit PostedMessage(const MSG& m) : QEvent(Kind()), msg(m) {}
    MSG msg;
};

class PostTarget : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != PostedMessage::Kind())
            return QObject::event(e);
        MSG msg = static_cast<PostedMessage*>(e)->msg;
        if (WndData::From(msg.hwnd))
            Wnd::Pump(msg);
        return true;
    }
};

PostTarget* Poster()
{
    static PostTarget* target = new PostTarget;
    return target;
}

} // namespace

LRESULT Wnd::Send(WndData* d, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandle(d->handle());
    const MSG saved = g_current;
    g_current.hwnd = d->handle();
    g_current.message = message;
    g_current.wParam = wParam;
    g_current.lParam = lParam;
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    g_current = saved;
    return result;
}

namespace {

// Messages collected for a loop of the program's own (GetMessage and
// PeekMessage) while one runs.
std::deque<MSG> g_queue;
int g_collecting = 0;

bool Matches(const MSG& m, HWND hWnd, UINT first, UINT last)
{
    if (hWnd && m.hwnd != hWnd && !::IsChild(hWnd, m.hwnd))
        return false;
    return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

void DispatchLeftovers()
{
    while (g_collecting == 0 && !g_queue.empty()) {
        MSG msg = g_queue.front();
        g_queue.pop_front();
        if (WndData::From(msg.hwnd))
            Wnd::Pump(msg);
    }
}

void EndCollecting()
{
    if (--g_collecting == 0 && !g_queue.empty())
        QTimer::singleShot(0, [] { DispatchLeftovers(); });
}

bool Take(LPMSG lpMsg, HWND hWnd, UINT first, UINT last, bool remove)
{
    for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
        if (Matches(*it, hWnd, first, last)) {
            *lpMsg = *it;
            if (remove)
                g_queue.erase(it);
            return true;
        }
    }
    return false;
}

} // namespace

bool Wnd::Pump(MSG& msg)
{
    if (g_collecting > 0) {
        g_queue.push_back(msg);
        return true;
    }
    if (AfxPreTranslateMessage(&msg))
        return false;
    DispatchMessage(&msg);
    return true;
}

BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    ++g_collecting;
    while (!Take(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) {
        if (int code; AfxTakeQuitMessage(&code)) {
            *lpMsg = MSG{ nullptr, WM_QUIT, WPARAM(code), 0, GetMessageTime(), {} };
            EndCollecting();
            return FALSE;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EndCollecting();
    return TRUE;
}

BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    ++g_collecting;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const bool found = Take(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0);
    EndCollecting();
    return found;
}

BOOL TranslateMessage(const MSG* lpMsg)
{
    return lpMsg && (lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_SYSKEYDOWN);
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(hWnd);
    return d ? Wnd::Send(d, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!WndData::From(hWnd))
        return FALSE;
    MSG msg = { hWnd, message, wParam, lParam, GetMessageTime(), {} };
    GetCursorPos(&msg.pt);
    QCoreApplication::postEvent(Poster(), new PostedMessage(msg));
    return TRUE;
}

LRESULT DispatchMessage(const MSG* pMsg)
{
    if (pMsg->message == WM_TIMER && pMsg->lParam) {
        reinterpret_cast<TIMERPROC>(pMsg->lParam)(pMsg->hwnd, WM_TIMER, UINT_PTR(pMsg->wParam), GetMessageTime());
        return 0;
    }
    return SendMessage(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
}

UINT RegisterWindowMessage(LPCTSTR lpString)
{
    static std::unordered_map<std::string, UINT> names;
    if (!lpString || !*lpString)
        return 0;
    auto it = names.find(lpString);
    if (it != names.end())
        return it->second;
    const UINT id = UINT(0xC000 + names.size());
    if (id > 0xFFFF)
        return 0;
    names.emplace(lpString, id);
    return id;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return;
    for (HWND child : std::vector<HWND>(d->children)) {
        if (!WndData::From(child))
            continue;
        if (CWnd* w = bOnlyPerm ? FromHandlePermanent(child) : FromHandle(child))
            w->SendMessage(message, wParam, lParam);
        if (bDeep) {
            if (CWnd* w = FromHandle(child))
                w->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

const MSG* CWnd::GetCurrentMessage() { return &g_current; }

LRESULT CWnd::Default()
{
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return 0;
    if (d->classProc)
        return d->classProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h)) {
            if (w->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!lParam || !OnNotify(wParam, lParam, &result))
            return FALSE;
        if (pResult)
            *pResult = result;
        return TRUE;
    }

    UINT lookup = message;
    UINT code = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = WM_CTLCOLOR;
        code = message - WM_CTLCOLORMSGBOX;
    } else if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX && message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {
        lookup = WM_REFLECT_BASE + WM_CTLCOLOR;
        code = message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(lookup, 0, 0);
    if (!entry)
        return FALSE;
    AFX_MSGCALL call = { message, wParam, lParam, 0, code, nullptr, 0 };
    if (!entry->pfn(this, call))
        return FALSE;
    if (pResult)
        *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu or accelerator command: a command its update handler
        // disabled is refused before it is routed.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        if (CWnd* child = FromHandlePermanent(hWndCtrl)) {
            if (child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
                return TRUE;
        }
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)wParam;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const HWND hWndCtrl = header->hwndFrom;
    const UINT nID = IsWindow(hWndCtrl) ? UINT(::GetDlgCtrlID(hWndCtrl)) : UINT(header->idFrom);
    if (CWnd* child = FromHandlePermanent(hWndCtrl)) {
        if (child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
    }
    AFX_NOTIFY notify = { pResult, header };
    return OnCmdMsg(nID, int(MAKELONG(WORD(header->code), WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        return OnCmdMsg(0, int(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)), nullptr, nullptr);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify = { pResult, header };
        return OnCmdMsg(0, int(MAKELONG(WORD(header->code), WM_REFLECT_BASE + WM_NOTIFY)), &notify, nullptr);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child)
        return FALSE;
    const MSG msg = g_current;
    return child->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || !pTarget)
        return;
    for (HWND child : std::vector<HWND>(d->children)) {
        CWnd* control = FromHandle(child);
        const UINT id = control ? UINT(control->GetDlgCtrlID()) : 0;
        if (!id || id == 0xFFFF)
            continue;
        CCmdUI state;
        state.m_nID = id;
        state.m_pOther = control;
        // Only push buttons are disabled for want of a handler.
        const DWORD kind = control->GetStyle() & 0x0F;
        const bool pushButton = (control->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) && kind <= 1;
        state.DoUpdate(pTarget, bDisableIfNoHndler && pushButton);
    }
}

void CWnd::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    (void)pTarget;
    (void)bDisableIfNoHndler;
}

// CWnd's own table: owner-draw, colour and scroll requests go back to the
// control that asked before the default handling.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    VEXAL_MSG_ENTRY(WM_CTLCOLOR, 0, 0, 0,
                    if (!CWnd::ReflectLastMsg(reinterpret_cast<HWND>(call.lParam), &call.result))
                        call.result = self->Default();
                    return TRUE;)
    VEXAL_MSG_ENTRY(WM_DELETEITEM, 0, 0, 0,
                    auto* item = reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam);
                    if (!item || !CWnd::ReflectLastMsg(item->hwndItem, &call.result))
                        call.result = self->Default();
                    return TRUE;)
END_MESSAGE_MAP()

// Default handlers: each gives the message being handled its default.
int CWnd::OnCreate(LPCREATESTRUCT) { return int(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return BOOL(Default()); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcPaint() { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return BOOL(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return BOOL(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return int(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return UINT(Default()); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return BOOL(Default()); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

// A menu item goes to the permanent object of the menu that holds it:
// named by the request when drawn, the one being measured when measured.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            menu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(MenuTrack::MeasuringMenu())) {
            menu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else {
        CWnd* child = GetDlgItem(nIDCtl);
        if (child && ReflectLastMsg(child->m_hWnd))
            return;
    }
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT result = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}
