// The main window's layout: where a first start docks the bars, and which
// saved layouts are applied.
#include "ShellHarness.h"

#include "App/VexalView.h"
#include "Platform/DockState.h"

#include <gtest/gtest.h>

TEST(Layout, AFirstStartDocksThePanesAroundTheView)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    const CRect view = shell.RectOf(frame->GetVexalView());
    const CRect model = shell.RectOf(&frame->GetModelBar());
    const CRect properties = shell.RectOf(&frame->GetPropertyBar());
    const CRect messages = shell.RectOf(&frame->GetMessageBar());
    const CRect tools = shell.RectOf(&frame->GetToolBar());
    const CRect status = shell.RectOf(&frame->GetStatusBar());
    CRect client;
    frame->GetClientRect(&client);
    // Docked bars overlap their dock bar's edges by the 2 pixels of the
    // classic layout.
    const int slack = 2;
    EXPECT_NEAR(tools.top, 0, slack);
    EXPECT_NEAR(tools.bottom, view.top, slack);
    EXPECT_NEAR(model.left, 0, slack);
    EXPECT_NEAR(model.right, view.left, slack);
    EXPECT_NEAR(properties.left, view.right, slack);
    EXPECT_NEAR(properties.right, client.right, slack);
    EXPECT_NEAR(messages.top, view.bottom, slack);
    EXPECT_NEAR(messages.left, 0, slack);
    EXPECT_NEAR(messages.right, client.right, slack);
    EXPECT_NEAR(messages.bottom, status.top, slack);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_LT(model.bottom, messages.top + slack);
    EXPECT_LT(properties.bottom, messages.top + slack);
    EXPECT_GT(view.Width(), 0);
    EXPECT_GT(view.Height(), 0);
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());
    for (CControlBar* bar : { static_cast<CControlBar*>(&frame->GetModelBar()),
                              static_cast<CControlBar*>(&frame->GetPropertyBar()),
                              static_cast<CControlBar*>(&frame->GetMessageBar()) })
        EXPECT_TRUE(bar->IsVisible());
    EXPECT_TRUE(shell.Screenshot("layout-first-start"));
}

// A layout is applied only when every bar it names exists; the hidden
// symbol toolbar (32778) exists.
TEST(Layout, ALayoutNamingAMissingBarIsIgnored)
{
    ShellHarness shell;
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    frame->SaveBarState("Saved");
    EXPECT_TRUE(frame->VerifyBarState("Saved"));
    EXPECT_TRUE(frame->VerifyBarState("Nothing saved"));

    CDockState state;
    state.LoadState("Saved");
    bool namesSymbolBar = false;
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i)
        namesSymbolBar = namesSymbolBar || static_cast<CControlBarInfo*>(state.m_arrBarInfo[i])->m_nBarID == 32778;
    EXPECT_TRUE(namesSymbolBar);

    struct Case {
        const char* name;
        bool dockBar;  // the record edited: a dock bar's, else the Messages bar's
        void (*edit)(CControlBarInfo&);
    };
    const Case cases[] = {
        { "a docked bar that no longer exists", false, [](CControlBarInfo& info) { info.m_nBarID = 32790; } },
        { "a placeholder of a missing bar", true,
          [](CControlBarInfo& info) { info.m_arrBarID.Add(reinterpret_cast<void*>(UINT_PTR(0x10000 + 32790))); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDockState edited;
        edited.LoadState("Saved");
        CControlBarInfo* target = nullptr;
        for (int i = 0; i < edited.m_arrBarInfo.GetSize(); ++i) {
            auto* info = static_cast<CControlBarInfo*>(edited.m_arrBarInfo[i]);
            if (c.dockBar ? info->m_bDockBar != FALSE : info->m_nBarID == 32776)
                target = info;
        }
        ASSERT_NE(target, nullptr);
        c.edit(*target);
        edited.SaveState("Edited");
        EXPECT_FALSE(frame->VerifyBarState("Edited"));
    }
}
