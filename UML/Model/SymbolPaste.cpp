// Clipboard images of rows and the insertion of pasted copies. An image is
// the row's flat form (MemDB/FlatImage.h); the paste reads it back with the
// checks of MemDbReadImage, so a damaged block is never read past its end.
#include "UML/Model/Symbol.h"

#include "MemDB/db.h"
#include "Pub/GuidText.h"

int RemapPastedId(PasteIdMap& map, int oldId, int newId)
{
    while (map.pairs.size() > 1 && map.pairs.back().first != oldId)
        map.pairs.pop_back();
    const int owner = map.pairs.back().second;
    map.pairs.emplace_back(oldId, newId);
    return owner;
}

size_t CSymbol::FlattenSymbol(void* buffer, const SymbolT& row)
{
    return MemDbFlatten(&SymbolT::TableInfo, &row, buffer);
}

size_t CSymbol::FlattenElement(void* buffer, const ModelT& element)
{
    return MemDbFlatten(&ModelT::TableInfo, &element, buffer);
}

size_t CSymbol::FlatElementSize(const ModelT& element)
{
    return MemDbImageSize(&ModelT::TableInfo, &element);
}

size_t CSymbol::PasteSymbol(const void* image, size_t size, int pageId, PasteIdMap& map)
{
    SymbolT row;
    const size_t used = MemDbReadImage(&SymbolT::TableInfo, image, size, &row);
    char sguid[23];
    if (!used || !MakeGuidText(sguid, sizeof sguid, FALSE))
        return used;
    const int newId = ++theNextSymbolId;
    row.FID = RemapPastedId(map, row.ID, newId);
    row.ID = newId;
    if (row.PID == pageId) {
        for (int32_t* v : {&row.x1, &row.y1, &row.x2, &row.y2, &row.sterey, &row.tx1, &row.ty1, &row.tx2, &row.ty2})
            *v += 100;
    }
    row.PID = pageId;
    row.SGUID = sguid;
    MemDbInsert(&SymbolT::TableInfo, &row);
    return used;
}

size_t CSymbol::PasteElement(const void* image, size_t size, PasteIdMap& map)
{
    ModelT element;
    const size_t used = MemDbReadImage(&ModelT::TableInfo, image, size, &element);
    if (!used)
        return 0;
    const int newId = ++theNextElementId;
    element.FID = RemapPastedId(map, element.ID, newId);
    element.ID = element.SN = newId;
    char guid[23];
    if (!CanBeChildOf(element.FID) || !MakeGuidText(guid, sizeof guid, TRUE))
        return 0;
    element.GUID = guid;
    return MemDbInsert(&ModelT::TableInfo, &element) ? used : 0;
}
