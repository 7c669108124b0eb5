// Test records covering every field type, their descriptors, and an engine
// opened under a fresh name with descriptors fixed to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "MemDB/dbCursor.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbImageCheck.h"
#include "MemDB/dbTableInfo.h"

namespace tablestest {

struct Point {
    int16_t x;
    int32_t y;
};

struct AllTypes {
    bool b;
    int8_t i1;
    int16_t i2;
    int32_t i4;
    int64_t i8;
    float r4;
    double r8;
    const char* s;
    std::string ss;
    dbReference ref;
    dbArray<int32_t> ai;
    dbArray<const char*> as;
    dbArray<Point> ap;
    Point pt;
    uint8_t raw[5];
    dbRectangle rect;
};

inline dbFieldInfo* PointMembers()
{
    return dbFieldList({dbDescribe<int16_t>("x", offsetof(Point, x)),
                        dbDescribe<int32_t>("y", offsetof(Point, y))});
}

inline dbFieldInfo* DescribeAllTypes()
{
    return dbFieldList({
        dbDescribe<bool>("b", offsetof(AllTypes, b)),
        dbDescribe<int8_t>("i1", offsetof(AllTypes, i1)),
        dbDescribe<int16_t>("i2", offsetof(AllTypes, i2)),
        dbDescribe<int32_t>("i4", offsetof(AllTypes, i4), dbFieldInfo::INDEXED),
        dbDescribe<int64_t>("i8", offsetof(AllTypes, i8), dbFieldInfo::INDEXED),
        dbDescribe<float>("r4", offsetof(AllTypes, r4)),
        dbDescribe<double>("r8", offsetof(AllTypes, r8), dbFieldInfo::INDEXED),
        dbDescribe<const char*>("s", offsetof(AllTypes, s), dbFieldInfo::INDEXED),
        dbDescribe<std::string>("ss", offsetof(AllTypes, ss)),
        dbDescribeReference("ref", offsetof(AllTypes, ref), "AllTypes"),
        dbDescribeArray<int32_t>("ai", offsetof(AllTypes, ai)),
        dbDescribeArrayOf("as", offsetof(AllTypes, as), dbDescribe<const char*>("[]", 0),
                          &dbArray<const char*>::Allocate),
        dbDescribeArrayOf("ap", offsetof(AllTypes, ap),
                          dbDescribeStruct("[]", 0, sizeof(Point), PointMembers()),
                          &dbArray<Point>::Allocate),
        dbDescribeStruct("pt", offsetof(AllTypes, pt), sizeof(Point), PointMembers()),
        dbDescribeRaw("raw", offsetof(AllTypes, raw), 5),
        dbDescribe<dbRectangle>("rect", offsetof(AllTypes, rect)),
    });
}

// A plain copy of an AllTypes value that owns its texts and arrays.
struct Value {
    bool b = false;
    int8_t i1 = 0;
    int16_t i2 = 0;
    int32_t i4 = 0;
    int64_t i8 = 0;
    float r4 = 0;
    double r8 = 0;
    std::string s;
    std::string ss;
    uint32_t ref = 0;
    std::vector<int32_t> ai;
    std::vector<std::string> as;
    std::vector<std::pair<int16_t, int32_t>> ap;
    std::pair<int16_t, int32_t> pt;
    std::vector<uint8_t> raw = std::vector<uint8_t>(5);
    dbRectangle rect{0, 0, 0, 0};

    bool operator==(const Value& o) const
    {
        return b == o.b && i1 == o.i1 && i2 == o.i2 && i4 == o.i4 && i8 == o.i8 && r4 == o.r4
            && r8 == o.r8 && s == o.s && ss == o.ss && ref == o.ref && ai == o.ai && as == o.as
            && ap == o.ap && pt == o.pt && raw == o.raw
            && memcmp(&rect, &o.rect, sizeof rect) == 0;
    }
};

// Fills rec from v; the texts of rec point into v (and into ptrs).
inline void ToRecord(const Value& v, AllTypes& rec, std::vector<const char*>& ptrs)
{
    rec.b = v.b;
    rec.i1 = v.i1;
    rec.i2 = v.i2;
    rec.i4 = v.i4;
    rec.i8 = v.i8;
    rec.r4 = v.r4;
    rec.r8 = v.r8;
    rec.s = v.s.c_str();
    rec.ss = v.ss;
    rec.ref.oid = v.ref;
    rec.ai.Assign(v.ai.data(), v.ai.size());
    ptrs.clear();
    for (const std::string& t : v.as)
        ptrs.push_back(t.c_str());
    rec.as.Assign(ptrs.data(), ptrs.size());
    rec.ap.Resize(v.ap.size());
    for (size_t i = 0; i < v.ap.size(); ++i)
        rec.ap[i] = Point{v.ap[i].first, v.ap[i].second};
    rec.pt = Point{v.pt.first, v.pt.second};
    memcpy(rec.raw, v.raw.data(), 5);
    rec.rect = v.rect;
}

inline Value FromRecord(const AllTypes& rec)
{
    Value v;
    v.b = rec.b;
    v.i1 = rec.i1;
    v.i2 = rec.i2;
    v.i4 = rec.i4;
    v.i8 = rec.i8;
    v.r4 = rec.r4;
    v.r8 = rec.r8;
    v.s = rec.s;
    v.ss = rec.ss;
    v.ref = rec.ref.oid;
    for (size_t i = 0; i < rec.ai.Length(); ++i)
        v.ai.push_back(rec.ai[i]);
    for (size_t i = 0; i < rec.as.Length(); ++i)
        v.as.push_back(rec.as[i]);
    for (size_t i = 0; i < rec.ap.Length(); ++i)
        v.ap.emplace_back(rec.ap[i].x, rec.ap[i].y);
    v.pt = {rec.pt.x, rec.pt.y};
    v.raw.assign(rec.raw, rec.raw + 5);
    v.rect = rec.rect;
    return v;
}

// Removes the entry of record id under key from a multimap model.
template <class Multimap, class Key>
void EraseEntry(Multimap& model, const Key& key, oid_t id)
{
    auto range = model.equal_range(key);
    for (auto m = range.first; m != range.second; ++m) {
        if (m->second == id) {
            model.erase(m);
            return;
        }
    }
}

inline uint32_t RowCountOf(dbEngine& db, dbTableInfo* t)
{
    return dbDictionaryRecord(reinterpret_cast<const uint8_t*>(db.GetRow(t->tableId))).RowCount();
}

inline std::string UniqueName(const char* tag)
{
    static int counter = 0;
    return std::string("tables-") + tag + "-" + std::to_string(getpid()) + "-"
         + std::to_string(++counter);
}

// An engine with a small image, opened on demand after its descriptors
// have been made.
class Database {
public:
    Database() : db(dbEngine::dbAllAccess, 8 << 20, 1 << 20, 8194, 1) {}
    ~Database()
    {
        db.Close();
        tables.clear();
    }

    dbTableInfo* AddTable(const char* name, size_t size, dbTableInfo::DescribeFunc describe)
    {
        tables.emplace_back(new dbTableInfo(name, &db, size, describe));
        return tables.back().get();
    }
    bool Open() { return db.Open(UniqueName("db").c_str()); }
    bool Consistent()
    {
        std::string problems;
        bool ok = dbImageChecker::Check(db, &problems);
        if (!ok)
            fprintf(stderr, "%s\n", problems.c_str());
        return ok;
    }

    dbEngine db;
    std::vector<std::unique_ptr<dbTableInfo>> tables;
};

} // namespace tablestest
