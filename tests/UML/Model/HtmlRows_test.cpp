#include "UML/Model/HtmlRows.h"

#include "ModelFixture.h"
#include "Pub/BufferedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

const char kRow[] = "<tr><td bgcolor='lightgrey'>";

class HtmlPages : public ModelRows {
protected:
    static std::string Read(const std::string& path) { return TestFolder::Read(path); }
    std::string Written(const std::function<void(CBufferedFile&)>& write)
    {
        const std::string path = dir + "rows.htm";
        {
            CBufferedFile file;
            EXPECT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
            write(file);
            file.Close();
        }
        return Read(path);
    }
    static std::string Row(const std::string& label, const std::string& value)
    {
        return kRow + label + "</td><td>" + value + "</td></tr>\r\n";
    }
    TestFolder folder{"html"};
    const std::string& dir = folder.path;
};

TEST_F(HtmlPages, RowWriters)
{
    const int named = Add(0, "Class", "A<B>");
    const int removed = Add(0, "Class", "Gone");
    const std::string removedGuid = Guid(removed);
    theModelDb.RemoveRecord(&ModelT::TableInfo, ElementOid(removed));
    struct Case {
        std::function<void(CBufferedFile&)> write;
        std::string value;
    } const cases[] = {
        {[](CBufferedFile& f) { HtmlRowText(f, "L", "x & y"); }, "x &amp; y"},
        {[](CBufferedFile& f) { HtmlRowText(f, "L", ""); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowText(f, "L", nullptr); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowInt(f, "L", -5); }, "-5"},
        {[](CBufferedFile& f) { HtmlRowBool(f, "L", 2); }, "True"},
        {[](CBufferedFile& f) { HtmlRowBool(f, "L", 0x100); }, "False"},
        {[](CBufferedFile& f) { HtmlRowVisibility(f, "L", 3); }, "public"},
        {[](CBufferedFile& f) { HtmlRowVisibility(f, "L", 0); }, "private"},
        {[](CBufferedFile& f) { HtmlRowVisibility(f, "L", 4); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowVisibility(f, "L", -1); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowVisibility(f, "L", 0x102); }, "package"},
        {[](CBufferedFile& f) { HtmlRowDirection(f, "L", 0); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowDirection(f, "L", 3); }, "inout"},
        {[](CBufferedFile& f) { HtmlRowVirtuality(f, "L", 0); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowVirtuality(f, "L", 2); }, "finalized"},
        {[](CBufferedFile& f) { HtmlRowAggregation(f, "L", 0); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowAggregation(f, "L", 3); }, "composite"},
        {[&](CBufferedFile& f) { HtmlRowElementRef(f, "L", Guid(named).c_str()); }, "A&lt;B&gt;"},
        {[&](CBufferedFile& f) { HtmlRowElementRef(f, "L", removedGuid.c_str()); }, "&nbsp;"},
        {[](CBufferedFile& f) { HtmlRowElementRef(f, "L", ""); }, "&nbsp;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.write), Row("L", c.value)) << c.value;
}

TEST_F(HtmlPages, ElementPageByteForByte)
{
    CSymbol* cls = Prototype("Class");
    const int stereotype = Add(0, "Stereotype", "<<entity>>", "Class");
    ModelT e;
    e.ID = 12;
    e.Name = "Order & \"Line\" \xC3\xA9";
    e.Type = "Class";
    e.Visibility = VISIBILITY_PUBLIC;
    const std::string guid = Guid(stereotype);
    e.Stereotype = guid.c_str();
    EXPECT_EQ(std::string(cls->HtmlPageName(e)), "Class12.htm");
    ASSERT_TRUE(cls->WriteHtmlPage(dir.c_str(), e));
    const std::string expected =
        "<html><head><meta http-equiv='Content-Type' content='text/html; charset=utf-8'><title>Order &amp; &quot;Line&quot; \xC3\xA9[Class]</title></head>\r\n"
        "<body><table border='1' cellspacing='0' width='90%' align='center'>\r\n"
        "<tr bgcolor='steelblue'><td colspan='2'><b>Base properties</b></td></tr>\r\n" +
        Row("Name", "Order &amp; &quot;Line&quot; \xC3\xA9") + Row("Type", "Class") +
        Row("Stereotype", "&lt;&lt;entity&gt;&gt;") + Row("Visibility", "public") + "</table></body></html>\r\n";
    EXPECT_EQ(Read(dir + "Class12.htm"), expected);
}

TEST_F(HtmlPages, APageThatCannotBeCreatedIsReported)
{
    ModelT e;
    e.ID = 3;
    e.Name = "x";
    e.Type = "Class";
    EXPECT_FALSE(Prototype("Class")->WriteHtmlPage((dir + "missing/folder").c_str(), e));
    EXPECT_FALSE(std::filesystem::exists(dir + "missing/folder/Class3.htm"));
}

} // namespace
