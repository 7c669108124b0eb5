// Window lifetime, positions, painting, non-client areas, scroll bars and
// timers.
#include "WndFixture.h"

#include "Platform/SysColors.h"

#include <QDir>
#include <QScrollBar>

namespace {

// Records position messages and can rewrite a position request.
class PositionWnd : public CWnd {
public:
    Log log;
    int forcedWidth = 0;

protected:
    void OnWindowPosChanging(WINDOWPOS* pos)
    {
        log.push_back(Fmt("changing %d,%d %dx%d", pos->x, pos->y, pos->cx, pos->cy));
        if (forcedWidth) {
            pos->cx = forcedWidth;
            pos->flags |= SWP_NOMOVE;
        }
    }
    void OnSize(UINT, int cx, int cy) { log.push_back(Fmt("size %dx%d", cx, cy)); }
    void OnMove(int x, int y) { log.push_back(Fmt("move %d,%d", x, y)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PositionWnd, CWnd)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SIZE()
    ON_WM_MOVE()
END_MESSAGE_MAP()

TEST(WindowPos, HandlerMayRewriteTheRequest)
{
    CWnd top;
    CreateTop(top, 0, 0, 300, 300);
    PositionWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &top, 1));
    w.log.clear();
    w.forcedWidth = 80;
    w.SetWindowPos(nullptr, 30, 30, 100, 50, SWP_NOZORDER);
    EXPECT_EQ((Log{ "changing 30,30 100x50", "size 80x50" }), w.log);
    CRect r;
    w.GetWindowRect(&r);
    EXPECT_EQ(CRect(10, 10, 90, 60), r);

    w.log.clear();
    w.forcedWidth = 0;
    w.SetWindowPos(nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ((Log{ "changing 5,6 80x50", "move 5,6" }), w.log);
}

TEST(WindowPos, ClientCoordinatesFollowTheParents)
{
    CWnd top, child;
    CreateTop(top, 40, 50, 200, 200, WS_POPUP | WS_BORDER | WS_VISIBLE);
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 20, 60, 70), &top, 7));
    CPoint p(3, 4);
    child.ClientToScreen(&p);
    EXPECT_EQ(CPoint(40 + 1 + 10 + 3, 50 + 1 + 20 + 4), p);
    child.ScreenToClient(&p);
    EXPECT_EQ(CPoint(3, 4), p);
    EXPECT_EQ(&child, top.GetDlgItem(7));
    top.SetDlgItemText(7, "seven");
    char text[8] = "x";
    EXPECT_EQ(5, top.GetDlgItemText(7, text, sizeof text));
    EXPECT_STREQ("seven", text);
    EXPECT_EQ(0, top.GetDlgItemText(8, text, sizeof text));
    EXPECT_STREQ("", text);
    EXPECT_EQ(5, top.SendDlgItemMessage(7, WM_GETTEXTLENGTH));
    EXPECT_TRUE(top.IsChild(&child));
    EXPECT_EQ(&top, child.GetParent());
    EXPECT_EQ(&child, CWnd::WindowFromPoint(CPoint(40 + 1 + 15, 50 + 1 + 25)));

    // Z-order: the newest child is on top until another place is asked for.
    CWnd second;
    ASSERT_TRUE(second.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 20, 60, 70), &top, 8));
    EXPECT_EQ(&second, top.GetTopWindow());
    EXPECT_EQ(&second, CWnd::WindowFromPoint(CPoint(40 + 1 + 15, 50 + 1 + 25)));
    second.SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(&child, top.GetTopWindow());
    EXPECT_EQ(&second, child.GetNextWindow());
    EXPECT_EQ(&child, CWnd::WindowFromPoint(CPoint(40 + 1 + 15, 50 + 1 + 25)));
}

class SelfDeleting : public CWnd {
public:
    explicit SelfDeleting(bool* deleted) : m_deleted(deleted) {}
    ~SelfDeleting() override { *m_deleted = true; }
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};

class PrivateCounter : public CWnd {
public:
    int received = 0;

protected:
    LRESULT OnPrivate(WPARAM, LPARAM)
    {
        ++received;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PrivateCounter, CWnd)
    ON_MESSAGE(WM_USER + 1, OnPrivate)
END_MESSAGE_MAP()

TEST(Lifetime, SelfDeletingWindowAndStaleHandles)
{
    bool deleted = false;
    auto* w = new SelfDeleting(&deleted);
    CreateTop(*w, 0, 0, 20, 20);
    HWND h = w->GetSafeHwnd();
    EXPECT_TRUE(PostMessage(h, WM_USER + 1, 0, 0));
    w->DestroyWindow();
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, CWnd::FromHandle(h));
    EXPECT_EQ(0, SendMessage(h, WM_GETTEXTLENGTH));

    // Windows made later never take over the handle, nor the message
    // posted to it before the window went.
    PrivateCounter later[4];
    for (PrivateCounter& l : later) {
        CreateTop(l, 0, 0, 20, 20);
        EXPECT_NE(h, l.GetSafeHwnd());
    }
    EXPECT_FALSE(IsWindow(h));
    QApplication::processEvents();
    for (const PrivateCounter& l : later)
        EXPECT_EQ(0, l.received);
}

TEST(Lifetime, TextStylesAndSubclassing)
{
    CWnd top;
    CreateTop(top, 0, 0, 50, 50);
    top.SetWindowText("Model");
    char text[4];
    EXPECT_EQ(3, top.GetWindowText(text, sizeof text));
    EXPECT_STREQ("Mod", text);
    EXPECT_EQ(5, top.GetWindowTextLength());
    EXPECT_TRUE(top.ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_TRUE(top.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_FALSE(top.ModifyStyle(0, WS_CLIPCHILDREN));

    // A window without an object gets a plain one; subclassing replaces it.
    CWnd maker;
    ASSERT_TRUE(maker.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &top, 3));
    HWND h = maker.Detach();
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    Log log;
    LoggingWnd logger(log, "sub");
    ASSERT_TRUE(logger.SubclassDlgItem(3, &top));
    EXPECT_EQ(&logger, CWnd::FromHandlePermanent(h));
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 2));
    EXPECT_EQ((Log{ "sub down 1 1,2" }), log);
}

// Paints its update area red and counts erase requests.
class PaintWnd : public CWnd {
public:
    int erased = 0;
    int painted = 0;
    CRect lastPaint;

protected:
    BOOL OnEraseBkgnd(CDC*)
    {
        ++erased;
        return TRUE;
    }
    void OnPaint()
    {
        CPaintDC dc(this);
        ++painted;
        lastPaint = dc.m_ps.rcPaint;
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, RGB(255, 0, 0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

QRgb BufferPixel(CWnd& w, int x, int y) { return WndBackBuffer(w.GetSafeHwnd())->pixel(x, y) & 0xFFFFFF; }

TEST(Paint, OnlyTheUpdateRegionIsPaintedAndErasedOnRequest)
{
    CWnd top;
    CreateTop(top, 0, 0, 100, 100);
    PaintWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &top, 1));
    w.UpdateWindow();
    EXPECT_EQ(1, w.painted);
    EXPECT_EQ(1, w.erased);

    // Paint what is invalid only, clipped to it, with erasing as asked.
    WndBackBuffer(w.GetSafeHwnd())->fill(Qt::white);
    const CRect part(5, 5, 10, 10);
    w.InvalidateRect(&part, FALSE);
    w.UpdateWindow();
    EXPECT_EQ(2, w.painted);
    EXPECT_EQ(1, w.erased);
    EXPECT_EQ(part, w.lastPaint);
    EXPECT_EQ(0xFF0000u, BufferPixel(w, 7, 7));
    EXPECT_EQ(0xFFFFFFu, BufferPixel(w, 20, 20));

    // Nothing invalid, nothing painted; redraw suppressed keeps it pending.
    w.UpdateWindow();
    EXPECT_EQ(2, w.painted);
    w.SetRedraw(FALSE);
    w.Invalidate();
    w.UpdateWindow();
    EXPECT_EQ(2, w.painted);
    w.SetRedraw(TRUE);
    w.UpdateWindow();
    EXPECT_EQ(3, w.painted);
    QImage shot = WndFrameWidget(top.GetSafeHwnd())->grab().toImage();
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    shot.save(QString(VEXAL_TEST_OUTPUT) + "/wnd_paint.png");
    EXPECT_EQ(QColor(Qt::red).rgb(), shot.pixel(10, 10));
}

// A child made hidden while its parent was hidden stays hidden when the
// parent is shown: it neither shows nor covers what the parent paints.
TEST(Paint, AHiddenChildStaysHiddenWhenItsParentIsShown)
{
    CWnd top;
    CreateTop(top, 0, 0, 100, 100, WS_POPUP);
    PaintWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &top, 1));
    CWnd hidden;
    ASSERT_TRUE(hidden.Create(nullptr, "", WS_CHILD, CRect(10, 10, 50, 50), &parent, 2));
    top.ShowWindow(SW_SHOW);
    parent.UpdateWindow();
    EXPECT_FALSE(hidden.IsWindowVisible());
    EXPECT_FALSE(WndFrameWidget(hidden.GetSafeHwnd())->isVisible());
    EXPECT_EQ(QColor(Qt::red).rgb(), WndFrameWidget(top.GetSafeHwnd())->grab().toImage().pixel(30, 30));
}

TEST(Paint, LockAndSetRedrawDoNotUndoEachOther)
{
    CWnd top;
    CreateTop(top, 0, 0, 100, 100);
    PaintWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &top, 1));
    w.UpdateWindow();
    ASSERT_EQ(1, w.painted);

    // Redraw turned back on inside a lock leaves the lock in force.
    ASSERT_TRUE(w.LockWindowUpdate());
    w.SetRedraw(FALSE);
    w.SetRedraw(TRUE);
    w.Invalidate();
    w.UpdateWindow();
    EXPECT_EQ(1, w.painted);
    w.UnlockWindowUpdate();
    w.UpdateWindow();
    EXPECT_EQ(2, w.painted);

    // A later lock holds as the first did.
    ASSERT_TRUE(w.LockWindowUpdate());
    w.Invalidate();
    w.UpdateWindow();
    EXPECT_EQ(2, w.painted);
    w.UnlockWindowUpdate();

    // The lock ends with its window.
    {
        CWnd other;
        CreateTop(other, 200, 0, 20, 20);
        ASSERT_TRUE(other.LockWindowUpdate());
        other.DestroyWindow();
    }
    EXPECT_TRUE(w.LockWindowUpdate());
    w.UnlockWindowUpdate();
}

TEST(Paint, TrackerInvertsOverTheChildrenAndErasesItself)
{
    CWnd top;
    CreateTop(top, 0, 0, 100, 60);
    PaintWnd child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 60), &top, 1));
    child.UpdateWindow();
    QWidget* frame = WndFrameWidget(top.GetSafeHwnd());
    auto invert = [&] {
        HDC hdc = GetDCEx(top.GetSafeHwnd(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
        ASSERT_NE(nullptr, hdc);
        CDC::FromHandle(hdc)->PatBlt(10, 10, 20, 4, DSTINVERT);
        ReleaseDC(top.GetSafeHwnd(), hdc);
    };
    invert();
    QImage shot = frame->grab().toImage();
    shot.save(QString(VEXAL_TEST_OUTPUT) + "/wnd_tracker.png");
    EXPECT_EQ(QColor(Qt::cyan).rgb(), shot.pixel(15, 11));
    EXPECT_EQ(QColor(Qt::red).rgb(), shot.pixel(15, 20));
    invert();
    EXPECT_EQ(QColor(Qt::red).rgb(), frame->grab().toImage().pixel(15, 11));
}

// A non-client area of its own: a 5-pixel green frame with a 10-pixel
// grip strip on top that answers HTCAPTION.
class FramedWnd : public LoggingWnd {
public:
    using LoggingWnd::LoggingWnd;

protected:
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
    {
        CRect& r = *reinterpret_cast<CRect*>(&params->rgrc[0]);
        r.DeflateRect(5, 15, 5, 5);
    }
    LRESULT OnNcHitTest(CPoint screen)
    {
        CRect w;
        GetWindowRect(&w);
        if (screen.y < w.top + 15)
            return HTCAPTION;
        return CWnd::OnNcHitTest(screen);
    }
    void OnNcPaint()
    {
        CWindowDC dc(this);
        CRect w;
        GetWindowRect(&w);
        dc.FillSolidRect(0, 0, w.Width(), w.Height(), RGB(0, 160, 0));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FramedWnd, LoggingWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

TEST(NonClient, OwnFrameIsLaidOutPaintedAndHitTested)
{
    Log log;
    CWnd top;
    CreateTop(top, 0, 0, 200, 200);
    FramedWnd w(log, "w");
    // The class background (a system colour + 1) erases the client after the frame.
    LPCTSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1)));
    ASSERT_TRUE(w.Create(cls, "", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 80), &top, 1));
    CRect client;
    w.GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, 90, 40), client);
    w.UpdateWindow();
    EXPECT_EQ(0x00A000u, BufferPixel(w, 2, 2));
    EXPECT_EQ(0x00A000u, BufferPixel(w, 99, 59));
    EXPECT_EQ(0xFFFFFFu, BufferPixel(w, 50, 30));

    log.clear();
    SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(60, 25), Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(60, 25), Qt::NoButton);
    SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(60, 50), Qt::LeftButton);
    EXPECT_EQ((Log{ Fmt("w ncdown %d 60,25", HTCAPTION), "w down 1 35,15" }), log);
}

TEST(NonClient, DefaultFrameFromStyles)
{
    struct Case {
        DWORD style, exStyle;
        CRect client;
        CPoint probe;  // window-relative
        LRESULT hit;
    } cases[] = {
        { 0, 0, CRect(0, 0, 100, 60), CPoint(0, 0), HTCLIENT },
        { WS_BORDER, 0, CRect(0, 0, 98, 58), CPoint(0, 30), HTBORDER },
        { 0, WS_EX_CLIENTEDGE, CRect(0, 0, 96, 56), CPoint(1, 1), HTBORDER },
        { WS_BORDER | WS_VSCROLL, 0, CRect(0, 0, 82, 58), CPoint(90, 30), HTVSCROLL },
        { WS_THICKFRAME, 0, CRect(0, 0, 92, 52), CPoint(99, 59), HTBOTTOMRIGHT },
        { WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, CRect(0, 0, 94, 38), CPoint(30, 5), HTCAPTION },
        { WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, CRect(0, 0, 94, 38), CPoint(88, 8), HTCLOSE },
    };
    CWnd top;
    CreateTop(top, 0, 0, 300, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(Fmt("style %lx ex %lx", long(c.style), long(c.exStyle)));
        CWnd w;
        ASSERT_TRUE(w.CreateEx(c.exStyle, nullptr, "", WS_CHILD | WS_VISIBLE | c.style, CRect(10, 10, 110, 70), &top, 1));
        CRect client;
        w.GetClientRect(&client);
        EXPECT_EQ(c.client, client);
        CRect r;
        w.GetWindowRect(&r);
        EXPECT_EQ(c.hit, w.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(r.left + c.probe.x), WORD(r.top + c.probe.y))));
        w.UpdateWindow();
    }
}

class ScrollingWnd : public PositionWnd {
public:
    Log scrolls;

protected:
    void OnVScroll(UINT code, UINT pos, CScrollBar*) { scrolls.push_back(Fmt("vscroll %u %u", code, pos)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScrollingWnd, PositionWnd)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

TEST(ScrollBars, RangeShowsAndHidesTheBarAndResizesTheClient)
{
    CWnd top;
    CreateTop(top, 0, 0, 300, 300);
    ScrollingWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), &top, 1));
    w.log.clear();
    SCROLLINFO si = { sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 199, 80, 500, 0 };
    w.SetScrollInfo(SB_VERT, &si);
    EXPECT_TRUE(w.GetStyle() & WS_VSCROLL);
    EXPECT_EQ((Log{ "changing 0,0 100x80", "size 84x80" }), w.log);
    EXPECT_EQ(120, w.GetScrollPos(SB_VERT));  // clamped to max - page + 1
    EXPECT_EQ(120, w.GetScrollLimit(SB_VERT));

    // The user's request is reported; the position is the window's to set.
    auto* bar = WndFrameWidget(w.GetSafeHwnd())->findChild<QScrollBar*>();
    ASSERT_NE(nullptr, bar);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ((Log{ "vscroll 0 0" }), w.scrolls);
    EXPECT_EQ(120, w.GetScrollPos(SB_VERT));
    EXPECT_EQ(120, w.SetScrollPos(SB_VERT, 10));
    EXPECT_EQ(10, bar->value());

    w.log.clear();
    si.nMax = 50;
    w.SetScrollInfo(SB_VERT, &si);
    EXPECT_FALSE(w.GetStyle() & WS_VSCROLL);
    EXPECT_EQ((Log{ "changing 0,0 100x80", "size 100x80" }), w.log);

    si.fMask = SIF_RANGE | SIF_DISABLENOSCROLL;
    w.SetScrollInfo(SB_VERT, &si);
    EXPECT_TRUE(w.GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(bar->isEnabled());
}

class TimerWnd : public CWnd {
public:
    int fired[3] = {};
    bool destroyOnTimer = false;

protected:
    void OnTimer(UINT_PTR id)
    {
        if (id < 3)
            ++fired[id];
        if (destroyOnTimer)
            DestroyWindow();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimerWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Timers, FireByIdAndStopWhenKilled)
{
    TimerWnd w;
    CreateTop(w, 0, 0, 10, 10);
    EXPECT_EQ(1u, w.SetTimer(1, 10));
    EXPECT_EQ(2u, w.SetTimer(2, 10));
    ASSERT_TRUE(SpinUntil([&] { return w.fired[1] >= 3 && w.fired[2] >= 1; }));
    EXPECT_TRUE(w.KillTimer(1));
    EXPECT_FALSE(w.KillTimer(1));
    const int stopped = w.fired[1];
    const int running = w.fired[2];
    ASSERT_TRUE(SpinUntil([&] { return w.fired[2] >= running + 3; }));
    EXPECT_EQ(stopped, w.fired[1]);
    w.DestroyWindow();
    QApplication::processEvents();
}

} // namespace

namespace {

TEST(Timers, WindowMayDestroyItselfFromItsTimer)
{
    TimerWnd w;
    CreateTop(w, 0, 0, 10, 10);
    w.destroyOnTimer = true;
    w.SetTimer(1, 10);
    ASSERT_TRUE(SpinUntil([&] { return w.GetSafeHwnd() == nullptr; }));
    EXPECT_EQ(1, w.fired[1]);
    SpinUntil([] { return false; }, 50);
    EXPECT_EQ(1, w.fired[1]);
}

} // namespace

namespace {

TEST(Caret, ShownOverThePictureWithoutTouchingTheBuffer)
{
    CWnd top;
    CreateTop(top, 0, 0, 60, 40);
    PaintWnd w;
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 40), &top, 1));
    w.UpdateWindow();
    QWidget* widget = WndFrameWidget(w.GetSafeHwnd());
    w.CreateSolidCaret(2, 10);
    CWnd::SetCaretPos(CPoint(5, 6));
    EXPECT_EQ(CPoint(5, 6), CWnd::GetCaretPos());
    // Created hidden; one show shows it, each hide needs its own show.
    EXPECT_EQ(QColor(Qt::red).rgb(), widget->grab().toImage().pixel(5, 8));
    w.ShowCaret();
    EXPECT_EQ(QColor(Qt::cyan).rgb(), widget->grab().toImage().pixel(5, 8));
    EXPECT_EQ(QColor(Qt::red).rgb(), widget->grab().toImage().pixel(7, 8));
    EXPECT_EQ(0xFF0000u, BufferPixel(w, 5, 8));
    w.HideCaret();
    w.HideCaret();
    w.ShowCaret();
    EXPECT_EQ(QColor(Qt::red).rgb(), widget->grab().toImage().pixel(5, 8));
    w.ShowCaret();
    EXPECT_EQ(QColor(Qt::cyan).rgb(), widget->grab().toImage().pixel(5, 8));
    // The caret goes with its window.
    w.DestroyWindow();
    POINT p;
    EXPECT_FALSE(GetCaretPos(&p));
}

} // namespace

namespace {

QRgb Rgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

TEST(NonClient, DefaultFrameIsDrawnInTheClassicLook)
{
    CWnd owner, tool;
    CreateTop(owner, 0, 0, 300, 200);
    ASSERT_TRUE(tool.CreateEx(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, nullptr, "Model",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                              20, 20, 160, 120, owner.GetSafeHwnd(), nullptr));
    tool.UpdateWindow();
    QImage shot = WndFrameWidget(tool.GetSafeHwnd())->grab().toImage();
    shot.save(QString(VEXAL_TEST_OUTPUT) + "/wnd_nonclient.png");
    const int frame = GetSystemMetrics(SM_CXFRAME);
    // The tool window is active: its caption strip has the active caption colour.
    EXPECT_EQ(Rgb(GetSysColor(COLOR_ACTIVECAPTION)), shot.pixel(frame + 60, frame + 3));
    EXPECT_EQ(Rgb(GetSysColor(COLOR_BTNFACE)), shot.pixel(frame - 2, 60));
    CRect client;
    tool.GetClientRect(&client);
    const int edge = GetSystemMetrics(SM_CXEDGE), bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(CRect(0, 0, 160 - 2 * (frame + edge) - bar, 120 - 2 * (frame + edge) - GetSystemMetrics(SM_CYSMCAPTION) - bar),
              client);

    // A tool window shows active along with its owner; another window takes that away.
    owner.SetActiveWindow();
    tool.UpdateWindow();
    shot = WndFrameWidget(tool.GetSafeHwnd())->grab().toImage();
    EXPECT_EQ(Rgb(GetSysColor(COLOR_ACTIVECAPTION)), shot.pixel(frame + 60, frame + 3));
    CWnd other;
    CreateTop(other, 400, 0, 20, 20);
    other.SetActiveWindow();
    tool.UpdateWindow();
    shot = WndFrameWidget(tool.GetSafeHwnd())->grab().toImage();
    EXPECT_EQ(Rgb(GetSysColor(COLOR_INACTIVECAPTION)), shot.pixel(frame + 60, frame + 3));
}

} // namespace

namespace {

// A pane without a caption that draws a close box of its own and answers HTCLOSE.
class ClosePane : public CWnd {
protected:
    LRESULT OnNcHitTest(CPoint) { return HTCLOSE; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ClosePane, CWnd)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

TEST(NonClient, OnlyTheOwnCaptionsCloseBoxCloses)
{
    CWnd tool;
    ASSERT_TRUE(tool.CreateEx(WS_EX_TOOLWINDOW, nullptr, "Tool", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 600, 0,
                              100, 60, nullptr, nullptr));
    CRect r;
    tool.GetWindowRect(&r);
    const QPoint closeBox(r.right - 8, r.top + 8);
    ASSERT_EQ(HTCLOSE, tool.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(WORD(closeBox.x()), WORD(closeBox.y()))));
    SendMouse(tool, QEvent::MouseButtonPress, Qt::LeftButton, closeBox, Qt::LeftButton);
    SendMouse(tool, QEvent::MouseButtonRelease, Qt::LeftButton, closeBox, Qt::NoButton);
    EXPECT_EQ(nullptr, tool.GetSafeHwnd());

    CWnd top;
    CreateTop(top, 0, 0, 100, 100);
    ClosePane pane;
    ASSERT_TRUE(pane.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    SendMouse(pane, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10), Qt::LeftButton);
    SendMouse(pane, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(10, 10), Qt::NoButton);
    EXPECT_NE(nullptr, pane.GetSafeHwnd());
}

} // namespace

namespace {

class LimitedWnd : public CWnd {
protected:
    void OnGetMinMaxInfo(MINMAXINFO* mmi)
    {
        mmi->ptMinTrackSize = { 60, 40 };
        mmi->ptMaxTrackSize = { 200, 150 };
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LimitedWnd, CWnd)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

TEST(WindowPos, TopLevelSizesKeepWithinTheMinMaxInfo)
{
    LimitedWnd w;
    CreateTop(w, 0, 0, 10, 10);
    CRect r;
    w.GetWindowRect(&r);
    EXPECT_EQ(CSize(60, 40), r.Size());
    w.SetWindowPos(nullptr, 0, 0, 500, 100, SWP_NOMOVE | SWP_NOZORDER);
    w.GetWindowRect(&r);
    EXPECT_EQ(CSize(200, 100), r.Size());
    // Children are not limited.
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, CRect(0, 0, 2, 2), &w, 1));
    child.GetWindowRect(&r);
    EXPECT_EQ(CSize(2, 2), r.Size());
}

} // namespace
