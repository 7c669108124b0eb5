// The control tests need one application object: windows, fonts and
// printers all live in it. Qt runs without a display here, and the
// profile lives in a folder of the run's own.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir profile;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profile.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
