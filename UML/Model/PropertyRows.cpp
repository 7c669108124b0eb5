#include "UML/Model/PropertyRows.h"

#include "Controls/OptionTree.h"
#include "Controls/OptionTreeCheckBoxItem.h"
#include "Controls/OptionTreeColorItem.h"
#include "Controls/OptionTreeComboBoxItem.h"
#include "Controls/OptionTreeEditItem.h"
#include "Controls/OptionTreeTextItem.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbTableInfo.h"
#include "Platform/Resource.h"
#include "UML/Model/FieldText.h"
#include "UML/Model/TypeResolution.h"

#include <cstring>

int thePropertyExpandBits = 0;

namespace {

const COLORREF kAutomaticColour = 0xFFF2F3;

// Inserts row into the category; the grid owns it from then on.
template <class Row>
Row* Insert(COptionTree* grid, COptionTreeItem* category, const char* label, Row* row)
{
    if (!grid || !grid->InsertItem(row, category)) {
        delete row;
        return nullptr;
    }
    row->SetLabelText(label);
    return row;
}

void AddEntry(COptionTreeComboBoxItem* combo, const char* text, const char* datum, bool selected)
{
    const int at = combo->AddString(text ? text : "");
    combo->SetItemData(at, reinterpret_cast<DWORD_PTR>(datum ? datum : ""));
    if (selected)
        combo->SetCurSel(at);
}

void AddCodeRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label,
                const char* const* words, int count, int value, bool readOnly)
{
    COptionTreeComboBoxItem* combo = AddComboRow(category, grid, key, label, readOnly);
    if (!combo)
        return;
    for (int i = 0; i < count; ++i)
        AddEntry(combo, words[i], nullptr, i == value);
}

} // namespace

COptionTreeItem* AddCategoryRow(COptionTree* grid, const char* label, int expandBit)
{
    COptionTreeItem* category = Insert(grid, nullptr, label, new COptionTreeItem);
    if (category && (thePropertyExpandBits & expandBit))
        category->Expand(TRUE);
    return category;
}

COptionTreeEditItem* AddEditRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label,
                                const char* text, bool readOnly, bool multiLine)
{
    COptionTreeEditItem* row = Insert(grid, category, label, new COptionTreeEditItem);
    if (!row)
        return nullptr;
    const BOOL created = multiLine ? row->CreateEditor(OT_EDIT_MULTILINE, ES_WANTRETURN | ES_AUTOVSCROLL)
                                   : row->CreateEditor(0);
    if (!created)
        return nullptr;
    row->SetKey(key);
    row->SetWindowText(text ? text : "");
    row->SetReadOnly(readOnly);
    return row;
}

void AddTextRow(COptionTreeItem* category, COptionTree* grid, const char* label, const char* text)
{
    if (COptionTreeTextItem* row = Insert(grid, category, label, new COptionTreeTextItem)) {
        row->SetText(text);
        row->Init(0);
    }
}

void AddNumberRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label, int number,
                  bool readOnly)
{
    COptionTreeEditItem* row = Insert(grid, category, label, new COptionTreeEditItem);
    if (!row || !row->CreateEditor(OT_EDIT_NUMERIC))
        return;
    row->SetKey(key);
    row->SetValue(number);
    row->SetReadOnly(readOnly);
}

void AddCheckRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label, bool checked,
                 bool readOnly)
{
    COptionTreeCheckBoxItem* row = Insert(grid, category, label, new COptionTreeCheckBoxItem);
    if (!row || !row->CreateEditor(checked, OT_CHECK_SHOWBOX | OT_CHECK_SHOWTEXT))
        return;
    row->SetCheckText(LoadResString(61449), LoadResString(61450));
    row->SetKey(key);
    row->SetReadOnly(readOnly);
}

void AddColorRow(COptionTreeItem* category, COptionTree* grid, const char* label, COLORREF colour, bool readOnly)
{
    COptionTreeColorItem* row = Insert(grid, category, label, new COptionTreeColorItem);
    if (!row || !row->CreateEditor(0, colour, kAutomaticColour))
        return;
    row->SetReadOnly(readOnly);
}

COptionTreeComboBoxItem* AddComboRow(COptionTreeItem* category, COptionTree* grid, const char* key,
                                     const char* label, bool readOnly)
{
    COptionTreeComboBoxItem* row = Insert(grid, category, label, new COptionTreeComboBoxItem);
    if (!row || !row->CreateEditor())
        return nullptr;
    row->SetKey(key);
    row->SetReadOnly(readOnly);
    return row;
}

void AddVisibilityRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly)
{
    static const char* const words[] = {"private", "protected", "package", "public"};
    AddCodeRow(category, grid, "Visibility", label, words, 4, value, readOnly);
}

void AddVirtualityRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly)
{
    static const char* const words[] = {"", "virtual", "finalized", "redefined"};
    AddCodeRow(category, grid, "Virtuality", label, words, 4, value, readOnly);
}

void AddDirectionRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly)
{
    static const char* const words[] = {"", "in", "out", "inout"};
    AddCodeRow(category, grid, "Direction", label, words, 4, value, readOnly);
}

void AddAggregationRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly)
{
    static const char* const words[] = {"", "reference", "shared", "composite"};
    AddCodeRow(category, grid, "Associationkind", label, words, 4, value, readOnly);
}

void AddTypeRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label,
                const char* currentGuid, int scope, bool readOnly)
{
    COptionTreeComboBoxItem* combo = AddComboRow(category, grid, key, label, readOnly);
    if (!combo)
        return;
    const char* current = currentGuid ? currentGuid : "";
    dbTypedCursor<ModelT> type(&ModelT::TableInfo);
    const bool typed = *current && type.SelectByKey("GUID", current) > 0;
    if (readOnly) {
        if (typed)
            AddEntry(combo, type->Name, type->GUID, true);
        return;
    }
    AddEntry(combo, "", "", false);
    TypeMatchList found;
    found.reserve(100);
    ResolveTypeName(scope, MMC_CLASS, nullptr, nullptr, &found);
    bool listed = false;
    for (const TypeMatch& m : found) {
        const bool isCurrent = typed && std::strcmp(m.guid ? m.guid : "", current) == 0;
        AddEntry(combo, m.name, m.guid, isCurrent && !listed);
        listed = listed || isCurrent;
    }
    if (typed && !listed)
        AddEntry(combo, type->Name, type->GUID, true);
}

void ApplyPropertyRows(dbTableInfo* table, void* record, COptionTreeItem* category)
{
    if (!table || !table->columns || !category)
        return;
    for (COptionTreeItem* row = category->GetFirstChild(); row; row = row->GetNextSibling()) {
        const char* key = row->GetKey();
        if (row->IsReadOnly() || !key || !*key)
            continue;
        if (auto* combo = dynamic_cast<COptionTreeComboBoxItem*>(row))
            if (combo->GetValueInt() < 0)
                continue;
        dbFieldInfo* fd = table->columns;
        do {
            if (std::strcmp(fd->name, key) != 0)
                continue;
            if (fd->appType == dbFieldInfo::tpBool)
                *reinterpret_cast<bool*>(static_cast<char*>(record) + fd->appOffs) = row->GetValueInt() != 0;
            else if (fd->appType == dbFieldInfo::tpString)
                SetTextField(fd, record, row->GetValueText());
            else
                SetIntField(fd, record, row->GetValueInt());
            break;
        } while ((fd = fd->next) != table->columns);
    }
}
