// Names an element by its path in the model tree: the Names of its owners
// from the topmost down and its own, joined with "/".
#pragma once

#include <string>

// Puts the element's path in front of path ("/" between when path is not
// empty). Nothing for an id below 1 or without a row; a chain of owners that
// comes back to an element already named ends there.
void GetElementPath(std::string& path, int elementId);
// The path of the page element the symbol lies on; nothing for an id below 1
// or a missing symbol.
void GetSymbolPagePath(std::string& path, int symbolId);
