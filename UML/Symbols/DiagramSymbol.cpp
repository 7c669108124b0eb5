#include "UML/Symbols/DiagramSymbol.h"

#include "Pub/GuidText.h"
#include "UML/Model/SymbolRegistry.h"

const char* const kDiagramKeys[12] = {
    "Classdiagram",       "Packagediagram",  "Componentdiagram",           "Deploymentdiagram",
    "Compositestructurediagram", "Usecasediagram", "Activitydiagram",      "Statemachinediagram",
    "Sequencediagram",    "Timingdiagram",   "Interactionoverviewdiagram", "Anatomydiagram"};

int CDiagramSymbol::CreateElement(int ownerId, const char* name, const char* guid, const char* use)
{
    const int diagram = CSymbol::CreateElement(ownerId, name, guid, use);
    CSymbol* page = nullptr;
    if (diagram <= 0 || !FindMetaclass("Page", page))
        return diagram;
    char pageGuid[GuidTextLength + 1];
    char pageName[80];
    if (MakeGuidText(pageGuid, sizeof pageGuid, TRUE)) {
        page->MakeDefaultName(pageName, sizeof pageName);
        page->CreateElement(diagram, pageName, pageGuid, nullptr);
    }
    return diagram;
}
