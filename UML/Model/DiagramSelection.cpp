// Selection on a diagram page: the selected bit of each row, select-all, the
// rubber band, and deleting what is selected.
#include "UML/Model/DiagramController.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "UML/Model/PageState.h"
#include "UML/Model/SymbolRows.h"

#include <algorithm>
#include <vector>

namespace {

// The rows of the page, optionally only those with (or without) the selected
// bit and only top-level ones.
enum SelectedFilter { AnyState, OnlySelected, OnlyUnselected };

std::vector<oid_t> PageRows(int pageId, SelectedFilter filter, bool topLevelOnly, int id = -1)
{
    std::vector<oid_t> rows;
    int checked = SYMBOL_CHECKED;
    dbQueryText q;
    q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId);
    if (id >= 0)
        q.Append(dbFragText, " and ID=").Append(dbFragInt4, &id);
    if (topLevelOnly)
        q.Append(dbFragText, " and FID=0");
    if (filter == OnlySelected)
        q.Append(dbFragText, " and ItemState>=").Append(dbFragInt4, &checked);
    else if (filter == OnlyUnselected)
        q.Append(dbFragText, " and ItemState<").Append(dbFragInt4, &checked);
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

// Sets or clears the selected bit with the engine's plain update.
bool MarkSelected(oid_t oid, bool select)
{
    SymbolT row;
    if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
        return false;
    const int16_t state = static_cast<int16_t>(select ? row.ItemState | SYMBOL_CHECKED : row.ItemState & ~SYMBOL_CHECKED);
    if (state == row.ItemState)
        return false;
    row.ItemState = state;
    return theModelDb.UpdateRecord(oid, &SymbolT::TableInfo, &row);
}

} // namespace

int CDiagramController::SetSelection(int pageId, bool select, int id)
{
    for (oid_t oid : PageRows(pageId, select ? OnlyUnselected : OnlySelected, false, id))
        if (MarkSelected(oid, select))
            SelectionCount += select ? 1 : -1;
    SelectionCount = std::max(SelectionCount, 0);
    return SelectionCount;
}

bool CDiagramController::SelectAll()
{
    bool changed = false;
    for (oid_t oid : PageRows(thePageState.PageId, OnlyUnselected, true))
        if (MarkSelected(oid, true)) {
            ++SelectionCount;
            changed = true;
        }
    return changed;
}

bool CDiagramController::RubberBandSelect(int pageId)
{
    if (Tracking.left == Tracking.right || Tracking.top == Tracking.bottom)
        return false;
    const RECT band{std::min(Tracking.left, Tracking.right), std::min(Tracking.top, Tracking.bottom),
                    std::max(Tracking.left, Tracking.right), std::max(Tracking.top, Tracking.bottom)};
    bool changed = false;
    for (oid_t oid : PageRows(pageId, AnyState, true)) {
        SymbolT row;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
            continue;
        const bool inside = row.x1 >= band.left && row.x2 <= band.right && row.y1 >= band.top && row.y2 <= band.bottom;
        if (MarkSelected(oid, inside)) {
            SelectionCount = std::max(SelectionCount + (inside ? 1 : -1), 0);
            changed = true;
        }
    }
    return changed;
}

bool CDiagramController::DeleteSelection(bool withElements, CDC* dc)
{
    std::vector<int> selected;
    for (oid_t oid : PageRows(thePageState.PageId, OnlySelected, false)) {
        SymbolT row;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
            selected.push_back(row.ID);
    }
    for (int id : selected) {
        // An earlier deletion may have taken this row with its container,
        // its line end or its element.
        SymbolT row;
        {
            dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
            if (c.SelectByKey("ID", id) <= 0)
                continue;
            row = *c.GetRecord();
        }
        const int container = row.FID;
        // A symbol whose element cannot go (none, or fixed) goes alone.
        if (!withElements || DeleteElementTree(ElementIdOfSymbol(&row), false) == 0)
            DeleteSymbol(id, false);
        if (container > 0)
            RelayoutSymbol(container, dc);
    }
    SelectionCount = 0;
    Current.Clear();
    return !selected.empty();
}
