// The hyperlink row: which link texts reach the desktop's handler, the
// link's colours and hover through the mouse, its window shown while the
// row is drawn, and its commit when the focus leaves.
#include "GridFixture.h"
#include "OwnTimers.h"
#include "ShellRecorder.h"

#include "Controls/OptionTreeHyperLinkItem.h"
#include "Controls/SafeLink.h"
#include "Platform/Messages.h"
#include "Platform/SysColors.h"

namespace {

using Codes = std::vector<int>;

TEST(SafeLinks, OnlyWebMailAndFileLinksAreOpened)
{
    struct Case {
        const char* link;
        const char* opened;  // null when refused
    };
    const Case cases[] = {
        { "https://example.com/a?b=1", "https://example.com/a?b=1" },
        { "http://example.com", "http://example.com" },
        { "example.com", "http://example.com" },
        { "  mailto:someone@example.com ", "mailto:someone@example.com" },
        { "/tmp/model.fup", "file:///tmp/model.fup" },
        { "FILE:///tmp/a", "file:///tmp/a" },
        { "javascript:alert(1)", nullptr },
        { "ftp://example.com/x", nullptr },
        { "ms-settings:privacy", nullptr },
        { "smb://server/share", nullptr },
        { "", nullptr },
        { "   ", nullptr },
    };
    for (const Case& c : cases) {
        ShellRecorder shell;
        EXPECT_EQ(c.opened != nullptr, bool(OpenSafeLink(c.link))) << c.link;
        if (c.opened)
            EXPECT_EQ(std::vector<std::string>{ c.opened }, shell.opened) << c.link;
        else
            EXPECT_TRUE(shell.opened.empty()) << c.link;
    }
    ShellRecorder failing;
    failing.answer = false;
    EXPECT_FALSE(OpenSafeLink("https://example.com"));
}

struct LinkPane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeEditItem* name = Edit(general, "Name", "x");
    COptionTreeHyperLinkItem* link = new COptionTreeHyperLinkItem;

    explicit LinkPane(DWORD options = OT_HYPERLINK_USEHOVER | OT_HYPERLINK_USEVISITED | OT_HYPERLINK_UNDERLINEHOVER)
    {
        grid.InsertItem(link, general);
        link->SetLabelText("Home page");
        EXPECT_TRUE(link->CreateEditor(options, "https://example.com/home", RGB(0, 0, 255), RGB(255, 0, 0),
                                       RGB(128, 0, 128)));
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        link->UpdateWindow();
        owner.Clear();
    }
    CPoint OnText() { return Client(link->GetTextRect().CenterPoint()); }
    CPoint Client(CPoint point)
    {
        link->ClientToScreen(&point);
        return point;
    }
};

TEST(HyperLinkRow, TheMouseHoversVisitsAndLeavesTheLink)
{
    LinkPane p;
    ShellRecorder shell;
    ASSERT_FALSE(p.link->GetTextRect().IsRectEmpty());
    // The test gives the hover timer's ticks itself, so a slow run cannot end the hover early.
    OwnTimers timers;
    EXPECT_EQ(RGB(0, 0, 255), p.link->TextColor());
    PlayMouse(WM_MOUSEMOVE, p.OnText());
    EXPECT_TRUE(p.link->IsHover());
    EXPECT_EQ(RGB(255, 0, 0), p.link->TextColor());
    PlayMouse(WM_MOUSEMOVE, p.Client(CPoint(p.link->GetTextRect().right + 10, 2)));
    EXPECT_FALSE(p.link->IsHover());
    PlayMouse(WM_MOUSEMOVE, p.OnText());
    p.Click(p.OnText());
    EXPECT_EQ(std::vector<std::string>{ "https://example.com/home" }, shell.opened);
    EXPECT_TRUE(p.link->IsVisited());
    PlayMouse(WM_MOUSEMOVE, p.LabelPoint(p.name));  // leaves the window: only the timer notices
    EXPECT_TRUE(p.link->IsHover());
    p.link->SendMessage(WM_TIMER, OT_HYPERLINK_TIMER);
    EXPECT_FALSE(p.link->IsHover());
    EXPECT_EQ(RGB(128, 0, 128), p.link->TextColor());
}

TEST(HyperLinkRow, AReadOnlyRowIsGreyIgnoresTheMouseAndOpensNothing)
{
    LinkPane p;
    ShellRecorder shell;
    p.link->SetReadOnly(TRUE);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), p.link->TextColor());
    PlayMouse(WM_MOUSEMOVE, p.OnText());
    EXPECT_FALSE(p.link->IsHover());
    p.Click(p.OnText());
    p.link->BeginEdit();
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(p.link->IsVisited());
    EXPECT_EQ(p.link, p.Focus());
}

TEST(HyperLinkRow, ActivatingTheRowOpensTheLinkAndLeavingItCommitsOnce)
{
    LinkPane p;
    ShellRecorder shell;
    p.link->SetLink("javascript:alert(1)");
    p.link->BeginEdit();
    EXPECT_TRUE(shell.opened.empty());
    p.link->SetLink("example.com");
    p.link->BeginEdit();
    EXPECT_EQ(std::vector<std::string>{ "http://example.com" }, shell.opened);
    EXPECT_EQ(p.link, p.Focus());
    ::SetFocus(nullptr);
    EXPECT_TRUE(p.owner.codes.empty());
    p.link->SetFocus();
    p.Click(p.ValuePoint(p.name));
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
}

TEST(HyperLinkRow, TheLinkWindowShowsWhereverTheRowIsDrawn)
{
    GridFixture f;
    COptionTreeItem* general = f.Category("General");
    auto* group = new COptionTreeItem;
    f.grid.InsertItem(group, general);
    group->SetLabelText("Group");
    general->Expand(TRUE);
    group->Expand(TRUE);
    f.grid.UpdateScroll();
    auto* link = new COptionTreeHyperLinkItem;
    f.grid.InsertItem(link, group);
    EXPECT_TRUE(link->CreateEditor(0, "https://example.com", 0, 0, 0));
    EXPECT_FALSE(link->IsWindowVisible());
    auto paintShows = [&](bool shown) {
        f.grid.UpdateScroll();
        f.grid.GetListWnd()->Invalidate();
        f.grid.GetListWnd()->UpdateWindow();
        EXPECT_EQ(shown, bool(link->IsWindowVisible()));
        if (!shown)
            return;
        CRect window;
        link->GetWindowRect(&window);
        f.grid.GetListWnd()->ScreenToClient(&window);
        EXPECT_EQ(link->GetValueRect().TopLeft(), window.TopLeft());
    };
    paintShows(true);  // added under an expanded parent
    group->Expand(FALSE);
    EXPECT_FALSE(link->IsWindowVisible());
    // Expanding the category again leaves the link hidden under its collapsed group.
    general->Expand(FALSE);
    general->Expand(TRUE);
    paintShows(false);
    group->Expand(TRUE);
    paintShows(true);
    COptionTreeHyperLinkItem loose;
    EXPECT_FALSE(loose.CreateEditor(0, "x", 0, 0, 0));
}

} // namespace
