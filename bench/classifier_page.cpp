// Painting and hit-testing a page of 1,000 class boxes, each with three
// attribute and three operation lines, through its controller. Items are
// drawn rows (boxes and lines), to be set beside bench_page_paint's page.
//   build/bin/bench_classifier_page [--benchmark_min_time=0.5]
#include "ClassPageBench.h"

#include "UML/Model/Symbol.h"

#include <cstdio>
#include <vector>

namespace {

const int kDiagram = 1, kPage = 2, kColumns = 40, kRows = 25, kMembers = 6;

void BuildPage(CDC* dc)
{
    InsertClassPageRows(kDiagram, kPage, 42000 * 4, 59400 * 2);
    CSymbol* box = nullptr;
    FindMetaclass("Class", box);
    int next = 0;
    for (int i = 0; i < kColumns * kRows; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "Class%d", i);
        SymbolT s;
        s.ID = ++next;
        s.PID = kPage;
        s.Type = "Class";
        s.MMC = MMC_CLASS;
        s.Text = text;
        s.Syntax = "0000000";
        s.x1 = 200 + (i % kColumns) * 4000;
        s.y1 = 200 + (i / kColumns) * 4500;
        s.x2 = s.x1 + 100;
        s.y2 = s.y1 + 100;
        s.ItemState = SYMBOL_AUTOLAYOUT;
        for (int m = 0; m < kMembers; ++m) {
            char member[32];
            std::snprintf(member, sizeof member, m < 3 ? "+ a%d:Integer" : "+ op%d()", m);
            SymbolT line;
            line.ID = ++next;
            line.PID = kPage;
            line.FID = s.ID;
            line.Type = m < 3 ? "Attribute" : "Operation";
            line.MMC = m < 3 ? MMC_ATTRIBUTE : MMC_OPERATION;
            line.Text = member;
            line.Syntax = "0000000";
            theModelDb.InsertRecord(&SymbolT::TableInfo, &line);
        }
        box->Layout(s, dc, nullptr);
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
}

// The whole page, in pixels at zoom 1.
struct Surface : BenchSurface {
    Surface() : BenchSurface(42000 * 4 * 96 / 2540, 59400 * 2 * 96 / 2540) {}
};

void BM_PaintClassifierPage(benchmark::State& state)
{
    Surface surface;
    CDiagramController* c = ClassDiagramController();
    for (auto _ : state) {
        c->DrawPage(&surface.dc);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kColumns * kRows * (1 + kMembers));
}
BENCHMARK(BM_PaintClassifierPage)->Unit(benchmark::kMillisecond);

void BM_HitTestClassifierPage(benchmark::State& state)
{
    CDiagramController* c = ClassDiagramController();
    std::vector<POINT> points;
    for (int i = 0; i < 100; ++i)
        points.push_back(POINT{(i * 7919) % 160000, (i * 104729) % 112000});
    HitSymbol out;
    size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c->HitTest(points[n++ % points.size()], out));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HitTestClassifierPage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunClassPageBenchmarks(argc, argv, kDiagram, kPage, SymbolClasses::Registered, [] {
        Surface surface;
        BuildPage(&surface.dc);
    });
}
