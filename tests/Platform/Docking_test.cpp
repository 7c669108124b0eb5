// The layer's docking: dock bars and their rows, floating frames and the
// place a floating bar keeps, delayed showing, the drag loop and its
// outline, and the saved layout.
#include "DcFixture.h"
#include "Platform/Dc.h"
#include "Platform/DockBar.h"
#include "Platform/DockContext.h"
#include "Platform/DockState.h"
#include "Platform/FrameWnd.h"
#include "Platform/MiniDockFrameWnd.h"
#include "Platform/SysColors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bar of a fixed size, docking anywhere.
class Bar : public CControlBar {
public:
    CSize size{ 120, 30 };
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? size : CSize(size.cy, size.cx); }
};

struct Site {
    CFrameWnd* frame = new CFrameWnd;
    Bar bars[3];

    Site()
    {
        frame->Create(nullptr, "Site", WS_POPUP | WS_VISIBLE, CRect(50, 50, 650, 450));
        for (int i = 0; i < 3; ++i) {
            bars[i].Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 200 + UINT(i));
            bars[i].SetBarStyle(CBRS_ALIGN_TOP);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
        }
        frame->EnableDocking(CBRS_ALIGN_ANY);
    }
    ~Site()
    {
        if (IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
    }
    CDockBar* Dock(UINT id) const { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
    // The entries of a dock bar: bar indexes, 'p' + index for a placeholder, '|' for a row end.
    std::string Entries(UINT id) const
    {
        std::string s;
        const CPtrArray& list = Dock(id)->m_arrBars;
        for (int i = 0; i < int(list.GetSize()); ++i) {
            void* e = list[i];
            if (!e) {
                s += '|';
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                if (e == &bars[k])
                    s += char('0' + k);
                else if (e == AfxPlaceHolderOf(const_cast<Bar*>(&bars[k])))
                    s += std::string("p") + char('0' + k);
            }
        }
        return s;
    }
};

TEST(Docking, BarsGoIntoTheRowAndPlaceTheirRectangleFallsOn)
{
    Site s;
    s.frame->DockControlBar(&s.bars[0], AFX_IDW_DOCKBAR_TOP);
    s.frame->RecalcLayout();
    CRect r;
    s.bars[0].GetWindowRect(&r);
    CRect right = r;
    right.OffsetRect(r.Width() + 10, 0);
    s.frame->DockControlBar(&s.bars[1], AFX_IDW_DOCKBAR_TOP, &right);
    CRect below = r;
    below.OffsetRect(0, r.Height() + 5);
    s.frame->DockControlBar(&s.bars[2], AFX_IDW_DOCKBAR_TOP, &below);
    s.frame->RecalcLayout();
    EXPECT_EQ(s.Entries(AFX_IDW_DOCKBAR_TOP), "|01|2|");
    CRect b0, b1, b2, top;
    s.bars[0].GetWindowRect(&b0);
    s.bars[1].GetWindowRect(&b1);
    s.bars[2].GetWindowRect(&b2);
    s.Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
    EXPECT_EQ(b1.top, b0.top);
    EXPECT_GE(b1.left, b0.right - 2);
    EXPECT_EQ(b2.top, b0.bottom - 2);
    EXPECT_EQ(top.Height(), 2 * (30 - 2) - 2);
    EXPECT_EQ(s.bars[1].GetBarStyle() & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_TOP));

    s.frame->DockControlBar(&s.bars[1], AFX_IDW_DOCKBAR_LEFT);
    s.frame->RecalcLayout();
    EXPECT_EQ(s.Entries(AFX_IDW_DOCKBAR_TOP), "|0|2|");
    EXPECT_EQ(s.Entries(AFX_IDW_DOCKBAR_LEFT), "|1|");
    EXPECT_EQ(s.bars[1].GetBarStyle() & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_LEFT));
    s.bars[1].GetWindowRect(&b1);
    EXPECT_EQ(b1.Size(), CSize(30, 120));
}

TEST(Docking, AFloatingBarKeepsItsPlaceAndComesBackToIt)
{
    Site s;
    s.frame->DockControlBar(&s.bars[0], AFX_IDW_DOCKBAR_TOP);
    s.frame->RecalcLayout();
    CRect r;
    s.bars[0].GetWindowRect(&r);
    r.OffsetRect(r.Width() + 10, 0);
    s.frame->DockControlBar(&s.bars[1], AFX_IDW_DOCKBAR_TOP, &r);
    s.frame->RecalcLayout();
    ASSERT_EQ(s.Entries(AFX_IDW_DOCKBAR_TOP), "|01|");

    s.frame->FloatControlBar(&s.bars[0], CPoint(800, 100));
    EXPECT_EQ(s.Entries(AFX_IDW_DOCKBAR_TOP), "|p01|");
    ASSERT_TRUE(s.bars[0].IsFloating());
    auto* frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, s.bars[0].GetParentFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    CRect place;
    frame->GetWindowRect(&place);
    EXPECT_EQ(place.TopLeft(), CPoint(800, 100));
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(120 - 4, 30 - 4));

    // Hiding its last bar hides the frame; showing it shows the frame.
    s.frame->ShowControlBar(&s.bars[0], FALSE, FALSE);
    EXPECT_FALSE(frame->IsWindowVisible());
    s.frame->ShowControlBar(&s.bars[0], TRUE, FALSE);
    EXPECT_TRUE(frame->IsWindowVisible());

    const HWND floating = frame->GetSafeHwnd();
    s.bars[0].m_pDockContext->ToggleDocking();
    EXPECT_FALSE(IsWindow(floating));
    EXPECT_EQ(s.Entries(AFX_IDW_DOCKBAR_TOP), "|01|");
    EXPECT_EQ(s.bars[0].m_pDockBar, s.Dock(AFX_IDW_DOCKBAR_TOP));
}

TEST(Docking, ADelayedShowWaitsForTheLayout)
{
    Site s;
    s.frame->DockControlBar(&s.bars[0], AFX_IDW_DOCKBAR_TOP);
    s.frame->RecalcLayout();
    s.frame->ShowControlBar(&s.bars[0], FALSE, TRUE);
    EXPECT_TRUE(s.bars[0].IsWindowVisible());
    EXPECT_FALSE(s.bars[0].IsVisible());
    s.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(s.bars[0].IsWindowVisible());
    CRect top;
    s.Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
    EXPECT_EQ(top.Height(), 0);
    // A show asked for while shown cancels a pending hide.
    s.frame->ShowControlBar(&s.bars[0], TRUE, TRUE);
    s.frame->ShowControlBar(&s.bars[0], FALSE, TRUE);
    s.frame->ShowControlBar(&s.bars[0], FALSE, TRUE);
    EXPECT_FALSE(s.bars[0].IsVisible());
}

// The drag loop runs on the queue: the moves and the end are queued first.
TEST(Docking, TheDragLoopDocksFloatsOrCancels)
{
    struct Case {
        const char* name;
        UINT end;
        CPoint to;  // relative to the frame's top-left
        UINT expected;  // the dock bar the bar ends in
    };
    const Case cases[] = {
        { "dropped on the left edge", WM_LBUTTONUP, CPoint(5, 200), AFX_IDW_DOCKBAR_LEFT },
        { "dropped outside", WM_LBUTTONUP, CPoint(900, 200), AFX_IDW_DOCKBAR_FLOAT },
        { "cancelled by a right press", WM_RBUTTONDOWN, CPoint(5, 200), AFX_IDW_DOCKBAR_TOP },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Site s;
        s.frame->DockControlBar(&s.bars[0], AFX_IDW_DOCKBAR_TOP);
        s.frame->RecalcLayout();
        CRect frame, bar;
        s.frame->GetWindowRect(&frame);
        s.bars[0].GetWindowRect(&bar);
        auto client = [&](CPoint screen) {
            s.bars[0].ScreenToClient(&screen);
            return MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y)));
        };
        const CPoint press = bar.TopLeft() + CSize(10, 10), to = frame.TopLeft() + c.to;
        s.bars[0].PostMessage(WM_MOUSEMOVE, MK_LBUTTON, client(to));
        s.bars[0].PostMessage(c.end, 0, client(to));
        s.bars[0].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, client(press));
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        ASSERT_NE(s.bars[0].m_pDockBar, nullptr);
        EXPECT_EQ(UINT(s.bars[0].m_pDockBar->GetDlgCtrlID()), c.expected);
        // The outline is gone from the overlay.
        CDC* dc = s.frame->GetDCEx(nullptr, DCX_WINDOW | DCX_LOCKWINDOWUPDATE);
        for (int x = 0; x < 600; x += 3)
            ASSERT_EQ(dc->GetPixel(x, c.to.y), RGB(0, 0, 0));
        s.frame->ReleaseDC(dc);
    }
}

TEST(Docking, ADragOutlineDrawnAndErasedLeavesThePicture)
{
    DcCanvas canvas(40, 40);
    CDC& dc = canvas.dc;
    dc.FillSolidRect(0, 0, 40, 40, RGB(0, 0, 0));
    CBrush* white = CBrush::FromHandle(HBRUSH(GetStockObject(WHITE_BRUSH)));
    const CRect a(5, 5, 30, 30), b(8, 6, 35, 33);
    dc.DrawDragRect(&a, CSize(3, 3), nullptr, CSize(0, 0), white);
    EXPECT_EQ(dc.GetPixel(7, 15), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(15, 15), RGB(0, 0, 0));
    dc.DrawDragRect(&b, CSize(1, 1), &a, CSize(3, 3), white, white);
    EXPECT_EQ(dc.GetPixel(7, 15), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(8, 15), RGB(255, 255, 255));
    dc.DrawDragRect(&b, CSize(0, 0), &b, CSize(1, 1), white, white);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(dc.GetPixel(x, y), RGB(0, 0, 0)) << x << "," << y;
    }
}

TEST(Docking, AMiniFrameAddsItsBordersAndCaptionToTheClientArea)
{
    struct Case {
        const char* name;
        DWORD style;
        CRect window;  // for the client rectangle (0, 0, 100, 50)
    };
    const Case cases[] = {
        { "sizable", WS_THICKFRAME, CRect(-4, -4, 104, 54) },
        { "sizable with caption", WS_THICKFRAME | WS_CAPTION, CRect(-5, -21, 105, 55) },
        { "four-way with caption", MFS_4THICKFRAME | WS_CAPTION, CRect(-5, -21, 105, 55) },
        { "thin border", WS_BORDER, CRect(-1, -1, 101, 51) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRect r(0, 0, 100, 50);
        CMiniFrameWnd::CalcBorders(&r, c.style);
        EXPECT_EQ(r, c.window);
    }
}

} // namespace
