// Flat record images: writing, measuring and checked reading.
#include "MemDB/FlatImage.h"

#include <cstdint>
#include <cstring>

#include "MemDB/dbTableInfo.h"

namespace {

bool IsText(const dbFieldInfo* fd)
{
    return fd->appType == dbFieldInfo::tpString;
}

const char* TextAt(const void* record, const dbFieldInfo* fd)
{
    const char* text;
    memcpy(&text, static_cast<const char*>(record) + fd->appOffs, sizeof text);
    return text;
}

} // namespace

size_t MemDbStringSpace(dbTableInfo* table, const void* record)
{
    size_t space = 0;
    dbFieldInfo* fd = table->columns;
    if (!fd)
        return 0;
    do {
        if (IsText(fd)) {
            const char* text = record ? TextAt(record, fd) : nullptr;
            space += (text ? strlen(text) : 0) + 1;
        }
    } while ((fd = fd->next) != table->columns);
    return space;
}

size_t MemDbImageSize(dbTableInfo* table, const void* record)
{
    return table->appSize + MemDbStringSpace(table, record);
}

size_t MemDbFlatten(dbTableInfo* table, const void* source, void* destination)
{
    char* image = static_cast<char*>(destination);
    memcpy(image, source, table->appSize);
    size_t end = table->appSize;
    dbFieldInfo* fd = table->columns;
    if (!fd)
        return end;
    do {
        if (IsText(fd)) {
            uintptr_t offset = end;
            memcpy(image + fd->appOffs, &offset, sizeof offset);
            const char* text = TextAt(source, fd);
            size_t length = text ? strlen(text) : 0;
            memcpy(image + end, text ? text : "", length + 1);
            end += length + 1;
        }
    } while ((fd = fd->next) != table->columns);
    return end;
}

size_t MemDbReadImage(dbTableInfo* table, const void* block, size_t size, void* record)
{
    const char* image = static_cast<const char*>(block);
    size_t end = table->appSize;
    if (!image || size < end)
        return 0;
    dbFieldInfo* fd = table->columns;
    if (fd) {
        do {
            if (IsText(fd)) {
                uintptr_t offset;
                memcpy(&offset, image + fd->appOffs, sizeof offset);
                if (offset != end)
                    return 0;
                const void* nul = memchr(image + end, 0, size - end);
                if (!nul)
                    return 0;
                end = static_cast<const char*>(nul) - image + 1;
            }
        } while ((fd = fd->next) != table->columns);
    }
    char* out = static_cast<char*>(record);
    memcpy(out, image, table->appSize);
    if (fd) {
        do {
            if (IsText(fd)) {
                uintptr_t offset;
                memcpy(&offset, image + fd->appOffs, sizeof offset);
                const char* text = image + offset;
                memcpy(out + fd->appOffs, &text, sizeof text);
            }
        } while ((fd = fd->next) != table->columns);
    }
    return end;
}
