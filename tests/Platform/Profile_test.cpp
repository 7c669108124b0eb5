#include "Platform/CString.h"
#include "Platform/DialogHook.h"
#include "Platform/WinApp.h"
#include "Platform/Wnd.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        app = std::make_unique<CWinApp>("Vexal");
        app->SetRegistryKey("VexalUML");
    }
    QTemporaryDir dir;
    std::unique_ptr<CWinApp> app;
};

TEST_F(ProfileTest, ValuesRoundTripAndSurviveANewApplicationObject)
{
    EXPECT_TRUE(app->WriteProfileInt("Settings", "Zoom", -150));
    EXPECT_TRUE(app->WriteProfileString("Bar-SCBar-1", "sizeHorz", "200 / 30"));
    const BYTE bytes[] = { 0, 1, 2, 255 };
    EXPECT_TRUE(app->WriteProfileBinary("Settings", "Blob", bytes, sizeof bytes));

    app = std::make_unique<CWinApp>("Vexal");
    app->SetRegistryKey("VexalUML");
    EXPECT_EQ(UINT(-150), app->GetProfileInt("Settings", "Zoom", 7));
    EXPECT_STREQ("200 / 30", app->GetProfileString("Bar-SCBar-1", "sizeHorz"));
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(app->GetProfileBinary("Settings", "Blob", &data, &size));
    ASSERT_EQ(sizeof bytes, size);
    EXPECT_EQ(0, memcmp(bytes, data, size));
    delete[] data;

    // Missing values and text where a number was wanted give the default.
    EXPECT_EQ(7u, app->GetProfileInt("Settings", "Missing", 7));
    EXPECT_EQ(7u, app->GetProfileInt("Bar-SCBar-1", "sizeHorz", 7));
    EXPECT_STREQ("none", app->GetProfileString("Nowhere", "x", "none"));
    // Section names may hold slashes without making sub-sections.
    EXPECT_TRUE(app->WriteProfileString("a/b", "c", "1"));
    EXPECT_STREQ("1", app->GetProfileString("a/b", "c"));
    EXPECT_STREQ("", app->GetProfileString("a", "b/c"));
}

TEST_F(ProfileTest, NullValueRemovesEntryAndNullEntryTheSection)
{
    app->WriteProfileString("S", "one", "1");
    app->WriteProfileString("S", "two", "2");
    app->WriteProfileString("S", "one", nullptr);
    EXPECT_STREQ("gone", app->GetProfileString("S", "one", "gone"));
    EXPECT_STREQ("2", app->GetProfileString("S", "two"));
    app->WriteProfileString("S", nullptr, nullptr);
    EXPECT_STREQ("gone", app->GetProfileString("S", "two", "gone"));
}

// A batch holds the writes back to its end and writes the bytes that one
// write out per value would have written; its reads see its writes.
TEST_F(ProfileTest, ABatchWritesOnceAtItsEndWhatSeparateWritesWould)
{
    const QString file = dir.path() + "/VexalUML/Vexal.ini";
    const auto write = [this] {
        app->WriteProfileString("Bar-1", "sizeHorz", "200 / 30");
        app->WriteProfileInt("Bar-1", "Visible", 1);
        app->WriteProfileString("Bar-1", nullptr, nullptr);
        app->WriteProfileInt("Bar-1", "XPos", -2);
        const BYTE bytes[] = { 1, 2 };
        app->WriteProfileBinary("Summary", "Blob", bytes, sizeof bytes);
    };
    const auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    write();
    const QByteArray separate = read(file);
    ASSERT_FALSE(separate.isEmpty());
    ASSERT_TRUE(QFile::remove(file));
    {
        CProfileWriteBatch batch;
        {
            CProfileWriteBatch inner;
            write();
        }
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_EQ(UINT(-2), app->GetProfileInt("Bar-1", "XPos", 0));
        EXPECT_STREQ("", app->GetProfileString("Bar-1", "sizeHorz"));
    }
    EXPECT_EQ(read(file), separate);
}

TEST(DialogHook, AnswersMessageBoxesWithoutAWindow)
{
    std::vector<std::string> asked;
    DialogHook old = AfxSetDialogHook([&](DialogRequest& r, INT_PTR* answer) {
        if (r.kind != DialogKind::MessageBox)
            return false;
        asked.push_back(std::string(r.title) + ": " + r.text);
        *answer = (r.style & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
        return true;
    });
    CWinApp app("Vexal");
    EXPECT_EQ(IDNO, AfxMessageBox("The project files were changed, save it or not?", MB_YESNOCANCEL));
    EXPECT_EQ(IDOK, MessageBox(nullptr, "Done", "Script", MB_OK | MB_ICONINFORMATION));
    const std::vector<std::string> expected = { "Vexal: The project files were changed, save it or not?",
                                                "Script: Done" };
    EXPECT_EQ(expected, asked);

    // Without a hook and without a display, the default button answers.
    AfxSetDialogHook(nullptr);
    EXPECT_EQ(IDNO, AfxMessageBox("q", MB_YESNOCANCEL | MB_DEFBUTTON2));
    EXPECT_EQ(IDCANCEL, AfxMessageBox("q", MB_OKCANCEL | MB_DEFBUTTON2));
    DialogRequest request = { DialogKind::FileOpen, nullptr, "Open", "", 0, 0, nullptr };
    EXPECT_EQ(IDCANCEL, AfxRunModal(request, [] { return INT_PTR(IDOK); }));
    AfxSetDialogHook(old);
}

} // namespace

#include "Platform/CommandLine.h"

namespace {

TEST_F(ProfileTest, RecentFileListKeepsTheLatestFirstAndIsSavedOnExit)
{
    app->WriteProfileString("Recent File List", "File1", "/p/old.fup");
    app->LoadStdProfileSettings(4);
    for (const char* path : { "/p/a.fup", "/p/b.fup", "/p/old.fup", "/p/c.fup", "/p/d.fup", "" })
        app->AddToRecentFileList(path);
    ASSERT_EQ(4, app->GetRecentFileCount());
    EXPECT_STREQ("/p/d.fup", app->GetRecentFile(0));
    EXPECT_STREQ("/p/old.fup", app->GetRecentFile(2));
    EXPECT_STREQ("/p/b.fup", app->GetRecentFile(3));
    EXPECT_EQ(nullptr, app->GetRecentFile(4));
    app->ExitInstance();
    EXPECT_STREQ("/p/c.fup", app->GetProfileString("Recent File List", "File2"));
    EXPECT_STREQ("/p/b.fup", app->GetProfileString("Recent File List", "File4"));
}

TEST(CommandLine, ParametersAndFlags)
{
    struct Case {
        std::vector<std::pair<const char*, bool>> params;
        int command;
        const char* file;
    } cases[] = {
        { {}, CCommandLineInfo::FileNew, "" },
        { { { "/home/u/model.fup", false } }, CCommandLineInfo::FileOpen, "/home/u/model.fup" },
        { { { "p", true }, { "x.fup", false } }, CCommandLineInfo::FilePrint, "x.fup" },
        { { { "Unregserver", true } }, CCommandLineInfo::AppUnregister, "" },
        { { { "a.fup", false }, { "b.fup", false } }, CCommandLineInfo::FileOpen, "a.fup" },
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.params.size(); ++i)
            info.ParseParam(c.params[i].first, c.params[i].second, i + 1 == c.params.size());
        EXPECT_EQ(c.command, int(info.m_nShellCommand)) << c.file;
        EXPECT_STREQ(c.file, info.m_strFileName);
    }
}

} // namespace
