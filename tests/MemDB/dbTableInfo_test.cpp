// Descriptors without an open image: the dictionary record they write, the
// conversion of records between both forms, and field lookup.
#include <gtest/gtest.h>

#include <cmath>

#include "MemDB/dbNameTable.h"
#include "dbTablesFixture.h"

using namespace tablestest;

namespace {

// Descriptors bound to an engine that is never opened stay out of every
// other test's schema.
dbEngine unopened;

TEST(TableInfo, DictionaryListsEveryFieldWithItsLongName)
{
    dbTableInfo t("AllTypes", &unopened, sizeof(AllTypes), DescribeAllTypes);
    struct Expected {
        const char* name;
        int type;
        const char* table;
    };
    const Expected fields[] = {
        {"b", dbFieldInfo::tpBool, ""},        {"i1", dbFieldInfo::tpInt1, ""},
        {"i2", dbFieldInfo::tpInt2, ""},       {"i4", dbFieldInfo::tpInt4 | 0x200, ""},
        {"i8", dbFieldInfo::tpInt8 | 0x200, ""}, {"r4", dbFieldInfo::tpReal4, ""},
        {"r8", dbFieldInfo::tpReal8 | 0x200, ""}, {"s", dbFieldInfo::tpString | 0x200, ""},
        {"ss", dbFieldInfo::tpString, ""},     {"ref", dbFieldInfo::tpReference, "AllTypes"},
        {"ai", dbFieldInfo::tpArray, ""},      {"ai[]", dbFieldInfo::tpInt4, ""},
        {"as", dbFieldInfo::tpArray, ""},      {"as[]", dbFieldInfo::tpString, ""},
        {"ap", dbFieldInfo::tpArray, ""},      {"ap[]", dbFieldInfo::tpStructure, ""},
        {"ap[].x", dbFieldInfo::tpInt2, ""},   {"ap[].y", dbFieldInfo::tpInt4, ""},
        {"pt", dbFieldInfo::tpStructure, ""},  {"pt.x", dbFieldInfo::tpInt2, ""},
        {"pt.y", dbFieldInfo::tpInt4, ""},     {"raw", dbFieldInfo::tpRawBinary, ""},
        {"rect", dbFieldInfo::tpRectangle, ""},
    };
    const size_t n = sizeof fields / sizeof fields[0];
    ASSERT_EQ(t.nFields, int(n));
    EXPECT_EQ(t.nColumns, 16);

    size_t size = 48 + 44 * n + strlen("AllTypes") + 1;
    for (const Expected& f : fields)
        size += strlen(f.name) + strlen(f.table) + 3;
    ASSERT_EQ(t.DictionaryRecordSize(), size);
    std::vector<uint8_t> rec(size);
    t.WriteDictionaryRecord(rec.data());
    dbDictionaryRecord dict(rec.data());
    EXPECT_STREQ(dict.Name(), "AllTypes");
    EXPECT_EQ(dict.FieldCount(), n);
    EXPECT_EQ(dict.ColumnCount(), 16u);
    EXPECT_EQ(dict.FixedSize(), t.fixedSize);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* f = dict.Field(static_cast<uint32_t>(i));
        EXPECT_STREQ(dbDictionaryRecord::FieldName(f), fields[i].name);
        EXPECT_EQ(dbGet32(f, dbFieldRecType), uint32_t(fields[i].type)) << fields[i].name;
        EXPECT_STREQ(dbDictionaryRecord::FieldTableName(f), fields[i].table);
        EXPECT_STREQ(dbDictionaryRecord::FieldInverse(f), "");
    }
    EXPECT_TRUE(t.EqualsStored(rec.data()));
    EXPECT_TRUE(t.MatchStored(rec.data()));
}

TEST(TableInfo, RecordsSurviveStoreAndFetch)
{
    dbTableInfo t("AllTypes", &unopened, sizeof(AllTypes), DescribeAllTypes);
    Value empty;
    Value full;
    full.b = true;
    full.i1 = -5;
    full.i2 = -300;
    full.i4 = 70000;
    full.i8 = -(int64_t(1) << 40);
    full.r4 = 1.5f;
    full.r8 = -2.25;
    full.s = "text";
    full.ss = "std text";
    full.ref = 8200;
    full.ai = {1, -2, 3};
    full.as = {"", "two", std::string(100, 'z')};
    full.ap = {{1, 2}, {-3, 4}};
    full.pt = {7, -8};
    full.raw = {1, 2, 3, 4, 5};
    full.rect = {-1, -2, 3, 4};
    for (const Value* v : {&empty, &full}) {
        AllTypes app{};
        std::vector<const char*> ptrs;
        ToRecord(*v, app, ptrs);
        size_t size = dbFieldInfo::StoredSize(t.columns, reinterpret_cast<uint8_t*>(&app),
                                              t.fixedSize);
        std::vector<uint8_t> rec(size, 0xEE);
        EXPECT_EQ(dbFieldInfo::StoreRecordFields(t.columns, rec.data(),
                                                 reinterpret_cast<uint8_t*>(&app), t.fixedSize),
                  size);
        AllTypes back{};
        dbFieldInfo::FetchRecordFields(t.columns, reinterpret_cast<uint8_t*>(&back), rec.data());
        EXPECT_TRUE(FromRecord(back) == *v);
        EXPECT_GE(back.s, reinterpret_cast<const char*>(rec.data()));
        EXPECT_LT(back.s, reinterpret_cast<const char*>(rec.data() + size));
    }
    AllTypes nullText{};
    size_t size = dbFieldInfo::StoredSize(t.columns, reinterpret_cast<uint8_t*>(&nullText),
                                          t.fixedSize);
    std::vector<uint8_t> rec(size);
    dbFieldInfo::StoreRecordFields(t.columns, rec.data(), reinterpret_cast<uint8_t*>(&nullText),
                                   t.fixedSize);
    dbFieldInfo::FetchRecordFields(t.columns, reinterpret_cast<uint8_t*>(&nullText), rec.data());
    ASSERT_NE(nullText.s, nullptr);
    EXPECT_STREQ(nullText.s, "");
}

TEST(TableInfo, NumbersConvertBetweenTypes)
{
    struct Case {
        int from;
        double value;
        int to;
        double expected;
    };
    const Case cases[] = {
        {dbFieldInfo::tpInt4, -70000, dbFieldInfo::tpReal8, -70000},
        {dbFieldInfo::tpReal8, -2.75, dbFieldInfo::tpInt4, -2},
        {dbFieldInfo::tpReal4, 3.5, dbFieldInfo::tpInt2, 3},
        {dbFieldInfo::tpInt2, 513, dbFieldInfo::tpInt1, 1},
        {dbFieldInfo::tpReal8, 0.25, dbFieldInfo::tpBool, 1},
        {dbFieldInfo::tpInt8, 0, dbFieldInfo::tpBool, 0},
        {dbFieldInfo::tpInt1, -1, dbFieldInfo::tpInt8, -1},
        {dbFieldInfo::tpReal8, 1e300, dbFieldInfo::tpInt8, 9.2233720368547758e18},
    };
    auto write = [](uint8_t* p, int type, double v) {
        switch (type) {
        case dbFieldInfo::tpInt1: *reinterpret_cast<int8_t*>(p) = int8_t(v); break;
        case dbFieldInfo::tpInt2: { int16_t x = int16_t(v); memcpy(p, &x, 2); break; }
        case dbFieldInfo::tpInt4: { int32_t x = int32_t(v); memcpy(p, &x, 4); break; }
        case dbFieldInfo::tpInt8: { int64_t x = int64_t(v); memcpy(p, &x, 8); break; }
        case dbFieldInfo::tpReal4: { float x = float(v); memcpy(p, &x, 4); break; }
        case dbFieldInfo::tpReal8: memcpy(p, &v, 8); break;
        }
    };
    auto read = [](const uint8_t* p, int type) -> double {
        switch (type) {
        case dbFieldInfo::tpBool: return *p;
        case dbFieldInfo::tpInt1: return *reinterpret_cast<const int8_t*>(p);
        case dbFieldInfo::tpInt2: { int16_t x; memcpy(&x, p, 2); return x; }
        case dbFieldInfo::tpInt4: { int32_t x; memcpy(&x, p, 4); return x; }
        case dbFieldInfo::tpInt8: { int64_t x; memcpy(&x, p, 8); return double(x); }
        case dbFieldInfo::tpReal8: { double x; memcpy(&x, p, 8); return x; }
        }
        return NAN;
    };
    for (const Case& k : cases) {
        std::unique_ptr<dbFieldInfo> fd(dbDescribeField("v", 0, k.to));
        fd->dbsOffs = 16;
        fd->oldDbsType = k.from;
        fd->oldDbsOffs = 16;
        uint8_t src[32] = {}, dst[32] = {};
        write(src + 16, k.from, k.value);
        dbFieldInfo::ConvertRecord(fd.get(), dst, src, 24);
        EXPECT_EQ(read(dst + 16, k.to), k.expected) << k.from << " -> " << k.to;
    }
}

TEST(TableInfo, FieldsAreFoundByAnyEqualText)
{
    dbTableInfo t("AllTypes", &unopened, sizeof(AllTypes), DescribeAllTypes);
    std::string copy = "i4";
    dbFieldInfo* fd = t.FindField(copy.c_str());
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(fd->appOffs, offsetof(AllTypes, i4));
    EXPECT_EQ(t.FindField("nope"), nullptr);
    EXPECT_EQ(t.FindField(nullptr), nullptr);
    EXPECT_EQ(t.FindField("x"), nullptr);
    dbFieldInfo* pt = t.FindField("pt");
    ASSERT_NE(pt, nullptr);
    EXPECT_NE(pt->FindComponent("y"), nullptr);
    EXPECT_EQ(pt->FindComponent("z"), nullptr);
}

TEST(TableInfo, LookupsByTransientNamesLeaveNoNameBehind)
{
    dbTableInfo t("AllTypes", &unopened, sizeof(AllTypes), DescribeAllTypes);
    dbFieldInfo* pt = t.FindField("pt");
    ASSERT_NE(pt, nullptr);
    char transient[] = "transientLookupName";
    EXPECT_EQ(t.FindField(transient), nullptr);
    EXPECT_EQ(pt->FindComponent(transient), nullptr);
    // Had a lookup entered the caller's text, the name table would hand out
    // that text, which dies with the caller.
    const char* entered = "transientLookupName";
    dbNameTable::Instance().Intern(&entered, 0, true);
    EXPECT_NE(entered, transient);
}

struct Undescribed {
    int32_t a;
    int32_t b;
};

dbFieldInfo* DescribeOnlyA()
{
    return dbFieldList({dbDescribe<int32_t>("a", offsetof(Undescribed, a))});
}

TEST(TableInfo, WarnsWhenFieldsAreMissingFromTheDescription)
{
    testing::internal::CaptureStderr();
    dbTableInfo t("Undescribed", &unopened, sizeof(Undescribed), DescribeOnlyA);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: may be not all fields of the class 'Undescribed' were described\n");
}

} // namespace
