// One resize step of a main window holding a toolbar on top and three
// captioned panes docked left, right and bottom: the frame's layout (rows
// negotiated, bars moved) and the panes' non-client repaint.
//   build/bin/bench_dock_resize [--benchmark_min_time=0.5]
// Aim: a step within 8 ms, half a frame at 60 Hz.
#include "Controls/CoolDockBar.h"
#include "Controls/SCBMiniDockFrameWnd.h"
#include "Platform/FrameWnd.h"
#include "Platform/ToolBar.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

struct Frame {
    CFrameWnd* frame = new CFrameWnd;
    CToolBar toolbar;
    CCoolDockBar panes[3];
    CWnd children[3];

    Frame()
    {
        frame->Create(nullptr, "Vexal", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768));
        toolbar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_BORDER_BOTTOM);
        const UINT ids[] = { 32775, 32776, 32774 };
        const UINT sides[] = { AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_RIGHT };
        for (int i = 0; i < 3; ++i) {
            panes[i].Create(nullptr, frame, ids[i], WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM);
            children[i].Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &panes[i], ids[i]);
            panes[i].SetBarStyle(panes[i].GetBarStyle() | CBRS_SIZE_DYNAMIC);
            panes[i].EnableDocking(CBRS_ALIGN_ANY);
        }
        toolbar.EnableDocking(CBRS_ALIGN_ANY);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->m_pFloatingFrameClass = RUNTIME_CLASS(CSCBMiniDockFrameWnd);
        frame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
        for (int i = 0; i < 3; ++i)
            frame->DockControlBar(&panes[i], sides[i]);
        frame->RecalcLayout();
    }
    ~Frame() { frame->DestroyWindow(); }
};

void BM_ResizeStep(benchmark::State& state)
{
    Frame f;
    int step = 0;
    for (auto _ : state) {
        const int grow = (step++ & 1) ? 0 : 8;
        f.frame->SetWindowPos(nullptr, 0, 0, 1024 + grow, 768 + grow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        f.frame->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    }
}
BENCHMARK(BM_ResizeStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
