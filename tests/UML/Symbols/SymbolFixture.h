// A fresh diagram of a given kind under a package of its own, and the
// placement of symbols on its page the way the view places them: the
// prototype creates the row, lays it out on a picture context and the row is
// stored.
#pragma once

#include "UML/Model/HookRecorder.h"
#include "UML/Model/PageCanvas.h"

#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline CSymbol* Prototype(const char* key)
{
    CSymbol* prototype = nullptr;
    FindMetaclass(key, prototype);
    return prototype;
}

inline std::string NewGuid(bool element)
{
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, element ? TRUE : FALSE);
    return guid;
}

// IDs of the elements under owner in SN order.
inline std::vector<int> ChildElements(int owner)
{
    std::vector<int> ids;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("FID", owner) > 0)
        do
            ids.push_back(c->ID);
        while (c.Next());
    return ids;
}

inline int CountSymbols(const char* field, int value)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    const int count = c.SelectByKey(field, value);
    return count > 0 ? count : 0;
}

class SymbolFixture : public ::testing::Test {
protected:
    explicit SymbolFixture(const char* kind = "Classdiagram") : kind_(kind) {}

    void SetUp() override
    {
        PrepareSymbolDC(&canvas.dc);
        UndoLog::NewGroup();
        owner = Prototype("Package")->CreateElement(0, "Model", NewGuid(true).c_str(), nullptr);
        diagram = Prototype(kind_)->CreateElement(owner, kind_, NewGuid(true).c_str(), nullptr);
        const std::vector<int> pages = ChildElements(diagram);
        ASSERT_EQ(pages.size(), 1u);
        page = pages[0];
    }

    // Creates a symbol of key from the box's corners inside container (a
    // symbol ID, 0 for none), lays it out and stores it; its ID, 0 when
    // refused.
    int Place(const char* key, RECT box, int container = 0, const char* text = "",
              const char* elementGuid = nullptr)
    {
        SymbolT enclosing;
        HitSymbol related;
        if (container > 0) {
            EXPECT_TRUE(FetchSymbolById(container, enclosing));
            related.Set(enclosing);
        }
        CSymbol* prototype = Prototype(key);
        const int id = prototype->CreateSymbol(POINT{box.left, box.top}, POINT{box.right, box.bottom}, page, text,
                                               &canvas.dc, elementGuid, container > 0 ? &related.rec : nullptr);
        if (id > 0)
            Relayout(id);
        return id;
    }

    // Draws a line of key from the symbol from to the symbol to as the line
    // tool does: each end asked through CanConnect, the source first, then
    // the line created and laid out. Its ID, 0 when refused.
    int Connect(const char* key, int from, int to, const char* text = "")
    {
        CSymbol* line = Prototype(key);
        HitSymbol source, destination;
        source.Set(Row(from));
        destination.Set(Row(to));
        if (!line->CanConnect(source.rec, true) || !line->CanConnect(destination.rec, false))
            return 0;
        const POINT a{(source.rec.x1 + source.rec.x2) / 2, (source.rec.y1 + source.rec.y2) / 2};
        const POINT b{(destination.rec.x1 + destination.rec.x2) / 2, (destination.rec.y1 + destination.rec.y2) / 2};
        const int id = line->CreateSymbol(a, b, page, text, &canvas.dc, nullptr, &destination.rec);
        if (id > 0)
            Relayout(id);
        return id;
    }

    void Relayout(int id)
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo, dbCursorForUpdate);
        ASSERT_GT(c.SelectByKey("ID", id), 0);
        SymbolT row = *c.GetRecord();
        Prototype(row.Type)->Layout(row, &canvas.dc, nullptr);
        MemDbUpdate(&SymbolT::TableInfo, &row, c.GetCurrentOid());
    }

    // The controller of the fixture's diagram kind, attached to its diagram
    // (with the text editor, when given) and showing its page; null, with a
    // failure, when it cannot.
    CDiagramController* ShowPage(CColorEdit* editor = nullptr)
    {
        CDiagramController* controller = nullptr;
        if (!FindDiagramController(kind_, controller)) {
            ADD_FAILURE() << "no controller for " << kind_;
            return nullptr;
        }
        controller->Attach(owner, diagram, editor);
        if (controller->OpenPage(diagram, page) != 0) {
            ADD_FAILURE() << "page " << page << " did not open";
            return nullptr;
        }
        return controller;
    }

    // The element the symbol shows.
    ModelT ElementOf(int symbolId)
    {
        ModelT element;
        const SymbolT row = Row(symbolId);
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        EXPECT_TRUE(row.GUID && *row.GUID && c.SelectByKey("GUID", row.GUID) > 0) << "symbol " << symbolId;
        if (c.GetRecord())
            element = *c.GetRecord();
        return element;
    }

    SymbolT Row(int id)
    {
        SymbolT row;
        EXPECT_TRUE(FetchSymbolById(id, row)) << "symbol " << id;
        return row;
    }

    HookRecorder hooks;
    PageCanvas canvas{600, 600};
    const char* kind_;
    int owner = 0;
    int diagram = 0;
    int page = 0;
};
