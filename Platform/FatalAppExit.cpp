// The fatal-exit box may be the only thing a process shows (the crash
// reporter starts the program just for it), so it makes the toolkit's
// application object when there is none.
#include "Platform/DialogHook.h"

#include <QApplication>
#include <QFileInfo>

#include <memory>
#include <unistd.h>

void FatalAppExit(UINT, LPCTSTR lpMessageText)
{
    static int argc = 1;
    static char name[] = "vexal";
    static char* argv[] = { name, nullptr };
    std::unique_ptr<QApplication> qt;
    if (!QCoreApplication::instance())
        qt = std::make_unique<QApplication>(argc, argv);
    const QByteArray caption = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toUtf8();
    MessageBox(nullptr, lpMessageText, caption.constData(), MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
    _exit(255);
}
