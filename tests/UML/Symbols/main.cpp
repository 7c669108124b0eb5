// The symbol classes under the shipped metamodel: the classes register before
// the metamodel loads, as at start-up. Any modal dialog or message box fails
// the test that asked for it: nothing here may open one.
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

class SymbolEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT "/symbols");
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        // A program folder of this run's own, with the shipped metamodel: the
        // log goes there, and test programs run side by side.
        const std::string folder = std::string(VEXAL_TEST_OUTPUT) + "/symbols-env-" + theDbName + "/";
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
    ::testing::AddGlobalTestEnvironment(new SymbolEnvironment);
    return RUN_ALL_TESTS();
}
