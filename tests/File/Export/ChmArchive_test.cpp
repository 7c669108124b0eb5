// Reading a compiled help file: listing, reading and case-blind names.
#include "ExportFixture.h"

#include "File/ChmArchive.h"

namespace {

class ChmArchiveTest : public ExportFixture {
protected:
    // A help file of two pages, one in a folder, compiled by chmcmd.
    std::string Compile()
    {
        Write(dir + "p/Index.htm", "<html><body>Top <a href=\"Sub/Page.htm\">page</a></body></html>");
        Write(dir + "p/Sub/Page.htm", std::string("<html><body>\xC3\xA9t\xC3\xA9</body></html>"));
        Write(dir + "p/x.hhc", "<html><body><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                               "value=\"Top\"><param name=\"Local\" value=\"Index.htm\"></OBJECT></UL></body></html>");
        Write(dir + "p/x.hhp", "[OPTIONS]\r\nCompiled file=x.chm\r\nContents file=x.hhc\r\nDefault topic=Index.htm\r\n"
                               "[FILES]\r\nIndex.htm\r\nSub/Page.htm\r\n");
        EXPECT_NE(CompileChm((dir + "p/x.hhp").c_str()), 0) << ::testing::PrintToString(theMessages);
        return dir + "p/x.chm";
    }
};

TEST_F(ChmArchiveTest, ListsAndReadsTopicsWhateverTheCaseOfTheirNames)
{
    ChmArchive archive;
    ASSERT_TRUE(archive.Open(Compile()));
    const std::vector<std::string> files = archive.List();
    EXPECT_NE(std::find(files.begin(), files.end(), "/Index.htm"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "/Sub/Page.htm"), files.end());
    for (const std::string& file : files)
        EXPECT_TRUE(file[1] != '#' && file[1] != '$' && file.back() != '/') << file;
    std::string bytes;
    for (const char* name : {"/Sub/Page.htm", "/sub/PAGE.HTM", "Sub/Page.htm", "/Sub/Page.htm#top"}) {
        EXPECT_TRUE(archive.Read(name, bytes)) << name;
        EXPECT_EQ(bytes, "<html><body>\xC3\xA9t\xC3\xA9</body></html>") << name;
    }
    EXPECT_EQ(archive.Resolve("/index.htm"), "/Index.htm");
    EXPECT_FALSE(archive.Read("/Missing.htm", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(archive.Contains("/Sub"));
}

TEST_F(ChmArchiveTest, AFileThatIsNoArchiveDoesNotOpen)
{
    Write(dir + "plain.chm", "not a help file at all");
    ChmArchive archive;
    EXPECT_FALSE(archive.Open(dir + "plain.chm"));
    EXPECT_FALSE(archive.Open(dir + "missing.chm"));
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_TRUE(archive.List().empty());
}

TEST_F(ChmArchiveTest, AProjectNamingAMissingFileDoesNotCompile)
{
    Write(dir + "p/x.hhp", "[OPTIONS]\r\nCompiled file=x.chm\r\n[FILES]\r\nMissing.htm\r\n");
    EXPECT_EQ(CompileChm((dir + "p/x.hhp").c_str()), 0);
}

} // namespace
