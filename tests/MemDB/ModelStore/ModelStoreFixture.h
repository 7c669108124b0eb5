// The model database opened under a fresh run name with an empty undo log,
// and snapshots of its tables by content.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbDictionary.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"

namespace modelstore {

inline std::vector<dbTableInfo*> ModelTables()
{
    return {&ModelT::TableInfo,         &SymbolT::TableInfo,        &ModelPage::TableInfo,
            &ModelClass::TableInfo,     &ModelOperation::TableInfo, &ModelAttribute::TableInfo,
            &ModelParameter::TableInfo, &ModelUsecase::TableInfo,   &StereotypeT::TableInfo,
            &StereotypeObj::TableInfo};
}

inline std::vector<dbTableInfo*> AllTables()
{
    std::vector<dbTableInfo*> tables = ModelTables();
    tables.push_back(&MetaEle::TableInfo);
    return tables;
}

// A fetched record as "name=value;" per field in field-list order.
inline std::string RowText(dbTableInfo* table, const void* record)
{
    std::string text;
    dbFieldInfo* fd = table->columns;
    do {
        const char* p = static_cast<const char*>(record) + fd->appOffs;
        text += fd->name;
        text += '=';
        switch (fd->appType) {
        case dbFieldInfo::tpInt1:
            text += std::to_string(*reinterpret_cast<const int8_t*>(p));
            break;
        case dbFieldInfo::tpInt2:
            text += std::to_string(*reinterpret_cast<const int16_t*>(p));
            break;
        case dbFieldInfo::tpInt4:
            text += std::to_string(*reinterpret_cast<const int32_t*>(p));
            break;
        case dbFieldInfo::tpString: {
            const char* s = *reinterpret_cast<const char* const*>(p);
            text += '"';
            text += s ? s : "";
            text += '"';
            break;
        }
        default:
            ADD_FAILURE() << "unexpected field type of " << fd->name;
        }
        text += ';';
    } while ((fd = fd->next) != table->columns);
    return text;
}

// Engine ids of a table's rows in row-list order.
inline std::vector<oid_t> RowIds(dbTableInfo* table)
{
    std::vector<oid_t> ids;
    const char* dict = theModelDb.GetRow(table->tableId);
    for (oid_t row = dbDictionaryRecord(reinterpret_cast<const uint8_t*>(dict)).FirstRow();
         row != 0; row = reinterpret_cast<const dbRecordHeader*>(theModelDb.GetRow(row))->next)
        ids.push_back(row);
    return ids;
}

// Row texts of one row, by engine id.
inline std::map<oid_t, std::string> RowsById(dbTableInfo* table)
{
    std::map<oid_t, std::string> rows;
    std::vector<uint64_t> record((table->appSize + 7) / 8);
    for (oid_t id : RowIds(table)) {
        EXPECT_TRUE(theModelDb.FetchRecord(id, table, record.data()));
        rows[id] = RowText(table, record.data());
    }
    return rows;
}

// Every table's rows by content, sorted: equal snapshots mean equal
// tables whatever engine ids the rows have.
typedef std::map<std::string, std::vector<std::string>> Snapshot;

inline Snapshot TakeSnapshot()
{
    Snapshot snapshot;
    for (dbTableInfo* table : AllTables()) {
        std::vector<std::string>& rows = snapshot[table->name];
        for (auto& row : RowsById(table))
            rows.push_back(row.second);
        std::sort(rows.begin(), rows.end());
    }
    return snapshot;
}

// Equal snapshots, or the first table and row where they part.
inline testing::AssertionResult SameTables(const Snapshot& actual, const Snapshot& expected)
{
    for (const auto& table : expected) {
        auto found = actual.find(table.first);
        if (found == actual.end())
            return testing::AssertionFailure() << "no table " << table.first;
        const std::vector<std::string>& a = found->second;
        const std::vector<std::string>& e = table.second;
        for (size_t i = 0; i < a.size() || i < e.size(); ++i) {
            if (i >= a.size() || i >= e.size() || a[i] != e[i])
                return testing::AssertionFailure()
                    << table.first << ": " << a.size() << " rows, expected " << e.size()
                    << "; row " << i << " is " << (i < a.size() ? a[i] : "missing")
                    << ", expected " << (i < e.size() ? e[i] : "none");
        }
    }
    return testing::AssertionSuccess();
}

// Every indexed field of every table finds, for each value a row holds,
// exactly the rows holding it: no entry is missing, stale or left behind.
inline testing::AssertionResult IndexesAgree()
{
    for (dbTableInfo* table : AllTables()) {
        std::vector<uint64_t> record((table->appSize + 7) / 8);
        for (dbFieldInfo* fd = table->indexedFields; fd; fd = fd->nextIndexedField) {
            std::map<std::string, std::vector<oid_t>> rowsOf;
            std::map<std::string, int32_t> numberOf;
            for (oid_t id : RowIds(table)) {
                theModelDb.FetchRecord(id, table, record.data());
                const char* p = reinterpret_cast<const char*>(record.data()) + fd->appOffs;
                std::string key;
                if (fd->appType == dbFieldInfo::tpString) {
                    const char* s = *reinterpret_cast<const char* const*>(p);
                    key = s ? s : "";
                } else {
                    int32_t v;
                    memcpy(&v, p, sizeof v);
                    key = std::to_string(v);
                    numberOf[key] = v;
                }
                rowsOf[key].push_back(id);
            }
            for (auto& value : rowsOf) {
                dbRecordCursor cursor(table);
                int n = fd->appType == dbFieldInfo::tpString
                            ? cursor.SelectByKey(fd->name, value.first.c_str())
                            : cursor.SelectByKey(fd->name, numberOf[value.first]);
                std::vector<oid_t> found;
                for (int i = 0; i < n; ++i, cursor.MoveNext())
                    found.push_back(cursor.GetCurrentOid());
                std::sort(found.begin(), found.end());
                std::sort(value.second.begin(), value.second.end());
                if (found != value.second)
                    return testing::AssertionFailure()
                        << table->name << "." << fd->name << " = \"" << value.first << "\" finds "
                        << found.size() << " rows, the table holds " << value.second.size();
            }
        }
    }
    return testing::AssertionSuccess();
}

class ModelStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(MakeGuidText(theDbName, DbNameSize, FALSE), 1);
        ASSERT_EQ(MemDbOpen(), 1);
        UndoLog::Reset();
    }
    void TearDown() override
    {
        UndoLog::Reset();
        MemDbClose();
    }
};

} // namespace modelstore
