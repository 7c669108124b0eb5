// Gestures on a page of 1,000 boxes joined by 1,500 lines: a rubber band over
// a quarter of the page, moving 100 selected boxes (with their lines) and
// undoing it, and pasting 200 symbols. A move should fit in one 60 Hz frame
// (16 ms).
//   build/bin/bench_symbol_gestures [--benchmark_min_time=0.5]
#include "ClassPageBench.h"

#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "Platform/Messages.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolClipboard.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kDiagram = 1, kPage = 2, kPasteTarget = 3, kColumns = 40, kBoxes = 1000, kLines = 1500;

std::string Sguid(int box)
{
    char text[32];
    std::snprintf(text, sizeof text, "BOX%05d", box);
    return text;
}

void AddElement(int id, int fid, const char* type)
{
    ModelT e;
    e.ID = e.SN = id;
    e.FID = fid;
    e.Type = type;
    e.Name = type;
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
}

void BuildPage()
{
    AddElement(kDiagram, 0, "Classdiagram");
    AddElement(kPage, kDiagram, "Page");
    AddElement(kPasteTarget, kDiagram, "Page");
    for (int id : {kPage, kPasteTarget}) {
        ModelPage size;
        size.ID = id;
        size.PageWidth = 84000;
        size.PageHeight = 59400;
        size.Parsed = 1;
        theModelDb.InsertRecord(&ModelPage::TableInfo, &size);
    }
    for (int i = 0; i < kBoxes; ++i) {
        const std::string sguid = Sguid(i);
        SymbolT s;
        s.ID = i + 1;
        s.PID = kPage;
        s.Type = "Class";
        s.Text = sguid.c_str();
        s.SGUID = sguid.c_str();
        s.MMC = MMC_CLASS;
        s.x1 = 200 + (i % kColumns) * 2000;
        s.y1 = 200 + (i / kColumns) * 2200;
        s.x2 = s.x1 + 1800;
        s.y2 = s.y1 + 1000;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
    for (int i = 0; i < kLines; ++i) {
        const std::string src = Sguid(i % kBoxes), dest = Sguid((i * 7 + 1) % kBoxes);
        SymbolT s;
        s.ID = kBoxes + i + 1;
        s.PID = kPage;
        s.Type = "Dependency";
        s.MSC = MSC_LINE;
        s.SrcID = src.c_str();
        s.DestID = dest.c_str();
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    }
}

// A small context to measure and lay out symbols on.
struct Measure : BenchSurface {
    Measure() : BenchSurface(16, 16) { PrepareSymbolDC(&dc); }
};

void BM_RubberBand(benchmark::State& state)
{
    Measure m;
    CDiagramController* c = ClassDiagramController();
    for (auto _ : state) {
        c->OnMouseDown(MK_LBUTTON, POINT{100, 100}, &m.dc);
        c->OnMouseMove(MK_LBUTTON, POINT{40000, 27000}, &m.dc);
        benchmark::DoNotOptimize(c->OnMouseUp(0, POINT{40000, 27000}, &m.dc));
        state.PauseTiming();
        c->SetSelection(kPage, false, -1);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBoxes);
}
BENCHMARK(BM_RubberBand)->Unit(benchmark::kMillisecond);

// 100 boxes spread over the page, each with three lines on average.
void SelectHundred(CDiagramController* c)
{
    c->SetSelection(kPage, false, -1);
    for (int i = 0; i < kBoxes; i += 10)
        c->SetSelection(kPage, true, i + 1);
}

void BM_MoveHundred(benchmark::State& state)
{
    Measure m;
    CDiagramController* c = ClassDiagramController();
    SelectHundred(c);
    int dx = 100;
    for (auto _ : state) {
        UndoLog::NewGroup();
        benchmark::DoNotOptimize(c->MoveSelection(&m.dc, dx, 0));
        dx = -dx;
        state.PauseTiming();
        UndoLog::Clear();
        state.ResumeTiming();
    }
    c->SetSelection(kPage, false, -1);
}
BENCHMARK(BM_MoveHundred)->Unit(benchmark::kMillisecond);

void BM_UndoMoveHundred(benchmark::State& state)
{
    Measure m;
    CDiagramController* c = ClassDiagramController();
    SelectHundred(c);
    for (auto _ : state) {
        state.PauseTiming();
        UndoLog::NewGroup();
        c->MoveSelection(&m.dc, 100, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(UndoLog::Undo());
    }
    UndoLog::Clear();
    c->SetSelection(kPage, false, -1);
}
BENCHMARK(BM_UndoMoveHundred)->Unit(benchmark::kMillisecond);

void BM_PasteTwoHundred(benchmark::State& state)
{
    std::vector<char> block(theDbName, theDbName + DbNameSize);
    CSymbol* box = nullptr;
    FindMetaclass("Class", box);
    for (int i = 0; i < 200; ++i) {
        dbTypedCursor<SymbolT> row(&SymbolT::TableInfo);
        row.SelectByKey("ID", i + 1);
        const size_t at = block.size();
        block.resize(at + MemDbImageSize(&SymbolT::TableInfo, row.GetRecord()));
        box->FlattenSymbol(block.data() + at, *row.GetRecord());
    }
    for (auto _ : state) {
        UndoLog::NewGroup();
        benchmark::DoNotOptimize(PasteSymbolBlock(block.data(), block.size(), kPasteTarget));
        state.PauseTiming();
        UndoLog::Undo();
        UndoLog::Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_PasteTwoHundred)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunClassPageBenchmarks(argc, argv, kDiagram, kPage, SymbolClasses::Base, BuildPage);
}
