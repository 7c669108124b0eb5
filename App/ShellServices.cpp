#include "App/ShellServices.h"

#include "App/MainFrm.h"
#include "App/PropertyPane.h"
#include "App/VexalView.h"
#include "Controls/CommandImageList.h"
#include "Controls/ExtMenu.h"
#include "File/ModifiedUnits.h"
#include "MemDB/db.h"
#include "Platform/Resource.h"
#include "Platform/WinApp.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/ShellHooks.h"

CMainFrame* GetMainFrame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

void OutputMessage(std::string text)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->OutputMessage(text.c_str());
}

int GetCheckedModel()
{
    CMainFrame* frame = GetMainFrame();
    return frame ? frame->GetModelBrowser().GetCheckedModel() : 0;
}

CVexalView* GetMainView()
{
    CMainFrame* frame = GetMainFrame();
    return frame ? frame->GetVexalView() : nullptr;
}

// The view paints the page anew from its rows.
void RefreshElementSymbols(int elementId)
{
    CVexalView* view = GetMainView();
    CDiagramController* controller = view && view->GetDiagramId() > 0 ? view->GetController() : nullptr;
    if (!controller)
        return;
    std::unique_ptr<CDC> dc = view->MeasuringDC();
    if (dc && controller->RelayoutElementSymbols(elementId, dc.get()))
        view->Invalidate(FALSE);
}

void RefreshDiagram(int)
{
    CVexalView* view = GetMainView();
    if (view && view->GetDiagramId() > 0)
        view->Invalidate(FALSE);
}

bool OpenDiagram(int diagramId, int pageId)
{
    CMainFrame* frame = GetMainFrame();
    CVexalView* view = GetMainView();
    if (!frame || !view || !view->OpenDiagram(diagramId, pageId))
        return false;
    frame->UpdateWindowMenu(diagramId);
    return frame->LoadSymbolToolBar(diagramId);
}

void CloseDiagram(int diagramId)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->CloseDiagram(diagramId);
}

void RefreshModelTree()
{
    if (CMainFrame* frame = GetMainFrame())
        frame->GetModelBrowser().Refresh(true);
}

namespace {

unsigned InsertElement(const ModelT& element)
{
    const oid_t id = MemDbInsert(&ModelT::TableInfo, &element);
    RefreshModelTree();
    ModifiedUnits::Mark(element.FID, 1);
    return unsigned(id);
}

void TrackContextMenu(const std::vector<ContextMenuItem>& items, CWnd* owner, POINT screen);

void AddContextItems(CExtMenu& menu, const std::vector<ContextMenuItem>& items)
{
    CCommandImageList& registry = GetCommandImages();
    for (const ContextMenuItem& item : items) {
        if (item.captionStringId) {
            CExtMenu* popup = menu.AppendPopup(LoadResString(item.captionStringId).GetString());
            if (popup)
                AddContextItems(*popup, item.submenu);
        } else if (!item.commandId) {
            menu.AppendMenu(MF_SEPARATOR);
        } else {
            CommandImageInfo info = {};
            registry.Lookup(item.commandId, info);
            menu.AppendMenu(MF_STRING, item.commandId, info.name);
        }
    }
}

// A temporary menu of registry names and icons, with the owner as the
// target of the chosen command.
void TrackContextMenu(const std::vector<ContextMenuItem>& items, CWnd* owner, POINT screen)
{
    if (!owner || items.empty())
        return;
    CExtMenu menu;
    menu.CreatePopupMenu();
    AddContextItems(menu, items);
    menu.LoadImages(&GetCommandImages());
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner);
}

void LocateElement(int elementId)
{
    if (CMainFrame* frame = GetMainFrame())
        frame->LocateElement(elementId);
}

void Message(const char* text) { OutputMessage(text ? text : ""); }
void RefreshSymbols(int elementId) { RefreshElementSymbols(elementId); }
void Show(int id, bool isElement) { PropertyPaneShow(id, isElement); }
void Reload(int id, bool isElement) { PropertyPaneReload(id, isElement); }
CWnd* MainView() { return GetMainView(); }

} // namespace

int InsertModelElement(ModelT& element)
{
    InsertElement(element);
    return element.ID;
}

void PropertyPaneReload(int id, bool isElement)
{
    if (thePropertyPane)
        thePropertyPane->ShowItem(id, isElement);
}

void PropertyPaneShow(int id, bool isElement)
{
    if (thePropertyPane && !thePropertyPane->IsShowing(id, isElement))
        thePropertyPane->ShowItem(id, isElement);
}

void PropertyPaneClear()
{
    if (thePropertyPane)
        thePropertyPane->Clear();
}

void InstallShellHooks()
{
    theShellHooks.InsertModelElement = InsertElement;
    theShellHooks.RefreshModelTree = RefreshModelTree;
    theShellHooks.RefreshElementSymbols = RefreshSymbols;
    theShellHooks.PropertyPaneShow = Show;
    theShellHooks.PropertyPaneReload = Reload;
    theShellHooks.PropertyPaneClear = PropertyPaneClear;
    theShellHooks.LocateElement = LocateElement;
    theShellHooks.OutputMessage = Message;
    theShellHooks.TrackContextMenu = TrackContextMenu;
    theShellHooks.GetMainView = MainView;
}
