// The shared monitor: lock counters and transaction state of one database,
// in the section "<name>.dm" that every engine opening the name maps.
// Its counters change only under the monitor's own lock; the two lock words
// change only atomically. The dirty map (one bit per 1024 object index
// entries) is written only by the holder of the exclusive lock.
#pragma once

#include <cstddef>
#include <cstdint>

struct dbSharedMonitor {
    int32_t sem;               // monitor lock: 1 = free, waits on "<name>.cs"
    int32_t mutatorSem;        // mutator lock: 1 = free, waits on "<name>.mcs"
    int32_t nReaders;
    int32_t nWriters;
    int32_t reserved0;
    int32_t nWaitReaders;
    int32_t nWaitWriters;
    int32_t waitForUpgrade;
    int32_t waitForDelayedCommit;
    int32_t backupInProgress;
    int32_t uncommittedChanges;
    int32_t curr;              // copy of the header's current root
    uint32_t size;             // size of the mapped image
    int32_t commitInProgress;
    int32_t concurrentTransId;
    uint32_t lastDeadlockRecoveryTime;
    int32_t sectionVersion;
    int32_t users;
    uint32_t ownerThreadId;
    uint32_t delayedCommitContext;
    uint32_t dirtyPagesMap[131072];
    uint32_t reserved1[64];
    uint32_t rowListVersion;   // bumped by every change of a row list
    int32_t clientId;
    int32_t upgradeId;
    int32_t modified;
};

static_assert(sizeof(dbSharedMonitor) == 524640, "monitor layout");
static_assert(offsetof(dbSharedMonitor, dirtyPagesMap) == 80, "monitor layout");
static_assert(offsetof(dbSharedMonitor, clientId) == 0x80154, "monitor layout");
static_assert(offsetof(dbSharedMonitor, modified) == 0x8015C, "monitor layout");
