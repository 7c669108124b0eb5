// Building a symbol's text from its element: pieces appended to the text pool,
// each opening a colour run, then the whole stored only when it changed; and
// the word reader the text parsers share.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Types.h"

#include <string>

// Appends text to the text pool with a run of colour at its start.
void Piece(const char* text, COLORREF colour);
// Stores the built text, its runs and stereotype in the symbol row oid when
// any differs; the text pool is reset. The result of the update, 0 when
// nothing changed.
int StoreBuiltText(const SymbolT& row, oid_t oid, const std::string& stereotype);
// The next word of text from pos: delimiters skipped, the word's start in
// start, pos after it. False at the end of the text.
bool NextWord(const std::string& text, size_t& pos, const char* delimiters, std::string& word, size_t& start);
// The GUID of the first classifier named name (of metaclass, any for an
// empty one) as seen from scope; empty when none.
std::string ResolveType(int scope, const std::string& name, const char* metaclass = "");
