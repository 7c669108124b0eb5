// Reading flat record images from arbitrary bytes: the first byte picks the
// table, the rest is the block. An accepted image lies inside the block,
// every text of the record read ends inside it, and flattening the record
// again gives the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MemDB/FlatImage.h"
#include "MemDB/ModelSchema.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static dbTableInfo* const tables[] = {
        &MetaEle::TableInfo,        &ModelT::TableInfo,         &SymbolT::TableInfo,
        &ModelPage::TableInfo,      &ModelClass::TableInfo,     &ModelOperation::TableInfo,
        &ModelAttribute::TableInfo, &ModelParameter::TableInfo, &ModelUsecase::TableInfo,
        &StereotypeT::TableInfo,    &StereotypeObj::TableInfo,
    };
    if (size == 0)
        return 0;
    dbTableInfo* table = tables[data[0] % (sizeof tables / sizeof tables[0])];
    std::vector<char> block(data + 1, data + size);
    std::vector<uint64_t> record((table->appSize + 7) / 8);
    size_t used = MemDbReadImage(table, block.data(), block.size(), record.data());
    if (used == 0)
        return 0;
    if (used > block.size())
        abort();
    const char* begin = block.data();
    dbFieldInfo* fd = table->columns;
    do {
        if (fd->appType != dbFieldInfo::tpString)
            continue;
        const char* text;
        memcpy(&text, reinterpret_cast<char*>(record.data()) + fd->appOffs, sizeof text);
        if (text < begin + table->appSize || text >= begin + used
            || memchr(text, 0, begin + used - text) == nullptr)
            abort();
    } while ((fd = fd->next) != table->columns);
    std::vector<char> again(MemDbImageSize(table, record.data()));
    if (again.size() != used || MemDbFlatten(table, record.data(), again.data()) != used
        || memcmp(again.data(), begin, used) != 0)
        abort();
    return 0;
}
