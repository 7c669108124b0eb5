// Popups as layer windows and the tracking loop. One tracking runs at a
// time; it owns a stack of open popups, level 0 the one opened first, each
// deeper level the submenu of the hot item of the level above. While it
// runs, keys and the mouse go to the tracking and every other message is
// dispatched as usual. Owner-drawn items are measured and drawn by the
// owner window; text items, separators and the bar are drawn here.
#include "Platform/MenuTrack.h"

#include "Platform/Dc.h"
#include "Platform/DialogHook.h"
#include "Platform/MenuData.h"
#include "Platform/SysColors.h"
#include "Platform/TextConv.h"
#include "Platform/WinApp.h"
#include "Platform/WndData.h"

#include <algorithm>
#include <memory>

namespace {

const int kBorder = 3;
const int kSeparatorHeight = 9;
const int kTextGutter = 18;

HMENU g_measuring = nullptr;

CFont* MenuFont()
{
    static CFont* font = [] {
        auto* f = new CFont;
        NONCLIENTMETRICS metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        f->CreateFontIndirect(&metrics.lfMenuFont);
        return f;
    }();
    return font;
}

// The lower-case character after the first single '&', or 0.
char16_t Mnemonic(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        const std::u16string unit = Utf8ToUtf16(text.c_str() + i + 1, MbCharLengthAt(text.c_str() + i + 1, int(text.size() - i - 1)));
        return unit.empty() ? 0 : char16_t(unit[0] < 0x80 ? std::tolower(unit[0]) : unit[0]);
    }
    return 0;
}

char16_t Lower(char16_t c) { return c < 0x80 ? char16_t(std::tolower(c)) : c; }

UINT ItemState(const MenuItem& item, bool hot)
{
    UINT state = hot ? ODS_SELECTED : 0;
    if (item.flags & MF_GRAYED)
        state |= ODS_GRAYED;
    if (item.flags & MF_DISABLED)
        state |= ODS_DISABLED;
    if (item.flags & MF_CHECKED)
        state |= ODS_CHECKED;
    return state;
}

bool Selectable(const MenuItem& item) { return !item.isSeparator(); }
bool Enabled(const MenuItem& item) { return !(item.flags & (MF_GRAYED | MF_DISABLED)); }

void DrawTextItem(CDC* dc, const MenuItem& item, CRect r, bool hot)
{
    const bool grayed = (item.flags & MF_GRAYED) != 0;
    dc->FillSolidRect(&r, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.isSeparator()) {
        CRect line(r.left + 1, r.top + r.Height() / 2 - 1, r.right - 1, r.bottom);
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetSysColor(grayed ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    if (item.flags & MF_CHECKED) {
        // A check in the text colour, so it shows on the highlight too.
        const int x = r.left + 5, y = r.top + (r.Height() - 7) / 2;
        static const int kRows[7] = { 2, 3, 4, 3, 2, 1, 0 };
        for (int i = 0; i < 7; ++i)
            dc->FillSolidRect(x + i, y + kRows[i], 1, 3, dc->GetTextColor());
    }
    const size_t tab = item.text.find('\t');
    CRect text(r.left + kTextGutter, r.top, r.right - kTextGutter, r.bottom);
    dc->DrawText(item.text.substr(0, tab).c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (tab != std::string::npos)
        dc->DrawText(item.text.substr(tab + 1).c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    if (item.isPopup()) {
        const int cx = r.right - 10, cy = r.top + r.Height() / 2;
        for (int i = 0; i < 4; ++i)
            dc->FillSolidRect(cx + i, cy - 3 + i, 1, 7 - 2 * i, dc->GetTextColor());
    }
}

// A popup of the tracking.
class PopupWnd : public CWnd {
public:
    PopupWnd(HMENU menu, HWND owner) : m_menu(menu), m_owner(owner) {}

    HMENU m_menu;
    HWND m_owner;
    std::vector<CRect> m_rects;  // client coordinates
    int m_hot = -1;

    MenuData* Data() const { return MenuData::From(m_menu); }

    bool Open(POINT at, UINT flags)
    {
        MenuData* d = Data();
        if (!d)
            return false;
        CDC screen;
        screen.CreateCompatibleDC(nullptr);
        CFont* old = screen.SelectObject(MenuFont());
        int width = 0, y = kBorder;
        for (const MenuItem& item : d->items) {
            int w = 0, h = 0;
            if (item.flags & MF_OWNERDRAW) {
                MEASUREITEMSTRUCT m = { ODT_MENU, 0, UINT(item.id), 0, 0, item.data };
                g_measuring = m_menu;
                ::SendMessage(m_owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
                g_measuring = nullptr;
                w = int(m.itemWidth);
                h = int(m.itemHeight);
            } else if (item.isSeparator()) {
                h = kSeparatorHeight;
            } else {
                const size_t tab = item.text.find('\t');
                CRect label;
                screen.DrawText(item.text.substr(0, tab).c_str(), -1, &label, DT_CALCRECT | DT_SINGLELINE);
                w = label.Width() + 2 * kTextGutter;
                if (tab != std::string::npos)
                    w += screen.GetTextExtent(item.text.substr(tab + 1).c_str()).cx + kTextGutter;
                h = std::max(GetSystemMetrics(SM_CYMENU), label.Height() + 4);
            }
            m_rects.emplace_back(kBorder, y, kBorder + w, y + h);
            width = std::max(width, w);
            y += h;
        }
        screen.SelectObject(old);
        for (CRect& r : m_rects)
            r.right = kBorder + width;
        const int cx = width + 2 * kBorder, cy = y + kBorder;
        int x = at.x, top = at.y;
        if (flags & TPM_RIGHTALIGN)
            x -= cx;
        else if (flags & TPM_CENTERALIGN)
            x -= cx / 2;
        if (flags & TPM_BOTTOMALIGN)
            top -= cy;
        else if (flags & TPM_VCENTERALIGN)
            top -= cy / 2;
        x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - cx));
        top = std::max(0, std::min(top, GetSystemMetrics(SM_CYSCREEN) - cy));
        if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP, x, top, cx, cy, m_owner, nullptr))
            return false;
        ShowWindow(SW_SHOWNOACTIVATE);
        return true;
    }

    int ItemAt(POINT screen) const
    {
        CPoint p = screen;
        ScreenToClient(&p);
        for (size_t i = 0; i < m_rects.size(); ++i) {
            if (m_rects[i].PtInRect(p))
                return int(i);
        }
        return -1;
    }

    void SetHot(int index)
    {
        if (index == m_hot)
            return;
        const int old = m_hot;
        m_hot = index;
        for (int i : { old, index }) {
            if (i >= 0 && size_t(i) < m_rects.size())
                InvalidateRect(&m_rects[size_t(i)], FALSE);
        }
        // The owner hears of the item under the cursor (its frame shows the
        // command's prompt).
        MenuData* d = Data();
        if (d && index >= 0 && size_t(index) < d->items.size()) {
            const MenuItem& item = d->items[size_t(index)];
            const UINT id = item.isPopup() ? UINT(index) : UINT(item.id);
            ::SendMessage(m_owner, WM_MENUSELECT, MAKEWPARAM(WORD(id), WORD(item.flags | MF_HILITE)),
                          reinterpret_cast<LPARAM>(m_menu));
        }
    }

    CRect ItemScreenRect(int index) const
    {
        CRect r = m_rects[size_t(index)];
        ClientToScreen(&r);
        return r;
    }

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, GetSysColor(COLOR_MENU));
        dc.Draw3dRect(&client, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        client.DeflateRect(1, 1);
        dc.Draw3dRect(&client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        MenuData* d = Data();
        if (!d)
            return;
        CFont* old = dc.SelectObject(MenuFont());
        for (size_t i = 0; i < d->items.size() && i < m_rects.size(); ++i) {
            const MenuItem item = d->items[i];
            const bool hot = int(i) == m_hot;
            if (item.flags & MF_OWNERDRAW) {
                DRAWITEMSTRUCT s = { ODT_MENU, 0, UINT(item.id), ODA_DRAWENTIRE, ItemState(item, hot),
                                     reinterpret_cast<HWND>(m_menu), dc.GetSafeHdc(), m_rects[i], item.data };
                const int saved = dc.SaveDC();
                ::SendMessage(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&s));
                dc.RestoreDC(saved);
            } else {
                DrawTextItem(&dc, item, m_rects[i], hot);
            }
        }
        dc.SelectObject(old);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PopupWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The bar of a frame: item rectangles relative to the window.
std::vector<CRect> BarRects(WndData* d)
{
    std::vector<CRect> rects;
    MenuData* m = MenuData::From(d->menu);
    if (!m)
        return rects;
    const int height = GetSystemMetrics(SM_CYMENU);
    const int top = d->client.top - MenuTrack::BarHeight(d);
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    CFont* old = screen.SelectObject(MenuFont());
    int x = d->client.left;
    for (const MenuItem& item : m->items) {
        CRect label;
        screen.DrawText(item.text.c_str(), -1, &label, DT_CALCRECT | DT_SINGLELINE);
        rects.emplace_back(x, top, x + label.Width() + 12, top + height);
        x += label.Width() + 12;
    }
    screen.SelectObject(old);
    return rects;
}

class Tracker;
Tracker* g_tracker = nullptr;

class Tracker {
public:
    Tracker(HWND owner, UINT flags, WndData* bar) : m_owner(owner), m_flags(flags), m_bar(bar ? bar->handle() : nullptr)
    {
        g_tracker = this;
    }
    ~Tracker()
    {
        CloseFrom(0);
        g_tracker = nullptr;
        if (WndData* bar = WndData::From(m_bar))
            Wnd::InvalidateFrame(bar);
    }

    HWND m_owner;
    UINT m_flags;
    HWND m_bar;
    int m_barItem = -1;
    bool m_done = false;
    UINT m_result = 0;
    std::vector<std::unique_ptr<PopupWnd>> m_levels;
    std::string m_pendingChar;

    bool Open(HMENU menu, POINT at, UINT index)
    {
        ::SendMessage(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(WORD(index), 0));
        if (m_done || !WndData::From(m_owner))
            return false;
        auto popup = std::make_unique<PopupWnd>(menu, m_owner);
        if (!popup->Open(at, m_levels.empty() ? m_flags : 0))
            return false;
        m_levels.push_back(std::move(popup));
        return true;
    }

    void CloseFrom(size_t level)
    {
        while (m_levels.size() > level) {
            m_levels.back()->DestroyWindow();
            m_levels.pop_back();
        }
    }

    void OpenSubmenu(size_t level, bool selectFirst)
    {
        PopupWnd* p = m_levels[level].get();
        MenuData* d = p->Data();
        if (!d || p->m_hot < 0 || size_t(p->m_hot) >= d->items.size())
            return;
        const MenuItem& item = d->items[size_t(p->m_hot)];
        if (!item.isPopup() || !Enabled(item))
            return;
        const CRect r = p->ItemScreenRect(p->m_hot);
        if (Open(item.submenu(), CPoint(r.right, r.top - kBorder), UINT(p->m_hot)) && selectFirst)
            Move(m_levels.size() - 1, +1);
    }

    void Finish(UINT command)
    {
        m_result = command;
        m_done = true;
    }

    void Choose(size_t level, int index, bool byKey)
    {
        PopupWnd* p = m_levels[level].get();
        MenuData* d = p->Data();
        if (!d || index < 0 || size_t(index) >= d->items.size())
            return;
        const MenuItem& item = d->items[size_t(index)];
        if (item.isPopup()) {
            p->SetHot(index);
            CloseFrom(level + 1);
            OpenSubmenu(level, byKey);
        } else if (Enabled(item) && Selectable(item)) {
            Finish(UINT(item.id));
        } else if (byKey) {
            Finish(0);
        }
    }

    // Moves the hot item of a level by one, over separators, wrapping.
    void Move(size_t level, int step)
    {
        PopupWnd* p = m_levels[level].get();
        MenuData* d = p->Data();
        if (!d || d->items.empty())
            return;
        const int n = int(d->items.size());
        int i = p->m_hot;
        for (int tries = 0; tries < n; ++tries) {
            i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
            if (Selectable(d->items[size_t(i)])) {
                p->SetHot(i);
                return;
            }
        }
    }

    // The bar: selects item (wrapping) and opens its popup when asked.
    void SelectBarItem(int item, bool open)
    {
        WndData* bar = WndData::From(m_bar);
        MenuData* m = bar ? MenuData::From(bar->menu) : nullptr;
        if (!m || m->items.empty())
            return;
        const int n = int(m->items.size());
        m_barItem = (item % n + n) % n;
        CloseFrom(0);
        Wnd::InvalidateFrame(bar);
        const MenuItem& entry = m->items[size_t(m_barItem)];
        if (!open)
            return;
        if (!entry.isPopup()) {
            Finish(UINT(entry.id));
            return;
        }
        const CRect r = BarRects(bar)[size_t(m_barItem)];
        const CRect w = bar->windowInScreen();
        Open(entry.submenu(), CPoint(w.left + r.left, w.top + r.bottom), UINT(m_barItem));
    }

    void Key(UINT vk)
    {
        const bool bar = m_bar != nullptr;
        if (m_levels.empty()) {
            // The bar selected, nothing open.
            switch (vk) {
            case VK_LEFT: SelectBarItem(m_barItem - 1, false); break;
            case VK_RIGHT: SelectBarItem(m_barItem + 1, false); break;
            case VK_DOWN: case VK_RETURN: case VK_UP: SelectBarItem(m_barItem, true); break;
            case VK_ESCAPE: case VK_MENU: case VK_F10: Finish(0); break;
            default: break;
            }
            return;
        }
        const size_t top = m_levels.size() - 1;
        switch (vk) {
        case VK_UP: Move(top, -1); break;
        case VK_DOWN: Move(top, +1); break;
        case VK_RIGHT: {
            PopupWnd* p = m_levels[top].get();
            MenuData* d = p->Data();
            if (d && p->m_hot >= 0 && d->items[size_t(p->m_hot)].isPopup())
                OpenSubmenu(top, true);
            else if (bar)
                SelectBarItem(m_barItem + 1, true);
            break;
        }
        case VK_LEFT:
            if (top > 0)
                CloseFrom(top);
            else if (bar)
                SelectBarItem(m_barItem - 1, true);
            break;
        case VK_RETURN: Choose(top, m_levels[top]->m_hot, true); break;
        case VK_ESCAPE:
            if (top > 0 || bar)
                CloseFrom(top);
            else
                Finish(0);
            break;
        case VK_MENU: case VK_F10: Finish(0); break;
        default: break;
        }
    }

    void Char(unsigned char byte)
    {
        m_pendingChar.push_back(char(byte));
        if (MbCharLengthAt(m_pendingChar.c_str(), int(m_pendingChar.size())) < int(m_pendingChar.size()) ||
            int(m_pendingChar.size()) < MbCharLength(BYTE(m_pendingChar[0])))
            return;
        const std::u16string units = Utf8ToUtf16(m_pendingChar.c_str());
        m_pendingChar.clear();
        if (units.empty())
            return;
        const char16_t key = Lower(units[0]);
        if (m_levels.empty()) {
            WndData* bar = WndData::From(m_bar);
            MenuData* m = bar ? MenuData::From(bar->menu) : nullptr;
            for (size_t i = 0; m && i < m->items.size(); ++i) {
                if (Mnemonic(m->items[i].text) == key) {
                    SelectBarItem(int(i), true);
                    return;
                }
            }
            return;
        }
        const size_t top = m_levels.size() - 1;
        PopupWnd* p = m_levels[top].get();
        MenuData* d = p->Data();
        if (!d)
            return;
        const bool ownerDrawn = std::any_of(d->items.begin(), d->items.end(),
                                            [](const MenuItem& i) { return (i.flags & MF_OWNERDRAW) != 0; });
        if (ownerDrawn) {
            const LRESULT r = ::SendMessage(m_owner, WM_MENUCHAR, MAKEWPARAM(WORD(units[0]), WORD(MF_POPUP)),
                                            reinterpret_cast<LPARAM>(p->m_menu));
            const int index = int(LOWORD(DWORD_PTR(r)));
            switch (HIWORD(DWORD_PTR(r))) {
            case MNC_EXECUTE: Choose(top, index, true); return;
            case MNC_SELECT: if (size_t(index) < d->items.size()) p->SetHot(index); return;
            case MNC_CLOSE: Finish(0); return;
            default: break;
            }
        }
        for (size_t i = 0; i < d->items.size(); ++i) {
            if (!(d->items[i].flags & MF_OWNERDRAW) && Mnemonic(d->items[i].text) == key) {
                Choose(top, int(i), true);
                return;
            }
        }
    }

    int LevelOf(HWND h) const
    {
        for (size_t i = 0; i < m_levels.size(); ++i) {
            if (m_levels[i]->m_hWnd == h)
                return int(i);
        }
        return -1;
    }

    bool Mouse(const MSG& msg)
    {
        const int level = LevelOf(msg.hwnd);
        POINT screen = msg.pt;
        if (level >= 0 && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            CPoint p(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            m_levels[size_t(level)]->ClientToScreen(&p);
            screen = p;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (level >= 0) {
                PopupWnd* p = m_levels[size_t(level)].get();
                const int index = p->ItemAt(screen);
                if (index >= 0 && index != p->m_hot) {
                    p->SetHot(index);
                    CloseFrom(size_t(level) + 1);
                    OpenSubmenu(size_t(level), false);
                }
            }
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (level >= 0 && (msg.message == WM_LBUTTONUP || (m_flags & TPM_RIGHTBUTTON)))
                Choose(size_t(level), m_levels[size_t(level)]->ItemAt(screen), false);
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            if (level < 0)
                Finish(0);
            return true;
        case WM_NCLBUTTONDOWN:
            if (level >= 0)
                return true;
            if (msg.hwnd == m_bar && msg.wParam == HTMENU) {
                WndData* bar = WndData::From(m_bar);
                const CRect w = bar->windowInScreen();
                const int item = MenuTrack::BarItemAt(bar, CPoint(screen.x - w.left, screen.y - w.top));
                if (item >= 0 && (item != m_barItem || m_levels.empty()))
                    SelectBarItem(item, true);
                else
                    Finish(0);
                return true;
            }
            Finish(0);
            return true;
        case WM_NCRBUTTONDOWN:
            if (level < 0)
                Finish(0);
            return true;
        default:
            return msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
        }
    }

    bool Handle(const MSG& msg)
    {
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Key(UINT(msg.wParam));
            return true;
        case WM_CHAR:
        case WM_SYSCHAR:
            Char(BYTE(msg.wParam));
            return true;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return true;
        default:
            return Mouse(msg);
        }
    }

    UINT Loop()
    {
        while (!m_done) {
            if (!WndData::From(m_owner) || (m_levels.empty() && !m_bar))
                break;
            MSG msg;
            // Without a display only input already queued can reach the
            // menu: when it runs out, the menu is cancelled.
            if (AfxHeadless()) {
                if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                    break;
            } else if (!GetMessage(&msg, nullptr, 0, 0)) {
                PostQuitMessage(int(msg.wParam));
                break;
            }
            if (!Handle(msg))
                DispatchMessage(&msg);
        }
        // The menu closed: a null menu with flags 0xFFFF.
        if (WndData::From(m_owner))
            ::SendMessage(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        return m_done ? m_result : 0;
    }
};

} // namespace

HMENU MenuTrack::MeasuringMenu() { return g_measuring; }

UINT MenuTrack::Run(HMENU menu, UINT flags, POINT at, HWND owner)
{
    if (g_tracker || !MenuData::From(menu) || !WndData::From(owner))
        return 0;
    Tracker tracker(owner, flags, nullptr);
    if (!tracker.Open(menu, at, 0))
        return 0;
    return tracker.Loop();
}

int MenuTrack::BarHeight(const WndData* d)
{
    return !d->isChild() && MenuData::From(d->menu) ? GetSystemMetrics(SM_CYMENU) + 1 : 0;
}

void MenuTrack::PaintBar(WndData* d, CDC* dc)
{
    MenuData* m = MenuData::From(d->menu);
    const int height = BarHeight(d);
    if (!m || !height)
        return;
    const CRect bar(d->client.left, d->client.top - height, d->client.right, d->client.top);
    dc->FillSolidRect(&bar, GetSysColor(COLOR_MENU));
    dc->FillSolidRect(bar.left, bar.bottom - 1, bar.Width(), 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    CFont* old = dc->SelectObject(MenuFont());
    dc->SetBkMode(TRANSPARENT);
    const std::vector<CRect> rects = BarRects(d);
    const bool tracked = g_tracker && g_tracker->m_bar == d->handle();
    for (size_t i = 0; i < rects.size(); ++i) {
        const MenuItem& item = m->items[i];
        CRect r = rects[i];
        const bool hot = tracked && g_tracker->m_barItem == int(i);
        if (hot) {
            if (g_tracker->m_levels.empty())
                dc->Draw3dRect(&r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
            else
                dc->Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        dc->SetTextColor(GetSysColor((item.flags & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        if (hot && !g_tracker->m_levels.empty())
            r.OffsetRect(1, 1);
        dc->DrawText(item.text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc->SelectObject(old);
}

int MenuTrack::BarItemAt(WndData* d, POINT windowPoint)
{
    const std::vector<CRect> rects = BarRects(d);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].PtInRect(windowPoint))
            return int(i);
    }
    return -1;
}

void MenuTrack::TrackBar(WndData* d, int item, UINT key)
{
    MenuData* m = MenuData::From(d->menu);
    if (g_tracker || !m || m->items.empty())
        return;
    const HWND owner = d->handle();
    UINT command = 0;
    {
        Tracker tracker(owner, TPM_LEFTBUTTON, d);
        if (key) {
            tracker.m_barItem = 0;
            tracker.Char(BYTE(key));
            if (tracker.m_levels.empty() && !tracker.m_done)
                return;
        } else {
            tracker.SelectBarItem(std::max(item, 0), item >= 0);
        }
        command = tracker.Loop();
    }
    if (command)
        ::PostMessage(owner, WM_COMMAND, command, 0);
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, LPCRECT)
{
    if (!MenuData::From(hMenu) || !WndData::From(hWnd))
        return FALSE;
    PopupMenuRequest popup = { hMenu, uFlags, POINT{ x, y } };
    DialogRequest request = { DialogKind::PopupMenu, CWnd::FromHandle(hWnd), nullptr, nullptr, uFlags, 0, &popup };
    INT_PTR answer = 0;
    UINT command = 0;
    if (AfxAskDialogHook(request, &answer))
        command = UINT(answer);
    else if (AfxDialogHookInstalled() || !AfxHeadless())
        command = MenuTrack::Run(hMenu, uFlags, POINT{ x, y }, hWnd);
    if (uFlags & TPM_RETURNCMD)
        return BOOL(command);
    if (command)
        ::PostMessage(hWnd, WM_COMMAND, command, 0);
    return command != 0;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}
