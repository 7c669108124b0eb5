// The help viewer's tests: offscreen, and any modal dialog or message box
// fails the test that asked for it.
#include "Platform/DialogHook.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    AfxSetDialogHook([](DialogRequest&, INT_PTR*) {
        ADD_FAILURE() << "a dialog was requested";
        return true;
    });
    return RUN_ALL_TESTS();
}
