// A sequence diagram page of 50 typed lifelines and 1,000 messages with call
// texts (40 message ends per lifeline): painting it, hit-testing it, its
// first opening that checks every text, and moving one lifeline with its
// message ends.
//   build/bin/bench_sequence_page [--benchmark_min_time=0.5]
#include "ClassPageBench.h"

#include "MemDB/dbCursor.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/SymbolRows.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kPackage = 1, kDiagram = 2, kPage = 3, kType = 4, kSignals = 20;
const int kLifelines = 50, kMessages = 1000;
const int kWidth = 84000, kHeight = 59400;

std::string Guid(bool element)
{
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, element ? TRUE : FALSE);
    return guid;
}

ModelT Element(int id, int owner, const char* type, const char* name, const std::string& guid)
{
    ModelT e;
    e.ID = e.SN = id;
    e.FID = owner;
    e.Type = type;
    e.Name = name;
    e.GUID = guid.c_str();
    return e;
}

std::vector<std::string> theLifelineSguids;

void BuildPage()
{
    const std::string packageGuid = Guid(true), diagramGuid = Guid(true), pageGuid = Guid(true), typeGuid = Guid(true);
    ModelT package = Element(kPackage, 0, "Package", "Model", packageGuid);
    theModelDb.InsertRecord(&ModelT::TableInfo, &package);
    ModelT diagram = Element(kDiagram, kPackage, "Sequencediagram", "Bench", diagramGuid);
    theModelDb.InsertRecord(&ModelT::TableInfo, &diagram);
    ModelT page = Element(kPage, kDiagram, "Page", "Page1", pageGuid);
    theModelDb.InsertRecord(&ModelT::TableInfo, &page);
    ModelPage size;
    size.ID = kPage;
    size.PageWidth = kWidth;
    size.PageHeight = kHeight;
    size.Parsed = 1;
    theModelDb.InsertRecord(&ModelPage::TableInfo, &size);
    ModelT type = Element(kType, kPackage, "Class", "Server", typeGuid);
    theModelDb.InsertRecord(&ModelT::TableInfo, &type);
    int next = kType + 1;
    for (int i = 0; i < kSignals; ++i) {
        const std::string guid = Guid(true), name = "signal" + std::to_string(i);
        ModelT signal = Element(next++, kType, "Signal", name.c_str(), guid);
        theModelDb.InsertRecord(&ModelT::TableInfo, &signal);
    }

    int symbolId = 1;
    for (int i = 0; i < kLifelines; ++i) {
        const std::string guid = Guid(true), sguid = Guid(false), name = "l" + std::to_string(i);
        ModelT element = Element(next, kPackage, "Lifeline", name.c_str(), guid);
        element.Use = typeGuid.c_str();
        theModelDb.InsertRecord(&ModelT::TableInfo, &element);
        ModelAttribute attribute;
        attribute.ID = next++;
        theModelDb.InsertRecord(&ModelAttribute::TableInfo, &attribute);
        const std::string text = name + ":Server";
        SymbolT s;
        s.ID = symbolId++;
        s.PID = kPage;
        s.Type = "Lifeline";
        s.MSC = MSC_LIFELINE;
        s.GUID = guid.c_str();
        s.SGUID = sguid.c_str();
        s.Text = text.c_str();
        s.x1 = 500 + i * 1600;
        s.y1 = 500;
        s.x2 = s.x1 + 1300;
        s.y2 = s.y1 + 700;
        s.tx1 = s.x1 + 150;
        s.tx2 = s.x2 - 150;
        s.ty1 = s.y1 + 150;
        s.ty2 = s.ty1 + 400;
        s.sterey = s.y1 + 100;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
        theLifelineSguids.push_back(sguid);
    }
    for (int k = 0; k < kMessages; ++k) {
        const int from = k % kLifelines, to = (from + 1) % kLifelines;
        const int fromX = 500 + from * 1600 + 650, toX = 500 + to * 1600 + 650;
        char text[48];
        if (k % 10 == 9)
            std::snprintf(text, sizeof text, "unknown%d(%d)", k, k);
        else
            std::snprintf(text, sizeof text, "signal%d(%d, x)", k % kSignals, k);
        const std::string sguid = Guid(false);
        SymbolT m;
        m.ID = symbolId++;
        m.PID = kPage;
        m.Type = k % 4 == 3 ? "Methodcall" : "Message";
        m.MSC = MSC_LINE;
        m.MMC = MMC_NONE;
        m.SGUID = sguid.c_str();
        m.SrcID = theLifelineSguids[from].c_str();
        m.DestID = theLifelineSguids[to].c_str();
        m.Text = text;
        m.x1 = fromX;
        m.x2 = toX;
        m.y1 = m.y2 = 1800 + k * 55;
        m.tx1 = (fromX + toX) / 2 - 700;
        m.tx2 = m.tx1 + 1400;
        m.ty1 = m.y1 - 350;
        m.ty2 = m.y1 - 20;
        m.sterey = m.ty1;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &m);
    }
}

CDiagramController* SequenceController()
{
    CDiagramController* c = nullptr;
    FindDiagramController("Sequencediagram", c);
    return c;
}

void BM_PaintPage(benchmark::State& state)
{
    SetZoom(1.0f);
    BenchSurface surface(kWidth * 96 / 2540, kHeight * 96 / 2540);
    CDiagramController* c = SequenceController();
    for (auto _ : state) {
        c->DrawPage(&surface.dc);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (kLifelines + kMessages));
}
BENCHMARK(BM_PaintPage)->Unit(benchmark::kMillisecond);

void BM_HitTest(benchmark::State& state)
{
    CDiagramController* c = SequenceController();
    std::vector<POINT> points;
    for (int i = 0; i < 100; ++i)
        points.push_back(POINT{(i * 7919) % 80000, (i * 104729) % 57000});
    HitSymbol out;
    size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c->HitTest(points[n++ % points.size()], out));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

// Every symbol's owner and colour runs rebuilt, as when a loaded page is
// first opened.
void BM_FirstOpening(benchmark::State& state)
{
    for (auto _ : state)
        CompletePageSymbols(kPage);
    state.SetItemsProcessed(state.iterations() * (kLifelines + kMessages));
}
BENCHMARK(BM_FirstOpening)->Unit(benchmark::kMillisecond);

void BM_MoveLifeline(benchmark::State& state)
{
    BenchSurface surface(100, 100);
    const int lifeline = 25;
    int step = 100;
    for (auto _ : state) {
        MoveSymbol(lifeline, &surface.dc, SIZE{step, step});
        step = -step;
    }
    state.SetItemsProcessed(state.iterations());
    // The message ends that followed it onto its centre line: 40 when the
    // move did its work.
    SymbolT moved;
    FetchSymbolById(lifeline, moved);
    const int cx = (moved.x1 + moved.x2) / 2;
    int ends = 0;
    for (const char* column : {"SrcID", "DestID"}) {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey(column, moved.SGUID) > 0)
            do
                ends += (column[0] == 'S' ? c->x1 : c->x2) == cx;
            while (c.Next());
    }
    state.counters["ends"] = ends;
}
BENCHMARK(BM_MoveLifeline)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return 1;
    RegisterUmlSymbolClasses();
    BuildSymbolRegistry();
    BuildPage();
    CDiagramController* c = SequenceController();
    if (!c)
        return 1;
    c->Attach(kPackage, kDiagram, nullptr);
    c->OpenPage(kDiagram, kPage);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MemDbClose();
    return 0;
}
