// Operations over the symbol rows of a page.
#pragma once

#include "MemDB/ModelSchema.h"

// ID of the element the row shows, 0 for none.
int ElementIdOfSymbol(const SymbolT* row);

// Rebuilds the colour runs of every symbol of the page, nested ones included,
// without undo records: a symbol showing an element is coloured in that
// element's owner, one without an element in its owner element or else the
// diagram's owner; a symbol naming a missing element is left alone.
void CompletePageSymbols(int pageId);
