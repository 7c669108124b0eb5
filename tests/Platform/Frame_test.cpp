// Frames: the command route (view, frame, application), the layout of bars
// and view, idle processing and the end of the message loop.
#include "WndFixture.h"

#include "Platform/FrameWnd.h"
#include "Platform/WinApp.h"

namespace {

Log g_log;

class RouteView : public CWnd {
protected:
    void OnCmd10() { g_log.push_back("view 10"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteView, CWnd)
    ON_COMMAND(10, OnCmd10)
END_MESSAGE_MAP()

class RouteFrame : public CFrameWnd {
protected:
    void OnCmd10() { g_log.push_back("frame 10"); }
    void OnCmd11() { g_log.push_back("frame 11"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteFrame, CFrameWnd)
    ON_COMMAND(10, OnCmd10)
    ON_COMMAND(11, OnCmd11)
END_MESSAGE_MAP()

class RouteApp : public CWinApp {
public:
    RouteApp() : CWinApp("Vexal") {}
    int idles = 0;
    BOOL OnIdle(LONG count) override
    {
        ++idles;
        return CWinApp::OnIdle(count);
    }
    int ExitInstance() override { return 7; }

protected:
    void OnCmd11() { g_log.push_back("app 11"); }
    void OnCmd12() { g_log.push_back("app 12"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RouteApp, CWinApp)
    ON_COMMAND(11, OnCmd11)
    ON_COMMAND(12, OnCmd12)
END_MESSAGE_MAP()

TEST(Frame, CommandsGoToTheViewThenTheFrameThenTheApplication)
{
    RouteApp app;
    auto* frame = new RouteFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP, CRect(0, 0, 200, 100)));
    RouteView view;
    ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(&view);
    EXPECT_EQ(frame, view.GetParentFrame());
    EXPECT_EQ(frame, view.GetTopLevelFrame());
    EXPECT_EQ(nullptr, frame->GetParentFrame());
    const struct {
        UINT id;
        Log expected;
    } cases[] = { { 10, { "view 10" } }, { 11, { "frame 11" } }, { 12, { "app 12" } }, { 13, {} } };
    for (const auto& c : cases) {
        g_log.clear();
        frame->SendMessage(WM_COMMAND, c.id);
        EXPECT_EQ(c.expected, g_log) << c.id;
    }
    frame->DestroyWindow();
}

class SelfDeletingView : public RouteView {
public:
    void PostNcDestroy() override { delete this; }
};

TEST(Frame, ViewThatGoesLeavesTheRouteAndTheFocusToTheFrame)
{
    RouteApp app;
    auto* frame = new RouteFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100)));
    auto* view = new SelfDeletingView;
    ASSERT_TRUE(view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(view);
    view->DestroyWindow();
    EXPECT_EQ(nullptr, frame->GetActiveView());
    g_log.clear();
    frame->SendMessage(WM_COMMAND, 10);
    EXPECT_EQ((Log{ "frame 10" }), g_log);
    frame->SetFocus();
    EXPECT_EQ(frame, CWnd::GetFocus());
    frame->DestroyWindow();
}

// A bar that takes a strip of the frame's client area for itself.
class StripBar : public CWnd {
public:
    StripBar(bool top, int height) : m_top(top), m_height(height) {}

protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect r(layout->rect);
        if (m_top) {
            r.bottom = r.top + m_height;
            layout->rect.top += m_height;
        } else {
            r.top = r.bottom - m_height;
            layout->rect.bottom -= m_height;
        }
        layout->sizeTotal.cy += m_height;
        AfxRepositionWindow(layout, m_hWnd, &r);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_top;
    int m_height;
};
BEGIN_MESSAGE_MAP(StripBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CRect ChildRect(CWnd& w)
{
    CRect r;
    w.GetWindowRect(&r);
    w.GetParent()->ScreenToClient(&r);
    return r;
}

TEST(Frame, BarsTakeTheirStripsAndTheViewTheRest)
{
    RouteApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP, CRect(0, 0, 200, 100)));
    app.m_pMainWnd = frame;
    StripBar toolbar(true, 20), status(false, 10);
    CWnd view;
    ASSERT_TRUE(toolbar.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(), frame, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(status.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(), frame, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(), frame, AFX_IDW_PANE_FIRST));

    frame->RecalcLayout();
    EXPECT_EQ(CRect(0, 0, 200, 20), ChildRect(toolbar));
    EXPECT_EQ(CRect(0, 90, 200, 100), ChildRect(status));
    EXPECT_EQ(CRect(0, 20, 200, 90), ChildRect(view));

    // A query moves nothing.
    CRect left;
    const CRect bigger(0, 0, 300, 300);
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &left, &bigger);
    EXPECT_EQ(CRect(0, 20, 300, 290), left);
    EXPECT_EQ(CRect(0, 20, 200, 90), ChildRect(view));

    // Resizing the frame lays it out again; a delayed layout waits for idle.
    frame->SetWindowPos(nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CRect(0, 20, 200, 140), ChildRect(view));
    frame->m_rectBorder = CRect(5, 5, 5, 5);
    frame->DelayRecalcLayout();
    EXPECT_EQ(CRect(0, 20, 200, 140), ChildRect(view));
    app.OnIdle(0);
    EXPECT_EQ(CRect(5, 25, 195, 135), ChildRect(view));
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    int code = -1;
    EXPECT_TRUE(AfxTakeQuitMessage(&code));
    EXPECT_EQ(0, code);
}

TEST(Frame, RunIdlesUntilTheMainWindowGoes)
{
    RouteApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50)));
    app.m_pMainWnd = frame;
    frame->PostMessage(WM_CLOSE);
    EXPECT_EQ(7, app.Run());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_GT(app.idles, 0);
}

} // namespace

namespace {

// Ends its modal loop on the third idle kick.
class ModalWnd : public CWnd {
public:
    int kicks = 0;
    Log seen;

protected:
    LRESULT OnKickIdle(WPARAM, LPARAM count)
    {
        ++kicks;
        if (count == 2)
            EndModalLoop(IDCANCEL_TEST);
        return 0;
    }
    LRESULT OnPrivate(WPARAM wp, LPARAM)
    {
        seen.push_back(Fmt("private %d", int(wp)));
        return 0;
    }
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int IDCANCEL_TEST = 2;
};
BEGIN_MESSAGE_MAP(ModalWnd, CWnd)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_MESSAGE(WM_USER + 5, OnPrivate)
END_MESSAGE_MAP()

TEST(ModalLoop, RunsWithIdleKicksUntilEnded)
{
    ModalWnd w;
    CreateTop(w, 0, 0, 20, 20);
    w.PostMessage(WM_USER + 5, 1);
    EXPECT_EQ(ModalWnd::IDCANCEL_TEST, w.RunModalLoop());
    EXPECT_EQ(3, w.kicks);
    EXPECT_EQ((Log{ "private 1" }), w.seen);
}

TEST(MessageQueue, OwnLoopTakesMessagesAndLeavesTheRestDispatched)
{
    ModalWnd a, b;
    CreateTop(a, 0, 0, 20, 20);
    CreateTop(b, 50, 0, 20, 20);
    a.PostMessage(WM_USER + 5, 1);
    b.PostMessage(WM_USER + 5, 2);
    a.PostMessage(WM_USER + 6, 3);
    MSG msg;
    // Only a's messages in the private range are taken here.
    ASSERT_TRUE(GetMessage(&msg, a.GetSafeHwnd(), WM_USER + 5, WM_USER + 6));
    EXPECT_EQ(UINT(WM_USER + 5), msg.message);
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_TRUE(PeekMessage(&msg, a.GetSafeHwnd(), 0, 0, PM_NOREMOVE));
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_TRUE(PeekMessage(&msg, a.GetSafeHwnd(), 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&msg, a.GetSafeHwnd(), 0, 0, PM_REMOVE));
    // b's message was queued too; it is dispatched once the loop is done.
    EXPECT_TRUE(b.seen.empty());
    ASSERT_TRUE(SpinUntil([&] { return !b.seen.empty(); }));
    EXPECT_EQ((Log{ "private 2" }), b.seen);
    EXPECT_TRUE(a.seen.empty());
}

} // namespace

namespace {

class StartApp : public RouteApp {
public:
    BOOL succeed = TRUE;
    BOOL InitInstance() override
    {
        auto* frame = new CFrameWnd;
        if (!frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 40)))
            return FALSE;
        m_pMainWnd = frame;
        frame->PostMessage(WM_CLOSE);
        return succeed;
    }
};

TEST(WinMain, RunsTheLoopOrEndsAtOnceWhenStartFails)
{
    char name[] = "vexal";
    char* argv[] = { name, nullptr };
    for (BOOL succeed : { TRUE, FALSE }) {
        StartApp app;
        app.succeed = succeed;
        EXPECT_EQ(7, AfxWinMain(1, argv));
        EXPECT_EQ(nullptr, app.m_pMainWnd);
        EXPECT_EQ(succeed ? 1 : 0, app.idles > 0 ? 1 : 0);
        int code;
        EXPECT_FALSE(AfxTakeQuitMessage(&code) && succeed);
    }
    QApplication::processEvents();
}

} // namespace

namespace {

class IdleFrame : public CFrameWnd {
public:
    int updates = 0;

protected:
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++updates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(IdleFrame, CFrameWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

TEST(Frame, IdleUpdatesReachTheMainWindowAndVisibleFloatingFrames)
{
    RouteApp app;
    auto* main = new IdleFrame;
    auto* floating = new IdleFrame;
    auto* hidden = new IdleFrame;
    ASSERT_TRUE(main->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50)));
    ASSERT_TRUE(floating->Create(nullptr, "Bar", WS_POPUP | WS_VISIBLE, CRect(60, 0, 90, 30), main));
    ASSERT_TRUE(hidden->Create(nullptr, "Bar", WS_POPUP, CRect(60, 0, 90, 30), main));
    app.m_pMainWnd = main;
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_EQ(1, main->updates);
    EXPECT_EQ(1, floating->updates);
    EXPECT_EQ(0, hidden->updates);
    main->DestroyWindow();
    int code;
    EXPECT_TRUE(AfxTakeQuitMessage(&code));
}

} // namespace
