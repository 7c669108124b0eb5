// Table descriptors: layout of the stored record, the global chain of static
// descriptors, and writing and matching dictionary records.
#include "MemDB/dbTableInfo.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MemDB/dbDictionary.h"
#include "MemDB/dbNameTable.h"
#include "MemDB/dbOs.h"

dbEngine* const dbTableInfo::Detached = reinterpret_cast<dbEngine*>(-1);

namespace {

size_t Align(size_t offs, size_t alignment)
{
    return alignment > 1 ? (offs + alignment - 1) & ~(alignment - 1) : offs;
}

size_t AppAlignment(const dbFieldInfo* fd)
{
    switch (fd->appType) {
    case dbFieldInfo::tpString:
        return alignof(char*);
    case dbFieldInfo::tpStdString:
        return alignof(std::string);
    case dbFieldInfo::tpArray:
        return alignof(dbAnyArray);
    case dbFieldInfo::tpRawBinary:
        return 1;
    case dbFieldInfo::tpRectangle:
        return alignof(dbRectangle);
    }
    return fd->appSize;
}

char* Concat(const char* a, const char* b)
{
    size_t la = strlen(a), lb = strlen(b);
    char* s = new char[la + lb + 1];
    memcpy(s, a, la);
    memcpy(s + la, b, lb + 1);
    return s;
}

const char* OrEmpty(const char* s)
{
    return s ? s : "";
}

const char* RefTableName(const dbFieldInfo* fd)
{
    return fd->refTable ? fd->refTable->name : OrEmpty(fd->refTableName);
}

uint32_t TypeWord(const dbFieldInfo* fd)
{
    return ((fd->indexType & ~dbFieldInfo::BEING_BUILT) << 8) | static_cast<uint32_t>(fd->type);
}

// Writes one field record at f and its three strings at text; returns the
// end of the strings.
uint8_t* WriteFieldRecord(uint8_t* f, uint8_t* text, const char* longName, const char* table,
                          const char* inverse, uint32_t typeWord, size_t offs, size_t size,
                          uint32_t hash, uint32_t tree)
{
    const char* texts[3] = {longName, table, inverse};
    for (int i = 0; i < 3; ++i) {
        size_t len = strlen(texts[i]) + 1;
        dbPut32(f, dbFieldRecName + 8 * i, static_cast<uint32_t>(len));
        dbPut32(f, dbFieldRecName + 8 * i + 4, static_cast<uint32_t>(text - f));
        memcpy(text, texts[i], len);
        text += len;
    }
    dbPut32(f, dbFieldRecType, typeWord);
    dbPut32(f, dbFieldRecOffset, static_cast<uint32_t>(offs));
    dbPut32(f, dbFieldRecSize, static_cast<uint32_t>(size));
    dbPut32(f, dbFieldRecHashTable, hash);
    dbPut32(f, dbFieldRecTTree, tree);
    return text;
}

// Writes the head of a dictionary record (not its dbRecordHeader) and the
// table name; returns where the strings of the field records begin.
uint8_t* WriteDictionaryHead(uint8_t* rec, const char* name, uint32_t nFields, size_t fixedSize,
                             uint32_t nColumns)
{
    size_t nameLen = strlen(name) + 1;
    size_t nameOffs = dbDictFieldRecords + nFields * dbFieldRecordSize;
    dbPut32(rec, dbDictName, static_cast<uint32_t>(nameLen));
    dbPut32(rec, dbDictName + 4, static_cast<uint32_t>(nameOffs));
    dbPut32(rec, dbDictFields, nFields);
    dbPut32(rec, dbDictFields + 4, dbDictFieldRecords);
    dbPut32(rec, dbDictFixedSize, static_cast<uint32_t>(fixedSize));
    dbPut32(rec, dbDictRows, 0);
    dbPut32(rec, dbDictColumns, nColumns);
    dbPut32(rec, dbDictFirstRow, 0);
    dbPut32(rec, dbDictLastRow, 0);
    memcpy(rec + nameOffs, name, nameLen);
    return rec + nameOffs + nameLen;
}

} // namespace

dbSectionLock& dbTableInfo::GetDescriptorChainLock()
{
    static dbSectionLock lock;
    return lock;
}

dbTableInfo::dbTableInfo(const char* tableName, dbEngine* engine, size_t declaredSize,
                         DescribeFunc describeFunc, dbTableInfo* cloneSource)
    : next(nullptr), nextDbTable(nullptr), name(tableName), tableId(0), columns(nullptr),
      hashedFields(nullptr), indexedFields(nullptr), inverseFields(nullptr),
      firstField(nullptr), db(engine), fixedDatabase(engine != nullptr),
      isStatic(cloneSource == nullptr), appSize(0), fixedSize(12), nFields(0), nColumns(0),
      cloneOf(cloneSource), describe(describeFunc), collisionChain(nullptr),
      lastField(&firstField), lastHashed(&hashedFields), lastIndexed(&indexedFields),
      lastInverse(&inverseFields)
{
    dbNameTable::Instance().Intern(&name, 0, false);
    if (isStatic)
        LinkIntoChain();
    Layout(describe(), declaredSize);
}

dbTableInfo::dbTableInfo(const char* tableName, dbEngine* engine, dbFieldInfo* fields)
    : next(nullptr), nextDbTable(nullptr), name(tableName), tableId(0), columns(nullptr),
      hashedFields(nullptr), indexedFields(nullptr), inverseFields(nullptr),
      firstField(nullptr), db(engine), fixedDatabase(true), isStatic(false), appSize(0),
      fixedSize(12), nFields(0), nColumns(0), cloneOf(nullptr), describe(nullptr),
      collisionChain(nullptr), lastField(&firstField), lastHashed(&hashedFields),
      lastIndexed(&indexedFields), lastInverse(&inverseFields)
{
    dbNameTable::Instance().Intern(&name, 0, true);
    Layout(fields, 0);
}

void dbTableInfo::Layout(dbFieldInfo* fields, size_t declaredSize)
{
    columns = fields;
    uint32_t attr = 0;
    size_t appAlign = 1;
    ComputeLayout(columns, "", 12, dbFieldInfo::HASHED | dbFieldInfo::INDEXED, &attr, &appAlign);
    if (columns) {
        dbFieldInfo* fd = columns;
        do {
            if (fd->appOffs + fd->appSize > appSize)
                appSize = fd->appOffs + fd->appSize;
        } while ((fd = fd->next) != columns);
    }
    appSize = Align(appSize, appAlign);
    if (appSize < declaredSize)
        fprintf(stderr, "Warning: may be not all fields of the class '%s' were described\n", name);
}

dbTableInfo::~dbTableInfo()
{
    if (isStatic)
        UnlinkFromChain();
    for (dbFieldInfo* fd = firstField; fd;) {
        dbFieldInfo* nextFd = fd->nextField;
        delete fd;
        fd = nextFd;
    }
}

void dbTableInfo::LinkIntoChain()
{
    dbCriticalSection cs(GetDescriptorChainLock());
    next = dbStaticTableChain;
    dbStaticTableChain = this;
}

void dbTableInfo::UnlinkFromChain()
{
    dbCriticalSection cs(GetDescriptorChainLock());
    for (dbTableInfo** tp = &dbStaticTableChain; *tp; tp = &(*tp)->next) {
        if (*tp == this) {
            *tp = next;
            break;
        }
    }
}

size_t dbTableInfo::ComputeLayout(dbFieldInfo* ring, const char* prefix, size_t base,
                                  uint32_t allowed, uint32_t* containerAttr, size_t* appAlign)
{
    size_t maxAlign = 1;
    if (!ring)
        return maxAlign;
    dbFieldInfo* fd = ring;
    do {
        fd->longName = Concat(prefix, fd->name);
        if (*prefix == 0)
            nColumns += 1;
        fd->indexType &= allowed | dbFieldInfo::CASCADE;
        fd->attr = (*containerAttr & dbFieldInfo::ComponentOfArray) | dbFieldInfo::OneToOneMapping;
        fd->defTable = this;
        if (fd->inverseRefName) {
            *lastInverse = fd;
            lastInverse = &fd->nextInverseField;
        }
        *lastField = fd;
        lastField = &fd->nextField;
        fd->fieldNo = nFields++;
        size_t fieldAppAlign = AppAlignment(fd);

        switch (fd->type) {
        case dbFieldInfo::tpString:
            *containerAttr = (*containerAttr & ~dbFieldInfo::OneToOneMapping)
                           | dbFieldInfo::HasArrayOrString;
            break;
        case dbFieldInfo::tpArray: {
            *containerAttr = (*containerAttr & ~dbFieldInfo::OneToOneMapping)
                           | dbFieldInfo::HasArrayOrString;
            dbFieldInfo* elem = fd->components;
            size_t saved = fixedSize;
            fixedSize = 0;
            uint32_t elemAttr = fd->attr | dbFieldInfo::ComponentOfArray;
            size_t elemAppAlign = 1;
            ComputeLayout(elem, fd->longName, 0, 0, &elemAttr, &elemAppAlign);
            fixedSize = saved;
            fd->attr = (fd->attr & dbFieldInfo::ComponentOfArray)
                     | (elemAttr & ~dbFieldInfo::ComponentOfArray);
            if (elem->dbsSize != elem->appSize)
                fd->attr &= ~dbFieldInfo::OneToOneMapping;
            break;
        }
        case dbFieldInfo::tpStructure: {
            char* memberPrefix = Concat(fd->longName, ".");
            uint32_t attr = fd->attr;
            size_t memberAppAlign = 1;
            size_t start = fixedSize;
            fd->alignment = ComputeLayout(fd->components, memberPrefix, base + fd->appOffs,
                                          fd->indexType, &attr, &memberAppAlign);
            delete[] memberPrefix;
            fd->attr = attr;
            fd->dbsOffs = fd->components ? fd->components->dbsOffs : Align(start, fd->alignment);
            fd->dbsSize = Align(fixedSize - fd->dbsOffs, fd->alignment);
            fixedSize = fd->dbsOffs + fd->dbsSize;
            if (fd->appSize != fd->dbsSize)
                fd->attr &= ~dbFieldInfo::OneToOneMapping;
            if (!(fd->attr & dbFieldInfo::OneToOneMapping))
                *containerAttr &= ~dbFieldInfo::OneToOneMapping;
            *containerAttr |= fd->attr & dbFieldInfo::HasArrayOrString;
            fieldAppAlign = memberAppAlign;
            break;
        }
        }
        if (fd->type != dbFieldInfo::tpStructure) {
            fd->dbsOffs = Align(fixedSize, fd->alignment);
            fixedSize = fd->dbsOffs + fd->dbsSize;
            if (base + fd->appOffs != fd->dbsOffs)
                *containerAttr &= ~dbFieldInfo::OneToOneMapping;
            if (fd->indexType & dbFieldInfo::HASHED) {
                *lastHashed = fd;
                lastHashed = &fd->nextHashedField;
            }
            if (fd->indexType & dbFieldInfo::INDEXED) {
                *lastIndexed = fd;
                lastIndexed = &fd->nextIndexedField;
            }
        }
        if (fd->alignment > maxAlign)
            maxAlign = fd->alignment;
        if (fieldAppAlign > *appAlign)
            *appAlign = fieldAppAlign;
    } while ((fd = fd->next) != ring);
    return maxAlign;
}

dbFieldInfo* dbTableInfo::FindField(const char* text)
{
    if (!text)
        return nullptr;
    // A name the table does not know names no field.
    text = dbNameTable::Instance().Find(text);
    return text != nullptr ? FindInternedField(text) : nullptr;
}

dbFieldInfo* dbTableInfo::FindInternedField(const char* text)
{
    if (!columns)
        return nullptr;
    dbFieldInfo* fd = columns;
    do {
        if (fd->name == text)
            return fd;
    } while ((fd = fd->next) != columns);
    return nullptr;
}

namespace {

// Builds the field descriptors of a stored dictionary record, with an
// application layout made up from the stored types.
class FieldBuilder {
public:
    explicit FieldBuilder(const uint8_t* rec) : dict(rec) {}

    // The fields whose long names continue prefix, from record i on;
    // appSize and appAlign receive the application size and alignment of
    // the whole. Null when a field cannot be given an application form.
    dbFieldInfo* Ring(const std::string& prefix, size_t* appSize, size_t* appAlign, bool* ok)
    {
        std::vector<dbFieldInfo*> fields;
        size_t offset = 0;
        *appAlign = 1;
        while (i < dict.FieldCount() && IsChild(prefix, dict.FieldName(dict.Field(i)))) {
            size_t size, align;
            dbFieldInfo* fd = Field(prefix, &size, &align, ok);
            offset = Align(offset, align);
            fd->appOffs = offset;
            offset += size;
            if (align > *appAlign)
                *appAlign = align;
            fields.push_back(fd);
        }
        *appSize = Align(offset, *appAlign);
        if (fields.empty())
            return nullptr;
        for (size_t k = 0; k < fields.size(); k++) {
            fields[k]->next = fields[(k + 1) % fields.size()];
            fields[(k + 1) % fields.size()]->prev = fields[k];
        }
        return fields[0];
    }

private:
    static bool IsChild(const std::string& prefix, const char* longName)
    {
        if (strncmp(longName, prefix.c_str(), prefix.size()) != 0)
            return false;
        const char* rest = longName + prefix.size();
        return *rest != '\0' && strchr(rest, '.') == nullptr && (strcmp(rest, "[]") == 0 || !strstr(rest, "[]"));
    }
    static const char* Copied(const char* text)
    {
        if (*text == '\0')
            return nullptr;
        dbNameTable::Instance().Intern(&text, 0, true);
        return text;
    }

    dbFieldInfo* Field(const std::string& prefix, size_t* appSize, size_t* appAlign, bool* ok)
    {
        const uint8_t* f = dict.Field(i++);
        std::string longName = dbDictionaryRecord::FieldName(f);
        uint32_t word = dbGet32(f, dbFieldRecType);
        int type = static_cast<int>(word & 0xFF);
        int flags = static_cast<int>(word >> 8);
        size_t storedSize = dbGet32(f, dbFieldRecSize);
        const char* name = Copied(longName.c_str() + prefix.size());
        dbFieldInfo* members = nullptr;
        size_t size = storedSize, align = storedSize;
        switch (type) {
        case dbFieldInfo::tpString:
            size = align = sizeof(char*);
            break;
        case dbFieldInfo::tpArray:
            size = sizeof(dbAnyArray);
            align = alignof(dbAnyArray);
            break;
        case dbFieldInfo::tpRectangle:
            size = sizeof(dbRectangle);
            align = alignof(dbRectangle);
            break;
        case dbFieldInfo::tpRawBinary:
            align = 1;
            break;
        case dbFieldInfo::tpStructure:
            members = Ring(longName + ".", &size, &align, ok);
            break;
        default:
            if (type > dbFieldInfo::tpArray)
                *ok = false;  // a method field: its method is the application's
        }
        auto* fd = new dbFieldInfo(name, 0, size, flags, Copied(dbDictionaryRecord::FieldInverse(f)),
                                   members);
        fd->type = fd->appType = type;
        fd->dbsSize = storedSize;
        bool pair = type == dbFieldInfo::tpString || type == dbFieldInfo::tpArray
                 || type == dbFieldInfo::tpRectangle;
        fd->alignment = pair ? 4 : type == dbFieldInfo::tpRawBinary || storedSize == 0 ? 1 : storedSize;
        fd->hashTable = dbGet32(f, dbFieldRecHashTable);
        fd->tTree = dbGet32(f, dbFieldRecTTree);
        if (type == dbFieldInfo::tpReference)
            fd->refTableName = Copied(dbDictionaryRecord::FieldTableName(f));
        if (type == dbFieldInfo::tpString)
            fd->InitComponent();
        if (type == dbFieldInfo::tpArray) {
            size_t elemSize, elemAlign;
            fd->components = Field(longName, &elemSize, &elemAlign, ok);
            fd->components->appSize = elemSize;
            fd->arrayAllocator = AllocatorFor(elemSize);
            *ok = *ok && fd->arrayAllocator != nullptr;
        }
        *appSize = size;
        *appAlign = align;
        return fd;
    }

    static dbArrayAllocator AllocatorFor(size_t elementSize)
    {
        switch (elementSize) {
        case 1: return &dbArray<uint8_t>::Allocate;
        case 2: return &dbArray<uint16_t>::Allocate;
        case 4: return &dbArray<uint32_t>::Allocate;
        case 8: return &dbArray<uint64_t>::Allocate;
        case 16: return &dbArray<dbRectangle>::Allocate;
        default: return nullptr;
        }
    }

    dbDictionaryRecord dict;
    uint32_t i = 0;
};

} // namespace

dbTableInfo* dbTableInfo::FromDictionary(dbEngine* engine, const uint8_t* rec)
{
    FieldBuilder builder(rec);
    size_t size, align;
    bool ok = true;
    dbFieldInfo* fields = builder.Ring("", &size, &align, &ok);
    auto* table = new dbTableInfo(dbDictionaryRecord(rec).Name(), engine, fields);
    if (!ok || !table->EqualsStored(rec)) {
        delete table;
        return nullptr;
    }
    return table;
}

dbTableInfo* dbTableInfo::CloneFor()
{
    return new dbTableInfo(name, Detached, appSize, describe, this);
}

size_t dbTableInfo::DictionaryRecordSize() const
{
    size_t size = dbDictFieldRecords + nFields * dbFieldRecordSize + strlen(name) + 1;
    for (const dbFieldInfo* fd = firstField; fd; fd = fd->nextField)
        size += strlen(fd->longName) + strlen(RefTableName(fd)) + strlen(OrEmpty(fd->inverseRefName))
              + 3;
    return size;
}

void dbTableInfo::WriteDictionaryRecord(uint8_t* rec) const
{
    uint8_t* text = WriteDictionaryHead(rec, name, static_cast<uint32_t>(nFields), fixedSize,
                                        static_cast<uint32_t>(nColumns));
    uint8_t* f = rec + dbDictFieldRecords;
    for (const dbFieldInfo* fd = firstField; fd; fd = fd->nextField, f += dbFieldRecordSize)
        text = WriteFieldRecord(f, text, fd->longName, RefTableName(fd),
                                OrEmpty(fd->inverseRefName), TypeWord(fd), fd->dbsOffs,
                                fd->dbsSize, fd->hashTable, fd->tTree);
}

bool dbTableInfo::MatchStored(uint8_t* rec)
{
    dbDictionaryRecord dict(rec);
    uint32_t n = dict.FieldCount();
    bool same = n == static_cast<uint32_t>(nFields);
    for (dbFieldInfo* fd = firstField; fd; fd = fd->nextField) {
        fd->oldDbsType = dbFieldInfo::tpUnknown;
        uint8_t* stored = nullptr;
        for (uint32_t i = 0; i < n && !stored; ++i) {
            const uint8_t* f = dict.Field(i);
            if (strcmp(dbDictionaryRecord::FieldName(f), fd->longName) == 0)
                stored = const_cast<uint8_t*>(f);
        }
        // A field the image does not know (also a renamed one) must be
        // written by conversion; its slot may hold another field's bytes.
        if (!stored) {
            same = false;
            continue;
        }
        fd->oldDbsType = static_cast<int>(dbGet32(stored, dbFieldRecType) & 0xFF);
        fd->oldDbsOffs = dbGet32(stored, dbFieldRecOffset);
        fd->oldDbsSize = dbGet32(stored, dbFieldRecSize);
        if (fd->oldDbsType != fd->type || fd->oldDbsOffs != fd->dbsOffs
            || (fd->oldDbsSize != fd->dbsSize && fd->type != dbFieldInfo::tpStructure)) {
            same = false;
        }
        if (fd->oldDbsType != fd->type)
            continue;
        if (fd->indexType & dbFieldInfo::HASHED) {
            fd->hashTable = dbGet32(stored, dbFieldRecHashTable);
            dbPut32(stored, dbFieldRecHashTable, 0);
        }
        if (fd->indexType & dbFieldInfo::INDEXED) {
            fd->tTree = dbGet32(stored, dbFieldRecTTree);
            dbPut32(stored, dbFieldRecTTree, 0);
        }
    }
    return same;
}

bool dbTableInfo::EqualsStored(const uint8_t* rec)
{
    dbDictionaryRecord dict(rec);
    if (dict.ColumnCount() != static_cast<uint32_t>(nColumns)
        || dict.FieldCount() != static_cast<uint32_t>(nFields) || dict.FixedSize() != fixedSize) {
        return false;
    }
    uint32_t i = 0;
    for (dbFieldInfo* fd = firstField; fd; fd = fd->nextField, ++i) {
        const uint8_t* f = dict.Field(i);
        if (strcmp(dbDictionaryRecord::FieldName(f), fd->longName) != 0
            || strcmp(dbDictionaryRecord::FieldTableName(f), RefTableName(fd)) != 0
            || strcmp(dbDictionaryRecord::FieldInverse(f), OrEmpty(fd->inverseRefName)) != 0
            || dbGet32(f, dbFieldRecOffset) != fd->dbsOffs
            || dbGet32(f, dbFieldRecType) != TypeWord(fd)) {
            return false;
        }
    }
    i = 0;
    for (dbFieldInfo* fd = firstField; fd; fd = fd->nextField, ++i) {
        fd->hashTable = dbGet32(dict.Field(i), dbFieldRecHashTable);
        fd->tTree = dbGet32(dict.Field(i), dbFieldRecTTree);
    }
    return true;
}

void dbTableInfo::SetIndexFlagsFromStored()
{
    for (dbFieldInfo* fd = firstField; fd; fd = fd->nextField) {
        if (fd->tTree)
            fd->indexType |= dbFieldInfo::INDEXED;
        else if (fd->hashTable)
            fd->indexType |= dbFieldInfo::HASHED;
    }
}
