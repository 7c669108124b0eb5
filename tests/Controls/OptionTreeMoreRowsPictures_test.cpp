// Pictures of a grid holding the file and radio rows, idle, editing,
// read-only and disabled, written to test-output/ for review; the checks
// read the marks and texts the drawing rules give.
#include "GridFixture.h"

#include "Controls/OptionTreeFileItem.h"
#include "Controls/OptionTreeRadioItem.h"
#include "Platform/SysColors.h"

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

    MoreRows() : GridFixture(330)
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
        Edit(general, "Name", "Customer");
        general->Expand(TRUE);
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
        g.radio->SetReadOnly(TRUE);
        g.files->SetReadOnly(TRUE);
        g.grid.Invalidate();
        g.Save("property_grid_more_rows_readonly.png");
    }
    {
        MoreRows g;
        g.grid.EnableWindow(FALSE);
        g.Save("property_grid_more_rows_disabled.png");
    }
}

} // namespace
