// The model browser on the project benchmarks' project (100,000 elements in
// ten unit files), in the running main window: File/Open until the browser
// has painted, a rebuild of the rows with the units closed and with every
// element open, and a paint of the open tree.
//   build/bin/bench_browser_search
// Targets: open under 3 s, a fully open rebuild under 0.5 s, a paint under 16 ms.
#include "App/MainFrm.h"
#include "App/VexalApp.h"
#include "BenchModel.h"
#include "ShellBench.h"
#include "File/ProjectStore.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Messages.h"
#include "Platform/WinApp.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

CVexalApp theApp;

namespace {

std::string theProject;

CModelBrowser& Browser() { return GetMainFrame()->GetModelBrowser(); }

// Sets or clears the expanded bit of every element but the project and
// "Model" roots, which stay open, straight into the engine.
void ExpandAll(bool expand)
{
    std::vector<oid_t> rows;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        dbQueryText all;
        all.Append(dbFragText, "ID>0");
        if (c.Select(all, dbCursorViewOnly) > 0)
            do
                rows.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : rows) {
        ModelT row;
        theModelDb.FetchRecord(oid, &ModelT::TableInfo, &row);
        const bool open = expand || row.ID == theProjectRootId || row.ID == theModelRootId;
        row.ItemState = static_cast<int16_t>(open ? row.ItemState | ITEM_EXPANDED : row.ItemState & ~ITEM_EXPANDED);
        theModelDb.UpdateRecord(oid, &ModelT::TableInfo, &row);
    }
}

void BM_OpenUntilTheBrowserPainted(benchmark::State& state)
{
    CMainFrame* frame = GetMainFrame();
    for (auto _ : state) {
        state.PauseTiming();
        frame->CloseProject();
        Settle();
        state.ResumeTiming();
        frame->OpenProject(theProject, false);
        Browser().UpdateWindow();
    }
    state.counters["elements"] = theNextElementId;
}
BENCHMARK(BM_OpenUntilTheBrowserPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RebuildCollapsed(benchmark::State& state)
{
    ExpandAll(false);
    for (auto _ : state)
        Browser().Refresh(true);
    state.counters["rows"] = double(Browser().GetRows().size());
}
BENCHMARK(BM_RebuildCollapsed)->Unit(benchmark::kMillisecond);

void BM_RebuildExpanded(benchmark::State& state)
{
    ExpandAll(true);
    for (auto _ : state)
        Browser().Refresh(true);
    state.counters["rows"] = double(Browser().GetRows().size());
}
BENCHMARK(BM_RebuildExpanded)->Unit(benchmark::kMillisecond);

// The open tree scrolled half way down, painted anew each time.
void BM_PaintExpanded(benchmark::State& state)
{
    ExpandAll(true);
    Browser().Refresh(true);
    Browser().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0x7FFF), 0);
    for (auto _ : state) {
        Browser().Invalidate(FALSE);
        Browser().UpdateWindow();
    }
}
BENCHMARK(BM_PaintExpanded)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path home = ShellBenchHome("browser");
    QApplication app(argc, argv);
    AfxSetProfileFolder((home / "profile").string().c_str());
    if (!theApp.InitInstance())
        return 1;
    Settle();
    CMainFrame* frame = GetMainFrame();
    frame->MoveWindow(0, 0, 1280, 1024);
    const std::string dir = (home / "P").string() + "/";
    theProject = dir + "Bench.fup";
    frame->OpenProject(theProject, true);
    BenchModel::Build(dir);
    FileFailures failures;
    if (!ProjectStore::Save(-1, &failures))
        return 1;
    Settle();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    frame->CloseProject();
    frame->DestroyWindow();
    std::filesystem::remove_all(home);
    return 0;
}
