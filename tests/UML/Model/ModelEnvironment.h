// One model database and one small metamodel for the whole test program: the
// registry reads its metamodel once per run, and its rules live in the
// database, so both stay open from the first test to the last.
#pragma once

#include "Controls/CommandImageList.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Three kinds enough for the edge cases: a misspelt key keeps its rules, a
// second Class element overwrites the first, a self-closing element has no
// rules, model="" places without owning.
const char kTestMetamodel[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<metamodel version=\"1\">\r\n"
    "<Class img=\"meta/Class.bmp\" symbol=\"Classbox\" help=\"/Class.htm\">\r\n"
    "  <Attribute/>\r\n"
    "  <Dependency in=\"0\"/>\r\n"
    "  <Association out=\"2\"/>\r\n"
    "</Class>\r\n"
    "<Clas><Operation/></Clas>\r\n"
    "<Activitydiagram img=\"meta/Activitydiagram.bmp\"><Class model=\"\"/><Page symbol=\"\"/></Activitydiagram>\r\n"
    "<Actor stereotype=\"person\" file=\"TRUE\"/>\r\n"
    "<Activity/>\r\n"
    "<Dependency/>\r\n"
    "<Association/>\r\n"
    "<Attribute/>\r\n"
    "<Class help=\"/Second.htm\"/>\r\n"
    "</metamodel>\r\n";

// Files the loader judges before the real one; none names a registered key
// or holds a rule, so they leave the registry empty.
struct EarlyMetamodel {
    const char* what;
    std::string body;
    bool accepted;
};
const std::string kLongTag(63, 'T');
const EarlyMetamodel kEarlyMetamodels[] = {
    {"root never closed", "<metamodel version=\"1\">\r\n<Unknownkey/>\r\n", false},
    {"element never closed", "<metamodel>\r\n<Unknownkey>\r\n</metamodel>\r\n", false},
    {"63-byte tag", "<metamodel>\r\n<" + kLongTag + "></" + kLongTag + ">\r\n</metamodel>\r\n", true},
};

class ModelEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        // A folder of this run's own: test programs run side by side.
        dir_ = std::string(VEXAL_TEST_OUTPUT) + "/model-env-" + theDbName + "/";
        std::filesystem::create_directories(dir_ + "cfg");
        std::ofstream(dir_ + "cfg/meta.xml", std::ios::binary) << kTestMetamodel;
        // Class has its icon; Activitydiagram's file is missing.
        std::filesystem::create_directories(dir_ + "Img/meta");
        std::filesystem::copy_file(std::string(VEXAL_SOURCE_DIR) + "/Img/meta/Class.bmp", dir_ + "Img/meta/Class.bmp");
        ASSERT_TRUE(icons.Create(16, 16, ILC_COLORDDB | ILC_MASK, 0, 1));
        const std::string& dir = dir_;

        SafeStrCopy(theModuleDir, (dir + "missing/").c_str(), ModuleDirSize);
        missingFileRefused = !LoadMetaModel() && GetMetaclassNames().empty();
        SafeStrCopy(theModuleDir, dir.c_str(), ModuleDirSize);
        for (const EarlyMetamodel& early : kEarlyMetamodels) {
            std::ofstream(dir_ + "cfg/meta.xml", std::ios::binary)
                << "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" << early.body;
            earlyAccepted.push_back(LoadMetaModel());
        }
        std::ofstream(dir_ + "cfg/meta.xml", std::ios::binary) << kTestMetamodel;
        SetMetaIconList(&icons);
        loaded = LoadMetaModel();
    }
    void TearDown() override
    {
        MemDbClose();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    static bool missingFileRefused;
    static bool loaded;
    static std::vector<bool> earlyAccepted; // one per kEarlyMetamodels entry
    static CCommandImageList icons;

private:
    std::string dir_;
};
