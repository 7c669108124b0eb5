#include "Scripting/ScriptPaths.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ScriptPaths, CanonicalForms)
{
    struct Case { const char* text; const char* want; };
    const Case cases[] = {
        {"C:\\a\\b\\..\\c", "C:/a/c"},
        {"  C:\\x\\ ", "C:/x"},
        {"file://C:\\x", "C:/x"},
        {"file:///tmp/a", "/tmp/a"},
        {"/a/b/../../c", "/c"},
        {"/a/../../c", "/c"},
        {"/a//b/./c", "/a/b/./c"},
        {"/", "/"},
        {"name.txt", "/start/dir/name.txt"},
        {"..\\up", "/start/up"},
        {"|pipe", "|pipe"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanonicalPath(c.text, "/start/dir"), c.want) << c.text;
    EXPECT_EQ(CanonicalPath("x", "/start/"), "/start/x");
}

TEST(ScriptPaths, FolderAndLastComponent)
{
    struct Case { const char* path; const char* folder; const char* last; };
    const Case cases[] = {
        {"/a/b", "/a", "b"},
        {"/a/b/", "/a", "b"},
        {"/a", "/", "a"},
        {"/", "/", ""},
        {"C:\\x\\y", "C:/x", "y"},
        {"C:/x", "C:/", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(PathLastComponent(c.path), c.last) << c.path;
    }
}

TEST(ScriptPaths, UrlsArePercentEncodedUtf8)
{
    EXPECT_EQ(FileUrl("/a b/\xC3\xBC"), "file:///a%20b/%C3%BC");
    EXPECT_EQ(FileUrl("/x-y_z.~1/%#?"), "file:///x-y_z.~1/%25%23%3F");
    EXPECT_EQ(FileUrl(""), "file://");
}

TEST(ScriptPaths, MakesWholeFolderPaths)
{
    ScratchFolder folder;
    std::string deep = folder.path;
    for (int i = 0; i < 40; ++i)
        deep += "/level" + std::to_string(i);
    std::string failed;
    EXPECT_TRUE(MakeFolder(deep, failed));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(MakeFolder(deep + "/", failed));
    EXPECT_TRUE(MakeFolder(folder.path, failed));

    ScratchFolder::Write(folder / "file", "x");
    EXPECT_FALSE(MakeFolder(folder / "file/sub/deeper", failed));
    EXPECT_EQ(failed, folder / "file");
    EXPECT_FALSE(MakeFolder(folder / "file", failed));
    EXPECT_EQ(failed, folder / "file");
    EXPECT_TRUE(MakeFolder(folder / "back\\slash", failed));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "back/slash"));
}

TEST(ScriptPaths, RemovesLinksNotTheirTargets)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "target/inner");
    std::filesystem::create_directory_symlink(folder / "target", folder / "link");
    EXPECT_EQ(RemovePath(folder / "link"), RemoveFailure::None);
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "link"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "target/inner"));

    EXPECT_EQ(RemovePath(folder / "target"), RemoveFailure::Folder);
    EXPECT_EQ(RemovePath(folder / "target/inner"), RemoveFailure::None);
    EXPECT_EQ(RemovePath(folder / "target"), RemoveFailure::None);
    EXPECT_EQ(RemovePath(folder / "missing"), RemoveFailure::None);

    ScratchFolder::Write(folder / "f", "x");
    EXPECT_EQ(RemovePath(folder / "f"), RemoveFailure::None);
    EXPECT_FALSE(std::filesystem::exists(folder / "f"));
}
