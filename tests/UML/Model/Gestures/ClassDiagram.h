// A fresh model for each test: package 1 owning class diagram 2 with pages 3,
// 4, ...; the diagram's controller attached and page 3 open.
#pragma once

#include "MemDB/UndoLog.h"
#include "Pub/SYSConfig.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/ModelRows.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/PlacementTool.h"
#include "UML/Model/SymbolRegistry.h"

#include <string>

inline CDiagramController* OpenClassDiagram(int pages)
{
    theSysConfig.SetDefaults();
    SetZoom(1.0f);
    MemDbClearModel();
    UndoLog::Clear();
    ResetModelCounters();
    PlacementTool::Reset();
    InsertElement(1, 0, "Package", "PACKAGE", MMC_NAMESPACE);
    InsertElement(2, 1, "Classdiagram", "DIAGRAM", MMC_DIAGRAM);
    for (int i = 0; i < pages; ++i) {
        const std::string name = "PAGE" + std::to_string(i + 1);
        InsertElement(3 + i, 2, "Page", name.c_str(), MMC_PAGE);
        ModelPage page;
        page.ID = 3 + i;
        page.Parsed = 1;
        theModelDb.InsertRecord(&ModelPage::TableInfo, &page);
    }
    CDiagramController* controller = nullptr;
    if (!FindDiagramController("Classdiagram", controller))
        return nullptr;
    controller->Attach(1, 2, nullptr);
    SafeStrCopy(thePageState.Title, "Diagram", sizeof thePageState.Title);
    controller->OpenPage(2, 3);
    return controller;
}
