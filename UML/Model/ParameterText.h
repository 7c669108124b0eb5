// Parameter lists as typed into symbols: "in x : Integer, out y : Point[0..1]".
// A list is items separated by ","; ")" or ">" ends it. An item is an
// optional direction ("in", "out", "inout"), a name, and optionally ":" with
// a type name and "[" with a multiplicity "]". A name alone is an item too,
// wherever it stands. Positions count bytes.
#pragma once

class SyntaxRunCodec;

struct ParameterItem {
    char name[65];
    // The GUID of the resolved type, the word "type" (a template's type
    // parameter) or empty when the type is missing or resolves nowhere.
    char type[65];
    char multiplicity[65];
    int direction; // 0 none, 1 in, 2 out, 3 inout
};

// Reads the item at pos and leaves pos after it (at length once the list has
// ended). False when no item is left.
bool ParseParameterItem(int scope, const char* text, int& pos, int length, ParameterItem& item);

// Colour runs of a parameter list into writer: directions 0xC87689, names
// black, punctuation 0xFF0000, resolved types and "type" 0x008000, other
// types grey 0x969696, multiplicities 0x0000FF.
void ColorParameterList(int scope, const char* text, int length, SyntaxRunCodec& writer);
