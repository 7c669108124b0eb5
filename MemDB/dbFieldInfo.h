// Field descriptors: how one field of an application record maps to its
// stored form, and the conversions between the two forms.
//
// A stored record is a 12-byte dbRecordHeader, a fixed part (each field at
// its stored offset) and a varying part holding the characters of strings
// and the elements of arrays, in field order. A string or array field in the
// fixed part holds {count, offset}; the offset is relative to the structure
// that holds the field: the record for top-level fields and their structure
// members, the element for fields inside an array element.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

class dbTableInfo;

// Application form of an array field: count, data pointer, allocated count.
// An array fetched from a one-to-one layout points into the stored record and
// owns nothing (allocated 0); otherwise it owns its elements.
struct dbAnyArray {
    uint32_t used;
    void* data;
    uint32_t allocated;
};

template <class T>
struct dbArray : dbAnyArray {
    dbArray() : dbAnyArray{0, nullptr, 0} {}
    dbArray(const dbArray&) = delete;
    dbArray& operator=(const dbArray&) = delete;
    ~dbArray() { Clear(); }

    size_t Length() const { return used; }
    const T& operator[](size_t i) const { return static_cast<const T*>(data)[i]; }
    T& operator[](size_t i) { return static_cast<T*>(data)[i]; }
    void Clear()
    {
        if (allocated != 0)
            delete[] static_cast<T*>(data);
        data = nullptr;
        used = allocated = 0;
    }
    void Assign(const T* items, size_t n)
    {
        Resize(n);
        for (size_t i = 0; i < n; ++i)
            (*this)[i] = items[i];
    }
    void Resize(size_t n)
    {
        Clear();
        if (n != 0) {
            data = new T[n]();
            allocated = static_cast<uint32_t>(n);
        }
        used = static_cast<uint32_t>(n);
    }
    // Sets the array to n elements: pointing at image data when given,
    // else owning n value-initialised elements.
    static void Allocate(dbAnyArray* a, void* image, size_t n)
    {
        auto* self = static_cast<dbArray*>(a);
        if (image) {
            self->Clear();
            self->data = image;
            self->used = static_cast<uint32_t>(n);
        } else {
            self->Resize(n);
        }
    }
};

// A record identifier held in a field.
struct dbReference {
    uint32_t oid;
};

struct dbRectangle {
    int32_t left, top, right, bottom;
};

// The value of a field computed from its record rather than stored: a
// method field has no place in the stored or the application record.
class dbFieldMethod {
public:
    virtual ~dbFieldMethod() = default;
    // Writes the value for the stored record at record into value, in the
    // result type's application form (8 bytes of room); a text result is a
    // char* allocated with malloc, which the caller frees.
    virtual void Invoke(const void* record, void* value) const = 0;
};

typedef int (*dbComparator)(const void* a, const void* b, size_t size);
typedef void (*dbArrayAllocator)(dbAnyArray* a, void* image, size_t n);

class dbFieldInfo {
public:
    enum Type : uint8_t {
        tpBool = 0,
        tpInt1 = 1,
        tpInt2 = 2,
        tpInt4 = 3,
        tpInt8 = 4,
        tpReal4 = 5,
        tpReal8 = 6,
        tpString = 7,
        tpReference = 8,
        tpArray = 9,
        tpMethodBool = 10,      // 10 + type code of the result (bool .. reference)
        tpMethodReference = 18,
        tpStructure = 19,
        tpRawBinary = 20,
        tpStdString = 21,
        tpRectangle = 22,
        tpUnknown = 23
    };
    enum IndexFlags : uint32_t {
        HASHED = 1,
        INDEXED = 2,
        CASCADE = 8,
        BEING_BUILT = 0x80000000u
    };
    enum Attributes : uint32_t {
        ComponentOfArray = 1,
        HasArrayOrString = 2,
        OneToOneMapping = 4,
        Updated = 8
    };

    dbFieldInfo(const char* name, size_t appOffset, size_t appSize, int indexFlags,
                const char* inverse = nullptr, dbFieldInfo* components = nullptr);
    ~dbFieldInfo();
    dbFieldInfo(const dbFieldInfo&) = delete;
    dbFieldInfo& operator=(const dbFieldInfo&) = delete;

    // Sets the character component of a string field.
    void InitComponent();
    dbFieldInfo* FindComponent(const char* name);

    static void FetchRecordFields(dbFieldInfo* ring, uint8_t* app, const uint8_t* rec);
    // Packs app into rec (the holding structure) with the varying part from
    // offs; returns the end of the varying part. rec may be null to measure.
    static size_t StoreRecordFields(dbFieldInfo* ring, uint8_t* rec, const uint8_t* app,
                                    size_t offs);
    static size_t StoredSize(dbFieldInfo* ring, const uint8_t* app, size_t fixedSize);
    static void MarkUpdatedFields(dbFieldInfo* ring, const uint8_t* rec, const uint8_t* app);
    // Rewrites a record from its old layout (old type, offset, size) to the
    // current one; dst null measures. Returns the end of the varying part.
    static size_t ConvertRecord(dbFieldInfo* ring, uint8_t* dst, const uint8_t* src, size_t offs);
    static size_t ConvertedSize(dbFieldInfo* ring, const uint8_t* src, size_t fixedSize);
    // End of the varying part of rec when field skip (an array) is left out.
    static size_t SizeWithoutField(dbFieldInfo* skip, dbFieldInfo* ring, const uint8_t* rec,
                                   size_t fixedSize);
    static size_t CopyWithoutField(dbFieldInfo* skip, dbFieldInfo* ring, uint8_t* dst,
                                   const uint8_t* src, size_t offs);

    // Shifts every text and array pointer of a fetched application record
    // that points into [oldBase, oldBase + oldSize) by shift bytes: the
    // image was mapped anew at another address.
    static void RebasePointers(dbFieldInfo* ring, uint8_t* app, const char* oldBase,
                               size_t oldSize, ptrdiff_t shift);

    // Compares two stored key values of this field's type.
    static int CompareKeys(int type, const void* a, const void* b, size_t size, dbComparator cmp);

    dbFieldInfo* next;
    dbFieldInfo* prev;
    dbFieldInfo* nextField;
    dbFieldInfo* nextHashedField;
    dbFieldInfo* nextIndexedField;
    dbFieldInfo* nextInverseField;
    int fieldNo;
    const char* name;
    char* longName;
    const char* refTableName;
    dbTableInfo* refTable;
    dbTableInfo* defTable;
    dbFieldInfo* inverseRef;
    const char* inverseRefName;
    int type;
    int appType;
    uint32_t indexType;
    size_t dbsOffs;
    size_t appOffs;
    dbFieldInfo* components;
    uint32_t hashTable;
    uint32_t tTree;
    size_t dbsSize;
    size_t appSize;
    size_t alignment;
    dbComparator comparator;
    uint32_t attr;
    int oldDbsType;
    size_t oldDbsOffs;
    size_t oldDbsSize;
    const dbFieldMethod* method;  // for method fields, not owned
    dbArrayAllocator arrayAllocator;

    static bool IsMethod(int type) { return type >= tpMethodBool && type <= tpMethodReference; }
};

// Describing fields. Each helper builds one descriptor with its type codes
// set; dbFieldList joins them into a ring in the given order.
dbFieldInfo* dbFieldList(std::initializer_list<dbFieldInfo*> fields);

template <class T>
struct dbFieldTypeOf;
template <> struct dbFieldTypeOf<bool> { enum { code = dbFieldInfo::tpBool }; };
template <> struct dbFieldTypeOf<int8_t> { enum { code = dbFieldInfo::tpInt1 }; };
template <> struct dbFieldTypeOf<int16_t> { enum { code = dbFieldInfo::tpInt2 }; };
template <> struct dbFieldTypeOf<int32_t> { enum { code = dbFieldInfo::tpInt4 }; };
template <> struct dbFieldTypeOf<int64_t> { enum { code = dbFieldInfo::tpInt8 }; };
template <> struct dbFieldTypeOf<float> { enum { code = dbFieldInfo::tpReal4 }; };
template <> struct dbFieldTypeOf<double> { enum { code = dbFieldInfo::tpReal8 }; };
template <> struct dbFieldTypeOf<char*> { enum { code = dbFieldInfo::tpString }; };
template <> struct dbFieldTypeOf<const char*> { enum { code = dbFieldInfo::tpString }; };
template <> struct dbFieldTypeOf<dbReference> { enum { code = dbFieldInfo::tpReference }; };
template <> struct dbFieldTypeOf<dbRectangle> { enum { code = dbFieldInfo::tpRectangle }; };
template <> struct dbFieldTypeOf<std::string> { enum { code = dbFieldInfo::tpStdString }; };

dbFieldInfo* dbDescribeField(const char* name, size_t offset, int type, int indexFlags = 0);

template <class T>
dbFieldInfo* dbDescribe(const char* name, size_t offset, int indexFlags = 0)
{
    return dbDescribeField(name, offset, dbFieldTypeOf<T>::code, indexFlags);
}

dbFieldInfo* dbDescribeReference(const char* name, size_t offset, const char* table,
                                 const char* inverse = nullptr, int indexFlags = 0);
dbFieldInfo* dbDescribeRaw(const char* name, size_t offset, size_t size,
                           dbComparator cmp = nullptr, int indexFlags = 0);
dbFieldInfo* dbDescribeStruct(const char* name, size_t offset, size_t size,
                              dbFieldInfo* members, int indexFlags = 0);
// An array field whose element is described by element (its name is
// ignored; the element sits at offset 0 of each array slot).
dbFieldInfo* dbDescribeArrayOf(const char* name, size_t offset, dbFieldInfo* element,
                               dbArrayAllocator allocator, const char* inverse = nullptr,
                               int indexFlags = 0);

template <class T>
dbFieldInfo* dbDescribeArray(const char* name, size_t offset)
{
    return dbDescribeArrayOf(name, offset, dbDescribe<T>("[]", 0), &dbArray<T>::Allocate);
}

// A field whose value method computes from the record; resultType is the
// type code of a boolean, integer, real, string or reference. It is never
// indexed.
dbFieldInfo* dbDescribeMethod(const char* name, int resultType, const dbFieldMethod* method);

// An array of references to records of table, optionally the inverse of
// field inverse there.
dbFieldInfo* dbDescribeReferenceArray(const char* name, size_t offset, const char* table,
                                      const char* inverse = nullptr, int indexFlags = 0);

