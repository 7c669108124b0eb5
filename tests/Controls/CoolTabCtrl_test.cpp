// The tab control: tab layout, cut titles, selection, the slide-in timer,
// forwarded notifications and the painted strip.
#include "Controls/CoolTabCtrl.h"
#include "Platform/Dc.h"
#include "Platform/MessageMap.h"
#include "Platform/ResourceTable.h"
#include "Platform/SysColors.h"
#include "OwnTimers.h"
#include "PngFile.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A coloured disc on white (transparent).
std::vector<BYTE> Disc(COLORREF colour)
{
    return IconBmp([colour](int x, int y) {
        return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 40 ? colour : RGB(255, 255, 255);
    });
}

// Icons 158 and 159 in a module of the test's own.
struct Icons {
    Icons()
    {
        static const std::vector<BYTE> chm = Disc(RGB(0, 128, 0)), diagram = Disc(RGB(0, 0, 200));
        static const RESOURCE_ENTRY entries[] = { { 3, 158, chm.data(), DWORD(chm.size()) },
                                                  { 3, 159, diagram.data(), DWORD(diagram.size()) } };
        AfxSetResourceTable(Module(), entries, 2);
        AfxSetResourceHandle(Module());
    }
    ~Icons()
    {
        AfxSetResourceHandle(nullptr);
        AfxSetResourceTable(Module(), nullptr, 0);
    }
    static HINSTANCE Module()
    {
        static int tag;
        return reinterpret_cast<HINSTANCE>(&tag);
    }
};

// A parent that records the notifications it gets.
class Parent : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> notes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        notes.emplace_back(wParam, lParam);
        *pResult = 0;
        return TRUE;
    }
};

struct Tabs {
    Parent parent;
    CCoolTabCtrl tabs;
    CWnd pages[3];
    Icons icons;
    explicit Tabs(DWORD tabStyle, int width = 300, const char* const* titles = nullptr, int count = 2)
    {
        parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 10, 10, width + 20, 240, nullptr, nullptr);
        EXPECT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | tabStyle, CRect(0, 0, width, 200), &parent, 1025));
        static const char* const kTitles[] = { "Diagram settings", "CHM Settings", "Third" };
        for (int i = 0; i < count; ++i) {
            pages[i].Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &tabs, 100 + UINT(i));
            tabs.AddPage(&pages[i], (titles ? titles : kTitles)[i], i == 0 ? 159 : i == 1 ? 158 : 0);
        }
        tabs.UpdateLayout();
    }
    ~Tabs() { parent.DestroyWindow(); }
    CRect PageRect(int i) const
    {
        CRect r;
        pages[i].GetWindowRect(&r);
        tabs.ScreenToClient(&r);
        return r;
    }
};

} // namespace

TEST(CoolTabCtrl, TabsLieAlongTheStrip)
{
    Tabs bottom(2);
    CClientDC dc(&bottom.tabs);
    CFont* old = dc.SelectObject(bottom.tabs.GetFont());
    const int first = dc.GetTextExtent("Diagram settings").cx + 27;
    const int second = dc.GetTextExtent("CHM Settings").cx + 27;
    dc.SelectObject(old);
    EXPECT_EQ(bottom.tabs.GetPage(0)->tab, CRect(6, 200 - 23, 6 + first - 1, 199));
    EXPECT_EQ(bottom.tabs.GetPage(1)->tab, CRect(6 + first, 177, 6 + first + second - 1, 199));
    // The page sits in the page area less the border.
    EXPECT_EQ(bottom.PageRect(0), CRect(2 + 3, 2 + 3, 300 - 2 - 3, 200 - 23 - 3));

    Tabs top(0);  // no bits: at the top
    EXPECT_EQ(top.tabs.GetTabStyle(), UINT(TCS_COOL_TOP));
    EXPECT_EQ(top.tabs.GetPage(0)->tab.top, 0);
    EXPECT_EQ(top.tabs.GetPage(0)->tab.left, 2);
    EXPECT_EQ(top.PageRect(0), CRect(5, 23 + 3, 295, 200 - 2 - 3));

    Tabs equal(TCS_COOL_BOTTOM | TCS_COOL_EQUALWIDTHS);
    EXPECT_EQ(equal.tabs.GetPage(1)->tab.left, 6 + (300 - 12) / 2);

    // Too wide together: they share the strip.
    Tabs narrow(2, 120);
    EXPECT_EQ(narrow.tabs.GetPage(0)->tab, CRect(6, 177, 6 + 54, 199));
    EXPECT_EQ(narrow.tabs.GetPage(1)->tab.left, 6 + 54 + 1);
}

TEST(CoolTabCtrl, TitlesAreCutAtWholeCharacters)
{
    Tabs t(2);
    CClientDC dc(&t.tabs);
    CFont* old = dc.SelectObject(t.tabs.GetFont());
    struct Case {
        const char* title;
        int width;
        const char* shown;
    };
    const Case cases[] = {
        { "Short", 500, "Short" },
        { "Diagram settings", dc.GetTextExtent("Diagram set").cx, "Diagram se..." },
        { "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", dc.GetTextExtent("\xC3\xA9\xC3\xA9").cx, "\xC3\xA9..." },
        { "ab", 0, "..." },  // never past empty
        { "abcdefghijklmnopqrstuvwxyz", 0, "abcdefghijklmno..." },  // ten cuts at most, then one more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_STREQ(t.tabs.FitTitle(&dc, c.title, c.width), c.shown);
    }
    dc.SelectObject(old);
}

TEST(CoolTabCtrl, SelectionShowsOnePage)
{
    Tabs t(2);
    EXPECT_EQ(t.tabs.GetSelected(), 0);
    EXPECT_TRUE(t.pages[0].IsWindowVisible());
    EXPECT_FALSE(t.pages[1].IsWindowVisible());
    const CPoint onSecond = t.tabs.GetPage(1)->tab.CenterPoint();
    t.tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(onSecond.x), WORD(onSecond.y)));
    EXPECT_EQ(t.tabs.GetSelected(), 1);
    EXPECT_FALSE(t.pages[0].IsWindowVisible());
    EXPECT_TRUE(t.pages[1].IsWindowVisible());
    t.tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(onSecond.x), WORD(onSecond.y)));
    EXPECT_TRUE(t.pages[1].IsWindowVisible());
    t.tabs.SelectPage(5);  // beyond the pages: the previous one hides, none shows
    EXPECT_FALSE(t.pages[0].IsWindowVisible());
    EXPECT_FALSE(t.pages[1].IsWindowVisible());
    EXPECT_EQ(t.tabs.GetPageWindow(5), nullptr);
}

TEST(CoolTabCtrl, SlideInTakesElevenTicks)
{
    OwnTimers timers;
    Tabs t(2);
    t.tabs.SetSlideIn(TRUE);
    t.tabs.SelectPage(1);
    EXPECT_EQ(OwnTimers::Intervals(TAB_SLIDE_TIMER), std::vector<UINT>(1, 15));
    const CRect area(5, 5, 295, 174);
    const int W = area.Width(), step = W / 10;
    EXPECT_FALSE(t.pages[1].IsWindowVisible());
    std::vector<std::pair<int, int>> expected = { { 11 - W, 10 } };
    for (int c = 9; c >= 1; --c)
        expected.emplace_back(1 - c * step, W - c * step);
    expected.emplace_back(0, W);
    for (size_t tick = 0; tick < expected.size(); ++tick) {
        SCOPED_TRACE(tick + 1);
        t.tabs.SendMessage(WM_TIMER, TAB_SLIDE_TIMER);
        const CRect r = t.PageRect(1);
        EXPECT_TRUE(t.pages[1].IsWindowVisible());
        EXPECT_EQ(r.left - area.left, expected[tick].first);
        EXPECT_EQ(r.right - area.left, expected[tick].second);
        EXPECT_EQ(r.top, area.top);
        EXPECT_EQ(r.Height(), area.Height());
    }
}

TEST(CoolTabCtrl, ASelectionMidSlideStartsTheSlideAgain)
{
    OwnTimers timers;
    Tabs a(2), b(2);
    a.tabs.SetSlideIn(TRUE);
    b.tabs.SetSlideIn(TRUE);
    a.tabs.SelectPage(1);
    for (int i = 0; i < 4; ++i)
        a.tabs.SendMessage(WM_TIMER, TAB_SLIDE_TIMER);
    // Another control's slide starts at its own first tick.
    b.tabs.SelectPage(1);
    b.tabs.SendMessage(WM_TIMER, TAB_SLIDE_TIMER);
    EXPECT_EQ(b.PageRect(1).left, 5 + 11 - 290);
    a.tabs.SelectPage(0);
    EXPECT_FALSE(a.pages[1].IsWindowVisible());
    a.tabs.SendMessage(WM_TIMER, TAB_SLIDE_TIMER);
    EXPECT_TRUE(a.pages[0].IsWindowVisible());
    EXPECT_EQ(a.PageRect(0).left, 5 + 11 - 290);
    for (int i = 0; i < 10; ++i)
        a.tabs.SendMessage(WM_TIMER, TAB_SLIDE_TIMER);
    EXPECT_EQ(a.PageRect(0), CRect(5, 5, 295, 174));
}

TEST(CoolTabCtrl, NotificationsOfPagesReachTheParent)
{
    Tabs t(2);
    NMHDR note = { t.pages[0].m_hWnd, 100, UINT(-2) };
    t.pages[0].GetParent()->SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&note));
    ASSERT_EQ(t.parent.notes.size(), 1u);
    EXPECT_EQ(t.parent.notes[0].first, WPARAM(100));
    EXPECT_EQ(t.parent.notes[0].second, reinterpret_cast<LPARAM>(&note));
}

TEST(CoolTabCtrl, PaintsTheStripAsPng)
{
    static const char* const kCut[] = { "Diagram settings", "A title far too long for its tab", "Third" };
    struct Case {
        DWORD style;
        int width;
        const char* const* titles;
        int count;
        const char* file;
    };
    const Case cases[] = {
        { TCS_COOL_BOTTOM, 300, nullptr, 2, "tabs_bottom.png" },
        { TCS_COOL_TOP, 300, nullptr, 3, "tabs_top.png" },
        { TCS_COOL_BOTTOM, 200, kCut, 3, "tabs_cut.png" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Tabs t(c.style, c.width, c.titles, c.count);
        for (CWnd& page : t.pages) {
            if (page.m_hWnd)
                page.ShowWindow(SW_HIDE);
        }
        t.tabs.RedrawWindow();
        CClientDC dc(&t.tabs);
        EXPECT_TRUE(WritePng(dc, c.width, 200, c.file));
        // The selected tab is raised in the button face; the page border's
        // outer light line runs along the page area.
        const CRect tab = t.tabs.GetPage(0)->tab;
        EXPECT_EQ(dc.GetPixel(tab.left + 2, (tab.top + tab.bottom) / 2 + 2), GetSysColor(COLOR_BTNFACE));
        const int borderY = c.style & TCS_COOL_BOTTOM ? 2 : 23;
        EXPECT_EQ(dc.GetPixel(c.width / 2, borderY), RGB(0xE6, 0xE6, 0xE6));
    }
}
