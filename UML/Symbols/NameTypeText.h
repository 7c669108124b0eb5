// The text of a part or port: a name, directly followed by ":" and a type
// name, then a multiplicity in brackets; no visibility mark or keyword. A
// blank before the ":" ends the text at the name.
#pragma once

#include "MemDB/ModelSchema.h"

#include <string>

struct NameTypeText {
    bool hasName = false;
    std::string name;           // at most 64 characters
    bool hasType = false;       // a non-empty type followed the ":"
    std::string type;           // trimmed
    bool hasMultiplicity = false;
    std::string multiplicity;   // up to "]", blanks kept, at most 64 characters
};

NameTypeText ParseNameTypeText(const char* text);

// The element the symbol shows and its parsed Text, with the element's Name
// set from it (pointing into text); false for an empty Text, a missing
// element or a Text without a name.
bool ReadNamedElement(const SymbolT& row, ModelT& element, oid_t& oid, NameTypeText& text);
