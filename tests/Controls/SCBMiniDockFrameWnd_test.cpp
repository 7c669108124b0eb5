// Floating a pane out of the main window by dragging it, the floating frame
// it lands in, and docking it back by a double click or a drag.
#include "DockFrame.h"

namespace {

LPARAM ClientPoint(CWnd& w, CPoint screen)
{
    w.ScreenToClient(&screen);
    return MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y)));
}

// Presses on the pane's caption strip and drags it to a screen point; the
// drag loop takes the queued moves and the release.
void DragCaption(CCoolDockBar& pane, CPoint to)
{
    CRect w;
    pane.GetWindowRect(&w);
    const CPoint press = w.TopLeft() + CSize(20, 8);
    pane.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(pane, press + CSize(5, 5)));
    pane.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(pane, to));
    pane.PostMessage(WM_LBUTTONUP, 0, ClientPoint(pane, to));
    pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(pane, press));
}

CSCBMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar)
{
    return bar.IsFloating() ? DYNAMIC_DOWNCAST(CSCBMiniDockFrameWnd, bar.GetParentFrame()) : nullptr;
}

TEST(SCBMiniDockFrameWnd, ADragFloatsThePaneInAFrameWithoutCaption)
{
    DockFrame f;
    EXPECT_TRUE(f.Picture("float_before.png"));
    DragCaption(f.properties, CPoint(1300, 700));
    f.Idle();
    CSCBMiniDockFrameWnd* floating = FloatingFrameOf(f.properties);
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_EQ(floating->GetStyle() & (WS_CAPTION | WS_SYSMENU | MFS_4THICKFRAME), 0u);
    EXPECT_EQ(f.properties.GetDockSide(), UINT(AFX_IDW_DOCKBAR_FLOAT));
    // The frame fits the pane: its client area is the floating size less 4.
    CRect client;
    floating->GetClientRect(&client);
    EXPECT_EQ(client.Size(), f.properties.m_sizeFloat - CSize(4, 4));
    CRect window;
    floating->GetWindowRect(&window);
    EXPECT_TRUE(window.PtInRect(CPoint(1300, 700)));
    // The right side is left to the others; its dock bar keeps the pane's place.
    EXPECT_EQ(f.InFrame(*f.DockBar(AFX_IDW_DOCKBAR_RIGHT)).Width(), 0);
    EXPECT_GT(f.DockBar(AFX_IDW_DOCKBAR_RIGHT)->FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(&f.properties))), 0);
    EXPECT_TRUE(f.Picture("float_main.png"));
    EXPECT_TRUE(DockFrame::SavePicture(*floating, "float_frame.png"));
}

TEST(SCBMiniDockFrameWnd, ItsSizeIsThePanesFloatingSizeAndItsMinimumThePanes)
{
    DockFrame f;
    f.frame->FloatControlBar(&f.properties, CPoint(900, 200));
    f.Idle();
    CSCBMiniDockFrameWnd* floating = FloatingFrameOf(f.properties);
    ASSERT_NE(floating, nullptr);
    CRect window, client;
    floating->GetWindowRect(&window);
    floating->GetClientRect(&client);
    const CSize borders = window.Size() - client.Size();
    floating->SetWindowPos(nullptr, 0, 0, 300 + borders.cx, 200 + borders.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    f.Idle();
    EXPECT_EQ(f.properties.m_sizeFloat, CSize(304, 204));
    floating->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(300, 200));

    MINMAXINFO mmi = {};
    floating->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 37 - 4 + 8);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 32 - 4 + 8);
    floating->SetWindowPos(nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    floating->GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(41, 36));
}

TEST(SCBMiniDockFrameWnd, ADoubleClickDocksThePaneBackInItsPlace)
{
    DockFrame f;
    const CRect docked = f.InFrame(f.properties);
    f.frame->FloatControlBar(&f.properties, CPoint(900, 200));
    f.Idle();
    ASSERT_NE(FloatingFrameOf(f.properties), nullptr);
    const HWND floating = FloatingFrameOf(f.properties)->GetSafeHwnd();
    f.properties.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 2));
    f.Idle();
    EXPECT_FALSE(f.properties.IsFloating());
    EXPECT_FALSE(IsWindow(floating));
    EXPECT_EQ(f.properties.GetDockSide(), UINT(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(f.InFrame(f.properties), docked);
    EXPECT_EQ(f.DockBar(AFX_IDW_DOCKBAR_RIGHT)->FindBar(static_cast<CControlBar*>(AfxPlaceHolderOf(&f.properties))), -1);
    EXPECT_TRUE(f.Picture("float_after_double_click.png"));
}

TEST(SCBMiniDockFrameWnd, ADragOntoTheRightEdgeDocksThePaneThere)
{
    DockFrame f;
    f.frame->FloatControlBar(&f.properties, CPoint(900, 200));
    f.Idle();
    ASSERT_NE(FloatingFrameOf(f.properties), nullptr);
    CRect frame, top;
    f.frame->GetWindowRect(&frame);
    f.DockBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
    DragCaption(f.properties, CPoint(frame.right - 10, top.bottom + 30));
    f.Idle();
    EXPECT_FALSE(f.properties.IsFloating());
    EXPECT_EQ(f.properties.GetDockSide(), UINT(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_EQ(f.InFrame(f.properties).right, DockFrame::kWidth + 2);
    EXPECT_TRUE(f.Picture("float_after_drag.png"));
}

TEST(SCBMiniDockFrameWnd, AFrameHoldingAnotherBarKeepsItsCaption)
{
    DockFrame f;
    f.frame->FloatControlBar(&f.toolbar, CPoint(900, 200));
    f.Idle();
    auto* floating = DYNAMIC_DOWNCAST(CSCBMiniDockFrameWnd, f.toolbar.GetParentFrame());
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->GetStyle() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(floating->GetSizeBar(), nullptr);
}

} // namespace
