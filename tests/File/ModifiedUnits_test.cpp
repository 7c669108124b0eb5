#include "StoreFixture.h"

#include <cstring>

namespace {

class RegistryTest : public StoreTest {
protected:
    // project (p.fup) > model (m.uml) > package > class; project > library >
    // lib (x.uml) > libClass; project > predefined > pre; a loop of two rows.
    void SetUp() override
    {
        StoreTest::SetUp();
        project = Row(100, 0, "p.fup");
        model = Row(101, project, "m.uml");
        package = Row(102, model, "");
        cls = Row(103, package, "");
        library = Row(104, project, "");
        lib = Row(105, library, "x.uml");
        libClass = Row(106, lib, "");
        pre = Row(107, Row(108, project, ""), "");
        orphan = Row(109, 0, "");
        Row(110, 111, "");
        loop = Row(111, 110, "");
    }
    static int Row(int id, int owner, const char* file)
    {
        ModelT e;
        e.ID = e.SN = id;
        e.FID = owner;
        e.Type = "Package";
        e.Name = "";
        e.File = file;
        theModelDb.InsertRecord(&ModelT::TableInfo, &e);
        return id;
    }
    int project, model, package, cls, library, lib, libClass, pre, orphan, loop;
};

TEST_F(RegistryTest, FindsTheUnitRootOrNone)
{
    const struct {
        int element;
        int root;
    } cases[] = {
        {project, project}, {model, model}, {cls, model},       {library, project}, {libClass, lib},
        {pre, project},     {orphan, -1},   {999, -1},          {loop, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModifiedUnits::FindUnitRoot(c.element), c.root) << c.element;
}

TEST_F(RegistryTest, MarksKeepOneFlagPerUnit)
{
    EXPECT_EQ(ModifiedUnits::Mark(orphan, 1), -1);
    EXPECT_EQ(ModifiedUnits::Mark(loop, 1), -1);
    EXPECT_EQ(ModifiedUnits::IsModified(-1), 0);
    EXPECT_EQ(ModifiedUnits::IsModified(model), 0);

    EXPECT_EQ(ModifiedUnits::Mark(cls, 1), model);
    EXPECT_EQ(ModifiedUnits::Mark(package, 1), model);
    EXPECT_EQ(ModifiedUnits::FlaggedRoots(), std::vector<int>{model});
    EXPECT_EQ(ModifiedUnits::IsModified(model), 1);
    EXPECT_EQ(ModifiedUnits::IsModified(-1), 1);
    EXPECT_EQ(ModifiedUnits::Mark(pre, 1), project);
    EXPECT_EQ(ModifiedUnits::IsModified(project), 1);

    // The other marks are no modifications and go with the flags.
    ModifiedUnits::Mark(cls, 0);
    ModifiedUnits::Mark(pre, 0);
    ModifiedUnits::SetReadOnly(lib);
    ModifiedUnits::SetIncomplete(model);
    EXPECT_EQ(ModifiedUnits::IsModified(-1), 0);
    EXPECT_TRUE(ModifiedUnits::IsReadOnly(lib));
    EXPECT_TRUE(ModifiedUnits::IsIncomplete(model));
    ModifiedUnits::Clear();
    EXPECT_FALSE(ModifiedUnits::IsReadOnly(lib));
    EXPECT_FALSE(ModifiedUnits::IsIncomplete(model));
    EXPECT_TRUE(ModifiedUnits::FlaggedRoots().empty());
}

TEST_F(RegistryTest, SetUnitFileMakesAndEndsUnits)
{
    ModifiedUnits::SetUnitFile(model, "m.uml");
    EXPECT_TRUE(ModifiedUnits::FlaggedRoots().empty()) << "the same path changes nothing";

    ModifiedUnits::SetUnitFile(package, "sub/p.uml");
    EXPECT_EQ(ModifiedUnits::FindUnitRoot(cls), package);
    EXPECT_EQ(ModifiedUnits::IsModified(package), 1);
    EXPECT_EQ(ModifiedUnits::IsModified(model), 1) << "the owner's file now stores the element differently";

    ModifiedUnits::Mark(model, 0);
    ModifiedUnits::SetUnitFile(package, "");
    EXPECT_EQ(ModifiedUnits::FindUnitRoot(cls), model);
    EXPECT_EQ(ModifiedUnits::IsModified(model), 1);
    EXPECT_EQ(ModifiedUnits::FlaggedRoots(), std::vector<int>{model});

    char buffer[260] = "junk";
    EXPECT_FALSE(ModifiedUnits::GetUnitFile(package, buffer));
    EXPECT_STREQ(buffer, "");
    std::strcpy(buffer, "junk");
    EXPECT_FALSE(ModifiedUnits::GetUnitFile(999, buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(ModifiedUnits::GetUnitFile(lib, buffer));
    EXPECT_STREQ(buffer, "x.uml");
}

} // namespace
