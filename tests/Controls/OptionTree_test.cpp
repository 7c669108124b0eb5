// The grid's tree, ids, notifications of insertion and deletion, hit tests,
// the divider, scrolling and the rows' drawing rules.
#include "GridFixture.h"

#include "Platform/Dc.h"

namespace {

using Codes = std::vector<int>;

TEST(OptionTree, IdsCountFromTheCounterAndRestartAfterClearing)
{
    GridFixture f;
    COptionTreeItem* a = f.Category("A");
    EXPECT_EQ(1u, a->GetItemID());
    f.grid.DeleteAllItems();
    std::vector<UINT> ids;
    for (const char* label : { "B", "C", "D" })
        ids.push_back(f.Category(label)->GetItemID());
    EXPECT_EQ((std::vector<UINT>{ 2, 3, 4 }), ids);
    EXPECT_EQ(nullptr, f.grid.InsertItem(nullptr));
    EXPECT_EQ(f.grid.FindItem(3), f.grid.GetRootItem()->GetFirstChild()->GetNextSibling());
    EXPECT_EQ(nullptr, f.grid.FindItem(1));
}

TEST(OptionTree, DeletingAnnouncesTheTreeFirstThenEachRowParentFirst)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* one = f.Edit(category, "One", "1");
    COptionTreeItem* two = f.Text(category, "Two", "2");
    f.owner.Clear();
    f.grid.DeleteAllItems();
    EXPECT_EQ(Codes(4, OTN_ITEMDELETED), f.owner.codes);
    EXPECT_EQ((std::vector<COptionTreeItem*>{ nullptr, category, one, two }), f.owner.rows);
    EXPECT_EQ(nullptr, f.grid.GetRootItem()->GetFirstChild());
}

TEST(OptionTree, DeletingOneRowUnlinksItAndDropsTheFocus)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* one = f.Edit(category, "One", "1");
    COptionTreeItem* two = f.Edit(category, "Two", "2");
    COptionTreeItem* three = f.Edit(category, "Three", "3");
    category->Expand(TRUE);
    f.grid.SetFocusedItem(two);
    f.owner.Clear();
    f.grid.DeleteItem(two);
    EXPECT_EQ((Codes{ OTN_ITEMDELETED }), f.owner.codes);
    EXPECT_EQ(one->GetNextSibling(), three);
    EXPECT_EQ(nullptr, f.grid.GetFocusedItem());
}

TEST(OptionTree, InsertionAndExpansionAreReported)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* row = f.Text(category, "Id", "1");
    EXPECT_EQ((Codes{ OTN_ITEMINSERTED, OTN_ITEMINSERTED }), f.owner.codes);
    EXPECT_EQ(category, row->GetParentItem());
    EXPECT_TRUE(category->IsCategory());
    EXPECT_FALSE(row->IsCategory());
    f.owner.Clear();
    category->Expand(TRUE);
    EXPECT_EQ((Codes{ OTN_EXPANDED }), f.owner.codes);
    COptionTreeItem loose;
    loose.Expand(TRUE);  // outside a grid: nothing
    EXPECT_FALSE(loose.IsExpanded());
    EXPECT_FALSE(loose.IsCategory());
}

TEST(OptionTree, NotificationsNeedTheNotifyOptionAndAKnownCode)
{
    GridFixture f;
    f.owner.answers[OTN_VALUECLICK] = 1;
    EXPECT_EQ(1, f.grid.SendNotify(OTN_VALUECLICK));
    for (int code : { -1104, -1100, -1113 })
        EXPECT_EQ(0, f.grid.SendNotify(code)) << code;
    f.grid.SetNotify(FALSE, &f.owner);
    f.owner.Clear();
    EXPECT_EQ(0, f.grid.SendNotify(OTN_VALUECLICK));
    EXPECT_TRUE(f.owner.codes.empty());
}

TEST(OptionTree, HitTestsTellLabelDividerExpandValueAndNothing)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* row = f.Edit(category, "Name", "x");
    COptionTreeItem* sub = f.Edit(row, "Sub", "y");
    (void)sub;
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    const int c = 5, p = int(row->GetLocation().y) + 5;
    struct Case {
        CPoint point;
        int hit;
    };
    const Case cases[] = {
        { { 30, p }, OT_HIT_LABEL },     { { 85, p }, OT_HIT_DIVIDER }, { { 95, p }, OT_HIT_DIVIDER },
        { { 96, p }, OT_HIT_VALUE },     { { 6, p + 3 }, OT_HIT_EXPAND }, { { 6, c + 3 }, OT_HIT_EXPAND },
        { { 95, c }, OT_HIT_LABEL },     { { 96, c }, OT_HIT_VALUE },    { { 30, 200 }, OT_HIT_NONE },
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.hit, f.grid.HitTest(k.point)) << k.point.x << "," << k.point.y;
}

TEST(OptionTree, TheDividerStaysInsideTheGrid)
{
    struct Case {
        long asked;
        long stored;
    };
    const Case cases[] = { { 400, 284 }, { 3, 16 }, { 150, 150 } };
    for (const Case& c : cases) {
        GridFixture f;
        f.grid.SetColumn(c.asked);
        EXPECT_EQ(c.stored, f.grid.GetColumn()) << c.asked;
    }
    COptionTree unmade;
    unmade.SetColumn(3);
    EXPECT_EQ(16, unmade.GetColumn());
    unmade.SetColumn(4000);
    EXPECT_EQ(4000, unmade.GetColumn());
}

TEST(OptionTree, EnsureVisibleExpandsTheAncestorsAndScrollsTheRowIn)
{
    GridFixture f(100);
    COptionTreeItem* first = f.Category("First");
    for (int i = 0; i < 6; ++i)
        f.Text(first, "Row", "v");
    COptionTreeItem* second = f.Category("Second");
    COptionTreeItem* hidden = f.Text(second, "Hidden", "v");
    first->Expand(TRUE);
    f.grid.UpdateScroll();
    EXPECT_FALSE(f.grid.IsShown(hidden));
    f.grid.EnsureVisible(hidden);
    EXPECT_TRUE(second->IsExpanded());
    EXPECT_TRUE(f.grid.IsShown(hidden));
    CRect client;
    f.grid.GetListWnd()->GetClientRect(&client);
    EXPECT_EQ(hidden->GetLocation().y + hidden->GetHeight() - client.Height(), f.grid.GetScrollOffset());
    f.grid.EnsureVisible(first);
    EXPECT_EQ(0, f.grid.GetScrollOffset());
}

TEST(OptionTree, TheWheelScrollsOnlyWhatDoesNotFit)
{
    for (int rows : { 2, 30 }) {
        GridFixture f(200);
        COptionTreeItem* category = f.Category("Base");
        for (int i = 0; i < rows; ++i)
            f.Text(category, "Row", "v");
        category->Expand(TRUE);
        f.grid.UpdateScroll();
        f.grid.GetListWnd()->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120))), 0);
        EXPECT_EQ(rows > 5 ? OT_ROW_HEIGHT : 0, f.grid.GetScrollOffset()) << rows;
    }
}

TEST(OptionTree, ScrollingWithTheBarDeselectsButKeepsTheFocus)
{
    GridFixture f(100);
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* row = nullptr;
    for (int i = 0; i < 10; ++i)
        row = f.Text(category, "Row", "v");
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    f.Click(f.LabelPoint(category));
    f.grid.GetListWnd()->OnVScroll(SB_PAGEDOWN, 0, nullptr);
    EXPECT_FALSE(category->IsSelected());
    EXPECT_EQ(category, f.grid.GetFocusedItem());
    f.grid.GetListWnd()->OnVScroll(SB_THUMBTRACK, 10000, nullptr);
    CRect client;
    f.grid.GetListWnd()->GetClientRect(&client);
    EXPECT_EQ(row->GetLocation().y + row->GetHeight() - client.Height(), f.grid.GetScrollOffset());
}

TEST(OptionTree, ADoubleClickOnTheDividerFitsItToTheWidestShownLabel)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    f.Edit(category, "A", "1");
    COptionTreeItem* wide = f.Edit(category, "A rather wider label", "2");
    COptionTreeItem* closed = f.Category("Closed");
    f.Edit(closed, "An even much wider label that is hidden", "3");
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    const CPoint divider = f.Screen(CPoint(90, wide->GetLocation().y + 5));
    const long widest = wide->GetLabelExtent().right;  // as last painted
    EXPECT_GT(widest, f.grid.GetRootItem()->GetFirstChild()->GetFirstChild()->GetLabelExtent().right);
    PlayMouse(WM_LBUTTONDOWN, divider);
    PlayMouse(WM_LBUTTONUP, divider);
    PlayMouse(WM_LBUTTONDBLCLK, divider);
    PlayMouse(WM_LBUTTONUP, divider);
    EXPECT_EQ(widest + 5, f.grid.GetColumn());
}

TEST(OptionTree, CollapsingHidesTheSubtreeAndTheHeightIsTheVisibleRows)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* parent = f.Edit(category, "Parent", "");
    COptionTreeItem* child = f.Edit(parent, "Child", "");
    f.Edit(child, "Grandchild", "");
    category->Expand(TRUE);
    parent->Expand(TRUE);
    child->Expand(TRUE);
    f.grid.UpdateScroll();
    EXPECT_EQ(4 * OT_ROW_HEIGHT, category->GetVisibleHeight());
    EXPECT_EQ(4 * OT_ROW_HEIGHT, f.grid.GetRootItem()->GetFirstChild()->GetVisibleHeight());
    EXPECT_EQ(0, parent->GetLocation().x);   // a category's rows sit at its own indent
    EXPECT_EQ(16, child->GetLocation().x);   // deeper levels indent by 16
    EXPECT_TRUE(child->HitExpandBox(CPoint(6, child->GetLocation().y + 7)));  // boxes stay in the margin
    parent->Expand(FALSE);
    f.grid.UpdateScroll();
    EXPECT_EQ(2 * OT_ROW_HEIGHT, category->GetVisibleHeight());
    EXPECT_FALSE(f.grid.IsShown(child));
}

TEST(OptionTree, KeysAreTruncatedAtAWholeCharacterAndEmptyKeysIgnored)
{
    COptionTreeItem row;
    row.SetKey("Name");
    row.SetKey("");
    row.SetKey(nullptr);
    EXPECT_STREQ("Name", row.GetKey());
    const std::string longKey = std::string(99, 'k') + "é";
    row.SetKey(longKey.c_str());
    EXPECT_EQ(std::string(99, 'k'), row.GetKey());
    EXPECT_EQ(0, row.GetValueInt());
    EXPECT_STREQ("", row.GetValueText());
}

TEST(OptionTree, ACommitReachesTheOwnerOncePerEdit)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeEditItem* row = f.Edit(category, "Name", "x");
    f.owner.Clear();
    row->CommitChanges(TRUE);  // a row never edited commits once
    row->BeginEdit();
    row->CommitChanges(TRUE);
    row->CommitChanges(TRUE);
    EXPECT_EQ((Codes{ OTN_ITEMCOMMITTED, OTN_ITEMCOMMITTED }), f.owner.codes);
    EXPECT_FALSE(row->IsEditing());
}

TEST(OptionTree, LongLabelsEndInAnEllipsisKeepingAWholeFirstCharacter)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.SelectObject(COptionTree::GetNormalFont());
    GridFixture keepFonts;
    dc.SelectObject(COptionTree::GetNormalFont());
    const CString text("Ärger and a long label");
    EXPECT_EQ(text, COptionTreeItem::FitTextWithEllipsis(&dc, text, 1000, 1));
    const CString cut = COptionTreeItem::FitTextWithEllipsis(&dc, text, 60, 1);
    EXPECT_EQ(CString("..."), cut.Right(3));
    EXPECT_LE(dc.GetTextExtent(cut).cx + 1, 60);
    EXPECT_EQ(CString("Ä..."), COptionTreeItem::FitTextWithEllipsis(&dc, text, 3, 1));
}

} // namespace

namespace {

TEST(OptionTree, ARightClickOnALabelSelectsItThenOffersItToTheOwner)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* row = f.Edit(category, "Name", "x");
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    f.owner.Clear();
    PlayMouse(WM_RBUTTONDOWN, f.LabelPoint(row));
    PlayMouse(WM_RBUTTONUP, f.LabelPoint(row));
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_RCLICK }), f.owner.codes);
    EXPECT_EQ(row, f.owner.rows.back());
    EXPECT_TRUE(row->IsSelected());
    f.owner.Clear();
    PlayMouse(WM_RBUTTONDOWN, f.ValuePoint(row));
    PlayMouse(WM_RBUTTONUP, f.ValuePoint(row));
    EXPECT_TRUE(f.owner.codes.empty());  // only labels answer
}

TEST(OptionTree, ALockedGridIgnoresTheMouseAndTheKeys)
{
    GridFixture f;
    COptionTreeItem* category = f.Category("Base");
    COptionTreeItem* row = f.Edit(category, "Name", "x");
    category->Expand(TRUE);
    f.grid.UpdateScroll();
    f.grid.SetInputLocked(TRUE);
    EXPECT_TRUE(f.grid.IsInputLocked());
    EXPECT_FALSE(f.owner.IsWindowEnabled());
    f.owner.Clear();
    CWnd* list = f.grid.GetListWnd();
    const CRect value = row->GetValueRect();
    list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(value.left + 10), WORD(value.top + 5)));
    list->SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(f.owner.codes.empty());
    EXPECT_FALSE(row->IsEditing());
    f.grid.SetInputLocked(FALSE);
    EXPECT_TRUE(f.owner.IsWindowEnabled());
    list->SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ((Codes{ OTN_SELCHANGED }), f.owner.codes);
}

} // namespace
