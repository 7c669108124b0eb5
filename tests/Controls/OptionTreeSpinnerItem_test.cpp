// The spinner row: steps within the range and across it with wrap, the
// buttons' press, repeat and release (captured), the edit field's keys and
// menu, and the commit reaching the owner before the next row is reported.
#include "GridFixture.h"
#include "OwnTimers.h"

#include "Controls/OptionTreeSpinnerItem.h"
#include "Platform/DialogHook.h"
#include "Platform/Menu.h"
#include "Platform/Messages.h"

#include <algorithm>
#include <string>

namespace {

using Codes = std::vector<int>;

struct SpinPane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeSpinnerItem* spin = new COptionTreeSpinnerItem;
    COptionTreeEditItem* name = nullptr;

    explicit SpinPane(DWORD options = 0, double value = 5, double low = 0, double high = 100)
    {
        grid.InsertItem(spin, general);
        spin->SetLabelText("Count");
        EXPECT_TRUE(spin->CreateEditor(options, value, low, high));
        name = Edit(general, "Name", "x");
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    CString Text()
    {
        char text[64] = {};
        spin->GetEdit()->GetWindowText(text, sizeof text);
        return text;
    }
    void SetText(const char* text) { spin->GetEdit()->SetWindowText(text); }
    // Opens the editor and paints it, so that the buttons have their places.
    void Open()
    {
        Click(ValuePoint(spin));
        spin->UpdateWindow();
    }
    CPoint Button(bool up)
    {
        CPoint point = (up ? spin->GetUpButton() : spin->GetDownButton()).CenterPoint();
        spin->ClientToScreen(&point);
        return point;
    }
};

TEST(SpinnerRow, StepsStayInTheRangeOrWrap)
{
    struct Case {
        const char* text;
        double low, high;
        DWORD options;
        UINT step;
        const char* result;
        bool upInactive, downInactive;  // after the step
    };
    const Case cases[] = {
        { "100", 0, 100, 0, OT_SPINNER_UP, "100", true, false },
        { "100", 0, 100, OT_SPINNER_WRAP, OT_SPINNER_UP, "0", false, false },
        { "0", 0, 100, OT_SPINNER_WRAP, OT_SPINNER_DOWN, "100", false, false },
        { "0", 0, 100, 0, OT_SPINNER_DOWN, "0", false, true },
        { "9.6", 0, 10, 0, OT_SPINNER_UP, "9.6", false, false },
        { "9.6", 0, 10, 0, OT_SPINNER_DOWN, "9", false, false },  // 8.6 shown without decimals
        { "abc", 0, 10, 0, OT_SPINNER_UP, "1", false, false },
        { "-3", -5, 5, 0, OT_SPINNER_DOWN, "-4", false, false },
        { "99", 0, 100, 0, OT_SPINNER_UP, "100", true, false },
    };
    for (const Case& c : cases) {
        SpinPane p(c.options, 0, c.low, c.high);
        p.SetText(c.text);
        p.spin->SendMessage(c.step);
        EXPECT_EQ(CString(c.result), p.Text()) << c.text << " " << c.step;
        EXPECT_EQ(c.upInactive, bool(p.spin->IsUpInactive())) << c.text;
        EXPECT_EQ(c.downInactive, bool(p.spin->IsDownInactive())) << c.text;
    }
}

TEST(SpinnerRow, AHeldButtonRepeatsAfterTheDelayAndAnyReleaseEndsIt)
{
    OwnTimers timers;
    SpinPane p;
    EXPECT_EQ(500u, p.spin->GetInitialDelay());
    EXPECT_EQ(28u, p.spin->GetRepeatInterval());
    p.Open();
    PlayMouse(WM_LBUTTONDOWN, p.Button(true));
    EXPECT_EQ(CString("6"), p.Text());
    EXPECT_TRUE(p.spin->IsPressed());
    EXPECT_EQ(p.spin, CWnd::GetCapture());
    EXPECT_EQ(std::vector<UINT>{ 500 }, OwnTimers::Intervals(OT_SPINNER_TIMER));
    PlayMouse(WM_MOUSEMOVE, CPoint(700, 500));  // the repeat keeps the pressed button
    p.spin->SendMessage(WM_TIMER, OT_SPINNER_TIMER);
    p.spin->SendMessage(WM_TIMER, OT_SPINNER_TIMER);
    EXPECT_EQ(CString("8"), p.Text());
    // The first tick switches to the repeat rate.
    EXPECT_EQ((std::vector<UINT>{ 500, 28 }), OwnTimers::Intervals(OT_SPINNER_TIMER));
    PlayMouse(WM_LBUTTONUP, CPoint(700, 500));  // released far outside
    EXPECT_FALSE(p.spin->IsPressed());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    p.Click(p.Button(false));
    EXPECT_EQ(CString("7"), p.Text());
}

TEST(SpinnerRow, TheArrowKeysStepAndTypingNeedsTheEditOption)
{
    struct Case {
        DWORD options;
        const char* typed;
        const char* result;
    };
    const Case cases[] = { { 0, "7", "6" }, { OT_SPINNER_EDITABLE, "7", "7" } };
    for (const Case& c : cases) {
        SpinPane p(c.options);
        p.Open();
        p.spin->GetEdit()->SetFocus();
        PlayKey(VK_UP);
        EXPECT_EQ(CString("6"), p.Text());
        p.spin->GetEdit()->SetSel(0, -1);
        PlayText(c.typed);
        EXPECT_EQ(CString(c.result), p.Text()) << c.options;
    }
}

TEST(SpinnerRow, EditingKeysNeedTheEditOption)
{
    for (DWORD options : { DWORD(0), DWORD(OT_SPINNER_EDITABLE) }) {
        const bool editable = options != 0;
        SpinPane p(options, 42);
        p.Open();
        CEdit* edit = p.spin->GetEdit();
        edit->SetFocus();
        edit->SetSel(0, -1);
        PlayKey('X', MK_CONTROL);
        EXPECT_EQ(CString(editable ? "" : "42"), p.Text()) << options;
        PlayKey('V', MK_CONTROL);
        EXPECT_EQ(CString("42"), p.Text()) << options;
        // Up steps the spinner once and then reaches the edit.
        PlayKey(VK_UP);
        EXPECT_EQ(CString("43"), p.Text()) << options;
    }
}

TEST(SpinnerRow, TheMenuOffersOnlyWhatTheOptionAllows)
{
    struct Case {
        DWORD options;
        std::vector<UINT> enabled;
        bool selectAllRuns;
    };
    const Case cases[] = {
        { 0, { WM_COPY, OT_SPINNER_SELECTALL }, false },
        { OT_SPINNER_EDITABLE, { WM_CUT, WM_COPY, WM_CLEAR, OT_SPINNER_SELECTALL }, true },
    };
    for (const Case& c : cases) {
        SpinPane p(c.options, 42);
        p.Open();
        p.spin->GetEdit()->SetSel(0, 1);
        std::vector<UINT> enabled;
        const DialogHook old = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
            if (request.kind != DialogKind::PopupMenu)
                return false;
            const HMENU menu = static_cast<PopupMenuRequest*>(request.data)->menu;
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                const UINT id = CMenu::FromHandle(menu)->GetMenuItemID(i);
                if (id != 0 && id != UINT(-1) && !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) &&
                    id != WM_PASTE)
                    enabled.push_back(id);
            }
            *answer = OT_SPINNER_SELECTALL;
            return true;
        });
        CPoint at(10, 10);
        p.spin->GetEdit()->ClientToScreen(&at);
        p.spin->GetEdit()->SendMessage(WM_CONTEXTMENU, WPARAM(p.spin->GetEdit()->GetSafeHwnd()),
                                       MAKELPARAM(at.x, at.y));
        AfxSetDialogHook(old);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        EXPECT_EQ(c.enabled, enabled) << c.options;
        int start = 0, end = 0;
        p.spin->GetEdit()->GetSel(start, end);
        EXPECT_EQ(c.selectAllRuns ? 2 : 1, end) << c.options;
    }
}

TEST(SpinnerRow, TheCommitReachesTheOwnerBeforeTheNextRowIsReported)
{
    SpinPane p;
    p.Open();
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    p.owner.Clear();
    p.Click(p.Button(true));
    p.spin->GetEdit()->SetFocus();  // between the row's own parts: no commit
    p.spin->SetFocus();
    p.spin->GetEdit()->SetFocus();
    ::SetFocus(nullptr);  // to no window: no commit
    EXPECT_TRUE(p.owner.codes.empty());
    p.spin->GetEdit()->SetFocus();
    p.Click(p.ValuePoint(p.name));
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    double value = 0;
    EXPECT_TRUE(p.spin->GetEditValue(value));
    EXPECT_EQ(6.0, value);
}

// The property pane refills its rows when the selection moves elsewhere;
// the edit has been heard by then.
TEST(SpinnerRow, TheCommitIsHeardBeforeTheRowsAreRefilled)
{
    SpinPane p;
    CWnd elsewhere;
    ASSERT_TRUE(elsewhere.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 600, 100, 50, 50, nullptr, nullptr));
    p.Open();
    p.Click(p.Button(true));
    p.spin->GetEdit()->SetFocus();
    p.owner.Clear();
    elsewhere.SetFocus();
    p.grid.DeleteAllItems();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
    ASSERT_FALSE(p.owner.codes.empty());
    EXPECT_EQ(OTN_ITEMCOMMITTED, p.owner.codes.front());
    EXPECT_EQ(1, std::count(p.owner.codes.begin(), p.owner.codes.end(), OTN_ITEMCOMMITTED));
}

TEST(SpinnerRow, NumericTextsAndRefusals)
{
    struct Case {
        const char* text;
        bool numeric;
    };
    for (const Case& c : { Case{ "12", true }, Case{ "9.6", true }, Case{ "-1", false }, Case{ "1e5", false },
                           Case{ "", false }, Case{ ".", false }, Case{ "1/2", false } })
        EXPECT_EQ(c.numeric, bool(COptionTreeSpinnerWnd::IsNumericText(c.text))) << c.text;
    COptionTreeSpinnerItem loose;
    EXPECT_FALSE(loose.CreateEditor(0, 1, 0, 10));
    double value = 7;
    EXPECT_FALSE(loose.GetEditValue(value));
    EXPECT_EQ(0.0, value);
    EXPECT_EQ(OT_ITEM_SPINNER, loose.GetType());
}

} // namespace
