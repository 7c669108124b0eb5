#include "ScriptFixture.h"

#include "File/ProjectStore.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"

const char* const ScriptFixture::kElements =
    "<Package Name=\"Core\" GUID=\"P1\">\r\n"
    "<Class Name=\"Alpha\" GUID=\"C1\">\r\n"
    "<Attribute Name=\"count\" GUID=\"A1\"/>\r\n"
    "<Operation Name=\"run\" GUID=\"O1\"/>\r\n"
    "</Class>\r\n"
    "<Class Name=\"Beta\" GUID=\"C2\"/>\r\n"
    "<Comment Name=\"note\" GUID=\"N1\"/>\r\n"
    "</Package>\r\n";

void ScriptFixture::SetUp()
{
    const std::string project = shell.MakeProject("Demo", kElements);
    ASSERT_TRUE(shell.Start({ project }));
    ASSERT_FALSE(ProjectStore::IsClosed());
}

std::string ScriptFixture::At(int n, const std::string& file) const
{
    return shell.Folder() + file + ",line " + std::to_string(n) + ", errorNumber 124";
}

int ScriptFixture::ElementId(const char* name)
{
    dbTypedCursor<ModelT> cursor(&ModelT::TableInfo);
    return cursor.SelectByKey("Name", name) == 1 ? cursor->ID : 0;
}

void ScriptFixture::RunCases(const std::vector<ScriptCase>& cases)
{
    int index = 0;
    for (const ScriptCase& c : cases) {
        const std::string file = "case" + std::to_string(index++) + ".js";
        Lines expected;
        for (const std::string& line : c.lines)
            expected.push_back(line.size() > 1 && line[0] == '@' ? At(std::stoi(line.substr(1)), file) : line);
        EXPECT_EQ(shell.Run(c.script, file), expected) << c.script;
    }
}
