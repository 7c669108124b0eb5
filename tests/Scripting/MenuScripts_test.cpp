// The shipped Tools scripts, run from their menu items on the fixture.
#include "ScriptFixture.h"

#include "File/ChmArchive.h"
#include "MemDB/dbCursor.h"
#include "Platform/CommonDialogs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class MenuScripts : public ScriptFixture {
protected:
    void SetUp() override
    {
        fs::create_directories(shell.Folder() + "Script");
        for (const auto& entry : fs::directory_iterator(fs::path(VEXAL_SOURCE_DIR) / "Script"))
            fs::copy(entry.path(), fs::path(shell.Folder()) / "Script" / entry.path().filename());
        ScriptFixture::SetUp();
    }

    // Chooses the Tools item with the text; the Messages lines it added.
    Lines Choose(const std::string& text)
    {
        const size_t before = shell.Messages().size();
        for (const MenuItemState& item : shell.MenuItems({ 3 })) {
            if (item.text == text)
                shell.Command(item.id);
        }
        Lines lines = shell.Messages();
        lines.erase(lines.begin(), lines.begin() + before);
        return lines;
    }
};

TEST_F(MenuScripts, ModelStatisticsCountsTheModelsElementsPerMetaclass)
{
    EXPECT_EQ(Choose("Model statistics"), (Lines{ "Model statistics: 6 elements", "Attribute: 1", "Class: 2", "Comment: 1",
                                                  "Operation: 1", "Package: 1" }));
    shell.Command(57602);
    EXPECT_EQ(Choose("Model statistics"), Lines{ "There is no project opened" });
}

TEST_F(MenuScripts, ExportHtmlCompilesTheCheckedElement)
{
    EXPECT_EQ(Choose("Export HTML"), Lines{ "Check the element to export in the model browser" });
    shell.Frame()->LocateElement(ElementId("Core"));
    const Lines lines = Choose("Export HTML");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Exported the help of element " + std::to_string(ElementId("Core")));
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(shell.Folder() + "Demo/Core.chm"));
    const std::string core = "/Package" + std::to_string(ElementId("Core"));
    const std::string alpha = core + "/Class" + std::to_string(ElementId("Alpha"));
    for (const std::string& topic :
         { core + ".htm", alpha + ".htm", alpha + "/Attribute" + std::to_string(ElementId("count")) + ".htm",
           alpha + "/Operation" + std::to_string(ElementId("run")) + ".htm",
           core + "/Class" + std::to_string(ElementId("Beta")) + ".htm",
           core + "/Comment" + std::to_string(ElementId("note")) + ".htm", std::string("/Core.hhc") })
        EXPECT_TRUE(archive.Contains(topic)) << topic;
}

// The list is UTF-8 in the model's order, owners first; a cancelled
// dialog writes nothing.
TEST_F(MenuScripts, ExportElementListWritesTheModelAsUtf8Lines)
{
    {
        dbTypedCursor<ModelT> cursor(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_EQ(cursor.SelectByKey("Name", "Beta"), 1);
        ModelT row = *cursor.GetRecord();
        row.Name = "B\xC3\xA9ta";
        theModelDb.UpdateRecord(cursor.GetCurrentOid(), &ModelT::TableInfo, &row);
        theModelDb.Commit();
    }
    const std::string path = shell.Folder() + "list.txt";
    shell.Queue({ DialogKind::FileSave, IDCANCEL, nullptr });
    EXPECT_EQ(Choose("Export element list"), Lines{});
    shell.Queue({ DialogKind::FileSave, IDOK, [&](DialogRequest& request) {
                     auto* ofn = static_cast<OPENFILENAME*>(request.data);
                     std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", path.c_str());
                 } });
    EXPECT_EQ(Choose("Export element list"), Lines{ "Exported 6 elements to " + path });
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto line = [](const char* name, const char* type, const std::string& text) {
        return std::to_string(ElementId(name)) + "\t" + type + "\t" + text + "\n";
    };
    EXPECT_EQ(bytes, line("Core", "Package", "Core") + line("Alpha", "Class", "Alpha") +
                         line("count", "Attribute", "count") + line("run", "Operation", "run") +
                         line("B\xC3\xA9ta", "Class", "B\xC3\xA9ta") + line("note", "Comment", "note"));
}

} // namespace
