// The symbol classes under the shipped metamodel, for a test program's
// main: the classes register before the metamodel loads, as at start-up, in
// a program folder of this run's own (the log goes there, and test programs
// run side by side) that holds cfg/meta.xml and no Lib/ folder. Any modal
// dialog or message box fails the test that asked for it.
#pragma once

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
    // The program folder is <test output>/<prefix>-env-<database name>/.
    explicit SymbolEnvironment(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        const std::string folder = std::string(VEXAL_TEST_OUTPUT) + "/" + prefix_ + "-env-" + theDbName + "/";
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

private:
    std::string prefix_;
};

// Runs the program's tests in an offscreen application under the environment.
inline int RunSymbolTests(int argc, char** argv, const std::string& prefix)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SymbolEnvironment(prefix));
    return RUN_ALL_TESTS();
}
