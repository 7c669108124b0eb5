// Painting and hit-testing a page of 1,000 symbols through its controller.
//   build/bin/bench_page_paint [--benchmark_min_time=0.5]
#include "ClassPageBench.h"

#include "Pub/SYSConfig.h"
#include "UML/Model/PageState.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kDiagram = 1, kPage = 2, kColumns = 40, kRows = 25;

void BuildPage()
{
    InsertClassPageRows(kDiagram, kPage, 84000, 59400);
    const char* kinds[] = {"Class", "Package", "Action", "State"};
    for (int i = 0; i < kColumns * kRows; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "Symbol%d", i);
        SymbolT s;
        s.ID = i + 1;
        s.PID = kPage;
        s.Type = kinds[i % 4];
        s.Text = text;
        s.Syntax = "0000000";
        s.x1 = 200 + (i % kColumns) * 2000;
        s.y1 = 200 + (i / kColumns) * 2200;
        s.x2 = s.x1 + 1800;
        s.y2 = s.y1 + 1000;
        s.tx1 = s.x1 + 150;
        s.tx2 = s.x2 - 150;
        s.ty1 = s.y1 + 150;
        s.ty2 = s.ty1 + 500;
        s.sterey = s.y1 + 150;
        s.ItemState = i % 50 == 0 ? SYMBOL_CHECKED : 0;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
}

void BM_PaintPage(benchmark::State& state)
{
    BenchSurface surface(84000 * 96 / 2540, 59400 * 96 / 2540);
    CDiagramController* c = ClassDiagramController();
    for (auto _ : state) {
        c->DrawPage(&surface.dc);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_PaintPage)->Unit(benchmark::kMillisecond);

void BM_HitTest(benchmark::State& state)
{
    CDiagramController* c = ClassDiagramController();
    std::vector<POINT> points;
    for (int i = 0; i < 100; ++i)
        points.push_back(POINT{(i * 7919) % 80000, (i * 104729) % 55000});
    HitSymbol out;
    size_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c->HitTest(points[n++ % points.size()], out));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunClassPageBenchmarks(argc, argv, kDiagram, kPage, SymbolClasses::Base, BuildPage);
}
