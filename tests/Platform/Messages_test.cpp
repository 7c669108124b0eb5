// Message maps: commands, ranges, update handlers, control notifications,
// WM_NOTIFY, reflection to the sending control, private and registered
// messages — one table of cases through one parent and two controls.
#include "WndFixture.h"

#include "Platform/SysColors.h"

#include <functional>

namespace {

const UINT WM_TEST_COMMIT = WM_USER + 1005;
const UINT g_registered = RegisterWindowMessage("VexalTestRegistered");

class ReflectingCtrl : public CWnd {
public:
    explicit ReflectingCtrl(Log& log) : m_log(log) {}
    Log& m_log;

protected:
    void OnReflectChange() { m_log.push_back("child reflect en_change"); }
    BOOL OnReflectClicked()
    {
        m_log.push_back("child reflect clicked");
        return FALSE;  // the parent hears of it too
    }
    void OnReflectDblClk(NMHDR*, LRESULT* result)
    {
        m_log.push_back("child reflect dblclk");
        *result = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingCtrl, CWnd)
    ON_CONTROL_REFLECT(EN_CHANGE, OnReflectChange)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectClicked)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnReflectDblClk)
END_MESSAGE_MAP()

class RouterWnd : public CWnd {
public:
    explicit RouterWnd(Log& log) : m_log(log) {}
    Log& m_log;

protected:
    void OnCmd100() { m_log.push_back("parent cmd 100"); }
    void OnRange(UINT id) { m_log.push_back(Fmt("parent range %u", id)); }
    void OnCmd300() { m_log.push_back("parent cmd 300"); }
    void OnUpdate300(CCmdUI* ui)
    {
        m_log.push_back("parent update 300");
        ui->Enable(FALSE);
    }
    void OnEditChange() { m_log.push_back("parent en_change"); }
    void OnClicked12() { m_log.push_back("parent clicked 12"); }
    void OnNotifyClick(NMHDR* header, LRESULT* result)
    {
        m_log.push_back(Fmt("parent notify %u", unsigned(header->idFrom)));
        *result = 7;
    }
    LRESULT OnCommit(WPARAM wp, LPARAM lp)
    {
        m_log.push_back(Fmt("parent commit %d,%d", int(wp), int(lp)));
        return 42;
    }
    LRESULT OnRegistered(WPARAM, LPARAM)
    {
        m_log.push_back("parent registered");
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RouterWnd, CWnd)
    ON_COMMAND(100, OnCmd100)
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_COMMAND(300, OnCmd300)
    ON_UPDATE_COMMAND_UI(300, OnUpdate300)
    ON_EN_CHANGE(11, OnEditChange)
    ON_BN_CLICKED(12, OnClicked12)
    ON_NOTIFY(NM_CLICK, 11, OnNotifyClick)
    ON_NOTIFY(NM_DBLCLK, 11, OnNotifyClick)
    ON_MESSAGE(WM_TEST_COMMIT, OnCommit)
    ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
END_MESSAGE_MAP()

struct RoutingCase {
    const char* name;
    std::function<LRESULT(CWnd& parent, CWnd& edit, CWnd& button)> send;
    Log expected;
    LRESULT result;
};

LRESULT Notify(CWnd& parent, CWnd& from, UINT code)
{
    NMHDR header = { from.GetSafeHwnd(), UINT_PTR(from.GetDlgCtrlID()), code };
    return parent.SendMessage(WM_NOTIFY, WPARAM(header.idFrom), reinterpret_cast<LPARAM>(&header));
}

LRESULT Control(CWnd& parent, CWnd& from, UINT code)
{
    return parent.SendMessage(WM_COMMAND, MAKEWPARAM(WORD(from.GetDlgCtrlID()), WORD(code)),
                              reinterpret_cast<LPARAM>(from.GetSafeHwnd()));
}

TEST(MessageMap, RoutesEachKindOfMessageToItsHandler)
{
    const RoutingCase cases[] = {
        { "menu command", [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(WM_COMMAND, 100); }, { "parent cmd 100" }, 1 },
        { "command range", [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(WM_COMMAND, 205); }, { "parent range 205" }, 1 },
        { "outside every range", [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(WM_COMMAND, 211); }, {}, 0 },
        { "disabled by its update handler",
          [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(WM_COMMAND, 300); }, { "parent update 300" }, 1 },
        { "reflected and eaten by the control",
          [](CWnd& p, CWnd& e, CWnd&) { return Control(p, e, EN_CHANGE); }, { "child reflect en_change" }, 1 },
        { "reflected and passed on to the parent",
          [](CWnd& p, CWnd&, CWnd& b) { return Control(p, b, BN_CLICKED); },
          { "child reflect clicked", "parent clicked 12" }, 1 },
        { "notification the control does not reflect",
          [](CWnd& p, CWnd& e, CWnd&) { return Notify(p, e, NM_CLICK); }, { "parent notify 11" }, 7 },
        { "notification answered by the control",
          [](CWnd& p, CWnd& e, CWnd&) { return Notify(p, e, NM_DBLCLK); }, { "child reflect dblclk" }, 9 },
        { "private message",
          [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(WM_TEST_COMMIT, 5, 6); }, { "parent commit 5,6" }, 42 },
        { "registered message",
          [](CWnd& p, CWnd&, CWnd&) { return p.SendMessage(g_registered); }, { "parent registered" }, 1 },
    };
    for (const RoutingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Log log;
        RouterWnd parent(log);
        ReflectingCtrl edit(log), button(log);
        CreateTop(parent, 0, 0, 200, 100, WS_POPUP);
        ASSERT_TRUE(edit.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 11));
        ASSERT_TRUE(button.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 30, 50, 50), &parent, 12));
        const LRESULT result = c.send(parent, edit, button);
        EXPECT_EQ(c.expected, log);
        EXPECT_EQ(c.result, result);
    }
}

TEST(MessageMap, RegisteredMessagesAreStablePerName)
{
    const UINT a = RegisterWindowMessage("VexalA");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(a, RegisterWindowMessage("VexalA"));
    EXPECT_NE(a, RegisterWindowMessage("VexalB"));
    EXPECT_EQ(0u, RegisterWindowMessage(""));
}

TEST(CmdUI, UpdateDisablesCommandsWithoutHandler)
{
    Log log;
    RouterWnd target(log);
    struct Case {
        UINT id;
        BOOL disableIfNoHandler;
        BOOL enabled;
    } cases[] = { { 100, TRUE, TRUE }, { 999, TRUE, FALSE }, { 999, FALSE, TRUE }, { 300, TRUE, FALSE } };
    for (const Case& c : cases) {
        CTestCmdUI ui;
        ui.m_nID = c.id;
        ui.DoUpdate(&target, c.disableIfNoHandler);
        EXPECT_EQ(c.enabled, ui.m_bEnabled) << c.id;
    }
}

} // namespace

namespace {

LRESULT ButtonLike(HWND h, UINT message, WPARAM wp, LPARAM lp)
{
    return message == WM_GETDLGCODE ? DLGC_BUTTON : DefWindowProc(h, message, wp, lp);
}

class DialogLike : public CWnd {
protected:
    void OnUpdate5(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnCommand8() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DialogLike, CWnd)
    ON_UPDATE_COMMAND_UI(5, OnUpdate5)
    ON_COMMAND(8, OnCommand8)
END_MESSAGE_MAP()

TEST(CmdUI, DialogControlsFollowTheirUpdateHandlers)
{
    AfxRegisterClassProc("VexalButtonLike", ButtonLike);
    DialogLike dialog;
    CreateTop(dialog, 0, 0, 100, 100);
    CWnd five, six, seven, eight;
    ASSERT_TRUE(five.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &dialog, 5));
    ASSERT_TRUE(six.Create("VexalButtonLike", "", WS_CHILD, CRect(0, 0, 5, 5), &dialog, 6));
    ASSERT_TRUE(seven.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &dialog, 7));
    ASSERT_TRUE(eight.Create("VexalButtonLike", "", WS_CHILD, CRect(0, 0, 5, 5), &dialog, 8));
    dialog.UpdateDialogControls(&dialog, TRUE);
    EXPECT_FALSE(five.IsWindowEnabled());   // its handler says so
    EXPECT_FALSE(six.IsWindowEnabled());    // a button with no handler at all
    EXPECT_TRUE(seven.IsWindowEnabled());   // not a button
    EXPECT_TRUE(eight.IsWindowEnabled());   // a button whose command has a handler
}

} // namespace

namespace {

// A static-like control that colours itself only while it is a link.
class LinkCtrl : public CWnd {
public:
    bool link = false;
    CBrush brush;

protected:
    HBRUSH CtlColor(CDC* dc, UINT kind)
    {
        if (!link || kind != CTLCOLOR_STATIC)
            return nullptr;
        dc->SetTextColor(RGB(0, 0, 255));
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LinkCtrl, CWnd)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

TEST(MessageMap, ColourRequestsAreReflectedOrAnsweredByDefault)
{
    CWnd parent;
    CreateTop(parent, 0, 0, 50, 50);
    LinkCtrl link;
    link.brush.CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(link.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &parent, 4));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    auto ask = [&] {
        return reinterpret_cast<HBRUSH>(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                                           reinterpret_cast<LPARAM>(link.GetSafeHwnd())));
    };
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), ask());
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), dc.GetTextColor());
    link.link = true;
    EXPECT_EQ(HBRUSH(link.brush), ask());
    EXPECT_EQ(RGB(0, 0, 255), dc.GetTextColor());
}

} // namespace
