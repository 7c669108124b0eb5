#include "App/PropertyPane.h"

#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "Controls/OptionTreeItem.h"
#include "File/ModifiedUnits.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "Platform/Dc.h"
#include "Platform/Resource.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/StereotypeRows.h"
#include "UML/Model/StereotypeValues.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CPropertyPane, COptionTree)

CPropertyPane* thePropertyPane = nullptr;

namespace {

const UINT kBaseLabel = 61447, kExtendedLabel = 61448, kSymbolLabel = 61466, kStereotypeLabel = 61472;

bool IsLabel(const COptionTreeItem* row, UINT stringId) { return row->GetLabelText() == LoadResString(stringId); }

// The first child of parent labelled by the string.
COptionTreeItem* ChildLabelled(const COptionTreeItem* parent, UINT stringId)
{
    for (COptionTreeItem* row = parent ? parent->GetFirstChild() : nullptr; row; row = row->GetNextSibling()) {
        if (IsLabel(row, stringId))
            return row;
    }
    return nullptr;
}

std::string Text(const char* text) { return text ? text : ""; }

} // namespace

CPropertyPane::CPropertyPane() { thePropertyPane = this; }

CPropertyPane::~CPropertyPane()
{
    if (thePropertyPane == this)
        thePropertyPane = nullptr;
}

void CPropertyPane::ShowItem(int id, bool isElement)
{
    SetAutoRedraw(FALSE);
    DeleteAllItems();
    if (isElement) {
        ModelT element;
        if (FetchElementById(id, element))
            AddElementRows(element);
    } else {
        SymbolT symbol;
        if (FetchSymbolById(id, symbol)) {
            ModelT element;
            if (symbol.MMC != MMC_NONE && symbol.GUID && *symbol.GUID && FetchElementByGuid(symbol.GUID, element))
                AddElementRows(element);
            AddSymbolRows(symbol);
        }
    }
    SetAutoRedraw(TRUE);
    m_id = id;
    m_isElement = isElement;
}

void CPropertyPane::AddElementRows(const ModelT& element)
{
    CSymbol* prototype = nullptr;
    if (FindMetaclass(element.Type, prototype))
        prototype->AddElementProperties(element, (element.ItemState & ITEM_FIXED) != 0, this);
}

// The category comes up expanded when the user left it so (its builder
// reads the expanded set).
void CPropertyPane::AddSymbolRows(const SymbolT& symbol)
{
    CSymbol* prototype = nullptr;
    if (FindMetaclass(symbol.Type, prototype))
        prototype->AddSymbolProperties(symbol, this);
}

void CPropertyPane::Clear()
{
    SetAutoRedraw(FALSE);
    DeleteAllItems();
    SetAutoRedraw(TRUE);
    m_id = -1;
    m_isElement = false;
}

void CPropertyPane::CommitEdit()
{
    if (m_id <= 0)
        return;
    UndoLog::NewGroup();
    oid_t oid = 0;
    if (!m_isElement) {
        SymbolT symbol;
        if (!FetchSymbolById(m_id, symbol, &oid))
            return;
        const std::string guid = Text(symbol.GUID);
        ApplySymbolRows(oid, symbol);
        ModelT element;
        if (!guid.empty() && FetchElementByGuid(guid.c_str(), element) && FetchElementById(element.ID, element, &oid))
            ApplyElementRows(oid, element);
        return;
    }
    ModelT element;
    if (FetchElementById(m_id, element, &oid))
        ApplyElementRows(oid, element);
}

// The symbol's own edits belong to its diagram's unit, which is marked as
// the view marks it for its edits, so that closing the project saves them.
void CPropertyPane::ApplySymbolRows(oid_t oid, SymbolT& symbol)
{
    CSymbol* prototype = nullptr;
    COptionTreeItem* category = ChildLabelled(GetRootItem(), kSymbolLabel);
    if (!FindMetaclass(symbol.Type, prototype) || !category)
        return;
    const int pageId = symbol.PID;
    if (!prototype->ApplySymbolProperties(m_id, symbol, category) ||
        !MemDbUpdate(&SymbolT::TableInfo, &symbol, oid))
        return;
    ModifiedUnits::Mark(pageId, 1);
    if (CVexalView* view = GetMainView())
        if (std::unique_ptr<CDC> dc = view->MeasuringDC())
            RelayoutSymbol(m_id, dc.get());
    RefreshDiagram(m_id);
}

void CPropertyPane::ApplyElementRows(oid_t oid, ModelT& element)
{
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(element.Type, prototype))
        return;
    const int id = element.ID;
    const std::string kept = Text(element.Stereotype).substr(0, 64);
    if (prototype->ApplyElementProperties(oid, element, GetRootItem())) {
        const std::string chosen = Text(element.Stereotype);
        // A replaced stereotype takes its values along; the new one is linked.
        if (chosen != kept) {
            if (!kept.empty())
                DeleteStereotypeValues(id);
            if (!chosen.empty()) {
                StereotypeObj link{id, chosen.c_str()};
                MemDbInsert(&StereotypeObj::TableInfo, &link);
            }
        }
        ModelT stored;
        if (FetchElementById(id, stored))
            RefreshSymbolsOfElement(stored);
        RefreshModelTree();
        ModifiedUnits::Mark(id, 1);
    }
    ModelT stored;
    if (!FetchElementById(id, stored) || !stored.Stereotype || !*stored.Stereotype)
        return;
    COptionTreeItem* chooser = ChildLabelled(GetRootItem()->GetFirstChild(), kStereotypeLabel);
    if (chooser && ApplyStereotypeRows(id, chooser))
        ModifiedUnits::Mark(id, 1);
}

void CPropertyPane::OnItemExpanded(COptionTreeItem* otiItem, BOOL bExpanded)
{
    if (!otiItem)
        return;
    COptionTree::OnItemExpanded(otiItem, bExpanded);
    const struct {
        UINT label;
        int bit;
    } categories[] = { { kBaseLabel, PROPERTY_BASE },
                       { kExtendedLabel, PROPERTY_EXTENDED },
                       { kSymbolLabel, PROPERTY_SYMBOL },
                       { kStereotypeLabel, PROPERTY_STEREOTYPE } };
    for (const auto& category : categories) {
        if (!IsLabel(otiItem, category.label))
            continue;
        if (bExpanded)
            thePropertyExpandBits |= category.bit;
        else
            thePropertyExpandBits &= ~category.bit;
        return;
    }
}

// The focus moves to the list, as a click on the pane would move it: the
// open editor then ends by its row's own rule (a changed value commits once,
// an unchanged one commits nothing) and no hidden editor keeps the keys. A
// row still editing whose editor lost the focus to no window commits here;
// the pane writes only the values that changed.
void CPropertyPane::CommitOpenEdit()
{
    CWnd* focus = GetFocus();
    if (focus && focus != GetListWnd() && IsChild(focus))
        GetListWnd()->SetFocus();
    COptionTreeItem* item = GetFocusedItem();
    if (item && item->IsEditing())
        item->CommitChanges(TRUE);
}
