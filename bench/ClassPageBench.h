// Set-up shared by the benchmarks that work on one page of a class diagram:
// its controller, a drawing surface, and a main() that opens the model store,
// builds the registry and the page, and opens the page before they run.
#pragma once

#include "MemDB/db.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// A 32-bit bitmap of width by height pixels selected into dc, with the
// drawing resources built for it.
struct BenchSurface {
    BenchSurface(int width, int height)
    {
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        dc.CreateCompatibleDC(nullptr);
        old = dc.SelectObject(&bitmap);
        RebuildDrawResources(&dc);
    }
    ~BenchSurface() { dc.SelectObject(old); }
    CBitmap bitmap;
    CDC dc;
    CBitmap* old = nullptr;
};

inline CDiagramController* ClassDiagramController()
{
    CDiagramController* c = nullptr;
    FindDiagramController("Classdiagram", c);
    return c;
}

// The rows of a class diagram named Bench and its page Page1 of the given
// size (page units), inserted without undo records.
inline void InsertClassPageRows(int diagramId, int pageId, int width, int height)
{
    ModelT diagram;
    diagram.ID = diagram.SN = diagramId;
    diagram.Type = "Classdiagram";
    diagram.Name = "Bench";
    theModelDb.InsertRecord(&ModelT::TableInfo, &diagram);
    ModelT page;
    page.ID = page.SN = pageId;
    page.FID = diagramId;
    page.Type = "Page";
    page.Name = "Page1";
    theModelDb.InsertRecord(&ModelT::TableInfo, &page);
    ModelPage size;
    size.ID = pageId;
    size.PageWidth = width;
    size.PageHeight = height;
    size.Parsed = 1;
    theModelDb.InsertRecord(&ModelPage::TableInfo, &size);
}

enum class SymbolClasses { Base, Registered };

// buildPage inserts the rows of diagram and page once the registry is built.
template <class BuildPage>
int RunClassPageBenchmarks(int argc, char** argv, int diagram, int page, SymbolClasses classes,
                           BuildPage buildPage)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return 1;
    if (classes == SymbolClasses::Registered)
        RegisterUmlSymbolClasses();
    BuildSymbolRegistry();
    buildPage();
    CDiagramController* c = ClassDiagramController();
    c->Attach(0, diagram, nullptr);
    c->OpenPage(diagram, page);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MemDbClose();
    return 0;
}
