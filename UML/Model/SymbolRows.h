// Operations over symbol rows: deleting with attached lines and children,
// moving and resizing with what follows, re-layout, page completion and small
// lookups. Changes go through the undoable wrapper unless said otherwise; a
// missing row, prototype or element makes an operation do nothing for it.
// Walks that remove or change rows collect the row identifiers first and
// fetch each again before acting on it.
#pragma once

#include "MemDB/ModelSchema.h"
#include "Platform/Geometry.h"

#include <vector>

class CDC;

// The symbol or element row numbered id, and its engine id when asked;
// false when there is none.
bool FetchSymbolById(int id, SymbolT& row, oid_t* oid = nullptr);
bool FetchElementById(int id, ModelT& row, oid_t* oid = nullptr);
// The IDs of the elements owned by ownerId, in SN order.
std::vector<int> ChildElementIds(int ownerId);
// The element with that GUID; false for none or an empty GUID.
bool FetchElementByGuid(const char* guid, ModelT& row);

// Removes the symbol, then the lines ending and starting at it (selected lines
// excepted: the selection deletes those itself) with, when asked, the
// elements they show, then its children at every depth.
void DeleteSymbol(int symbolId, bool withElements);

// Deletes the element with its symbols (lines and nested symbols with them),
// its children at every depth and its stereotype values; classifiers leave the
// elements that used them without the reference. Refused (0) for an unknown
// element, one without a category or prototype, and a fixed one unless force
// is set. Without force the element's unit is marked modified. Returns the
// number of symbols and elements removed.
int DeleteElementTree(int elementId, bool force);

// Moves the symbol's box, text box and stereotype line; when that changed the
// row, its attached line ends and children follow and it is laid out again.
void MoveSymbol(int symbolId, CDC* dc, SIZE delta);
void MoveChildSymbols(const SymbolT& row, CDC* dc, SIZE delta);
// Moves the ends of the lines starting or ending at the row; bend points stay.
void MoveAttachedLines(const SymbolT& row, CDC* dc, SIZE delta);
// The box a move of the row carries along: its own, its nested symbols' at
// every depth, and the ends of the lines attached to any of them.
RECT MovedExtent(const SymbolT& row);
// Handle 0 moves the top-left corner, any other the bottom-right one; the
// automatic layout is switched off.
void ResizeSymbol(int symbolId, SIZE delta, int handle, CDC* dc);
// Whether ResizeSymbol moves the row rather than resizing it: a lifeline's
// head always fits its text, so its top handle can only move it.
bool ResizeMoves(const SymbolT& row, int handle);
// Lays out the top-level symbol that holds the symbol (the line itself for a
// line) and re-attaches its lines when that changed it. Nothing happens when an
// enclosing symbol is missing or the enclosing chain loops.
void RelayoutSymbol(int symbolId, CDC* dc);

// Brings every symbol of the element (and, for a classifier, of the elements
// typed by it) up to the element's name and stereotype, and has the shell
// lay them out again. False when the element has no prototype or no symbol.
bool RefreshSymbolsOfElement(const ModelT& element);

// Rebuilds the colour runs of every symbol of the page, nested ones included,
// without undo records: a symbol showing an element is coloured in that
// element's owner, one without an element in its owner element or else the
// diagram's owner; a symbol naming a missing element is left alone.
void CompletePageSymbols(int pageId);

// Lays out, without undo records, each symbol of the page whose text box was
// never set (all four values 0: a page file without one, or a row inserted
// from columns), through its top-level symbol as a re-layout does. A symbol
// whose layout sets no text box either shows no text and is left as stored;
// lines are re-attached only to a box that changed.
void LayoutUnplacedSymbols(int pageId, CDC* dc);

// ID of the element the row shows, 0 for none.
int ElementIdOfSymbol(const SymbolT* row);
int ElementIdOfSguid(const char* sguid);
// ID of the first symbol showing the element, 0 for none.
int SymbolIdOfGuid(const char* guid);
bool ElementHasSymbols(const char* guid);
bool ElementHasSymbolOnPage(const char* guid, int pageId);
// Whether a rule under parent named name places a symbol; its symbol name
// (at most 64 characters) goes to symbolOut when given.
bool FindMetaRuleSymbol(const char* parent, const char* name, char* symbolOut);
