// The "Base properties" category of the elements that show only their Name
// and Type there (diagrams, pages, notes, stereotype definitions); a class
// adds its own rows to the category it returns.
#pragma once

#include "MemDB/ModelSchema.h"

class COptionTree;
class COptionTreeItem;

// The category at the end of the grid with the Name row (multi-line for
// notes) and the read-only Type row; null when the grid takes no row.
COptionTreeItem* AddNameTypeCategory(const ModelT& element, bool readOnly, bool multiLineName, COptionTree* grid);
