// The indices of one field: its hash index and its tree index (an R-tree
// for a rectangle field, a T-tree for any other), kept in step by the
// record operations through these entry points.
#pragma once

#include <cstddef>
#include <cstdint>

class dbEngine;
class dbFieldInfo;
struct dbIndexSearch;

class dbFieldIndex {
public:
    // A new, empty tree index of the field's kind.
    static uint32_t CreateTree(dbEngine* db, const dbFieldInfo* field);
    // Frees a tree index held for a field of the given stored type.
    static void DropTree(dbEngine* db, int type, uint32_t treeId);

    static void InsertIntoTree(dbEngine* db, const dbFieldInfo* field, uint32_t recordId);

    // Adds the record to, or removes it from, every index the field has.
    // The hash index grows only while its bucket count is below growthLimit.
    static void Insert(dbEngine* db, const dbFieldInfo* field, uint32_t recordId,
                       size_t growthLimit);
    static void Remove(dbEngine* db, const dbFieldInfo* field, uint32_t recordId);
    // Empties every index the field has.
    static void Clear(dbEngine* db, const dbFieldInfo* field);
};
