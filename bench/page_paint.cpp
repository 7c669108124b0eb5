// Painting and hit-testing a page of 1,000 symbols through its controller.
//   build/bin/bench_page_paint [--benchmark_min_time=0.5]
#include "MemDB/db.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolRegistry.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kDiagram = 1, kPage = 2, kColumns = 40, kRows = 25;

void BuildPage()
{
    ModelT diagram;
    diagram.ID = diagram.SN = kDiagram;
    diagram.Type = "Classdiagram";
    diagram.Name = "Bench";
    theModelDb.InsertRecord(&ModelT::TableInfo, &diagram);
    ModelT page;
    page.ID = page.SN = kPage;
    page.FID = kDiagram;
    page.Type = "Page";
    page.Name = "Page1";
    theModelDb.InsertRecord(&ModelT::TableInfo, &page);
    ModelPage size;
    size.ID = kPage;
    size.PageWidth = 84000;
    size.PageHeight = 59400;
    size.Parsed = 1;
    theModelDb.InsertRecord(&ModelPage::TableInfo, &size);
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

CDiagramController* Controller()
{
    CDiagramController* c = nullptr;
    FindDiagramController("Classdiagram", c);
    return c;
}

void BM_PaintPage(benchmark::State& state)
{
    CBitmap bitmap;
    bitmap.CreateBitmap(84000 * 96 / 2540, 59400 * 96 / 2540, 1, 32, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    RebuildDrawResources(&dc);
    CDiagramController* c = Controller();
    for (auto _ : state) {
        c->DrawPage(&dc);
        benchmark::ClobberMemory();
    }
    dc.SelectObject(old);
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_PaintPage)->Unit(benchmark::kMillisecond);

void BM_HitTest(benchmark::State& state)
{
    CDiagramController* c = Controller();
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return 1;
    BuildSymbolRegistry();
    BuildPage();
    CDiagramController* c = Controller();
    c->Attach(0, kDiagram, nullptr);
    c->OpenPage(kDiagram, kPage);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MemDbClose();
    return 0;
}
