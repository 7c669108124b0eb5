// The file dialog wrapper through the dialog hook: the filter it gives the
// dialog, the pieces of the chosen path and a multiple selection.
#include "FileAnswer.h"

#include "Controls/OptionTreeFileDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(FileDialog, TheFilterBecomesDescriptionAndPatternPairs)
{
    FileAnswer answer("/work/model.fup");
    COptionTreeFileDialog dialog;
    dialog.Setup(TRUE, "fup", nullptr, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, "Projects (*.fup)|*.fup|", nullptr);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(DialogKind::FileOpen, answer.kind);
    EXPECT_EQ("Projects (*.fup)|*.fup|", answer.filter);
    EXPECT_EQ(DWORD(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER), answer.flags);
    EXPECT_STREQ("fup", dialog.GetRecord().lpstrDefExt);
}

TEST(FileDialog, TheChosenPathAnswersInPieces)
{
    struct Case {
        const char* path;
        const char* name;
        const char* ext;
        const char* folder;
    };
    const Case cases[] = {
        { "/home/ann/model.fup", "model", "fup", "/home/ann/" },
        { "/home/ann/README", "README", "", "/home/ann/" },
        { "/home/ann.v2/notes", "notes", "", "/home/ann.v2/" },
        { "/data/größe.xml", "größe", "xml", "/data/" },
    };
    for (const Case& c : cases) {
        FileAnswer answer(c.path);
        COptionTreeFileDialog dialog(FALSE, "fup", nullptr, OFN_OVERWRITEPROMPT, nullptr, nullptr);
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(DialogKind::FileSave, answer.kind);
        EXPECT_EQ(CString(c.path), dialog.GetPathName());
        EXPECT_EQ(CString(c.name), dialog.GetFileName());
        EXPECT_EQ(CString(c.ext), dialog.GetFileExt());
        EXPECT_EQ(CString(c.folder), dialog.GetFolder());
        EXPECT_EQ(CString(), dialog.GetDrive());
    }
    COptionTreeFileDialog none;
    EXPECT_EQ(CString(), none.GetFileName());
    EXPECT_EQ(CString(), none.GetFileExt());
}

TEST(FileDialog, AMultipleSelectionGivesEachFullPathThenEnds)
{
    FileAnswer answer(std::string("/tmp/d\0a.fup\0b.fup\0", 20));
    COptionTreeFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, nullptr, nullptr);
    ASSERT_EQ(IDOK, dialog.DoModal());
    POSITION pos = reinterpret_cast<POSITION>(const_cast<char*>(dialog.GetFileBuffer()));
    EXPECT_EQ(CString("/tmp/d/a.fup"), dialog.GetNextPathName(pos));
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(CString("/tmp/d/b.fup"), dialog.GetNextPathName(pos));
    EXPECT_EQ(nullptr, pos);
}

TEST(FileDialog, ASingleFileOfAMultipleSelectionIsTheWholeBuffer)
{
    for (DWORD flags : { DWORD(OFN_ALLOWMULTISELECT), DWORD(0) }) {
        FileAnswer answer("/tmp/d/a.fup");
        COptionTreeFileDialog dialog(TRUE, nullptr, nullptr, flags, nullptr, nullptr);
        ASSERT_EQ(IDOK, dialog.DoModal());
        POSITION pos = reinterpret_cast<POSITION>(const_cast<char*>(dialog.GetFileBuffer()));
        EXPECT_EQ(CString("/tmp/d/a.fup"), dialog.GetNextPathName(pos));
        EXPECT_EQ(nullptr, pos);
    }
}

TEST(FileDialog, AnInitialNameOfAnyLengthReachesTheDialogWhole)
{
    const std::string name = "/tmp/" + std::string(400, 'n') + ".fup";
    FileAnswer answer(name);
    COptionTreeFileDialog dialog(TRUE, "fup", name.c_str(), 0, nullptr, nullptr);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(name, answer.initial);
    EXPECT_EQ(CString(name.c_str()), dialog.GetPathName());
}

TEST(FileDialog, CancelAndTheFolderBrowserAnswerThroughTheHook)
{
    {
        FileAnswer answer("/x.fup", IDCANCEL);
        COptionTreeFileDialog dialog(TRUE, nullptr, nullptr, 0, nullptr, nullptr);
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    FileAnswer answer("/srv/help");
    COptionTreeFileDialog dialog;
    EXPECT_EQ(IDOK, dialog.BrowseForFolder("Folder", "/srv", BIF_RETURNONLYFSDIRS, nullptr));
    EXPECT_EQ(DialogKind::Folder, answer.kind);
    EXPECT_EQ("/srv", answer.initial);
    EXPECT_EQ(CString("/srv/help"), dialog.GetFolderPath());
}

} // namespace
