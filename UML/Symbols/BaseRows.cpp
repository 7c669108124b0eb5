#include "UML/Symbols/BaseRows.h"

#include "Platform/CString.h"
#include "Platform/Resource.h"
#include "UML/Model/PropertyRows.h"

COptionTreeItem* AddNameTypeCategory(const ModelT& element, bool readOnly, bool multiLineName, COptionTree* grid)
{
    COptionTreeItem* category = AddCategoryRow(grid, LoadResString(61447), PROPERTY_BASE);
    if (!category)
        return nullptr;
    AddEditRow(category, grid, "Name", LoadResString(61470), element.Name, readOnly, multiLineName);
    AddEditRow(category, grid, "Type", LoadResString(61471), element.Type, true, false);
    return category;
}
