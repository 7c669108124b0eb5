// Per-thread, per-engine transaction state. Every thread that uses an engine
// has one (dbEngine::Attach); it lives in the engine's ring of states and in
// the engine's thread-local slot, and is freed by dbEngine::Detach or close.
#pragma once

#include "MemDB/dbOs.h"

#include <cstdint>

// A member of a thread's cursor ring: the end of the thread's transaction
// empties it (the selection is dropped, the cursor stands on no record).
class dbTransactionCursor : public dbListLink {
public:
    virtual void OnTransactionEnd() = 0;

protected:
    ~dbTransactionCursor() = default;
};

struct dbThreadState : dbListLink {
    int32_t holdsSharedLock = 0;
    int32_t holdsExclusiveLock = 0;
    int32_t concurrentId = 0;     // the monitor's transaction number it saw
    int32_t holdsMutatorLock = 0;
    int32_t writeAccess = 0;      // wants to write
    dbListLink cursors;           // ring of dbTransactionCursor
    uint32_t threadId = 0;
    bool commitPending = false;   // handed to the delayed-commit thread
    bool removeAfterCommit = false;
};
