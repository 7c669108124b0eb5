// The gesture scenario runs on the shipped metamodel with two stand-in symbol
// classes registered before it is loaded; the registry and the database stay
// for the whole program.
#include "TestSymbols.h"

#include "MemDB/db.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/SymbolRegistry.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class ScenarioEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        static TestBox box;
        static TestLine line;
        RegisterMetaclass("Class", &box);
        RegisterMetaclass("Association", &line);
        SafeStrCopy(theModuleDir, VEXAL_SOURCE_DIR "/", ModuleDirSize);
        ASSERT_TRUE(LoadMetaModel());
    }
    void TearDown() override { MemDbClose(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ScenarioEnvironment);
    return RUN_ALL_TESTS();
}
