// Rows of the property pane's grid. Each editable row carries the name of
// the column it edits as its key, and values go back to a record by key
// (ApplyPropertyRows). A builder inserts its row as the last child of the
// category and stops quietly when the row or its editor cannot be made.
//
// A combo row with nothing selected stands for "leave it": applying it
// changes nothing, so an unlisted value survives an edit of another row.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Types.h"

class COptionTree;
class COptionTreeItem;
class COptionTreeComboBoxItem;
class COptionTreeEditItem;
class dbTableInfo;

// The categories the user left expanded, kept by the property pane.
enum {
    PROPERTY_BASE = 1,
    PROPERTY_EXTENDED = 2,
    PROPERTY_SYMBOL = 4,
    PROPERTY_STEREOTYPE = 8
};
extern int thePropertyExpandBits;

// A category row at the end of the grid, expanded when its bit is set.
COptionTreeItem* AddCategoryRow(COptionTree* grid, const char* label, int expandBit);
COptionTreeEditItem* AddEditRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label,
                                const char* text, bool readOnly, bool multiLine);
void AddTextRow(COptionTreeItem* category, COptionTree* grid, const char* label, const char* text);
void AddNumberRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label, int number,
                  bool readOnly);
// Shows "Yes" and "No".
void AddCheckRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label, bool checked,
                 bool readOnly);
void AddColorRow(COptionTreeItem* category, COptionTree* grid, const char* label, COLORREF colour, bool readOnly);
// Combos of the coded columns, the entry index being the stored value.
void AddVisibilityRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly);
void AddVirtualityRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly);
void AddDirectionRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly);
void AddAggregationRow(COptionTreeItem* category, COptionTree* grid, const char* label, int value, bool readOnly);
// A combo of the classifiers seen from scope (GUIDs as item data), the
// current type selected; the current type is listed even when the look-up
// does not reach it. Read-only: the current type alone.
void AddTypeRow(COptionTreeItem* category, COptionTree* grid, const char* key, const char* label,
                const char* currentGuid, int scope, bool readOnly);
// A combo row of entries with text data, one selected (or none for -1).
COptionTreeComboBoxItem* AddComboRow(COptionTreeItem* category, COptionTree* grid, const char* key,
                                     const char* label, bool readOnly);

// Writes every direct child of category that is not read-only and whose key
// names a field of table (exact name): booleans as "not 0", integers as the
// row's number, texts as pointers into the grid (store the record before the
// grid changes). A combo without a selection is left out.
void ApplyPropertyRows(dbTableInfo* table, void* record, COptionTreeItem* category);
