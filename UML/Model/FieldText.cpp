#include "UML/Model/FieldText.h"

#include "MemDB/dbFieldInfo.h"
#include "MemDB/dbTableInfo.h"
#include "Pub/TextHelpers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

bool IsIntegerType(int type)
{
    return type == dbFieldInfo::tpInt1 || type == dbFieldInfo::tpInt2 || type == dbFieldInfo::tpInt4;
}

template <class T>
T Load(const void* record, size_t offset)
{
    T v;
    std::memcpy(&v, static_cast<const char*>(record) + offset, sizeof v);
    return v;
}

template <class T>
void Store(void* record, size_t offset, T v)
{
    std::memcpy(static_cast<char*>(record) + offset, &v, sizeof v);
}

} // namespace

dbFieldInfo* FindColumn(dbTableInfo* table, const char* column)
{
    if (!table || !column || !table->columns)
        return nullptr;
    dbFieldInfo* fd = table->columns;
    do {
        if ((IsIntegerType(fd->appType) || fd->appType == dbFieldInfo::tpString) &&
            strcasecmp(fd->name, column) == 0)
            return fd;
    } while ((fd = fd->next) != table->columns);
    return nullptr;
}

int GetIntField(const dbFieldInfo* fd, const void* record)
{
    switch (fd->appType) {
    case dbFieldInfo::tpInt1:
        return Load<int8_t>(record, fd->appOffs);
    case dbFieldInfo::tpInt2:
        return Load<int16_t>(record, fd->appOffs);
    case dbFieldInfo::tpInt4:
        return Load<int32_t>(record, fd->appOffs);
    default:
        return 0;
    }
}

void SetIntField(const dbFieldInfo* fd, void* record, int value)
{
    switch (fd->appType) {
    case dbFieldInfo::tpInt1:
        Store(record, fd->appOffs, static_cast<int8_t>(value));
        break;
    case dbFieldInfo::tpInt2:
        Store(record, fd->appOffs, static_cast<int16_t>(value));
        break;
    case dbFieldInfo::tpInt4:
        Store(record, fd->appOffs, static_cast<int32_t>(value));
        break;
    default:
        break;
    }
}

const char* GetTextField(const dbFieldInfo* fd, const void* record)
{
    return fd->appType == dbFieldInfo::tpString ? Load<const char*>(record, fd->appOffs) : nullptr;
}

void SetTextField(const dbFieldInfo* fd, void* record, const char* text)
{
    if (fd->appType == dbFieldInfo::tpString)
        Store(record, fd->appOffs, text);
}

int GetFieldText(const char* column, dbTableInfo* table, const void* record, char* buffer, int size)
{
    const dbFieldInfo* fd = FindColumn(table, column);
    if (!fd || !buffer || size < 1)
        return 0;
    if (fd->appType == dbFieldInfo::tpString) {
        SafeStrCopy(buffer, GetTextField(fd, record), size);
        return size;
    }
    const int n = std::snprintf(buffer, size_t(size), "%d", GetIntField(fd, record));
    return n < size ? n : size - 1;
}

bool SetFieldText(const char* column, const char* value, dbTableInfo* table, void* record)
{
    const dbFieldInfo* fd = FindColumn(table, column);
    if (!fd)
        return false;
    if (fd->appType == dbFieldInfo::tpString)
        SetTextField(fd, record, value);
    else
        SetIntField(fd, record, value ? std::atoi(value) : 0);
    return true;
}
