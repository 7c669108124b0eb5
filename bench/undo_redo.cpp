// Undo and redo of one gesture that changed 10,000 rows (its images spill
// past the buffers in both directions), and flattening and reading back
// record images.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"

namespace {

const int GroupRows = 10000;

struct Texts {
    std::vector<std::string> names, guids;
    Texts()
    {
        char guid[GuidTextLength + 1];
        for (int i = 0; i < GroupRows; ++i) {
            names.push_back("Class" + std::to_string(i));
            MakeGuidText(guid, sizeof guid, TRUE);
            guids.push_back(guid);
        }
    }
};

const Texts& SharedTexts()
{
    static Texts texts;
    return texts;
}

ModelT Element(int i)
{
    const Texts& t = SharedTexts();
    ModelT e;
    e.SN = i;
    e.ID = i + 1;
    e.FID = 1 + i / 100;
    e.Name = t.names[i].c_str();
    e.Type = "Class";
    e.GUID = t.guids[i].c_str();
    e.Use = t.guids[(i + 1) % GroupRows].c_str();
    return e;
}

// The model database with the log holding one group of 10,000 changes of
// the given kind (0 inserts, 1 updates, 2 removes) on top.
void Prepare(int kind)
{
    MakeGuidText(theDbName, DbNameSize, FALSE);
    MemDbOpen();
    UndoLog::Reset();
    std::vector<oid_t> ids;
    UndoLog::NewGroup();
    for (int i = 0; i < GroupRows; ++i) {
        ModelT e = Element(i);
        ids.push_back(kind == 0 ? MemDbInsert(&ModelT::TableInfo, &e)
                                : theModelDb.InsertRecord(&ModelT::TableInfo, &e));
    }
    if (kind == 0)
        return;
    UndoLog::NewGroup();
    for (int i = 0; i < GroupRows; ++i) {
        if (kind == 1) {
            ModelT e = Element(i);
            e.Name = "Renamed";
            e.ItemState = ITEM_CHECKED;
            MemDbUpdate(&ModelT::TableInfo, &e, ids[i]);
        } else {
            MemDbRemove(&ModelT::TableInfo, ids[i]);
        }
    }
}

void Finish()
{
    UndoLog::Reset();
    MemDbClose();
}

void BM_UndoGroup(benchmark::State& state)
{
    Prepare(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (UndoLog::Undo() != 1)
            state.SkipWithError("nothing to undo");
        state.PauseTiming();
        UndoLog::Redo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * GroupRows);
    Finish();
}

void BM_RedoGroup(benchmark::State& state)
{
    Prepare(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        UndoLog::Undo();
        state.ResumeTiming();
        if (UndoLog::Redo() != 1)
            state.SkipWithError("nothing to redo");
    }
    state.SetItemsProcessed(state.iterations() * GroupRows);
    Finish();
}

SymbolT Symbol(int i)
{
    const Texts& t = SharedTexts();
    SymbolT s;
    s.PID = 7;
    s.ID = i;
    s.x1 = i;
    s.x2 = i + 3000;
    s.Model = "Class";
    s.Type = "Class";
    s.Text = t.names[i].c_str();
    s.GUID = t.guids[i].c_str();
    s.SGUID = t.guids[(i + 7) % GroupRows].c_str();
    s.Syntax = "0000000A00000000";
    return s;
}

void BM_Flatten(benchmark::State& state)
{
    std::vector<SymbolT> symbols;
    size_t bytes = 0;
    for (int i = 0; i < GroupRows; ++i) {
        symbols.push_back(Symbol(i));
        bytes += MemDbImageSize(&SymbolT::TableInfo, &symbols.back());
    }
    std::vector<char> block(bytes);
    for (auto _ : state) {
        size_t at = 0;
        for (const SymbolT& s : symbols)
            at += MemDbFlatten(&SymbolT::TableInfo, &s, block.data() + at);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetItemsProcessed(state.iterations() * GroupRows);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

void BM_ReadImage(benchmark::State& state)
{
    std::vector<char> block;
    for (int i = 0; i < GroupRows; ++i) {
        SymbolT s = Symbol(i);
        size_t at = block.size();
        block.resize(at + MemDbImageSize(&SymbolT::TableInfo, &s));
        MemDbFlatten(&SymbolT::TableInfo, &s, block.data() + at);
    }
    SymbolT s;
    for (auto _ : state) {
        size_t at = 0;
        while (at < block.size())
            at += MemDbReadImage(&SymbolT::TableInfo, block.data() + at, block.size() - at, &s);
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * GroupRows);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(block.size()));
}

// kind: 0 a group of inserts, 1 of updates, 2 of removes.
BENCHMARK(BM_UndoGroup)->ArgName("kind")->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoGroup)->ArgName("kind")->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Flatten)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadImage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
