// The edit control and the drop-down list through the layer's input path:
// typing, the notifications a parent receives, keys that reach the
// control's message map first, the selection in bytes, and the combo
// box's entries, selection and field height.
#include "WndFixture.h"

#include <QComboBox>

#include "Platform/CString.h"
#include "Platform/ComboBox.h"
#include "Platform/Edit.h"
#include "Platform/Playback.h"
#include "Platform/Static.h"
#include "Platform/ToolTipCtrl.h"

namespace {

// An edit whose map eats Backspace, the letter x and Ctrl+V (character 22)
// before the control sees them.
class GuardedEdit : public CEdit {
protected:
    void OnKeyDown(UINT vk, UINT rep, UINT flags)
    {
        if (vk != VK_BACK)
            CEdit::OnKeyDown(vk, rep, flags);
    }
    void OnChar(UINT ch, UINT rep, UINT flags)
    {
        if (ch != 'x' && ch != 22)
            CEdit::OnChar(ch, rep, flags);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(GuardedEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
END_MESSAGE_MAP()

// A combo box that notes the selection changes reflected back to it.
class NotedCombo : public CComboBox {
public:
    int changes = 0;

protected:
    void OnSelChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotedCombo, CComboBox)
    ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

std::string TextOf(CWnd& w)
{
    std::string text(size_t(w.GetWindowTextLength()) + 1, '\0');
    w.GetWindowText(text.data(), int(text.size()));
    text.resize(text.size() - 1);
    return text;
}

struct EditFixture {
    CommandParent parent;
    EditFixture() { CreateTop(parent, 300, 300, 200, 120); }
};

TEST(EditControl, TypedTextIsTheWindowTextAndMarksTheControlModified)
{
    EditFixture f;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 5, 150, 25), &f.parent, 7));
    edit.SetWindowText("old");
    EXPECT_FALSE(edit.GetModify());
    edit.SetFocus();
    edit.SetSel(0, -1);
    f.parent.log.clear();
    PlayText("Näme 中");
    EXPECT_EQ("Näme 中", TextOf(edit));
    EXPECT_TRUE(edit.GetModify());
    EXPECT_EQ(Log(6, "7:768"), f.parent.log);  // one EN_CHANGE per character
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(9, start);  // bytes: N ä(2) m e blank 中(3)
    EXPECT_EQ(9, end);

    PlayKey(VK_LEFT, MK_SHIFT);
    edit.GetSel(start, end);
    EXPECT_EQ(6, start);  // the selection never splits a character
    EXPECT_EQ(9, end);
    PlayKey(VK_BACK);
    EXPECT_EQ("Näme ", TextOf(edit));
    EXPECT_TRUE(edit.CanUndo());
    edit.Undo();
    EXPECT_EQ("Näme 中", TextOf(edit));

    edit.SetWindowText("set");
    EXPECT_FALSE(edit.GetModify());
}

TEST(EditControl, StylesAndLimitDecideWhatTypingDoes)
{
    struct Case {
        DWORD style;
        int limit;
        const char* typed;
        const char* text;
        bool maxText;
    };
    const Case cases[] = {
        { ES_NUMBER, 0, "1a2-3", "123", false },
        { 0, 4, "abcdef", "abcd", true },
        { 0, 4, "ä中", "ä", true },  // a character that does not fit whole is refused
        { ES_PASSWORD, 0, "secret", "secret", false },
        { ES_MULTILINE | ES_WANTRETURN, 0, "a", "a", false },
    };
    for (const Case& c : cases) {
        EditFixture f;
        CEdit edit;
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | c.style, CRect(5, 5, 150, 60), &f.parent, 3));
        if (c.limit)
            edit.LimitText(c.limit);
        edit.SetFocus();
        f.parent.log.clear();
        PlayText(c.typed);
        EXPECT_EQ(c.text, TextOf(edit)) << c.typed;
        const bool maxText = std::find(f.parent.log.begin(), f.parent.log.end(), "3:1281") != f.parent.log.end();
        EXPECT_EQ(c.maxText, maxText) << c.typed;
    }
}

TEST(EditControl, EnterBreaksTheLineOfAMultiLineControlWithCrLf)
{
    EditFixture f;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(5, 5, 150, 80), &f.parent, 3));
    edit.SetFocus();
    PlayText("ab");
    PlayKey(VK_RETURN, 0, "\r");
    PlayText("c");
    EXPECT_EQ("ab\r\nc", TextOf(edit));
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(5, start);
    edit.SetWindowText("x\r\ny");
    EXPECT_EQ("x\r\ny", TextOf(edit));
}

TEST(EditControl, KeysReachTheMessageMapBeforeTheControlActs)
{
    EditFixture f;
    GuardedEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), &f.parent, 3));
    edit.SetFocus();
    PlayText("axb");
    PlayKey(VK_BACK);
    EXPECT_EQ("ab", TextOf(edit));
    PlayKey(VK_LEFT);
    PlayKey(VK_DELETE);
    EXPECT_EQ("a", TextOf(edit));
}

TEST(EditControl, CtrlEditingKeysArriveAsCharactersTheMapCanSwallow)
{
    EditFixture f;
    GuardedEdit guarded;
    CEdit plain;
    ASSERT_TRUE(guarded.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), &f.parent, 3));
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, CRect(5, 35, 150, 55), &f.parent, 4));
    guarded.SetWindowText("hello");
    guarded.SetFocus();
    guarded.SetSel(0, -1);
    PlayKey('X', MK_CONTROL);
    EXPECT_EQ("", TextOf(guarded));
    PlayKey('V', MK_CONTROL);
    EXPECT_EQ("", TextOf(guarded));
    PlayKey('Z', MK_CONTROL);
    EXPECT_EQ("hello", TextOf(guarded));
    guarded.SetSel(0, 2);
    PlayKey('C', MK_CONTROL);
    plain.SetFocus();
    PlayKey('V', MK_CONTROL);
    EXPECT_EQ("he", TextOf(plain));
}

TEST(EditControl, KeysALineLeavesUnhandledEndAtTheControl)
{
    EditFixture f;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), &f.parent, 4));
    edit.SetFocus();
    PlayText("ab");
    for (UINT vk : {UINT(VK_UP), UINT(VK_DOWN), UINT(VK_PRIOR), UINT(VK_NEXT), UINT(VK_F2)})
        PlayKey(vk);
    PlayText("c");
    EXPECT_EQ("abc", TextOf(edit));
}

TEST(EditControl, ClipboardCommandsCutCopyPasteAndClear)
{
    EditFixture f;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), &f.parent, 3));
    edit.SetWindowText("hello world");
    edit.SetSel(0, 6);
    edit.Cut();
    EXPECT_EQ("world", TextOf(edit));
    EXPECT_TRUE(edit.GetModify());
    edit.SetSel(5, 5);
    edit.Paste();
    EXPECT_EQ("worldhello ", TextOf(edit));
    edit.SetSel(0, 5);
    edit.Clear();
    EXPECT_EQ("hello ", TextOf(edit));
    edit.SetSel(0, -1);
    edit.ReplaceSel("new");
    EXPECT_EQ("new", TextOf(edit));
}

struct ComboFixture {
    CommandParent parent;
    NotedCombo combo;
    ComboFixture()
    {
        CreateTop(parent, 300, 300, 200, 200);
        EXPECT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 150, 130), &parent, 9));
        for (const char* s : { "private", "protected", "package", "public" })
            combo.AddString(s);
    }
};

TEST(ComboBox, EntriesDataAndSelectionAnswerAsTheListHoldsThem)
{
    ComboFixture f;
    CComboBox& c = f.combo;
    EXPECT_EQ(4, c.GetCount());
    EXPECT_EQ(CB_ERR, c.GetCurSel());
    EXPECT_EQ("", TextOf(c));
    EXPECT_EQ(1, c.InsertString(1, "internal"));
    EXPECT_EQ(0, c.SetItemData(1, 42));
    EXPECT_EQ(DWORD_PTR(42), c.GetItemData(1));
    EXPECT_EQ(DWORD_PTR(0), c.GetItemData(0));
    EXPECT_EQ(2, c.SetCurSel(2));
    EXPECT_EQ("protected", TextOf(c));
    EXPECT_EQ(3, c.FindStringExact(-1, "PACKAGE"));
    EXPECT_EQ(CB_ERR, c.FindStringExact(-1, "pack"));
    EXPECT_EQ(3, c.FindString(-1, "pack"));
    EXPECT_EQ(4, c.DeleteString(0));
    EXPECT_EQ(1, c.GetCurSel());  // the selected entry moved up
    CString text;
    c.GetLBText(1, text);
    EXPECT_EQ(CString("protected"), text);
    EXPECT_EQ(CB_ERR, c.SetCurSel(9));
    EXPECT_EQ("", TextOf(c));
    c.ResetContent();
    EXPECT_EQ(0, c.GetCount());
    EXPECT_EQ(0, f.combo.changes);  // the program's own changes are not announced
}

TEST(ComboBox, KeysChangeTheSelectionAndAnnounceItReflected)
{
    ComboFixture f;
    f.combo.SetCurSel(0);
    f.combo.SetFocus();
    f.parent.log.clear();
    PlayKey(VK_DOWN);
    PlayKey(VK_DOWN);
    PlayKey(VK_UP);
    PlayKey(VK_HOME);
    PlayKey(VK_HOME);  // no change, no notification
    EXPECT_EQ(0, f.combo.GetCurSel());
    EXPECT_EQ(4, f.combo.changes);
    EXPECT_EQ(Log(4, "9:1"), f.parent.log);
    PlayText("p");
    EXPECT_EQ(1, f.combo.GetCurSel());  // the next entry starting with the letter
}

TEST(ComboBox, TheWindowIsTheFieldAndTheAskedHeightIsTheList)
{
    ComboFixture f;
    CRect r;
    f.combo.GetWindowRect(&r);
    EXPECT_LT(r.Height(), 40);
    EXPECT_EQ(140, r.Width());
    f.combo.MoveWindow(10, 10, 100, 20);
    f.combo.GetWindowRect(&r);
    EXPECT_LE(r.Height(), 20);
}

// A drop-down with edit: typing goes into its field and is announced, the
// program's own text and a picked entry are not typed.
TEST(ComboBox, ADropDownWithEditTakesTypedTextIntoItsField)
{
    CommandParent parent;
    CreateTop(parent, 300, 300, 200, 200);
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 10, 150, 130), &parent, 9));
    combo.AddString("first");
    combo.AddString("second");
    CWnd* field = combo.GetDlgItem(1001);
    ASSERT_NE(field, nullptr);
    CRect r;
    field->GetWindowRect(&r);
    EXPECT_GT(r.Width(), 80);
    combo.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), field);
    parent.log.clear();
    PlayText("a'\\b");
    EXPECT_EQ("a'\\b", TextOf(combo));
    EXPECT_EQ(Log(4, "9:5"), parent.log);
    parent.log.clear();
    combo.SetWindowText("set");
    EXPECT_EQ("set", TextOf(combo));
    combo.SetCurSel(1);
    EXPECT_EQ("second", TextOf(combo));
    EXPECT_TRUE(parent.log.empty());
}

TEST(StaticControl, ClicksReachTheParentOnlyWithNotify)
{
    CommandParent parent;
    CreateTop(parent, 300, 300, 200, 100);
    CStatic plain, notify;
    ASSERT_TRUE(plain.Create("plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 4));
    ASSERT_TRUE(notify.Create("notify", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(60, 0, 110, 20), &parent, 5));
    parent.log.clear();
    PlayMouse(WM_LBUTTONDOWN, CPoint(305, 305));
    PlayMouse(WM_LBUTTONUP, CPoint(305, 305));
    PlayMouse(WM_LBUTTONDOWN, CPoint(365, 305));
    PlayMouse(WM_LBUTTONUP, CPoint(365, 305));
    EXPECT_EQ((Log{ "5:0" }), parent.log);
}

TEST(StaticControl, WithoutNotifyTheMouseIsTheParentsOwn)
{
    Log log;
    LoggingWnd parent(log, "parent");
    CreateTop(parent, 300, 300, 200, 100);
    CStatic plain, notify;
    ASSERT_TRUE(plain.Create("plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 4));
    ASSERT_TRUE(notify.Create("notify", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(60, 0, 110, 20), &parent, 5));
    log.clear();
    PlayMouse(WM_LBUTTONDOWN, CPoint(305, 306));
    PlayMouse(WM_LBUTTONUP, CPoint(305, 306));
    PlayMouse(WM_LBUTTONDOWN, CPoint(365, 306));
    PlayMouse(WM_LBUTTONUP, CPoint(365, 306));
    EXPECT_EQ((Log{ "parent down 1 5,6", "parent up 0 5,6" }), log);
}

} // namespace

namespace {

// A child that hides itself when it loses the focus, as an in-place editor does.
class SelfHiding : public LoggingWnd {
public:
    using LoggingWnd::LoggingWnd;

protected:
    void OnKillFocus(CWnd* next)
    {
        LoggingWnd::OnKillFocus(next);
        ShowWindow(SW_HIDE);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SelfHiding, LoggingWnd)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

TEST(ControlFocus, AnEditorHiddenWhileLosingTheFocusLeavesItOnTheNewWindow)
{
    Log log;
    LoggingWnd top(log, "top"), other(log, "other");
    SelfHiding editor(log, "editor");
    CreateTop(top, 100, 100, 200, 100);
    ASSERT_TRUE(editor.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &top, 1));
    ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(60, 0, 110, 20), &top, 2));
    editor.SetFocus();
    log.clear();
    other.SetFocus();
    EXPECT_EQ((Log{ "editor killfocus to other", "other setfocus from editor" }), log);
    EXPECT_EQ(&other, CWnd::GetFocus());
    EXPECT_FALSE(editor.IsWindowVisible());
}

TEST(ControlFocus, APopupHoldingTheCaptureTakesTheKeysWhileTheFocusStays)
{
    Log log;
    LoggingWnd top(log, "top"), field(log, "field"), popup(log, "popup");
    CreateTop(top, 100, 100, 200, 100);
    ASSERT_TRUE(field.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &top, 1));
    field.SetFocus();
    ASSERT_TRUE(popup.CreateEx(WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP, 150, 150, 40, 40, top.GetSafeHwnd(), nullptr));
    popup.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    popup.SetCapture();
    log.clear();
    PlayKey(VK_DOWN);
    ReleaseCapture();
    PlayKey(VK_UP);
    EXPECT_EQ((Log{ "popup keydown 40", "popup capturechanged to none", "field keydown 38" }), log);
    EXPECT_EQ(&field, CWnd::GetFocus());
}

TEST(ToolTip, ARestingPointerShowsTheToolsTextUntilAButtonIsPressed)
{
    CommandParent parent;
    CreateTop(parent, 100, 100, 200, 100);
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&parent));
    tips.SetDelayTime(1);
    const CRect left(0, 0, 100, 100), right(100, 0, 200, 100);
    tips.AddTool(&parent, "Left", &left, 1);
    tips.AddTool(&parent, "Right", &right, 2);
    EXPECT_EQ(2, tips.GetToolCount());
    MSG move = { parent.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 10), 0, { 250, 110 } };
    tips.RelayEvent(&move);
    ASSERT_TRUE(SpinUntil([&] { return tips.IsWindowVisible(); }));
    EXPECT_EQ("Right", TextOf(tips));
    EXPECT_NE(&tips, CWnd::GetActiveWindow());
    MSG down = move;
    down.message = WM_LBUTTONDOWN;
    tips.RelayEvent(&down);
    EXPECT_FALSE(tips.IsWindowVisible());
    tips.Activate(FALSE);
    move.lParam = MAKELPARAM(10, 10);
    tips.RelayEvent(&move);
    SpinUntil([] { return false; }, 50);
    EXPECT_FALSE(tips.IsWindowVisible());
}

} // namespace

namespace {

TEST(ComboBox, AListFilledWhileHiddenShowsItsEntriesOnceShown)
{
    CommandParent parent;
    CreateTop(parent, 300, 300, 200, 200);
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(10, 10, 150, 130), &parent, 9));
    for (const char* s : { "in", "out", "inout" })
        combo.AddString(s);
    combo.SetCurSel(2);
    combo.ShowWindow(SW_SHOW);
    auto* shown = WndClientWidget(combo.GetSafeHwnd())->findChild<QComboBox*>();
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(3, shown->count());
    EXPECT_EQ(QString("inout"), shown->currentText());
    combo.DeleteString(0);
    EXPECT_EQ(2, shown->count());
    EXPECT_EQ(QString("inout"), shown->currentText());
}

} // namespace
