// What the benchmarks that run the real main window share: an offscreen
// platform, a fresh home folder, and a way to let queued work finish.
#pragma once

#include "Platform/Messages.h"
#include "Platform/WinApp.h"

#include <QApplication>

#include <filesystem>
#include <string>

// Chooses the offscreen platform unless one is set, and makes the empty
// folder <temp>/vexal-bench-<name> with a project folder P in it. Call it
// before the QApplication is made.
inline std::filesystem::path ShellBenchHome(const char* name)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path home = std::filesystem::temp_directory_path() / ("vexal-bench-" + std::string(name));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "P");
    return home;
}

// Dispatches what is queued, painting included.
inline void Settle()
{
    QApplication::processEvents();
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg))
            DispatchMessage(&msg);
    }
}
