// Online backup: the committed image written to a file, whole or compacted.
#include "MemDB/dbEngine.h"
#include "Platform/ProcessHooks.h"
#include "Pub/AtomicSave.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

const size_t backupPiece = 65536;

bool IsTimestamped(const char* name)
{
    size_t length = strlen(name);
    return length > 0 && name[length - 1] == '?';
}

} // namespace

bool dbEngine::StartBackup(const char* path, int periodSec)
{
    if (!opened || path == nullptr || *path == '\0' || periodSec < 0 || backupThreadRunning)
        return false;
    {
        dbCriticalSection cs(backupLock);
        free(backupFileName);
        backupFileName = strdup(path);
        backupPeriod = periodSec;
    }
    backupInitEvent.Reset();
    if (pthread_create(&backupThread, nullptr, BackupThread, this) != 0) {
        dbCriticalSection cs(backupLock);
        free(backupFileName);
        backupFileName = nullptr;
        return false;
    }
    backupThreadRunning = true;
    return true;
}

void* dbEngine::BackupThread(void* engine)
{
    AfxThreadStarted();
    static_cast<dbEngine*>(engine)->BackupLoop();
    return nullptr;
}

void dbEngine::BackupLoop()
{
    // Idle priority: on Linux the nice value of a thread is its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
    for (;;) {
        char* name;
        int period;
        {
            dbCriticalSection cs(backupLock);
            if (backupFileName == nullptr)
                return;
            name = strdup(backupFileName);
            period = backupPeriod;
        }
        long wait = period;
        if (!IsTimestamped(name)) {
            struct stat st;
            if (stat(name, &st) == 0) {
                long age = static_cast<long>(time(nullptr) - st.st_mtime);
                wait = age < period ? period - age : 0;
            } else {
                wait = 0;
            }
        }
        backupInitEvent.Wait(static_cast<int>(wait * 1000));
        {
            dbCriticalSection cs(backupLock);
            if (backupFileName == nullptr) {
                free(name);
                return;
            }
        }
        if (IsTimestamped(name)) {
            size_t length = strlen(name) - 1;
            time_t now = time(nullptr);
            struct tm t;
            localtime_r(&now, &t);
            std::vector<char> path(length + 32);
            snprintf(path.data(), path.size(), "%.*s-%04d.%02d.%02d_%02d.%02d.%02d",
                     static_cast<int>(length), name, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                     t.tm_hour, t.tm_min, t.tm_sec);
            WriteBackup(path.data());
        } else {
            WriteBackup(name);
        }
        free(name);
        // A backup every period: wait again from now on.
        if (period == 0)
            backupInitEvent.Wait(1000);
    }
}

bool dbEngine::WriteBackup(const char* path, bool compactify)
{
    if (monitor == nullptr || header == nullptr || path == nullptr)
        return false;
    EnterMonitor();
    if (monitor->backupInProgress) {
        LeaveMonitor();
        return false;
    }
    monitor->backupInProgress = 1;
    backupCompletedEvent.Reset();
    LeaveMonitor();

    // The previous backup stays until the new one is whole on the disk.
    const bool ok = SaveFileAtomically(path, [&](const char* temporaryPath) {
        dbPagedFile out;
        bool written = out.CreateForBackup(temporaryPath, false) == 0;
        if (written && compactify) {
            written = WriteCompactImage(out);
        } else if (written) {
            size_t size = header->size;
            for (size_t at = 0; written && at < size; at += backupPiece)
                written = out.WriteAll(baseAddr + at, size - at < backupPiece ? size - at : backupPiece);
        }
        return out.Close() == 0 && written ? TRUE : FALSE;
    });

    EnterMonitor();
    monitor->backupInProgress = 0;
    LeaveMonitor();
    backupCompletedEvent.Release();
    return ok;
}

// The committed state with its live objects packed after a rebuilt header,
// index pair and bitmap; identifiers and the free list are kept.
bool dbEngine::WriteCompactImage(dbPagedFile& out)
{
    int c = header->curr;
    const dbIndexRoot& committed = header->root[c];
    const oid_t* from = reinterpret_cast<const oid_t*>(baseAddr + committed.index);
    oid_t used = committed.indexUsed;
    oid_t indexSize = (used < dbFirstUserId ? oid_t(dbFirstUserId) : used);
    indexSize = (indexSize + dbHandlesPerPage - 1) & ~oid_t(dbHandlesPerPage - 1);

    auto objectSize = [this](oid_t entry) -> size_t {
        uint32_t kind = entry & dbFlagsMask;
        size_t size = kind != dbRecordKind
            ? dbInternalObjectSize(kind)
            : reinterpret_cast<const dbRecordHeader*>(baseAddr + (entry & ~dbFlagsMask))->size;
        return (size + dbAllocationQuantum - 1) & ~size_t(dbAllocationQuantum - 1);
    };
    size_t objects = 0;
    for (oid_t id = 1; id < used; id++) {
        if ((id >= dbBitmapId && id < dbFirstUserId) || (from[id] & dbFreeHandleFlag))
            continue;
        objects += objectSize(from[id]);
    }
    size_t usedArea = dbPageSize + 8 * size_t(indexSize);
    size_t pages = 1;
    while (usedArea + pages * dbPageSize + objects > pages * dbBitmapPageCoverage)
        pages++;
    if (pages > dbBitmapPages)
        return false;
    size_t end = usedArea + pages * dbPageSize + objects;
    size_t imageSize = (end + dbBitmapPageCoverage - 1) & ~size_t(dbBitmapPageCoverage - 1);

    std::vector<char> head(usedArea + pages * dbPageSize, 0);
    dbImageHeader* h = reinterpret_cast<dbImageHeader*>(head.data());
    h->size = static_cast<offs_t>(imageSize);
    h->curr = 0;
    h->dirty = 0;
    h->initialized = 1;
    for (int r = 0; r < 2; r++) {
        h->root[r].index = dbPageSize + r * indexSize * 4;
        h->root[r].shadowIndex = dbPageSize + (1 - r) * indexSize * 4;
        h->root[r].indexSize = h->root[r].shadowIndexSize = indexSize;
        h->root[r].indexUsed = used;
        h->root[r].freeList = committed.freeList;
    }
    h->majorVersion = dbMajorVersion;
    h->minorVersion = dbMinorVersion;
    h->mode = dbImageMode;

    oid_t* to = reinterpret_cast<oid_t*>(head.data() + dbPageSize);
    offs_t next = static_cast<offs_t>(usedArea + pages * dbPageSize);
    for (oid_t id = 0; id < used; id++) {
        if (id >= dbBitmapId && id < dbFirstUserId) {
            size_t page = id - dbBitmapId;
            to[id] = page < pages ? static_cast<offs_t>(usedArea + page * dbPageSize) | dbBitmapPageKind
                                  : oid_t(dbFreeHandleFlag);
        } else if (id == 0 || (from[id] & dbFreeHandleFlag)) {
            to[id] = id == 0 ? oid_t(dbFreeHandleFlag) : from[id];
        } else {
            to[id] = next | (from[id] & dbFlagsMask);
            next += static_cast<offs_t>(objectSize(from[id]));
        }
    }
    memcpy(to + indexSize, to, size_t(used) * sizeof(oid_t));
    uint8_t* bitmap = reinterpret_cast<uint8_t*>(head.data() + usedArea);
    size_t quanta = end / dbAllocationQuantum;
    memset(bitmap, 0xFF, quanta / 8);
    if (quanta % 8 != 0)
        bitmap[quanta / 8] = static_cast<uint8_t>((1 << (quanta % 8)) - 1);

    if (!out.WriteAll(head.data(), head.size()))
        return false;
    for (oid_t id = 1; id < used; id++) {
        if ((id >= dbBitmapId && id < dbFirstUserId) || (from[id] & dbFreeHandleFlag))
            continue;
        const char* object = baseAddr + (from[id] & ~dbFlagsMask);
        size_t size = objectSize(from[id]);
        if (!out.WriteAll(object, size))
            return false;
    }
    std::vector<char> zeros(backupPiece, 0);
    for (size_t at = end; at < imageSize; at += backupPiece) {
        if (!out.WriteAll(zeros.data(), imageSize - at < backupPiece ? imageSize - at : backupPiece))
            return false;
    }
    return true;
}
