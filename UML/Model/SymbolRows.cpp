#include "UML/Model/SymbolRows.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "MemDB/UndoLog.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

namespace {


// The engine ids of the symbols whose key field equals the value.
template <class T>
std::vector<oid_t> SymbolsBy(const char* field, const T& value)
{
    std::vector<oid_t> rows;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey(field, value) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}


void Shift(SymbolT& row, SIZE d)
{
    row.x1 += d.cx;
    row.x2 += d.cx;
    row.tx1 += d.cx;
    row.tx2 += d.cx;
    row.y1 += d.cy;
    row.y2 += d.cy;
    row.ty1 += d.cy;
    row.ty2 += d.cy;
    row.sterey += d.cy;
}

void DeleteSymbolOnce(int symbolId, bool withElements, std::unordered_set<int>& seen)
{
    if (!seen.insert(symbolId).second)
        return;
    SymbolT row;
    oid_t oid;
    if (!FetchSymbolById(symbolId, row, &oid))
        return;
    const std::string sguid = row.SGUID ? row.SGUID : "";
    MemDbRemove(&SymbolT::TableInfo, oid);
    if (!sguid.empty()) {
        for (const char* end : {"DestID", "SrcID"}) {
            for (oid_t lineOid : SymbolsBy(end, sguid.c_str())) {
                SymbolT line;
                if (!theModelDb.FetchRecord(lineOid, &SymbolT::TableInfo, &line) || (line.ItemState & SYMBOL_CHECKED))
                    continue;
                if (withElements && line.GUID && *line.GUID) {
                    dbTypedCursor<ModelT> element(&ModelT::TableInfo);
                    CSymbol* prototype = nullptr;
                    if (element.SelectByKey("GUID", line.GUID) > 0 && FindMetaclass(element->Type, prototype))
                        prototype->DeleteElement(element->ID);
                }
                MemDbRemove(&SymbolT::TableInfo, lineOid);
            }
        }
    }
    std::vector<int> children;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("FID", symbolId) > 0)
            do
                children.push_back(c->ID);
            while (c.Next());
    }
    for (int child : children)
        DeleteSymbolOnce(child, withElements, seen);
}

void MoveChildren(const SymbolT& row, CDC* dc, SIZE d, std::unordered_set<int>& seen)
{
    if (!seen.insert(row.ID).second)
        return;
    for (oid_t oid : SymbolsBy("FID", row.ID)) {
        SymbolT child;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || child.MSC == MSC_LINE)
            continue;
        Shift(child, d);
        MemDbUpdate(&SymbolT::TableInfo, &child, oid);
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
            continue;
        MoveAttachedLines(child, dc, d);
        MoveChildren(child, dc, d, seen);
    }
}

// The engine ids of the elements whose key field equals the value.
std::vector<oid_t> ElementsBy(const char* field, const char* value)
{
    std::vector<oid_t> rows;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey(field, value) > 0)
        do
            rows.push_back(c.GetCurrentOid());
        while (c.Next());
    return rows;
}

int DeleteElementOnce(int elementId, bool force, std::unordered_set<int>& seen)
{
    ModelT element;
    CSymbol* prototype = nullptr;
    if (!seen.insert(elementId).second || !FetchElementById(elementId, element) || element.MMC == MMC_NONE ||
        !FindMetaclass(element.Type, prototype))
        return 0;
    if ((element.ItemState & ITEM_FIXED) && !force)
        return 0;
    const std::string guid = element.GUID ? element.GUID : "";
    const int owner = element.FID;
    const int category = element.MMC;
    int count = 0;
    // An empty GUID is no reference: it would match every symbol and every
    // element that shows or uses nothing.
    if (!guid.empty()) {
        std::vector<int> symbols;
        for (oid_t oid : SymbolsBy("GUID", guid.c_str())) {
            SymbolT row;
            if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
                symbols.push_back(row.ID);
        }
        for (int id : symbols) {
            DeleteSymbol(id, false);
            ++count;
        }
        if (category == MMC_CLASS) {
            for (oid_t oid : ElementsBy("Use", guid.c_str())) {
                ModelT user;
                if (!theModelDb.FetchRecord(oid, &ModelT::TableInfo, &user))
                    continue;
                user.Use = "";
                MemDbUpdate(&ModelT::TableInfo, &user, oid);
            }
        }
    }
    std::vector<int> children;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("FID", elementId) > 0)
            do
                children.push_back(c->ID);
            while (c.Next());
    }
    for (int child : children)
        count += DeleteElementOnce(child, force, seen);
    prototype->DeleteElement(elementId);
    if (!force)
        theShellHooks.MarkModified(owner, 1);
    return count + 1;
}

} // namespace

bool FetchSymbolById(int id, SymbolT& row, oid_t* oid)
{
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    row = *c.GetRecord();
    if (oid)
        *oid = c.GetCurrentOid();
    return true;
}

bool FetchElementById(int id, ModelT& row, oid_t* oid)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.SelectByKey("ID", id) <= 0)
        return false;
    row = *c.GetRecord();
    if (oid)
        *oid = c.GetCurrentOid();
    return true;
}

std::vector<int> ChildElementIds(int ownerId)
{
    std::vector<int> children;
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &ownerId).Append(dbFragText, " order by SN");
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) > 0)
        do
            children.push_back(c->ID);
        while (c.Next());
    return children;
}

bool FetchElementByGuid(const char* guid, ModelT& row)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (!guid || !*guid || c.SelectByKey("GUID", guid) <= 0)
        return false;
    row = *c.GetRecord();
    return true;
}

int DeleteElementTree(int elementId, bool force)
{
    std::unordered_set<int> seen;
    return DeleteElementOnce(elementId, force, seen);
}

void DeleteSymbol(int symbolId, bool withElements)
{
    std::unordered_set<int> seen;
    DeleteSymbolOnce(symbolId, withElements, seen);
}

void MoveSymbol(int symbolId, CDC* dc, SIZE delta)
{
    SymbolT row;
    oid_t oid;
    if ((delta.cx == 0 && delta.cy == 0) || !FetchSymbolById(symbolId, row, &oid))
        return;
    Shift(row, delta);
    if (!MemDbUpdate(&SymbolT::TableInfo, &row, oid) || !theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
        return;
    MoveAttachedLines(row, dc, delta);
    MoveChildSymbols(row, dc, delta);
    RelayoutSymbol(symbolId, dc);
}

namespace {

void Widen(RECT& r, int x, int y)
{
    r.left = std::min<LONG>(r.left, x);
    r.right = std::max<LONG>(r.right, x);
    r.top = std::min<LONG>(r.top, y);
    r.bottom = std::max<LONG>(r.bottom, y);
}

// Widens r by what moves with the row: the ends of its attached lines, then
// its nested symbols and what moves with each of them.
void WidenByMoved(const SymbolT& row, RECT& r, std::unordered_set<int>& seen)
{
    if (!seen.insert(row.ID).second)
        return;
    if (row.SGUID && *row.SGUID) {
        const std::string sguid = row.SGUID;
        for (const char* end : {"SrcID", "DestID"}) {
            const bool source = end[0] == 'S';
            for (oid_t oid : SymbolsBy(end, sguid.c_str())) {
                SymbolT line;
                if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &line))
                    Widen(r, source ? line.x1 : line.x2, source ? line.y1 : line.y2);
            }
        }
    }
    for (oid_t oid : SymbolsBy("FID", row.ID)) {
        SymbolT child;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || child.MSC == MSC_LINE)
            continue;
        Widen(r, child.x1, child.y1);
        Widen(r, child.x2, child.y2);
        WidenByMoved(child, r, seen);
    }
}

} // namespace

RECT MovedExtent(const SymbolT& row)
{
    RECT r{row.x1, row.y1, row.x1, row.y1};
    Widen(r, row.x2, row.y2);
    std::unordered_set<int> seen;
    WidenByMoved(row, r, seen);
    return r;
}

void MoveChildSymbols(const SymbolT& row, CDC* dc, SIZE delta)
{
    std::unordered_set<int> seen;
    MoveChildren(row, dc, delta, seen);
}

void MoveAttachedLines(const SymbolT& row, CDC* dc, SIZE delta)
{
    if (!row.SGUID || !*row.SGUID)
        return;
    const std::string sguid = row.SGUID;
    for (const char* end : {"SrcID", "DestID"}) {
        const bool source = end[0] == 'S';
        for (oid_t oid : SymbolsBy(end, sguid.c_str())) {
            SymbolT line;
            CSymbol* prototype = nullptr;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &line) || !FindMetaclass(line.Type, prototype))
                continue;
            (source ? line.x1 : line.x2) += delta.cx;
            (source ? line.y1 : line.y2) += delta.cy;
            prototype->Layout(line, dc, nullptr);
            MemDbUpdate(&SymbolT::TableInfo, &line, oid);
        }
    }
}

namespace {

// Children centred on an edge of the box before a resize (ports, pins) go
// with that edge: the layout that follows keeps a border symbol on the side
// it finds it on in the stored box, and the box is stored first.
void MoveBorderChildren(const SymbolT& before, const SymbolT& after, CDC* dc)
{
    for (oid_t oid : SymbolsBy("FID", before.ID)) {
        SymbolT child;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child) || child.MSC == MSC_LINE)
            continue;
        const int cx = (child.x1 + child.x2) / 2, cy = (child.y1 + child.y2) / 2;
        SIZE delta{0, 0};
        if (cx == before.x1)
            delta.cx = after.x1 - before.x1;
        else if (cy == before.y1)
            delta.cy = after.y1 - before.y1;
        else if (cx == before.x2)
            delta.cx = after.x2 - before.x2;
        else if (cy == before.y2)
            delta.cy = after.y2 - before.y2;
        if (delta.cx == 0 && delta.cy == 0)
            continue;
        Shift(child, delta);
        if (MemDbUpdate(&SymbolT::TableInfo, &child, oid) && theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child)) {
            MoveAttachedLines(child, dc, delta);
            MoveChildSymbols(child, dc, delta);
        }
    }
}

} // namespace

bool ResizeMoves(const SymbolT& row, int handle)
{
    return row.MSC == MSC_LIFELINE && handle == 0;
}

void ResizeSymbol(int symbolId, SIZE delta, int handle, CDC* dc)
{
    SymbolT row;
    oid_t oid;
    if ((delta.cx == 0 && delta.cy == 0) || !FetchSymbolById(symbolId, row, &oid))
        return;
    // The stop, marks and message ends go along, as in a move.
    if (ResizeMoves(row, handle)) {
        MoveSymbol(symbolId, dc, delta);
        return;
    }
    auto resize = [&](SymbolT& r) {
        r.ItemState = static_cast<int16_t>(r.ItemState & ~SYMBOL_AUTOLAYOUT);
        if (handle == 0) {
            r.x1 += delta.cx;
            r.y1 += delta.cy;
        } else {
            r.x2 += delta.cx;
            r.y2 += delta.cy;
        }
    };
    if (row.MSC != MSC_LINE) {
        SymbolT after = row;
        resize(after);
        MoveBorderChildren(row, after, dc);
        // The children's writes may have moved the row's texts.
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
            return;
    }
    resize(row);
    if (MemDbUpdate(&SymbolT::TableInfo, &row, oid))
        RelayoutSymbol(symbolId, dc);
}

void RelayoutSymbol(int symbolId, CDC* dc)
{
    SymbolT row;
    oid_t oid;
    if (!FetchSymbolById(symbolId, row, &oid))
        return;
    if (row.MSC != MSC_LINE) {
        std::unordered_set<int> seen{row.ID};
        while (row.FID > 0) {
            if (!seen.insert(row.FID).second || !FetchSymbolById(row.FID, row, &oid))
                return;
        }
    }
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(row.Type, prototype) || !prototype->Layout(row, dc, nullptr))
        return;
    if (MemDbUpdate(&SymbolT::TableInfo, &row, oid) && row.MSC != MSC_LINE &&
        theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row))
        prototype->UpdateAttachedLines(row, dc);
}

namespace {

bool SyncSymbolsOf(const ModelT& element)
{
    if (!element.GUID || !*element.GUID)
        return false;
    const std::vector<oid_t> symbols = SymbolsBy("GUID", element.GUID);
    for (oid_t oid : symbols) {
        SymbolT row;
        CSymbol* prototype = nullptr;
        if (theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row) && FindMetaclass(row.Type, prototype))
            prototype->SyncFromElement(element, row, oid);
    }
    if (!symbols.empty())
        theShellHooks.RefreshElementSymbols(element.ID);
    return !symbols.empty();
}

} // namespace

bool RefreshSymbolsOfElement(const ModelT& element)
{
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(element.Type, prototype) || !SyncSymbolsOf(element))
        return false;
    if (prototype->mmc == MMC_CLASS) {
        for (oid_t oid : ElementsBy("Use", element.GUID)) {
            ModelT user;
            if (theModelDb.FetchRecord(oid, &ModelT::TableInfo, &user))
                SyncSymbolsOf(user);
        }
    }
    return true;
}

int ElementIdOfSymbol(const SymbolT* row)
{
    if (!row || !row->GUID || !*row->GUID)
        return 0;
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    return c.SelectByKey("GUID", row->GUID) > 0 ? c->ID : 0;
}

void CompletePageSymbols(int pageId)
{
    ModelT page, diagram;
    if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
        return;
    const int diagramOwner = diagram.FID;

    // The rows are collected first: each update may move a record.
    std::vector<oid_t> oids;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                oids.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : oids) {
        SymbolT row;
        CSymbol* prototype = nullptr;
        if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &row) || !FindMetaclass(row.Type, prototype))
            continue;
        std::string named;
        prototype->TakeNamedElement(row, named);
        int scope;
        if (row.GUID && *row.GUID) {
            dbTypedCursor<ModelT> element(&ModelT::TableInfo);
            if (element.SelectByKey("GUID", row.GUID) <= 0)
                continue;
            scope = element->FID;
        } else {
            scope = prototype->GetOwnerElement(row, diagramOwner);
        }
        row.Syntax = prototype->MakeSyntax(row, scope);
        theModelDb.UpdateRecord(oid, &SymbolT::TableInfo, &row);
    }
}

namespace {

bool HasTextBox(const SymbolT& row)
{
    return row.tx1 != 0 || row.ty1 != 0 || row.tx2 != 0 || row.ty2 != 0;
}

bool SameBox(const SymbolT& a, const SymbolT& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

} // namespace

void LayoutUnplacedSymbols(int pageId, CDC* dc)
{
    std::vector<int> unplaced;
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                if (!HasTextBox(*c.GetRecord()))
                    unplaced.push_back(c->ID);
            while (c.Next());
    }
    if (unplaced.empty())
        return;
    UndoLog::Quiet quiet;
    std::unordered_set<int> laidOut;
    for (int id : unplaced) {
        SymbolT row;
        oid_t oid;
        if (!FetchSymbolById(id, row, &oid))
            continue;
        bool reached = true;
        if (row.MSC != MSC_LINE) {
            std::unordered_set<int> seen{row.ID};
            while (reached && row.FID > 0)
                reached = seen.insert(row.FID).second && FetchSymbolById(row.FID, row, &oid);
        }
        CSymbol* prototype = nullptr;
        if (!reached || !laidOut.insert(row.ID).second || !FindMetaclass(row.Type, prototype))
            continue;
        SymbolT laid = row;
        if (!prototype->Layout(laid, dc, nullptr) || (laid.ID == id && !HasTextBox(laid)))
            continue;
        if (MemDbUpdate(&SymbolT::TableInfo, &laid, oid) && laid.MSC != MSC_LINE && !SameBox(laid, row) &&
            theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &laid))
            prototype->UpdateAttachedLines(laid, dc);
    }
}

int ElementIdOfSguid(const char* sguid)
{
    if (!sguid || !*sguid)
        return 0;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.SelectByKey("SGUID", sguid) > 0 ? ElementIdOfSymbol(c.GetRecord()) : 0;
}

int SymbolIdOfGuid(const char* guid)
{
    if (!guid || !*guid)
        return 0;
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.SelectByKey("GUID", guid) > 0 ? c->ID : 0;
}

bool ElementHasSymbols(const char* guid)
{
    return SymbolIdOfGuid(guid) != 0;
}

bool ElementHasSymbolOnPage(const char* guid, int pageId)
{
    dbQueryText q;
    q.Append(dbFragText, "GUID=").AppendString(guid ? guid : "");
    q.Append(dbFragText, " and PID=").Append(dbFragInt4, &pageId);
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0;
}

bool FindMetaRuleSymbol(const char* parent, const char* name, char* symbolOut)
{
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(parent ? parent : "");
    q.Append(dbFragText, " and Name=").AppendString(name ? name : "");
    q.Append(dbFragText, " and Symbol!=''");
    dbTypedCursor<MetaEle> c(&MetaEle::TableInfo);
    if (c.Select(q, dbCursorViewOnly) <= 0)
        return false;
    if (symbolOut)
        SafeStrCopy(symbolOut, c->Symbol, 65);
    return true;
}
