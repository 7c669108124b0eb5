// What the walk writes for the shapes a model can take: a lone element, an
// element of no metaclass, an owner loop and the refused starts.
#include "ExportFixture.h"

#include "MemDB/dbQueryText.h"

#include <cstdlib>

namespace {

class ExportEdges : public ExportFixture {
protected:
    // Exports with no chmcmd to be found, so the project files stay for reading.
    bool ExportWithoutCompiler(int id)
    {
        const char* path = std::getenv("PATH");
        const std::string saved = path ? path : "";
        setenv("PATH", dir.c_str(), 1);
        const bool exported = ::ExportChm(id, (dir + "out").c_str());
        setenv("PATH", saved.c_str(), 1);
        return exported;
    }
    std::string Files(const std::string& name)
    {
        const std::string hhp = Read(dir + "out/" + name + ".hhp");
        return hhp.substr(hhp.find("[FILES]\r\n") + 9);
    }
    static void SetOwner(int id, int owner)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        ModelT row = *c.GetRecord();
        row.FID = owner;
        MemDbUpdate(&ModelT::TableInfo, &row, c.GetCurrentOid());
    }
};

TEST_F(ExportEdges, AnElementWithoutChildrenIsOneEntry)
{
    const int cls = Add(0, "Class", "Lone");
    EXPECT_FALSE(ExportWithoutCompiler(cls));
    EXPECT_EQ(Files("Lone"), "Class1.htm\r\n");
    EXPECT_EQ(Read(dir + "out/Lone.hhc"),
              "<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
              "value=\"0x827\"></OBJECT>\r\n<UL>\r\n<LI><OBJECT TYPE=\"text/sitemap\">\r\n<PARAM NAME=\"Name\" "
              "VALUE=\"Lone\">\r\n<PARAM NAME=\"Local\" VALUE=\"Class1.htm\">\r\n</OBJECT>\r\n</UL></BODY></HTML>\r\n");
    EXPECT_EQ(theMessages.front(), "Class1");
    EXPECT_EQ(theMessages[1], "Start compiling CHM");
}

TEST_F(ExportEdges, AnElementOfNoMetaclassIsLeftOutWithItsSubtree)
{
    const int package = Add(0, "Package", "P");
    const int kept = Add(package, "Class", "Kept");
    ModelT odd;
    odd.ID = 99;
    odd.FID = package;
    odd.SN = 99;
    odd.Name = "Odd";
    odd.Type = "Nonsense";
    MemDbInsert(&ModelT::TableInfo, &odd);
    Add(99, "Class", "Below odd");
    const int after = Add(package, "Class", "After");
    EXPECT_FALSE(ExportWithoutCompiler(package));
    EXPECT_EQ(Files("P"), "Package1.htm\r\nPackage1/Class" + std::to_string(kept) + ".htm\r\nPackage1/Class" +
                              std::to_string(after) + ".htm\r\n");
}

TEST_F(ExportEdges, AnOwnerLoopEnds)
{
    const int a = Add(0, "Package", "A");
    const int b = Add(a, "Package", "B");
    SetOwner(a, b);
    EXPECT_FALSE(ExportWithoutCompiler(a));
    EXPECT_EQ(Files("A"), "Package1.htm\r\nPackage1/Package2.htm\r\n");
    EXPECT_EQ(b, 2);
}

TEST_F(ExportEdges, RefusedStartsWriteNothing)
{
    const int cls = Add(0, "Class", "C");
    for (const int id : {0, -3, cls + 100}) {
        theMessages.clear();
        EXPECT_FALSE(::ExportChm(id, (dir + "out").c_str())) << id;
        EXPECT_EQ(theMessages, std::vector<std::string>{"Fail to compile the CHM"}) << id;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "out"));
}

TEST_F(ExportEdges, NamesThatAreNoFileNamesAreCleaned)
{
    struct Case {
        const char* name;
        const char* file;
    } const cases[] = {{"../x", ".._x"}, {"a\"b", "a_b"}, {"..", "Class1"}, {"", "Class1"}};
    for (const Case& c : cases) {
        MemDbClearModel();
        ResetModelCounters();
        std::filesystem::remove_all(dir + "out");
        const int cls = Add(0, "Class", c.name);
        EXPECT_FALSE(ExportWithoutCompiler(cls));
        EXPECT_TRUE(std::filesystem::exists(dir + "out/" + c.file + ".hhp")) << c.name;
        EXPECT_NE(Read(dir + "out/" + c.file + ".hhp").find(std::string("Main=\"") + c.file + "\""),
                  std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "x.hhp"));
}

} // namespace
