// Transactions: the shared and exclusive locks counted in the monitor, commit
// by flipping the image header's current root, and rollback to it.
#include "MemDB/dbEngine.h"

#include <cstring>

namespace {

enum WaitRole { ReaderRole, WriterRole, UpgraderRole };

bool IsDirtyPage(const dbSharedMonitor* monitor, oid_t page)
{
    return (monitor->dirtyPagesMap[page >> 5] >> (page & 31)) & 1;
}

} // namespace

void dbEngine::EnterMonitor()
{
    if (__atomic_sub_fetch(&monitor->sem, 1, __ATOMIC_ACQ_REL) != 0)
        monitorSem.Wait(-1);
}

void dbEngine::LeaveMonitor()
{
    if (__atomic_add_fetch(&monitor->sem, 1, __ATOMIC_ACQ_REL) < 1)
        monitorSem.Release();
}

void dbEngine::EnterMutator()
{
    if (__atomic_sub_fetch(&monitor->mutatorSem, 1, __ATOMIC_ACQ_REL) != 0)
        mutatorSem.Wait(-1);
}

void dbEngine::LeaveMutator()
{
    if (__atomic_add_fetch(&monitor->mutatorSem, 1, __ATOMIC_ACQ_REL) < 1)
        mutatorSem.Release();
}

void dbEngine::Attach()
{
    if (GetThreadState() != nullptr)
        return;
    dbThreadState* state = new dbThreadState;
    state->threadId = dbCurrentThreadId();
    {
        dbCriticalSection cs(threadContextListLock);
        state->LinkAfter(&threadContextList);
    }
    pthread_setspecific(threadStateKey, state);
}

void dbEngine::RemoveThreadState(dbThreadState* state)
{
    {
        dbCriticalSection cs(threadContextListLock);
        state->Unlink();
        while (!state->cursors.IsEmpty())
            state->cursors.next->Unlink();
    }
    if (GetThreadState() == state)
        pthread_setspecific(threadStateKey, nullptr);
    delete state;
}

void dbEngine::SetThreadState(dbThreadState* state)
{
    pthread_setspecific(threadStateKey, state);
}

bool dbEngine::IsInWriteTransaction()
{
    dbThreadState* state = GetThreadState();
    return state != nullptr && (state->holdsExclusiveLock || state->holdsMutatorLock);
}

bool dbEngine::IsLockFree()
{
    dbThreadState* state = GetThreadState();
    return state == nullptr
        || (!state->holdsSharedLock && !state->holdsExclusiveLock && !state->holdsMutatorLock);
}

bool dbEngine::IsWriteAccessRequested()
{
    dbThreadState* state = GetThreadState();
    return state != nullptr && state->writeAccess;
}

bool dbEngine::IsAttached()
{
    return GetThreadState() != nullptr;
}

// Waits for a grant. After a full lock timeout without one, the holder is
// taken for dead (at most once per timeout for the whole database): its lock
// is dropped and the waiter takes the lock itself.
bool dbEngine::WaitSemaphore(dbKernelSync& semaphore)
{
    WaitRole role = &semaphore == &readSem ? ReaderRole
        : &semaphore == &upgradeSem        ? UpgraderRole
                                           : WriterRole;
    for (;;) {
        if (semaphore.Wait(waitLockTimeout))
            return true;
        EnterMonitor();
        uint32_t now = static_cast<uint32_t>(dbTickCount());
        if (now - monitor->lastDeadlockRecoveryTime < static_cast<uint32_t>(waitLockTimeout)) {
            LeaveMonitor();
            continue;
        }
        monitor->lastDeadlockRecoveryTime = now;
        if (monitor->nWriters != 0)
            RecoverDeadlock();
        switch (role) {
        case ReaderRole:
            monitor->nWaitReaders--;
            monitor->nReaders++;
            break;
        case UpgraderRole:
            monitor->waitForUpgrade = 0;
            monitor->nWaitWriters--;
            monitor->nReaders = 0;
            monitor->nWriters = 1;
            break;
        case WriterRole:
            monitor->nWaitWriters--;
            monitor->nReaders = 0;
            monitor->nWriters = 1;
            break;
        }
        LeaveMonitor();
        return true;
    }
}

// Drops the recorded writer: its uncommitted changes are discarded, in the
// image it may have grown, and so are the record places it set aside.
void dbEngine::RecoverDeadlock()
{
    monitor->nWriters = 0;
    monitor->ownerThreadId = 0;
    monitor->uncommittedChanges = 0;
    DiscardDeferredSpace();
    {
        dbCriticalSection cs(remapLock);
        if (monitor->sectionVersion > sectionVersion
            && MapImage(monitor->sectionVersion, monitor->size, dbOpenExisting) != 0)
            return; // the transaction's own remap reports the failure
    }
    if (!IsReadOnlyMode() && header != nullptr && header->dirty) {
        RecoverImage();
        memset(monitor->dirtyPagesMap, 0, sizeof monitor->dirtyPagesMap);
        for (int32_t& hole : maxHoles)
            hole = 0x7fffffff;
        smallObjectPosition = pageObjectPosition = {2, 0};
    }
}

bool dbEngine::BeginTransaction(dbLockType lockType)
{
    if (monitor == nullptr) {
        HandleError(dbDatabaseOpenError, "Database is not opened");
        return false;
    }
    if (lockType != dbSharedLock && IsReadOnlyMode())
        Fail(dbDatabaseReadOnly, "Attempt to modify readonly database");
    Attach();
    dbThreadState* state = GetThreadState();

    // 1. A pending delayed commit of this thread is taken back.
    bool countedDelayedWait = false;
    if (commitDelay != 0 && lockType != dbCommitLock) {
        dbCriticalSection cs(commitLock);
        if (state->commitPending) {
            uint64_t waited = (dbTickCount() - commitTimerStarted) / 1000;
            commitTimeout = waited < commitTimeout ? commitTimeout - static_cast<unsigned>(waited) : 0;
            delayedCommitContext = nullptr;
            monitor->delayedCommitContext = 0;
            state->commitPending = false;
            delayedCommitStopTimerEvent.Release();
        } else {
            EnterMonitor();
            monitor->waitForDelayedCommit++;
            LeaveMonitor();
            countedDelayedWait = true;
        }
    }

    // 2.
    if (lockType != dbSharedLock)
        state->writeAccess = 1;

    if (accessType == dbConcurrentUpdate && lockType != dbCommitLock) {
        // 3. Writers of a concurrent-update database share the image with
        // readers, who read the committed index; writers exclude each other.
        if (!state->holdsMutatorLock) {
            EnterMutator();
            state->holdsMutatorLock = 1;
        }
    } else if (lockType == dbSharedLock) {
        // 4.
        if (!state->holdsSharedLock && !state->holdsExclusiveLock) {
            EnterMonitor();
            if (monitor->nWriters + monitor->nWaitWriters != 0) {
                monitor->nWaitReaders++;
                LeaveMonitor();
                if (commitDelay != 0)
                    delayedCommitStopTimerEvent.Release();
                WaitSemaphore(readSem);
            } else {
                monitor->nReaders++;
                LeaveMonitor();
            }
            state->holdsSharedLock = 1;
        }
    } else {
        // 5.
        if (state->holdsExclusiveLock) {
            if (monitor->ownerThreadId != state->threadId)
                Fail(dbLockRevoked);
        } else {
            EnterMonitor();
            if (state->holdsSharedLock) {
                if (monitor->nReaders == 1) {
                    monitor->nReaders = 0;
                    monitor->nWriters = 1;
                    LeaveMonitor();
                } else if (monitor->waitForUpgrade) {
                    LeaveMonitor();
                    Fail(dbDeadlock);
                } else {
                    monitor->waitForUpgrade = 1;
                    monitor->upgradeId = clientId;
                    monitor->nWaitWriters++;
                    LeaveMonitor();
                    WaitSemaphore(upgradeSem);
                }
                state->holdsSharedLock = 0;
            } else if (monitor->nWriters != 0 || monitor->nReaders != 0) {
                monitor->nWaitWriters++;
                LeaveMonitor();
                WaitSemaphore(writeSem);
            } else {
                monitor->nWriters = 1;
                LeaveMonitor();
            }
            monitor->ownerThreadId = state->threadId;
            state->holdsExclusiveLock = 1;
        }
        if (lockType == dbCommitLock)
            return true;
    }

    // 6.
    if (countedDelayedWait) {
        EnterMonitor();
        monitor->waitForDelayedCommit--;
        LeaveMonitor();
    }
    if (!CheckSectionVersion())
        return false;

    // 7.
    EnterMonitor();
    int c = monitor->curr;
    RefreshIndexPointers(accessType == dbConcurrentRead ? c : 1 - c);
    LeaveMonitor();
    return true;
}

void dbEngine::Commit()
{
    dbThreadState* state = GetThreadState();
    if (state == nullptr || state->commitPending || monitor == nullptr)
        return;
    if (state->holdsExclusiveLock && monitor->ownerThreadId != state->threadId)
        Fail(dbLockRevoked);

    EnterMonitor();
    bool hasChanges = modified && !monitor->commitInProgress
        && (monitor->uncommittedChanges || state->holdsExclusiveLock || state->holdsMutatorLock
            || state->concurrentId == monitor->concurrentTransId);
    LeaveMonitor();
    if (!hasChanges) {
        if (!IsLockFree())
            EndTransaction(state);
        return;
    }
    treeBatches.SettleAll(this);
    if (!state->holdsExclusiveLock)
        BeginTransaction(accessType == dbConcurrentUpdate ? dbCommitLock : dbExclusiveLock);
    if (commitDelay == 0) {
        CommitImage(state);
    } else {
        dbCriticalSection cs(commitLock);
        delayedCommitContext = state;
        monitor->delayedCommitContext = static_cast<uint32_t>(clientId);
        state->commitPending = true;
        delayedCommitStopTimerEvent.Reset();
        delayedCommitStartTimerEvent.Release();
    }
}

void dbEngine::CommitImage(dbThreadState* state)
{
    int c = header->curr;
    int w = 1 - c;

    // 1. The committed root's index becomes the next working index, so it
    // must be as large as the working one. A commit frees space: it may
    // pass the size limit to get there.
    if (header->root[c].indexSize < header->root[w].indexSize) {
        LimitWaiver waiver(*this);
        oid_t size = header->root[w].indexSize;
        offs_t shadow = AllocateSpace(size_t(size) * sizeof(oid_t));
        header->root[w].shadowIndex = shadow;
        header->root[w].shadowIndexSize = size;
        CopyBitmapPages(header->root[c].index, size_t(header->root[c].indexSize) * sizeof(oid_t));
        FreeSpace(header->root[c].index, size_t(header->root[c].indexSize) * sizeof(oid_t));
    }

    // 2. Readers wait until the switch is done (step 8): the engine's index
    // view, which its threads share, changes until then.
    EnterMonitor();
    monitor->commitInProgress = 1;
    LeaveMonitor();

    // 3. Free the committed versions that this transaction replaced.
    oid_t oldCommittedSize = committedIndexSize;
    for (oid_t page = 0; page < (oldCommittedSize + dbHandlesPerPage - 1) / dbHandlesPerPage; page++) {
        if (!IsDirtyPage(monitor, page))
            continue;
        oid_t end = (page + 1) * dbHandlesPerPage;
        if (end > oldCommittedSize)
            end = oldCommittedSize;
        for (oid_t i = page * dbHandlesPerPage; i < end; i++) {
            const oid_t* committed = reinterpret_cast<oid_t*>(baseAddr + header->root[c].index);
            oid_t old = committed[i];
            if (old == currIndex[i] || (old & dbFreeHandleFlag))
                continue;
            offs_t offset = old & ~dbFlagsMask;
            uint32_t kind = old & dbFlagsMask;
            size_t size = kind != dbRecordKind
                ? dbInternalObjectSize(kind)
                : reinterpret_cast<dbRecordHeader*>(baseAddr + offset)->size;
            FreeSpace(offset, size);
        }
    }
    FreeDeferredSpace();

    // 4.
    file.Flush();
    while (monitor->backupInProgress)
        backupCompletedEvent.Wait();

    // 5. The switch: root w is now the committed state.
    header->curr = w;
    file.Flush();

    // 6.
    header->root[c].indexUsed = currIndexSize;
    header->root[c].freeList = header->root[w].freeList;

    // 7. Bring the next working index up to date.
    oid_t usedPages = (currIndexSize + dbHandlesPerPage - 1) / dbHandlesPerPage;
    oid_t* working = reinterpret_cast<oid_t*>(baseAddr + header->root[w].index);
    if (header->root[0].indexSize == header->root[1].indexSize) {
        oid_t* next = reinterpret_cast<oid_t*>(baseAddr + header->root[c].index);
        oid_t tail = oldCommittedSize & ~(dbHandlesPerPage - 1);
        for (oid_t page = 0; page < tail / dbHandlesPerPage; page++) {
            if (IsDirtyPage(monitor, page)) {
                memcpy(next + page * dbHandlesPerPage, working + page * dbHandlesPerPage, dbPageSize);
                monitor->dirtyPagesMap[page >> 5] &= ~(1u << (page & 31));
            }
        }
        if (currIndexSize > tail)
            memcpy(next + tail, working + tail, size_t(currIndexSize - tail) * sizeof(oid_t));
    } else {
        dbIndexRoot& next = header->root[c];
        const dbIndexRoot& committed = header->root[w];
        next.index = committed.shadowIndex;
        next.indexSize = committed.shadowIndexSize;
        next.shadowIndex = committed.index;
        next.shadowIndexSize = committed.indexSize;
        memcpy(baseAddr + next.index, working, size_t(currIndexSize) * sizeof(oid_t));
    }
    memset(monitor->dirtyPagesMap, 0, ((usedPages + 31) / 32) * sizeof(uint32_t));

    // 8.
    EnterMonitor();
    // The committer keeps a shared lock; waiting readers are admitted.
    modified = false;
    monitor->modified = 0;
    monitor->uncommittedChanges = 0;
    monitor->commitInProgress = 0;
    monitor->curr = w;
    monitor->concurrentTransId++;
    RefreshIndexPointers(c);
    monitor->nWriters--;
    monitor->nReaders++;
    monitor->ownerThreadId = 0;
    if (monitor->nWaitReaders > 0) {
        int waiting = monitor->nWaitReaders;
        monitor->nReaders += waiting;
        monitor->nWaitReaders = 0;
        readSem.Release(waiting);
    }
    LeaveMonitor();
    state->holdsExclusiveLock = 0;
    state->holdsSharedLock = 1;

    // 9.
    if (!IsLockFreeState(state))
        EndTransaction(state);
}

void dbEngine::Rollback()
{
    dbThreadState* state = GetThreadState();
    if (state == nullptr || monitor == nullptr)
        return;
    if (modified
        && (monitor->uncommittedChanges || state->holdsExclusiveLock || state->holdsMutatorLock
            || state->concurrentId == monitor->concurrentTransId)) {
        if (!state->holdsExclusiveLock)
            BeginTransaction(accessType == dbConcurrentUpdate ? dbCommitLock : dbExclusiveLock);
        treeBatches.DiscardAll();
        smallObjectPosition = pageObjectPosition = {2, 0};
        for (int32_t& hole : maxHoles)
            hole = 0x7fffffff;
        int c = header->curr;
        int w = 1 - c;
        dbIndexRoot& committed = header->root[c];
        dbIndexRoot& working = header->root[w];
        // The committed root's shadow is the working index unless the index
        // grew in this transaction; then the whole committed index goes back.
        const oid_t* from = reinterpret_cast<oid_t*>(baseAddr + committed.index);
        oid_t* to = reinterpret_cast<oid_t*>(baseAddr + committed.shadowIndex);
        oid_t committedSize = committed.indexUsed;
        oid_t pages = (committedSize + dbHandlesPerPage - 1) / dbHandlesPerPage;
        bool sameIndex = committed.shadowIndex == working.index;
        for (oid_t page = 0; page < pages; page++) {
            if (sameIndex && !IsDirtyPage(monitor, page))
                continue;
            oid_t first = page * dbHandlesPerPage;
            oid_t count = committedSize - first < dbHandlesPerPage ? committedSize - first
                                                                   : oid_t(dbHandlesPerPage);
            memcpy(to + first, from + first, size_t(count) * sizeof(oid_t));
        }
        oid_t usedPages = (currIndexSize + dbHandlesPerPage - 1) / dbHandlesPerPage;
        if (usedPages < pages)
            usedPages = pages;
        working.index = committed.shadowIndex;
        working.indexSize = committed.shadowIndexSize;
        working.indexUsed = committed.indexUsed;
        working.freeList = committed.freeList;
        EnterMonitor();
        memset(monitor->dirtyPagesMap, 0, ((usedPages + 31) / 32) * sizeof(uint32_t));
        modified = false;
        monitor->modified = 0;
        monitor->uncommittedChanges = 0;
        monitor->concurrentTransId++;
        RefreshIndexPointers(accessType == dbConcurrentRead ? c : w);
        LeaveMonitor();
        DiscardDeferredSpace();
        RepairRowLists();
    }
    if (monitor->users > 0)
        EndTransaction(state);
}

void dbEngine::EndTransaction(dbThreadState* state)
{
    // A writer letting go without a commit leaves its changes whole.
    if (state->holdsExclusiveLock || state->holdsMutatorLock)
        treeBatches.SettleAll(this);
    // 1. Cursors lose their selections.
    if (!state->commitPending) {
        dbListLink* link = state->cursors.next;
        while (link != &state->cursors) {
            dbListLink* next = link->next;
            static_cast<dbTransactionCursor*>(link)->OnTransactionEnd();
            link = next;
        }
    }
    // 2. Hand the exclusive lock on: to one writer, else to every waiting reader.
    if (state->holdsExclusiveLock) {
        EnterMonitor();
        state->writeAccess = 0;
        monitor->nWriters--;
        monitor->ownerThreadId = 0;
        if (monitor->nWaitWriters > 0) {
            monitor->nWaitWriters--;
            monitor->nWriters = 1;
            writeSem.Release();
        } else if (monitor->nWaitReaders > 0) {
            int waiting = monitor->nWaitReaders;
            monitor->nReaders = waiting;
            monitor->nWaitReaders = 0;
            readSem.Release(waiting);
        }
        LeaveMonitor();
    }
    // 3. The last reader admits an upgrading reader or a writer.
    if (state->holdsSharedLock) {
        EnterMonitor();
        monitor->nReaders--;
        if (monitor->nReaders == 1 && monitor->waitForUpgrade) {
            monitor->waitForUpgrade = 0;
            monitor->nWaitWriters--;
            monitor->nWriters = 1;
            monitor->nReaders = 0;
            upgradeSem.Release();
        } else if (monitor->nReaders == 0 && monitor->nWaitWriters > 0) {
            monitor->nWaitWriters--;
            monitor->nWriters = 1;
            writeSem.Release();
        }
        LeaveMonitor();
    }
    // 4.
    state->holdsSharedLock = 0;
    state->holdsExclusiveLock = 0;
    if (state->holdsMutatorLock) {
        state->holdsMutatorLock = 0;
        LeaveMutator();
    }
}

void dbEngine::ReleaseWithoutCommit(dbThreadState* state)
{
    state->concurrentId = monitor->concurrentTransId;
    EndTransaction(state);
}

void dbEngine::Detach(int flags)
{
    dbThreadState* state = GetThreadState();
    if (state == nullptr)
        return;
    if (monitor != nullptr) {
        if (flags & dbCommitOnDetach) {
            Commit();
        } else {
            EnterMonitor();
            monitor->uncommittedChanges = 1;
            LeaveMonitor();
            ReleaseWithoutCommit(state);
        }
    }
    if (flags & dbDestroyOnDetach) {
        dbCriticalSection cs(commitLock);
        if (state->commitPending)
            state->removeAfterCommit = true;
        else
            RemoveThreadState(state);
    }
    pthread_setspecific(threadStateKey, nullptr);
}
