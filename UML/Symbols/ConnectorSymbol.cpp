#include "UML/Symbols/ConnectorSymbol.h"

#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/GuidText.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>
#include <string>

namespace {

const int kNameCharacters = 63;

bool IsActorOrUsecase(const SymbolT& row)
{
    return row.Type && (std::strcmp(row.Type, "Usecase") == 0 || std::strcmp(row.Type, "Actor") == 0);
}

bool PairJoinedOnPage(const HitSymbol& from, const HitSymbol& to, int pageId)
{
    dbQueryText q;
    q.Append(dbFragText, "SrcID=").AppendString(from.sguid);
    q.Append(dbFragText, " and DestID=").AppendString(to.sguid);
    q.Append(dbFragText, " and PID=").Append(dbFragInt4, &pageId);
    q.Append(dbFragText, " and Type=").AppendString("Performance");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0;
}

// The GUID of the first element of owner that uses the element guid, of any
// kind; empty for none.
std::string ElementUsing(int owner, const char* guid)
{
    dbQueryText q;
    q.Append(dbFragText, "FID=").Append(dbFragInt4, &owner);
    q.Append(dbFragText, " and Use=").AppendString(guid);
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (c.Select(q, dbCursorViewOnly) <= 0 || !c->GUID)
        return std::string();
    return c->GUID;
}

} // namespace

void CConnectorSymbol::Draw(const SymbolT& row, CDC* dc)
{
    LineSegment first, last;
    DrawLinePath(row, dc, first, last);
    DrawStereotype(dc, row);
    DrawLineSelection(row, dc);
    DrawLineText(row, dc);
}

const char* CConnectorSymbol::GetLabel(const ModelT& element)
{
    ClearLineLabel();
    if (element.Name && *element.Name) {
        AppendLineLabel(element.Name, kNameCharacters);
        AppendLineLabel(" ");
    }
    ModelT target;
    if (FetchElementByGuid(element.Use, target))
        AppendLineLabel(target.Name);
    return AppendLineLabel("");
}

bool CPerformanceSymbol::CanConnect(const SymbolT& target, bool source)
{
    if (!IsActorOrUsecase(target))
        return false;
    if (source) {
        end_.Set(target);
        return true;
    }
    return std::strcmp(target.Type, end_.type) != 0;
}

int CPerformanceSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*,
                                     const char* elementGuid, const SymbolT* related)
{
    const HitSymbol remembered = end_;
    end_.Clear();
    if (!related || !related->GUID || !*related->GUID)
        return 0;
    HitSymbol from, to;
    std::string name = text ? text : "", guid;
    if (elementGuid && *elementGuid) {
        guid = elementGuid;
        if (!EndsOfPlacedElement(elementGuid, pageId, *related, from, to, name))
            return 0;
        return InsertLineSymbol(*this, start, end, pageId, name, guid, from, to);
    }
    if (related->Type && std::strcmp(related->Type, "Usecase") == 0) {
        from.Set(*related);
        to = remembered;
    } else {
        from = remembered;
        to.Set(*related);
    }
    if (std::strcmp(from.sguid, to.sguid) == 0 || PairJoinedOnPage(from, to, pageId))
        return 0;
    const int owner = ElementIdOfSguid(from.sguid);
    if (owner <= 0)
        return 0;
    guid = ElementUsing(owner, to.guid);
    if (guid.empty()) {
        char made[GuidTextLength + 1];
        if (!MakeGuidText(made, sizeof made, TRUE) || !CreateElement(owner, "", made, to.guid))
            return 0;
        guid = made;
    }
    return InsertLineSymbol(*this, start, end, pageId, name, guid, from, to);
}
