// The symbols nested in a symbol: the SymbolT rows whose FID is its ID, each
// handled by the prototype of its own Type. A child without a prototype is
// skipped by every walk here. Walks collect the rows first, since a written
// row may move.
#pragma once

#include "MemDB/ModelSchema.h"
#include "MemDB/dbImage.h"
#include "Platform/Geometry.h"

#include <vector>

class CDC;
class CSymbol;
struct HitSymbol;

// The children of the symbol, of one Type when type is given, in ID order or,
// with byTop, from the top down (y1).
std::vector<oid_t> ChildRows(int symbolId, const char* type = nullptr, bool byTop = false);

// Each child row drawn by its prototype (by the prototype of type when given).
void DrawChildSymbols(int symbolId, CDC* dc, const char* type = nullptr);

// The first child whose prototype hits the point; false when none does.
bool HitChildSymbols(POINT point, int symbolId, HitSymbol& out);
// A point inside the bounds (edges included) hits a child there, else the
// symbol itself; children are tried only when the row has any.
bool HitBoundsThenChildren(POINT point, const SymbolT& row, HitSymbol& out);

// Stores a child row its prototype laid out; when that changed it, the lines
// attached to the child follow.
void StoreLaidOutChild(CSymbol* prototype, SymbolT& child, oid_t oid, CDC* dc);
