// The registry of model units. A unit is an element whose File is not empty;
// it owns its descendants down to, not including, the next element with a
// File of its own. Membership is computed from the element table on every
// call; the registry keeps per unit root only its modified flag (0 clean, 1
// modified; a root without a flag counts as clean) and two marks that are
// never counted as modifications: read-only (loaded from a library or the
// predefined model, never written) and incomplete (its file did not load
// whole, so writing it would destroy what could not be read). Everything is
// forgotten by Clear when a project closes.
#pragma once

#include "Platform/Types.h"

#include <vector>

namespace ModifiedUnits {

// The unit root of the element; -1 when the element or an owner is missing,
// when the owner chain reaches the top without a File, or when it loops.
int FindUnitRoot(int elementId);
// Stores the flag for the element's unit root and returns the root; -1, with
// nothing recorded, when the element belongs to no unit.
int Mark(int elementId, int flag);
// The root's flag (0 without one); for a negative argument 1 when any unit is
// flagged, else 0.
int IsModified(int rootId);
// Makes the element the root of a unit stored at path (flagged 1), or stops it
// being one (empty path); a path equal to the current File changes nothing.
// The owner's unit is flagged 1, since its file now stores the element
// differently. The row is written without an undo record.
void SetUnitFile(int elementId, const char* path);
void Clear();
// TRUE and the element's File (cut to 259 characters) when it has one; else
// FALSE and an empty buffer of 260 bytes.
BOOL GetUnitFile(int elementId, char* buffer);

// The roots that hold a flag, clean or not, in no particular order.
std::vector<int> FlaggedRoots();

void SetReadOnly(int rootId);
BOOL IsReadOnly(int rootId);
void SetIncomplete(int rootId);
BOOL IsIncomplete(int rootId);

} // namespace ModifiedUnits
