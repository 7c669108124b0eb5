// The metamodel: the registry that binds each metaclass name to its handler
// prototype and each diagram kind to its page controller, and the reader of
// cfg/meta.xml that numbers the metaclasses (palette index = file order) and
// fills the MetaEle rules.
#pragma once

#include <string>
#include <vector>

class CSymbol;
class CDiagramController;
class CCommandImageList;

// The icon list the next load adds metaclass icons to, each under its palette
// command (2024 + metaIndex); without one the icons are not loaded.
void SetMetaIconList(CCommandImageList* icons);

// Registers prototype under key in place of the base handler: the symbol
// classes register theirs before the metamodel is loaded. The prototype lives
// to the end of the process; nothing is copied from the one it replaces.
// Once the registry is built a key of its own is refused (false): the
// controllers have taken their kind prototypes by then. A key the registry
// does not build is never in the metamodel's palette and may come later.
bool RegisterMetaclass(const char* key, CSymbol* prototype);

// Builds the prototypes and controllers on the first call and enters them in
// the maps on every call; installs the finder through which the colour editor
// reaches the prototypes' MakeSyntax.
void BuildSymbolRegistry();
// Builds the registry and reads theModuleDir + "cfg/meta.xml"; false, with a
// log entry, when the file cannot be opened, its header is rejected, or it
// ends before its root and every element in it are closed.
bool LoadMetaModel();
void SortMetaclasses();

// A null or empty name gives false with a null prototype.
bool FindMetaclass(const char* name, CSymbol*& prototype);
bool FindDiagramController(const char* kind, CDiagramController*& controller);
// Palette index i (1-based) names the metaclass at position i - 1 in file order.
bool FindMetaclassByIndex(int index, CSymbol*& prototype);
// The registered metaclasses in ascending byte order of their keys.
const std::vector<CSymbol*>& GetSortedMetaclasses();
// The metaclass keys of the metamodel, in file order.
const std::vector<std::string>& GetMetaclassNames();
