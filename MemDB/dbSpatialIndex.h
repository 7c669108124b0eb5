// The spatial index of a rectangle field: an R-tree.
//
// Header (8 bytes, object kind 6): height (number of page levels, 0 when
// empty) and the root page. Pages (4084 bytes, kind 7): a branch count and
// up to 204 branches of a rectangle and an identifier: a child page on inner
// levels, a record on the leaf level (level 1).
//
// Invariants: every leaf is at level 1 and the root at the height; every
// page but the root holds 102 to 204 branches; an inner branch's rectangle
// is the cover of its child's branches; every record of the table has one
// leaf branch, under the rectangle its field holds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MemDB/dbFieldInfo.h"

class dbEngine;
struct dbIndexSearch;

struct dbRtreeBranch {
    dbRectangle rect;
    uint32_t id;
};

struct dbRtreePage {
    enum { MaxBranches = 204, MinBranches = 102 };
    uint32_t n;
    dbRtreeBranch branch[MaxBranches];
};

struct dbRtreeHeader {
    uint32_t height;
    uint32_t root;
};

class dbSpatialIndex {
public:
    static uint32_t Create(dbEngine* db);
    // Adds the record under the rectangle stored at offs in it.
    static void Insert(dbEngine* db, uint32_t treeId, uint32_t recordId, size_t offs);
    static void Insert(dbEngine* db, uint32_t treeId, const dbRectangle& rect, uint32_t recordId);
    // The record must still hold the rectangle it was inserted under; a
    // record absent under it leaves the tree unchanged.
    static void Remove(dbEngine* db, uint32_t treeId, uint32_t recordId, size_t offs);
    // Reports every record whose rectangle stands to the search's rectangle
    // (its low key) as its spatial operation says, through the filter and
    // the cursor's adding rule; false when the rule stopped the search.
    static bool Find(dbEngine* db, uint32_t treeId, dbIndexSearch& search);
    static void Clear(dbEngine* db, uint32_t treeId);
    static void Drop(dbEngine* db, uint32_t treeId);
};
