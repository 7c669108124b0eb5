// Window objects, handles, creation and destruction, families, text and styles.
#include "Platform/WndData.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

// The live windows by handle. Never destroyed: window objects of static
// storage ask it at exit.
std::unordered_map<HWND, WndData*>& LiveWindows()
{
    static auto* live = new std::unordered_map<HWND, WndData*>;
    return *live;
}

struct WndClass {
    UINT style = 0;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    WNDPROC proc = nullptr;
};

std::unordered_map<std::string, WndClass>& Classes()
{
    static std::unordered_map<std::string, WndClass> classes;
    return classes;
}

} // namespace

WndData* WndData::From(HWND h)
{
    const auto it = h ? LiveWindows().find(h) : LiveWindows().end();
    return it != LiveWindows().end() ? it->second : nullptr;
}

HWND WndData::NewHandle()
{
    // Clear of the special places (HWND_TOP, HWND_BOTTOM, HWND_TOPMOST...).
    static uintptr_t last = 0x10000;
    last += 4;
    return reinterpret_cast<HWND>(last);
}

bool WndData::isVisible() const
{
    for (const WndData* d = this; d; d = d->isChild() ? From(d->parent) : nullptr) {
        if (!(d->style & WS_VISIBLE))
            return false;
    }
    return true;
}

CRect WndData::windowInScreen() const
{
    CRect r = window;
    if (isChild()) {
        if (WndData* p = From(parent)) {
            const CRect pc = p->clientInScreen();
            r.OffsetRect(pc.left, pc.top);
        }
    }
    return r;
}

CRect WndData::clientInScreen() const
{
    CRect r = client;
    const CRect w = windowInScreen();
    r.OffsetRect(w.left, w.top);
    return r;
}

void Wnd::Register(WndData* d) { LiveWindows().emplace(d->handle(), d); }
void Wnd::Unregister(WndData* d) { LiveWindows().erase(d->handle()); }

std::vector<HWND>& Wnd::TopLevels()
{
    static std::vector<HWND> tops;
    return tops;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::unordered_set<std::string> names;
    char name[96];
    std::snprintf(name, sizeof name, "Vexal:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                  static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    WndClass& c = Classes()[name];
    c.style = nClassStyle;
    c.cursor = hCursor;
    c.background = hbrBackground;
    return names.insert(name).first->c_str();
}

void AfxRegisterClassProc(LPCTSTR lpszClassName, WNDPROC proc)
{
    Classes()[lpszClassName ? lpszClassName : ""].proc = proc;
}

QWidget* WndFrameWidget(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d ? d->frame : nullptr;
}

QWidget* WndClientWidget(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d ? d->clientWidget : nullptr;
}

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (WndData::From(m_hWnd))
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return nullptr;
    if (!d->wnd) {
        d->wnd = new CWnd;
        d->wnd->m_hWnd = hWnd;
        d->plainWnd = true;
    }
    return d->wnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d && !d->plainWnd ? d->wnd : nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    if (!d || m_hWnd)
        return FALSE;
    if (d->wnd && d->wnd != this) {
        if (!d->plainWnd)
            return FALSE;
        d->wnd->m_hWnd = nullptr;
        delete d->wnd;
    }
    d->wnd = this;
    d->plainWnd = false;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (WndData* d = WndData::From(h)) {
        if (d->wnd == this)
            d->wnd = nullptr;
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, int(nID)));
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    (void)cs;
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    const bool child = (dwStyle & WS_CHILD) != 0;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    child ? reinterpret_cast<HMENU>(uintptr_t(nID)) : nullptr, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = LONG(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    WndData* parent = WndData::From(cs.hwndParent);
    const bool child = (DWORD(cs.style) & WS_CHILD) != 0;
    if (child && !parent)
        return FALSE;

    Wnd::WatchApplication();
    auto* d = new WndData;
    d->className = cs.lpszClass ? cs.lpszClass : "";
    auto cls = Classes().find(d->className);
    if (cls != Classes().end()) {
        d->classStyle = cls->second.style;
        d->classCursor = cls->second.cursor;
        d->classProc = cls->second.proc;
        d->classBrush = cls->second.background;
    }
    d->style = DWORD(cs.style);
    d->exStyle = cs.dwExStyle;
    d->text = cs.lpszName ? cs.lpszName : "";
    if (child) {
        d->parent = cs.hwndParent;
        d->id = UINT(reinterpret_cast<uintptr_t>(cs.hMenu));
    } else {
        // An owner is always a top-level window.
        WndData* owner = parent;
        while (owner && owner->isChild())
            owner = WndData::From(owner->parent);
        d->owner = owner ? owner->handle() : nullptr;
        d->menu = cs.hMenu;
    }
    if (cs.x == CW_USEDEFAULT) {
        cs.x = child ? 0 : 40;
        cs.y = child ? 0 : 40;
    }
    if (cs.cx == CW_USEDEFAULT) {
        cs.cx = child ? 0 : 800;
        cs.cy = child ? 0 : 600;
    }
    d->window = CRect(cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0));
    d->client = CRect(0, 0, d->window.Width(), d->window.Height());
    d->wnd = this;
    m_hWnd = d->handle();
    Wnd::Register(d);

    QWidget* parentWidget = nullptr;
    Qt::WindowFlags flags = Qt::Widget;
    if (child) {
        parentWidget = parent->clientWidget;
        parent->children.insert(parent->children.begin(), m_hWnd);
    } else {
        WndData* owner = WndData::From(d->owner);
        parentWidget = owner ? owner->frame : nullptr;
        if (d->style & WS_POPUP)
            flags = Qt::Tool | Qt::FramelessWindowHint;
        else
            flags = Qt::Window;
        if (d->exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        Wnd::TopLevels().insert(Wnd::TopLevels().begin(), m_hWnd);
    }
    d->frame = new WndWidget(d, false, parentWidget, flags);
    // Hidden explicitly: a child widget not yet hidden would be shown with its
    // parent, covering what the parent paints although its style says hidden.
    d->frame->hide();
    d->clientWidget = new WndWidget(d, true, d->frame, Qt::Widget);
    if (!d->text.empty() && !child)
        d->frame->setWindowTitle(QString::fromUtf8(d->text.c_str()));
    d->frame->setEnabled(!(d->style & WS_DISABLED));

    if (!child) {
        int cx = d->window.Width(), cy = d->window.Height();
        Wnd::ClampSize(d, &cx, &cy);
        if (!WndData::From(m_hWnd))
            return FALSE;
        d->window.right = d->window.left + cx;
        d->window.bottom = d->window.top + cy;
        d->client = CRect(0, 0, cx, cy);
    }
    SendMessage(WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (!WndData::From(m_hWnd))
        return FALSE;
    Wnd::RecalcFrame(d, false);
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (!WndData::From(m_hWnd))
        return FALSE;
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(d->client.Width()), WORD(d->client.Height())));
    SendMessage(WM_MOVE, 0, MAKELPARAM(WORD(d->window.left + d->client.left), WORD(d->window.top + d->client.top)));
    if (d->style & WS_VISIBLE) {
        d->style &= ~WS_VISIBLE;
        ShowWindow(SW_SHOW);
    }
    return WndData::From(m_hWnd) != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    WndData* d = WndData::From(m_hWnd);
    if (!d || d->destroying)
        return FALSE;
    d->destroying = true;
    HWND self = m_hWnd;

    // Owned windows go first, whole.
    for (HWND top : std::vector<HWND>(Wnd::TopLevels())) {
        WndData* t = WndData::From(top);
        if (t && t->owner == self && !t->destroying)
            CWnd::FromHandle(top)->DestroyWindow();
    }
    if (d->style & WS_VISIBLE)
        ShowWindow(SW_HIDE);
    Wnd::ForgetWindow(d);

    // WM_DESTROY runs parent first, then the children; WM_NCDESTROY last.
    struct Walk {
        static void Destroy(HWND h)
        {
            WndData* w = WndData::From(h);
            if (!w)
                return;
            w->destroying = true;
            Wnd::Send(w, WM_DESTROY, 0, 0);
            for (HWND c : std::vector<HWND>(w->children))
                Destroy(c);
            // A timer may be the one whose signal is running now.
            for (auto& t : w->timers) {
                t.second.timer->stop();
                t.second.timer->deleteLater();
            }
            w->timers.clear();
            Wnd::Send(w, WM_NCDESTROY, 0, 0);
            Finish(w);
        }
        static void Finish(WndData* w)
        {
            HWND h = w->handle();
            if (WndData* p = WndData::From(w->parent)) {
                auto& list = p->children;
                list.erase(std::remove(list.begin(), list.end(), h), list.end());
            }
            auto& tops = Wnd::TopLevels();
            tops.erase(std::remove(tops.begin(), tops.end(), h), tops.end());
            Wnd::ForgetWindow(w);
            Wnd::Unregister(w);
            w->clientWidget->data = nullptr;
            w->frame->data = nullptr;
            w->frame->hide();
            w->frame->setParent(nullptr);
            w->frame->deleteLater();
            CWnd* obj = w->wnd;
            const bool plain = w->plainWnd;
            delete w;
            if (obj) {
                obj->m_hWnd = nullptr;
                if (plain)
                    delete obj;
                else
                    obj->PostNcDestroy();
            }
        }
    };
    Walk::Destroy(self);
    return TRUE;
}

DWORD CWnd::GetStyle() const
{
    WndData* d = WndData::From(m_hWnd);
    return d ? d->style : 0;
}

DWORD CWnd::GetExStyle() const
{
    WndData* d = WndData::From(m_hWnd);
    return d ? d->exStyle : 0;
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return FALSE;
    STYLESTRUCT ss = { d->style, (d->style & ~dwRemove) | dwAdd };
    if (ss.styleNew == ss.styleOld)
        return FALSE;
    const DWORD shown = (ss.styleNew ^ ss.styleOld) & WS_VISIBLE;
    ss.styleNew ^= shown;
    Wnd::Send(d, WM_STYLECHANGING, WPARAM(GWL_STYLE), reinterpret_cast<LPARAM>(&ss));
    if (!WndData::From(hWnd))
        return FALSE;
    d->style = ss.styleNew;
    if (ss.styleOld & ~ss.styleNew & WS_DISABLED || ss.styleNew & ~ss.styleOld & WS_DISABLED)
        d->frame->setEnabled(!(d->style & WS_DISABLED));
    Wnd::Send(d, WM_STYLECHANGED, WPARAM(GWL_STYLE), reinterpret_cast<LPARAM>(&ss));
    if (!WndData::From(hWnd))
        return TRUE;
    if (shown)
        CWnd::FromHandle(hWnd)->ShowWindow(dwAdd & WS_VISIBLE ? SW_SHOWNA : SW_HIDE);
    if (CWnd* w = nFlags ? CWnd::FromHandle(hWnd) : nullptr)
        w->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return FALSE;
    STYLESTRUCT ss = { d->exStyle, (d->exStyle & ~dwRemove) | dwAdd };
    if (ss.styleNew == ss.styleOld)
        return FALSE;
    Wnd::Send(d, WM_STYLECHANGING, WPARAM(GWL_EXSTYLE), reinterpret_cast<LPARAM>(&ss));
    if (!WndData::From(hWnd))
        return FALSE;
    d->exStyle = ss.styleNew;
    Wnd::Send(d, WM_STYLECHANGED, WPARAM(GWL_EXSTYLE), reinterpret_cast<LPARAM>(&ss));
    if (CWnd* w = nFlags ? CWnd::FromHandle(hWnd) : nullptr)
        w->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : ""));
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return int(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, WPARAM(nMaxCount),
                                                    reinterpret_cast<LPARAM>(lpszStringBuf)));
}

int CWnd::GetWindowTextLength() const
{
    return int(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH));
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    WndData* d = WndData::From(m_hWnd);
    WndData* np = WndData::From(pWndNewParent ? pWndNewParent->m_hWnd : nullptr);
    if (!d || !d->isChild() || !np)
        return nullptr;
    WndData* old = WndData::From(d->parent);
    if (old) {
        auto& list = old->children;
        list.erase(std::remove(list.begin(), list.end(), m_hWnd), list.end());
    }
    d->parent = np->handle();
    np->children.insert(np->children.begin(), m_hWnd);
    d->frame->setParent(np->clientWidget);
    Wnd::ApplyGeometry(d);
    if (d->style & WS_VISIBLE)
        d->frame->show();
    return old ? FromHandle(old->handle()) : nullptr;
}

CWnd* CWnd::GetOwner() const
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return nullptr;
    return FromHandle(d->owner ? d->owner : d->parent);
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    if (WndData* d = WndData::From(m_hWnd))
        d->owner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    WndData* d = WndData::From(m_hWnd);
    while (d && d->isChild())
        d = WndData::From(d->parent);
    while (d && d->owner)
        d = WndData::From(d->owner);
    return d ? FromHandle(d->handle()) : nullptr;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd ? pWnd->m_hWnd : nullptr); }

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    while (d && d->isChild()) {
        if (d->parent == hWndParent)
            return TRUE;
        d = WndData::From(d->parent);
    }
    return FALSE;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessage(::GetDlgItem(m_hWnd, nID), message, wParam, lParam);
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    CWnd* item = GetDlgItem(nID);
    if (!item) {
        if (lpStr && nMaxCount > 0)
            *lpStr = 0;
        return 0;
    }
    return item->GetWindowText(lpStr, nMaxCount);
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

int CWnd::SetDlgCtrlID(int nID)
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return 0;
    const int old = int(d->id);
    d->id = UINT(nID);
    return old;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    WndData* d = WndData::From(m_hWnd);
    if (!d)
        return nullptr;
    if (nCmd == GW_CHILD)
        return d->children.empty() ? nullptr : FromHandle(d->children.front());
    if (nCmd == GW_OWNER)
        return FromHandle(d->owner);
    const std::vector<HWND>* siblings = &Wnd::TopLevels();
    if (WndData* p = WndData::From(d->parent))
        siblings = &p->children;
    if (siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), m_hWnd);
    switch (nCmd) {
    case GW_HWNDFIRST:
        return FromHandle(siblings->front());
    case GW_HWNDLAST:
        return FromHandle(siblings->back());
    case GW_HWNDNEXT:
        return it != siblings->end() && it + 1 != siblings->end() ? FromHandle(*(it + 1)) : nullptr;
    case GW_HWNDPREV:
        return it != siblings->end() && it != siblings->begin() ? FromHandle(*(it - 1)) : nullptr;
    default:
        return nullptr;
    }
}

CWnd* CWnd::GetTopWindow() const { return GetWindow(GW_CHILD); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return GetWindow(nFlag); }

BOOL IsWindow(HWND hWnd) { return WndData::From(hWnd) != nullptr; }

BOOL IsWindowVisible(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d && d->isVisible();
}

BOOL IsWindowEnabled(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d && !(d->style & WS_DISABLED);
}

HWND GetParent(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return nullptr;
    if (d->isChild())
        return d->parent;
    return (d->style & WS_POPUP) ? d->owner : nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    WndData* d = WndData::From(hWnd);
    return d && d->isChild() ? int(d->id) : 0;
}

HWND GetDlgItem(HWND hDlg, int nID)
{
    WndData* d = WndData::From(hDlg);
    if (!d)
        return nullptr;
    for (HWND c : d->children) {
        WndData* w = WndData::From(c);
        if (w && int(w->id) == nID)
            return c;
    }
    return nullptr;
}

LONG GetWindowLong(HWND hWnd, int nIndex)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return 0;
    switch (nIndex) {
    case GWL_STYLE:
        return LONG(d->style);
    case GWL_EXSTYLE:
        return LONG(d->exStyle);
    case GWL_ID:
        return LONG(d->id);
    case GWL_USERDATA:
        return d->userData;
    default:
        return 0;
    }
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong)
{
    WndData* d = WndData::From(hWnd);
    if (!d)
        return 0;
    const LONG old = GetWindowLong(hWnd, nIndex);
    switch (nIndex) {
    case GWL_STYLE:
        CWnd::ModifyStyle(hWnd, ~DWORD(0), DWORD(dwNewLong), 0);
        break;
    case GWL_EXSTYLE:
        CWnd::ModifyStyleEx(hWnd, ~DWORD(0), DWORD(dwNewLong), 0);
        break;
    case GWL_ID:
        d->id = UINT(dwNewLong);
        break;
    case GWL_USERDATA:
        d->userData = dwNewLong;
        break;
    default:
        return 0;
    }
    return old;
}
