// Dragging a docked pane's edge with the mouse: thickness and length along
// the row, the limits, the ways a drag ends and the tracker.
#include "DockFrame.h"

#include "Platform/Dc.h"

#include <functional>

namespace {

// A point on the middle of one edge of a bar, inside its visible part.
CPoint OnEdge(CWnd& bar, UINT hit)
{
    CRect w;
    bar.GetWindowRect(&w);
    switch (hit) {
    case HTRIGHT: return CPoint(w.right - 4, w.CenterPoint().y);
    case HTLEFT: return CPoint(w.left + 3, w.CenterPoint().y);
    case HTTOP: return CPoint(w.CenterPoint().x, w.top + 3);
    default: return CPoint(w.CenterPoint().x, w.bottom - 4);
    }
}

void Drag(CWnd& bar, UINT hit, CSize by, bool release = true)
{
    const CPoint from = OnEdge(bar, hit);
    PlayMouse(WM_MOUSEMOVE, from);
    PlayMouse(WM_LBUTTONDOWN, from);
    PlayMouse(WM_MOUSEMOVE, from + CSize(by.cx / 2, by.cy / 2));
    PlayMouse(WM_MOUSEMOVE, from + by);
    if (release)
        PlayMouse(WM_LBUTTONUP, from + by);
}

// The Properties pane docked below the Model pane, on the Model pane's row.
void StackOnTheLeft(DockFrame& f)
{
    f.properties.DockBeside(&f.model, AFX_IDW_DOCKBAR_BOTTOM);
    f.frame->RecalcLayout();
    f.Idle();
}

TEST(SizeBarTrack, MovesToSizesWithinTheLimits)
{
    struct Case {
        const char* name;
        bool stacked;
        CCoolDockBar DockFrame::*pane;
        UINT hit;
        CSize by;
        std::function<int(DockFrame&)> size;
        int expected;
    };
    // The middle of the frame is 640 - 2 * (200 - 4) = 248 wide, less 2 of room.
    const Case cases[] = {
        { "left pane wider", false, &DockFrame::model, HTRIGHT, CSize(30, 0), [](DockFrame& f) { return int(f.model.m_sizeVert.cx); }, 230 },
        { "left pane narrower", false, &DockFrame::model, HTRIGHT, CSize(-50, 0), [](DockFrame& f) { return int(f.model.m_sizeVert.cx); }, 150 },
        { "at most the room", false, &DockFrame::model, HTRIGHT, CSize(1000, 0), [](DockFrame& f) { return int(f.model.m_sizeVert.cx); }, 446 },
        { "at least the minimum", false, &DockFrame::model, HTRIGHT, CSize(-1000, 0), [](DockFrame& f) { return int(f.model.m_sizeVert.cx); }, 33 },
        { "right pane by its left edge", false, &DockFrame::properties, HTLEFT, CSize(-40, 0), [](DockFrame& f) { return int(f.properties.m_sizeVert.cx); }, 240 },
        { "bottom pane by its top edge", false, &DockFrame::messages, HTTOP, CSize(0, -60), [](DockFrame& f) { return int(f.messages.m_sizeHorz.cy); }, 260 },
        { "along the row: length moves over", true, &DockFrame::model, HTBOTTOM, CSize(0, 40),
          [](DockFrame& f) { return int(f.model.m_sizeVert.cy + f.properties.m_sizeVert.cy); }, -1 },
        { "along the row: the lower pane stops at its minimum", true, &DockFrame::model, HTBOTTOM, CSize(0, 1000),
          [](DockFrame& f) { return int(f.properties.m_sizeVert.cy); }, 32 },
        { "along the row: both panes take the new thickness", true, &DockFrame::properties, HTRIGHT, CSize(20, 0),
          [](DockFrame& f) { return int(f.model.m_sizeVert.cx + f.properties.m_sizeVert.cx); }, 440 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DockFrame f;
        if (c.stacked)
            StackOnTheLeft(f);
        CCoolDockBar& pane = f.*c.pane;
        const int modelLength = f.model.m_sizeVert.cy, propertiesLength = f.properties.m_sizeVert.cy;
        Drag(pane, c.hit, c.by);
        EXPECT_FALSE(pane.IsTracking());
        if (c.expected >= 0) {
            EXPECT_EQ(c.size(f), c.expected);
        } else {
            EXPECT_EQ(f.model.m_sizeVert.cy, modelLength + 40);
            EXPECT_EQ(f.properties.m_sizeVert.cy, propertiesLength - 40);
        }
        f.Idle();
    }
}

TEST(SizeBarTrack, TheLayoutWaitsForTheEndOfTheDrag)
{
    DockFrame f;
    const CRect before = f.InFrame(f.model);
    Drag(f.model, HTRIGHT, CSize(30, 0), false);
    EXPECT_TRUE(f.model.IsTracking());
    EXPECT_EQ(f.model.m_sizeVert.cx, 230);
    EXPECT_EQ(f.InFrame(f.model), before);
    PlayMouse(WM_LBUTTONUP, OnEdge(f.model, HTRIGHT) + CSize(30, 0));
    f.Idle();
    EXPECT_EQ(f.InFrame(f.model).Width(), 230);
    EXPECT_TRUE(f.Picture("dock_frame_left_wider.png"));
}

TEST(SizeBarTrack, ARightPressOrALostCaptureEndsTheDragKeepingTheSizes)
{
    struct Case {
        const char* name;
        std::function<void(DockFrame&)> end;
    };
    const Case cases[] = {
        { "right press", [](DockFrame& f) { PlayMouse(WM_RBUTTONDOWN, OnEdge(f.model, HTRIGHT)); PlayMouse(WM_RBUTTONUP, OnEdge(f.model, HTRIGHT)); } },
        { "capture taken", [](DockFrame& f) { f.children[1].SetCapture(); ReleaseCapture(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DockFrame f;
        Drag(f.model, HTRIGHT, CSize(25, 0), false);
        ASSERT_TRUE(f.model.IsTracking());
        c.end(f);
        EXPECT_FALSE(f.model.IsTracking());
        EXPECT_NE(CWnd::GetCapture(), &f.model);
        EXPECT_EQ(f.model.m_sizeVert.cx, 225);
        PlayMouse(WM_LBUTTONUP, CPoint(0, 0));
    }
}

// In a main window too small for its panes, or for a pane below its
// minimum, the edge cannot move that way; the limits never cross.
TEST(SizeBarTrack, NoRoomAndNoSpareLeaveTheEdgeWhereItIs)
{
    struct Case {
        const char* name;
        int frameWidth;
        int thickness;
        CSize by;
        int expected;
    };
    const Case cases[] = {
        { "no room to grow", 300, 200, CSize(40, 0), 200 },
        { "no room, shrinking", 300, 200, CSize(-40, 0), 160 },
        { "below its minimum", 640, 20, CSize(-10, 0), 20 },
        { "below its minimum, growing", 640, 20, CSize(10, 0), 30 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DockFrame f(c.frameWidth, 300);
        f.model.m_sizeVert.cx = c.thickness;
        f.frame->RecalcLayout();
        Drag(f.model, HTRIGHT, c.by, false);
        ASSERT_TRUE(f.model.IsTracking());
        EXPECT_LE(f.model.GetTrackMin(), f.model.GetTrackMax());
        PlayMouse(WM_LBUTTONUP, CPoint(0, 0));
        EXPECT_EQ(f.model.m_sizeVert.cx, c.expected);
    }
}

TEST(SizeBarTrack, TheTrackerDrawnTwiceLeavesTheOverlayAsItWas)
{
    DockFrame f;
    Drag(f.model, HTRIGHT, CSize(20, 0), false);
    ASSERT_TRUE(f.model.IsTracking());
    CRect frame, edge;
    f.frame->GetWindowRect(&frame);
    f.model.GetWindowRect(&edge);
    // The tracker stands 20 pixels right of the edge, across the dock bar.
    const CPoint at(edge.right - 3 + 20 - frame.left, edge.CenterPoint().y - frame.top);
    auto lit = [&] {
        CDC* dc = f.frame->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
        int n = 0;
        for (int dx = -1; dx <= 1; ++dx)
            n += dc->GetPixel(at.x + dx, at.y) != RGB(0, 0, 0);
        f.frame->ReleaseDC(dc);
        return n;
    };
    EXPECT_GT(lit(), 0);
    EXPECT_TRUE(f.Picture("dock_tracker.png"));
    f.model.DrawTracker();
    EXPECT_EQ(lit(), 0);
    f.model.DrawTracker();
    EXPECT_GT(lit(), 0);
    PlayMouse(WM_LBUTTONUP, OnEdge(f.model, HTRIGHT));
    EXPECT_EQ(lit(), 0);
}

} // namespace
