// The list box: lines, extended selection by the mouse, and the scroll bar.
#include "WndFixture.h"

#include "Platform/CString.h"
#include "Platform/ListBox.h"

namespace {

std::string Selected(CListBox& list)
{
    std::string out;
    for (int i = 0; i < list.GetCount(); ++i)
        out += list.GetSel(i) > 0 ? "x" : ".";
    return out;
}

} // namespace

TEST(ListBox, ClicksSelectAsTheKeysSay)
{
    struct Click {
        int line;
        WPARAM keys;
    };
    struct Case {
        const char* name;
        DWORD style;
        std::vector<Click> clicks;
        const char* selected;
    };
    const Case cases[] = {
        { "a click selects one line", LBS_EXTENDEDSEL, { { 1, 0 }, { 3, 0 } }, "...x." },
        { "Ctrl toggles", LBS_EXTENDEDSEL, { { 1, 0 }, { 3, MK_CONTROL }, { 1, MK_CONTROL } }, "...x." },
        { "Shift takes the range from the anchor", LBS_EXTENDEDSEL, { { 1, 0 }, { 4, MK_SHIFT } }, ".xxxx" },
        { "a single-selection list ignores the keys", 0, { { 1, 0 }, { 3, MK_CONTROL } }, "...x." },
        { "below the last line nothing changes", LBS_EXTENDEDSEL, { { 2, 0 }, { 9, 0 } }, "..x.." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CWnd parent;
        CreateTop(parent, 10, 10, 200, 200);
        CListBox list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | c.style, CRect(0, 0, 150, 180), &parent, 5));
        for (const char* text : { "a", "b", "c", "d", "e" })
            list.AddString(text);
        const int h = list.GetItemHeight(0);
        for (const Click& click : c.clicks)
            list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | click.keys, MAKELPARAM(5, WORD(click.line * h + 2)));
        EXPECT_EQ(Selected(list), c.selected);
        parent.DestroyWindow();
    }
}

TEST(ListBox, LinesScrollAndTheBarStaysWhenAskedTo)
{
    CWnd parent;
    CreateTop(parent, 10, 10, 200, 200);
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_DISABLENOSCROLL, CRect(0, 0, 150, 100), &parent, 5));
    EXPECT_TRUE(list.GetStyle() & WS_VSCROLL);
    for (int i = 0; i < 30; ++i)
        list.AddString(Fmt("line %d", i).c_str());
    EXPECT_EQ(list.InsertString(1, "inserted"), 1);
    EXPECT_EQ(list.GetCount(), 31);
    CString text;
    list.GetText(1, text);
    EXPECT_STREQ(text, "inserted");
    EXPECT_EQ(list.DeleteString(40), LB_ERR);
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-2 * WHEEL_DELTA))), 0);
    EXPECT_EQ(list.GetTopIndex(), 6);
    list.SendMessage(WM_VSCROLL, SB_BOTTOM);
    const int visible = 100 / list.GetItemHeight(0);
    EXPECT_EQ(list.GetTopIndex(), 31 - visible);
    SCROLLINFO info = { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    list.GetScrollInfo(SB_VERT, &info);
    EXPECT_EQ(info.nPos, 31 - visible);
    list.ResetContent();
    EXPECT_EQ(list.GetTopIndex(), 0);
    EXPECT_TRUE(list.GetStyle() & WS_VSCROLL);  // shown, disabled
    list.SetItemData(0, 7);
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(LB_ERR));
    parent.DestroyWindow();
}
