// The captioned pane: docked around a frame, its caption layout, the close
// button and the notifications of its child.
#include "DockFrame.h"

#include "Platform/Dc.h"

namespace {

TEST(CoolDockBar, TheFrameHoldsTheToolbarAndThreePanesAroundItsMiddle)
{
    DockFrame f;
    EXPECT_TRUE(f.Picture("dock_frame.png"));
    const CRect top = f.InFrame(*f.DockBar(AFX_IDW_DOCKBAR_TOP));
    const CRect left = f.InFrame(f.model), right = f.InFrame(f.properties), bottom = f.InFrame(f.messages);
    EXPECT_EQ(f.model.GetDockSide(), UINT(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(f.properties.GetDockSide(), UINT(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(f.messages.GetDockSide(), UINT(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_GT(top.Height(), 0);
    // The bottom row spans the frame (2 pixels hidden at either end); the
    // side panes stand between the top and bottom dock bars.
    EXPECT_EQ(bottom.left, -2);
    EXPECT_EQ(bottom.right, DockFrame::kWidth + 2);
    EXPECT_EQ(bottom.Height(), 200);
    EXPECT_EQ(left.left, -2);
    EXPECT_EQ(left.Width(), 200);
    EXPECT_EQ(right.right, DockFrame::kWidth + 2);
    const CRect leftDock = f.InFrame(*f.DockBar(AFX_IDW_DOCKBAR_LEFT));
    const CRect bottomDock = f.InFrame(*f.DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(leftDock.top, top.bottom);
    EXPECT_EQ(leftDock.bottom, bottomDock.top);
    // A lone pane takes the whole length of its row.
    EXPECT_EQ(left.Height(), leftDock.Height());
    // Each child fills its pane's client area.
    for (int i = 0; i < 3; ++i) {
        CCoolDockBar* pane = static_cast<CCoolDockBar*>(f.children[i].GetParent());
        CRect client, child;
        pane->GetClientRect(&client);
        f.children[i].GetWindowRect(&child);
        pane->ScreenToClient(&child);
        EXPECT_EQ(child, client);
        EXPECT_FALSE(client.IsRectEmpty());
    }
}

TEST(CoolDockBar, CaptionStripAndCloseButtonFollowTheDockSide)
{
    struct Case {
        const char* name;
        UINT side;
        CRect client;   // of a 100 by 80 window
        CPoint button;
    };
    const Case cases[] = {
        { "docked top", AFX_IDW_DOCKBAR_TOP, CRect(17, 5, 95, 75), CPoint(3, 5) },
        { "docked bottom", AFX_IDW_DOCKBAR_BOTTOM, CRect(17, 5, 95, 75), CPoint(3, 5) },
        { "docked left", AFX_IDW_DOCKBAR_LEFT, CRect(5, 17, 95, 75), CPoint(83, 3) },
        { "docked right", AFX_IDW_DOCKBAR_RIGHT, CRect(5, 17, 95, 75), CPoint(83, 3) },
        { "floating", AFX_IDW_DOCKBAR_FLOAT, CRect(3, 17, 97, 77), CPoint(85, 3) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCoolDockBar pane;
        CRect rect(0, 0, 100, 80);
        pane.NcCalcClient(&rect, c.side);
        EXPECT_EQ(rect, c.client);
        EXPECT_EQ(pane.GetCloseButton().ptOrg, c.button);
    }
}

TEST(CoolDockBar, TheCloseButtonHidesItsPaneOnlyWhenReleasedOverIt)
{
    DockFrame f;
    CRect window;
    f.properties.GetWindowRect(&window);
    const CPoint button = window.TopLeft() + f.properties.GetCloseButton().ptOrg + CSize(6, 6);
    const LPARAM at = MAKELPARAM(WORD(button.x), WORD(button.y));
    ASSERT_EQ(f.properties.SendMessage(WM_NCHITTEST, 0, at), HTCLOSE);
    EXPECT_EQ(f.properties.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(button.x - 20), WORD(button.y))), HTCLIENT);

    f.properties.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, at);
    f.properties.SendMessage(WM_NCLBUTTONUP, HTCLIENT, at);
    EXPECT_TRUE(f.properties.IsWindowVisible());
    f.properties.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, at);
    f.properties.SendMessage(WM_NCLBUTTONUP, HTCLOSE, at);
    EXPECT_FALSE(f.properties.IsWindowVisible());
    // The frame lays out without it: the middle reaches the right edge.
    EXPECT_EQ(f.InFrame(*f.DockBar(AFX_IDW_DOCKBAR_RIGHT)).Width(), 0);
    EXPECT_TRUE(f.Picture("dock_frame_properties_closed.png"));
}

TEST(CoolDockBar, AChildsNotificationReachesTheFrameWithItsOwnIdAndCode)
{
    DockFrame f;
    NMHDR header = { f.children[2].GetSafeHwnd(), kPropertiesBar, UINT(-1234) };
    const LRESULT result = f.properties.SendMessage(WM_NOTIFY, kPropertiesBar, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(f.frame->notes, (std::vector<std::string>{ "32774 32774 -1234" }));
}

TEST(CoolDockBar, TheCloseButtonLightsUnderTheMouseAndSinksWhilePressed)
{
    DockFrame f;
    CRect window;
    f.model.GetWindowRect(&window);
    const CPoint button = window.TopLeft() + f.model.GetCloseButton().ptOrg + CSize(6, 6);
    PlayMouse(WM_MOUSEMOVE, button);
    f.model.OnUpdateCmdUI(f.frame, TRUE);
    EXPECT_TRUE(f.model.GetCloseButton().bHot);
    EXPECT_FALSE(f.model.GetCloseButton().bPushed);
    {
        CWindowDC dc(&f.model);
        const CPoint org = f.model.GetCloseButton().ptOrg;
        EXPECT_EQ(dc.GetPixel(org.x, org.y), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(dc.GetPixel(org.x + 12, org.y + 12), GetSysColor(COLOR_BTNSHADOW));
    }
    PlayMouse(WM_MOUSEMOVE, window.CenterPoint());
    f.model.OnUpdateCmdUI(f.frame, TRUE);
    EXPECT_FALSE(f.model.GetCloseButton().bHot);
}

TEST(CoolDockBar, SettingTheTextShowsNoTextAndACloseRequestLeavesThePaneOpen)
{
    DockFrame f;
    f.model.SetWindowText("Model");
    f.model.SendMessage(WM_CLOSE);
    EXPECT_TRUE(IsWindow(f.model.GetSafeHwnd()));
    EXPECT_TRUE(f.model.IsWindowVisible());
    char text[16] = {};
    f.model.GetWindowText(text, int(sizeof text));
    EXPECT_STREQ(text, "Model");
}

} // namespace
