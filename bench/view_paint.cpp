// The diagram view's whole paint (grey, page, symbols, the copy to the
// window) of a page of 1,000 class boxes at zoom 0.5, 1 and 2 in a window
// of 1280 x 900, and one drag step of a selected box (a move and its
// repaint), through the real main window.
//   build/bin/bench_view_paint [--benchmark_min_time=0.5]
// Target: a paint under 30 ms at zoom 1.
#include "App/MainFrm.h"
#include "App/ShellServices.h"
#include "App/VexalApp.h"
#include "App/VexalView.h"
#include "ShellBench.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "Platform/Messages.h"
#include "Platform/TickCount.h"
#include "Platform/WinApp.h"
#include "UML/Model/PageZoom.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

CVexalApp theApp;

namespace {

const int kColumns = 40, kRows = 25;

std::string Hex(int v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", v);
    return text;
}

// A project whose class diagram has one A2 landscape page of 40 x 25 boxes.
std::string WriteProject(const std::filesystem::path& dir)
{
    const std::string header = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    std::ofstream(dir / "Bench.fup") << header
                                     << "<Settings/>\r\n<Project tool=\"Vexal 1.10.00\">\r\n<Model "
                                        "file=\"Bench.uml\"/>\r\n</Project>\r\n";
    std::string elements, symbols;
    for (int i = 0; i < kColumns * kRows; ++i) {
        const std::string n = std::to_string(i);
        elements += "<Class Name=\"C" + n + "\" GUID=\"E" + n + "\"/>\r\n";
        const int x = 200 + (i % kColumns) * 1400, y = 200 + (i / kColumns) * 1600;
        symbols += "<Class sid=\"S" + n + "\" mid=\"E" + n + "\" area=\"" + Hex(x) + "," + Hex(y) + "," +
                   Hex(x + 1200) + "," + Hex(y + 1000) + "\" text=\"C" + n + "\"/>\r\n";
    }
    std::ofstream(dir / "Bench.uml") << header << "<uml version=\"UML2.0\" tool=\"Vexal 1.10.00\">\r\n"
                                     << elements << "<Classdiagram Name=\"D\" GUID=\"D1\">\r\n"
                                     << "<Page Name=\"P\" GUID=\"P1\" PageWidth=\"E808\" PageHeight=\"A410\">\r\n"
                                     << symbols << "</Page>\r\n</Classdiagram>\r\n</uml>\r\n";
    return (dir / "Bench.fup").string();
}

DWORD fakeNow = 1000;
DWORD FakeClock() { return fakeNow; }

void BM_ViewPaint(benchmark::State& state)
{
    CVexalView* view = GetMainView();
    SetZoom(float(state.range(0)) / 100.0f);
    view->UpdateScrollSizes();
    for (auto _ : state) {
        view->Invalidate(FALSE);
        view->UpdateWindow();
    }
    SetZoom(1.0f);
    view->UpdateScrollSizes();
}
BENCHMARK(BM_ViewPaint)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The first box pressed (selected), then moved a pixel to and fro past the
// press lockout, each move repainted.
void BM_DragStep(benchmark::State& state)
{
    CVexalView* view = GetMainView();
    view->UpdateWindow();
    const CRect usable = view->GetUsableRect();
    const CPoint press(usable.left + 20, usable.top + 20);
    SetTickCountSource(FakeClock);
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    fakeNow += 1000;
    int step = 0;
    for (auto _ : state) {
        const int x = press.x + 4 + (step++ & 1);
        view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, press.y));
        view->UpdateWindow();
    }
    view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
    SetTickCountSource(nullptr);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path home = ShellBenchHome("view");
    QApplication app(argc, argv);
    AfxSetProfileFolder((home / "profile").string().c_str());
    if (!theApp.InitInstance())
        return 1;
    CMainFrame* frame = GetMainFrame();
    frame->OpenProject(WriteProject(home / "P"), false);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("Name", "D") <= 0 || !OpenDiagram(c->ID, 0))
        return 1;
    CVexalView* view = GetMainView();
    for (int round = 0; round < 3; ++round) {
        CRect client, outer;
        view->GetClientRect(&client);
        frame->GetWindowRect(&outer);
        frame->MoveWindow(0, 0, outer.Width() + 1280 - client.Width(), outer.Height() + 900 - client.Height());
        Settle();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frame->CloseProject();
    frame->DestroyWindow();
    std::filesystem::remove_all(home);
    return 0;
}
