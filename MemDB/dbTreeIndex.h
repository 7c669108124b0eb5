// The ordered index: a T-tree, an AVL-balanced binary tree whose nodes hold
// up to 125 record identifiers sorted by the key of one field.
//
// Invariants: the items of a node are in ascending order of key and, among
// equal keys, of record identifier; every item in a node's left subtree
// orders before its first item and every item in its right subtree after
// its last; a node's balance is the height of its right subtree minus that
// of its left, within -1..1. Keys are not stored: an item's key is read from
// its record at the field's offset.
// The header (4 bytes, object kind 2) holds the root node; nodes are 512-byte
// objects of kind 3.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MemDB/dbFieldInfo.h"

class dbEngine;
class dbRecordCursor;
struct dbIndexSearch;

struct dbTtreeNode {
    enum { MaxItems = 125 };
    uint32_t left;
    uint32_t right;
    int8_t balance;
    uint8_t pad;
    uint16_t nItems;
    uint32_t item[MaxItems];
};

class dbTreeIndex {
public:
    static uint32_t Create(dbEngine* db);
    static void Insert(dbEngine* db, uint32_t treeId, uint32_t recordId, int type, size_t size,
                       dbComparator cmp, size_t offs);
    // The record must still hold the key it was inserted with; a record the
    // tree does not hold leaves it unchanged.
    static void Remove(dbEngine* db, uint32_t treeId, uint32_t recordId, int type, size_t size,
                       dbComparator cmp, size_t offs);
    // Whether the tree holds recordId under the key: 1 found, 0 absent.
    static int Contains(dbEngine* db, uint32_t treeId, uint32_t recordId, const void* key,
                        int type, size_t size, dbComparator cmp, size_t offs);
    static void Clear(dbEngine* db, uint32_t treeId);
    static void Drop(dbEngine* db, uint32_t treeId);

    // Report, in key order, through the search's filter and its cursor's
    // adding rule; each returns false when the rule stopped the search.
    static bool Find(dbEngine* db, uint32_t treeId, dbIndexSearch& search);
    static bool FindPrefixesOf(dbEngine* db, uint32_t treeId, dbIndexSearch& search);
    static bool WalkForward(dbEngine* db, uint32_t treeId, dbIndexSearch& search);
    static bool WalkBackward(dbEngine* db, uint32_t treeId, dbIndexSearch& search);
};
