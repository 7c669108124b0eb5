// Menus of the layer: item operations on the handle table, the template
// reader, popups tracked through the dialog hook or on queued input, and
// the menu bar in a frame's non-client area.
#include "WndFixture.h"

#include "Platform/DialogHook.h"
#include "Platform/FrameWnd.h"
#include "Platform/Menu.h"
#include "Platform/ResourceTemplates.h"
#include "Platform/SysColors.h"

#include <QDir>
#include <QPainter>
#include <functional>

namespace {

// A menu as "flags id text" per item, popups with their items in braces.
std::string Dump(HMENU menu)
{
    CMenu* m = CMenu::FromHandle(menu);
    std::string out;
    for (int i = 0; m && i < m->GetMenuItemCount(); ++i) {
        const UINT state = m->GetMenuState(UINT(i), MF_BYPOSITION);
        CString text;
        m->GetMenuString(UINT(i), text, MF_BYPOSITION);
        if (!out.empty())
            out += " | ";
        if (state & MF_POPUP) {
            out += Fmt("P%u %s {%s}", state >> 8, static_cast<LPCTSTR>(text), Dump(GetSubMenu(menu, i)).c_str());
        } else {
            out += Fmt("%X %u %s", state, m->GetMenuItemID(i), static_cast<LPCTSTR>(text));
        }
    }
    return out;
}

struct ItemCase {
    const char* name;
    std::function<BOOL(CMenu&, CMenu&)> operation;  // on the menu and its popup
    BOOL result;
    const char* after;
};

} // namespace

TEST(Menu, ItemOperationsChangeTheItemsAsTheFlagsSay)
{
    // Start: "A" 1, separator, popup "P" { "C" 3 }, "B" 2 (grayed).
    const ItemCase cases[] = {
        { "append text", [](CMenu& m, CMenu&) { return m.AppendMenu(MF_STRING, 9, "Z"); }, TRUE,
          "0 1 A | 800 0  | P1 P {0 3 C} | 1 2 B | 0 9 Z" },
        { "insert before a command found in a popup", [](CMenu& m, CMenu&) { return m.InsertMenu(3, MF_BYCOMMAND, 7, "N"); },
          TRUE, "0 1 A | 800 0  | P2 P {0 7 N | 0 3 C} | 1 2 B" },
        { "insert by position", [](CMenu& m, CMenu&) { return m.InsertMenu(1, MF_BYPOSITION | MF_CHECKED, 7, "N"); },
          TRUE, "0 1 A | 8 7 N | 800 0  | P1 P {0 3 C} | 1 2 B" },
        { "modify by command keeps the place", [](CMenu& m, CMenu&) { return m.ModifyMenu(2, MF_BYCOMMAND, 5, "E"); },
          TRUE, "0 1 A | 800 0  | P1 P {0 3 C} | 0 5 E" },
        { "remove by command reaches into the popup", [](CMenu& m, CMenu&) { return m.RemoveMenu(3, MF_BYCOMMAND); },
          TRUE, "0 1 A | 800 0  | P0 P {} | 1 2 B" },
        { "delete a separator by position", [](CMenu& m, CMenu&) { return m.DeleteMenu(1, MF_BYPOSITION); }, TRUE,
          "0 1 A | P1 P {0 3 C} | 1 2 B" },
        { "a position past the end is refused", [](CMenu& m, CMenu&) { return m.RemoveMenu(4, MF_BYPOSITION); },
          FALSE, "0 1 A | 800 0  | P1 P {0 3 C} | 1 2 B" },
        { "an absent command is refused", [](CMenu& m, CMenu&) { return m.ModifyMenu(99, MF_BYCOMMAND, 5, "E"); },
          FALSE, "0 1 A | 800 0  | P1 P {0 3 C} | 1 2 B" },
        { "check returns the former state",
          [](CMenu& m, CMenu&) { return m.CheckMenuItem(3, MF_CHECKED) == MF_UNCHECKED; }, TRUE,
          "0 1 A | 800 0  | P1 P {8 3 C} | 1 2 B" },
        { "enable returns the former state",
          [](CMenu& m, CMenu&) { return m.EnableMenuItem(2, MF_ENABLED) == MF_GRAYED; }, TRUE,
          "0 1 A | 800 0  | P1 P {0 3 C} | 0 2 B" },
        { "owner-drawn items carry data, not text",
          [](CMenu&, CMenu& p) { return p.AppendMenu(MF_OWNERDRAW, 4, reinterpret_cast<LPCTSTR>(0x1234)); }, TRUE,
          "0 1 A | 800 0  | P2 P {0 3 C | 100 4 } | 1 2 B" },
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        CMenu menu, popup;
        ASSERT_TRUE(menu.CreateMenu());
        ASSERT_TRUE(popup.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, 1, "A");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.m_hMenu), "P");
        menu.AppendMenu(MF_STRING | MF_GRAYED, 2, "B");
        popup.AppendMenu(MF_STRING, 3, "C");
        EXPECT_EQ(c.operation(menu, popup), c.result);
        EXPECT_EQ(Dump(menu), c.after);
        popup.Detach();  // the bar destroys its popups
    }
}

TEST(Menu, StateItemInfoAndHandles)
{
    CMenu menu;
    menu.CreatePopupMenu();
    CMenu* sub = new CMenu;
    sub->CreatePopupMenu();
    sub->AppendMenu(MF_STRING, 5, "x");
    sub->AppendMenu(MF_STRING, 6, "y");
    menu.AppendMenu(MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(sub->m_hMenu), "Sub");
    menu.AppendMenu(MF_OWNERDRAW, 8, reinterpret_cast<LPCTSTR>(0x77));
    EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION), UINT((2 << 8) | MF_POPUP | MF_GRAYED));
    EXPECT_EQ(menu.GetMenuState(42, MF_BYCOMMAND), UINT(-1));
    EXPECT_EQ(menu.GetMenuItemID(0), UINT(-1));
    EXPECT_EQ(menu.GetSubMenu(0), sub);
    EXPECT_EQ(menu.GetSubMenu(1), nullptr);

    CBitmap checked, unchecked;
    checked.CreateBitmap(8, 8, 1, 32, nullptr);
    unchecked.CreateBitmap(8, 8, 1, 32, nullptr);
    ASSERT_TRUE(menu.SetMenuItemBitmaps(8, MF_BYCOMMAND, &unchecked, &checked));
    MENUITEMINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(menu.GetMenuItemInfo(8, &info));
    EXPECT_EQ(info.hbmpChecked, static_cast<HBITMAP>(checked.m_hObject));
    EXPECT_EQ(info.hbmpUnchecked, static_cast<HBITMAP>(unchecked.m_hObject));
    EXPECT_EQ(info.dwItemData, ULONG_PTR(0x77));
    EXPECT_EQ(info.wID, 8u);

    // Destroying a menu destroys its popups; the permanent object lets go.
    const HMENU outer = menu.m_hMenu, inner = sub->m_hMenu;
    ASSERT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(outer));
    EXPECT_FALSE(IsMenu(inner));
    EXPECT_EQ(sub->m_hMenu, nullptr);
    EXPECT_EQ(CMenu::FromHandle(outer), nullptr);
    EXPECT_EQ(GetMenuItemCount(outer), -1);
    delete sub;

    // A plain object stands in for a menu without one and goes with it.
    const HMENU bare = CreatePopupMenu();
    CMenu* plain = CMenu::FromHandle(bare);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(CMenu::FromHandlePermanent(bare), nullptr);
    EXPECT_EQ(CMenu::FromHandle(bare), plain);
    DestroyMenu(bare);
}

TEST(Menu, TemplateReaderTakesOnlyWholeTemplates)
{
    const WORD P = MENU_TEMPLATE_POPUP, E = MENU_TEMPLATE_END;
    struct Case {
        const char* name;
        std::vector<WORD> words;
        bool ok;
        const char* items;  // "level flags id text" lines
    };
    const Case cases[] = {
        { "nested levels close with their last items",
          { 0, 0, P, 'F', 0, 0, 1, 'a', 0, P | E, 'S', 0, E, 2, 'b', 0, E, 3, 'c', 0 },
          true, "0 10 0 F;1 0 1 a;1 90 0 S;2 80 2 b;0 80 3 c;" },
        { "a header size skips the extra header", { 0, 2, 0xAAAA, E, 7, 'x', 0 }, true, "0 80 7 x;" },
        { "no item closes the bar", { 0, 0, 0, 1, 'a', 0 }, false, "" },
        { "an open popup at the end", { 0, 0, P | E, 'F', 0, 0, 1, 'a', 0 }, false, "" },
        { "a text without its terminator", { 0, 0, E, 1, 'a', 'b' }, false, "" },
        { "an id cut off", { 0, 0, E }, false, "" },
        { "a header size past the end", { 0, 40, E, 1, 0 }, false, "" },
        { "nothing at all", {}, false, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<MenuTemplateItem> items(1);
        const bool ok = ReadMenuTemplate(c.words.data(), DWORD(c.words.size() * 2), &items);
        EXPECT_EQ(ok, c.ok);
        std::string got;
        for (const MenuTemplateItem& i : items)
            got += Fmt("%d %X %u %s;", i.level, i.flags, i.id, i.text.c_str());
        EXPECT_EQ(got, c.ok ? c.items : "0 0 0 ;");  // a refused template leaves the list alone
        EXPECT_EQ(LoadMenuIndirect(c.words.data(), DWORD(c.words.size() * 2)) != nullptr, c.ok);
    }

    std::vector<WORD> deep = { 0, 0 };
    for (int i = 0; i <= MENU_TEMPLATE_MAX_DEPTH; ++i)
        deep.insert(deep.end(), { WORD(P | E), 'p', 0 });
    deep.insert(deep.end(), { WORD(E), 1, 'x', 0 });
    std::vector<MenuTemplateItem> items;
    EXPECT_FALSE(ReadMenuTemplate(deep.data(), DWORD(deep.size() * 2), &items));
}

TEST(Menu, ProgramMenuLoadsWithItsPopups)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(128));
    ASSERT_GE(menu.GetMenuItemCount(), 6);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&File");
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_POPUP);
    EXPECT_EQ(menu.GetMenuState(32797, MF_BYCOMMAND), UINT(MF_GRAYED));
    menu.GetMenuString(57600, text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "New\tCtrl+N");
    EXPECT_FALSE(menu.LoadMenu(128));  // already holds a menu
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(4242));
}

namespace {

// An owner that records the menu messages it gets and answers owner-draw
// requests for its items.
class MenuOwner : public CWnd {
public:
    Log log;
    LRESULT menuChar = 0;
    std::function<void()> onPing;

protected:
    void OnInitMenuPopup(CMenu* menu, UINT index, BOOL) { log.push_back(Fmt("init %d %u", menu->GetMenuItemCount(), index)); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT m)
    {
        log.push_back(Fmt("measure %u", m->itemID));
        m->itemWidth = 80;
        m->itemHeight = 20;
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT d) { log.push_back(Fmt("draw %u %u", d->itemID, d->itemState)); }
    LRESULT OnMenuChar(UINT ch, UINT flags, CMenu*)
    {
        log.push_back(Fmt("menuchar %u %X", ch, flags));
        return menuChar;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        log.push_back(Fmt("command %u", UINT(LOWORD(wParam))));
        return TRUE;
    }
    LRESULT OnPing(WPARAM, LPARAM)
    {
        if (onPing)
            onPing();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, CWnd)
    ON_WM_INITMENUPOPUP()
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
    ON_WM_MENUCHAR()
    ON_MESSAGE(WM_USER + 1, OnPing)
END_MESSAGE_MAP()

// A hook that answers popup menus with a command, or queues keys and declines.
struct PopupHook {
    PopupHook(std::function<bool(DialogRequest&, INT_PTR*)> f) { old = AfxSetDialogHook(std::move(f)); }
    ~PopupHook() { AfxSetDialogHook(old); }
    DialogHook old;
};

void QueueKeys(HWND owner, std::initializer_list<UINT> keys)
{
    for (UINT k : keys) {
        if (k >= 0x100)
            PostMessage(owner, WM_CHAR, k - 0x100, 0);
        else
            PostMessage(owner, WM_KEYDOWN, k, 0);
    }
}

// An owner with a file-like popup: "&Open" 10, separator, "&Recent" {
// "One" 21, "Two" 22 }, "&Gone" 30 grayed, "E&xit" 40.
struct FilePopup {
    MenuOwner owner;
    CMenu menu;
    CMenu recent;
    FilePopup()
    {
        CreateTop(owner, 50, 50, 200, 100);
        menu.CreatePopupMenu();
        recent.CreatePopupMenu();
        recent.AppendMenu(MF_STRING, 21, "One");
        recent.AppendMenu(MF_STRING, 22, "Two");
        menu.AppendMenu(MF_STRING, 10, "&Open\tCtrl+O");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(recent.m_hMenu), "&Recent");
        menu.AppendMenu(MF_STRING | MF_GRAYED, 30, "&Gone");
        menu.AppendMenu(MF_STRING, 40, "E&xit");
    }
    ~FilePopup() { owner.DestroyWindow(); }
};

} // namespace

TEST(MenuTrack, TheHookAnswersInPlaceOfTracking)
{
    FilePopup popup;
    MenuOwner& owner = popup.owner;
    CMenu& menu = popup.menu;
    PopupMenuRequest seen{};
    PopupHook hook([&](DialogRequest& r, INT_PTR* answer) {
        if (r.kind != DialogKind::PopupMenu)
            return false;
        seen = *static_cast<PopupMenuRequest*>(r.data);
        *answer = 40;
        return true;
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 70, 80, &owner), 40);
    EXPECT_EQ(seen.menu, menu.m_hMenu);
    EXPECT_EQ(seen.flags, UINT(TPM_RETURNCMD | TPM_RIGHTBUTTON));
    EXPECT_EQ(seen.point.x, 70);
    EXPECT_TRUE(owner.log.empty());  // nothing sent with the return form

    EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN, 70, 80, &owner));
    EXPECT_TRUE(SpinUntil([&] { return !owner.log.empty(); }));
    EXPECT_EQ(owner.log, Log{ "command 40" });
}

TEST(MenuTrack, WithoutAHookOrADisplayThePopupIsCancelled)
{
    FilePopup popup;
    MenuOwner& owner = popup.owner;
    CMenu& menu = popup.menu;
    QueueKeys(owner.m_hWnd, { VK_RETURN });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 70, 80, &owner), 0);
    EXPECT_TRUE(owner.log.empty());
}

TEST(MenuTrack, QueuedKeysDriveTheRealPopup)
{
    struct Case {
        const char* name;
        std::initializer_list<UINT> keys;
        int result;
    };
    const UINT Char = 0x100;
    const Case cases[] = {
        { "down skips the separator", { VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN }, 40 },
        { "up from nothing wraps to the last", { VK_UP, VK_RETURN }, 40 },
        { "right opens the submenu on its first item", { VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN }, 22 },
        { "left closes the submenu", { VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN }, 0 },
        { "escape in the submenu, then on", { VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_DOWN, VK_DOWN, VK_RETURN }, 40 },
        { "escape cancels", { VK_DOWN, VK_ESCAPE, VK_RETURN }, 0 },
        { "a mnemonic chooses", { Char + 'x' }, 40 },
        { "an upper-case mnemonic too", { Char + 'O' }, 10 },
        { "a mnemonic opens a submenu", { Char + 'r', VK_RETURN }, 21 },
        { "a grayed item chosen gives nothing", { Char + 'g' }, 0 },
        { "input running out cancels", { VK_DOWN }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilePopup popup;
        MenuOwner& owner = popup.owner;
        CMenu& menu = popup.menu;
        PopupHook hook([&](DialogRequest& r, INT_PTR*) {
            QueueKeys(owner.m_hWnd, c.keys);
            return r.kind != DialogKind::PopupMenu;
        });
        EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 70, 80, &owner), c.result);
        ASSERT_FALSE(owner.log.empty());
        EXPECT_EQ(owner.log[0], "init 5 0");
    }
}

TEST(MenuTrack, OwnerDrawnItemsAreMeasuredDrawnAndAskedForCharacters)
{
    MenuOwner owner;
    CreateTop(owner, 50, 50, 200, 100);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_OWNERDRAW, 11, reinterpret_cast<LPCTSTR>(1));
    menu.AppendMenu(MF_OWNERDRAW | MF_CHECKED, 12, reinterpret_cast<LPCTSTR>(2));
    owner.menuChar = MAKELONG(1, MNC_EXECUTE);
    owner.onPing = [&] {
        // The popup under its first item, painted now.
        CWnd* popup = CWnd::WindowFromPoint(CPoint(75, 85));
        ASSERT_NE(popup, nullptr);
        popup->UpdateWindow();
    };
    PopupHook hook([&](DialogRequest&, INT_PTR*) {
        PostMessage(owner.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
        PostMessage(owner.m_hWnd, WM_USER + 1, 0, 0);
        PostMessage(owner.m_hWnd, WM_CHAR, 0xC3, 0);  // é, in two bytes
        PostMessage(owner.m_hWnd, WM_CHAR, 0xA9, 0);
        return false;
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 70, 80, &owner), 12);
    const Log expected = { "init 2 0",  "measure 11", "measure 12", "draw 11 0",
                           "draw 12 8", "draw 11 1",  "draw 12 8",  "menuchar 233 10" };
    EXPECT_EQ(owner.log, expected);
    owner.DestroyWindow();
}

namespace {

// A captioned window with a bar: "&File" { "&Open" 10, "E&xit" 40 },
// "&Edit" { "&Copy" 50, "&Paste" 60 }, "&Help" 70.
struct BarWindow {
    MenuOwner owner;
    CMenu bar;
    BarWindow()
    {
        bar.CreateMenu();
        CMenu file, edit;
        file.CreatePopupMenu();
        file.AppendMenu(MF_STRING, 10, "&Open");
        file.AppendMenu(MF_STRING, 40, "E&xit");
        edit.CreatePopupMenu();
        edit.AppendMenu(MF_STRING, 50, "&Copy\tCtrl+C");
        edit.AppendMenu(MF_STRING | MF_CHECKED, 60, "&Paste");
        bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
        bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(edit.Detach()), "&Edit");
        bar.AppendMenu(MF_STRING, 70, "&Help");
        owner.CreateEx(0, nullptr, "Bar", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_BORDER, 100, 100, 300,
                       160, nullptr, nullptr);
    }
    ~BarWindow() { owner.DestroyWindow(); }
    // The screen point inside bar item i (the items follow the client's left side).
    CPoint BarPoint(int i) const
    {
        CRect client;
        owner.GetClientRect(&client);
        owner.ClientToScreen(&client);
        return CPoint(client.left + 8 + 40 * i, client.top - 8);
    }
    std::string Commands() const
    {
        std::string out;
        for (const std::string& line : owner.log) {
            if (line.rfind("command", 0) == 0)
                out += line + ";";
        }
        return out;
    }
};

} // namespace

TEST(MenuBar, TakesItsHeightFromTheClientAreaAndHitTestsAsMenu)
{
    BarWindow w;
    CRect before;
    w.owner.GetClientRect(&before);
    ASSERT_TRUE(w.owner.SetMenu(&w.bar));
    EXPECT_EQ(w.owner.GetMenu(), &w.bar);
    CRect after;
    w.owner.GetClientRect(&after);
    EXPECT_EQ(before.Height() - after.Height(), GetSystemMetrics(SM_CYMENU) + 1);
    const CPoint p = w.BarPoint(0);
    EXPECT_EQ(w.owner.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(p.x), WORD(p.y))), HTMENU);
    w.owner.SetMenu(nullptr);
    CRect none;
    w.owner.GetClientRect(&none);
    EXPECT_EQ(none.Height(), before.Height());
}

TEST(MenuBar, KeysAndClicksChooseCommandsForTheOwner)
{
    struct Case {
        const char* name;
        std::function<void(BarWindow&)> start;
        std::initializer_list<UINT> queued;
        const char* commands;
    };
    const UINT Char = 0x100;
    const Case cases[] = {
        { "Alt+letter opens its popup", [](BarWindow& w) { w.owner.SendMessage(WM_SYSCHAR, 'e'); }, { VK_DOWN, VK_DOWN, VK_RETURN },
          "command 60;" },
        { "Alt alone selects the bar; right and down open the next",
          [](BarWindow& w) {
              w.owner.SendMessage(WM_SYSKEYDOWN, VK_MENU);
              w.owner.SendMessage(WM_SYSKEYUP, VK_MENU);
          },
          { VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN }, "command 50;" },
        { "F10 and a bar mnemonic of a plain item", [](BarWindow& w) { w.owner.SendMessage(WM_SYSKEYDOWN, VK_F10); },
          { Char + 'h' }, "command 70;" },
        { "left from the first popup wraps to the last bar item",
          [](BarWindow& w) { w.owner.SendMessage(WM_SYSCHAR, 'f'); }, { VK_LEFT, VK_RETURN }, "command 70;" },
        { "escape twice leaves the bar", [](BarWindow& w) { w.owner.SendMessage(WM_SYSCHAR, 'f'); },
          { VK_ESCAPE, VK_ESCAPE, VK_RETURN }, "" },
        { "a click on a bar item opens it",
          [](BarWindow& w) {
              const CPoint p = w.BarPoint(1);
              w.owner.SendMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(WORD(p.x), WORD(p.y)));
          },
          { Char + 'c' }, "command 50;" },
        { "an unknown Alt+letter does nothing", [](BarWindow& w) { w.owner.SendMessage(WM_SYSCHAR, 'q'); },
          { VK_RETURN }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarWindow w;
        w.owner.SetMenu(&w.bar);
        QueueKeys(w.owner.m_hWnd, c.queued);
        c.start(w);
        SpinUntil([&] { return !w.Commands().empty(); }, *c.commands ? 20000 : 100);
        EXPECT_EQ(w.Commands(), c.commands);
    }
}

TEST(MenuBar, PaintsTheBarWithAPopupOpen)
{
    BarWindow w;
    w.owner.SetMenu(&w.bar);
    w.owner.UpdateWindow();
    QImage shot;
    w.owner.onPing = [&] {
        CWnd* popup = CWnd::WindowFromPoint(w.BarPoint(1) + CPoint(4, 20));
        ASSERT_NE(popup, nullptr);
        ASSERT_NE(popup, &w.owner);
        popup->UpdateWindow();
        w.owner.SendMessage(WM_NCPAINT, 1);
        CRect frame, inner;
        w.owner.GetWindowRect(&frame);
        popup->GetWindowRect(&inner);
        shot = QImage(frame.Width() + 40, frame.Height() + 60, QImage::Format_RGB32);
        shot.fill(Qt::white);
        QPainter p(&shot);
        p.drawImage(0, 0, *WndBackBuffer(w.owner.m_hWnd));
        p.drawImage(inner.left - frame.left, inner.top - frame.top, *WndBackBuffer(popup->m_hWnd));
    };
    QueueKeys(w.owner.m_hWnd, { VK_DOWN, VK_DOWN });
    PostMessage(w.owner.m_hWnd, WM_USER + 1, 0, 0);
    w.owner.SendMessage(WM_SYSCHAR, 'e');
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    shot.save(QString(VEXAL_TEST_OUTPUT) + "/menu_bar.png");

    // The open bar item is pressed (shadow on its top-left side); the hot
    // popup item (the second) is highlighted.
    CRect frame, client;
    w.owner.GetWindowRect(&frame);
    w.owner.GetClientRect(&client);
    w.owner.ClientToScreen(&client);
    const QColor shadow(GetRValue(GetSysColor(COLOR_BTNSHADOW)), GetGValue(GetSysColor(COLOR_BTNSHADOW)),
                        GetBValue(GetSysColor(COLOR_BTNSHADOW)));
    CRect item(w.BarPoint(1), CSize(1, 1));
    int left = item.left - frame.left;
    while (left > 0 && shot.pixelColor(left, item.top - frame.top) != shadow)
        --left;
    EXPECT_GT(left, client.left - frame.left);
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const QColor highlight(GetRValue(hl), GetGValue(hl), GetBValue(hl));
    const int popupTop = client.top - frame.top + 3;
    const int row = popupTop + GetSystemMetrics(SM_CYMENU) + 4;
    EXPECT_EQ(shot.pixelColor(left + 6, row), highlight);
    EXPECT_NE(shot.pixelColor(left + 6, popupTop + 4), highlight);
}

namespace {

class UpdateFrame : public CFrameWnd {
protected:
    void OnUpdate50(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdate60(CCmdUI* ui) { ui->Enable(FALSE); }
    void On50() {}
    void On60() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(UpdateFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(50, OnUpdate50)
    ON_UPDATE_COMMAND_UI(60, OnUpdate60)
    ON_COMMAND(50, On50)
    ON_COMMAND(60, On60)
END_MESSAGE_MAP()

} // namespace

TEST(MenuBar, AFrameRunsTheUpdateHandlersOfAPopupAboutToOpen)
{
    auto* frame = new UpdateFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP, CRect(0, 0, 200, 100)));
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, 50, "Copy");
    popup.AppendMenu(MF_STRING, 60, "Paste");
    popup.AppendMenu(MF_STRING, 70, "No handler");
    popup.AppendMenu(MF_SEPARATOR);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ(popup.GetMenuState(50, MF_BYCOMMAND), UINT(MF_CHECKED));
    EXPECT_EQ(popup.GetMenuState(60, MF_BYCOMMAND), UINT(MF_GRAYED));
    EXPECT_EQ(popup.GetMenuState(70, MF_BYCOMMAND), UINT(MF_GRAYED));
    frame->DestroyWindow();
}

TEST(MenuTrack, TheMouseChoosesAndAClickOutsideCancels)
{
    struct Case {
        const char* name;
        int hover;    // an item moved over first
        int release;  // the item released on; -1: a press outside instead
        int result;
    };
    const Case cases[] = {
        { "release on an item", 4, 4, 40 },
        { "over the submenu's item, then released elsewhere", 2, 0, 10 },
        { "release on a grayed item leaves the menu open until input runs out", 3, 3, 0 },
        { "release on the separator chooses nothing", 1, 1, 0 },
        { "a press outside cancels", 0, -1, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilePopup popup;
        MenuOwner& owner = popup.owner;
        owner.onPing = [&] {
            CWnd* wnd = CWnd::WindowFromPoint(CPoint(75, 85));
            ASSERT_NE(wnd, nullptr);
            // Rows from the top: the 3-pixel border, text items and a 9-pixel separator.
            const int h = GetSystemMetrics(SM_CYMENU);
            const int middles[] = { 3 + h / 2, 3 + h + 4, 3 + h + 9 + h / 2, 3 + 2 * h + 9 + h / 2,
                                    3 + 3 * h + 9 + h / 2 };
            PostMessage(wnd->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, WORD(middles[c.hover])));
            if (c.release < 0)
                PostMessage(owner.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 90));
            else
                PostMessage(wnd->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, WORD(middles[c.release])));
        };
        PopupHook hook([&](DialogRequest&, INT_PTR*) {
            PostMessage(owner.m_hWnd, WM_USER + 1, 0, 0);
            return false;
        });
        EXPECT_EQ(popup.menu.TrackPopupMenu(TPM_RETURNCMD, 70, 80, &owner), c.result);
    }
}
