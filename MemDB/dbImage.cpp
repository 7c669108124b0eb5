#include "MemDB/dbImage.h"

uint32_t dbInternalObjectSize(uint32_t kind)
{
    static const uint32_t sizes[8] = {0, dbPageSize, 4, 512, 12, 12, 8, 4084};
    return sizes[kind & dbFlagsMask];
}
