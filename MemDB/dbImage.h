// Layout of the storage image.
//
// The image is one block addressed by 32-bit little-endian byte offsets:
//   [0, 4096)                    dbImageHeader, the rest of the page zero
//   [4096, 4096 + 4n)            object index 0 (n = index size in entries)
//   [4096 + 4n, 4096 + 8n)       object index 1
//   then the first bitmap pages, then records and internal objects.
// Entry i of an index belongs to identifier i. An entry with the top bit set
// is free and holds the next free identifier in its low 31 bits; otherwise it
// is an offset (a multiple of 16) with the object kind in its low three bits.
// Bit i of the bitmap marks the 16-byte quantum at offset 16 * i as used;
// bitmap page k (identifier k + 2) covers [k * 524288, (k + 1) * 524288).
// Offsets stay below 2 GB so that no offset looks like a free entry.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint32_t oid_t;
typedef uint32_t offs_t;

enum dbImageConstants : uint32_t {
    dbPageSize = 4096,
    dbAllocationQuantum = 16,
    dbAllocationQuantumBits = 4,
    dbHandlesPerPageBits = 10,              // 4096 / 4 index entries per index page
    dbHandlesPerPage = 1 << dbHandlesPerPageBits,
    dbBitmapPageCoverage = dbPageSize * 8 * dbAllocationQuantum, // 524288 bytes
    dbBitmapPageUsable = dbBitmapPageCoverage - dbPageSize,      // 520192
    dbBitmapPages = 8192,
    dbBitmapId = 2,                        // identifier of bitmap page 0
    dbFirstUserId = dbBitmapId + dbBitmapPages, // 8194
    dbMetatableId = 1,
    dbFreeHandleFlag = 0x80000000u,
    dbFlagsMask = 7,
    dbFlagsBits = 3,
    dbMaxImageSize = 0x80000000u,
    dbDefaultImageSize = 0x10000000u,
    dbMajorVersion = 3,
    dbMinorVersion = 49,
    dbImageMode = 64
};

// Kinds of object held in the low bits of an index entry.
enum dbObjectKind : uint32_t {
    dbRecordKind = 0,
    dbBitmapPageKind = 1,
    dbTtreeKind = 2,
    dbTtreeNodeKind = 3,
    dbHashTableKind = 4,
    dbHashTableItemKind = 5,
    dbRtreeKind = 6,
    dbRtreePageKind = 7
};

// Stored size of an internal object of the given kind; 0 for records, whose
// size is in their header.
uint32_t dbInternalObjectSize(uint32_t kind);

struct dbIndexRoot {
    offs_t index;
    offs_t shadowIndex;
    oid_t indexSize;
    oid_t shadowIndexSize;
    oid_t indexUsed;
    oid_t freeList;
};

struct dbImageHeader {
    offs_t size;
    int32_t curr;
    int32_t dirty;
    int32_t initialized;
    dbIndexRoot root[2];
    int32_t majorVersion;
    int32_t minorVersion;
    int32_t mode;

    // An image newer than 3.28 must have been written in this mode.
    bool IsModeCompatible() const
    {
        return majorVersion * 100 + minorVersion <= 328 || mode == dbImageMode;
    }
};

struct dbRecordHeader {
    uint32_t size;
    oid_t next;
    oid_t prev;
};

static_assert(sizeof(dbIndexRoot) == 24, "index root layout");
static_assert(sizeof(dbImageHeader) == 76, "image header layout");
static_assert(offsetof(dbImageHeader, root) == 16, "image header layout");
static_assert(offsetof(dbImageHeader, majorVersion) == 64, "image header layout");
static_assert(sizeof(dbRecordHeader) == 12, "record header layout");

inline uint32_t dbAlignUp(uint32_t x, uint32_t alignment)
{
    return (x + alignment - 1) & ~(alignment - 1);
}
