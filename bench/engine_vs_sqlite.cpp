// The engine against SQLite (:memory:, prepared statements, the same
// indices) on the model's workloads, in one run. Prints one row per workload
// with the operations per second of each engine and their ratio (engine /
// SQLite), then the smallest ratio and its workload, then how the engine's
// hash index and R-tree compare with the alternatives it would use without
// them (the tree index, a scan). The two engines run each workload in
// alternating turns, so that the load of a shared machine falls on both alike.
//   build/bin/bench_engine_vs_sqlite [seconds per measurement, default 0.3]
#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/dbTableInfo.h"

#include <sqlite3.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const int kElements = 100000;
const int kWideOwners = 90;      // owners with 1,000 children each
const int kNarrowFirst = 1000;   // owners 1000..1999 have 10 children each
const int kPages = 200;
const int kSymbolsPerPage = 100;

struct Element {
    int32_t SN;
    int32_t ID;
    int32_t FID;
    char* Name;
    char* Type;
    char* File;
    char* Stereotype;
    char* GUID;
    char* Use;
    int8_t Visibility;
    int8_t MMC;
    int16_t ItemState;
};

struct Symbol {
    int32_t PID;
    int32_t ID;
    int32_t FID;
    char* SGUID;
    char* GUID;
    int32_t x1, y1, x2, y2;
};

dbFieldInfo* DescribeElement()
{
    return dbFieldList({
        dbDescribe<int32_t>("SN", offsetof(Element, SN), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("ID", offsetof(Element, ID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("FID", offsetof(Element, FID), dbFieldInfo::INDEXED),
        dbDescribe<char*>("Name", offsetof(Element, Name), dbFieldInfo::INDEXED),
        dbDescribe<char*>("Type", offsetof(Element, Type), dbFieldInfo::INDEXED),
        dbDescribe<char*>("File", offsetof(Element, File)),
        dbDescribe<char*>("Stereotype", offsetof(Element, Stereotype)),
        dbDescribe<char*>("GUID", offsetof(Element, GUID), dbFieldInfo::INDEXED),
        dbDescribe<char*>("Use", offsetof(Element, Use), dbFieldInfo::INDEXED),
        dbDescribe<int8_t>("Visibility", offsetof(Element, Visibility)),
        dbDescribe<int8_t>("MMC", offsetof(Element, MMC)),
        dbDescribe<int16_t>("ItemState", offsetof(Element, ItemState)),
    });
}

dbFieldInfo* DescribeSymbol()
{
    return dbFieldList({
        dbDescribe<int32_t>("PID", offsetof(Symbol, PID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("ID", offsetof(Symbol, ID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("FID", offsetof(Symbol, FID), dbFieldInfo::INDEXED),
        dbDescribe<char*>("SGUID", offsetof(Symbol, SGUID), dbFieldInfo::INDEXED),
        dbDescribe<char*>("GUID", offsetof(Symbol, GUID), dbFieldInfo::INDEXED),
        dbDescribe<int32_t>("x1", offsetof(Symbol, x1)),
        dbDescribe<int32_t>("y1", offsetof(Symbol, y1)),
        dbDescribe<int32_t>("x2", offsetof(Symbol, x2)),
        dbDescribe<int32_t>("y2", offsetof(Symbol, y2)),
    });
}

// The elements again with GUID hashed and no other index, for lookups by
// GUID through the hash index.
dbFieldInfo* DescribeHashedElement()
{
    return dbFieldList({
        dbDescribe<int32_t>("SN", offsetof(Element, SN)),
        dbDescribe<int32_t>("ID", offsetof(Element, ID)),
        dbDescribe<int32_t>("FID", offsetof(Element, FID)),
        dbDescribe<char*>("Name", offsetof(Element, Name)),
        dbDescribe<char*>("Type", offsetof(Element, Type)),
        dbDescribe<char*>("File", offsetof(Element, File)),
        dbDescribe<char*>("Stereotype", offsetof(Element, Stereotype)),
        dbDescribe<char*>("GUID", offsetof(Element, GUID), dbFieldInfo::HASHED),
        dbDescribe<char*>("Use", offsetof(Element, Use)),
        dbDescribe<int8_t>("Visibility", offsetof(Element, Visibility)),
        dbDescribe<int8_t>("MMC", offsetof(Element, MMC)),
        dbDescribe<int16_t>("ItemState", offsetof(Element, ItemState)),
    });
}

// Symbols placed on a diagram, their bounds in an R-tree.
const int kPlaced = 20000;
const int kCanvas = 20000;

struct Placed {
    int32_t ID;
    dbRectangle Box;
};

dbFieldInfo* DescribePlaced()
{
    return dbFieldList({dbDescribe<int32_t>("ID", offsetof(Placed, ID)),
                        dbDescribe<dbRectangle>("Box", offsetof(Placed, Box), dbFieldInfo::INDEXED)});
}

std::vector<dbRectangle> MakePlaced()
{
    std::mt19937 rng(11);
    std::vector<dbRectangle> v(kPlaced);
    for (dbRectangle& r : v) {
        r.left = static_cast<int32_t>(rng() % kCanvas);
        r.top = static_cast<int32_t>(rng() % kCanvas);
        r.right = r.left + 40 + static_cast<int32_t>(rng() % 120);
        r.bottom = r.top + 30 + static_cast<int32_t>(rng() % 60);
    }
    return v;
}

// The data both engines load: element i has ID i; the first 90,000 hang
// under owners 1..90, the rest under owners 1000..1999.
struct ElementData {
    int32_t sn, id, fid;
    std::string name, type, guid;
    int8_t visibility, mmc;
    int16_t itemState;
};

const size_t kGuidLength = 22;

std::string Guid(std::mt19937& rng)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_$";
    std::string s(kGuidLength, ' ');
    for (char& c : s)
        c = digits[rng() % 64];
    return s;
}

std::vector<ElementData> MakeElements()
{
    static const char* const types[] = {"Class", "Package", "Actor", "UseCase", "Interface",
                                        "Component", "Node", "Page", "Association", "Operation"};
    std::mt19937 rng(42);
    std::vector<ElementData> v(kElements);
    for (int i = 0; i < kElements; i++) {
        ElementData& e = v[i];
        e.id = i + 1;
        e.fid = i < kWideOwners * 1000 ? 1 + i / 1000 : kNarrowFirst + (i - kWideOwners * 1000) / 10;
        e.sn = static_cast<int32_t>((int64_t(i) * 7919) % 100003);
        e.name = std::string(types[i % 10]) + std::to_string(e.id);
        e.type = types[i % 10];
        e.guid = Guid(rng);
        e.visibility = static_cast<int8_t>(i % 4);
        e.mmc = static_cast<int8_t>(1 + i % 7);
        e.itemState = static_cast<int16_t>((i * 37) % 1000);
    }
    return v;
}

// The GUIDs of random elements, one after another, handed out in turn, so
// that a lookup times the index rather than a cache miss on the benchmark's
// own data for its key.
class GuidStream {
  public:
    GuidStream(const std::vector<ElementData>& data, std::mt19937& rng) : block(kCount * kStride)
    {
        for (int i = 0; i < kCount; i++)
            std::memcpy(&block[i * kStride], data[rng() % data.size()].guid.c_str(), kGuidLength + 1);
    }
    const char* Next()
    {
        const char* key = &block[at * kStride];
        at = (at + 1) % kCount;
        return key;
    }

  private:
    static const int kCount = 1 << 16;
    static const size_t kStride = kGuidLength + 2;
    std::vector<char> block;
    int at = 0;
};

struct Result {
    const char* name;
    double engine;
    double sqlite;
};

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs op in rounds until `budget` seconds have passed; operations per second.
double Measure(double budget, const std::function<int()>& op)
{
    double start = Seconds();
    long ops = 0;
    double now;
    do {
        ops += op();
        now = Seconds();
    } while (now - start < budget);
    return ops / (now - start);
}

// Runs the engine's and SQLite's operation in turns of about 20 ms (at least
// one round each) until each has run for `budget` seconds, so that both meet
// the same load when the machine is shared; their operations per second.
Result Compared(const char* name, double budget, const std::function<int()>& engine,
                const std::function<int()>& sqlite)
{
    const double turn = 0.02;
    double spent[2] = {0, 0};
    long ops[2] = {0, 0};
    const std::function<int()>* op[2] = {&engine, &sqlite};
    while (spent[0] < budget || spent[1] < budget) {
        for (int k = 0; k < 2; k++) {
            double start = Seconds(), now;
            do {
                ops[k] += (*op[k])();
                now = Seconds();
            } while (now - start < turn);
            spent[k] += now - start;
        }
    }
    return {name, ops[0] / spent[0], ops[1] / spent[1]};
}

void Check(int rc, sqlite3* db, int want = SQLITE_OK)
{
    if (rc != want) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

class Sqlite {
  public:
    Sqlite()
    {
        Check(sqlite3_open(":memory:", &db), db);
        Exec("CREATE TABLE ModelT (SN INTEGER, ID INTEGER, FID INTEGER, Name TEXT, Type TEXT, "
             "File TEXT, Stereotype TEXT, GUID TEXT, Use TEXT, Visibility INTEGER, MMC INTEGER, "
             "ItemState INTEGER)");
        for (const char* f : {"SN", "ID", "FID", "Name", "Type", "GUID", "Use"})
            Exec((std::string("CREATE INDEX ModelT_") + f + " ON ModelT(" + f + ")").c_str());
        Exec("CREATE VIRTUAL TABLE PlacedT USING rtree(ID, x1, x2, y1, y2)");
        Exec("CREATE TABLE SymbolT (PID INTEGER, ID INTEGER, FID INTEGER, SGUID TEXT, GUID TEXT, "
             "x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER)");
        for (const char* f : {"PID", "ID", "FID", "SGUID", "GUID"})
            Exec((std::string("CREATE INDEX SymbolT_") + f + " ON SymbolT(" + f + ")").c_str());
    }
    ~Sqlite()
    {
        for (sqlite3_stmt* s : statements)
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    void Exec(const char* sql) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db); }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* s;
        Check(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db);
        statements.push_back(s);
        return s;
    }
    // Steps through every row, reading its columns as the engine's
    // cursor fetches its fields; returns the row count.
    int Rows(sqlite3_stmt* s)
    {
        int n = 0;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            int columns = sqlite3_column_count(s);
            for (int c = 0; c < columns; c++) {
                if (sqlite3_column_type(s, c) == SQLITE_TEXT)
                    sink += sqlite3_column_text(s, c)[0];
                else
                    sink += sqlite3_column_int(s, c);
            }
            n++;
        }
        Check(rc, db, SQLITE_DONE);
        sqlite3_reset(s);
        return n;
    }
    void Step(sqlite3_stmt* s)
    {
        Check(sqlite3_step(s), db, SQLITE_DONE);
        sqlite3_reset(s);
    }

    sqlite3* db;
    std::vector<sqlite3_stmt*> statements;
    long sink = 0;
};

// An engine set up as the model database is.
class Engine {
  public:
    Engine() : db(dbEngine::dbAllAccess, 256 << 20, 4 << 20, 524288, 1)
    {
        ReuseFreedHoles(db);
        elements.reset(new dbTableInfo("ModelT", &db, sizeof(Element), DescribeElement));
        hashed.reset(new dbTableInfo("HashedT", &db, sizeof(Element), DescribeHashedElement));
        placed.reset(new dbTableInfo("PlacedT", &db, sizeof(Placed), DescribePlaced));
        symbols.reset(new dbTableInfo("SymbolT", &db, sizeof(Symbol), DescribeSymbol));
        std::string name = "bench-" + std::to_string(getpid()) + "-" + std::to_string(++opened);
        if (!db.Open(name.c_str())) {
            std::fprintf(stderr, "engine: open failed\n");
            std::exit(1);
        }
    }
    ~Engine() { db.Close(); }

    // Reads the fetched fields, as a caller of the cursor would.
    template <class Cursor>
    int Rows(Cursor& c, int n)
    {
        if (n == 0)
            return 0;
        int rows = 0;
        do {
            sink += c->ID + c->FID;
            rows++;
        } while (c.Next() != nullptr);
        return rows;
    }

    dbEngine db;
    std::unique_ptr<dbTableInfo> elements;
    std::unique_ptr<dbTableInfo> hashed;
    std::unique_ptr<dbTableInfo> placed;
    std::unique_ptr<dbTableInfo> symbols;
    long sink = 0;
    static int opened;
};

int Engine::opened = 0;

Element ToElement(const ElementData& e)
{
    Element r{};
    r.SN = e.sn;
    r.ID = e.id;
    r.FID = e.fid;
    r.Name = const_cast<char*>(e.name.c_str());
    r.Type = const_cast<char*>(e.type.c_str());
    r.File = const_cast<char*>("");
    r.Stereotype = const_cast<char*>("");
    r.GUID = const_cast<char*>(e.guid.c_str());
    r.Use = const_cast<char*>("");
    r.Visibility = e.visibility;
    r.MMC = e.mmc;
    r.ItemState = e.itemState;
    return r;
}

void BindElement(sqlite3_stmt* s, const ElementData& e)
{
    sqlite3_bind_int(s, 1, e.sn);
    sqlite3_bind_int(s, 2, e.id);
    sqlite3_bind_int(s, 3, e.fid);
    sqlite3_bind_text(s, 4, e.name.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 5, e.type.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 6, "", -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 7, "", -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 8, e.guid.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 9, "", -1, SQLITE_STATIC);
    sqlite3_bind_int(s, 10, e.visibility);
    sqlite3_bind_int(s, 11, e.mmc);
    sqlite3_bind_int(s, 12, e.itemState);
}

const char* kInsertElement =
    "INSERT INTO ModelT (SN, ID, FID, Name, Type, File, Stereotype, GUID, Use, Visibility, MMC, "
    "ItemState) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

void LoadEngine(Engine& e, const std::vector<ElementData>& data)
{
    for (const ElementData& d : data) {
        Element r = ToElement(d);
        e.db.InsertRecord(e.elements.get(), &r);
    }
    std::mt19937 rng(7);
    for (int p = 0; p < kPages; p++)
        for (int k = 0; k < kSymbolsPerPage; k++) {
            std::string sguid = Guid(rng);
            Symbol s{};
            s.PID = p + 1;
            s.ID = static_cast<int32_t>((int64_t(p * kSymbolsPerPage + k) * 7919) % 20011);
            s.SGUID = const_cast<char*>(sguid.c_str());
            s.GUID = const_cast<char*>(data[(p * 131 + k) % kElements].guid.c_str());
            s.x1 = k * 10;
            e.db.InsertRecord(e.symbols.get(), &s);
        }
    e.db.Commit();
}

void LoadSqlite(Sqlite& s, const std::vector<ElementData>& data)
{
    sqlite3_stmt* insert = s.Prepare(kInsertElement);
    sqlite3_stmt* symbol = s.Prepare("INSERT INTO SymbolT (PID, ID, FID, SGUID, GUID, x1, y1, x2, y2) "
                                     "VALUES (?, ?, 0, ?, ?, ?, 0, 0, 0)");
    s.Exec("BEGIN");
    for (const ElementData& d : data) {
        BindElement(insert, d);
        s.Step(insert);
    }
    std::mt19937 rng(7);
    for (int p = 0; p < kPages; p++)
        for (int k = 0; k < kSymbolsPerPage; k++) {
            std::string sguid = Guid(rng);
            sqlite3_bind_int(symbol, 1, p + 1);
            sqlite3_bind_int(symbol, 2, static_cast<int>((int64_t(p * kSymbolsPerPage + k) * 7919) % 20011));
            sqlite3_bind_text(symbol, 3, sguid.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(symbol, 4, data[(p * 131 + k) % kElements].guid.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(symbol, 5, k * 10);
            s.Step(symbol);
        }
    s.Exec("COMMIT");
}

// The tables that only the index comparisons read.
void LoadIndexTables(Engine& e, Sqlite& s, const std::vector<ElementData>& data,
                     const std::vector<dbRectangle>& placed)
{
    for (const ElementData& d : data) {
        Element r = ToElement(d);
        e.db.InsertRecord(e.hashed.get(), &r);
    }
    sqlite3_stmt* box = s.Prepare("INSERT INTO PlacedT (ID, x1, x2, y1, y2) VALUES (?, ?, ?, ?, ?)");
    s.Exec("BEGIN");
    for (int i = 0; i < kPlaced; i++) {
        Placed p{i + 1, placed[i]};
        e.db.InsertRecord(e.placed.get(), &p);
        sqlite3_bind_int(box, 1, i + 1);
        sqlite3_bind_int(box, 2, placed[i].left);
        sqlite3_bind_int(box, 3, placed[i].right);
        sqlite3_bind_int(box, 4, placed[i].top);
        sqlite3_bind_int(box, 5, placed[i].bottom);
        s.Step(box);
    }
    s.Exec("COMMIT");
    e.db.Commit();
}

}  // namespace

int main(int argc, char** argv)
{
    double budget = argc > 1 ? std::atof(argv[1]) : 0.3;
    std::vector<ElementData> data = MakeElements();
    std::vector<Result> results;

    // Bulk load: a fresh store each round.
    results.push_back(Compared(
        "bulk load 100k + commit", budget,
        [&] {
            Engine e;
            LoadEngine(e, data);
            return kElements;
        },
        [&] {
            Sqlite s;
            LoadSqlite(s, data);
            return kElements;
        }));

    Engine e;
    LoadEngine(e, data);
    Sqlite s;
    LoadSqlite(s, data);
    std::mt19937 rng(1);
    auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % unsigned(hi - lo + 1)); };

    int32_t key = 0;
    std::string text;
    const char* textPtr = nullptr;

    dbQueryText byId;
    byId.Append(dbFragText, "ID=").Append(dbFragInt4, &key);
    sqlite3_stmt* sqlById = s.Prepare("SELECT * FROM ModelT WHERE ID=?");
    results.push_back(Compared("point lookup by ID", budget,
        [&] {
            key = pick(1, kElements);
            dbTypedCursor<Element> c(e.elements.get());
            return e.Rows(c, c.Select(byId, dbCursorViewOnly));
        },
        [&] {
            sqlite3_bind_int(sqlById, 1, pick(1, kElements));
            return s.Rows(sqlById);
        }));

    GuidStream guids(data, rng);
    dbQueryText byGuid;
    byGuid.Append(dbFragText, "GUID=").Append(dbFragStringPtr, &textPtr);
    sqlite3_stmt* sqlByGuid = s.Prepare("SELECT * FROM ModelT WHERE GUID=?");
    const std::function<int()> treeLookup = [&] {
        textPtr = guids.Next();
        dbTypedCursor<Element> c(e.elements.get());
        return e.Rows(c, c.Select(byGuid, dbCursorViewOnly));
    };
    results.push_back(Compared("point lookup by GUID", budget, treeLookup,
        [&] {
            sqlite3_bind_text(sqlByGuid, 1, guids.Next(), -1, SQLITE_STATIC);
            return s.Rows(sqlByGuid);
        }));

    LoadIndexTables(e, s, data, MakePlaced());
    const std::function<int()> hashLookup = [&] {
        textPtr = guids.Next();
        dbTypedCursor<Element> c(e.hashed.get());
        return e.Rows(c, c.Select(byGuid, dbCursorViewOnly));
    };
    results.push_back(Compared("point lookup by GUID, hash index", budget, hashLookup,
        [&] {
            sqlite3_bind_text(sqlByGuid, 1, guids.Next(), -1, SQLITE_STATIC);
            return s.Rows(sqlByGuid);
        }));
    // The two indices against each other in alternating turns as well: the
    // hash index's rate stands first (engine), the tree index's second.
    const Result hashAndTree = Compared("GUID lookup, hash and tree", budget, hashLookup, treeLookup);

    // Symbols overlapping a 1000 x 800 viewport: a bound rectangle goes
    // through the R-tree, a rectangle literal is tested on every row.
    dbRectangle view{0, 0, 0, 0};
    auto moveView = [&] {
        view.left = pick(0, kCanvas - 1000);
        view.top = pick(0, kCanvas - 800);
        view.right = view.left + 1000;
        view.bottom = view.top + 800;
    };
    dbQueryText overlapping;
    overlapping.Append(dbFragText, "Box overlaps ").Append(dbFragRectangle, &view);
    sqlite3_stmt* sqlView = s.Prepare("SELECT ID FROM PlacedT WHERE x1 <= ? AND x2 >= ? AND y1 <= ? AND y2 >= ?");
    auto sqliteView = [&] {
        moveView();
        sqlite3_bind_int(sqlView, 1, view.right);
        sqlite3_bind_int(sqlView, 2, view.left);
        sqlite3_bind_int(sqlView, 3, view.bottom);
        sqlite3_bind_int(sqlView, 4, view.top);
        s.Rows(sqlView);
        return 1;
    };
    auto engineView = [&](bool literal) {
        moveView();
        dbQueryText scanned;
        std::string box = "Box overlaps (" + std::to_string(view.left) + ", " + std::to_string(view.top)
                        + ", " + std::to_string(view.right) + ", " + std::to_string(view.bottom) + ")";
        if (literal)
            scanned.Append(dbFragText, box.c_str());
        dbTypedCursor<Placed> c(e.placed.get());
        int n = c.Select(literal ? scanned : overlapping, dbCursorViewOnly);
        for (int i = 0; i < n; i++, c.Next())
            e.sink += c->ID;
        return 1;
    };
    results.push_back(Compared("symbols in a viewport, R-tree", budget, [&] { return engineView(false); }, sqliteView));
    const size_t rtreeView = results.size() - 1;
    double scannedView = Measure(budget, [&] { return engineView(true); });

    dbQueryText children;
    children.Append(dbFragText, "FID=").Append(dbFragInt4, &key).Append(dbFragText, " order by SN");
    sqlite3_stmt* sqlChildren = s.Prepare("SELECT * FROM ModelT WHERE FID=? ORDER BY SN");
    for (int fan : {10, 1000}) {
        auto owner = [&] { return fan == 10 ? pick(kNarrowFirst, kNarrowFirst + 999) : pick(1, kWideOwners); };
        const char* name = fan == 10 ? "children in order, fan-out 10" : "children in order, fan-out 1000";
        results.push_back(Compared(name, budget,
            [&] {
                key = owner();
                dbTypedCursor<Element> c(e.elements.get());
                e.Rows(c, c.Select(children, dbCursorViewOnly));
                return 1;
            },
            [&] {
                sqlite3_bind_int(sqlChildren, 1, owner());
                s.Rows(sqlChildren);
                return 1;
            }));
    }

    dbQueryText page;
    page.Append(dbFragText, "PID=").Append(dbFragInt4, &key).Append(dbFragText, " order by ID");
    sqlite3_stmt* sqlPage = s.Prepare("SELECT * FROM SymbolT WHERE PID=? ORDER BY ID");
    results.push_back(Compared("symbols of a page in order", budget,
        [&] {
            key = pick(1, kPages);
            dbTypedCursor<Symbol> c(e.symbols.get());
            e.Rows(c, c.Select(page, dbCursorViewOnly));
            return 1;
        },
        [&] {
            sqlite3_bind_int(sqlPage, 1, pick(1, kPages));
            s.Rows(sqlPage);
            return 1;
        }));

    // Updates: fetch by ID, change, write; committed every 1,000.
    auto engineUpdate = [&](std::function<void(Element&, int)> change) -> std::function<int()> {
        return [&, change] {
            for (int i = 0; i < 1000; i++) {
                int id = pick(1, kElements);
                dbTypedCursor<Element> c(e.elements.get(), dbCursorForUpdate);
                if (c.SelectByKey("ID", id) == 1) {
                    change(*c.GetRecord(), id);
                    e.db.UpdateRecord(c.GetCurrentOid(), e.elements.get(), c.GetRecord());
                }
            }
            e.db.Commit();
            return 1000;
        };
    };
    auto sqliteUpdate = [&](sqlite3_stmt* st, std::function<void(sqlite3_stmt*, int)> bind) -> std::function<int()> {
        return [&, st, bind] {
            s.Exec("BEGIN");
            for (int i = 0; i < 1000; i++) {
                int id = pick(1, kElements);
                bind(st, id);
                s.Step(st);
            }
            s.Exec("COMMIT");
            return 1000;
        };
    };
    sqlite3_stmt* setState = s.Prepare("UPDATE ModelT SET ItemState=? WHERE ID=?");
    results.push_back(Compared("update a non-indexed field", budget,
        engineUpdate([](Element& r, int) { r.ItemState = static_cast<int16_t>(r.ItemState ^ 1); }),
        sqliteUpdate(setState, [](sqlite3_stmt* st, int id) {
            sqlite3_bind_int(st, 1, id & 0xff);
            sqlite3_bind_int(st, 2, id);
        })));
    sqlite3_stmt* setSn = s.Prepare("UPDATE ModelT SET SN=? WHERE ID=?");
    results.push_back(Compared("update an indexed field", budget,
        engineUpdate([&](Element& r, int) { r.SN = pick(0, 1000000); }),
        sqliteUpdate(setSn, [&](sqlite3_stmt* st, int id) {
            sqlite3_bind_int(st, 1, pick(0, 1000000));
            sqlite3_bind_int(st, 2, id);
        })));
    // The engine copies the new name into the record, so one buffer serves
    // every update, as SQLite's concatenation needs none of ours.
    sqlite3_stmt* setName = s.Prepare("UPDATE ModelT SET Name=Name || 'x' WHERE ID=?");
    std::string grown;
    results.push_back(Compared("update a growing text", budget,
        engineUpdate([&](Element& r, int) {
            grown.assign(r.Name).push_back('x');
            r.Name = &grown[0];
        }),
        sqliteUpdate(setName, [](sqlite3_stmt* st, int id) { sqlite3_bind_int(st, 1, id); })));

    // Churn: read a row, remove it and insert it again.
    sqlite3_stmt* readRow = s.Prepare("SELECT * FROM ModelT WHERE ID=?");
    sqlite3_stmt* removeRow = s.Prepare("DELETE FROM ModelT WHERE ID=?");
    sqlite3_stmt* insertRow = s.Prepare(kInsertElement);
    results.push_back(Compared("remove and re-insert", budget,
        [&] {
            for (int i = 0; i < 1000; i++) {
                int id = pick(1, kElements);
                dbTypedCursor<Element> c(e.elements.get(), dbCursorForUpdate);
                if (c.SelectByKey("ID", id) != 1)
                    continue;
                ElementData copy{c->SN, c->ID, c->FID, c->Name, c->Type, c->GUID, c->Visibility,
                                 c->MMC, c->ItemState};
                e.db.RemoveRecord(e.elements.get(), c.GetCurrentOid());
                Element r = ToElement(copy);
                e.db.InsertRecord(e.elements.get(), &r);
            }
            e.db.Commit();
            return 1000;
        },
        [&] {
            s.Exec("BEGIN");
            for (int i = 0; i < 1000; i++) {
                int id = pick(1, kElements);
                sqlite3_bind_int(readRow, 1, id);
                if (sqlite3_step(readRow) != SQLITE_ROW) {
                    sqlite3_reset(readRow);
                    continue;
                }
                ElementData copy{sqlite3_column_int(readRow, 0), sqlite3_column_int(readRow, 1),
                                 sqlite3_column_int(readRow, 2),
                                 reinterpret_cast<const char*>(sqlite3_column_text(readRow, 3)),
                                 reinterpret_cast<const char*>(sqlite3_column_text(readRow, 4)),
                                 reinterpret_cast<const char*>(sqlite3_column_text(readRow, 7)),
                                 static_cast<int8_t>(sqlite3_column_int(readRow, 9)),
                                 static_cast<int8_t>(sqlite3_column_int(readRow, 10)),
                                 static_cast<int16_t>(sqlite3_column_int(readRow, 11))};
                sqlite3_reset(readRow);
                sqlite3_bind_int(removeRow, 1, id);
                s.Step(removeRow);
                BindElement(insertRow, copy);
                s.Step(insertRow);
            }
            s.Exec("COMMIT");
            return 1000;
        }));

    // Scans over the whole element table.
    dbQueryText substring;
    substring.Append(dbFragStringPtr, &textPtr).Append(dbFragText, " in Name");
    sqlite3_stmt* sqlSubstring = s.Prepare("SELECT * FROM ModelT WHERE instr(Name, ?) > 0");
    static const char* const needles[] = {"case77", "ent99", "Node1234", "kage5"};
    int needle = 0;
    results.push_back(Compared("substring scan over Name", budget,
        [&] {
            textPtr = needles[needle++ % 4];
            dbTypedCursor<Element> c(e.elements.get());
            e.Rows(c, c.Select(substring, dbCursorViewOnly));
            return 1;
        },
        [&] {
            sqlite3_bind_text(sqlSubstring, 1, needles[needle++ % 4], -1, SQLITE_STATIC);
            s.Rows(sqlSubstring);
            return 1;
        }));

    dbQueryText byState;
    byState.Append(dbFragText, "FID=").Append(dbFragInt4, &key).Append(dbFragText, " order by ItemState");
    sqlite3_stmt* sqlByState = s.Prepare("SELECT * FROM ModelT WHERE FID=? ORDER BY ItemState");
    results.push_back(Compared("order by a non-indexed field", budget,
        [&] {
            key = pick(1, kWideOwners);
            dbTypedCursor<Element> c(e.elements.get());
            e.Rows(c, c.Select(byState, dbCursorViewOnly));
            return 1;
        },
        [&] {
            sqlite3_bind_int(sqlByState, 1, pick(1, kWideOwners));
            s.Rows(sqlByState);
            return 1;
        }));

    std::printf("%-34s %14s %14s %8s\n", "workload", "engine ops/s", "sqlite ops/s", "ratio");
    const Result* worst = nullptr;
    for (const Result& r : results) {
        double ratio = r.engine / r.sqlite;
        std::printf("%-34s %14.0f %14.0f %8.2f\n", r.name, r.engine, r.sqlite, ratio);
        if (worst == nullptr || ratio < worst->engine / worst->sqlite)
            worst = &r;
    }
    std::printf("min ratio %.2f (%s)\n", worst->engine / worst->sqlite, worst->name);
    std::printf("GUID lookup, hash index / tree index: %.2f\n",
                hashAndTree.engine / hashAndTree.sqlite);
    std::printf("viewport, R-tree / scan (%.0f ops/s): %.2f\n", scannedView,
                results[rtreeView].engine / scannedView);
    return e.sink + s.sink == 42 ? 1 : 0;
}
