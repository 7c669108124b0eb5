#include "UML/Symbols/PageSymbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "UML/Model/ShellHooks.h"

#include <vector>

namespace {

const int kMaxPageWidth = 42000;
const int kMaxPageHeight = 59400;

} // namespace

bool PageValuesFit(int width, int height, int edgeX, int edgeY)
{
    if (width <= 0 || height <= 0 || edgeX <= 0 || edgeY <= 0)
        return false;
    if (width > kMaxPageWidth || height > kMaxPageHeight)
        return false;
    return 2 * edgeX < width && 2 * edgeY < height;
}

CPageSymbol::CPageSymbol() : CSymbol(MMC_PAGE, static_cast<int8_t>(MSC_NONE))
{
    extensionTable = &ModelPage::TableInfo;
}

int CPageSymbol::CreateElement(int diagramId, const char* name, const char* guid, const char* use)
{
    ModelT record;
    FillElementRecord(record, diagramId, name, guid, use);
    record.Type = "Page";
    if (!theShellHooks.InsertModelElement(record))
        return 0;
    ModelPage page;
    page.ID = record.ID;
    MemDbInsert(&ModelPage::TableInfo, &page);
    return record.ID;
}

void CPageSymbol::DeleteElement(int pageId)
{
    oid_t element = 0;
    {
        dbTypedCursor<ModelT> c(&ModelT::TableInfo);
        if (c.SelectByKey("ID", pageId) <= 0)
            return;
        element = c.GetCurrentOid();
    }
    std::vector<oid_t> rows;
    {
        dbTypedCursor<ModelPage> c(&ModelPage::TableInfo);
        if (c.SelectByKey("ID", pageId) > 0)
            rows.push_back(c.GetCurrentOid());
    }
    for (oid_t oid : rows)
        MemDbRemove(&ModelPage::TableInfo, oid);
    MemDbRemove(&ModelT::TableInfo, element);
    rows.clear();
    {
        dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
        if (c.SelectByKey("PID", pageId) > 0)
            do
                rows.push_back(c.GetCurrentOid());
            while (c.Next());
    }
    for (oid_t oid : rows)
        MemDbRemove(&SymbolT::TableInfo, oid);
}
