// The shell tests drive the real program in-process: one application
// object (the program's own), on Qt without a display. CTest runs each
// case in a process of its own, as the program runs once per process.
#include "App/VexalApp.h"

#include <QApplication>
#include <gtest/gtest.h>

CVexalApp theApp;

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
