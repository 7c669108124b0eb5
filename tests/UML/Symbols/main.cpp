// The symbol classes under the shipped metamodel: the classes register before
// the metamodel loads, as at start-up. Any modal dialog or message box fails
// the test that asked for it: nothing here may open one.
#include "MemDB/db.h"
#include "Platform/DialogHook.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>

class SymbolEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::filesystem::create_directories(VEXAL_TEST_OUTPUT "/symbols");
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        SafeStrCopy(theModuleDir, VEXAL_SOURCE_DIR "/", ModuleDirSize);
        ASSERT_TRUE(RegisterUmlSymbolClasses());
        ASSERT_TRUE(LoadMetaModel());
        AfxSetDialogHook([](DialogRequest&, INT_PTR*) {
            ADD_FAILURE() << "a dialog was requested";
            return true;
        });
    }
    void TearDown() override { MemDbClose(); }
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
