// The message list: its four commands with the clipboard, the wheel and
// the context menu.
#include "Controls/CommandImageList.h"
#include "Controls/MsgListBox.h"
#include "Platform/CString.h"
#include "Platform/Clipboard.h"
#include "Platform/DialogHook.h"
#include "Platform/GlobalMemory.h"
#include "Platform/Menu.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

std::string ClipboardText()
{
    std::string text = "(none)";
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        const auto* p = static_cast<const char*>(GlobalLock(static_cast<HGLOBAL>(h)));
        text = p ? p : "";
        GlobalUnlock(static_cast<HGLOBAL>(h));
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const char* text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(block)), text);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

struct MessageList {
    CWnd parent;
    CMsgListBox list;
    explicit MessageList(std::initializer_list<const char*> lines, int height = 200)
    {
        parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 20, 20, 300, height + 20, nullptr, nullptr);
        EXPECT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 280, height), &parent,
                                32776));
        for (const char* line : lines)
            list.AddString(line);
    }
    ~MessageList() { parent.DestroyWindow(); }
    std::string Lines() const
    {
        std::string out;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            list.GetText(i, text);
            out += std::string(static_cast<LPCTSTR>(text)) + (list.GetSel(i) > 0 ? "*" : "") + ";";
        }
        return out;
    }
};

} // namespace

TEST(MsgListBox, CommandsWithTheClipboard)
{
    struct Case {
        const char* name;
        std::vector<int> selected;
        UINT command;
        const char* clipboard;
        const char* lines;
    };
    const Case cases[] = {
        { "copy the first and the third", { 0, 2 }, 57634, "one\r\nthree\r\n", "one*;two;three*;" },
        { "copy nothing leaves an empty text", {}, 57634, "", "one;two;three;" },
        { "cut with nothing selected deletes nothing", {}, 57635, "", "one;two;three;" },
        { "cut the middle line", { 1 }, 57635, "two\r\n", "one;three;" },
        { "delete copies nothing", { 0, 1 }, 32773, "before", "three;" },
        { "delete every line", { 0, 1, 2 }, 32773, "before", "" },
        { "select all", {}, 57642, "before", "one*;two*;three*;" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutOnClipboard("before");
        MessageList m({ "one", "two", "three" });
        for (int i : c.selected)
            m.list.SetSel(i, TRUE);
        m.list.SendMessage(WM_COMMAND, c.command);
        EXPECT_EQ(ClipboardText(), c.clipboard);
        EXPECT_EQ(m.Lines(), c.lines);
    }
    MessageList empty({});
    empty.list.SendMessage(WM_COMMAND, 57642);
    EXPECT_EQ(empty.Lines(), "");
}

TEST(MsgListBox, KeepsItsScrollBarAndSunkenEdge)
{
    MessageList m({ "one", "two" });
    EXPECT_TRUE(m.list.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(m.list.GetStyle() & LBS_EXTENDEDSEL);
    m.list.SendMessage(WM_COMMAND, 57642);
    m.list.SendMessage(WM_COMMAND, 32773);
    EXPECT_EQ(m.list.GetCount(), 0);
    EXPECT_TRUE(m.list.GetStyle() & WS_VSCROLL);  // shown, disabled
}

TEST(MsgListBox, TheWheelScrollsOnlyALongListWithoutModifiers)
{
    struct Case {
        const char* name;
        int lines;
        WORD keys;
        int top;
    };
    const Case cases[] = {
        { "a long list scrolls three lines", 40, 0, 3 },
        { "Ctrl leaves it", 40, MK_CONTROL, 0 },
        { "Shift leaves it", 40, MK_SHIFT, 0 },
        { "a list that fits does not scroll", 3, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageList m({}, 100);
        for (int i = 0; i < c.lines; ++i)
            m.list.AddString("line");
        m.list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(c.keys, WORD(short(-WHEEL_DELTA))), 0);
        EXPECT_EQ(m.list.GetTopIndex(), c.top);
    }
}

TEST(MsgListBox, ContextMenuSendsTheChosenCommandBack)
{
    CCommandImageList& registry = GetCommandImages();
    if (!registry.GetSafeHandle())
        registry.Create(16, 16, ILC_COLORDDB | ILC_MASK, 4, 1);
    registry.AddBitmap(WriteIcon("list_copy.bmp", RGB(0, 0, 200)).c_str(), RGB(255, 255, 255), 57634, "Copy");
    registry.AddBitmap(WriteIcon("list_all.bmp", RGB(0, 160, 0)).c_str(), RGB(255, 255, 255), 57642, "Select All");

    MessageList m({ "one", "two" });
    std::vector<std::string> items;
    POINT at{};
    DialogHook old = AfxSetDialogHook([&](DialogRequest& r, INT_PTR* answer) {
        if (r.kind != DialogKind::PopupMenu)
            return false;
        auto* request = static_cast<PopupMenuRequest*>(r.data);
        at = request->point;
        CMenu* menu = CMenu::FromHandle(request->menu);
        for (int i = 0; i < menu->GetMenuItemCount(); ++i)
            items.push_back(std::to_string(menu->GetMenuItemID(i)));
        *answer = 57642;
        return true;
    });
    m.list.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(10, 12));
    AfxSetDialogHook(old);
    // Cut and Delete have no icon: their items come without a command.
    EXPECT_EQ(items, (std::vector<std::string>{ "57634", "0", "0", "57642" }));
    CPoint expected(10, 12);
    m.list.ClientToScreen(&expected);
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);
    EXPECT_EQ(CWnd::GetFocus(), &m.list);
    // The command was posted to the list: it arrives with the queue.
    MSG msg;
    for (int i = 0; i < 100 && m.list.GetSelCount() < 2; ++i) {
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
    }
    EXPECT_EQ(m.Lines(), "one*;two*;");
}
