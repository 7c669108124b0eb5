// The model browser's commands: the context menu, new elements, renaming in
// place, Delete, Copy, Cut and Paste through the element clipboard, Move Up
// and Down, Save As, loading and removing libraries, Undo, Redo and help.
#include "App/ModelBrowser.h"

#include "App/ElementClipboard.h"
#include "App/HelpSeam.h"
#include "App/MainFrm.h"
#include "App/ProjectFiles.h"
#include "App/ShellServices.h"
#include "App/UndoReplay.h"
#include "App/VexalApp.h"
#include "Controls/OptionTreeFileDialog.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbEngine.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Clipboard.h"
#include "Platform/GlobalMemory.h"
#include "Platform/Resource.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <cstring>

namespace {

const UINT kPleaseSelect = 61560;
const UINT kNewCaption = 61446;
const UINT kFilterName = 57611;
const UINT kCopy = 57634, kCut = 57635, kPaste = 57637, kDelete = 32773, kSaveAs = 57604, kMoveUp = 32790,
           kMoveDown = 32791, kSelectAll = 57642;
const UINT kFirstNewId = 2024;

CString UnitFilter()
{
    CString filter;
    filter.Format("%s (*.uml)|*.uml||", LoadResString(kFilterName).GetString());
    return filter;
}

// The kinds the rules let an element of the kind own, in rule order.
std::vector<CSymbol*> OwnableKinds(const char* kind)
{
    std::vector<std::pair<int, CSymbol*>> found;
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(kind ? kind : "");
    dbTypedCursor<MetaEle> rules(&MetaEle::TableInfo);
    if (rules.Select(q, dbCursorViewOnly) > 0)
        do {
            CSymbol* prototype = nullptr;
            if (rules->Model && *rules->Model && FindMetaclass(rules->Model, prototype))
                found.emplace_back(rules->ID, prototype);
        } while (rules.Next());
    std::sort(found.begin(), found.end(),
              [](const std::pair<int, CSymbol*>& a, const std::pair<int, CSymbol*>& b) { return a.first < b.first; });
    std::vector<CSymbol*> kinds;
    for (const auto& rule : found)
        kinds.push_back(rule.second);
    return kinds;
}

} // namespace

bool CModelBrowser::RequireSelection() const
{
    if (!m_selection.empty())
        return true;
    OutputMessage(LoadResString(kPleaseSelect).GetString());
    return false;
}

// ---- context menu and new elements

void CModelBrowser::OnRButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnRButtonUp(nFlags, point);
    const int index = HitTest(point);
    ModelT element;
    CSymbol* prototype = nullptr;
    if (index < 0 || !FetchElementById(m_rows[size_t(index)].id, element) || !FindMetaclass(element.Type, prototype))
        return;
    const bool fixed = (element.ItemState & ITEM_FIXED) != 0;
    if (fixed && element.ID != theModelRootId)
        return;
    SetFocus();
    UndoLog::NewGroup();
    if (std::none_of(m_selection.begin(), m_selection.end(), [&](const Entry& e) { return e.id == element.ID; }))
        Select(element.ID, SelectCheck);

    std::vector<ContextMenuItem> items;
    auto add = [&items](UINT id) { items.push_back({id, 0, {}}); };
    if (!fixed) {
        add(kCopy);
        add(kCut);
    }
    add(kPaste);
    if (!fixed) {
        add(kDelete);
        if (prototype->fileUnit)
            add(kSaveAs);
        add(kMoveUp);
        add(kMoveDown);
    }
    add(kSelectAll);
    ContextMenuItem create{0, kNewCaption, {}};
    for (CSymbol* kind : OwnableKinds(element.Type))
        create.submenu.push_back({kFirstNewId + UINT(kind->metaIndex), 0, {}});
    if (!create.submenu.empty())
        items.push_back(create);
    CPoint screen = point;
    ClientToScreen(&screen);
    theShellHooks.TrackContextMenu(items, this, screen);
}

void CModelBrowser::OnNewElement(UINT nID)
{
    const int owner = GetCheckedModel();
    CSymbol* prototype = nullptr;
    if (owner <= 0 || !FindMetaclassByIndex(int(nID) - int(kFirstNewId) + 1, prototype))
        return;
    char guid[GuidTextLength + 1];
    char name[260];
    if (!MakeGuidText(guid, sizeof guid, TRUE))
        return;
    prototype->MakeDefaultName(name, sizeof name);
    const int id = prototype->CreateElement(owner, name, guid, nullptr);
    if (id > 0 && prototype->mmc == MMC_DIAGRAM)
        OpenDiagram(id, 0);
}

// ---- renaming in place

bool CModelBrowser::BeginRename(int rowIndex, const POINT* click)
{
    if (rowIndex < 0 || rowIndex >= int(m_rows.size()) || !m_editor.m_hWnd)
        return false;
    const Row& row = m_rows[size_t(rowIndex)];
    ModelT element;
    if (!FetchElementById(row.id, element) || (element.ItemState & ITEM_FIXED))
        return false;
    GetClientRect(&m_client);
    const CRect label(row.textX - m_scrollX, row.top - m_scrollY, row.right - m_scrollX, row.bottom - m_scrollY);
    const CRect limit(label.left, label.top, m_client.right - 2, label.bottom);
    const POINT caret{click ? click->x - label.left : label.Width(), 0};
    m_editor.BeginEdit(element.Name ? element.Name : "", label, &limit, caret, -1);
    m_state = Renaming;
    Invalidate(FALSE);
    return true;
}

void CModelBrowser::RenameByKey()
{
    const int index = RowOf(m_selection.front().id);
    if (index < 0)
        return;
    const Row& row = m_rows[size_t(index)];
    GetClientRect(&m_client);
    const int left = row.textX - m_scrollX, right = row.right - m_scrollX;
    const int top = row.top - m_scrollY, bottom = row.bottom - m_scrollY;
    if (left >= m_client.left && right <= m_client.right && top >= m_client.top && bottom <= m_client.bottom)
        BeginRename(index, nullptr);
}

void CModelBrowser::CommitRename()
{
    if (m_state != Renaming || m_selection.empty())
        return;
    m_state = Idle;
    CString text;
    const bool focused = GetFocus() == &m_editor;
    if (!m_editor.EndEdit(text))
        return;
    if (focused)
        SetFocus();
    ModelT element;
    oid_t oid = 0;
    if (!FetchElementById(m_selection.front().id, element, &oid)) {
        Invalidate(FALSE);
        return;
    }
    if (std::strcmp(text.GetString(), element.Name ? element.Name : "") == 0) {
        Invalidate(FALSE);
        return;
    }
    element.Name = text.GetString();
    MemDbUpdate(&ModelT::TableInfo, &element, oid);
    ModifiedUnits::Mark(element.ID, 1);
    if (FetchElementById(element.ID, element))
        RefreshSymbolsOfElement(element);
    PropertyPaneReload(element.ID, true);
    Refresh(true);
}

void CModelBrowser::CancelRename()
{
    if (m_state != Renaming)
        return;
    const bool focused = GetFocus() == &m_editor;
    m_editor.HideEdit();
    m_state = Idle;
    if (focused)
        SetFocus();
    Invalidate(FALSE);
}

// ---- Delete, Copy, Cut, Paste

void CModelBrowser::CloseDiagramsGone()
{
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return;
    // Oldest first, so that the diagram shown is closed last and the one
    // then shown still exists.
    const std::vector<int> open = frame->GetOpenDiagramList();
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        ModelT diagram;
        if (!FetchElementById(*it, diagram))
            ::CloseDiagram(*it);
    }
}

void CModelBrowser::OnEditDelete()
{
    if (!RequireSelection())
        return;
    const std::vector<Entry> entries = m_selection;
    Select(0, 0);
    UndoLog::NewGroup();
    bool deleted = false;
    for (const Entry& entry : entries)
        deleted = DeleteElementTree(entry.id, false) > 0 || deleted;
    if (deleted) {
        CloseDiagramsGone();
        RefreshDiagram(0);
        PropertyPaneClear();
    }
    Refresh(true);
}

void CModelBrowser::OnEditCopy()
{
    if (!RequireSelection() || !OpenClipboard(m_hWnd))
        return;
    EmptyClipboard();
    std::vector<int> ids;
    for (const Entry& entry : m_selection)
        ids.push_back(entry.id);
    const std::vector<char> bytes = MakeElementBlock(ids);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size())) {
        if (void* target = GlobalLock(block)) {
            std::memcpy(target, bytes.data(), bytes.size());
            GlobalUnlock(block);
            SetClipboardData(theMdlClipboardFormat, block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
}

void CModelBrowser::OnEditCut()
{
    if (!RequireSelection())
        return;
    OnEditCopy();
    OnEditDelete();
}

void CModelBrowser::OnEditPaste()
{
    if (!RequireSelection() || !OpenClipboard(m_hWnd))
        return;
    auto* block = static_cast<HGLOBAL>(GetClipboardData(theMdlClipboardFormat));
    const size_t size = block ? GlobalSize(block) : 0;
    if (size > 0) {
        PasteElementBlock(GlobalLock(block), size, m_selection.front().id);
        GlobalUnlock(block);
    }
    CloseClipboard();
    Refresh(true);
}

void CModelBrowser::OnEditSelectAll()
{
    if (!m_rows.empty())
        SelectRun(0, int(m_rows.size()) - 1);
}

void CModelBrowser::OnEditUndo() { ReplayUndoLog(false); }
void CModelBrowser::OnEditRedo() { ReplayUndoLog(true); }

// ---- Move Up and Down

// Each selected element swaps SN with the sibling before it in the order of
// the move, written straight through the engine (not undoable). A selected
// sibling in the way did not move itself (it was first, or fixed), so the
// block of selected elements keeps its order.
void CModelBrowser::MoveSiblings(bool up)
{
    CommitRename();
    if (!RequireSelection())
        return;
    std::vector<int> order;
    for (const Entry& entry : m_selection)
        order.push_back(entry.id);
    if (!up)
        std::reverse(order.begin(), order.end());
    for (int id : order) {
        ModelT element;
        oid_t oid = 0;
        if (!FetchElementById(id, element, &oid) || (element.ItemState & ITEM_FIXED))
            continue;
        std::vector<int> siblings = ChildElementIds(element.FID);
        if (!up)
            std::reverse(siblings.begin(), siblings.end());
        const auto at = std::find(siblings.begin(), siblings.end(), id);
        if (at == siblings.begin() || at == siblings.end())
            continue;
        const int before = *(at - 1);
        ModelT other;
        oid_t otherOid = 0;
        const bool selected =
            std::any_of(m_selection.begin(), m_selection.end(), [before](const Entry& e) { return e.id == before; });
        if (selected || !FetchElementById(before, other, &otherOid))
            continue;
        std::swap(element.SN, other.SN);
        theModelDb.UpdateRecord(oid, &ModelT::TableInfo, &element);
        theModelDb.UpdateRecord(otherOid, &ModelT::TableInfo, &other);
        ModifiedUnits::Mark(element.FID, 1);
    }
    Refresh(true);
}

void CModelBrowser::OnMoveUp() { MoveSiblings(true); }

void CModelBrowser::OnMoveDown() { MoveSiblings(false); }

// ---- unit files and libraries

void CModelBrowser::OnFileSaveAs()
{
    ModelT element;
    if (!FetchElementById(GetCheckedModel(), element))
        return;
    COptionTreeFileDialog dialog(FALSE, "uml", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, UnitFilter(), this);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName().GetString();
    const std::string conflict = UnitPathConflict(path.c_str(), element.ID);
    if (!conflict.empty()) {
        OutputMessage("Cannot save \"" + std::string(element.Name ? element.Name : "") + "\" as " + path + ": " +
                      conflict);
        return;
    }
    UndoLog::NewGroup();
    if (!ProjectStore::SetUnitPath(element.ID, path.c_str()))
        return;
    ModifiedUnits::Mark(element.FID, 1);
    ModifiedUnits::Mark(element.ID, 1);
    Refresh(true);
}

void CModelBrowser::OnLoadLibrary()
{
    COptionTreeFileDialog dialog(TRUE, "uml", nullptr,
                                 OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, UnitFilter(),
                                 this);
    if (dialog.DoModal() != IDOK)
        return;
    const CString path = dialog.GetPathName();
    if (!ProjectFileRole(path.GetString()).empty())
        return;
    if (ProjectStore::AddLibrary(path.GetString()))
        Refresh(true);
}

void CModelBrowser::OnRemoveLibrary()
{
    if (!RequireSelection())
        return;
    bool removed = false;
    for (const Entry& entry : std::vector<Entry>(m_selection)) {
        ModelT element;
        if (FetchElementById(entry.id, element) && element.FID == theLibraryRootId && theLibraryRootId > 0)
            removed = DeleteElementTree(entry.id, true) > 0 || removed;
    }
    if (!removed)
        return;
    CloseDiagramsGone();
    ModifiedUnits::Mark(theProjectRootId, 1);
    Refresh(true);
}

// ---- help

void CModelBrowser::OnHelpTopics()
{
    CString target = CString(theModuleDir) + "help.chm::/Index.htm";
    CSymbol* prototype = nullptr;
    if (!m_selection.empty() && FindMetaclass(m_selection.front().type.c_str(), prototype) && prototype->helpTopic[0])
        target = CString(theModuleDir) + "help.chm::" + prototype->helpTopic;
    theHelpSeam.ShowTopic(target.GetString());
}
