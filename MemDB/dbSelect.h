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

#endif
