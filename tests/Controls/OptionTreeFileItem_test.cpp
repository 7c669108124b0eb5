// The file row: what its value shows of the chosen paths under each option,
// the dialogs it runs when its value is clicked, the commit and the height
// a choice or an added file gives it, and a cancel that changes nothing.
#include "FileAnswer.h"
#include "GridFixture.h"

#include "Controls/OptionTreeFileItem.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Codes = std::vector<int>;

struct FilePane : GridFixture {
    COptionTreeItem* general = Category("General");
    COptionTreeEditItem* name = Edit(general, "Name", "x");
    COptionTreeFileItem* file = new COptionTreeFileItem;

    FilePane(const char* initial, DWORD options, DWORD dialogFlags = 0)
    {
        grid.InsertItem(file, general);
        file->SetLabelText("File");
        EXPECT_TRUE(file->CreateFileItem(initial, "fup", "Projects (*.fup)|*.fup|", options, dialogFlags));
        general->Expand(TRUE);
        grid.UpdateScroll();
        grid.SelectAll(FALSE);
        owner.Clear();
    }
    long LineHeight()
    {
        LOGFONT font{};
        COptionTree::GetNormalFont()->GetLogFont(&font);
        return std::labs(font.lfHeight) + 3;
    }
};

std::string TempFolder()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vexal_file_row";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "model.fup") << "x";
    std::ofstream(folder / "README") << "x";
    return folder.string() + "/";
}

TEST(FileRow, TheValueShowsThePathsByTheFirstOptionSet)
{
    const std::string dir = TempFolder();
    const std::string model = dir + "model.fup";
    const std::string plain = dir + "README";
    const std::string missing = dir + "gone.txt";
    struct Case {
        std::vector<std::string> paths;
        DWORD options;
        std::string shown;
    };
    const Case cases[] = {
        { { model, missing }, OT_FILE_SHOWFULLPATH | OT_FILE_SHOWFILENAME, model + "\r\n" + missing + "\r\n" },
        { { model, missing }, OT_FILE_SHOWFILENAME, "model.fup\r\n" },
        { { model, plain }, OT_FILE_SHOWFILETITLE, "model\r\nREADME\r\n" },
        { { model, plain }, OT_FILE_SHOWFILEEXT, "fup\r\n\r\n" },
        { { missing }, OT_FILE_SHOWFILEDIR, dir + "\r\n" },
        { { missing }, OT_FILE_SHOWFILENAME, "No selection made." },
        { { missing }, OT_FILE_SHOWFILEEXT, "No selection made." },
        { { model }, 0, "No selection made." },
        { {}, OT_FILE_SHOWFULLPATH, "No selection made." },
    };
    for (const Case& c : cases) {
        COptionTreeFileItem row;
        for (const std::string& path : c.paths)
            row.AddFile(path.c_str());
        row.SetOption(c.options, TRUE);
        EXPECT_EQ(CString(c.shown.c_str()), row.GetShownText()) << c.options << " " << c.paths.size();
    }
}

TEST(FileRow, AChoiceCommitsOnceAndSizesTheRowToItsPaths)
{
    FilePane p("/srv/old.fup", OT_FILE_SHOWFULLPATH | OT_FILE_OPENDIALOG, OFN_ALLOWMULTISELECT);
    const long setUp = p.file->GetHeight();
    {
        FileAnswer answer(std::string("/srv/d\0a.fup\0b.fup\0c.fup\0", 26));
        p.Click(p.ValuePoint(p.file));
        EXPECT_EQ(DialogKind::FileOpen, answer.kind);
        EXPECT_EQ("/srv/old.fup", answer.initial);
        EXPECT_EQ("Projects (*.fup)|*.fup|", answer.filter);
    }
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK, OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(CString("/srv/d/a.fup\r\n/srv/d/b.fup\r\n/srv/d/c.fup\r\n"), p.file->GetShownText());
    ASSERT_GT(3 * p.LineHeight(), setUp);
    EXPECT_EQ(3 * p.LineHeight() + 5, p.file->GetHeight());
    EXPECT_TRUE(p.file->IsLabelAtTop());
    p.owner.Clear();
    {
        FileAnswer answer("/srv/one.fup");
        p.Click(p.ValuePoint(p.file));
        EXPECT_EQ("/srv/d/a.fup", answer.initial);
    }
    EXPECT_EQ((Codes{ OTN_VALUECLICK, OTN_ITEMCOMMITTED }), p.owner.codes);
    EXPECT_EQ(setUp, p.file->GetHeight());
    EXPECT_FALSE(p.file->IsLabelAtTop());
    EXPECT_STREQ("/srv/one.fup", p.file->GetPathName());
}

TEST(FileRow, AnAddedFileRegrowsTheRowAndLaysOutTheRowsBelow)
{
    FilePane p("/srv/d/a.fup", OT_FILE_SHOWFULLPATH);
    COptionTreeTextItem* below = p.Text(p.general, "Below", "next row");
    p.grid.UpdateScroll();
    const long setUp = p.file->GetHeight();
    SCROLLINFO before = { sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0 };
    p.grid.GetListWnd()->GetScrollInfo(SB_VERT, &before, SIF_RANGE);
    p.file->AddFile("/srv/d/b.fup");
    p.file->AddFile("/srv/d/c.fup");
    ASSERT_GT(3 * p.LineHeight(), setUp);
    EXPECT_EQ(3 * p.LineHeight() + 5, p.file->GetHeight());
    EXPECT_TRUE(p.file->IsLabelAtTop());
    EXPECT_EQ(p.file->GetHeight() - 1, p.file->GetValueRect().Height());
    EXPECT_EQ(p.file->GetLocation().y + p.file->GetHeight(), below->GetLocation().y);
    SCROLLINFO after = { sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0 };
    p.grid.GetListWnd()->GetScrollInfo(SB_VERT, &after, SIF_RANGE);
    EXPECT_EQ(before.nMax + p.file->GetHeight() - setUp, after.nMax);
    std::filesystem::create_directories(VEXAL_TEST_OUTPUT);
    EXPECT_TRUE(SaveWindowPicture(p.owner.GetSafeHwnd(), VEXAL_TEST_OUTPUT "/property_grid_file_row_added.png"));
}

// Set-up takes the row's height as the one a short choice restores, so
// files added before it must leave that height alone.
TEST(FileRow, FilesAddedBeforeSetUpLeaveTheSetUpHeight)
{
    GridFixture g;
    COptionTreeItem* general = g.Category("General");
    auto* file = new COptionTreeFileItem;
    g.grid.InsertItem(file, general);
    file->AddFile("/srv/d/a.fup");
    file->AddFile("/srv/d/b.fup");
    EXPECT_EQ(OT_ROW_HEIGHT, file->GetHeight());
    EXPECT_FALSE(file->IsLabelAtTop());
    ASSERT_TRUE(file->CreateFileItem("/srv/d/c.fup", "", "", OT_FILE_SHOWFULLPATH | OT_FILE_OPENDIALOG, 0));
    FileAnswer answer("/srv/one.fup");
    file->BeginEdit();
    EXPECT_EQ(OT_ROW_HEIGHT, file->GetHeight());
}

TEST(FileRow, ACancelledDialogChangesNothingAndCommitsNothing)
{
    FilePane p("/srv/old.fup", OT_FILE_SHOWFULLPATH);
    const long height = p.file->GetHeight();
    FileAnswer answer("/srv/new.fup", IDCANCEL);
    p.Click(p.ValuePoint(p.file));
    EXPECT_EQ(DialogKind::FileSave, answer.kind);
    EXPECT_EQ((Codes{ OTN_SELCHANGED, OTN_VALUECLICK }), p.owner.codes);
    EXPECT_EQ(CString("/srv/old.fup\r\n"), p.file->GetShownText());
    EXPECT_EQ(height, p.file->GetHeight());
}

TEST(FileRow, TheFolderBrowserStartsAtTheLastChoice)
{
    FilePane p("", OT_FILE_SELECTDIR | OT_FILE_SHOWFULLPATH);
    EXPECT_EQ(CString(""), p.file->GetFolderPath());
    {
        FileAnswer answer("/srv/models");
        p.Click(p.ValuePoint(p.file));
        EXPECT_EQ(DialogKind::Folder, answer.kind);
        EXPECT_EQ("", answer.initial);
    }
    EXPECT_EQ(CString("/srv/models"), p.file->GetFolderPath());
    FileAnswer answer("/srv/other");
    p.file->BeginEdit();
    EXPECT_EQ("/srv/models", answer.initial);
    EXPECT_EQ(CString("/srv/other\r\n"), p.file->GetShownText());
}

TEST(FileRow, SetUpIsRefusedOutsideAGridAndTheEmptyInitialFileIsKept)
{
    COptionTreeFileItem loose;
    EXPECT_FALSE(loose.CreateFileItem("/a.fup", "fup", "", OT_FILE_SHOWFULLPATH, 0));
    EXPECT_EQ(0, loose.GetFiles().GetSize());
    EXPECT_FALSE(loose.GetOption(OT_FILE_SHOWFULLPATH));
    EXPECT_EQ(OT_ITEM_FILE, loose.GetType());
    EXPECT_EQ(CString("Select Folder"), loose.GetFolderTitle());
    FilePane p("", OT_FILE_SHOWFULLPATH | OT_FILE_OPENDIALOG);
    EXPECT_EQ(1, p.file->GetFiles().GetSize());
    FileAnswer answer("/srv/a.fup", IDCANCEL);
    p.file->BeginEdit();
    EXPECT_EQ("", answer.initial);
}

} // namespace
