#include "UML/Symbols/StateSymbols.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/SyntaxRunCodec.h"
#include "UML/Model/DrawResources.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"
#include "UML/Model/SymbolText.h"
#include "UML/Model/TypeResolution.h"
#include "UML/Symbols/ChildSymbols.h"

#include <algorithm>
#include <cstring>

namespace {

const COLORREF kState = 0xC02040;
const COLORREF kGrey = 0x969696;
const int kCorner = 200;
const int kInset = 150;

// The classifier that the element shown by the symbol is typed by; 0 for none.
int TypeOfShownElement(const SymbolT& symbol)
{
    ModelT shown;
    if (!FetchElementByGuid(symbol.GUID, shown) || !shown.Use || !*shown.Use)
        return 0;
    return FindElementIdByGuid(shown.Use);
}

} // namespace

int CStateSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char* elementGuid,
                               const SymbolT* related)
{
    std::string name, guid;
    if (elementGuid && *elementGuid) {
        ModelT dropped;
        if (!FetchElementByGuid(elementGuid, dropped))
            return 0;
        ModelT shown;
        if (related && FetchElementByGuid(related->GUID, shown)) {
            ModelT machine;
            const int type = TypeOfShownElement(*related);
            if (type <= 0 || !FetchElementById(dropped.FID, machine) || machine.FID != type || !machine.Type ||
                std::strcmp(machine.Type, "Statemachine") != 0)
                return 0;
        }
        name = dropped.Name ? dropped.Name : "";
        guid = elementGuid;
    } else {
        ModelT page, diagram;
        if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
            return 0;
        char buffer[80];
        MakeDefaultName(buffer, sizeof buffer);
        name = text && *text ? text : buffer;
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (!CreateElement(diagram.FID, name.c_str(), guid.c_str(), nullptr))
            return 0;
    }
    return InsertSymbolRow(start, end, pageId, name.c_str(), guid.c_str(), related);
}

void CStateSymbol::DrawOutline(const SymbolT& row, CDC* dc)
{
    PageRoundRect(dc, row.x1, row.y1, row.x2, row.y2, kCorner, kCorner);
}

int CStateSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    LayoutRounded(row, dc);
    return 1;
}

bool CStateSymbol::FindNamedState(const SymbolT& row, std::string& guid)
{
    guid.clear();
    if (row.FID <= 0)
        return false;
    SymbolT enclosing;
    if (!FetchSymbolById(row.FID, enclosing))
        return true;
    int type = TypeOfShownElement(enclosing);
    if (type <= 0)
        return true;
    std::vector<int> machines;
    {
        dbQueryText q;
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &type);
        q.Append(dbFragText, " and Type=").AppendString("Statemachine");
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0)
            do
                machines.push_back(c->ID);
            while (c.Next());
    }
    const char* name = row.Text ? row.Text : "";
    for (int machine : machines) {
        dbQueryText q;
        q.Append(dbFragText, "FID=").Append(dbFragInt4, &machine);
        q.Append(dbFragText, " and Type=").AppendString("State");
        q.Append(dbFragText, " and Name=").AppendString(name);
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.Select(q, dbCursorViewOnly) > 0) {
            guid = c->GUID ? c->GUID : "";
            return true;
        }
    }
    return true;
}

const char* CStateSymbol::MakeSyntax(const SymbolT& row, int)
{
    theSyntaxWriter.Reset();
    std::string state;
    theSyntaxWriter.AddRun(0, !FindNamedState(row, state) || !state.empty() ? kState : kGrey);
    return theSyntaxWriter.GetText();
}

bool CStateSymbol::TakeNamedElement(SymbolT& row, std::string& guid)
{
    std::string state;
    if (!FindNamedState(row, state) || state.empty() || (row.GUID && state == row.GUID))
        return false;
    guid = state;
    row.GUID = guid.c_str();
    return true;
}

bool CStateSymbol::RenameElement(const SymbolT& row)
{
    SymbolT named;
    oid_t oid = 0;
    std::string guid;
    if (FetchSymbolById(row.ID, named, &oid) && TakeNamedElement(named, guid)) {
        MemDbUpdate(&SymbolT::TableInfo, &named, oid);
        return false;
    }
    return CSymbol::RenameElement(row);
}

int CTimestateSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC* dc,
                                   const char* elementGuid, const SymbolT* related)
{
    if (!related || related->ID <= 0 || !related->Type || std::strcmp(related->Type, "Timelifeline") != 0)
        return 0;
    if (elementGuid && *elementGuid)
        return CStateSymbol::CreateSymbol(start, end, pageId, text, dc, elementGuid, related);
    char buffer[80];
    std::string name = text ? text : "";
    if (name.empty()) {
        MakeDefaultName(buffer, sizeof buffer);
        name = buffer;
    }
    return InsertSymbolRow(start, end, pageId, name.c_str(), nullptr, related);
}

void CTimestateSymbol::Draw(const SymbolT& row, CDC* dc)
{
    SyntaxRunCodec runs;
    runs.Attach(row.Syntax);
    DrawStereotype(dc, row);
    DrawSyntaxText(dc, row.tx1, row.ty1, row.tx2, row.ty2, row.Text, runs);
    DrawChildSymbols(row.ID, dc, "Timeduration");
    if (row.ItemState & SYMBOL_CHECKED)
        DrawBoxHandles(dc, 2, row.x1, row.y1, row.x2, row.y2);
}

int CTimestateSymbol::Layout(SymbolT& row, CDC* dc, const SymbolT*)
{
    int w = 0, h = 0;
    MeasureText(dc, w, h, row.Text);
    row.ItemState &= ~SYMBOL_HAS_CHILDREN;
    row.tx1 = row.x1 + kInset;
    row.tx2 = row.x1 + w + kInset;
    row.ty1 = (row.y1 + row.y2 - h) / 2;
    row.ty2 = row.ty1 + h;
    row.sterey = row.ty1;
    CSymbol* timeline = nullptr;
    if (FindMetaclass("Timeline", timeline))
        for (oid_t oid : ChildRows(row.ID, "Timeline")) {
            SymbolT child;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
                continue;
            row.ItemState |= SYMBOL_HAS_CHILDREN;
            child.y1 = child.y2 = (row.y1 + row.y2) / 2;
            if (timeline->Layout(child, dc, &row))
                StoreLaidOutChild(timeline, child, oid, dc);
        }
    CSymbol* duration = nullptr;
    if (FindMetaclass("Timeduration", duration))
        for (oid_t oid : ChildRows(row.ID, "Timeduration")) {
            SymbolT child;
            if (!theModelDb.FetchRecord(oid, &SymbolT::TableInfo, &child))
                continue;
            row.ItemState |= SYMBOL_HAS_CHILDREN;
            child.y2 = row.y2 - DrawResources::PixelSize;
            child.y1 = child.y2 - h;
            if (duration->Layout(child, dc, &row))
                MemDbUpdate(&SymbolT::TableInfo, &child, oid);
        }
    return 1;
}

bool CTimestateSymbol::HitTest(POINT p, const SymbolT& row, HitSymbol& out)
{
    return HitBoundsThenChildren(p, row, out);
}
