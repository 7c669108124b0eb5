// Pictures of a grid holding every further row kind (file, radio, link,
// image, spinner, IP address, date, font), idle, editing, read-only and
// disabled, written to test-output/ for review; the checks
// read the marks and texts the drawing rules give.
#include "GridFixture.h"

#include "ImageStrip.h"

#include "Controls/OptionTreeDateItem.h"
#include "Controls/OptionTreeFileItem.h"
#include "Controls/OptionTreeFontItem.h"
#include "Controls/OptionTreeFontSelDialog.h"
#include "Controls/OptionTreeHyperLinkItem.h"
#include "Controls/OptionTreeImageItem.h"
#include "Controls/OptionTreeIPAddressItem.h"
#include "Controls/OptionTreeImagePopup.h"
#include "Controls/OptionTreeRadioItem.h"
#include "Controls/OptionTreeSpinnerItem.h"
#include "Platform/Messages.h"
#include "Platform/SysColors.h"

#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string Output(const char* name)
{
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    return std::string(VEXAL_TEST_OUTPUT) + "/" + name;
}

struct MoreRows : GridFixture {
    COptionTreeItem* general = Category("More rows");
    COptionTreeFileItem* files = new COptionTreeFileItem;
    COptionTreeFileItem* none = new COptionTreeFileItem;
    COptionTreeRadioItem* radio = new COptionTreeRadioItem;
    COptionTreeHyperLinkItem* link = new COptionTreeHyperLinkItem;
    COptionTreeImageItem* image = new COptionTreeImageItem;
    COptionTreeSpinnerItem* spin = new COptionTreeSpinnerItem;
    COptionTreeIPAddressItem* address = new COptionTreeIPAddressItem;
    COptionTreeDateItem* date = new COptionTreeDateItem;
    COptionTreeFontItem* font = new COptionTreeFontItem;

    MoreRows() : GridFixture(420)
    {
        grid.InsertItem(files, general);
        files->SetLabelText("Files");
        EXPECT_TRUE(files->CreateFileItem("/srv/models/customer.fup", "", "", OT_FILE_SHOWFULLPATH, 0));
        files->AddFile("/srv/models/a very long path that runs past the column.fup");
        grid.InsertItem(none, general);
        none->SetLabelText("Nothing");
        EXPECT_TRUE(none->CreateFileItem("/gone/x.fup", "", "", OT_FILE_SHOWFILENAME, 0));
        grid.InsertItem(radio, general);
        radio->SetLabelText("Direction");
        EXPECT_TRUE(radio->CreateEditor());
        radio->AddOption("in", FALSE);
        radio->AddOption("out", TRUE);
        radio->AddOption("inout, with a text far too wide for its column", FALSE);
        grid.InsertItem(link, general);
        link->SetLabelText("Home page");
        EXPECT_TRUE(link->CreateEditor(OT_HYPERLINK_UNDERLINE, "https://example.com/vexal", RGB(0, 0, 255),
                                       RGB(255, 0, 0), RGB(128, 0, 128)));
        grid.InsertItem(image, general);
        image->SetLabelText("Icon");
        EXPECT_TRUE(image->CreateEditor(OT_IMAGE_SHOWTEXT, 16, 16, 3));
        CBitmap strip;
        MakeImageStrip(strip, 16, { RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200), RGB(220, 180, 0) });
        image->AddImageBitmap(&strip, RGB(255, 0, 255), "Class");
        image->SetSelected(0);
        grid.InsertItem(spin, general);
        spin->SetLabelText("Count");
        EXPECT_TRUE(spin->CreateEditor(0, 100, 0, 100));
        grid.InsertItem(address, general);
        address->SetLabelText("Server");
        grid.InsertItem(date, general);
        date->SetLabelText("Created");
        EXPECT_TRUE(date->CreateEditor("dd MMM yyyy"));
        SYSTEMTIME day{};
        day.wYear = 2024;
        day.wMonth = 2;
        day.wDay = 28;
        EXPECT_TRUE(date->SetTime(&day));
        grid.InsertItem(font, general);
        font->SetLabelText("Font");
        LOGFONT serif{};
        std::strcpy(serif.lfFaceName, "Liberation Serif");
        serif.lfHeight = -15;
        EXPECT_TRUE(font->CreateFontItem(serif, RGB(0, 0, 160), OT_FS_SAMPLETEXT));
        font->SetSampleText("Customer");
        Edit(general, "Name", "Customer");
        general->Expand(TRUE);
        grid.UpdateScroll();
        EXPECT_TRUE(address->CreateEditor());
        address->SetAddress(192, 168, 0, 10);
        grid.UpdateScroll();
    }
    void Save(const char* name) { EXPECT_TRUE(SaveWindowPicture(owner.GetSafeHwnd(), Output(name).c_str())); }
};

TEST(MoreRowsPictures, IdleEditingReadOnlyAndDisabled)
{
    {
        MoreRows g;
        g.Save("property_grid_more_rows.png");
        EXPECT_EQ(CString("No selection made."), g.none->GetShownText());
        g.Click(g.ValuePoint(g.radio));
        g.radio->UpdateWindow();
        g.Save("property_grid_more_rows_editing.png");
        EXPECT_TRUE(g.radio->IsWindowVisible());
    }
    {
        MoreRows g;
        for (COptionTreeItem* row : std::initializer_list<COptionTreeItem*>{ g.radio, g.files, g.link, g.image, g.spin,
                                                                            g.address, g.date, g.font })
            row->SetReadOnly(TRUE);
        g.grid.GetListWnd()->Invalidate();
        g.Save("property_grid_more_rows_readonly.png");
    }
    {
        MoreRows g;
        g.grid.EnableWindow(FALSE);
        g.Save("property_grid_more_rows_disabled.png");
        EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), g.link->TextColor());
    }
}

TEST(MoreRowsPictures, TheSpinnerWithItsTopReachedAndTheImagePopup)
{
    MoreRows g;
    g.Click(g.ValuePoint(g.spin));
    g.spin->UpdateWindow();
    EXPECT_TRUE(g.spin->IsUpInactive());
    g.Save("property_grid_spinner.png");
    struct Case {
        const char* file;
        int images;
        int selected;
        int hot;  // cell under the mouse, -1 for none
    };
    for (const Case& c : { Case{ "image_popup_hot.png", 4, 1, 2 }, Case{ "image_popup_selected.png", 4, 1, -1 },
                           Case{ "image_popup_empty.png", 0, -1, -1 } }) {
        CImageList images;
        images.Create(16, 16, ILC_COLORDDB | ILC_MASK, 1, 100);
        CStringArray tips;
        if (c.images > 0) {
            CBitmap strip;
            MakeImageStrip(strip, 16, { RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200), RGB(220, 180, 0) });
            images.Add(&strip, RGB(255, 0, 255));
        }
        new COptionTreeImagePopup(CPoint(500, 400), 16, 16, 3, &images, &g.grid, tips, c.selected, &g.owner);
        auto* popup = dynamic_cast<COptionTreeImagePopup*>(CWnd::GetCapture());
        ASSERT_NE(nullptr, popup);
        if (c.hot >= 0) {
            CPoint at = popup->GetCellRect(c.hot).CenterPoint();
            popup->ClientToScreen(&at);
            PlayMouse(WM_MOUSEMOVE, at);
        }
        popup->UpdateWindow();
        EXPECT_TRUE(SaveWindowPicture(popup->GetSafeHwnd(), Output(c.file).c_str()));
        PlayMouse(WM_LBUTTONUP, CPoint(5, 5));
        EXPECT_EQ(nullptr, CWnd::GetCapture());
    }
}

} // namespace
