// The radio row: its height and line geometry, one choice at a time, clicks
// on and between the lines, and its commits through the grid.
#include "GridFixture.h"

#include "Controls/OptionTreeRadioItem.h"

namespace {

using Codes = std::vector<int>;

struct RadioPane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeEditItem* name = Edit(general, "Name", "x");
    COptionTreeRadioItem* radio = new COptionTreeRadioItem;
    COptionTreeEditItem* after = nullptr;

    RadioPane()
    {
        grid.InsertItem(radio, general);
        radio->SetLabelText("Direction");
        EXPECT_TRUE(radio->CreateEditor());
        radio->AddOption("in", FALSE);
        radio->AddOption("out", TRUE);
        radio->AddOption("inout", FALSE);
        after = Edit(general, "After", "y");
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    // A point on line `line` of the radio window, in screen coordinates.
    CPoint Line(int line, int dy = 8)
    {
        const CRect v = radio->GetValueRect();
        return Screen(CPoint(v.left + 40, v.top + 16 * line + dy));
    }
};

TEST(RadioRow, TheRowGrowsSixteenPixelsAChoice)
{
    struct Case {
        int options;
        long height;
    };
    for (const Case& c : { Case{ 1, 18 }, Case{ 3, 50 } }) {
        GridFixture f;
        auto* row = new COptionTreeRadioItem;
        f.grid.InsertItem(row, f.Category("General"));
        EXPECT_TRUE(row->CreateEditor());
        for (int i = 0; i < c.options; ++i)
            row->AddOption("x", FALSE);
        EXPECT_EQ(c.height, row->GetHeight()) << c.options;
        EXPECT_TRUE(row->IsLabelAtTop());
        EXPECT_EQ(-1, row->GetChosenIndex());
    }
}

TEST(RadioRow, OneChoiceAtATime)
{
    COptionTreeRadioItem row;
    row.AddOption("A", TRUE);
    row.AddOption("B", TRUE);
    row.AddOption("B", FALSE);
    EXPECT_EQ(1, row.GetChosenIndex());
    EXPECT_FALSE(row.IsOptionChosen(0));
    EXPECT_EQ(1, row.FindOption("B"));
    EXPECT_EQ(-1, row.FindOption("b"));
    EXPECT_EQ(OT_ITEM_RADIO, row.GetType());
    EXPECT_FALSE(row.CreateEditor());
}

TEST(RadioRow, AClickOnALineChoosesItAndTheFocusLeavingCommitsOnce)
{
    struct Case {
        int line;
        int dy;
        int chosen;
    };
    // A line's hit area starts at its mark's top, two pixels below the line.
    const Case cases[] = { { 0, 8, 0 }, { 2, 15, 2 }, { 2, 1, 1 }, { 2, 16, 1 } };
    for (const Case& c : cases) {
        RadioPane p;
        p.Click(p.ValuePoint(p.radio));
        EXPECT_EQ(p.radio, p.Focus());
        p.radio->UpdateWindow();
        EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
        p.owner.Clear();
        p.Click(p.Line(c.line, c.dy));
        EXPECT_EQ(c.chosen, p.radio->GetChosenIndex()) << c.line << " " << c.dy;
        EXPECT_TRUE(p.owner.codes.empty());
        p.Click(p.ValuePoint(p.after));
        EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    }
}

TEST(RadioRow, AFocusMoveToNoWindowCommitsNothing)
{
    RadioPane p;
    p.Click(p.ValuePoint(p.radio));
    p.owner.Clear();
    ::SetFocus(nullptr);
    EXPECT_TRUE(p.owner.codes.empty());
    EXPECT_TRUE(p.radio->IsEditing());
}

} // namespace
