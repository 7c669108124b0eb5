// The date row and its picker: classic pictures turned into the shown
// text, the month calendar through the keys, and the commit reaching the
// owner once, after the next row's selection and value click.
#include "GridFixture.h"

#include "Controls/OptionTreeDateItem.h"
#include "Platform/Messages.h"

#include <filesystem>
#include <string>

namespace {

using Codes = std::vector<int>;

SYSTEMTIME Day(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME st{};
    st.wYear = WORD(year);
    st.wMonth = WORD(month);
    st.wDay = WORD(day);
    st.wHour = WORD(hour);
    st.wMinute = WORD(minute);
    st.wSecond = WORD(second);
    return st;
}

struct DatePane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeDateItem* date = new COptionTreeDateItem;
    COptionTreeEditItem* name = nullptr;

    explicit DatePane(const char* format = "dd MMM yyyy")
    {
        grid.InsertItem(date, general);
        date->SetLabelText("Created");
        EXPECT_TRUE(date->CreateEditor(format));
        const SYSTEMTIME st = Day(2024, 2, 28, 14, 5, 9);
        EXPECT_TRUE(date->SetTime(&st));
        name = Edit(general, "Name", "x");
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    std::string Text()
    {
        char text[128] = {};
        date->GetWindowText(text, sizeof text);
        return text;
    }
};

} // namespace

TEST(DateRow, PicturesBecomeTheShownText)
{
    struct Case {
        const char* picture;
        const char* text;
    };
    const Case cases[] = {
        { "dd MMM yyyy", "28 Feb 2024" },
        { "d/M/yy", "28/2/24" },
        { "dddd, MMMM d", "Wednesday, February 28" },
        { "HH:mm:ss", "14:05:09" },
        { "h:mm tt", "2:05 PM" },
        { "'Day' d 'of' M", "Day 28 of 2" },
        { "d'''o''clock'", "28'o'clock" },
        { "yyyy-MM-dd'T'HH", "2024-02-28T14" },
        { "q d", "q 28" },  // letters outside the picture stand as they are
    };
    for (const Case& c : cases) {
        DatePane p(c.picture);
        EXPECT_EQ(c.text, p.Text()) << c.picture;
    }
    DatePane p;
    EXPECT_FALSE(p.date->SetFormat("'open"));
    EXPECT_EQ("28 Feb 2024", p.Text());
    const SYSTEMTIME bad = Day(2023, 2, 29);
    EXPECT_FALSE(p.date->SetTime(&bad));
    SYSTEMTIME got{};
    EXPECT_EQ(DWORD(GDT_VALID), p.date->GetTime(&got));
    EXPECT_EQ(28, got.wDay);
    EXPECT_EQ(14, got.wHour);
}

TEST(DateRow, TheCalendarKeepsTheEditAndAnotherRowCommitsOnce)
{
    DatePane p;
    p.Click(p.ValuePoint(p.date));
    EXPECT_EQ(static_cast<CWnd*>(p.date), p.Focus());
    p.owner.Clear();
    PlayKey(VK_F4);
    CWnd* calendar = p.date->GetMonthCalCtrl();
    ASSERT_NE(nullptr, calendar);
    EXPECT_EQ(calendar, p.Focus());
    EXPECT_TRUE(p.date->IsWindowVisible());
    PlayKey(VK_RIGHT);
    PlayKey(VK_DOWN);
    PlayKey(VK_RETURN);  // 28 Feb + 1 + 7 days
    EXPECT_EQ(nullptr, p.date->GetMonthCalCtrl());
    EXPECT_EQ(static_cast<CWnd*>(p.date), p.Focus());
    EXPECT_EQ("07 Mar 2024", p.Text());
    EXPECT_TRUE(p.owner.codes.empty());

    PlayKey(VK_DOWN);  // the day field steps back
    EXPECT_EQ("06 Mar 2024", p.Text());
    p.Click(p.ValuePoint(p.name));
    EXPECT_FALSE(p.date->IsWindowVisible());
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
}

TEST(DateRow, EscClosesTheCalendarUnchangedAndFocusLeavingItCommits)
{
    DatePane p;
    p.Click(p.ValuePoint(p.date));
    p.owner.Clear();
    PlayKey(VK_DOWN, MK_ALT);
    ASSERT_NE(nullptr, p.date->GetMonthCalCtrl());
    PlayKey(VK_LEFT);
    PlayKey(VK_ESCAPE);
    EXPECT_EQ("28 Feb 2024", p.Text());
    EXPECT_EQ(static_cast<CWnd*>(p.date), p.Focus());
    EXPECT_TRUE(p.owner.codes.empty());

    // Focus going from the open calendar to another row ends the edit too
    // (the label: the calendar covers the row's value).
    PlayKey(VK_F4);
    ASSERT_NE(nullptr, p.date->GetMonthCalCtrl());
    p.Click(p.LabelPoint(p.name));
    EXPECT_EQ(nullptr, p.date->GetMonthCalCtrl());
    EXPECT_EQ(1, std::count(p.owner.codes.begin(), p.owner.codes.end(), OTN_ITEMCOMMITTED));
}

TEST(DateRow, FocusToNoWindowCommitsNothingAndASecondEditorIsRefused)
{
    DatePane p;
    p.Click(p.ValuePoint(p.date));
    p.owner.Clear();
    ::SetFocus(nullptr);
    EXPECT_TRUE(p.owner.codes.empty());
    EXPECT_TRUE(p.date->IsWindowVisible());
    EXPECT_FALSE(p.date->CreateEditor("yyyy"));
    EXPECT_EQ("28 Feb 2024", p.Text());
    COptionTreeDateItem loose;
    EXPECT_FALSE(loose.CreateEditor("yyyy"));
}

TEST(DateRow, Pictures)
{
    const std::string out = std::string(VEXAL_TEST_OUTPUT) + "/";
    std::filesystem::create_directories(out);
    DatePane p;
    p.date->SetReadOnly(FALSE);
    EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(), (out + "date_row_idle.png").c_str()));
    p.Click(p.ValuePoint(p.date));
    PlayKey(VK_F4);
    EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(), (out + "date_row_editing.png").c_str()));
    EXPECT_TRUE(SaveWindowPicture(p.date->GetMonthCalCtrl()->GetSafeHwnd(), (out + "date_row_calendar.png").c_str()));
    PlayKey(VK_ESCAPE);
    p.Click(p.ValuePoint(p.name));
    p.date->SetReadOnly(TRUE);
    p.grid.Invalidate();
    p.grid.UpdateWindow();
    EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(), (out + "date_row_readonly.png").c_str()));
}
