#include "UML/Model/DiagramController.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/HotSpotList.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/PageState.h"
#include "UML/Model/PageZoom.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

const COLORREF kTitleColour = 0xC02040;
const COLORREF kPageNumberColour = 0xC02000;

// Top-level symbols of the page in ID order, ascending or descending, with
// Type equal to (or, when exclude is set, different from) kind when given.
std::vector<oid_t> TopLevelRows(int pageId, bool descending, const char* kind = nullptr, bool exclude = false,
                                bool nestedToo = false)
{
    std::vector<oid_t> rows;
    dbQueryText q;
    q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId);
    if (!nestedToo)
        q.Append(dbFragText, " and FID=0");
    if (kind)
        q.Append(dbFragText, exclude ? " and Type!=" : " and Type=").AppendString(kind);
    q.Append(dbFragText, descending ? " order by ID desc" : " order by ID");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

} // namespace

std::vector<int> PagesOf(int diagramId)
{
    return ChildElementIds(diagramId);
}

CDiagramController::CDiagramController(const char* kindKey, Order order) : order_(order)
{
    FindMetaclass(kindKey, KindPrototype);
    ResetPageState();
}

void CDiagramController::Attach(int ownerId, int diagramId, CColorEdit* editor)
{
    Mode = 12;
    Dragged = 0;
    HotHandle = -1;
    Current.Clear();
    OwnerId = ownerId;
    Editor = editor;
    SelectionCount = 0;
    ResetPageState();
    thePageState.DiagramId = diagramId;
    HotSpotList::Clear();
}

bool CDiagramController::SetPage(int pageId, int index)
{
    dbTypedCursor<ModelPage> page(&ModelPage::TableInfo, dbCursorForUpdate);
    if (page.SelectByKey("ID", pageId) <= 0)
        return false;
    ModelPage row = *page.GetRecord();
    thePageState.EdgeX = row.EdgeX;
    thePageState.EdgeY = row.EdgeY;
    thePageState.PageWidth = row.PageWidth;
    thePageState.PageHeight = row.PageHeight;
    thePageState.UsableWidth = row.PageWidth - 2 * row.EdgeX;
    thePageState.UsableHeight = row.PageHeight - 2 * row.EdgeY;
    thePageState.PageId = pageId;
    thePageState.PageIndex = index;
    layoutPending_ = true;
    if (row.Parsed == 0) {
        row.Parsed = 1;
        theModelDb.UpdateRecord(page.GetCurrentOid(), &ModelPage::TableInfo, &row);
        CompletePageSymbols(pageId);
    }
    return true;
}

int CDiagramController::OpenPage(int diagramId, int pageId)
{
    const std::vector<int> pages = PagesOf(diagramId);
    thePageState.PageCount = static_cast<int>(pages.size());
    if (pages.empty())
        return -1;
    int index = 0;
    if (pageId > 0) {
        while (index < static_cast<int>(pages.size()) && pages[size_t(index)] != pageId)
            ++index;
        if (index == static_cast<int>(pages.size()))
            return -1;
    }
    const int chosen = pages[size_t(index)];
    dbTypedCursor<ModelT> element(&ModelT::TableInfo);
    const bool readOnly = element.SelectByKey("ID", chosen) > 0 && (element->ItemState & ITEM_FIXED);
    if (SetPage(chosen, index))
        thePageState.ReadOnlyPage = readOnly ? 1 : 0;
    return index;
}

bool CDiagramController::GoToPage(int n)
{
    const std::vector<int> pages = PagesOf(thePageState.DiagramId);
    thePageState.PageCount = static_cast<int>(pages.size());
    if (pages.empty() || n < 0 || n >= static_cast<int>(pages.size()))
        return false;
    const bool reached = SetPage(pages[size_t(n)], n);
    CommitTextEdit(nullptr);
    return reached;
}

bool CDiagramController::NextPage()
{
    return thePageState.PageIndex < thePageState.PageCount - 1 && GoToPage(thePageState.PageIndex + 1);
}

bool CDiagramController::PrevPage()
{
    return thePageState.PageIndex > 0 && GoToPage(thePageState.PageIndex - 1);
}

void CDiagramController::DrawRow(CDC* dc, const SymbolT& row)
{
    CSymbol* prototype = nullptr;
    if (FindMetaclass(row.Type, prototype)) {
        HotSpotList::SetOwner(row.ID);
        prototype->Draw(row, dc);
    }
}

void CDiagramController::DrawSymbolRecord(CDC* dc, const SymbolT& row)
{
    DrawRow(dc, row);
}

void CDiagramController::DrawPage(CDC* dc)
{
    DrawPageBorder(dc);
    // The paint holds a context that measures as the page draws.
    if (layoutPending_) {
        layoutPending_ = false;
        LayoutUnplacedSymbols(thePageState.PageId, dc);
    }
    std::vector<oid_t> rows;
    if (order_ == PartitionsBelow) {
        rows = TopLevelRows(thePageState.PageId, false, "Partition", false, true);
        const std::vector<oid_t> rest = TopLevelRows(thePageState.PageId, false, "Partition", true);
        rows.insert(rows.end(), rest.begin(), rest.end());
    } else if (order_ == LifelinesBelow) {
        rows = TopLevelRows(thePageState.PageId, false, "Lifeline", false, true);
        const std::vector<oid_t> rest = TopLevelRows(thePageState.PageId, false, "Lifeline", true);
        rows.insert(rows.end(), rest.begin(), rest.end());
    } else {
        rows = TopLevelRows(thePageState.PageId, false);
    }
    SymbolT row;
    for (oid_t oid : rows)
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
            DrawRow(dc, row);
    DrawTracking(dc);
}

void CDiagramController::DrawPageBorder(CDC* dc)
{
    HotSpotList::Clear();
    PrepareSymbolDC(dc);
    const int p = DrawResources::PixelSize;
    PageBorderRect(dc, 0, 0, thePageState.UsableWidth - p, thePageState.UsableHeight - p);
    dc->SetTextColor(kTitleColour);
    PageTextOut(dc, 4 * p, p, thePageState.Title);
    char number[32];
    std::snprintf(number, sizeof number, "%d/%d", thePageState.PageIndex + 1, thePageState.PageCount);
    // The font is zoomed, so the measure is too: back to page units, or the
    // number would run off the page below zoom 1 and stop short above it.
    const int width = ZoomUnscale(dc->GetTextExtent(number, static_cast<int>(std::strlen(number))).cx);
    dc->SetTextColor(kPageNumberColour);
    PageTextOut(dc, thePageState.UsableWidth - 4 * p - width, p, number);
    dc->SetTextColor(RGB(0, 0, 0));
}

void CDiagramController::DrawTracking(CDC* dc)
{
    // Not-XOR shows on any fill, and drawing the figure twice restores the pixels.
    const int oldRop = dc->SetROP2(R2_NOTXORPEN);
    CPen* old = dc->SelectObject(&DrawResources::DottedPen);
    const RECT& t = Tracking;
    if (Mode == 1 || Mode == 4 || Mode == 5 || Mode == 8) {
        if (t.left != t.right || t.top != t.bottom)
            PageBorderRect(dc, t.left, t.top, t.right, t.bottom);
    } else if (Mode == 6 || Mode == 7) {
        PageMoveTo(dc, t.left, t.top);
        PageLineTo(dc, CurrentPoint.x, CurrentPoint.y);
        if (HotHandle >= 2)
            PageLineTo(dc, t.right, t.bottom);
    }
    dc->SelectObject(old);
    dc->SetROP2(oldRop);
}

bool CDiagramController::RelayoutElementSymbols(int elementId, CDC* dc)
{
    std::string guid;
    {
        dbTypedCursor<ModelT> element(&ModelT::TableInfo);
        if (element.SelectByKey("ID", elementId) <= 0 || !element->GUID || !*element->GUID)
            return false;
        guid = element->GUID;
    }
    std::vector<std::pair<int, int>> symbols; // ID, page
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("GUID", guid.c_str()) > 0)
            do
                symbols.emplace_back(c->ID, c->PID);
            while (c.Next());
    }
    bool onPage = false;
    for (const auto& s : symbols) {
        RelayoutSymbol(s.first, dc);
        onPage = onPage || s.second == thePageState.PageId;
    }
    return onPage;
}

bool CDiagramController::HitTest(POINT point, HitSymbol& out)
{
    out.Clear();
    std::vector<oid_t> rows;
    // What paints beneath is hit last: a lane or lifeline claims its whole
    // extent, and would hide everything drawn over it.
    if (order_ == LifelinesBelow || order_ == PartitionsBelow) {
        const char* below = order_ == LifelinesBelow ? "Lifeline" : "Partition";
        rows = TopLevelRows(thePageState.PageId, true, below, true);
        const std::vector<oid_t> beneath = TopLevelRows(thePageState.PageId, true, below);
        rows.insert(rows.end(), beneath.begin(), beneath.end());
    } else {
        rows = TopLevelRows(thePageState.PageId, true);
    }
    SymbolT row;
    CSymbol* prototype = nullptr;
    for (oid_t oid : rows)
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row) && FindMetaclass(row.Type, prototype) &&
            prototype->HitTest(point, row, out))
            return true;
    return false;
}
