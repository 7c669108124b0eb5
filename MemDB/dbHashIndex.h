// The hash index: a chained hash table of one field's keys, answering
// equality searches in constant time.
//
// Header (12 bytes, object kind 4): bucket count, number of non-empty
// buckets, identifier of the first bucket page. Bucket pages (4096 bytes,
// kind 1, consecutive identifiers) hold 1024 bucket heads each: bucket b is
// slot b % 1024 of page b / 1024. Items (12 bytes, kind 5): next item of the
// chain, record identifier, hash code of the record's key.
//
// Invariants: the bucket count is a prime of the growth table; every record
// of the table has exactly one item, in the chain of bucket code % count;
// the non-empty count is the number of non-zero heads. Keys are not
// stored: an item's key is read from its record, and only items whose code
// equals the searched code are compared.
#pragma once

#include <cstddef>
#include <cstdint>

class dbEngine;
struct dbIndexSearch;

struct dbHashHeader {
    uint32_t size;       // bucket count
    uint32_t used;       // non-empty buckets
    uint32_t firstPage;
};

struct dbHashItem {
    uint32_t next;
    uint32_t record;
    uint32_t hash;
};

// Hash code of a key that is not a string (size bytes of the field's type).
typedef uint32_t (*dbKeyHashFunction)(const void* key, int type, size_t size);

class dbHashIndex {
public:
    enum { BucketsPerPage = 1024, MinRequestedSize = 16383 };

    // Buckets of a new index: the first prime of the growth table not below
    // the request (at least MinRequestedSize), the largest prime at most.
    static uint32_t BucketCount(size_t requestedSize);
    // The next prime of the growth table; 0 at the largest.
    static uint32_t GrownBucketCount(uint32_t buckets);

    // A new, empty index of at least the requested number of buckets.
    static uint32_t Create(dbEngine* db, size_t requestedSize);
    // Grows first when the bucket count is below growthLimit and more than
    // two thirds of the buckets are in use (0: never grows); a growth that
    // cannot allocate leaves the table as it is.
    static void Insert(dbEngine* db, uint32_t hashId, uint32_t recordId, int type, size_t size,
                       size_t offs, size_t growthLimit);
    // The record must still hold the key it was inserted with; a record the
    // index does not hold leaves it unchanged.
    static void Remove(dbEngine* db, uint32_t hashId, uint32_t recordId, int type, size_t size,
                       size_t offs);
    // Reports every record whose key equals the search's low key through
    // the filter and the cursor's adding rule; false when the rule stopped.
    static bool Find(dbEngine* db, uint32_t hashId, dbIndexSearch& search);
    static void Clear(dbEngine* db, uint32_t hashId);
    static void Drop(dbEngine* db, uint32_t hashId);

    // The key hash of images of the given version (major * 100 + minor).
    static dbKeyHashFunction FunctionFor(int version);
    static uint32_t StringHash(const char* text, size_t length);
    // Hash code of a key of the field's type; a string key is its text.
    static uint32_t KeyHash(dbKeyHashFunction function, const void* key, int type, size_t size);
};
