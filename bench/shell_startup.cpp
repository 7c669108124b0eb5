// The shell's start-up, from the start of InitInstance to the end of the main
// window's first paint, and File/Open of the project benchmarks' project
// (100,000 elements in ten unit files) through the main window: the store's
// open, the recent list and the model browser's refresh.
//   build/bin/bench_shell_startup
// Target: start-up under 1 s.
#include "App/MainFrm.h"
#include "App/VexalApp.h"
#include "BenchModel.h"
#include "ShellBench.h"
#include "File/ProjectStore.h"
#include "MemDB/db.h"
#include "Platform/Messages.h"
#include "Platform/WinApp.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

CVexalApp theApp;

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path home = ShellBenchHome("shell");
    QApplication app(argc, argv);
    AfxSetProfileFolder((home / "profile").string().c_str());

    auto start = std::chrono::steady_clock::now();
    if (!theApp.InitInstance())
        return 1;
    Settle();
    const double startUp = Seconds(start);

    CMainFrame* frame = GetMainFrame();
    const std::string dir = (home / "P").string() + "/";
    const std::string project = dir + "Bench.fup";
    frame->OpenProject(project, true);
    BenchModel::Build(dir);
    const int elements = theNextElementId;
    FileFailures failures;
    if (!ProjectStore::Save(-1, &failures) || !frame->CloseProject())
        return 1;

    start = std::chrono::steady_clock::now();
    frame->OpenProject(project, false);
    Settle();
    const double open = Seconds(start);
    const int loaded = theNextElementId;

    std::printf("start-up to first paint %.3f s (target 1 s)\n", startUp);
    std::printf("File/Open of %d elements %.3f s (%d loaded)\n", elements, open, loaded);
    frame->CloseProject();
    frame->DestroyWindow();
    std::filesystem::remove_all(home);
    return loaded == elements ? 0 : 1;
}
