// Copy and paste of diagram symbols, called by the view's Edit commands.
//
// The block, under the format "VexalUMLClipboardSym", is this run's 23-byte
// theDbName followed by the flat images (MemDB/FlatImage.h) of the copied
// symbols back to back: each selected top-level symbol of the page, then,
// for a box, the symbols nested in it, depth-first. Only the run that wrote a
// block pastes it. Beside the block go a bitmap (filled with the page
// background first) and a picture of the copied symbols.
#pragma once

#include "Platform/Types.h"

class CDC;
class CWnd;
class CDiagramController;

UINT SymbolClipboardFormat();

// Copies the selected top-level symbols of the current page; viewDc measures
// and is the pattern of the bitmap. False when nothing is selected or the
// clipboard cannot be had (it is then left as it was).
bool CopySymbols(CWnd* view, CDC* viewDc, CDiagramController* controller);

// Pastes a block of this run onto the current page in a new undo group and
// marks the page's unit modified: every copy lies at the top level, moved by
// 100 units when pasted onto the page it came from. Images of unknown kinds
// and images whose element is gone are skipped; a damaged or cut block stops
// at its last whole image. Returns the number of symbols pasted.
int PasteSymbols(CWnd* view);

// The paste of a block already read: the same, without the clipboard.
int PasteSymbolBlock(const void* block, size_t size, int pageId);
