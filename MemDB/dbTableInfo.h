// Table descriptors: one per application record type, describing its fields
// to the engine, and the dictionary records written from them.
//
// Static descriptors (those without a clone source) form one global chain,
// changed only under GetDescriptorChainLock(). A descriptor is bound to at
// most one engine at a time; its table identifier is that of its dictionary
// record there, 0 while unbound.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MemDB/dbFieldInfo.h"

class dbEngine;
class dbSectionLock;
class dbTableInfo;

// Head of the chain of static descriptors (linked through next).
extern dbTableInfo* dbStaticTableChain;

class dbTableInfo {
public:
    typedef dbFieldInfo* (*DescribeFunc)();

    // engine: null (the first engine that loads the schema binds it), an
    // engine, or Detached (every engine works on its own clone).
    dbTableInfo(const char* name, dbEngine* engine, size_t appSize, DescribeFunc describe,
                dbTableInfo* cloneSource = nullptr);
    ~dbTableInfo();
    dbTableInfo(const dbTableInfo&) = delete;
    dbTableInfo& operator=(const dbTableInfo&) = delete;

    static dbEngine* const Detached;

    dbFieldInfo* FindField(const char* name);
    dbFieldInfo* FindInternedField(const char* name);
    dbTableInfo* CloneFor();
    // A descriptor of the stored table whose dictionary record is rec, for
    // an engine without an application descriptor of it: its fields as
    // stored, with an application layout made from their types (texts as
    // char*, arrays as dbAnyArray). Null when a field has no such form (a
    // method field, an array of elements of another size than 1, 2, 4, 8
    // or 16 bytes). Not a static descriptor: the engine owns it.
    static dbTableInfo* FromDictionary(dbEngine* engine, const uint8_t* rec);

    size_t DictionaryRecordSize() const;
    void WriteDictionaryRecord(uint8_t* rec) const;
    bool MatchStored(uint8_t* rec);
    bool EqualsStored(const uint8_t* rec);
    void SetIndexFlagsFromStored();
    bool CheckInverseReferences();

    static dbSectionLock& GetDescriptorChainLock();

    dbTableInfo* next;
    dbTableInfo* nextDbTable;
    const char* name;
    uint32_t tableId;
    dbFieldInfo* columns;
    dbFieldInfo* hashedFields;
    dbFieldInfo* indexedFields;
    dbFieldInfo* inverseFields;
    dbFieldInfo* firstField;
    dbEngine* db;
    bool fixedDatabase;
    bool isStatic;
    size_t appSize;
    size_t fixedSize;
    int nFields;
    int nColumns;
    dbTableInfo* cloneOf;
    DescribeFunc describe;
    dbTableInfo* collisionChain;

private:
    dbTableInfo(const char* name, dbEngine* engine, dbFieldInfo* fields);
    void Layout(dbFieldInfo* fields, size_t declaredSize);
    size_t ComputeLayout(dbFieldInfo* ring, const char* prefix, size_t base, uint32_t allowed,
                         uint32_t* containerAttr, size_t* appAlign);
    void LinkIntoChain();
    void UnlinkFromChain();

    dbFieldInfo** lastField;
    dbFieldInfo** lastHashed;
    dbFieldInfo** lastIndexed;
    dbFieldInfo** lastInverse;
};
