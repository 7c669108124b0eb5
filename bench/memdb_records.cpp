// Record operations on a table shaped like the model's symbol rows: insert,
// update by identifier (which checks that the identifier is a row of the
// table), fetch, and equality and range selects through the tree index.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <unistd.h>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbTableInfo.h"

namespace {

struct Shape {
    int32_t id;
    int32_t page;
    int32_t x1, y1, x2, y2;
    const char* guid;
    const char* text;
};

dbFieldInfo* DescribeShape()
{
    return dbFieldList({
        dbDescribe<int32_t>("id", offsetof(Shape, id), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("page", offsetof(Shape, page), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("x1", offsetof(Shape, x1)),
        dbDescribe<int32_t>("y1", offsetof(Shape, y1)),
        dbDescribe<int32_t>("x2", offsetof(Shape, x2)),
        dbDescribe<int32_t>("y2", offsetof(Shape, y2)),
        dbDescribe<const char*>("guid", offsetof(Shape, guid), dbFieldInfo::INDEXED),
        dbDescribe<const char*>("text", offsetof(Shape, text)),
    });
}

struct Fixture {
    explicit Fixture(int rows) : table("Shape", &db, sizeof(Shape), DescribeShape)
    {
        static int counter = 0;
        std::string name = "bench-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        db.Open(name.c_str());
        for (int i = 0; i < rows; ++i)
            ids.push_back(Insert(i));
        db.Commit();
    }
    ~Fixture() { db.Close(); }
    oid_t Insert(int i)
    {
        std::string guid = "G" + std::to_string(i * 7919 % 1000003);
        Shape s{i, i % 50, i, i, i + 100, i + 60, guid.c_str(), "Class1"};
        return db.InsertRecord(&table, &s);
    }

    dbEngine db;
    dbTableInfo table;
    std::vector<oid_t> ids;
};

void Insert(benchmark::State& state)
{
    Fixture f(0);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.Insert(i++));
}
BENCHMARK(Insert);

void UpdateById(benchmark::State& state)
{
    Fixture f(static_cast<int>(state.range(0)));
    size_t i = 0;
    Shape s{};
    for (auto _ : state) {
        oid_t id = f.ids[(i++ * 7919) % f.ids.size()];
        f.db.FetchRecord(id, &f.table, &s);
        s.x1 += 1;
        f.db.UpdateRecord(id, &f.table, &s);
    }
}
BENCHMARK(UpdateById)->Arg(1000)->Arg(20000);

void SelectByKey(benchmark::State& state)
{
    Fixture f(20000);
    dbTypedCursor<Shape> c(&f.table);
    int32_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(c.SelectByKey("id", i++ % 20000));
}
BENCHMARK(SelectByKey);

void SelectPageAndWalk(benchmark::State& state)
{
    Fixture f(20000);
    dbTypedCursor<Shape> c(&f.table);
    int32_t page = 0;
    for (auto _ : state) {
        c.SelectByKey("page", page++ % 50);
        while (c.Next())
            benchmark::DoNotOptimize(c->x1);
    }
}
BENCHMARK(SelectPageAndWalk);

// An owner with an array of references to items whose "owner" field is the
// inverse, and no tree index on the item table: removing the owner clears
// the back reference of every item, each checked to be a row of the items.
struct Owner {
    const char* name;
    dbArray<dbReference> items;
};

struct Item {
    int32_t n;
    dbReference owner;
};

dbFieldInfo* DescribeOwner()
{
    return dbFieldList({dbDescribe<const char*>("name", offsetof(Owner, name)),
                        dbDescribeReferenceArray("items", offsetof(Owner, items), "Item", "owner")});
}

dbFieldInfo* DescribeItem()
{
    return dbFieldList({dbDescribe<int32_t>("n", offsetof(Item, n)),
                        dbDescribeReference("owner", offsetof(Item, owner), "Owner", "items")});
}

void RemoveOwnerOfManyItems(benchmark::State& state)
{
    const int items = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        dbEngine db;
        dbTableInfo owners("Owner", &db, sizeof(Owner), DescribeOwner);
        dbTableInfo itemTable("Item", &db, sizeof(Item), DescribeItem);
        static int counter = 0;
        std::string name = "bench-inverse-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        db.Open(name.c_str());
        Owner o{"owner", {}};
        const oid_t owner = db.InsertRecord(&owners, &o);
        for (int i = 0; i < items; ++i) {
            Item item{i, {owner}};
            db.InsertRecord(&itemTable, &item);
        }
        db.Commit();
        state.ResumeTiming();
        db.RemoveRecord(&owners, owner);
        state.PauseTiming();
        db.Commit();
        db.Close();
        state.ResumeTiming();
    }
}
// Fetch by identifier from a table without a tree index.
void FetchUnindexedById(benchmark::State& state)
{
    dbEngine db;
    dbTableInfo owners("Owner", &db, sizeof(Owner), DescribeOwner);
    dbTableInfo itemTable("Item", &db, sizeof(Item), DescribeItem);
    std::string name = "bench-fetch-" + std::to_string(getpid()) + "-" + std::to_string(state.range(0));
    db.Open(name.c_str());
    std::vector<oid_t> ids;
    for (int i = 0; i < state.range(0); ++i) {
        Item item{i, {0}};
        ids.push_back(db.InsertRecord(&itemTable, &item));
    }
    db.Commit();
    size_t i = 0;
    Item item{};
    for (auto _ : state)
        benchmark::DoNotOptimize(db.FetchRecord(ids[(i++ * 7919) % ids.size()], &itemTable, &item));
    db.Close();
}
BENCHMARK(FetchUnindexedById)->Arg(1000)->Arg(20000);

BENCHMARK(RemoveOwnerOfManyItems)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
