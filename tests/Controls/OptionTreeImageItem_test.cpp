// The image row: its geometry and shown text, the grey image of a row that
// cannot be edited, and the picker's single report reaching the owner as
// one commit, only when the value changed.
#include "GridFixture.h"
#include "ImageStrip.h"

#include "Controls/OptionTreeImageItem.h"
#include "Controls/OptionTreeImagePopup.h"
#include "Platform/Messages.h"

namespace {

using Codes = std::vector<int>;

struct ImagePane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeEditItem* name = Edit(general, "Name", "x");
    COptionTreeImageItem* image = new COptionTreeImageItem;

    explicit ImagePane(int selected = 1, DWORD options = OT_IMAGE_SHOWTEXT)
    {
        grid.InsertItem(image, general);
        image->SetLabelText("Icon");
        EXPECT_TRUE(image->CreateEditor(options, 32, 32, 3));
        CBitmap strip;
        MakeImageStrip(strip, 32, { RGB(255, 0, 0), RGB(0, 200, 0), RGB(0, 0, 255) });
        image->AddImageBitmap(&strip, RGB(255, 0, 255), "strip");
        image->SetSelected(selected);
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    COLORREF Pixel(int dx, int dy)
    {
        grid.GetListWnd()->UpdateWindow();
        CDC* dc = grid.GetListWnd()->GetDC();
        const CRect v = image->GetValueRect();
        const COLORREF c = dc->GetPixel(v.left + dx, v.top + dy);
        grid.GetListWnd()->ReleaseDC(dc);
        return c;
    }
    // Opens the picker as a user would: value click, then a click on the editor.
    COptionTreeImagePopup* OpenPicker()
    {
        Click(ValuePoint(image));
        image->UpdateWindow();
        Click(ValuePoint(image));
        return dynamic_cast<COptionTreeImagePopup*>(CWnd::GetCapture());
    }
};

TEST(ImageRow, TheValueShowsTheChosenImageOrNoSelection)
{
    struct Case {
        int selected;
        DWORD options;
        const char* shown;
    };
    const Case cases[] = { { 0, OT_IMAGE_SHOWTEXT, "strip" }, { 1, OT_IMAGE_SHOWTEXT, "" }, { 2, 0, "" },
                           { 3, OT_IMAGE_SHOWTEXT, "No selection made." },
                           { -1, OT_IMAGE_SHOWTEXT, "No selection made." },
                           { -5, OT_IMAGE_SHOWTEXT, "No selection made." } };
    for (const Case& c : cases) {
        ImagePane p(c.selected, c.options);
        EXPECT_EQ(CString(c.shown), p.image->GetShownText()) << c.selected;
        EXPECT_EQ(52, p.image->GetHeight());
        EXPECT_EQ(3, p.image->GetImageCount());
        // The image sits 10 pixels down and 1 right; nothing is drawn for an index outside the list.
        const bool drawn = c.selected >= 0 && c.selected < 3;
        EXPECT_EQ(drawn, p.Pixel(5, 14) != p.image->GetValueBackColor()) << c.selected;
    }
}

TEST(ImageRow, ARowThatCannotBeEditedShowsItsImageGreyWithBlackKept)
{
    ImagePane p(0);
    EXPECT_EQ(RGB(255, 0, 0), p.Pixel(5, 14));
    p.image->SetReadOnly(TRUE);
    p.grid.GetListWnd()->Invalidate();
    const int grey = int(0.299 * 255);
    EXPECT_EQ(RGB(grey, grey, grey), p.Pixel(5, 14));
    EXPECT_EQ(RGB(0, 0, 0), p.Pixel(1 + 16, 10 + 16));
    COptionTreeImageItem loose;
    EXPECT_FALSE(loose.CreateEditor(0, 16, 16, 3));
    EXPECT_EQ(OT_ITEM_IMAGE, loose.GetType());
}

TEST(ImageRow, ThePickersReportCommitsOnceAndOnlyAChangeIsNotified)
{
    enum End { Enter, Escape, ClickCell, ClickOutside };
    struct Case {
        End end;
        Codes codes;
        int selected;
    };
    const Case cases[] = {
        { Enter, { OTN_ITEMCOMMITTED }, 2 },      // the arrowed index is picked
        { Escape, {}, 1 },                        // the arrowed index is dropped
        { ClickCell, { OTN_ITEMCOMMITTED }, 0 },
        { ClickOutside, {}, 1 },
    };
    for (const Case& c : cases) {
        ImagePane p(1);
        COptionTreeImagePopup* popup = p.OpenPicker();
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
        p.owner.Clear();
        PlayKey(VK_RIGHT);
        switch (c.end) {
        case Enter:
            PlayKey(VK_RETURN);
            break;
        case Escape:
            PlayKey(VK_ESCAPE);
            break;
        case ClickCell: {
            CPoint cell = popup->GetCellRect(0).CenterPoint();
            popup->ClientToScreen(&cell);
            p.Click(cell);
            break;
        }
        case ClickOutside:
            p.Click(CPoint(5, 5));
            break;
        }
        EXPECT_EQ(c.codes, p.owner.codes) << c.end;
        EXPECT_EQ(c.selected, p.image->GetSelected()) << c.end;
        EXPECT_FALSE(p.image->IsEditing());
        p.owner.Clear();
        p.Click(p.ValuePoint(p.name));
        EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes) << c.end;
    }
}

} // namespace
