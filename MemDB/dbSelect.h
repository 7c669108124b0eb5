// ORDER BY comparison of two records, shared by select execution, sorting
// and the parallel scan's merge.
#ifndef VEXAL_MEMDB_DBSELECT_H
#define VEXAL_MEMDB_DBSELECT_H

#include "MemDB/dbQueryTree.h"

#include <cstdint>

class dbEngine;

// Negative, zero or positive as record a orders before, with or after b
// under the keys; reals order with NaN above every number.
int dbOrderCompare(dbEngine* db, uint32_t a, uint32_t b, const dbOrderKey* keys,
                   const uint8_t* tableRow, const char* params);

// How the calling thread's last select found its records.
struct dbSelectPlan {
    int indexSearches;  // index searches made for the condition
    int hashSearches;   // those answered by a hash index
    int spatialSearches;  // those answered by an R-tree
    int inverseSearches;  // searches that followed inverse references back
    int treeWalks;      // walks of the ORDER BY field's tree index
    int rowsScanned;    // rows the scan tested
    bool allRows;       // the cursor walks the table's row list
    bool byId;          // the condition named one record
    bool sorted;        // the selection was sorted afterwards
    bool reversed;      // the selection was reversed instead of sorted
};

const dbSelectPlan& dbLastSelectPlan();

#endif
