// The shipped Tools script "Import C++ headers" on a folder of headers:
// the classes they define become classes of the checked package.
#include "ScriptFixture.h"

#include "MemDB/ModelSchema.h"
#include "Platform/CommonDialogs.h"
#include "MemDB/dbCursor.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using ImportHeadersTest = ScriptFixture;

const std::string kScript = std::string(VEXAL_SOURCE_DIR) + "/Script/menu_Import C++ headers.js";

std::vector<std::string> ClassesUnder(int owner)
{
    std::vector<std::string> names;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("FID", owner) > 0) {
        do {
            if (std::string(c->Type) == "Class")
                names.push_back(c->Name);
        } while (c.Next());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Answer ChooseFolder(const std::string& folder)
{
    return { DialogKind::Folder, IDOK, [folder](DialogRequest& request) {
                auto* info = static_cast<BROWSEINFO*>(request.data);
                std::snprintf(info->pszPath, info->nMaxPath, "%s", folder.c_str());
            } };
}

TEST_F(ImportHeadersTest, HeadersBecomeClassesOfTheCheckedPackage)
{
    const std::string folder = shell.Folder() + "headers";
    fs::create_directories(folder + "/inner");
    std::ofstream(folder + "/shapes.h") << "// class Commented { };\n"
                                          "#pragma once\n"
                                          "namespace geo {\n"
                                          "class Shape;\n"
                                          "template <typename A, class T> class Box {\n"
                                          "};\n"
                                          "class Shape {\n"
                                          "public:\n"
                                          "    virtual ~Shape();\n"
                                          "};\n"
                                          "struct Point : public Shape { int x; };\n"
                                          "class EXPORT Circle final : public Shape {};\n"
                                          "enum class Colour { Red };\n"
                                          "/* class Hidden {};\n"
                                          "   class AlsoHidden {}; */\n"
                                          "}\n";
    std::ofstream(folder + "/more.hpp") << "class Beta {};\r\nclass Gamma\r\n{\r\n};\r\n";
    std::ofstream(folder + "/notes.txt") << "class Ignored {};\n";
    std::ofstream(folder + "/inner/deep.h") << "class Deep {};\n";

    const int core = ElementId("Core");
    shell.Frame()->LocateElement(core);
    EXPECT_EQ(shell.RunPath(kScript, { ChooseFolder(folder) }), Lines{ "Imported 5 classes from 2 headers" });
    EXPECT_EQ(ClassesUnder(core), (Lines{ "Alpha", "Beta", "Box", "Circle", "Gamma", "Point", "Shape" }));

    // Run again: nothing new.
    EXPECT_EQ(shell.RunPath(kScript, { ChooseFolder(folder) }), Lines{ "Imported 0 classes from 2 headers" });
    // Cancelled: nothing happens.
    EXPECT_EQ(shell.RunPath(kScript), Lines{});
    EXPECT_EQ(ClassesUnder(core).size(), 7u);
}

TEST_F(ImportHeadersTest, AsksForAPackage)
{
    shell.Frame()->LocateElement(ElementId("Alpha"));
    EXPECT_EQ(shell.RunPath(kScript), Lines{ "Check the package that receives the classes in the model browser first" });
    EXPECT_EQ(shell.Questions().back().kind, DialogKind::FileOpen);
}

} // namespace
