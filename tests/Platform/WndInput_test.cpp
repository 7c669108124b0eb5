// Focus and capture order, mouse routing with and without capture, double
// clicks, and keys with their character messages.
#include "WndFixture.h"

#include "Platform/Cursor.h"
#include "Platform/CursorData.h"

#include <QDir>
#include <QPainter>
#include <QWheelEvent>

namespace {

// Two children side by side in a popup at screen (100, 100): "a" covers
// screen x 100..149, "b" 150..199, both y 100..149.
struct Pair {
    Log log;
    LoggingWnd top{ log, "top" };
    LoggingWnd a{ log, "a" };
    LoggingWnd b{ log, "b" };
    Pair(LPCTSTR cls = nullptr)
    {
        CreateTop(top, 100, 100, 100, 50);
        EXPECT_TRUE(a.Create(cls, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
        EXPECT_TRUE(b.Create(cls, "", WS_CHILD | WS_VISIBLE, CRect(50, 0, 100, 50), &top, 2));
        log.clear();
    }
};

TEST(Focus, KillFocusNamesTheNewWindowBeforeSetFocus)
{
    Pair p;
    p.a.SetFocus();
    p.b.SetFocus();
    p.a.SetFocus();
    const Log expected = { "top killfocus to a", "a setfocus from top", "a killfocus to b",
                           "b setfocus from a",  "b killfocus to a",    "a setfocus from b" };
    EXPECT_EQ(expected, p.log);
    EXPECT_EQ(&p.a, CWnd::GetFocus());
}

TEST(Focus, HidingOrDestroyingTheFocusWindowGivesTheFocusToItsParent)
{
    Pair p;
    p.b.SetFocus();
    p.log.clear();
    p.b.ShowWindow(SW_HIDE);
    EXPECT_EQ((Log{ "b killfocus to top", "top setfocus from b" }), p.log);
    EXPECT_EQ(&p.top, CWnd::GetFocus());

    p.a.SetFocus();
    p.log.clear();
    p.a.DestroyWindow();
    EXPECT_EQ((Log{ "a killfocus to top", "top setfocus from a" }), p.log);
    EXPECT_EQ(&p.top, CWnd::GetFocus());

    // A window that goes while hidden leaves no focus behind.
    p.b.SetFocus();
    p.log.clear();
    p.b.DestroyWindow();
    EXPECT_EQ((Log{ "b killfocus to none" }), p.log);
    EXPECT_EQ(nullptr, CWnd::GetFocus());
}

TEST(Focus, HidingAnOwnedWindowGivesActivationAndFocusBackToItsOwner)
{
    Log log;
    LoggingWnd owner(log, "owner"), tool(log, "tool"), edit(log, "edit");
    CreateTop(owner, 0, 0, 100, 100);
    ASSERT_TRUE(tool.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(200, 0, 260, 60), &owner, 0));
    ASSERT_TRUE(edit.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &tool, 1));
    edit.SetFocus();
    ASSERT_EQ(&tool, CWnd::GetActiveWindow());
    tool.ShowWindow(SW_HIDE);
    EXPECT_EQ(&owner, CWnd::GetActiveWindow());
    EXPECT_EQ(&owner, CWnd::GetFocus());
}

TEST(Focus, DisablingTheFocusWindowTakesFocusAndCapture)
{
    Pair p;
    p.b.SetFocus();
    p.b.SetCapture();
    p.log.clear();
    p.b.EnableWindow(FALSE);
    EXPECT_EQ((Log{ "b capturechanged to none", "b killfocus to none" }), p.log);
    EXPECT_EQ(nullptr, CWnd::GetFocus());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
}

TEST(Capture, WithoutCaptureMoveAndReleaseGoToTheWindowUnderTheCursor)
{
    Pair p;
    SendMouse(p.a, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(110, 110), Qt::LeftButton);
    // Qt keeps sending to the pressed widget; the layer follows the cursor.
    SendMouse(p.a, QEvent::MouseMove, Qt::NoButton, QPoint(160, 120), Qt::LeftButton);
    SendMouse(p.a, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(170, 130), Qt::NoButton);
    const Log expected = { "a down 1 10,10", "b move 1 10,20", "b up 0 20,30" };
    EXPECT_EQ(expected, p.log);
}

TEST(Mouse, DisabledChildLeavesTheMouseToItsParent)
{
    Pair p;
    p.b.EnableWindow(FALSE);
    // Qt hands the press on the disabled child up to the parent's widget.
    SendMouse(p.b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(160, 110), Qt::LeftButton);
    SendMouse(p.b, QEvent::MouseMove, Qt::NoButton, QPoint(170, 120), Qt::LeftButton);
    SendMouse(p.b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(180, 130), Qt::NoButton);
    const Log expected = { "top down 1 60,10", "top move 1 70,20", "top up 0 80,30" };
    EXPECT_EQ(expected, p.log);
    EXPECT_EQ(&p.top, CWnd::WindowFromPoint(CPoint(160, 110)));
}

// A modal dialog disables its owner; the dialog itself still takes input.
TEST(Mouse, AWindowOverItsDisabledOwnerStillTakesTheMouse)
{
    Log log;
    LoggingWnd owner(log, "owner"), dialog(log, "dialog");
    CreateTop(owner, 0, 0, 100, 100);
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(200, 0, 260, 60), &owner, 0));
    owner.EnableWindow(FALSE);
    log.clear();
    SendMouse(dialog, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(210, 10), Qt::LeftButton);
    SendMouse(dialog, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(210, 10), Qt::NoButton);
    EXPECT_EQ((Log{ "dialog down 1 10,10", "dialog up 0 10,10" }), log);
    EXPECT_TRUE(dialog.IsWindowEnabled());
    EXPECT_FALSE(owner.IsWindowEnabled());
}

TEST(Capture, CaptureTakesEveryMouseMessageInItsClientCoordinates)
{
    Pair p;
    SendMouse(p.a, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(110, 110), Qt::LeftButton);
    EXPECT_EQ(nullptr, p.a.SetCapture());
    SendMouse(p.b, QEvent::MouseMove, Qt::NoButton, QPoint(160, 120), Qt::LeftButton, Qt::ControlModifier);
    SendMouse(p.b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(90, 95), Qt::NoButton);
    p.b.SetCapture();
    ReleaseCapture();
    const Log expected = { "a down 1 10,10", "a move 9 60,20", "a up 0 -10,-5",
                           "a capturechanged to b", "b capturechanged to none" };
    EXPECT_EQ(expected, p.log);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
}

TEST(Mouse, DoubleClicksOnlyForClassesThatAskForThem)
{
    struct Case {
        UINT classStyle;
        const char* second;
    } cases[] = { { CS_DBLCLKS, "a dblclk" }, { 0, "a down 1 5,5" } };
    for (const Case& c : cases) {
        Pair p(AfxRegisterWndClass(c.classStyle));
        SendMouse(p.a, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(105, 105), Qt::LeftButton);
        SendMouse(p.a, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(105, 105), Qt::NoButton);
        SendMouse(p.a, QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(105, 105), Qt::LeftButton);
        ASSERT_EQ(3u, p.log.size());
        EXPECT_EQ(c.second, p.log[2]);
    }
}

// A window whose filter takes Ctrl+Q before it is dispatched.
class FilteringWnd : public LoggingWnd {
public:
    using LoggingWnd::LoggingWnd;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return msg->message == WM_KEYDOWN && msg->wParam == 'Q' && (GetKeyState(VK_CONTROL) & 0x8000);
    }
};

TEST(Keys, KeyDownThenOneCharacterMessagePerByte)
{
    Log log;
    CWnd top;
    CreateTop(top, 0, 0, 50, 50);
    FilteringWnd w(log, "w");
    ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    w.SetFocus();
    log.clear();
    // The key goes to the focus window whatever widget Qt delivered it to.
    SendKey(top, Qt::Key_A, Qt::NoModifier, "a");
    SendKey(w, Qt::Key_E, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
    SendKey(w, Qt::Key_Q, Qt::ControlModifier, "\x11");
    SendKey(w, Qt::Key_Delete, Qt::NoModifier, "\x7F");
    SendKey(w, Qt::Key_Plus, Qt::KeypadModifier, "+");
    const Log expected = { "w keydown 65", "w char 97", "w keydown 69", "w char 195", "w char 169",
                           "w keydown 46", "w keydown 107", "w char 43" };
    EXPECT_EQ(expected, log);
    EXPECT_EQ(0, GetKeyState(VK_CONTROL) & 0x8000);
}

} // namespace

namespace {

class MenuParent : public LoggingWnd {
public:
    using LoggingWnd::LoggingWnd;

protected:
    void OnContextMenu(CWnd* from, CPoint p)
    {
        m_log.push_back(Fmt("%s contextmenu from %s at %ld,%ld", m_name.c_str(), NameOf(from).c_str(), long(p.x), long(p.y)));
    }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint p)
    {
        m_log.push_back(Fmt("%s wheel %u %d at %ld,%ld", m_name.c_str(), flags, delta, long(p.x), long(p.y)));
        return TRUE;
    }
    void OnActivate(UINT state, CWnd* other, BOOL)
    {
        m_log.push_back(Fmt("%s activate %u other %s", m_name.c_str(), state, NameOf(other).c_str()));
        Default();
    }
    void OnActivateApp(BOOL active, DWORD) { m_log.push_back(Fmt("%s activateapp %d", m_name.c_str(), active)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuParent, LoggingWnd)
    ON_WM_CONTEXTMENU()
    ON_WM_MOUSEWHEEL()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

TEST(Mouse, UnansweredContextMenuAndWheelGoUpToTheParent)
{
    Log log;
    MenuParent top(log, "top");
    CreateTop(top, 100, 100, 100, 50);
    LoggingWnd child(log, "child");
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 40), &top, 1));
    child.SetFocus();
    log.clear();
    SendMouse(child, QEvent::MouseButtonPress, Qt::RightButton, QPoint(120, 125), Qt::RightButton);
    SendMouse(child, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(120, 125), Qt::NoButton);
    QWidget* w = WndClientWidget(child.GetSafeHwnd());
    QWheelEvent wheel(QPointF(5, 5), QPointF(115, 115), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ShiftModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    const Log expected = { "top contextmenu from child at 120,125", Fmt("top wheel %d -120 at 115,115", MK_SHIFT) };
    EXPECT_EQ(expected, log);
}

TEST(Mouse, ClickActivatesTheTopLevelWindow)
{
    Log log;
    MenuParent first(log, "first"), second(log, "second");
    CreateTop(first, 0, 0, 50, 50);
    CreateTop(second, 300, 0, 50, 50);
    first.SetActiveWindow();
    log.clear();
    SendMouse(second, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(310, 10), Qt::LeftButton);
    const Log expected = { "first activate 0 other second", "second activate 2 other first",
                           "first killfocus to second", "second setfocus from first", "second down 1 10,10" };
    EXPECT_EQ(expected, log);
    EXPECT_EQ(&second, CWnd::GetActiveWindow());
}

TEST(Activation, LeavingTheProgramDeactivatesItsWindow)
{
    Log log;
    MenuParent w(log, "w"), other(log, "other");
    CreateTop(w, 0, 0, 50, 50);
    CreateTop(other, 100, 0, 50, 50, WS_POPUP);
    w.SetActiveWindow();
    log.clear();
    QMetaObject::invokeMethod(qGuiApp, "applicationStateChanged", Qt::DirectConnection,
                              Q_ARG(Qt::ApplicationState, Qt::ApplicationInactive));
    // Every top-level window hears of it, top of the z-order first.
    EXPECT_EQ((Log{ "w activate 0 other none", "other activateapp 0", "w activateapp 0" }), log);
    EXPECT_EQ(nullptr, CWnd::GetActiveWindow());
    log.clear();
    w.SetActiveWindow();
    EXPECT_EQ((Log{ "other activateapp 1", "w activateapp 1", "w activate 1 other none" }), log);
}

LRESULT CountingProc(HWND h, UINT message, WPARAM wp, LPARAM lp)
{
    static int* counter = nullptr;
    if (message == WM_USER + 77) {
        counter = reinterpret_cast<int*>(lp);
        return 0;
    }
    if (message == WM_USER + 78 && counter)
        return ++*counter;
    return DefWindowProc(h, message, wp, lp);
}

TEST(Classes, ClassBehaviourAnswersWhatTheMapLeaves)
{
    AfxRegisterClassProc("VexalCounter", CountingProc);
    Log log;
    LoggingWnd w(log, "w");
    ASSERT_TRUE(w.CreateEx(0, "VexalCounter", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    int count = 0;
    w.SendMessage(WM_USER + 77, 0, reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(1, w.SendMessage(WM_USER + 78));
    EXPECT_EQ(2, w.SendMessage(WM_USER + 78));
    w.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));  // the map still comes first
    EXPECT_EQ((Log{ "w down 0 3,4" }), log);
    w.SetWindowText("abc");
    EXPECT_EQ(3, w.GetWindowTextLength());
}

TEST(Cursors, StandardAndResourceCursors)
{
    EXPECT_EQ(Qt::SizeHorCursor, CursorData::From(LoadCursor(nullptr, IDC_SIZEWE))->cursor.shape());
    EXPECT_EQ(nullptr, LoadCursor(nullptr, MAKEINTRESOURCE(1)));
    QImage strip(7 * 34, 34, QImage::Format_ARGB32);
    strip.fill(Qt::lightGray);
    QPainter p(&strip);
    int x = 1;
    for (WORD id : { 106, 136, 137, 144, 145, 146, 147 }) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_CURSOR);
        ASSERT_EQ(AfxGetInstanceHandle(), module) << id;
        HCURSOR c = LoadCursor(module, MAKEINTRESOURCE(id));
        ASSERT_NE(nullptr, c) << id;
        EXPECT_EQ(c, LoadCursor(module, MAKEINTRESOURCE(id)));
        const QPixmap pixmap = CursorData::From(c)->cursor.pixmap();
        EXPECT_EQ(QSize(32, 32), pixmap.size());
        p.drawPixmap(x, 1, pixmap);
        x += 34;
    }
    p.end();
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    strip.save(QString(VEXAL_TEST_OUTPUT) + "/cursors.png");
    EXPECT_EQ(nullptr, LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(999)));

    // A class cursor shows over the client area after the next mouse move.
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_CROSS)), "", WS_POPUP | WS_VISIBLE, 500,
                           500, 20, 20, nullptr, nullptr));
    SendMouse(w, QEvent::MouseMove, Qt::NoButton, QPoint(505, 505), Qt::NoButton);
    EXPECT_EQ(Qt::CrossCursor, WndClientWidget(w.GetSafeHwnd())->cursor().shape());
}

} // namespace
