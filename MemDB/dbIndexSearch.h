// The request an index answers: key bounds over one field, an optional
// filter, and the cursor whose selection receives what is found.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MemDB/dbFieldInfo.h"

class dbEngine;
class dbRecordCursor;
class dbOpNode;
struct dbIndexSearch;

// Whether record id satisfies the search's condition.
typedef bool (*dbSearchFilter)(dbIndexSearch& search, uint32_t id);

struct dbIndexSearch {
    dbEngine* db = nullptr;
    dbOpNode* condition = nullptr;       // filter condition, or null
    dbSearchFilter filter = nullptr;     // tests condition; null passes every record
    dbRecordCursor* cursor = nullptr;
    const void* firstKey = nullptr;      // low bound, null for none
    bool firstKeyInclusion = true;
    const void* lastKey = nullptr;       // high bound, null for none
    bool lastKeyInclusion = true;
    int type = 0;                        // field type code
    size_t sizeofType = 0;               // stored size of the field
    size_t prefixLength = 0;             // leading bytes that must equal the low key
    dbComparator comparator = nullptr;   // for raw binary keys
    size_t offs = 0;                     // stored offset of the field
    int spatialOp = 0;                   // spatial search: dbSpatialOp, low key the rectangle
    int probes = 0;                      // index nodes visited
};
