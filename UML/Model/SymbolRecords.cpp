// New element and symbol rows: numbering, identifier texts, types and
// categories, and the base creation slots.
#include "UML/Model/Symbol.h"

#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "Pub/GuidText.h"
#include "UML/Model/ShellHooks.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <string>

void CSymbol::FillElementRecord(ModelT& record, int ownerId, const char* name, const char* guid, const char* use)
{
    record.ID = record.SN = ++theNextElementId;
    record.FID = ownerId;
    record.Name = name;
    record.Type = *modelName ? modelName : metaName;
    record.GUID = guid;
    record.Use = use;
    record.Visibility = 0;
    record.MMC = mmc;
}

void CSymbol::FillSymbolRecord(SymbolT& record, int x1, int y1, int x2, int y2, int pageId, const char* text,
                               const char* guid, const char* sguid, const SymbolT* source,
                               const SymbolT* destination)
{
    record.PID = pageId;
    record.x1 = x1;
    record.y1 = y1;
    record.x2 = x2;
    record.y2 = y2;
    record.Text = text;
    record.GUID = guid;
    record.SGUID = sguid;
    record.Type = symbolName;
    record.MSC = msc;
    CSymbol* model = nullptr;
    record.MMC = FindMetaclass(record.Model, model) ? model->mmc : mmc;
    record.ItemState = SYMBOL_AUTOLAYOUT;
    if (msc == MSC_LINE) {
        record.FID = 0;
        record.SrcID = source ? source->SGUID : nullptr;
        record.DestID = destination ? destination->SGUID : nullptr;
    } else {
        record.FID = source ? source->ID : 0;
        record.SrcID = nullptr;
        record.DestID = nullptr;
    }
    record.ID = ++theNextSymbolId;
}

int CSymbol::CreateElement(int ownerId, const char* name, const char* guid, const char* use)
{
    ModelT record;
    FillElementRecord(record, ownerId, name, guid, use);
    return theShellHooks.InsertModelElement(record) ? record.ID : 0;
}

int CSymbol::CreateSymbol(POINT start, POINT end, int pageId, const char* text, CDC*, const char*,
                          const SymbolT* related)
{
    return InsertSymbolRow(start, end, pageId, text, nullptr, related);
}

int CSymbol::InsertSymbolRow(POINT start, POINT end, int pageId, const char* text, const char* guid,
                             const SymbolT* enclosing, const char* model)
{
    char sguid[23];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    record.Model = model;
    FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, text, guid, sguid, enclosing, nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}

namespace {

bool ElementBy(const char* field, const char* value, ModelT& out)
{
    dbTypedCursor<ModelT> c(&ModelT::TableInfo);
    if (!value || !*value || c.SelectByKey(field, value) <= 0)
        return false;
    out = *c.GetRecord();
    return true;
}

} // namespace

int CSymbol::CreateElementSymbol(POINT start, POINT end, int pageId, const char* text, const char* elementGuid,
                                 const SymbolT* enclosing, bool defaultName)
{
    // Texts are copied: rows move when others are written.
    std::string name = text ? text : "", guid;
    ModelT element;
    if (elementGuid && *elementGuid) {
        if (!ElementBy("GUID", elementGuid, element))
            return 0;
        name = element.Name ? element.Name : "";
        guid = elementGuid;
    } else {
        int owner = 0;
        if (enclosing && enclosing->GUID && *enclosing->GUID) {
            if (!ElementBy("GUID", enclosing->GUID, element))
                return 0;
            owner = element.ID;
        } else {
            ModelT page, diagram;
            if (!FetchElementById(pageId, page) || !FetchElementById(page.FID, diagram))
                return 0;
            owner = diagram.FID;
        }
        char made[23];
        if (!MakeGuidText(made, sizeof made, TRUE))
            return 0;
        guid = made;
        if (name.empty() && defaultName) {
            char buffer[80];
            MakeDefaultName(buffer, sizeof buffer);
            name = buffer;
        }
        if (!CreateElement(owner, name.c_str(), guid.c_str(), nullptr))
            return 0;
    }
    char sguid[23];
    if (!MakeGuidText(sguid, sizeof sguid, FALSE))
        return 0;
    SymbolT record;
    FillSymbolRecord(record, start.x, start.y, end.x, end.y, pageId, name.c_str(), guid.c_str(), sguid, enclosing,
                     nullptr);
    return MemDbInsert(&SymbolT::TableInfo, &record) ? record.ID : 0;
}
