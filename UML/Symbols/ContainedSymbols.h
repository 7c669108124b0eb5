// Symbols inside a container symbol: the rows whose FID is the container's
// ID. A container draws, hit-tests and lays them out through their own
// prototypes; a child whose Type has no prototype is counted but neither
// drawn nor laid out.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Geometry.h"

#include <vector>

class CDC;
class CSymbol;
struct HitSymbol;

// The engine ids of the contained rows, in ID order.
std::vector<oid_t> ContainedOids(int containerId);

// Ports and interface ends stand on their container's border: the
// container lays them out after whatever might still widen it.
bool IsBorderSymbol(const SymbolT& row);
// The contained ports, then the contained interface ends, each in ID order.
std::vector<oid_t> BorderOids(int containerId);

// Lays out the child row oid with its prototype inside container; a changed
// row is stored and its attached lines follow. False when the row or its
// prototype is missing or its layout did nothing; child then holds what was
// read.
bool LayoutContained(oid_t oid, const SymbolT& container, CDC* dc, SymbolT& child);

// Draws every contained row through its prototype.
void DrawContained(const SymbolT& container, CDC* dc);
// Offers the point to each contained row in turn; the first hit wins.
bool HitContained(POINT point, const SymbolT& container, HitSymbol& out);

// Widens bounds to take in the child's bounds with margin to spare.
void GrowAround(SymbolT& bounds, const SymbolT& child, int margin);

// The owner of elements made on the page without a container: the owner of
// the page's diagram; 0 when the page or diagram row is missing.
int PageDiagramOwner(int pageId);
