// The help export under the shipped metamodel with the symbol classes
// registered, as at start-up, in a program folder of this run's own that
// holds no Lib/ folder. Any modal dialog or message box fails the test that
// asked for it.
#include "MemDB/db.h"
#include "Platform/DialogHook.h"
#include "Pub/GuidText.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class ExportEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        const std::string folder = std::string(VEXAL_TEST_OUTPUT) + "/export-env-" + theDbName + "/";
        std::filesystem::create_directories(folder + "cfg");
        std::filesystem::copy_file(VEXAL_SOURCE_DIR "/cfg/meta.xml", folder + "cfg/meta.xml");
        SafeStrCopy(theModuleDir, folder.c_str(), ModuleDirSize);
        ASSERT_TRUE(RegisterUmlSymbolClasses());
        ASSERT_TRUE(LoadMetaModel());
        AfxSetDialogHook([](DialogRequest&, INT_PTR*) {
            ADD_FAILURE() << "a dialog was requested";
            return true;
        });
    }
    void TearDown() override
    {
        MemDbClose();
        theLog.FlushPending();
        std::error_code ignored;
        std::filesystem::remove_all(theModuleDir, ignored);
    }
};

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ExportEnvironment);
    return RUN_ALL_TESTS();
}
