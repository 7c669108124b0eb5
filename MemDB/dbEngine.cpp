#include "MemDB/dbEngine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

const size_t maxDatabaseNameLength = 180;

} // namespace

dbEngine::dbEngine(dbAccessType accessType, size_t initSize, size_t extensionQuantum,
                   size_t initIndexSize, int nThreads)
    : accessType(accessType), initSize(initSize), extensionQuantum(extensionQuantum),
      initIndexSize(initIndexSize), freeSpaceReuseThreshold(extensionQuantum),
      sizeLimit(dbMaxImageSize - (size_t(64) << 20)), baseAddr(nullptr),
      header(nullptr), currIndex(nullptr), index{nullptr, nullptr}, nThreads(1), modified(false),
      smallObjectPosition{2, 0}, pageObjectPosition{2, 0}, allocatedAreas(nullptr),
      databaseName(nullptr), databaseNameLength(0), fileName(nullptr), sectionVersion(0),
      committedIndexSize(0), currIndexSize(0), updatedRecordId(0), waitLockTimeout(-1),
      kernelScope(dbProcessLocal), monitor(nullptr), tables(nullptr), opened(false),
      allocatedSize(0), deallocatedSize(0), commitDelay(0), commitTimeout(0),
      commitTimerStarted(0), delayedCommitEventsOpened(false), delayedCommitContext(nullptr),
      backupFileName(nullptr), backupPeriod(0), stopDelayedCommitThread(false),
      backupThreadRunning(false), commitThreadRunning(false), errorHandler(nullptr),
      errorHandlerContext(nullptr), clientId(0),
      parallelScanThreshold(dbDefaultParallelScanThreshold)
{
    pthread_key_create(&threadStateKey, nullptr);
    for (int32_t& hole : maxHoles)
        hole = 0x7fffffff;
    SetThreadCount(nThreads);
    memset(tableHash, 0, sizeof tableHash);
}

dbEngine::~dbEngine()
{
    free(databaseName);
    free(fileName);
    free(backupFileName);
    threadContextList.Unlink();
    pthread_key_delete(threadStateKey);
}

void dbEngine::SetThreadCount(int n)
{
    if (n <= 0) {
        long processors = sysconf(_SC_NPROCESSORS_ONLN);
        n = processors > 0 ? static_cast<int>(processors) : 1;
    }
    nThreads = n > dbMaxThreads ? dbMaxThreads : n;
}

int dbEngine::GetVersion() const
{
    return header != nullptr ? header->majorVersion * 100 + header->minorVersion : 0;
}

void dbEngine::KernelName(char* buffer, size_t size, const char* suffix) const
{
    snprintf(buffer, size, "%s.%s", databaseName, suffix);
}

bool dbEngine::OpenWithParameters(const OpenParameters& p)
{
    if (opened) {
        HandleError(dbDatabaseOpenError, "Database is already opened");
        return false;
    }
    accessType = p.accessType;
    initSize = p.initSize;
    extensionQuantum = p.extensionQuantum;
    initIndexSize = p.initIndexSize;
    SetThreadCount(p.nThreads);
    freeSpaceReuseThreshold = p.freeSpaceReuseThreshold;
    parallelScanThreshold = p.parallelScanThreshold;
    return Open(p.databaseName, p.fileName, p.waitLockTimeoutMs, p.commitDelaySec);
}

bool dbEngine::OpenFailed(const char* message, bool createdInitMutex)
{
    HandleError(dbDatabaseOpenError, message);
    ReleaseOpenObjects(createdInitMutex);
    return false;
}

bool dbEngine::Open(const char* name, const char* dataFileName, int waitLockTimeoutMs,
                    unsigned commitDelaySec)
{
    if (opened) {
        HandleError(dbDatabaseOpenError, "Database is already opened");
        return false;
    }
    if (name == nullptr || *name == '\0' || strlen(name) > maxDatabaseNameLength
        || strchr(name, '/') != nullptr) {
        HandleError(dbDatabaseOpenError, "Invalid database name");
        return false;
    }
    if (accessType < dbReadOnly || accessType > dbConcurrentUpdate) {
        HandleError(dbDatabaseOpenError, "Invalid access mode");
        return false;
    }

    // 1. Reset what a previous open left.
    waitLockTimeout = waitLockTimeoutMs;
    free(databaseName);
    free(fileName);
    free(backupFileName);
    databaseName = fileName = backupFileName = nullptr;
    commitDelay = 0;
    commitTimeout = 0;
    commitTimerStarted = 0;
    delayedCommitEventsOpened = false;
    delayedCommitContext = nullptr;
    stopDelayedCommitThread = false;
    backupPeriod = 0;
    opened = false;
    memset(tableHash, 0, sizeof tableHash);

    // 2. Names, and the mutex that serialises initialisation.
    databaseNameLength = strlen(name);
    databaseName = static_cast<char*>(malloc(databaseNameLength + 16));
    memcpy(databaseName, name, databaseNameLength + 1);
    if (dataFileName != nullptr) {
        fileName = strdup(dataFileName);
    } else {
        fileName = static_cast<char*>(malloc(databaseNameLength + 5));
        snprintf(fileName, databaseNameLength + 5, "%s.fdb", name);
    }
    kernelScope = accessType == dbConcurrentRead || accessType == dbConcurrentUpdate
        ? dbSystemWide : dbProcessLocal;

    char objectName[256];
    KernelName(objectName, sizeof objectName, "in");
    if (initMutex.Open(objectName, dbKernelSync::Semaphore, 0, 1, kernelScope) != 0)
        return OpenFailed("Failed to start database initialization", false);
    bool create = initMutex.WasCreated();
    if (!create) {
        if (!initMutex.Wait(-1))
            return OpenFailed("Failed to start database initialization", false);
        initMutex.Release();
    }

    // 3. The monitor.
    KernelName(objectName, sizeof objectName, "dm");
    if (monitorSection.Open(objectName, sizeof(dbSharedMonitor), kernelScope, false) != 0)
        return OpenFailed("Failed to open database monitor", create);
    monitor = reinterpret_cast<dbSharedMonitor*>(monitorSection.Base());

    // 4. Semaphores and the backup-completed event.
    KernelName(objectName, sizeof objectName, "ws");
    if (writeSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope) != 0)
        return OpenFailed("Failed to initialize database writers semaphore", create);
    KernelName(objectName, sizeof objectName, "rs");
    if (readSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope) != 0)
        return OpenFailed("Failed to initialize database readers semaphore", create);
    KernelName(objectName, sizeof objectName, "us");
    if (upgradeSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope) != 0)
        return OpenFailed("Failed to initialize database upgrade semaphore", create);
    KernelName(objectName, sizeof objectName, "bce");
    if (backupCompletedEvent.Open(objectName, dbKernelSync::ManualEvent, 0, 1, kernelScope) != 0)
        return OpenFailed("Failed to initialize database backup completed event", create);

    // 5. Delayed-commit events.
    if (commitDelaySec != 0) {
        KernelName(objectName, sizeof objectName, "dce");
        if (delayedCommitStopTimerEvent.Open(objectName, dbKernelSync::ManualEvent, 0, 1,
                                             kernelScope) != 0)
            return OpenFailed("Failed to initialize delayed commit event", create);
        delayedCommitStartTimerEvent.Open(nullptr, dbKernelSync::ManualEvent, 0, 1, dbProcessLocal);
        commitThreadSyncEvent.Open(nullptr, dbKernelSync::ManualEvent, 0, 1, dbProcessLocal);
        delayedCommitEventsOpened = true;
    }
    backupInitEvent.Open(nullptr, dbKernelSync::ManualEvent, 0, 1, dbProcessLocal);

    // 6. Sizes and allocation state.
    holeCache.Reset();
    ForgetRowOwners();
    allocatedSize = deallocatedSize = 0;
    if (initSize > dbMaxImageSize || initIndexSize > dbMaxImageSize / 16)
        return OpenFailed("Invalid database size", create);
    size_t indexSize = initIndexSize < dbFirstUserId ? size_t(dbFirstUserId) : initIndexSize;
    indexSize = (indexSize + dbHandlesPerPage - 1) & ~size_t(dbHandlesPerPage - 1);
    size_t sectionSize = initSize != 0 ? initSize : size_t(dbDefaultImageSize);
    if (sectionSize < indexSize * 16)
        sectionSize = indexSize * 16;
    sectionSize = (sectionSize + dbBitmapPageCoverage - 1) & ~size_t(dbBitmapPageCoverage - 1);
    if (sectionSize > dbMaxImageSize || indexSize * 8 + dbPageSize >= sectionSize)
        return OpenFailed("Invalid database size", create);
    initIndexSize = indexSize;
    for (int32_t& hole : maxHoles)
        hole = 0x7fffffff;
    smallObjectPosition = {2, 0};
    pageObjectPosition = {2, 0};
    allocatedAreas = nullptr;
    tables = nullptr;
    modified = false;
    clientId = 0;
    sectionVersion = 0;
    Attach();

    // 7. Create or attach.
    if (create) {
        KernelName(objectName, sizeof objectName, "cs");
        if (monitorSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope) != 0)
            return OpenFailed("Failed to initialize database monitor", create);
        if (accessType == dbConcurrentRead || accessType == dbConcurrentUpdate) {
            KernelName(objectName, sizeof objectName, "mcs");
            if (mutatorSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope) != 0)
                return OpenFailed("Failed to initialize database monitor", create);
        }
        writeSem.Reset();
        readSem.Reset();
        upgradeSem.Reset();
        memset(monitor, 0, sizeof(dbSharedMonitor));
        monitor->sem = 1;
        monitor->mutatorSem = 1;
        monitor->concurrentTransId = 1;
        monitor->sectionVersion = 1;
        if (MapImage(1, sectionSize, dbCreateOrOpen) != 0)
            return OpenFailed("Failed to create database file", create);
        monitor->size = static_cast<uint32_t>(file.Size());
        if (header->curr != 0 && header->curr != 1)
            return OpenFailed("Database file was corrupted: invalid root index", create);
        if (header->initialized) {
            if (!header->IsModeCompatible())
                return OpenFailed("Incompatible database mode", create);
            monitor->curr = header->curr;
            if (header->dirty) {
                if (IsReadOnlyMode())
                    return OpenFailed("Can not open dirty file in read only mode", create);
                RecoverImage();
            } else if (header->size != file.Size()) {
                return OpenFailed(
                    "Database file was corrupted: file size in header differs from actual file size",
                    create);
            }
        } else {
            if (IsReadOnlyMode())
                return OpenFailed("Can not open uninitialized file in read only mode", create);
            InitializeImage();
        }
    } else {
        KernelName(objectName, sizeof objectName, "cs");
        if (monitorSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope,
                            dbOpenExisting) != 0)
            return OpenFailed("Failed to open shared semaphore", create);
        if (accessType == dbConcurrentRead || accessType == dbConcurrentUpdate) {
            KernelName(objectName, sizeof objectName, "mcs");
            if (mutatorSem.Open(objectName, dbKernelSync::Semaphore, 0, 1000000, kernelScope,
                                dbOpenExisting) != 0)
                return OpenFailed("Failed to open shared semaphore", create);
        }
        // Hold the image from now on, so that it outlives its creator even
        // before this engine's first transaction.
        EnterMonitor();
        int error = MapImage(monitor->sectionVersion, monitor->size, dbOpenExisting);
        LeaveMonitor();
        if (error != 0)
            return OpenFailed("Failed to open database file", create);
    }

    // 8. Register as a client.
    EnterMonitor();
    monitor->users++;
    clientId = ++monitor->clientId;
    LeaveMonitor();

    // 9. Bind the schema. A load that fails, by result or by exception,
    // leaves nothing held.
    bool loaded;
    try {
        loaded = LoadSchema(create);
    } catch (...) {
        EnterMonitor();
        monitor->users--;
        LeaveMonitor();
        ReleaseOpenObjects(create);
        throw;
    }
    if (create)
        initMutex.Release();
    if (!loaded) {
        EnterMonitor();
        monitor->users--;
        LeaveMonitor();
        ReleaseOpenObjects(false);
        return false;
    }

    // 10. Open, and start the delayed-commit thread.
    opened = true;
    if (commitDelaySec != 0) {
        dbCriticalSection cs(commitTimerLock);
        commitDelay = commitTimeout = commitDelaySec;
        if (pthread_create(&commitThread, nullptr, DelayedCommitThread, this) == 0) {
            commitThreadRunning = true;
            commitThreadSyncEvent.Wait();
        }
    }
    return true;
}

// A failure leaves the section mapped before in place, so that threads
// inside transactions go on reading it. The base never moves once mapped:
// the pointers are written only when they change, as threads read them.
int dbEngine::MapImage(int version, size_t size, dbOpenDisposition disposition)
{
    char objectName[256];
    snprintf(objectName, sizeof objectName, "%s.%d", databaseName, version);
    int error = file.Open(objectName, IsReadOnlyMode(), size, kernelScope, disposition);
    if (error != 0) {
        if (!file.IsOpen())
            UnmapImage();
        return error;
    }
    if (baseAddr != file.Base()) {
        baseAddr = file.Base();
        header = reinterpret_cast<dbImageHeader*>(baseAddr);
    }
    sectionVersion = version;
    return 0;
}

void dbEngine::UnmapImage()
{
    file.Close();
    baseAddr = nullptr;
    header = nullptr;
    currIndex = index[0] = index[1] = nullptr;
    sectionVersion = 0;
}

void dbEngine::ReleaseOpenObjects(bool createdInitMutex)
{
    FreeThreadStates();
    UnmapImage();
    backupInitEvent.Close();
    delayedCommitStartTimerEvent.Close();
    commitThreadSyncEvent.Close();
    delayedCommitStopTimerEvent.Close();
    delayedCommitEventsOpened = false;
    mutatorSem.Close();
    monitorSem.Close();
    backupCompletedEvent.Close();
    upgradeSem.Close();
    readSem.Close();
    writeSem.Close();
    monitor = nullptr;
    monitorSection.Close();
    if (createdInitMutex)
        initMutex.Release();
    initMutex.Close();
}

void dbEngine::InitializeImage()
{
    oid_t indexSize = static_cast<oid_t>(initIndexSize);
    header->curr = 0;
    header->dirty = 0;
    header->size = static_cast<offs_t>(file.Size());
    for (int r = 0; r < 2; r++) {
        dbIndexRoot& root = header->root[r];
        root.index = dbPageSize + r * indexSize * 4;
        root.shadowIndex = dbPageSize + (1 - r) * indexSize * 4;
        root.indexSize = root.shadowIndexSize = indexSize;
        root.indexUsed = dbFirstUserId;
        root.freeList = 0;
    }
    header->majorVersion = dbMajorVersion;
    header->minorVersion = dbMinorVersion;
    header->mode = dbImageMode;
    index[0] = reinterpret_cast<oid_t*>(baseAddr + header->root[0].index);
    index[1] = reinterpret_cast<oid_t*>(baseAddr + header->root[1].index);
    index[0][0] = dbFreeHandleFlag;

    // The header, both indices and the first bitmap pages are used space.
    offs_t used = dbPageSize + 8 * indexSize;
    oid_t bitmapPages = (used + dbBitmapPageUsable - 1) / dbBitmapPageUsable;
    memset(baseAddr + used, 0xFF, (used + dbPageSize * bitmapPages) / 128);
    for (oid_t i = 0; i < bitmapPages; i++)
        index[0][dbBitmapId + i] = (used + i * dbPageSize) | dbBitmapPageKind;
    for (oid_t i = bitmapPages; i < dbBitmapPages; i++)
        index[0][dbBitmapId + i] = dbFreeHandleFlag;

    currIndex = index[0];
    currIndexSize = dbFirstUserId;
    committedIndexSize = 0;
    InitMetatable();

    header->dirty = 1;
    memcpy(index[1], index[0], currIndexSize * sizeof(oid_t));
    file.Flush();
    header->initialized = 1;
    file.Flush();
    // Both indices now describe the laid-out image: nothing to commit.
    modified = false;
}

void dbEngine::RecoverImage()
{
    int c = header->curr;
    int w = 1 - c;
    header->size = static_cast<offs_t>(file.Size());
    dbIndexRoot& committed = header->root[c];
    dbIndexRoot& working = header->root[w];
    working.indexUsed = committed.indexUsed;
    working.freeList = committed.freeList;
    working.index = committed.shadowIndex;
    working.indexSize = committed.shadowIndexSize;
    working.shadowIndex = committed.index;
    working.shadowIndexSize = committed.indexSize;
    oid_t* from = reinterpret_cast<oid_t*>(baseAddr + committed.index);
    oid_t* to = reinterpret_cast<oid_t*>(baseAddr + working.index);
    for (oid_t i = 0; i < committed.indexUsed; i++) {
        if (to[i] != from[i])
            to[i] = from[i];
    }
    RefreshIndexPointers(w);
    RepairRowLists();
}

// The view is shared by the engine's threads: readers that begin while
// others read find it current and leave it untouched.
void dbEngine::RefreshIndexPointers(int workRoot)
{
    int c = monitor != nullptr ? monitor->curr : header->curr;
    oid_t* first = reinterpret_cast<oid_t*>(baseAddr + header->root[0].index);
    oid_t* second = reinterpret_cast<oid_t*>(baseAddr + header->root[1].index);
    oid_t* working = workRoot == 0 ? first : second;
    if (index[0] != first)
        index[0] = first;
    if (index[1] != second)
        index[1] = second;
    if (currIndex != working)
        currIndex = working;
    if (currIndexSize != header->root[workRoot].indexUsed)
        currIndexSize = header->root[workRoot].indexUsed;
    if (committedIndexSize != header->root[c].indexUsed)
        committedIndexSize = header->root[c].indexUsed;
}

// Section versions only grow. The threads of an engine remap one at a time,
// and a thread that read an older version than the one mapped leaves it: it
// never takes the engine back to a smaller section.
bool dbEngine::CheckSectionVersion()
{
    int error = 0;
    for (;;) {
        EnterMonitor();
        const int version = monitor->sectionVersion;
        const size_t size = monitor->size;
        LeaveMonitor();
        {
            dbCriticalSection cs(remapLock);
            if (version <= sectionVersion)
                return true;
            error = MapImage(version, size, dbOpenExisting);
            if (error == 0)
                return true;
        }
        // The writer may have grown the image again and dropped this version.
        EnterMonitor();
        const bool moved = monitor->sectionVersion != version;
        LeaveMonitor();
        if (!moved)
            break;
    }
    dbThreadState* state = GetThreadState();
    if (state != nullptr)
        EndTransaction(state);
    if (error == ENOENT)
        HandleError(dbDatabaseOpenError, "Failed to open database file");
    else if (error == EBADFD)
        HandleError(dbFileAccessError, "File size is not matched", error);
    else
        HandleError(dbFileAccessError, "Failed to reopen database file", error);
    return false;
}

void dbEngine::SetSizeLimit(size_t bytes)
{
    const size_t limit = bytes < dbMaxImageSize ? bytes : size_t(dbMaxImageSize);
    sizeLimit = limit & ~size_t(dbBitmapPageCoverage - 1);
}

// Past the size limit the image grows only by what the change under way
// asks for.
void dbEngine::GrowImage(size_t requiredSize)
{
    if (requiredSize > (pastLimitAllowed ? size_t(dbMaxImageSize) : sizeLimit))
        Fail(dbFileLimitExceeded);
    const size_t roundUp = dbBitmapPageCoverage - 1;
    size_t oldSize = header->size;
    size_t newSize = oldSize * 2;
    if (newSize < requiredSize + extensionQuantum)
        newSize = requiredSize + extensionQuantum;
    newSize = (newSize + roundUp) & ~roundUp;
    const size_t cap =
        requiredSize > sizeLimit ? (requiredSize + extensionQuantum + roundUp) & ~roundUp : sizeLimit;
    if (newSize > cap)
        newSize = cap;
    if (newSize > dbMaxImageSize)
        newSize = dbMaxImageSize;

    // A fresh section under the next free version; a leftover one is skipped.
    dbSharedMemory grown;
    int version = monitor->sectionVersion;
    char objectName[256];
    for (int attempt = 0; attempt < 16; attempt++) {
        snprintf(objectName, sizeof objectName, "%s.%d", databaseName, ++version);
        if (grown.Open(objectName, newSize, kernelScope, false) == 0 && grown.WasCreated())
            break;
        grown.Close();
    }
    if (!grown.IsOpen())
        Fail(dbFileLimitExceeded);
    memcpy(grown.Base(), baseAddr, oldSize);
    reinterpret_cast<dbImageHeader*>(grown.Base())->size = static_cast<offs_t>(newSize);

    int workRoot = static_cast<int>(currIndex == index[1]);
    {
        dbCriticalSection cs(remapLock);
        if (MapImage(version, newSize, dbOpenExisting) != 0)
            Fail(dbFileLimitExceeded);
    }
    EnterMonitor();
    monitor->sectionVersion = version;
    monitor->size = static_cast<uint32_t>(newSize);
    LeaveMonitor();
    index[0] = reinterpret_cast<oid_t*>(baseAddr + header->root[0].index);
    index[1] = reinterpret_cast<oid_t*>(baseAddr + header->root[1].index);
    currIndex = index[workRoot];
}

void dbEngine::FreeThreadStates()
{
    {
        dbCriticalSection cs(threadContextListLock);
        while (!threadContextList.IsEmpty()) {
            dbThreadState* state = static_cast<dbThreadState*>(threadContextList.next);
            state->Unlink();
            while (!state->cursors.IsEmpty())
                state->cursors.next->Unlink();
            delete state;
        }
    }
    // Threads that never detached still hold the freed states in the slot:
    // a new key leaves every thread without one.
    pthread_key_delete(threadStateKey);
    pthread_key_create(&threadStateKey, nullptr);
}

void dbEngine::Close()
{
    if (opened)
        DoClose();
}

void dbEngine::DoClose()
{
    // 1. The closing thread's pending changes are committed.
    if (GetThreadState() != nullptr)
        Detach(dbCommitOnDetach | dbDestroyOnDetach);

    // 2. Stop the backup thread.
    if (backupThreadRunning) {
        {
            dbCriticalSection cs(backupLock);
            free(backupFileName);
            backupFileName = nullptr;
        }
        backupInitEvent.Release();
        pthread_join(backupThread, nullptr);
        backupThreadRunning = false;
    }

    // 3. Stop the delayed-commit thread.
    if (commitThreadRunning) {
        delayedCommitStopTimerEvent.Release();
        {
            dbCriticalSection cs(commitTimerLock);
            stopDelayedCommitThread = true;
            delayedCommitStartTimerEvent.Release();
        }
        pthread_join(commitThread, nullptr);
        commitThreadRunning = false;
    }

    // 4. Free the states of threads that did not detach.
    FreeThreadStates();

    // 5. Leave the monitor's client list; a clean image is no longer dirty.
    backupInitEvent.Close();
    if (accessType == dbConcurrentUpdate)
        EnterMutator();
    EnterMonitor();
    opened = false;
    monitor->users--;
    if (header != nullptr && header->dirty && !IsReadOnlyMode() && monitor->nWriters == 0) {
        file.Flush();
        header->dirty = 0;
    }
    LeaveMonitor();
    if (accessType == dbConcurrentUpdate)
        LeaveMutator();

    // 6. Unbind the tables.
    UnbindTables();

    // 7. Release the section and the kernel objects.
    free(databaseName);
    databaseName = nullptr;
    treeBatches.DiscardAll();
    UnmapImage();
    initMutex.Close();
    monitorSem.Close();
    monitor = nullptr;
    monitorSection.Close();
    readSem.Close();
    writeSem.Close();
    upgradeSem.Close();
    backupCompletedEvent.Close();
    delayedCommitStopTimerEvent.Close();
    delayedCommitStartTimerEvent.Close();
    commitThreadSyncEvent.Close();
    delayedCommitEventsOpened = false;
    mutatorSem.Close();
}
