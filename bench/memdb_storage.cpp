// Speed of the storage core: space allocation, identifiers and commit.
#include "MemDB/dbEngine.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const size_t MB = 1 << 20;

std::string FreshName()
{
    static int n = 0;
    return "bench-storage-" + std::to_string(++n);
}

// Allocate and free small objects of random sizes with a steady live set.
void AllocateAndFree(benchmark::State& state)
{
    dbEngine db(dbEngine::dbAllAccess, 64 * MB, 4 * MB, 0, 1);
    db.Open(FreshName().c_str());
    db.BeginTransaction(dbEngine::dbExclusiveLock);
    std::mt19937 rng(7);
    std::vector<std::pair<offs_t, size_t>> live;
    for (auto _ : state) {
        size_t size = 16 + rng() % 2000;
        live.emplace_back(db.AllocateSpace(size), size);
        if (live.size() > 5000) {
            size_t i = rng() % live.size();
            db.FreeSpace(live[i].first, live[i].second);
            live[i] = live.back();
            live.pop_back();
        }
    }
    db.Rollback();
    db.Close();
}
BENCHMARK(AllocateAndFree);

// Whole-page objects among small ones.
void AllocatePages(benchmark::State& state)
{
    dbEngine db(dbEngine::dbAllAccess, 256 * MB, 4 * MB, 0, 1);
    db.Open(FreshName().c_str());
    db.BeginTransaction(dbEngine::dbExclusiveLock);
    std::vector<offs_t> pages;
    for (auto _ : state) {
        db.AllocateSpace(48);
        pages.push_back(db.AllocateSpace(4096));
        if (pages.size() == 10000) {
            state.PauseTiming();
            for (offs_t p : pages)
                db.FreeSpace(p, 4096);
            pages.clear();
            state.ResumeTiming();
        }
    }
    db.Rollback();
    db.Close();
}
BENCHMARK(AllocatePages);

void AllocateAndRecycleIds(benchmark::State& state)
{
    dbEngine db(dbEngine::dbAllAccess, 64 * MB, 4 * MB, 0, 1);
    db.Open(FreshName().c_str());
    db.BeginTransaction(dbEngine::dbExclusiveLock);
    for (auto _ : state) {
        oid_t id = db.AllocateIds(1);
        db.SetEntry(id, 0, dbRecordKind);
        db.FreeIds(id, 1);
    }
    db.Rollback();
    db.Close();
}
BENCHMARK(AllocateAndRecycleIds);

// A transaction that changes n committed records of 200 bytes, then commits.
void CommitChangedRecords(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    dbEngine db(dbEngine::dbAllAccess, 64 * MB, 4 * MB, 0, 1);
    db.Open(FreshName().c_str());
    db.BeginTransaction(dbEngine::dbExclusiveLock);
    std::vector<oid_t> ids;
    for (int i = 0; i < 20000; i++) {
        oid_t id = db.AllocateIds(1);
        db.SetEntry(id, db.AllocateSpace(200), dbRecordKind);
        dbRecordHeader h = {200, 0, 0};
        memcpy(db.GetRow(id), &h, sizeof h);
        ids.push_back(id);
    }
    db.Commit();
    std::mt19937 rng(3);
    for (auto _ : state) {
        db.BeginTransaction(dbEngine::dbExclusiveLock);
        for (int i = 0; i < n; i++) {
            oid_t id = ids[rng() % ids.size()];
            if (db.IsShared(id)) {
                db.SetDirty(id);
                db.CopyBitmapPages(db.GetEntry(id) & ~dbFlagsMask, 200);
                db.AllocateSpace(200, id);
            }
            db.GetRow(id)[20]++;
        }
        db.Commit();
    }
    db.Close();
}
BENCHMARK(CommitChangedRecords)->Arg(1)->Arg(100)->Arg(10000);

} // namespace

BENCHMARK_MAIN();
