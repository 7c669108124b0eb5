// Consistency check of an open image's working state, for tests and
// diagnostics: the object index, the allocation bitmap and the free list
// must agree.
#pragma once

#include <string>

class dbEngine;

class dbImageChecker {
public:
    // True when consistent; otherwise problems (when given) receives one
    // line per fault found, at most a few dozen. Checked:
    //  - header: current root 0 or 1, index sizes and entries in use;
    //  - every live object lies inside the allocatable area, 16-aligned,
    //    and overlaps no other object, index or the header;
    //  - the working bitmap marks exactly the header, both indices, the live
    //    objects of the working state and the committed versions that the
    //    transaction replaced (no leak, no object on free space);
    //  - the free list visits only free entries, without a cycle, and holds
    //    every free user identifier below the entries in use;
    //  - every index object (T-tree, hash and R-tree headers, nodes, pages
    //    and items) is reached from exactly one index that a field of a
    //    stored table names;
    //  - with no change pending, both indices hold the same entries.
    static bool Check(const dbEngine& engine, std::string* problems = nullptr);
};
