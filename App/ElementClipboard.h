// The element clipboard of the model browser, format "VexalUMLClipboardMdl".
//
// A block is this run's 23-byte theDbName followed by one entry per copied
// element, back to back: the element's flat image (MemDB/FlatImage.h) and,
// for kinds with extension tables, the images of their rows, as the
// element's prototype flattens it. Stereotype values, symbols and children
// are not copied. Only the run that wrote a block pastes it.
#pragma once

#include <cstddef>
#include <vector>

// The block of the elements in the order given; elements that are missing,
// fixed or of no registered metaclass are left out.
std::vector<char> MakeElementBlock(const std::vector<int>& elementIds);

// Pastes the entries of a block as direct children of the target, last
// among its siblings, in a new undo group, marking the target's unit after
// each. Each pasted element gets a new ID, SN and GUID and is neither a unit
// root nor checked nor fixed. An entry that is not whole, whose Type names
// no metaclass, or that the metamodel does not let the target own ends the
// paste; those before it stay. Nothing happens for a block of 63 bytes or
// less, one of another run, or a target that is missing or fixed (the
// "Model" root excepted). Returns the number of elements pasted.
int PasteElementBlock(const void* block, size_t size, int targetId);
