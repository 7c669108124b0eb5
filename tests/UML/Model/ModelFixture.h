// A fixture over an emptied model: elements are added with the next element
// number as ID and SN and "E<ID>" as GUID, and symbols with "S<ID>" as SGUID.
#pragma once

#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/TextHelpers.h"
#include "TestFolder.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <gtest/gtest.h>

#include <string>

class ModelRows : public ::testing::Test {
protected:
    // The project roots the project files would report.
    static void SetModelRoots(int project, int library, int predefined)
    {
        roots[0] = project;
        roots[1] = library;
        roots[2] = predefined;
        theShellHooks.GetProjectRoot = [] { return roots[0]; };
        theShellHooks.GetLibraryRoot = [] { return roots[1]; };
        theShellHooks.GetPredefinedRoot = [] { return roots[2]; };
    }
    static inline int roots[3] = {-1, -1, -1};

    void TearDown() override { ResetShellHooks(); }
    void SetUp() override
    {
        MemDbClearModel();
        UndoLog::Clear();
        SetModelRoots(-1, -1, -1);
        ResetModelCounters();
    }

    static CSymbol* Prototype(const char* key)
    {
        CSymbol* p = nullptr;
        EXPECT_TRUE(FindMetaclass(key, p)) << key;
        // Kinds missing from the test metamodel are named as a full one names them.
        if (p && !p->metaName[0])
            SafeStrCopy(p->metaName, key, sizeof p->metaName);
        return p;
    }
    static std::string Guid(int id) { return "E" + std::to_string(id); }

    // Adds an element; its category is its prototype's.
    static int Add(int owner, const char* type, const char* name, const std::string& use = "", int visibility = 0,
                   const char* stereotype = "")
    {
        ModelT e;
        e.ID = e.SN = ++theNextElementId;
        e.FID = owner;
        e.Type = type;
        e.Name = name;
        const std::string guid = Guid(e.ID);
        e.GUID = guid.c_str();
        e.Use = use.c_str();
        e.Stereotype = stereotype;
        e.Visibility = static_cast<int8_t>(visibility);
        e.MMC = Prototype(type)->mmc;
        theModelDb.InsertRecord(&ModelT::TableInfo, &e);
        return e.ID;
    }
    static bool Exists(int id)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        return c.SelectByKey("ID", id) > 0;
    }
    static ModelT Element(int id)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
        return *c.GetRecord();
    }
    static oid_t ElementOid(int id)
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        return c.SelectByKey("ID", id) > 0 ? c.GetCurrentOid() : 0;
    }
    static int AddSymbol(int page, const char* type, const char* text, const std::string& guid = "")
    {
        SymbolT s;
        s.ID = ++theNextSymbolId;
        s.PID = page;
        s.Type = type;
        s.Text = text;
        const std::string sguid = "S" + std::to_string(s.ID);
        s.SGUID = sguid.c_str();
        s.GUID = guid.c_str();
        s.MMC = Prototype(type)->mmc;
        s.MSC = Prototype(type)->msc;
        theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
        return s.ID;
    }
    static SymbolT Symbol(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        EXPECT_GT(c.SelectByKey("ID", id), 0) << id;
        return *c.GetRecord();
    }
};
