// Rows written straight into the engine for tests (no undo records), and
// lookups by number or identifier.
#pragma once

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/Geometry.h"

#include <gtest/gtest.h>

// An element named after its GUID.
inline void InsertElement(int id, int fid, const char* type, const char* guid, int mmc = MMC_CLASS,
                          int itemState = 0, const char* use = "")
{
    ModelT e;
    e.ID = e.SN = id;
    e.FID = fid;
    e.Type = type;
    e.Name = guid;
    e.GUID = guid;
    e.Use = use;
    e.MMC = static_cast<int8_t>(mmc);
    e.ItemState = static_cast<int16_t>(itemState);
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
}

struct SymbolRowValues {
    int page, id, fid;
    const char* type;
    const char* sguid;
    const char* guid;
    RECT box;
    int msc = MSC_RECTANGLE;
    int itemState = 0;
    const char* src = "";
    const char* dest = "";
    const char* nodes = "";
};

// A symbol whose Text is its SGUID.
inline void InsertSymbol(const SymbolRowValues& row)
{
    SymbolT s;
    s.PID = row.page;
    s.ID = row.id;
    s.FID = row.fid;
    s.Type = row.type;
    s.Text = row.sguid;
    s.SGUID = row.sguid;
    s.GUID = row.guid;
    s.MSC = static_cast<int8_t>(row.msc);
    s.MMC = row.msc == MSC_LINE ? MMC_NONE : MMC_CLASS;
    s.ItemState = static_cast<int16_t>(row.itemState);
    s.SrcID = row.src;
    s.DestID = row.dest;
    s.Nodes = row.nodes;
    s.x1 = row.box.left;
    s.y1 = row.box.top;
    s.x2 = row.box.right;
    s.y2 = row.box.bottom;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
}

inline bool SymbolExists(int id)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.SelectByKey("ID", id) > 0;
}

inline SymbolT SymbolRow(int id)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
    return *c.GetRecord();
}

inline bool ElementExists(int id)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("ID", id) > 0;
}

inline bool ElementExists(const char* guid)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return guid && *guid && c.SelectByKey("GUID", guid) > 0;
}

inline ModelT ElementRow(const char* guid)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    EXPECT_GT(c.SelectByKey("GUID", guid), 0) << guid;
    return *c.GetRecord();
}
