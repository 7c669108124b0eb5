#include "App/UndoReplay.h"

#include "App/PropertyPane.h"
#include "App/ShellServices.h"
#include "App/VexalView.h"
#include "File/ModifiedUnits.h"
#include "MemDB/FlatImage.h"
#include "MemDB/ModelSchema.h"
#include "MemDB/UndoLog.h"
#include "MemDB/dbCursor.h"
#include "UML/Model/PageState.h"

#include <cstdint>
#include <set>
#include <vector>

namespace {

bool ElementExists(int id)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return id > 0 && c.SelectByKey("ID", id) > 0;
}

int PageOfSymbol(int symbolId)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.SelectByKey("ID", symbolId) > 0 ? c->PID : 0;
}

// The elements whose units the row's image touches. Every table other than
// the element and symbol tables starts with its owner's key: an element ID,
// or for stereotype rows of a symbol without element the negated symbol ID.
void Touched(dbTableInfo* table, const std::vector<char>& image, std::set<int>& elements, std::vector<char>& record)
{
    if (image.empty())
        return;
    record.assign(table->appSize, 0);
    if (MemDbReadImage(table, image.data(), image.size(), record.data()) != image.size())
        return;
    if (table == &ModelT::TableInfo) {
        const auto* row = reinterpret_cast<const ModelT*>(record.data());
        elements.insert(row->ID);
        elements.insert(row->FID);
    } else if (table == &SymbolT::TableInfo) {
        elements.insert(reinterpret_cast<const SymbolT*>(record.data())->PID);
    } else {
        const int32_t key = *reinterpret_cast<const int32_t*>(record.data());
        elements.insert(key < 0 ? PageOfSymbol(-key) : key);
    }
}

} // namespace

int ReplayUndoLog(bool redo)
{
    if (thePropertyPane)
        thePropertyPane->CommitOpenEdit();
    if (!(redo ? UndoLog::Redo() : UndoLog::Undo()))
        return 0;
    std::set<int> elements;
    std::vector<int> removed;
    std::vector<char> record;
    for (const UndoLog::ReplayedRow& row : UndoLog::LastReplayed()) {
        Touched(row.table, row.before, elements, record);
        Touched(row.table, row.after, elements, record);
        ModelT gone;
        if (row.table == &ModelT::TableInfo && row.after.empty()
            && MemDbReadImage(row.table, row.before.data(), row.before.size(), &gone))
            removed.push_back(gone.ID);
    }
    for (int id : elements) {
        if (id > 0)
            ModifiedUnits::Mark(id, 1);
    }
    for (int id : removed) {
        if (!ElementExists(id))
            CloseDiagram(id);
    }
    CVexalView* view = GetMainView();
    if (view && view->GetDiagramId() > 0 && !ElementExists(thePageState.PageId))
        view->OpenDiagram(view->GetDiagramId(), 0);
    RefreshModelTree();
    RefreshDiagram(0);
    return 1;
}
