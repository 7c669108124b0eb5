// The script tests run scripts in the real main window, on Qt without a
// display; the engine starts once for the process, as in the program.
#include "App/VexalApp.h"
#include "Scripting/ScriptHost.h"

#include <QApplication>
#include <gtest/gtest.h>

CVexalApp theApp;

namespace {

class ScriptEngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(ScriptEngineStart()); }
    void TearDown() override { ScriptEngineStop(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ScriptEngineEnvironment);
    return RUN_ALL_TESTS();
}
