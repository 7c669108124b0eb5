// The button control: clicks by mouse, Space and BM_CLICK, check boxes,
// group boxes, owner drawing reflected to the button, and the pictures.
#include "WndFixture.h"

#include "Platform/Button.h"
#include "Platform/Dialog.h"
#include "Platform/Playback.h"

#include <QDir>

namespace {

// An owner-drawn button that notes the state it is asked to draw in.
class DrawnButton : public CButton {
public:
    Log log;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        log.push_back(Fmt("draw %u %s%s", item->CtlType, (item->itemState & ODS_SELECTED) ? "selected" : "",
                          (item->itemState & ODS_DISABLED) ? "disabled" : ""));
        CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, RGB(200, 40, 40));
    }
};

struct ButtonFixture {
    CommandParent parent;
    ButtonFixture() { CreateTop(parent, 200, 200, 240, 160); }
    CPoint Screen(CWnd& w, int x, int y)
    {
        CRect r;
        w.GetWindowRect(&r);
        return CPoint(r.left + x, r.top + y);
    }
};

} // namespace

TEST(Button, KindsDecideWhatAClickDoes)
{
    struct Case {
        DWORD style;
        UINT dialogCode;
        int checkAfterClick;
        bool notifies;
    };
    const Case cases[] = {
        { BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, BST_UNCHECKED, true },
        { BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON, BST_UNCHECKED, true },
        { BS_AUTOCHECKBOX, DLGC_BUTTON, BST_CHECKED, true },
        { BS_CHECKBOX, DLGC_BUTTON, BST_UNCHECKED, true },  // the parent ticks a plain check box
        { BS_OWNERDRAW, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, BST_UNCHECKED, true },
        { BS_GROUPBOX, DLGC_STATIC, BST_UNCHECKED, false },
    };
    for (const Case& c : cases) {
        ButtonFixture f;
        CButton button;
        ASSERT_TRUE(button.Create("B", WS_CHILD | WS_VISIBLE | c.style, CRect(10, 10, 110, 34), &f.parent, 21));
        EXPECT_EQ(c.dialogCode, button.SendMessage(WM_GETDLGCODE)) << c.style;
        PlayMouse(WM_LBUTTONDOWN, f.Screen(button, 5, 5));
        PlayMouse(WM_LBUTTONUP, f.Screen(button, 6, 6));
        EXPECT_EQ(c.checkAfterClick, button.GetCheck()) << c.style;
        EXPECT_EQ(c.notifies ? Log{ "21:0" } : Log{}, f.parent.log) << c.style;
    }
}

TEST(Button, ReleaseOutsideTheButtonClicksNothingAndFreesTheMouse)
{
    ButtonFixture f;
    CButton button;
    ASSERT_TRUE(button.Create("Push", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 34), &f.parent, 5));
    PlayMouse(WM_LBUTTONDOWN, f.Screen(button, 5, 5));
    EXPECT_EQ(&button, CWnd::GetCapture());
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    PlayMouse(WM_MOUSEMOVE, f.Screen(button, 150, 5));
    EXPECT_FALSE(button.GetState() & BST_PUSHED);
    PlayMouse(WM_LBUTTONUP, f.Screen(button, 150, 5));
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_TRUE(f.parent.log.empty());

    // Space and BM_CLICK click as the mouse does; a disabled button ignores BM_CLICK.
    button.SetFocus();
    PlayKey(VK_SPACE, 0, " ");
    button.SendMessage(BM_CLICK);
    button.EnableWindow(FALSE);
    button.SendMessage(BM_CLICK);
    EXPECT_EQ((Log{ "5:0", "5:0" }), f.parent.log);
}

TEST(Button, CheckStateIsSetAndReadThroughTheDialogCalls)
{
    ButtonFixture f;
    CButton check, push;
    ASSERT_TRUE(check.Create("Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 110, 30), &f.parent, 7));
    ASSERT_TRUE(push.Create("Push", WS_CHILD | WS_VISIBLE, CRect(10, 40, 110, 60), &f.parent, 8));
    f.parent.CheckDlgButton(7, BST_CHECKED);
    EXPECT_EQ(UINT(BST_CHECKED), f.parent.IsDlgButtonChecked(7));
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(UINT(BST_UNCHECKED), f.parent.IsDlgButtonChecked(7));
    push.SetCheck(BST_CHECKED);  // a push button has no check
    EXPECT_EQ(BST_UNCHECKED, push.GetCheck());
}

TEST(Button, OwnerDrawnButtonDrawsItselfThroughItsParent)
{
    ButtonFixture f;
    DrawnButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 30), &f.parent, 9));
    button.UpdateWindow();
    PlayMouse(WM_LBUTTONDOWN, f.Screen(button, 5, 5));
    button.UpdateWindow();
    PlayMouse(WM_LBUTTONUP, f.Screen(button, 5, 5));
    button.EnableWindow(FALSE);
    button.UpdateWindow();
    ASSERT_GE(button.log.size(), 3u);
    EXPECT_EQ("draw 4 ", button.log.front());
    EXPECT_NE(std::find(button.log.begin(), button.log.end(), "draw 4 selected"), button.log.end());
    EXPECT_EQ("draw 4 disabled", button.log.back());
    EXPECT_EQ(QColor(200, 40, 40).rgb(), WndBackBuffer(button.m_hWnd)->pixel(20, 10));
}

TEST(Button, EnterClicksTheFocusedPushButtonOfADialog)
{
    class Noted : public CDialog {
    public:
        Log log;
        void OnOK() override { log.push_back("ok"); }
        void OnCancel() override { log.push_back("cancel"); }
    } dialog;
    ASSERT_TRUE(dialog.Create(156));
    dialog.ShowWindow(SW_SHOW);
    dialog.GotoDlgCtrl(dialog.GetDlgItem(IDCANCEL));
    PlayKey(VK_RETURN);
    dialog.SetFocus();
    PlayKey(VK_RETURN);  // no button focused: the default one, OK
    EXPECT_EQ((Log{ "cancel", "ok" }), dialog.log);
}

TEST(Button, PicturesOfEachKind)
{
    ButtonFixture f;
    CButton push, def, check, checked, disabled, group;
    ASSERT_TRUE(group.Create("Effects", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(5, 5, 235, 155), &f.parent, 1));
    ASSERT_TRUE(push.Create("Push", WS_CHILD | WS_VISIBLE, CRect(15, 25, 105, 49), &f.parent, 2));
    ASSERT_TRUE(def.Create("Default", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(115, 25, 205, 49), &f.parent, 3));
    ASSERT_TRUE(check.Create("Strikeout", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(15, 60, 135, 78), &f.parent, 4));
    ASSERT_TRUE(checked.Create("Underline", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(15, 82, 135, 100), &f.parent, 5));
    ASSERT_TRUE(disabled.Create("Disabled", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_AUTOCHECKBOX,
                                CRect(15, 104, 135, 122), &f.parent, 6));
    checked.SetCheck(BST_CHECKED);
    disabled.SetCheck(BST_CHECKED);
    f.parent.UpdateWindow();
    f.parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    QDir().mkpath(VEXAL_TEST_OUTPUT);
    EXPECT_TRUE(SaveWindowPicture(f.parent.m_hWnd, VEXAL_TEST_OUTPUT "/buttons.png"));
    // The checked box shows its mark, the unchecked one none.
    const QImage picture(VEXAL_TEST_OUTPUT "/buttons.png");
    auto darkIn = [&](int x0, int y0) {
        int dark = 0;
        for (int y = y0; y < y0 + 13; ++y)
            for (int x = x0; x < x0 + 13; ++x)
                dark += qGray(picture.pixel(x, y)) < 60;
        return dark;
    };
    EXPECT_GT(darkIn(17, 85), darkIn(17, 63) + 5);
}
