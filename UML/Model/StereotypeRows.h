// The stereotype chooser of the property grid and the value rows of its
// tags below it. A value row's key is the tag's GUID.
#pragma once

class COptionTree;
class COptionTreeComboBoxItem;
class COptionTreeItem;

// A combo keyed "Stereotype": the empty entry, then the Stereotype elements
// extending the metaclass by Name, the current one selected, its value rows
// below it.
COptionTreeComboBoxItem* AddStereotypeRow(COptionTreeItem* category, COptionTree* grid, const char* metaclass,
                                          int owner, const char* currentGuid, bool readOnly);
// One edit row per tag of the stereotype, in SN order, with the owner's value.
void AddStereotypeValueRows(COptionTree* grid, COptionTreeItem* chooser, const char* stereotypeGuid, int owner,
                            bool readOnly);
// Writes back the value rows of the tags of the stereotype the chooser has
// selected, undoably; rows of another stereotype's tags are left out, so a
// changed stereotype takes none of the old one's values. An emptied value
// keeps its row. True when something changed.
bool ApplyStereotypeRows(int owner, COptionTreeItem* chooser);
