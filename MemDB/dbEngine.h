// The database object: one storage image (see dbImage.h), the shared monitor
// and named kernel objects of its database name, the states of the threads
// that use it, and the tables bound to it.
//
// Every thread that uses an engine is attached (Open attaches the opening
// thread). Reads and writes run inside the calling thread's transaction; a
// change is made copy-on-write against the committed root and becomes durable
// when Commit flips the header's current root.
//
// When its allocatable area is full the image grows into a new, larger
// section, which every engine maps at its next transaction over the same
// reserved address range: the image's base never moves, so an address into it
// stays readable until the engine closes. What it reads follows the working
// index: a change moves the changed object to a new place (GetRow again).
#pragma once

#include "MemDB/dbError.h"
#include "MemDB/dbHashIndex.h"
#include "MemDB/dbHoleCache.h"
#include "MemDB/dbImage.h"
#include "MemDB/dbKernel.h"
#include "MemDB/dbMonitor.h"
#include "MemDB/dbOs.h"
#include "MemDB/dbPagedFile.h"
#include "MemDB/dbThreadState.h"
#include "MemDB/dbTreeBatch.h"
#include "MemDB/dbWorkerPool.h"

#include <cstddef>
#include <cstdint>
#include <pthread.h>
#include <vector>

class dbFieldInfo;
class dbTableInfo;
class dbRecordCursor;
class dbQueryText;
class dbOpNode;
struct dbQueryTree;

// Head of the chain of static table descriptors, kept by dbTableInfo.
extern dbTableInfo* dbStaticTableChain;

class dbEngine {
public:
    enum dbAccessType {
        dbReadOnly = 0,
        dbAllAccess = 1,        // one writer, exclusive
        dbConcurrentRead = 2,
        dbConcurrentUpdate = 3
    };
    enum dbLockType {
        dbSharedLock = 0,
        dbExclusiveLock = 1,
        dbCommitLock = 2        // exclusive, index pointers left as they are
    };
    enum dbDetachFlags { dbCommitOnDetach = 1, dbDestroyOnDetach = 2 };
    enum {
        dbMaxThreads = 64,
        dbDefaultParallelScanThreshold = 1000,
        dbTableHashSize = 1009
    };

    typedef void (*dbErrorHandler)(int code, const char* message, int arg, void* context);

    struct OpenParameters {
        const char* databaseName = nullptr;
        const char* fileName = nullptr;
        unsigned commitDelaySec = 0;
        int waitLockTimeoutMs = -1;
        dbAccessType accessType = dbAllAccess;
        size_t initSize = 0;
        size_t extensionQuantum = 0x400000;
        size_t initIndexSize = 0x80000;
        int nThreads = 1;
        size_t freeSpaceReuseThreshold = 0x400000;
        int parallelScanThreshold = dbDefaultParallelScanThreshold;
    };

    struct dbSpaceStatistics {
        size_t usedBytes;
        size_t holeCount;
        size_t holeBytes;
        size_t minHole;
        size_t maxHole;
        size_t histogram[32];   // holes by size: [16 << i, 16 << (i + 1))
    };

    // ---- Engine object, open and close ----------------------------------

    explicit dbEngine(dbAccessType accessType = dbAllAccess, size_t initSize = 0,
                      size_t extensionQuantum = 0x400000, size_t initIndexSize = 0x80000,
                      int nThreads = 1);
    virtual ~dbEngine();
    dbEngine(const dbEngine&) = delete;
    dbEngine& operator=(const dbEngine&) = delete;

    // False after reporting code 4 with the failing step's message; the
    // engine then holds nothing and may be opened again.
    bool Open(const char* databaseName, const char* fileName = nullptr,
              int waitLockTimeoutMs = -1, unsigned commitDelaySec = 0);
    bool OpenWithParameters(const OpenParameters& parameters);
    void Close();
    bool IsOpen() const { return opened; }

    dbAccessType GetAccessType() const { return accessType; }
    int GetVersion() const;
    void SetThreadCount(int n);
    // The image grows up to the size limit, rounded down to a whole bitmap
    // page's coverage. An insert or update that finds no room below it is
    // refused before it changes anything; a change under way (a removal
    // always, since it frees space) may pass it up to the largest image
    // rather than stop half-way. The default leaves 64 MB for that.
    void SetSizeLimit(size_t bytes);
    size_t GetSizeLimit() const { return sizeLimit; }
    int GetThreadCount() const { return nThreads; }
    const char* GetDatabaseName() const { return databaseName; }
    const char* GetFileName() const { return fileName; }

    // Address of a stored object through the working index.
    char* GetRow(oid_t id) const
    {
        if (currIndex == nullptr)
            ReportClosed();
        return baseAddr + (currIndex[id] & ~dbFlagsMask);
    }

    // ---- Errors ----------------------------------------------------------

    // Code 0 is ignored, code 4 (and code 11 while no static table
    // descriptor exists) is printed to stderr, every other code throws
    // dbException. A user handler, when set, sees every report first.
    virtual void HandleError(int code, const char* message = nullptr, int arg = 0);
    virtual int FormatErrorMessage(char* buffer, size_t bufferSize, int code,
                                   const char* message, int arg);
    dbErrorHandler SetErrorHandler(dbErrorHandler handler, void* context = nullptr);

    // ---- Transactions ----------------------------------------------------

    bool BeginTransaction(dbLockType lockType);
    void Commit();
    void Rollback();
    void Attach();
    void Detach(int flags = dbCommitOnDetach | dbDestroyOnDetach);
    void EndTransaction(dbThreadState* state);

    bool IsInWriteTransaction();
    bool IsLockFree();
    bool IsWriteAccessRequested();
    bool IsAttached();
    void SetThreadState(dbThreadState* state);
    dbThreadState* GetThreadState() const
    {
        return static_cast<dbThreadState*>(pthread_getspecific(threadStateKey));
    }

    // Starts a thread that writes the image to fileName every periodSec
    // seconds until close; a name ending in '?' gets a time stamp per copy.
    bool StartBackup(const char* fileName, int periodSec);
    // Writes the image (or a compacted copy) to a file, replacing it only
    // once the copy is whole on the disk; false, with any earlier backup
    // left as it was, when a backup is already running or any write, flush
    // or close of the copy fails.
    bool WriteBackup(const char* path, bool compactify = false);

    // ---- Space and identifier allocation -----------------------------------

    offs_t AllocateSpace(size_t size, oid_t moveId = 0);
    void FreeSpace(offs_t offset, size_t size);
    void CopyBitmapPages(offs_t offset, size_t size);
    void MarkImageDirty();
    oid_t AllocateIds(int n = 1);
    void FreeIds(oid_t first, int n = 1);
    bool IsSpaceFree(offs_t offset, int quanta) const;
    void MarkSpaceUsed(offs_t offset, int quanta);
    void GetSpaceStatistics(dbSpaceStatistics& statistics);

    // Entries of the working object index. SetEntry points an identifier
    // handed out by AllocateIds at its object.
    oid_t GetEntry(oid_t id) const { return currIndex[id]; }
    void SetEntry(oid_t id, offs_t offset, dbObjectKind kind) { currIndex[id] = offset | kind; }
    oid_t GetCurrentIndexSize() const { return currIndexSize; }
    oid_t GetCommittedIndexSize() const { return committedIndexSize; }
    const dbImageHeader* GetHeader() const { return header; }
    const char* GetBase() const { return baseAddr; }
    int GetSectionVersion() const { return sectionVersion; }

    // True when the identifier belongs to the committed state unchanged.
    bool IsShared(oid_t id) const
    {
        return id < committedIndexSize && index[0][id] == index[1][id];
    }
    // Marks the index page of an identifier as changed in this transaction.
    void SetDirty(oid_t id) { monitor->dirtyPagesMap[id >> 15] |= 1u << ((id >> 10) & 31); }

    dbHoleCache& GetHoleCache() { return holeCache; }
    dbTreeBatches& GetTreeBatches() { return treeBatches; }
    size_t GetAllocatedBytes() const { return allocatedSize; }
    size_t GetFreedBytes() const { return deallocatedSize; }

    // ---- Dictionary and schema ---------------------------------------------

    // Writes the Metatable's own dictionary record (identifier 1).
    void InitMetatable();
    // Clears the next link of the last row of every stored table.
    void RepairRowLists();
    // Binds the application's table descriptors to the image and commits.
    bool LoadSchema(bool alter);

    // ---- Records, cursors and schema upkeep (tables) -----------------------

    // Record operations. Insert, update, remove and table deletion take the
    // exclusive lock. An identifier that is not a live record of the table
    // (free, out of range, an index object, another table's row) is refused:
    // update, remove and fetch then do nothing and report false.
    // Texts of a fetched record point into the image. Record space given up
    // in a transaction is reused only after the commit, and the image never
    // moves, so they read the fetched values until then.
    oid_t InsertRecord(dbTableInfo* table, const void* record);
    bool UpdateRecord(oid_t id, dbTableInfo* table, const void* record);
    bool RemoveRecord(dbTableInfo* table, oid_t id);
    bool FetchRecord(oid_t id, dbTableInfo* table, void* record);
    void DeleteTable(dbTableInfo* table);
    bool IsRecordOf(oid_t id, const dbTableInfo* table) const;

    // Internal objects of the indices.
    oid_t AllocateObject(dbObjectKind kind);
    void FreeObject(oid_t id);
    const char* GetObject(oid_t id) const { return GetRow(id); }
    char* PutObject(oid_t id) { return MakePrivate(id); }
    // The writable copy of an object in this transaction.
    char* MakePrivate(oid_t id);
    // Gives record id a place of newSize bytes (links kept, body not copied).
    char* PlaceRecord(oid_t id, size_t newSize);

    // Bound tables.
    void BindTable(dbTableInfo* table, oid_t tableId);
    dbTableInfo* FindTableByInternedName(const char* name) const;
    dbTableInfo* FindBoundTable(dbTableInfo* table) const;
    // Unbinds every table; clones and descriptors made from the dictionary
    // for this engine are destroyed.
    void UnbindTables();
    // Takes one table out of the name lookup; it stays listed (table
    // identifier 0) until the engine closes.
    void UnbindTable(dbTableInfo* table);
    // The bound table of that name, which need not be interned.
    dbTableInfo* FindTable(const char* name) const;
    // Binds a descriptor made from the dictionary to every stored table
    // that no descriptor of this engine describes; returns how many.
    int LoadDictionary();

    // Schema changes on the open image; each takes the exclusive lock,
    // commits (with whatever else the transaction changed), and answers false, changing nothing, for a table not bound to this engine,
    // a field not of the table or one that cannot carry the index, an index
    // the field has already (create) or lacks (drop). A new index is filled
    // with every row.
    bool CreateHashIndex(dbTableInfo* table, dbFieldInfo* field);
    bool CreateTreeIndex(dbTableInfo* table, dbFieldInfo* field);
    bool DropHashIndex(dbTableInfo* table, dbFieldInfo* field);
    bool DropTreeIndex(dbTableInfo* table, dbFieldInfo* field);
    // Removes the table's rows, indices and dictionary record; the
    // descriptor is unbound, so later record operations and cursors on it
    // are refused.
    bool DropTable(dbTableInfo* table);

    // Frees the record places set aside during the transaction; the commit
    // calls it, a rollback forgets them with DiscardDeferredSpace.
    void FreeDeferredSpace();
    void DiscardDeferredSpace() { deferredAreas.clear(); }
    // ---- end of records, cursors and schema upkeep ------------------------

    // ---- Select execution (query) -------------------------------------------

    // Fills the cursor's selection from a query, compiling it first when it
    // has no compiled part for the cursor's table under this schema.
    void Select(dbRecordCursor* cursor, dbQueryText& query);
    bool EvaluateCondition(const dbOpNode* condition, oid_t id, const uint8_t* tableRow,
                           const char* params);
    int32_t GetSchemaVersion() const { return schemaVersion; }
    // Hash of the hash indices' keys, chosen from the image's version when
    // the schema is loaded.
    dbKeyHashFunction GetKeyHash() const { return keyHash; }

private:
    void FollowBy(dbRecordCursor* cursor, const dbQueryTree& q, const dbOpNode* condition,
                  const uint8_t* tableRow, const char* params);
    int32_t schemaVersion = 0;
    dbKeyHashFunction keyHash = dbHashIndex::FunctionFor(dbMajorVersion * 100 + dbMinorVersion);
    // ---- end of select execution --------------------------------------------

protected:
    virtual void DoClose();

private:
    friend class dbImageChecker;
    friend class dbTreeBatches;

    struct dbAllocatedArea {
        offs_t offset;
        size_t size;
        dbAllocatedArea* next;
    };
    struct dbAllocationPosition {
        int page;      // bitmap page slot: 2 .. 8193
        int offset;    // byte within the bitmap page
    };

    bool IsReadOnlyMode() const
    {
        return accessType == dbReadOnly || accessType == dbConcurrentRead;
    }
    static bool IsLockFreeState(const dbThreadState* state)
    {
        return !state->holdsSharedLock && !state->holdsExclusiveLock && !state->holdsMutatorLock;
    }

    // open and close
    void ReleaseOpenObjects(bool createdInitMutex);
    bool OpenFailed(const char* message, bool createdInitMutex);
    void InitializeImage();
    void RecoverImage();
    bool CheckSectionVersion();
    void RefreshIndexPointers(int workRoot);
    int MapImage(int version, size_t size, dbOpenDisposition disposition);
    void UnmapImage();
    void GrowImage(size_t requiredSize);
    void KernelName(char* buffer, size_t size, const char* suffix) const;

    // monitor and locks
    void EnterMonitor();
    void LeaveMonitor();
    void EnterMutator();
    void LeaveMutator();
    bool WaitSemaphore(dbKernelSync& semaphore);
    void RecoverDeadlock();
    void CommitImage(dbThreadState* state);
    void ReleaseWithoutCommit(dbThreadState* state);
    void RemoveThreadState(dbThreadState* state);
    void FreeThreadStates();

    // delayed commit and backup
    static void* DelayedCommitThread(void* engine);
    static void* BackupThread(void* engine);
    void DelayedCommitLoop();
    void BackupLoop();
    bool WriteCompactImage(dbPagedFile& file);

    // Reports an error that ends the operation: throws even when an
    // overriding HandleError returns.
    [[noreturn]] void Fail(int code, const char* message = nullptr, int arg = 0);
    [[noreturn]] void ReportClosed() const;

    // allocation
    class AllocationGuard;
    bool OverlapsAllocation(offs_t offset, size_t size) const;
    char* BitmapPage(int slot) const { return baseAddr + (currIndex[slot] & ~dbFlagsMask); }
    void CloneBitmapPage(int slot);
    void SetBitmapBits(offs_t offset, size_t quanta, bool used);
    offs_t ExtendAllocatableArea(size_t size, bool pageObject, oid_t moveId);
    offs_t FinishAllocation(offs_t offset, size_t size, oid_t moveId);

    // ---- state -----------------------------------------------------------
    dbAccessType accessType;
    size_t initSize;
    size_t extensionQuantum;
    size_t initIndexSize;
    size_t freeSpaceReuseThreshold;
    size_t sizeLimit;
    bool pastLimitAllowed = false;  // set while a record operation runs

    dbWorkerPool threadPool;
    dbHoleCache holeCache;
    dbTreeBatches treeBatches;
    pthread_key_t threadStateKey;

    char* baseAddr;
    dbImageHeader* header;
    oid_t* currIndex;         // the working index
    oid_t* index[2];

    int nThreads;
    bool modified;

    dbAllocationPosition smallObjectPosition;
    dbAllocationPosition pageObjectPosition;
    dbAllocatedArea* allocatedAreas;

    char* databaseName;
    size_t databaseNameLength;
    char* fileName;

    int sectionVersion;        // version of the mapped image section, under remapLock
    // One thread of the engine maps a section at a time; taken inside the
    // monitor lock, never around it.
    dbSectionLock remapLock;
    oid_t committedIndexSize;
    oid_t currIndexSize;

    oid_t updatedRecordId;
    int waitLockTimeout;

    dbKernelScope kernelScope;
    dbPagedFile file;
    dbSharedMemory monitorSection;
    dbKernelSync monitorSem;   // "<name>.cs"
    dbKernelSync mutatorSem;   // "<name>.mcs"
    dbKernelSync initMutex;    // "<name>.in"
    dbKernelSync writeSem;     // "<name>.ws"
    dbKernelSync readSem;      // "<name>.rs"
    dbKernelSync upgradeSem;   // "<name>.us"
    dbKernelSync backupCompletedEvent; // "<name>.bce"
    dbSharedMonitor* monitor;

    dbTableInfo* tables;
    int32_t maxHoles[dbFirstUserId];  // per bitmap slot: bound on its largest hole in quanta
    bool opened;

    size_t allocatedSize;
    size_t deallocatedSize;

    unsigned commitDelay;
    unsigned commitTimeout;
    uint64_t commitTimerStarted;
    dbSectionLock commitTimerLock;
    dbSectionLock commitLock;
    dbKernelSync delayedCommitStopTimerEvent; // "<name>.dce"
    dbKernelSync delayedCommitStartTimerEvent;
    dbKernelSync commitThreadSyncEvent;
    bool delayedCommitEventsOpened;
    dbThreadState* delayedCommitContext;
    dbSectionLock backupLock;
    dbKernelSync backupInitEvent;
    char* backupFileName;
    int backupPeriod;
    bool stopDelayedCommitThread;
    bool backupThreadRunning;
    bool commitThreadRunning;
    pthread_t backupThread;
    pthread_t commitThread;

    dbListLink threadContextList;
    dbSectionLock threadContextListLock;

    dbErrorHandler errorHandler;
    void* errorHandlerContext;
    int clientId;
    int parallelScanThreshold;

    dbTableInfo* tableHash[dbTableHashSize];

    // ---- records and schema (tables) ---------------------------------------
    struct dbDeferredArea {
        offs_t offset;
        size_t size;
    };
    // Lets the change that holds it grow the image past its size limit: once
    // a change has begun, it is finished rather than left half-made.
    class LimitWaiver {
    public:
        explicit LimitWaiver(dbEngine& engine) : engine(engine), was(engine.pastLimitAllowed)
        {
            engine.pastLimitAllowed = true;
        }
        ~LimitWaiver() { engine.pastLimitAllowed = was; }
        LimitWaiver(const LimitWaiver&) = delete;
        LimitWaiver& operator=(const LimitWaiver&) = delete;

    private:
        dbEngine& engine;
        bool was;
    };
    // Refuses, with code 10, a change that would need more than bytes beyond
    // what the image holds below its size limit; changes nothing.
    void CheckRoomFor(size_t bytes);
    size_t ObjectSize(oid_t id) const;
    bool IsLiveRecord(oid_t id) const;
    void ReleaseRecordSpace(oid_t id);
    void LinkRecord(oid_t tableId, oid_t id, size_t size);
    void UnlinkRecord(oid_t tableId, oid_t id);
    void AddInverseReference(dbFieldInfo* field, oid_t record, oid_t target);
    void RemoveInverseReferences(dbTableInfo* table, oid_t record);
    void RemoveInverseReference(dbFieldInfo* field, oid_t record, oid_t target);
    bool IsBeingRemoved(oid_t id) const;
    // Re-fetches the thread's cursors that stand on a changed record.
    void RefreshCursors(oid_t id);
    void NotifyRemoval(dbTableInfo* table, oid_t id, oid_t next, oid_t prev);
    void InsertIntoIndices(dbTableInfo* table, oid_t id, bool updatedOnly);
    void RemoveFromIndices(dbTableInfo* table, oid_t id, bool updatedOnly);
    oid_t AddTableRecord(dbTableInfo* table);
    void UpdateTableRecord(dbTableInfo* table, oid_t row);
    void ConvertTable(oid_t row, dbTableInfo* table);
    bool AlterIndices(bool alter, dbTableInfo* table);
    void FillIndex(const dbFieldInfo* field, bool hash, oid_t id, size_t growthLimit);
    // Writes the fields' index identifiers into the table's dictionary
    // record, dropping the indices they replace.
    void StoreIndexIdentifiers(dbTableInfo* table);
    bool IsLiveTable(const dbTableInfo* table) const;
    void ResolveReferences();

    // Which table owns each record identifier (dbRowOwners.cpp).
    bool RowOwnersUsable() const { return accessType == dbAllAccess || accessType == dbReadOnly; }
    oid_t RowOwner(oid_t id) const;
    void SetRowOwner(oid_t id, oid_t tableId);
    void ForgetRowOwners();
    void RebuildRowOwners() const;
    mutable std::vector<oid_t> rowOwners;
    mutable uint32_t rowOwnersVersion = 0;
    mutable bool rowOwnersBuilt = false;
    mutable dbSectionLock rowOwnersLock;

    std::vector<dbDeferredArea> deferredAreas;
    std::vector<oid_t> removingRecords;      // records whose inverse references are being removed
    const std::vector<oid_t>* deletedRows = nullptr;   // sorted rows of a table being emptied, or null
    // ---- end of records and schema ------------------------------------------
};
