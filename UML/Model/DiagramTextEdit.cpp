// In-place editing of symbol texts: the view's text editor is opened over a
// symbol's text box and its text written back to the symbol and the element
// it shows.
#include "UML/Model/DiagramController.h"

#include "Controls/ColorEdit.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Platform/Dc.h"
#include "Pub/SYSConfig.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <string>

namespace {

// A page rectangle (y down) as device pixels of the view's window.
RECT ToWindow(CDC* dc, int x1, int y1, int x2, int y2)
{
    RECT r{x1, -y1, x2, -y2};
    dc->LPtoDP(&r);
    ZoomScaleRect(r);
    r.left += thePageState.OriginX;
    r.right += thePageState.OriginX;
    r.top += thePageState.OriginY;
    r.bottom += thePageState.OriginY;
    return r;
}

// Renames the element the row shows and marks its unit; true when it changed.
bool RenameShownElement(CSymbol* prototype, const SymbolT& row)
{
    if (prototype->mmc == MMC_NONE || !prototype->RenameElement(row))
        return false;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (row.GUID && c.SelectByKey("GUID", row.GUID) > 0) {
        const ModelT element = *c.GetRecord();
        RefreshSymbolsOfElement(element);
        theShellHooks.MarkModified(element.ID, 1);
    }
    return true;
}

} // namespace

void CDiagramController::BeginTextEdit(int ownerId, POINT point, const SymbolT& record, CDC* dc, CSymbol* prototype)
{
    if (!Editor)
        return;
    const RECT box = ToWindow(dc, record.tx1, record.ty1, record.tx2, record.ty2);
    const RECT page = ToWindow(dc, 0, 0, thePageState.UsableWidth, thePageState.UsableHeight);
    POINT click{point.x - record.tx1, point.y - record.ty1};
    ZoomScalePoint(click);
    Editor->SetBkColor(record.Color ? COLORREF(record.Color) : theSysConfig.m_clrSymbolBg);
    Editor->SetTextFont(theSysConfig.m_szFontName, ZoomScale(theSysConfig.m_nFontSize));
    Editor->GetBuffer().SetSyntaxContext(record);
    Editor->SetWantReturn(prototype->msc == MSC_TEXT);
    Editor->BeginEdit(record.Text ? record.Text : "", box, &page, click, ownerId);
    EditSymbolId = record.ID;
}

bool CDiagramController::CommitTextEdit(CDC* dc)
{
    if (EditSymbolId < 0)
        return false;
    const int editing = EditSymbolId;
    EditSymbolId = -1;
    if (!Editor)
        return false;
    if (!dc) {
        Editor->HideEdit();
        return false;
    }
    CString edited;
    if (!Editor->EndEdit(edited))
        return false;
    const std::string text = static_cast<const char*>(edited);
    const char* runs = Editor->GetBuffer().GetRunText();
    const std::string syntax = runs ? runs : "";
    if (editing > 0) {
        SymbolT row;
        oid_t oid = 0;
        CSymbol* prototype = nullptr;
        if (!FetchSymbolById(editing, row, &oid) || !FindMetaclass(row.Type, prototype))
            return false;
        row.Text = text.c_str();
        row.Syntax = syntax.c_str();
        MemDbUpdate(&SymbolT::TableInfo, &row, oid);
        RelayoutSymbol(editing, dc);
        if (FetchSymbolById(editing, row) && RenameShownElement(prototype, row)) {
            theShellHooks.RefreshModelTree();
            theShellHooks.PropertyPaneReload(editing, false);
        }
        theShellHooks.MarkModified(row.PID, 1);
        return true;
    }
    CSymbol* prototype = nullptr;
    if (text.empty() || !FindMetaclass(Current.rec.Type, prototype))
        return false;
    SymbolT enclosing;
    const bool nested = Current.rec.FID > 0 && FetchSymbolById(Current.rec.FID, enclosing);
    const int id = prototype->CreateSymbol(CurrentPoint, CurrentPoint, thePageState.PageId, text.c_str(), dc, nullptr,
                                           nested ? &enclosing : nullptr);
    SymbolT row;
    oid_t oid = 0;
    if (id <= 0 || !FetchSymbolById(id, row, &oid))
        return false;
    row.Syntax = syntax.c_str();
    MemDbUpdate(&SymbolT::TableInfo, &row, oid);
    if (FetchSymbolById(id, row))
        RenameShownElement(prototype, row);
    RelayoutSymbol(id, dc);
    theShellHooks.MarkModified(thePageState.PageId, 1);
    return true;
}
