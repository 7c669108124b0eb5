// The menus the main window keeps up to date: the Window list of open
// diagrams, the Recent projects popup and the Tools menu's scripts.
#include "App/MainFrm.h"

#include "Platform/FileFind.h"
#include "Pub/Log.h"
#include "Pub/ModuleDir.h"
#include "Pub/Paths.h"
#include "UML/Model/ElementPath.h"

#include <algorithm>
#include <cstring>

namespace {

const int kFilePopup = 0;
const int kRecentPopup = 3;
const int kToolsPopup = 3;
const int kWindowPopup = 4;

CExtMenu* Popup(CMenu* menu, int position)
{
    return menu ? DYNAMIC_DOWNCAST(CExtMenu, menu->GetSubMenu(position)) : nullptr;
}

} // namespace

void CMainFrame::UpdateWindowMenu(int diagramId)
{
    CExtMenu* window = Popup(GetMenu(), kWindowPopup);
    if (!window)
        return;
    if (diagramId > 0) {
        OpenDiagramList.erase(std::remove(OpenDiagramList.begin(), OpenDiagramList.end(), diagramId),
                              OpenDiagramList.end());
        OpenDiagramList.insert(OpenDiagramList.begin(), diagramId);
        if (OpenDiagramList.size() > size_t(MaxOpenDiagrams))
            OpenDiagramList.pop_back();
    }
    for (int i = window->GetMenuItemCount() - 1; i >= 2; --i)
        window->DeleteMenu(UINT(i), MF_BYPOSITION);
    if (OpenDiagramList.empty())
        return;
    window->AppendMenu(MF_SEPARATOR);
    for (size_t i = 0; i < OpenDiagramList.size(); ++i) {
        std::string path;
        GetElementPath(path, OpenDiagramList[i]);
        CString text;
        text.Format("&%d %s", int(i + 1), path.c_str());
        window->AppendMenu(MF_STRING | (i == 0 ? MF_CHECKED : 0), FirstWindowId + UINT(i), text.GetString());
    }
}

void CMainFrame::UpdateRecentMenu(const CStringArray& list, const char* currentPath, CMenu* menu)
{
    CExtMenu* recent = Popup(Popup(menu, kFilePopup), kRecentPopup);
    if (!recent)
        return;
    while (recent->GetMenuItemCount() > 0)
        recent->DeleteMenu(0, MF_BYPOSITION);
    for (int i = 0; i < list.GetSize() && FirstRecentId + UINT(i) <= LastRecentId; ++i) {
        const bool current = currentPath && std::strcmp(list[i].GetString(), currentPath) == 0;
        recent->AppendMenu(MF_STRING | (current ? MF_CHECKED : 0), FirstRecentId + UINT(i), list[i].GetString());
    }
}

// The command range holds 101 scripts; the ids after it belong to the
// recent projects, so further files are left out.
void CMainFrame::LoadScriptMenu()
{
    CFileFind finder;
    BOOL more = finder.FindFile(PathJoin(PathJoin(theModuleDir, "Script"), "menu_*.js"));
    if (!more)
        return;
    CExtMenu* tools = Popup(&m_menu, kToolsPopup);
    if (!tools)
        return;
    tools->AppendMenu(MF_SEPARATOR);
    UINT id = FirstScriptId;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDirectory())
            continue;
        const CString name = finder.GetFileName();
        if (id > LastScriptId) {
            CString line;
            line.Format("Script menu full: %s left out\r\n", name.GetString());
            LogFailure(2, __FILE__, __LINE__, line);
            continue;
        }
        const CString text = name.Mid(5, name.GetLength() - 8);
        tools->AppendMenu(MF_STRING, id++, text.GetString());
    }
}
