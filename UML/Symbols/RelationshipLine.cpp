#include "UML/Symbols/RelationshipLine.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Platform/Dc.h"
#include "Pub/GuidText.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/PageDraw.h"
#include "UML/Model/SelectionHandles.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>
#include <string>

namespace {

char theLineLabel[kLineLabelSize];
int theLineLabelLength = 0;

const int kNameCharacters = 64;

// The bytes of the first maxCharacters whole characters of text that fit in
// room bytes (all characters for a negative maxCharacters).
int CharacterPrefix(const char* text, int maxCharacters, int room)
{
    int bytes = 0;
    char ch[MbCharBufferSize];
    for (int n = 0; maxCharacters < 0 || n < maxCharacters; ++n) {
        const int length = CopyMbChar(text, ch, bytes);
        if (length == 0 || bytes + length > room)
            break;
        bytes += length;
    }
    return bytes;
}

// The symbol of the page that shows the element guid.
bool FetchSymbolOnPage(int pageId, const char* guid, SymbolT& row)
{
    dbQueryText q;
    q.Append(dbFragText, "PID=").Append(dbFragInt4, &pageId);
    q.Append(dbFragText, " and GUID=").AppendString(guid);
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) <= 0)
        return false;
    row = *c.GetRecord();
    return true;
}

} // namespace

const char* ClearLineLabel()
{
    theLineLabel[0] = '\0';
    theLineLabelLength = 0;
    return theLineLabel;
}

const char* AppendLineLabel(const char* text, int maxCharacters)
{
    if (!text)
        return theLineLabel;
    const int bytes = CharacterPrefix(text, maxCharacters, kLineLabelSize - 1 - theLineLabelLength);
    std::memcpy(theLineLabel + theLineLabelLength, text, size_t(bytes));
    theLineLabelLength += bytes;
    theLineLabel[theLineLabelLength] = '\0';
    return theLineLabel;
}

bool EndsOfPlacedElement(const char* elementGuid, int pageId, const SymbolT& dropped, HitSymbol& from,
                         HitSymbol& to, std::string& name)
{
    ModelT element;
    if (ElementHasSymbolOnPage(elementGuid, pageId) || !FetchElementByGuid(elementGuid, element) ||
        !element.Use || !*element.Use)
        return false;
    // Only a symbol of the owner may stand at the source: any other would
    // move the element there at the next end move or rename.
    if (ElementIdOfSymbol(&dropped) != element.FID)
        return false;
    const char* text = element.Name ? element.Name : "";
    name.assign(text, size_t(CharacterPrefix(text, kNameCharacters, 4 * kNameCharacters)));
    SymbolT target;
    if (!FetchSymbolOnPage(pageId, element.Use, target))
        return false;
    from.Set(dropped);
    to.Set(target);
    return true;
}

int InsertLineSymbol(CSymbol& prototype, POINT start, POINT end, int pageId, const std::string& text,
                     const std::string& elementGuid, const HitSymbol& from, const HitSymbol& to)
{
    char sguid[GuidTextLength + 1];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    prototype.FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, text.c_str(), elementGuid.c_str(),
                               sguid, &from.rec, &to.rec);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

int CreateRelationshipLine(CSymbol& prototype, const HitSymbol& source, POINT start, POINT end, int pageId,
                           const char* text, const char* elementGuid, const SymbolT* destination)
{
    if (!destination || !destination->GUID || !*destination->GUID)
        return 0;
    // Rows move as others are written: the ends and texts are copied first.
    HitSymbol from = source, to;
    to.Set(*destination);
    std::string name = text ? text : "", guid;
    if (elementGuid && *elementGuid) {
        guid = elementGuid;
        if (!EndsOfPlacedElement(elementGuid, pageId, *destination, from, to, name))
            return 0;
    } else {
        const int owner = ElementIdOfSymbol(&from.rec);
        if (owner <= 0 || std::strcmp(from.sguid, to.sguid) == 0)
            return 0;
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (!prototype.CreateElement(owner, name.c_str(), guid.c_str(), to.guid))
            return 0;
    }
    return InsertLineSymbol(prototype, start, end, pageId, name, guid, from, to);
}

void DrawLineSelection(const SymbolT& row, CDC* dc)
{
    if (!(row.ItemState & SYMBOL_CHECKED))
        return;
    DrawPointHandle(dc, row.x1 - 100, row.y1 - 100, 0);
    DrawPointHandle(dc, row.x2 - 100, row.y2 - 100, 1);
    PageBorderRect(dc, row.tx1, row.ty1, row.tx2, row.ty2);
}

void DrawLineText(const SymbolT& row, CDC* dc)
{
    if (!row.Text || !*row.Text)
        return;
    const COLORREF old = dc->SetTextColor(0);
    PageTextOut(dc, row.tx1, row.ty1, row.Text);
    dc->SetTextColor(old);
}
