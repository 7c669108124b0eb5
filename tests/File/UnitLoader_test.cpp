#include "StoreFixture.h"

#include <algorithm>

namespace {

const std::string kUml = "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n";

std::string Unit(const std::string& elements)
{
    return kHeader + kUml + elements + "</uml>\r\n";
}

// The unit files of one case: the model unit Demo.uml and the files beside
// it; "OUT/" names a folder outside the project.
struct LoaderCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    const char* tree;       // what stays below the Model root
    const char* message;    // part of the Messages pane line; "" for none
    const char* incomplete; // the unit root that did not load whole: "Model", an element's name, or ""
};

class UnitLoaderTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        TestFolder::Write(p.path + "Demo.fup", kHeader + "<Settings/>\r\n<Project tool=\"x\">\r\n"
                                                         "<Model file=\"Demo.uml\"/>\r\n</Project>\r\n");
    }
    std::string Expand(const std::string& text) const
    {
        std::string out = text;
        for (size_t at; (at = out.find("OUT/")) != std::string::npos;)
            out.replace(at, 4, outside.path);
        return out;
    }
    std::string PathOf(const std::string& file) const
    {
        const std::string f = Expand(file);
        return f.rfind(outside.path, 0) == 0 ? f : p.path + f;
    }
    TestFolder p{"loader"};
    TestFolder outside{"loader-outside"};
};

TEST_F(UnitLoaderTest, KeepsWhatLoadedAndNeverWritesAnIncompleteUnit)
{
    std::string utf16 = "\xFF\xFE";
    for (const char c : "<?xml version=\"1.0\" encoding=\"UTF-8\"?><uml><Class Name=\"A\"/></uml>")
        if (c)
            utf16 += std::string(1, c) + '\0';
    const LoaderCase cases[] = {
        {"whole", {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n<Class Name=\"B\"/>\r\n")}}, "A,B", "", ""},
        {"unknown empty tag",
         {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n<Gizmo Name=\"X\"/>\r\n<Class Name=\"B\"/>\r\n")}},
         "A,B", "\"Gizmo\" names no metaclass", "Model"},
        {"unknown tag with content",
         {{"Demo.uml", Unit("<Package Name=\"P\">\r\n<Gizmo>\r\n<Class Name=\"X\"/>\r\n</Gizmo>\r\n"
                            "<Class Name=\"B\"/>\r\n</Package>\r\n<Class Name=\"C\"/>\r\n")}},
         "P(B),C", "\"Gizmo\" names no metaclass", "Model"},
        {"page followed by siblings",
         {{"Demo.uml", Unit("<Classdiagram Name=\"D\">\r\n<Page Name=\"P\">\r\n"
                            "<Class sid=\"S1\" area=\"0,0,3E8,3E8\">\r\n<Class sid=\"S2\" area=\"1,1,2,2\"/>\r\n"
                            "</Class>\r\n</Page>\r\n"
                            "<Page Name=\"Q\"/>\r\n</Classdiagram>\r\n<Class Name=\"After\"/>\r\n")}},
         "D(P,Q),After", "", ""},
        {"unknown tag in a page",
         {{"Demo.uml", Unit("<Classdiagram Name=\"D\">\r\n<Page Name=\"P\">\r\n"
                            "<Class sid=\"S1\" area=\"0,0,3E8,3E8\">\r\n<Gizmo/>\r\n</Class>\r\n</Page>\r\n"
                            "</Classdiagram>\r\n<Class Name=\"After\"/>\r\n")}},
         "D(P),After", "elements that name no symbol", "Model"},
        {"version differing in case",
         {{"Demo.uml", kHeader + "<uml version=\"uml2.0\">\r\n<Class Name=\"A\"/>\r\n</uml>\r\n"}}, "",
         "version \"uml2.0\"", "Model"},
        {"no version", {{"Demo.uml", kHeader + "<uml>\r\n<Class Name=\"A\"/>\r\n</uml>\r\n"}}, "A", "", ""},
        {"second uml",
         {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n") + kUml + "<Class Name=\"B\"/>\r\n</uml>\r\n"}}, "A,B", "",
         ""},
        {"element outside uml", {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n") + "<Class Name=\"Z\"/>\r\n"}}, "A",
         "\"Class\" stands outside", "Model"},
        {"Stereo outside uml",
         {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n") + "<Stereo SSGUID=\"T\" Value=\"v\"/>\r\n"}}, "A",
         "\"Stereo\" stands outside", "Model"},
        {"missing nested unit", {{"Demo.uml", Unit("<Package Name=\"S\" File=\"gone.uml\"/>\r\n")}}, "S",
         "gone.uml: the file does not exist", ""},
        {"cycle of one file", {{"Demo.uml", Unit("<Package Name=\"S\" File=\"Demo.uml\"/>\r\n")}}, "S",
         "includes itself", "S"},
        {"cycle of two files",
         {{"Demo.uml", Unit("<Package Name=\"S\" File=\"s.uml\"/>\r\n<Class Name=\"After\"/>\r\n")},
          {"s.uml", Unit("<Package Name=\"T\" File=\"Demo.uml\"/>\r\n")}},
         "S(T),After", "includes itself", "T"},
        {"one file under two roots",
         {{"Demo.uml", Unit("<Package Name=\"S\" File=\"s.uml\"/>\r\n<Package Name=\"R\" File=\"./s.uml\"/>\r\n")},
          {"s.uml", Unit("<Class Name=\"X\"/>\r\n")}},
         "S(X),R", "loaded already", "R"},
        {"path above the folder",
         {{"Demo.uml", Unit("<Package Name=\"S\" File=\"../loader-outside-x/o.uml\"/>\r\n")},
          {"OUT/o.uml", Unit("<Class Name=\"X\"/>\r\n")}},
         "S", "leaves the project folder", "S"},
        {"absolute path outside",
         {{"Demo.uml", Unit("<Package Name=\"S\" File=\"OUT/o.uml\"/>\r\n")}, {"OUT/o.uml", Unit("<Class/>\r\n")}},
         "S", "leaves the project folder", "S"},
        {"backslash path in another case",
         {{"Demo.uml", Unit("<Package Name=\"S\" File=\"sub\\S.UML\"/>\r\n")},
          {"sub/s.uml", Unit("<Class Name=\"X\"/>\r\n")}},
         "S(X)", "", ""},
        {"UTF-16 with its byte-order mark", {{"Demo.uml", utf16}}, "", "UTF-16", "Model"},
        {"Latin-1 under a UTF-8 declaration",
         {{"Demo.uml", Unit("<Class Name=\"A\"/>\r\n<Class Name=\"Caf\xE9\"/>\r\n")}}, "", "not UTF-8", "Model"},
        {"empty file", {{"Demo.uml", ""}}, "", "empty", "Model"},
        {"binary file", {{"Demo.uml", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10)}}, "", "rejected", "Model"},
    };
    for (const LoaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectStore::Close();
        std::filesystem::remove_all(p.path + "sub");
        for (const char* stale : {"Demo.uml", "s.uml"})
            std::filesystem::remove(p.path + stale);
        messages.clear();
        for (const auto& f : c.files)
            TestFolder::Write(PathOf(f.first), Expand(f.second));

        ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
        EXPECT_EQ(Tree(theModelRootId), c.tree);
        if (c.message[0])
            EXPECT_TRUE(Said(c.message)) << Messages();
        else
            EXPECT_TRUE(messages.empty()) << Messages();

        const int unit = std::string(c.incomplete) == "Model" ? theModelRootId : Find(c.incomplete);
        EXPECT_EQ(bool(ModifiedUnits::IsIncomplete(theModelRootId)), unit == theModelRootId);
        if (!c.incomplete[0])
            continue;
        EXPECT_TRUE(ModifiedUnits::IsIncomplete(unit));
        EXPECT_FALSE(ProjectStore::IsModified()) << "nothing is offered for saving";
        const std::string file = Element(unit).File;
        const std::string before = TestFolder::Read(PathOf(file));
        ModifiedUnits::Mark(unit, 1);
        FileFailures failures;
        EXPECT_EQ(ProjectStore::Save(-1, &failures), 0);
        EXPECT_TRUE(Names(failures, file));
        EXPECT_EQ(TestFolder::Read(PathOf(file)), before);
    }
}

TEST_F(UnitLoaderTest, StoredBackslashesAreWrittenAsSlashes)
{
    TestFolder::Write(p.path + "Demo.fup", kHeader + "<Settings/>\r\n<Project tool=\"x\">\r\n"
                                                     "<Model file=\"m\\Demo.uml\"/>\r\n</Project>\r\n");
    TestFolder::Write(p.path + "m/Demo.uml", Unit("<Package Name=\"S\" File=\"sub\\s.uml\"/>\r\n"));
    TestFolder::Write(p.path + "sub/s.uml", Unit(""));
    ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
    EXPECT_STREQ(Element(Find("S")).File, "sub/s.uml");
    ModifiedUnits::Mark(theProjectRootId, 1);
    ModifiedUnits::Mark(Find("S"), 0);
    ModifiedUnits::Mark(theModelRootId, 1);
    EXPECT_EQ(ProjectStore::Save(-1, nullptr), 1);
    EXPECT_NE(TestFolder::Read(p.path + "Demo.fup").find("<Model file=\"m/Demo.uml\"/>"), std::string::npos);
    EXPECT_NE(TestFolder::Read(p.path + "m/Demo.uml").find("File=\"sub/s.uml\""), std::string::npos);
}

TEST_F(UnitLoaderTest, AFileCutShortKeepsItsRowsInTheTreeAndItsBytes)
{
    const std::string whole = Unit("<Package Name=\"P\" GUID=\"G1\">\r\n"
                                   "<Class Name=\"A\" Stereotype=\"ST\" GUID=\"G2\">\r\n"
                                   "<Stereo SSGUID=\"T1\" Value=\"v\"/>\r\n"
                                   "</Class>\r\n"
                                   "</Package>\r\n"
                                   "<Class Name=\"B\" GUID=\"G3\"/>\r\n");
    const size_t end = whole.rfind("</uml>") + 5;
    for (size_t cut = 0; cut < end; cut += 3) {
        SCOPED_TRACE(cut);
        ProjectStore::Close();
        const std::string bytes = whole.substr(0, cut);
        TestFolder::Write(p.path + "Demo.uml", bytes);
        ASSERT_TRUE(ProjectStore::Open((p.path + "Demo.fup").c_str()));
        EXPECT_TRUE(ModifiedUnits::IsIncomplete(theModelRootId));
        for (const std::string& row : Rows()) {
            std::istringstream fields(row);
            int id = 0, owner = 0;
            fields >> id >> owner;
            if (id != theProjectRootId) {
                EXPECT_GT(ModifiedUnits::FindUnitRoot(id), 0) << row;
            }
        }
        ModifiedUnits::Mark(theModelRootId, 1);
        EXPECT_EQ(ProjectStore::Save(-1, nullptr), 0);
        EXPECT_EQ(TestFolder::Read(p.path + "Demo.uml"), bytes);
    }
}

} // namespace
