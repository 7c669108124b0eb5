#include "UML/Model/PlacementTool.h"

#include "MemDB/ModelSchema.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/TextHelpers.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"

namespace {

struct State {
    int kind = 0;
    int draggedElement = 0;
    int mode = PlacementTool::None;
    char metaclassName[65] = "";
};

State theTool;

} // namespace

void PlacementTool::Reset()
{
    theTool = State();
}

void PlacementTool::SelectKind(int index)
{
    Reset();
    CSymbol* prototype = nullptr;
    if (!FindMetaclassByIndex(index, prototype))
        return;
    theTool.kind = index;
    SafeStrCopy(theTool.metaclassName, prototype->metaName, sizeof theTool.metaclassName);
    theTool.mode = prototype->msc == MSC_LINE ? LineKind : NodeKind;
}

void PlacementTool::BeginDrag(int elementId, const char* metaclass)
{
    Reset();
    CSymbol* prototype = nullptr;
    if (!FindMetaclass(metaclass, prototype))
        return;
    SafeStrCopy(theTool.metaclassName, metaclass, sizeof theTool.metaclassName);
    theTool.kind = prototype->metaIndex;
    theTool.draggedElement = elementId;
    theTool.mode = Dragging;
}

void PlacementTool::Advance()
{
    if (theTool.mode == LineKind)
        theTool.mode = LineStarted;
    else
        Reset();
}

int PlacementTool::GetDraggedElement()
{
    return theTool.mode == Dragging ? theTool.draggedElement : 0;
}

int PlacementTool::GetKind()
{
    return theTool.mode >= NodeKind ? theTool.kind : 0;
}

int PlacementTool::GetMode()
{
    return theTool.mode;
}

const char* PlacementTool::GetMetaclassName()
{
    return theTool.metaclassName;
}

bool PlacementTool::IsAllowedIn(const char* container)
{
    if (theTool.mode == None)
        return false;
    dbQueryText q;
    q.Append(dbFragText, "Parent=").AppendString(container ? container : "");
    q.Append(dbFragText, " and Name=").AppendString(theTool.metaclassName);
    dbTypedCursor<MetaEle> c(&MetaEle::TableInfo);
    return c.Select(q, dbCursorViewOnly) > 0;
}
