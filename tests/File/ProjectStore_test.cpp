#include "StoreFixture.h"

#include "UML/Model/StereotypeValues.h"

#include <algorithm>

namespace {

const std::string kEmptyUnit = kHeader + "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\"/>\r\n";

std::string ProjectFile(const std::string& entries)
{
    return kHeader + "<Settings/>\r\n<Project tool=\"Vexal 1.10.00\">\r\n" + entries + "</Project>\r\n";
}

std::string Unit(const std::string& elements)
{
    return kHeader + "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n" + elements + "</uml>\r\n";
}

using ProjectTest = StoreTest;

TEST_F(ProjectTest, NewThenSaveWritesTheProjectFileAndAnEmptyUnit)
{
    TestFolder p("new");
    ASSERT_TRUE(ProjectStore::New((p.path + "Demo.fup").c_str()));
    EXPECT_EQ(theProjectRootId, 1);
    EXPECT_EQ(theModelRootId, 2);
    EXPECT_EQ(theLibraryRootId, 3);
    EXPECT_EQ(thePredefinedRootId, 4);
    EXPECT_EQ(Find("Object"), 5);
    EXPECT_STREQ(Element(theModelRootId).File, "Demo.uml");
    EXPECT_EQ(ModifiedUnits::IsModified(theProjectRootId), 1);
    EXPECT_EQ(ModifiedUnits::IsModified(theModelRootId), 1);
    EXPECT_FALSE(std::filesystem::exists(p.path + "Demo.fup"));

    FileFailures failures;
    EXPECT_EQ(ProjectStore::Save(-1, &failures), 1);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(TestFolder::Read(p.path + "Demo.fup"), ProjectFile("<Model file=\"Demo.uml\"/>\r\n"));
    EXPECT_EQ(TestFolder::Read(p.path + "Demo.uml"), kEmptyUnit);
    EXPECT_FALSE(ProjectStore::IsModified());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(p.path), {}), 2) << "no temporary file stays";
}

TEST_F(ProjectTest, NewRefusesAnExistingUnitFileAndAnOpenProject)
{
    TestFolder p("refuse");
    TestFolder::Write(p.path + "Demo.uml", Unit("<Class Name=\"Keep\"/>\r\n"));
    EXPECT_FALSE(ProjectStore::New((p.path + "Demo.fup").c_str()));
    EXPECT_TRUE(ProjectStore::IsClosed());
    EXPECT_TRUE(Said(p.path + "Demo.uml")) << Messages();

    ASSERT_TRUE(ProjectStore::New((p.path + "Other.fup").c_str()));
    const std::vector<std::string> before = Rows();
    TestFolder::Write(p.path + "Third.fup", ProjectFile("<Model file=\"Demo.uml\"/>\r\n"));
    EXPECT_FALSE(ProjectStore::New((p.path + "Fourth.fup").c_str()));
    EXPECT_FALSE(ProjectStore::Open((p.path + "Third.fup").c_str()));
    EXPECT_EQ(Rows(), before);
    EXPECT_STREQ(Element(theModelRootId).File, "Other.uml");
}

// A project with a nested unit, stereotype values, a diagram page with nested
// symbols (one showing an element of the nested unit) and two libraries, one
// inside the folder and one outside it, stored absolute.
class RoundTripTest : public ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        outsideLib = outside.path + "Outer.uml";
        files = {
            {"Demo.fup", ProjectFile("<Model file=\"Demo.uml\"/>\r\n<Library file=\"libs/Inner.uml\"/>\r\n"
                                     "<Library file=\"" + outsideLib + "\"/>\r\n")},
            {"Demo.uml", Unit("<Package Name=\"Core\" GUID=\"G1\">\r\n"
                              "<Class Name=\"B\" Stereotype=\"ST\" GUID=\"G2\">\r\n"
                              "<Stereo SSGUID=\"T1\" Value=\"x &amp; y\"/>\r\n"
                              "</Class>\r\n"
                              "<Class Name=\"A\" GUID=\"G3\" Visibility=\"2\"/>\r\n"
                              "</Package>\r\n"
                              "<Package Name=\"Sub\" File=\"sub/Sub.uml\" GUID=\"G4\"/>\r\n"
                              "<Classdiagram Name=\"D\" GUID=\"G6\">\r\n"
                              "<Page Name=\"P\" GUID=\"G7\" PageWidth=\"7530\" PageHeight=\"7404\""
                              " EdgeX=\"5DC\" EdgeY=\"5DC\">\r\n"
                              "<Package sid=\"S1\" mid=\"G1\" area=\"3E8,3E8,2710,1F40\" text=\"Core\">\r\n"
                              "<Class sid=\"S2\" mid=\"G2\" area=\"5DC,5DC,1388,BB8\" text=\"B\">\r\n"
                              "<Stereo SSGUID=\"T1\" Value=\"on the symbol\"/>\r\n"
                              "</Class>\r\n"
                              "</Package>\r\n"
                              "<Class sid=\"S3\" mid=\"G5\" area=\"2EE0,3E8,3A98,BB8\" text=\"Inside\"/>\r\n"
                              "</Page>\r\n"
                              "</Classdiagram>\r\n"
                              "<Stereotype Name=\"ST\" GUID=\"ST\" Use=\"Class\">\r\n"
                              "<Attribute Name=\"tag\" GUID=\"T1\"/>\r\n"
                              "</Stereotype>\r\n")},
            {"sub/Sub.uml", Unit("<Class Name=\"Inside\" GUID=\"G5\"/>\r\n")},
            {"libs/Inner.uml", Unit("<Class Name=\"Lib1\" GUID=\"L1\"/>\r\n")},
        };
        for (const auto& f : files)
            TestFolder::Write(p.path + f.first, f.second);
        TestFolder::Write(outsideLib, Unit("<Class Name=\"Lib2\" GUID=\"L2\"/>\r\n"));
    }
    TestFolder p{"trip"};
    TestFolder outside{"trip-outside"};
    std::string outsideLib;
    std::vector<std::pair<std::string, std::string>> files;
};

TEST_F(RoundTripTest, OpensAndSavesBackByteForByte)
{
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    EXPECT_TRUE(messages.empty()) << Messages();
    EXPECT_FALSE(ProjectStore::IsModified());
    EXPECT_EQ(Tree(theModelRootId), "Core(B,A),Sub(Inside),D(P),ST(tag)");
    EXPECT_EQ(Tree(theLibraryRootId), "Inner(Lib1),Outer(Lib2)");
    EXPECT_EQ(Find("Object"), 5);
    for (const int root : {theLibraryRootId, thePredefinedRootId})
        for (const char* name : {"Inner", "Lib1", "Outer", "Lib2", "Object", "String"}) {
            if (Find(name) > 0 && ModifiedUnits::FindUnitRoot(Find(name)) != theModelRootId) {
                EXPECT_TRUE(Element(Find(name)).ItemState & ITEM_FIXED) << name << root;
            }
        }

    const std::vector<std::string> first = Rows();
    auto isSymbol = [](const std::string& row) { return row.rfind("symbol ", 0) == 0; };
    EXPECT_EQ(std::count_if(first.begin(), first.end(), isSymbol), 3);
    for (const char* unit : {"Core", "Inside"})
        ModifiedUnits::Mark(Find(unit), 1);
    ModifiedUnits::Mark(theProjectRootId, 1);
    FileFailures failures;
    EXPECT_EQ(ProjectStore::Save(-1, &failures), 1);
    EXPECT_TRUE(failures.empty());
    for (const auto& f : files)
        EXPECT_EQ(TestFolder::Read(p.path + f.first), f.second) << f.first;

    ProjectStore::Close();
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    EXPECT_EQ(Rows(), first);
}

TEST_F(RoundTripTest, ReadOnlyUnitsAreNeverWritten)
{
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    ModifiedUnits::Mark(Find("Lib1"), 1);
    ModifiedUnits::Mark(Find("Lib2"), 1);
    FileFailures failures;
    EXPECT_EQ(ProjectStore::Save(-1, &failures), 0);
    EXPECT_TRUE(Names(failures, "libs/Inner.uml"));
    EXPECT_TRUE(Names(failures, "Outer.uml"));
    EXPECT_EQ(TestFolder::Read(p.path + "libs/Inner.uml"), Unit("<Class Name=\"Lib1\" GUID=\"L1\"/>\r\n"));
    EXPECT_EQ(TestFolder::Read(outsideLib), Unit("<Class Name=\"Lib2\" GUID=\"L2\"/>\r\n"));
}

TEST_F(RoundTripTest, SetUnitPathMovesChildrenIntoTheirOwnFile)
{
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    EXPECT_FALSE(ProjectStore::SetUnitPath(Find("Core"), "../Core.uml"));
    ASSERT_TRUE(ProjectStore::SetUnitPath(Find("Core"), (p.path + "sub/Core.uml").c_str()));
    EXPECT_STREQ(Element(Find("Core")).File, "sub/Core.uml");
    EXPECT_EQ(ProjectStore::Save(Find("A"), nullptr), 1);
    EXPECT_EQ(TestFolder::Read(p.path + "sub/Core.uml"),
              Unit("<Class Name=\"B\" Stereotype=\"ST\" GUID=\"G2\">\r\n"
                   "<Stereo SSGUID=\"T1\" Value=\"x &amp; y\"/>\r\n"
                   "</Class>\r\n"
                   "<Class Name=\"A\" GUID=\"G3\" Visibility=\"2\"/>\r\n"));
    EXPECT_EQ(ModifiedUnits::IsModified(theModelRootId), 1) << "only the unit asked for is written";
    EXPECT_EQ(ProjectStore::Save(Find("ST"), nullptr), 1);
    EXPECT_NE(TestFolder::Read(p.path + "Demo.uml").find("<Package Name=\"Core\" File=\"sub/Core.uml\" GUID=\"G1\"/>"),
              std::string::npos);
    EXPECT_FALSE(ProjectStore::IsModified());
}

TEST_F(RoundTripTest, FailedSavesKeepTheOldFilesAndTheMarks)
{
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    std::filesystem::create_directories(p.path + "folder.uml");
    ASSERT_TRUE(ProjectStore::SetUnitPath(Find("Core"), "folder.uml"));
    FileFailures failures;
    EXPECT_EQ(ProjectStore::Save(-1, &failures), 0);
    EXPECT_TRUE(Names(failures, "folder.uml"));
    EXPECT_TRUE(std::filesystem::is_directory(p.path + "folder.uml"));
    EXPECT_EQ(ModifiedUnits::IsModified(Find("Core")), 1);

    ModifiedUnits::Mark(theProjectRootId, 1);
    ModifiedUnits::Mark(Find("Inside"), 1);
    std::filesystem::remove_all(p.path);
    failures.clear();
    EXPECT_EQ(ProjectStore::Save(-1, &failures), 0);
    EXPECT_TRUE(Names(failures, "Demo.fup"));
    EXPECT_EQ(ModifiedUnits::IsModified(theProjectRootId), 1);
    EXPECT_EQ(ModifiedUnits::IsModified(Find("Sub")), 1);
}

TEST_F(ProjectTest, AMissingModelUnitIsCreatedByTheNextSave)
{
    TestFolder p("missing");
    TestFolder::Write(p.path + "Demo.fup", ProjectFile("<MODEL FILE=\"Demo.uml\"/>\r\n<Library file=\"\"/>\r\n"));
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    EXPECT_TRUE(ProjectStore::IsModified());
    EXPECT_EQ(ProjectStore::Save(-1, nullptr), 1);
    EXPECT_EQ(TestFolder::Read(p.path + "Demo.uml"), kEmptyUnit);
}

} // namespace
