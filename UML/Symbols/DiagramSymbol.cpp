#include "UML/Symbols/DiagramSymbol.h"

#include "Platform/MetaFileDc.h"
#include "Platform/Wnd.h"
#include "Pub/BufferedFile.h"
#include "Pub/GuidText.h"
#include "Pub/Paths.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/DiagramController.h"
#include "UML/Model/HtmlRows.h"
#include "UML/Model/PageState.h"
#include "UML/Symbols/BaseRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"

#include <string>
#include <vector>

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

namespace {

// Restores the open page on every way out: the view's next placement goes to
// the page it shows, not to the last page exported.
class PageStateKeeper {
public:
    PageStateKeeper() : saved_(thePageState) {}
    ~PageStateKeeper() { thePageState = saved_; }
    PageStateKeeper(const PageStateKeeper&) = delete;
    PageStateKeeper& operator=(const PageStateKeeper&) = delete;

private:
    const PageState saved_;
};

// The view's context in the page mapping, released on every way out.
class ViewContext {
public:
    explicit ViewContext(CWnd* view) : view_(view), dc_(view->GetDC())
    {
        if (dc_)
            dc_->SetMapMode(MM_HIMETRIC);
    }
    ~ViewContext()
    {
        if (dc_)
            view_->ReleaseDC(dc_);
    }
    ViewContext(const ViewContext&) = delete;
    ViewContext& operator=(const ViewContext&) = delete;
    CDC* Get() const { return dc_; }

private:
    CWnd* view_;
    CDC* dc_;
};

} // namespace

bool CDiagramSymbol::WriteHtmlPage(const char* folder, const ModelT& element)
{
    CWnd* view = theShellHooks.GetMainView();
    if (!view)
        return false;
    ViewContext viewDc(view);
    if (!viewDc.Get())
        return false;
    CBufferedFile file;
    if (!OpenHtmlPage(folder, element, file))
        return false;
    HtmlPageHead(element, file);
    PageStateKeeper keeper;
    CDiagramController controller(metaName);
    const std::vector<int> pages = PagesOf(element.ID);
    for (size_t n = 0; n < pages.size(); ++n) {
        if (controller.OpenPage(element.ID, pages[n]) < 0)
            continue;
        SafeStrCopy(thePageState.Title, element.Name ? element.Name : "", sizeof thePageState.Title);
        const std::string picture = std::string(metaName) + std::to_string(element.ID) + "_" + std::to_string(n) + ".svg";
        file.WriteString(("<tr><td align='center'><img src=\"" + picture + "\"></td></tr>\r\n").c_str());
        const RECT bounds{0, 0, thePageState.UsableWidth, thePageState.UsableHeight};
        CMetaFileDC metafile;
        if (!metafile.CreateEnhanced(viewDc.Get(), PathJoin(folder, picture.c_str()), &bounds, picture.c_str()))
            continue;
        metafile.SetMapMode(MM_HIMETRIC);
        controller.DrawPage(&metafile);
        DeleteEnhMetaFile(metafile.CloseEnhanced());
    }
    HtmlPageTail(file);
    return CloseHtmlPage(file);
}

COptionTreeItem* CDiagramSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    return AddNameTypeCategory(element, readOnly, false, grid);
}
