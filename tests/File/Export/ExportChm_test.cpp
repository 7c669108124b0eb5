// The help export of a fixture model compiled by chmcmd: the project files
// byte for byte, the compiled file read back whole, and the Messages lines.
#include "ChmChecks.h"
#include "ExportFixture.h"

#include "File/ChmArchive.h"

#include <algorithm>
#include <cstdlib>

namespace {

const std::string kHhcHead = "<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param "
                             "name=\"Window Styles\" value=\"0x827\"></OBJECT>\r\n<UL>\r\n";
const std::string kHhkHead = "<HTML><HEAD></HEAD><BODY><UL>\r\n";
const std::string kTail = "</UL></BODY></HTML>\r\n";

std::string Entry(const std::string& name, const std::string& local)
{
    return "<LI><OBJECT TYPE=\"text/sitemap\">\r\n<PARAM NAME=\"Name\" VALUE=\"" + name +
           "\">\r\n<PARAM NAME=\"Local\" VALUE=\"" + local + ".htm\">\r\n</OBJECT>\r\n";
}

std::string ProjectHead(const std::string& name, const std::string& topic, const std::string& style)
{
    return "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=" + name +
           ".chm\r\nDefault Window=Main\r\nDefault topic=" + topic +
           "\r\nDefault font=\xE5\xAE\x8B\xE4\xBD\x93,9,1\r\nContents file=" + name + ".hhc\r\nIndex file=" + name +
           ".hhk\r\nDisplay compile progress=Yes\r\nFull-text search=Yes\r\nLanguage=0x804 "
           "\xE4\xB8\xAD\xE6\x96\x87(\xE4\xB8\xAD\xE5\x9B\xBD)\r\n[WINDOWS]\r\nMain=\"" +
           name + "\",\"" + name + ".hhc\",\"" + name + ".hhk\",\"" + topic + "\",\"" + topic + "\",,,,," + style +
           ",180,0x10304e,[0,0,800,600],0x0,0x0,,,,,0\r\n\r\n[FILES]\r\n";
}

class ExportChm : public ExportFixture {
protected:
    // A package with a class of two attributes and a diagram of two pages,
    // named with markup characters, a separator and UTF-8.
    void MakeModel()
    {
        package = Add(0, "Package", "Pkg <&\"/\xC3\xA9>");
        cls = Add(package, "Class", "A<B>");
        first = Add(cls, "Attribute", "x&y");
        second = Add(cls, "Attribute", "z");
        diagram = Add(package, "Classdiagram", "D\"1");
        Add(diagram, "Page", "Second");
    }
    std::string P(const char* key, int id) const { return key + std::to_string(id); }

    int package = 0, cls = 0, first = 0, second = 0, diagram = 0;
    const std::string name = "Pkg _&__\xC3\xA9_";
};

TEST_F(ExportChm, WritesTheProjectFilesCompilesAndRemovesOnlyItsWork)
{
    MakeModel();
    ASSERT_TRUE(::ExportChm(package, (dir + "out").c_str())) << ::testing::PrintToString(theMessages);

    const std::string pkg = P("Package", package);
    const std::string classPath = pkg + "/" + P("Class", cls);
    const std::string diagramPath = pkg + "/" + P("Classdiagram", diagram);
    // The project files as chmcmd read them stay inside the compiled file.
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(dir + name + ".chm"));
    std::string hhp, hhc, hhk;
    ASSERT_TRUE(archive.Read("/" + name + ".hhc", hhc));
    ASSERT_TRUE(archive.Read("/" + name + ".hhk", hhk));
    EXPECT_EQ(hhc, kHhcHead + Entry("Pkg &lt;&amp;&quot;/\xC3\xA9&gt;", pkg) + "<UL>\r\n" +
                       Entry("A&lt;B&gt;", classPath) + "<UL>\r\n" +
                       Entry("x&amp;y", classPath + "/" + P("Attribute", first)) +
                       Entry("z", classPath + "/" + P("Attribute", second)) + "</UL>\r\n" +
                       Entry("D&quot;1", diagramPath) + "</UL>\r\n" + kTail);
    EXPECT_EQ(hhk, kHhkHead + Entry("Pkg &lt;&amp;&quot;/\xC3\xA9&gt;", pkg) + Entry("A&lt;B&gt;", classPath) +
                       Entry("x&amp;y", classPath + "/" + P("Attribute", first)) +
                       Entry("z", classPath + "/" + P("Attribute", second)) + Entry("D&quot;1", diagramPath) +
                       kTail);
    ExpectArchiveWhole(archive, {"/" + name + ".hhc", "/" + name + ".hhk"});
    for (const std::string& picture : {diagramPath + "_0.svg", diagramPath + "_1.svg"}) {
        std::string svg;
        EXPECT_TRUE(archive.Read("/" + picture, svg)) << picture;
        EXPECT_NE(svg.find("<svg"), std::string::npos) << picture;
    }
    EXPECT_FALSE(archive.Contains("/" + diagramPath + "_2.svg"));

    const std::vector<std::string> head(theMessages.begin(), theMessages.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::string>{classPath + "/" + P("Attribute", first),
                                              classPath + "/" + P("Attribute", second), classPath, diagramPath,
                                              pkg, "Start compiling CHM"}));
    EXPECT_EQ(theMessages.back(), "Success to generate \"" + dir + name + ".chm\" !");
    // The work folder was made by the export and held only its work.
    EXPECT_FALSE(std::filesystem::exists(dir + "out"));
}

TEST_F(ExportChm, TheProjectFileIsTheOneThePartGivesWithEveryPicture)
{
    MakeModel();
    std::filesystem::create_directories(dir + "out");
    // A folder where the compiled file goes makes the move fail: the work stays.
    std::filesystem::create_directories(dir + name + ".chm");
    EXPECT_FALSE(::ExportChm(package, (dir + "out").c_str()));

    const std::string pkg = P("Package", package);
    const std::string classPath = pkg + "/" + P("Class", cls);
    const std::string diagramPath = pkg + "/" + P("Classdiagram", diagram);
    EXPECT_EQ(Read(dir + "out/" + name + ".hhp"),
              ProjectHead(name, pkg + ".htm", "0x61460") + pkg + ".htm\r\n" + classPath + ".htm\r\n" + classPath +
                  "/" + P("Attribute", first) + ".htm\r\n" + classPath + "/" + P("Attribute", second) + ".htm\r\n" +
                  diagramPath + ".htm\r\n" + diagramPath + "_0.svg\r\n" + diagramPath + "_1.svg\r\n");
}

TEST_F(ExportChm, HelpWindowSettingsSetTheStyleWords)
{
    struct Case {
        BOOL bookmark, search, hideText, recPosition, plus, line;
        const char* window;
        const char* tree;
    } const cases[] = {
        {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, "0x61460", "0x827"},
        {FALSE, TRUE, TRUE, TRUE, FALSE, TRUE, "0x60460", "0x826"},
        {TRUE, FALSE, TRUE, TRUE, TRUE, FALSE, "0x41060", "0x825"},
        {TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, "0x21420", "0x824"},
    };
    const int cls = Add(0, "Class", "C");
    // A missing chmcmd keeps the project files for reading.
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", dir.c_str(), 1);
    for (const Case& c : cases) {
        theSysConfig.m_bShowBookmark = c.bookmark;
        theSysConfig.m_bShowSearch = c.search;
        theSysConfig.m_bHideText = c.hideText;
        theSysConfig.m_bRecPosition = c.recPosition;
        theSysConfig.m_bShowPlus = c.plus;
        theSysConfig.m_bShowLine = c.line;
        const std::string out = dir + "styles-" + c.window + c.tree;
        EXPECT_FALSE(::ExportChm(cls, out.c_str()));
        EXPECT_NE(Read(out + "/C.hhp").find(std::string(",,,,,") + c.window + ",180,"), std::string::npos)
            << c.window;
        EXPECT_NE(Read(out + "/C.hhc").find(std::string("value=\"") + c.tree + "\""), std::string::npos) << c.tree;
    }
    setenv("PATH", saved.c_str(), 1);
}

} // namespace
