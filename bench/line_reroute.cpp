// Re-routing lines and re-laying out containers. Moving a class box with 100
// dependency, realization and association lines to the boxes around it (half
// of them with two bend points) re-fits every line end; re-laying out a
// composition of 50 parts, each with 4 ports and a provided and a required
// interface on its first port, places every border symbol again. Targets:
// under 10 ms per move, under 30 ms per re-layout.
//   build/bin/bench_line_reroute [--benchmark_min_time=0.5]
#include "ClassPageBench.h"

#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRows.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kDiagram = 1, kPage = 2, kLines = 100, kParts = 50, kPorts = 4;
const char* const kLineKinds[] = {"Dependency", "Realization", "Association"};

int theNextId = 0;
int theMovedBox = 0;
int theComposition = 0;

// A laid-out symbol row of key at (x, y) inside container (0: the page).
int InsertSymbol(CDC* dc, const char* key, int mmc, int msc, int x, int y, int container, const char* text)
{
    CSymbol* prototype = nullptr;
    FindMetaclass(key, prototype);
    char sguid[16];
    std::snprintf(sguid, sizeof sguid, "S%d", theNextId + 1);
    SymbolT s;
    s.ID = ++theNextId;
    s.PID = kPage;
    s.FID = container;
    s.Type = key;
    s.MMC = static_cast<int8_t>(mmc);
    s.MSC = static_cast<int8_t>(msc);
    s.Text = text;
    s.SGUID = sguid;
    s.x1 = x;
    s.y1 = y;
    s.x2 = x + 100;
    s.y2 = y + 100;
    s.ItemState = SYMBOL_AUTOLAYOUT;
    SymbolT enclosing;
    if (container <= 0 || !FetchSymbolById(container, enclosing))
        prototype->Layout(s, dc, nullptr);
    theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    return s.ID;
}

void InsertLine(CDC* dc, int n, const SymbolT& from, const SymbolT& to)
{
    const char* key = kLineKinds[n % 3];
    CSymbol* prototype = nullptr;
    FindMetaclass(key, prototype);
    SymbolT line;
    line.ID = ++theNextId;
    line.PID = kPage;
    line.Type = key;
    line.MMC = MMC_RELATION;
    line.MSC = MSC_LINE;
    line.SrcID = from.SGUID;
    line.DestID = to.SGUID;
    line.x1 = (from.x1 + from.x2) / 2;
    line.y1 = (from.y1 + from.y2) / 2;
    line.x2 = (to.x1 + to.x2) / 2;
    line.y2 = (to.y1 + to.y2) / 2;
    line.ItemState = SYMBOL_AUTOLAYOUT;
    char nodes[64];
    if (n % 2) {
        std::snprintf(nodes, sizeof nodes, "%X,%X,%X,%X", line.x1, line.y2 - 500, line.x2, line.y2 - 500);
        line.Nodes = nodes;
    }
    prototype->Layout(line, dc, nullptr);
    theModelDb.InsertRecord(&SymbolT::TableInfo, &line);
}

void BuildPage(CDC* dc)
{
    InsertClassPageRows(kDiagram, kPage, 42000 * 4, 59400 * 2);
    theNextId = kPage;
    // The moved box in the middle, the others on a ring around it.
    const int cx = 80000, cy = 50000;
    theMovedBox = InsertSymbol(dc, "Class", MMC_CLASS, MSC_RECTANGLE, cx, cy, 0, "Hub");
    SymbolT hub;
    FetchSymbolById(theMovedBox, hub);
    for (int i = 0; i < kLines; ++i) {
        const int x = cx - 40000 + (i % 20) * 4000;
        const int y = i < 50 ? cy - 20000 - (i / 20) * 4000 : cy + 20000 + (i / 20) * 4000;
        char text[16];
        std::snprintf(text, sizeof text, "C%d", i);
        SymbolT other;
        FetchSymbolById(InsertSymbol(dc, "Class", MMC_CLASS, MSC_RECTANGLE, x, y, 0, text), other);
        FetchSymbolById(theMovedBox, hub);
        if (i % 2)
            InsertLine(dc, i, hub, other);
        else
            InsertLine(dc, i, other, hub);
    }

    theComposition = InsertSymbol(dc, "Composition", MMC_CLASS, MSC_RECTANGLE, 2000, 2000, 0, "Whole");
    for (int p = 0; p < kParts; ++p) {
        char text[16];
        std::snprintf(text, sizeof text, "part%d", p);
        const int part = InsertSymbol(dc, "Part", MMC_ATTRIBUTE, MSC_RECTANGLE, 2500 + (p % 10) * 4000,
                                      3000 + (p / 10) * 4000, theComposition, text);
        for (int q = 0; q < kPorts; ++q) {
            std::snprintf(text, sizeof text, "p%d", q);
            const int port = InsertSymbol(dc, "Port", MMC_RELATION, MSC_RECTANGLE, 2500 + (p % 10) * 4000 + q * 300,
                                          3000 + (p / 10) * 4000, part, text);
            if (q == 0) {
                InsertSymbol(dc, "Realized", MMC_RELATION, MSC_BAR, 0, 0, port, "IProvided");
                InsertSymbol(dc, "Required", MMC_RELATION, MSC_BAR, 0, 0, port, "IRequired");
            }
        }
    }
}

struct Surface : BenchSurface {
    Surface() : BenchSurface(64, 64) {}
};

// Moves the hub back and forth; every line end is fitted again each time.
void MoveHubWithItsLines(benchmark::State& state)
{
    static Surface surface;
    int step = 0;
    for (auto _ : state) {
        const int d = (step++ % 2) ? -700 : 700;
        MoveSymbol(theMovedBox, &surface.dc, SIZE{d, d / 2});
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(MoveHubWithItsLines)->Unit(benchmark::kMillisecond);

void RelayoutComposition(benchmark::State& state)
{
    static Surface surface;
    for (auto _ : state)
        RelayoutSymbol(theComposition, &surface.dc);
    state.SetItemsProcessed(state.iterations() * kParts * (1 + kPorts + 2));
}
BENCHMARK(RelayoutComposition)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunClassPageBenchmarks(argc, argv, kDiagram, kPage, SymbolClasses::Registered, [] {
        static Surface surface;
        BuildPage(&surface.dc);
    });
}
