// Editing in the property grid through the layer's input path: the owner's
// notifications in order, the keys, the vetoes, the focus leaving the
// grid, and each row kind's commit.
#include "GridFixture.h"

#include "Controls/OptionTreeColorPopup.h"
#include "Platform/CommonDialogs.h"
#include "Platform/Menu.h"
#include "Platform/DialogHook.h"
#include "Platform/SysColors.h"

#include <string>

namespace {

using Codes = std::vector<int>;

// A pane of one category with a row of every kind, all shown, past the
// first deselect pass (which reports the untouched check box row).
struct Pane : GridFixture {
    COptionTreeItem* general;
    COptionTreeEditItem* name;
    COptionTreeEditItem* count;
    COptionTreeCheckBoxItem* abstract;
    COptionTreeComboBoxItem* visibility;
    COptionTreeColorItem* color;
    COptionTreeTextItem* id;

    explicit Pane(DWORD colorOptions = OT_COLOR_HEXTEXT, int height = 320) : GridFixture(height)
    {
        general = Category("General");
        name = Edit(general, "Name", "Customer");
        count = Number(general, "Count", 12);
        abstract = Check(general, "Abstract", FALSE);
        std::string datum = "GUID-protected";  // gone before the row is read
        visibility = Combo(general, "Visibility",
                           { { "private", "GUID-private" }, { "protected", datum.c_str() }, { "package", nullptr },
                             { "public", "GUID-public" } },
                           3);
        datum.assign(datum.size(), 'x');
        color = Color(general, "Color", RGB(255, 0, 0), colorOptions);
        id = Text(general, "Id", "AAAA-0001");
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    CWnd* List() { return grid.GetListWnd(); }
};

// Rows of the pane by name, for case tables.
using Pick = COptionTreeItem* (*)(Pane&);
COptionTreeItem* General(Pane& p) { return p.general; }
COptionTreeItem* Name(Pane& p) { return p.name; }
COptionTreeItem* Count(Pane& p) { return p.count; }
COptionTreeItem* Id(Pane& p) { return p.id; }

TEST(GridEditing, AValueClickSelectsNoticesAndFocusesTheEditor)
{
    Pane p;
    p.Click(p.ValuePoint(p.name));
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    EXPECT_EQ((std::vector<COptionTreeItem*>{ p.name, p.name }), p.owner.rows);
    EXPECT_EQ(static_cast<CWnd*>(p.name), p.Focus());
    EXPECT_TRUE(p.name->IsEditing());
    EXPECT_EQ(p.name, p.grid.GetFocusedItem());
}

TEST(GridEditing, TypingThenClickingAnotherRowCommitsBeforeTheNewRowIsNoticed)
{
    Pane p;
    p.Click(p.ValuePoint(p.name));
    p.name->SetSel(0, -1);
    PlayText("Ünïcode Ωμέγα");
    p.owner.Clear();
    p.Click(p.ValuePoint(p.count));
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    EXPECT_EQ((std::vector<COptionTreeItem*>{ p.name, p.count, p.count }), p.owner.rows);
    EXPECT_STREQ("Ünïcode Ωμέγα", p.name->GetValueText());
    EXPECT_FALSE(p.name->IsWindowVisible());
    EXPECT_EQ(static_cast<CWnd*>(p.count), p.Focus());
}

TEST(GridEditing, EnterCommitsWhatWasTypedAndEscapePutsTheTextBack)
{
    struct Case {
        const char* typed;
        UINT key;
        Codes codes;
        const char* value;
    };
    const Case cases[] = {
        { "Order", VK_RETURN, { OTN_ITEMCOMMITTED }, "Order" },
        { "", VK_RETURN, {}, "Customer" },  // nothing typed: a silent commit
        { "Order", VK_ESCAPE, {}, "Customer" },
    };
    for (const Case& c : cases) {
        Pane p;
        p.Click(p.ValuePoint(p.name));
        p.name->SetSel(0, -1);
        PlayText(c.typed);
        p.owner.Clear();
        PlayKey(c.key);
        EXPECT_EQ(c.codes, p.owner.codes) << c.typed << " " << c.key;
        EXPECT_STREQ(c.value, p.name->GetValueText()) << c.typed << " " << c.key;
        EXPECT_FALSE(p.name->IsEditing());
        EXPECT_FALSE(p.name->IsWindowVisible());
        EXPECT_EQ(p.List(), p.Focus());
        // The edit is over: moving on reports nothing more for this row.
        p.owner.Clear();
        p.Click(p.LabelPoint(p.count));
        EXPECT_EQ((Codes{ OTN_SELCHANGED }), p.owner.codes);
    }
}

TEST(GridEditing, KeysOfTheListMoveTheFocusAndOpenEditors)
{
    struct Case {
        Pick start;
        UINT key;
        UINT flags;
        Pick landed;
        bool editing;
    };
    const Case cases[] = {
        { Name, VK_TAB, 0, Count, true },
        { Count, VK_TAB, MK_SHIFT, Name, true },
        { Name, VK_DOWN, 0, Count, false },
        { Count, VK_UP, 0, Name, false },
        { Name, VK_END, 0, Id, false },
        { Count, VK_HOME, 0, General, false },
        { Name, VK_RIGHT, 0, Count, false },  // a leaf: Right acts as Down
    };
    for (const Case& c : cases) {
        Pane p;
        COptionTreeItem* start = c.start(p);
        p.Click(p.LabelPoint(start));
        p.owner.Clear();
        PlayKey(c.key, c.flags);
        COptionTreeItem* landed = c.landed(p);
        Codes expected;
        if (c.key == VK_RIGHT)
            expected.push_back(OTN_EXPANDING);
        expected.push_back(OTN_SELCHANGED);
        EXPECT_EQ(expected, p.owner.codes) << c.key;
        EXPECT_EQ(landed, p.grid.GetFocusedItem()) << c.key;
        EXPECT_EQ(c.editing, bool(landed->IsEditing())) << c.key;
        if (c.editing) {
            EXPECT_EQ(dynamic_cast<CWnd*>(landed), p.Focus());
        }
    }
}

TEST(GridEditing, EnterOnTheFocusedRowOpensItsEditor)
{
    Pane p;
    p.Click(p.LabelPoint(p.count));
    PlayKey(VK_RETURN);
    EXPECT_TRUE(p.count->IsEditing());
    EXPECT_EQ(static_cast<CWnd*>(p.count), p.Focus());
}

TEST(GridEditing, LeftCollapsesTheCategoryAndDropsTheFocusItHid)
{
    Pane p;
    p.Click(p.LabelPoint(p.general));
    p.owner.Clear();
    PlayKey(VK_LEFT);
    EXPECT_FALSE(p.general->IsExpanded());
    EXPECT_EQ((Codes{ OTN_EXPANDING, OTN_EXPANDED }), p.owner.codes);
    p.Click(p.LabelPoint(p.general));
    p.general->Expand(TRUE);
    p.grid.UpdateScroll();
    p.Click(p.LabelPoint(p.count));
    p.owner.Clear();
    p.Click(p.Screen(CPoint(6, 10)));  // the category's expand box
    EXPECT_EQ((Codes{ OTN_EXPANDING, OTN_EXPANDED, OTN_SELCHANGED }), p.owner.codes);
    EXPECT_EQ(nullptr, p.owner.rows.back());
    EXPECT_EQ(nullptr, p.grid.GetFocusedItem());
}

TEST(GridEditing, AVetoStopsTheEditTheToggleAndTheDividerDrag)
{
    {
        Pane p;
        p.owner.answers[OTN_VALUECLICK] = 1;
        p.Click(p.ValuePoint(p.name));
        EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
        EXPECT_FALSE(p.name->IsEditing());
        EXPECT_EQ(p.List(), p.Focus());
    }
    {
        Pane p;
        p.owner.answers[OTN_EXPANDING] = 1;
        p.Click(p.Screen(CPoint(6, 10)));
        EXPECT_EQ((Codes{ OTN_EXPANDING }), p.owner.codes);
        EXPECT_TRUE(p.general->IsExpanded());
    }
    {
        Pane p;
        p.owner.answers[OTN_DIVIDERDRAG] = 1;
        const CPoint divider = p.Screen(CPoint(90, p.name->GetLocation().y + 5));
        PlayMouse(WM_LBUTTONDOWN, divider);
        EXPECT_FALSE(p.grid.GetListWnd()->IsDragging());
        PlayMouse(WM_LBUTTONUP, divider);
        EXPECT_EQ((Codes{ OTN_DIVIDERDRAG }), p.owner.codes);
        EXPECT_EQ(90, p.grid.GetColumn());
    }
}

TEST(GridEditing, ADividerDragLandsWithinItsBounds)
{
    struct Case {
        int releaseX;
        long column;
    };
    const Case cases[] = { { 150, 150 }, { 10, 41 }, { 400, 300 - 25 } };
    for (const Case& c : cases) {
        Pane p;
        const int y = p.name->GetLocation().y + 5;
        PlayMouse(WM_LBUTTONDOWN, p.Screen(CPoint(92, y)));
        EXPECT_TRUE(p.grid.GetListWnd()->IsDragging());
        PlayMouse(WM_MOUSEMOVE, p.Screen(CPoint(c.releaseX, y)), MK_LBUTTON);
        EXPECT_EQ(90, p.grid.GetColumn());  // only the indicator follows
        PlayMouse(WM_LBUTTONUP, p.Screen(CPoint(c.releaseX, y)));
        EXPECT_EQ(c.column, p.grid.GetColumn()) << c.releaseX;
        EXPECT_EQ((Codes{ OTN_DIVIDERDRAG }), p.owner.codes);
    }
}

TEST(GridEditing, AFocusMoveToAnotherWindowCommitsAndToNoWindowDoesNot)
{
    Pane p;
    CWnd other;
    ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(300, 0, 320, 20), &p.owner, 5));
    p.Click(p.ValuePoint(p.name));
    PlayText("A");
    p.owner.Clear();
    ::SetFocus(nullptr);  // another application is active
    EXPECT_TRUE(p.owner.codes.empty());
    EXPECT_TRUE(p.name->IsEditing());
    p.name->SetFocus();
    other.SetFocus();
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_STREQ("ACustomer", p.name->GetValueText());  // the caret opens at the start
    EXPECT_EQ(&other, p.Focus());
}

TEST(GridEditing, AFocusMoveOutOfTheGridCommitsEveryEditorKind)
{
    struct Case {
        Pick row;
        UINT key;  // changes the value while the editor has the focus
    };
    const Case cases[] = { { Name, 'Q' }, { Count, '7' } };
    for (const Case& c : cases) {
        Pane p;
        CWnd other;
        ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(300, 0, 320, 20), &p.owner, 5));
        COptionTreeItem* row = c.row(p);
        p.Click(p.ValuePoint(row));
        const char typed[2] = { char(c.key), 0 };
        PlayKey(c.key, 0, typed);
        p.owner.Clear();
        other.SetFocus();
        EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    }
    Pane p;
    CWnd other;
    ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(300, 0, 320, 20), &p.owner, 5));
    p.Click(p.ValuePoint(p.abstract));
    const CRect box = p.abstract->GetValueRect();
    p.Click(p.Screen(CPoint(box.left + 6, box.top + 10)));
    EXPECT_TRUE(p.abstract->GetCheck());
    p.owner.Clear();
    other.SetFocus();
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(1, p.abstract->GetValueInt());
}

TEST(GridEditing, TheUntouchedCheckBoxRowReportsAtTheFirstDeselectPassOnly)
{
    GridFixture f;
    COptionTreeItem* general = f.Category("General");
    COptionTreeEditItem* name = f.Edit(general, "Name", "x");
    COptionTreeCheckBoxItem* check = f.Check(general, "Abstract", TRUE);
    general->Expand(TRUE);
    f.grid.UpdateScroll();
    f.owner.Clear();
    f.Click(f.LabelPoint(name));
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED }), f.owner.codes);
    EXPECT_EQ(check, f.owner.rows.front());
    f.owner.Clear();
    f.Click(f.LabelPoint(general));
    EXPECT_EQ((Codes{ OTN_SELCHANGED }), f.owner.codes);
}

TEST(GridEditing, CheckBoxTogglesCommitWithNotificationOnlyWhenTheStateChanged)
{
    struct Case {
        int clicks;
        Codes codes;
    };
    const Case cases[] = { { 1, { OTN_ITEMCOMMITTED, OTN_SELCHANGED } }, { 2, { OTN_SELCHANGED } } };
    for (const Case& c : cases) {
        Pane p;
        p.Click(p.ValuePoint(p.abstract));
        EXPECT_EQ(static_cast<CWnd*>(p.abstract), p.Focus());
        const CRect box = p.abstract->GetValueRect();
        for (int i = 0; i < c.clicks; ++i)
            p.Click(p.Screen(CPoint(box.left + 6, box.top + 10)));
        p.owner.Clear();
        p.Click(p.LabelPoint(p.name));
        EXPECT_EQ(c.codes, p.owner.codes) << c.clicks;
        EXPECT_EQ(c.clicks % 2, p.abstract->GetValueInt());
    }
}

TEST(GridEditing, AComboPickCommitsAtOnceWithTheRowsOwnCopyOfTheDatum)
{
    Pane p;
    p.Click(p.ValuePoint(p.visibility));
    EXPECT_EQ(static_cast<CWnd*>(p.visibility), p.Focus());
    p.owner.Clear();
    PlayKey(VK_UP);
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(2, p.visibility->GetValueInt());
    EXPECT_STREQ("", p.visibility->GetValueText());  // an entry without a datum
    // One commit per edit: a later change announced by the list reports nothing.
    p.visibility->SetCurSel(1);
    p.List()->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(p.visibility->GetDlgCtrlID()), CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(p.visibility->GetSafeHwnd()));
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(1, p.visibility->GetValueInt());
    EXPECT_STREQ("GUID-protected", p.visibility->GetValueText());
    p.visibility->SetCurSel(-1);
    EXPECT_EQ(-1, p.visibility->GetValueInt());
    EXPECT_STREQ("", p.visibility->GetValueText());
}

TEST(GridEditing, LeavingAComboWithoutAPickCommitsSilently)
{
    Pane p;
    p.Click(p.ValuePoint(p.visibility));
    p.owner.Clear();
    p.Click(p.LabelPoint(p.name));
    EXPECT_EQ((Codes{ OTN_SELCHANGED }), p.owner.codes);
    EXPECT_FALSE(p.visibility->IsEditing());
    EXPECT_EQ(3, p.visibility->GetValueInt());
}

// Opens the colour row's pop-up through the swatch window.
// Opens the colour row's pop-up: the release of the value click lands on
// the swatch window the press showed.
COptionTreeColorPopup* OpenPopup(Pane& p)
{
    p.Click(p.ValuePoint(p.color));
    return dynamic_cast<COptionTreeColorPopup*>(CWnd::GetCapture());
}

CPoint CellPoint(COptionTreeColorPopup* popup, int index)
{
    CPoint center = popup->GetCellRect(index).CenterPoint();
    popup->ClientToScreen(&center);
    return center;
}

TEST(GridEditing, AColourChosenInThePopupCommitsAndShowsAsRgbHex)
{
    Pane p;
    COptionTreeColorPopup* popup = OpenPopup(p);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(p.List(), p.Focus());  // the grid keeps the focus while the pop-up is open
    EXPECT_EQ(16, popup->GetChosenIndex());  // the row's red
    p.owner.Clear();
    PlayMouse(WM_MOUSEMOVE, CellPoint(popup, 13));
    EXPECT_EQ(RGB(255, 0, 0), p.color->GetColor());  // not live: the row waits
    p.Click(CellPoint(popup, 13));
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(RGB(0, 0, 255), p.color->GetColor());
    EXPECT_EQ(int(RGB(0, 0, 255)), p.color->GetValueInt());
    EXPECT_EQ(CString("#0000FF"), p.color->GetColorText());
}

TEST(GridEditing, TheColourTextIsRedGreenBlueInThatOrder)
{
    struct Case {
        COLORREF color;
        DWORD options;
        const char* text;
    };
    const Case cases[] = {
        { RGB(255, 0, 0), OT_COLOR_HEXTEXT, "#FF0000" },
        { 0xFFF2F3, OT_COLOR_HEXTEXT, "#F3F2FF" },
        { RGB(255, 0, 0), 0, "RGB (255, 0, 0)" },
        { RGB(1, 20, 255), 0, "RGB (1, 20, 255)" },
    };
    for (const Case& c : cases) {
        COptionTreeColorItem row;
        row.SetColor(c.color);
        row.SetOption(c.options, TRUE);
        EXPECT_EQ(CString(c.text), row.GetColorText());
    }
}

TEST(GridEditing, ACancelledPopupKeepsTheColourItOpenedWith)
{
    for (DWORD options : { DWORD(OT_COLOR_HEXTEXT), DWORD(OT_COLOR_HEXTEXT | OT_COLOR_LIVE) }) {
        Pane p(options);
        COptionTreeColorPopup* popup = OpenPopup(p);
        ASSERT_NE(nullptr, popup);
        p.owner.Clear();
        PlayMouse(WM_MOUSEMOVE, CellPoint(popup, 0));
        const bool live = (options & OT_COLOR_LIVE) != 0;
        EXPECT_EQ(live ? RGB(0, 0, 0) : RGB(255, 0, 0), p.color->GetColor());
        PlayKey(VK_ESCAPE);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
        EXPECT_TRUE(p.owner.codes.empty());
        EXPECT_EQ(RGB(255, 0, 0), p.color->GetColor()) << options;
    }
}

TEST(GridEditing, PopupKeysWalkTheCellsAndTheBoxes)
{
    Pane p;
    COptionTreeColorPopup* popup = OpenPopup(p);
    ASSERT_NE(nullptr, popup);
    struct Step {
        UINT key;
        int hover;
    };
    const Step steps[] = {
        { VK_END, -1 },  // other keys change nothing
        { VK_DOWN, -2 }, { VK_DOWN, -3 }, { VK_DOWN, 0 },   { VK_UP, -3 }, { VK_UP, -2 },
        { VK_UP, 39 },   { VK_RIGHT, -2 }, { VK_LEFT, 39 }, { VK_LEFT, 38 }, { VK_UP, 30 },
    };
    for (const Step& s : steps) {
        PlayKey(s.key);
        EXPECT_EQ(s.hover, popup->GetHoverIndex()) << s.key;
    }
    p.owner.Clear();
    PlayKey(VK_RETURN);
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(COptionTreeColorPopup::GetColor(30), p.color->GetColor());
}

TEST(GridEditing, MoreColoursAsksTheColourDialogThroughTheHook)
{
    struct Case {
        INT_PTR answer;
        COLORREF color;
        Codes codes;
    };
    const Case cases[] = { { IDOK, RGB(1, 2, 3), { OTN_ITEMCOMMITTED } }, { IDCANCEL, RGB(255, 0, 0), {} } };
    for (const Case& c : cases) {
        Pane p;
        COLORREF offered = 0;
        DWORD flags = 0;
        DialogHook old = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
            if (request.kind != DialogKind::Color)
                return false;
            auto* cc = static_cast<CHOOSECOLOR*>(request.data);
            offered = cc->rgbResult;
            flags = cc->Flags;
            cc->rgbResult = RGB(1, 2, 3);
            *answer = c.answer;
            return true;
        });
        COptionTreeColorPopup* popup = OpenPopup(p);
        ASSERT_NE(nullptr, popup);
        CPoint custom = popup->GetCustomBox().CenterPoint();
        popup->ClientToScreen(&custom);
        p.owner.Clear();
        PlayMouse(WM_MOUSEMOVE, custom);
        p.Click(custom);
        AfxSetDialogHook(old);
        EXPECT_EQ(RGB(255, 0, 0), offered);
        EXPECT_EQ(DWORD(CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT), flags);
        EXPECT_EQ(c.codes, p.owner.codes);
        EXPECT_EQ(c.color, p.color->GetColor());
    }
}

TEST(GridEditing, AClickOnARowCutOffAtTheBottomKeepsItsEditOpenAndScrollsToIt)
{
    Pane p(OT_COLOR_HEXTEXT, 55);
    const CRect before = p.count->GetValueRect();
    CRect client;
    p.List()->GetClientRect(&client);
    ASSERT_GT(before.bottom, client.bottom);
    ASSERT_LT(before.top, client.bottom - 3);
    // The row shows partly; click its visible part.
    PlayMouse(WM_LBUTTONDOWN, p.Screen(CPoint(before.left + 20, before.top + 2)));
    EXPECT_TRUE(p.count->IsEditing());
    EXPECT_EQ(static_cast<CWnd*>(p.count), p.Focus());
    EXPECT_GT(p.grid.GetScrollOffset(), 0);
    CRect shown;
    p.count->GetWindowRect(&shown);
    p.List()->ScreenToClient(&shown);
    EXPECT_EQ(p.count->GetValueRect().top, shown.top);
    EXPECT_LE(shown.bottom, client.bottom);
    PlayMouse(WM_LBUTTONUP, p.Screen(CPoint(before.left + 20, before.top + 2)));
}

TEST(GridEditing, AReadOnlyRowAndATextRowOpenNothing)
{
    Pane p;
    p.name->SetReadOnly(TRUE);
    p.Click(p.ValuePoint(p.name));
    EXPECT_FALSE(p.name->IsEditing());
    EXPECT_EQ(p.List(), p.Focus());
    p.owner.Clear();
    p.Click(p.ValuePoint(p.id));
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    EXPECT_EQ(p.List(), p.Focus());
}

TEST(GridEditing, TheEditRowAnswersTheEditingCommands)
{
    Pane p;
    p.Click(p.ValuePoint(p.name));
    p.name->SetSel(0, 0);
    p.name->SendMessage(WM_COMMAND, 32773);  // delete with no selection: the character after the caret
    EXPECT_STREQ("ustomer", p.name->GetValueText());
    p.name->SendMessage(WM_COMMAND, 57642);  // select all
    p.name->SendMessage(WM_COMMAND, 57635);  // cut
    EXPECT_STREQ("", p.name->GetValueText());
    p.name->SendMessage(WM_COMMAND, 57637);  // paste
    EXPECT_STREQ("ustomer", p.name->GetValueText());
    p.name->SendMessage(WM_COMMAND, 57643);  // undo
    EXPECT_STREQ("", p.name->GetValueText());
}

} // namespace

namespace {

TEST(GridEditing, AClickOnTheCheckTextTogglesOnlyWhenTheTextIsShown)
{
    for (DWORD options : { DWORD(OT_CHECK_SHOWBOX), DWORD(OT_CHECK_SHOWBOX | OT_CHECK_SHOWTEXT) }) {
        GridFixture f;
        COptionTreeItem* category = f.Category("Base");
        COptionTreeCheckBoxItem* check = f.Check(category, "Shown", FALSE, options);
        category->Expand(TRUE);
        f.grid.UpdateScroll();
        f.Click(f.ValuePoint(check));  // lands right of the box, on the text
        EXPECT_EQ(options == DWORD(OT_CHECK_SHOWBOX) ? 0 : 1, check->GetCheck()) << options;
        EXPECT_EQ(static_cast<CWnd*>(check), CWnd::GetFocus());
    }
}

TEST(GridEditing, ThePopupMarksTheInitialColoursBox)
{
    CWnd notify;
    ASSERT_TRUE(notify.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 100, 60, 20, nullptr, nullptr));
    struct Case {
        COLORREF initial;
        const char* automatic;
        const char* custom;
        int chosen;
    };
    const Case cases[] = {
        { RGB(243, 242, 255), "Automatic", "More Colors...", -3 },
        { RGB(243, 242, 255), "", "More Colors...", -2 },
        { RGB(243, 242, 255), "", "", -1 },
        { RGB(255, 255, 0), "Automatic", "More Colors...", 26 },
    };
    for (const Case& c : cases) {
        auto* popup = new COptionTreeColorPopup(CPoint(120, 130), c.initial, RGB(243, 242, 255), &notify, c.automatic,
                                                c.custom);
        ASSERT_TRUE(popup->GetSafeHwnd());
        EXPECT_EQ(c.chosen, popup->GetChosenIndex()) << c.automatic << c.custom;
        EXPECT_EQ(popup, CWnd::GetCapture());
        PlayKey(VK_ESCAPE);
        EXPECT_EQ(nullptr, CWnd::GetCapture());
    }
}

TEST(GridEditing, APopupNearTheScreensEdgesOpensInsideItAboveItsOpener)
{
    CWnd notify;
    const int bottom = GetSystemMetrics(SM_CYSCREEN), right = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(notify.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, right - 50, bottom - 30, 40, 20, nullptr,
                                nullptr));
    auto* popup = new COptionTreeColorPopup(CPoint(right - 20, bottom - 10), 0, 0, &notify, "Automatic",
                                            "More Colors...");
    CRect window;
    popup->GetWindowRect(&window);
    EXPECT_EQ(right, window.right);
    EXPECT_EQ(bottom - 10 - 20, window.bottom);  // moved up by its own height and the opener's
    PlayKey(VK_ESCAPE);
}

TEST(GridEditing, AnOpenPopupGoesWithItsRow)
{
    Pane p;
    COptionTreeColorPopup* popup = OpenPopup(p);
    ASSERT_NE(nullptr, popup);
    const HWND window = popup->GetSafeHwnd();
    p.owner.Clear();
    p.grid.DeleteAllItems();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(Codes(8, OTN_ITEMDELETED), p.owner.codes);
}

} // namespace

namespace {

TEST(GridEditing, ARowDeletedWhileItsEditorHasTheFocusReportsNoCommit)
{
    Pane p;
    p.Click(p.ValuePoint(p.name));
    PlayText("Z");
    p.owner.Clear();
    p.grid.DeleteAllItems();
    EXPECT_EQ(Codes(8, OTN_ITEMDELETED), p.owner.codes);
    EXPECT_EQ(p.List(), p.Focus());
}

} // namespace

namespace {

TEST(GridEditing, TheEditRowsContextMenuOffersTheEditingCommandsToItself)
{
    Pane p;
    p.Click(p.ValuePoint(p.name));
    std::vector<UINT> offered;
    DialogHook old = AfxSetDialogHook([&](DialogRequest& request, INT_PTR* answer) {
        if (request.kind != DialogKind::PopupMenu)
            return false;
        CMenu* menu = CMenu::FromHandle(static_cast<PopupMenuRequest*>(request.data)->menu);
        for (int i = 0; i < menu->GetMenuItemCount(); ++i)
            offered.push_back(menu->GetMenuItemID(i));
        *answer = 57642;  // Select All
        return true;
    });
    PlayMouse(WM_RBUTTONDOWN, p.ValuePoint(p.name));
    PlayMouse(WM_RBUTTONUP, p.ValuePoint(p.name));
    AfxSetDialogHook(old);
    EXPECT_EQ((std::vector<UINT>{ 57634, 57635, 57637, 32773, 57642 }), offered);
    int start = -1, end = -1;
    p.name->GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(8, end);  // "Customer"
    EXPECT_EQ(static_cast<CWnd*>(p.name), p.Focus());
    EXPECT_TRUE(p.name->IsEditing());
}

} // namespace
