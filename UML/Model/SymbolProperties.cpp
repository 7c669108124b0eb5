// The base property rows of an element ("Base properties") and of a symbol
// ("Symbol Property"), and how the edited rows go back into the rows.
#include "UML/Model/Symbol.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "MemDB/db.h"
#include "Platform/Resource.h"
#include "UML/Model/PropertyRows.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/StereotypeRows.h"
#include "UML/Model/StereotypeValues.h"

#include <cstring>

COptionTreeItem* CSymbol::AddElementProperties(const ModelT& element, bool readOnly, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61447), PROPERTY_BASE);
    if (!category)
        return nullptr;
    AddEditRow(category, grid, "Name", LoadResString(61470), element.Name, readOnly, false);
    AddEditRow(category, grid, "Type", LoadResString(61471), element.Type, true, false);
    AddStereotypeRow(category, grid, element.Type, element.ID, element.Stereotype, readOnly);
    AddVisibilityRow(category, grid, LoadResString(61476), element.Visibility, readOnly);
    if (fileUnit)
        AddEditRow(category, grid, "File", LoadResString(61515), element.File, true, false);
    return category;
}

int CSymbol::ApplyElementProperties(oid_t recordId, ModelT& element, COptionTreeItem* root)
{
    COptionTreeItem* category = root ? root->GetFirstChild() : nullptr;
    if (!category)
        return 0;
    ApplyPropertyRows(&ModelT::TableInfo, &element, category);
    return MemDbUpdate(&ModelT::TableInfo, &element, recordId);
}

COptionTreeItem* CSymbol::AddSymbolProperties(const SymbolT& row, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61466), PROPERTY_SYMBOL);
    if (!category)
        return nullptr;
    const bool readOnly = (row.ItemState & SYMBOL_READONLY) != 0;
    AddCheckRow(category, grid, "Autolayout", LoadResString(61519), (row.ItemState & SYMBOL_AUTOLAYOUT) != 0,
                readOnly);
    if (row.MSC != MSC_LINE)
        AddColorRow(category, grid, LoadResString(61520), static_cast<COLORREF>(row.Color), readOnly);
    if (!row.GUID || !*row.GUID)
        AddStereotypeRow(category, grid, row.Type, -row.ID, row.Stereotype, readOnly);
    if (row.MMC == MMC_NONE)
        AddEditRow(category, grid, "Type", LoadResString(61471), row.Type, true, false);
    return category;
}

bool CSymbol::ApplySymbolProperties(int symbolId, SymbolT& row, COptionTreeItem* category)
{
    COptionTreeItem* next = category ? category->GetFirstChild() : nullptr;
    if (!next)
        return false;
    bool changed = false;
    const int16_t autolayout = next->GetValueInt() ? SYMBOL_AUTOLAYOUT : 0;
    if ((row.ItemState & SYMBOL_AUTOLAYOUT) != autolayout) {
        row.ItemState = static_cast<int16_t>((row.ItemState & ~SYMBOL_AUTOLAYOUT) | autolayout);
        changed = true;
    }
    next = next->GetNextSibling();
    if (row.MSC != MSC_LINE && next) {
        if (auto* colour = dynamic_cast<COptionTreeColorItem*>(next)) {
            if (static_cast<int32_t>(colour->GetColor()) != row.Color) {
                row.Color = static_cast<int32_t>(colour->GetColor());
                changed = true;
            }
        }
        next = next->GetNextSibling();
    }
    // The chooser by its key: a class may put rows of its own before it.
    while (next && std::strcmp(next->GetKey() ? next->GetKey() : "", "Stereotype") != 0)
        next = next->GetNextSibling();
    auto* chooser = dynamic_cast<COptionTreeComboBoxItem*>(next);
    if (!chooser || chooser->IsReadOnly())
        return changed;
    // Nothing selected leaves the stereotype as it is.
    if (chooser->GetValueInt() >= 0) {
        const char* chosen = chooser->GetValueText();
        if (std::strcmp(chosen, row.Stereotype ? row.Stereotype : "") != 0) {
            DeleteStereotypeValues(-symbolId);
            if (*chosen) {
                StereotypeObj link{-symbolId, chosen};
                MemDbInsert(&StereotypeObj::TableInfo, &link);
            }
            row.Stereotype = chosen;
            changed = true;
        }
    }
    if (row.Stereotype && *row.Stereotype && ApplyStereotypeRows(-symbolId, chooser))
        theShellHooks.MarkModified(row.PID, 1);
    return changed;
}
