// The combo box beyond the drop-down list: the drop-down's edit and what
// it announces, sorted entries, entries drawn by the owner, and the
// parent told of every entry with item data that goes.
#include "WndFixture.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "Platform/CString.h"
#include "Platform/ComboBox.h"
#include "Platform/Dc.h"
#include "Platform/Edit.h"
#include "Platform/Playback.h"

namespace {

// Notes the entries it is told are gone and paints each entry in the
// colour its item data holds.
class OwnedCombo : public CComboBox {
public:
    Log deleted;
    Log drawn;
    void DeleteItem(LPDELETEITEMSTRUCT item) override
    {
        deleted.push_back(Fmt("%u:%lu", item->itemID, static_cast<unsigned long>(item->itemData)));
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        CString text;
        GetLBText(int(item->itemID), text);
        drawn.push_back(Fmt("%u %s %d", item->itemID, static_cast<const char*>(text),
                            (item->itemState & ODS_SELECTED) ? 1 : 0));
        CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, COLORREF(item->itemData));
    }
};

std::string TextOf(CWnd& w)
{
    std::string text(size_t(w.GetWindowTextLength()) + 1, '\0');
    w.GetWindowText(text.data(), int(text.size()));
    text.resize(text.size() - 1);
    return text;
}

struct DropDown {
    CommandParent parent;
    OwnedCombo combo;
    explicit DropDown(DWORD style = CBS_DROPDOWN)
    {
        CreateTop(parent, 300, 300, 220, 200);
        EXPECT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(10, 10, 150, 130), &parent, 9));
        for (const char* s : { "8", "9", "10", "72" })
            combo.AddString(s);
    }
    CEdit* Edit() { return static_cast<CEdit*>(combo.GetDlgItem(1001)); }
};

TEST(ComboBoxDropDown, TypingIsAnnouncedAndLeavesNoEntrySelected)
{
    DropDown f;
    ASSERT_NE(nullptr, f.Edit());
    f.combo.SetCurSel(1);
    EXPECT_EQ("9", TextOf(f.combo));
    EXPECT_EQ(MAKELONG(0, 1), LONG(f.combo.GetEditSel()));  // the entry's text, all selected
    f.combo.SetFocus();
    EXPECT_EQ(f.Edit()->GetSafeHwnd(), ::GetFocus());
    f.parent.log.clear();
    PlayText("7");
    EXPECT_EQ("7", TextOf(f.combo));
    EXPECT_EQ(CB_ERR, f.combo.GetCurSel());
    EXPECT_EQ(Log{ "9:5" }, f.parent.log);  // CBN_EDITCHANGE

    f.parent.log.clear();
    f.combo.SetCurSel(3);
    f.combo.SetWindowText("10");
    EXPECT_EQ("10", TextOf(f.combo));
    EXPECT_EQ(2, f.combo.GetCurSel());  // the entry of that text
    EXPECT_EQ(Log{}, f.parent.log);     // the program's own text is not announced

    f.combo.SetEditSel(1, -1);
    EXPECT_EQ(MAKELONG(1, 2), LONG(f.combo.GetEditSel()));
}

TEST(ComboBoxDropDown, ListKeysInTheEditMoveTheSelection)
{
    DropDown f;
    f.combo.SetCurSel(0);
    f.combo.SetFocus();
    f.parent.log.clear();
    PlayKey(VK_DOWN);
    PlayKey(VK_DOWN);
    EXPECT_EQ(2, f.combo.GetCurSel());
    EXPECT_EQ("10", TextOf(f.combo));
    EXPECT_EQ((Log{ "9:1", "9:1" }), f.parent.log);  // CBN_SELCHANGE, no CBN_EDITCHANGE
    EXPECT_EQ(f.Edit()->GetSafeHwnd(), ::GetFocus());
}

TEST(ComboBoxDropDown, ADropDownListHasNoEdit)
{
    DropDown f(CBS_DROPDOWNLIST);
    EXPECT_EQ(nullptr, f.Edit());
    EXPECT_EQ(DWORD(CB_ERR), f.combo.GetEditSel());
}

TEST(ComboBoxSort, AddedEntriesTakeTheirPlaceCaseIgnored)
{
    CommandParent parent;
    CreateTop(parent, 300, 300, 200, 200);
    struct Case {
        DWORD style;
        std::vector<std::pair<const char*, int>> added;  // text, index answered
        Log order;
    };
    const Case cases[] = {
        { CBS_SORT, { { "Times", 0 }, { "arial", 0 }, { "Arial Black", 1 }, { "Courier", 2 }, { "zapf", 4 } },
          { "arial", "Arial Black", "Courier", "Times", "zapf" } },
        { 0, { { "Times", 0 }, { "arial", 1 }, { "Courier", 2 } }, { "Times", "arial", "Courier" } },
    };
    for (const Case& c : cases) {
        CComboBox combo;
        ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | c.style, CRect(0, 0, 100, 100), &parent, 3));
        for (const auto& [text, index] : c.added)
            EXPECT_EQ(index, combo.AddString(text)) << text;
        Log order;
        for (int i = 0; i < combo.GetCount(); ++i) {
            CString text;
            combo.GetLBText(i, text);
            order.push_back(static_cast<const char*>(text));
        }
        EXPECT_EQ(c.order, order);
        combo.DestroyWindow();
    }
}

TEST(ComboBoxDeleteItem, EveryEntryWithDataThatGoesIsReported)
{
    DropDown f;
    for (int i = 0; i < 4; ++i)
        f.combo.SetItemData(i, DWORD_PTR(i == 1 ? 0 : 100 + i));
    f.combo.DeleteString(2);
    EXPECT_EQ(Log{ "2:102" }, f.combo.deleted);
    f.combo.AddString("12");
    f.combo.SetItemData(3, 7);
    f.combo.ResetContent();
    EXPECT_EQ((Log{ "2:102", "3:7", "2:103", "0:100" }), f.combo.deleted);  // entry 1 holds no data
    f.combo.AddString("14");
    f.combo.SetItemData(0, 9);
    f.combo.DestroyWindow();
    EXPECT_EQ((Log{ "2:102", "3:7", "2:103", "0:100", "0:9" }), f.combo.deleted);
}

TEST(ComboBoxOwnerDraw, TheDroppedListShowsWhatTheOwnerDraws)
{
    DropDown f(CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    const COLORREF colours[] = { RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(250, 200, 0) };
    for (int i = 0; i < 4; ++i)
        f.combo.SetItemData(i, colours[i]);
    f.combo.SetCurSel(2);
    f.combo.ShowDropDown(TRUE);
    auto* shown = WndClientWidget(f.combo.GetSafeHwnd())->findChild<QComboBox*>();
    ASSERT_NE(nullptr, shown);
    QAbstractItemView* list = shown->view();
    const QImage picture = list->grab().toImage();
    for (int i = 0; i < 4; ++i) {
        const QRect r = list->visualRect(list->model()->index(i, 0));
        ASSERT_FALSE(r.isEmpty()) << i;
        const QColor c = picture.pixelColor(r.center());
        EXPECT_EQ(RGB(c.red(), c.green(), c.blue()), colours[i]) << i;
    }
    EXPECT_NE(f.combo.drawn.end(), std::find(f.combo.drawn.begin(), f.combo.drawn.end(), "2 10 1"));
    EXPECT_NE(f.combo.drawn.end(), std::find(f.combo.drawn.begin(), f.combo.drawn.end(), "3 72 0"));
    f.combo.ShowDropDown(FALSE);
}

} // namespace
