// Drawing tests measure text, which needs an application object; Qt runs
// without a display here. The model database and the metamodel are shared by
// every test of the program.
#include "ModelEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

bool ModelEnvironment::missingFileRefused = false;
bool ModelEnvironment::loaded = false;
std::vector<bool> ModelEnvironment::earlyAccepted;
CCommandImageList ModelEnvironment::icons;

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ModelEnvironment);
    return RUN_ALL_TESTS();
}
