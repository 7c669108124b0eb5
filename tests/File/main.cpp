// One model database and one metamodel for the whole program, with the
// symbol classes registered before it as at start-up: the registry reads its
// metamodel once per process. The program folder holds the
// predefined unit that every project loads.
#include "StoreFixture.h"

#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char kMetamodel[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<metamodel version=\"1\">\r\n"
                          "<Syspackage><Package/></Syspackage>\r\n"
                          "<Package><Package/><Class/><Stereotype/><Classdiagram/></Package>\r\n"
                          "<Class><Attribute/></Class>\r\n"
                          "<Classdiagram><Page/></Classdiagram>\r\n"
                          "<Page/>\r\n"
                          "<Attribute/>\r\n"
                          "<Stereotype><Attribute/></Stereotype>\r\n"
                          "</metamodel>\r\n";

class StoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        dir_ = std::string(VEXAL_TEST_OUTPUT) + "/file-env-" + theDbName + "/";
        std::filesystem::create_directories(dir_ + "cfg");
        TestFolder::Write(dir_ + "cfg/meta.xml", kMetamodel);
        TestFolder::Write(dir_ + "cfg/predefined.uml", kPredefinedUnit);
        SafeStrCopy(theModuleDir, dir_.c_str(), ModuleDirSize);
        ASSERT_TRUE(RegisterUmlSymbolClasses());
        ASSERT_TRUE(LoadMetaModel());
    }
    void TearDown() override
    {
        MemDbClose();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

private:
    std::string dir_;
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new StoreEnvironment);
    return RUN_ALL_TESTS();
}
