// The shell's services to the rest of the program: each finds the main
// window (the application's) and acts on it, its view or its panes; with
// none of them it does nothing and answers 0, false or null.
#pragma once

#include <string>

struct ModelT;
class CVexalView;

// One line at the end of the Messages pane; past 300 lines the oldest 20 go.
void OutputMessage(std::string text);
// The element checked in the model browser; 0 when none.
int GetCheckedModel();
void RefreshElementSymbols(int elementId);
// Lays the symbol out again (when above 0) and repaints the view.
void RefreshDiagram(int symbolId);
// Shows the diagram's page (0: first) and fills the symbol toolbar; true
// when the toolbar was filled.
bool OpenDiagram(int diagramId, int pageId);
void CloseDiagram(int diagramId);
void RefreshModelTree();
// Inserts the element undoably, refreshes the tree and marks the unit of
// its owner; the record's ID.
int InsertModelElement(ModelT& element);
CVexalView* GetMainView();
void PropertyPaneReload(int id, bool isElement);
// As Reload, unless the pane shows this very item (id and kind) already.
void PropertyPaneShow(int id, bool isElement);
void PropertyPaneClear();

// Points the symbol base's shell hooks at these services.
void InstallShellHooks();
