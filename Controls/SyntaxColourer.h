// The colouring that a metaclass gives the texts of its symbols, as the colour
// editor asks for it. Controls sit below the metamodel, so the editor reaches
// the metaclass prototypes through one finder that the metamodel registry
// installs; until one is installed no text is coloured.
#pragma once

#include "MemDB/ModelSchema.h"

class CSyntaxColourer {
public:
    virtual ~CSyntaxColourer() = default;
    // The colour runs of row.Text for the given key, in a writer shared by
    // every producer: valid only until the next colouring of any text.
    virtual const char* MakeSyntax(const SymbolT& row, int scopeId) = 0;
};

// The colourer of the metaclass named type, or null when none has that name.
using SyntaxFinder = CSyntaxColourer* (*)(const char* type);

// Installs the finder (null removes it); returns the one it replaces.
SyntaxFinder SetSyntaxFinder(SyntaxFinder finder);
// Null for a null or unknown type, or when no finder is installed.
CSyntaxColourer* FindSyntaxColourer(const char* type);
