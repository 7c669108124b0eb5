// Focus and capture order, mouse routing with and without capture, double
// clicks, and keys with their character messages.
#include "WndFixture.h"

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

TEST(Focus, DestroyingTheFocusWindowClearsTheFocus)
{
    Pair p;
    p.b.SetFocus();
    p.log.clear();
    p.b.DestroyWindow();
    EXPECT_EQ((Log{ "b killfocus to none" }), p.log);
    EXPECT_EQ(nullptr, CWnd::GetFocus());
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
