#include "App/PropertyPane.h"

#include "Controls/OptionTreeItem.h"

IMPLEMENT_DYNAMIC(CPropertyPane, COptionTree)

CPropertyPane* thePropertyPane = nullptr;

CPropertyPane::CPropertyPane() { thePropertyPane = this; }

CPropertyPane::~CPropertyPane()
{
    if (thePropertyPane == this)
        thePropertyPane = nullptr;
}

void CPropertyPane::ShowItem(int id, bool isElement)
{
    m_id = id;
    m_isElement = isElement;
}

void CPropertyPane::Clear()
{
    DeleteAllItems();
    m_id = 0;
    m_isElement = false;
}

void CPropertyPane::CommitEdit() {}

void CPropertyPane::CommitOpenEdit()
{
    COptionTreeItem* item = GetFocusedItem();
    if (item && item->IsEditing())
        item->CommitChanges(TRUE);
}
