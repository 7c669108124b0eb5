#include "App/ElementClipboard.h"

#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Model/SymbolRows.h"

#include <cstring>

namespace {

const size_t kSmallestBlock = 63;

CSymbol* CopyablePrototype(int elementId, ModelT& element)
{
    CSymbol* prototype = nullptr;
    if (!FetchElementById(elementId, element) || (element.ItemState & ITEM_FIXED) ||
        !FindMetaclass(element.Type, prototype))
        return nullptr;
    return prototype;
}

} // namespace

std::vector<char> MakeElementBlock(const std::vector<int>& elementIds)
{
    size_t size = DbNameSize;
    for (int id : elementIds) {
        ModelT element;
        if (CSymbol* prototype = CopyablePrototype(id, element))
            size += prototype->FlatElementSize(element);
    }
    std::vector<char> block(size, 0);
    std::memcpy(block.data(), theDbName, DbNameSize);
    size_t at = DbNameSize;
    for (int id : elementIds) {
        ModelT element;
        CSymbol* prototype = CopyablePrototype(id, element);
        if (prototype && at + prototype->FlatElementSize(element) <= size)
            at += prototype->FlattenElement(block.data() + at, element);
    }
    block.resize(at);
    return block;
}

int PasteElementBlock(const void* block, size_t size, int targetId)
{
    const auto* bytes = static_cast<const char*>(block);
    if (!bytes || size <= kSmallestBlock || std::memcmp(bytes, theDbName, DbNameSize) != 0)
        return 0;
    ModelT target;
    if (!FetchElementById(targetId, target) || ((target.ItemState & ITEM_FIXED) && targetId != theModelRootId))
        return 0;
    // Each entry's element image is written anew, without File and the
    // browser's bits, so that it ends where the original ended: an image
    // is position-independent, and the new one is never longer.
    std::vector<char> copy(bytes, bytes + size);
    UndoLog::NewGroup();
    int pasted = 0;
    for (size_t at = DbNameSize; at < size;) {
        ModelT element;
        const size_t used = MemDbReadImage(&ModelT::TableInfo, copy.data() + at, size - at, &element);
        CSymbol* prototype = nullptr;
        if (!used || !FindMetaclass(element.Type, prototype))
            break;
        element.File = "";
        element.ItemState = static_cast<int16_t>(element.ItemState & ~(ITEM_CHECKED | ITEM_FIXED));
        element.MMC = prototype->mmc;
        std::vector<char> image(MemDbImageSize(&ModelT::TableInfo, &element));
        MemDbFlatten(&ModelT::TableInfo, &element, image.data());
        const size_t start = at + used - image.size();
        std::memcpy(copy.data() + start, image.data(), image.size());
        // A map of its own for each entry: every copy goes under the target.
        PasteIdMap map(targetId);
        const size_t entry = prototype->PasteElement(copy.data() + start, size - start, map);
        if (!entry)
            break;
        ++pasted;
        ModifiedUnits::Mark(targetId, 1);
        at = start + entry;
    }
    return pasted;
}
