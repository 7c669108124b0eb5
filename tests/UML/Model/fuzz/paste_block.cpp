// Pasting a symbol block of arbitrary bytes behind this run's name: the
// reader never reads past the block, pastes no more symbols than the block
// holds whole images, and leaves the database consistent for the next input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MemDB/FlatImage.h"
#include "MemDB/UndoLog.h"
#include "MemDB/db.h"
#include "Pub/GuidText.h"
#include "UML/Model/SymbolClipboard.h"
#include "UML/Model/SymbolRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = MakeGuidText(theDbName, DbNameSize, FALSE) && MemDbOpen() &&
                              (BuildSymbolRegistry(), true);
    if (!ready)
        abort();
    std::vector<char> block(theDbName, theDbName + DbNameSize);
    block.insert(block.end(), data, data + size);
    size_t images = 0;
    for (size_t at = DbNameSize; at < block.size(); ++images) {
        SymbolT row;
        const size_t used = MemDbReadImage(&SymbolT::TableInfo, block.data() + at, block.size() - at, &row);
        if (!used)
            break;
        at += used;
    }
    const int pasted = PasteSymbolBlock(block.data(), block.size(), 1);
    if (pasted < 0 || size_t(pasted) > images)
        abort();
    MemDbClearModel();
    UndoLog::Clear();
    return 0;
}
