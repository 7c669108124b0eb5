// Named kernel objects: memory sections, semaphores, events and mutexes that
// every engine opening the same database name shares.
//
// Two scopes: process-local objects live in a registry of this process
// (memory from memfd_create, so each holder maps it with its own protection);
// system-wide objects are POSIX shared memory under "/vexal.<name>" and are
// unlinked when their last holder closes them. Synchronisation objects are a
// process-shared mutex and condition variable inside such a section, so both
// scopes use one implementation.
#pragma once

#include <cstddef>
#include <cstdint>

enum dbKernelScope { dbProcessLocal, dbSystemWide };

enum dbOpenDisposition {
    dbCreateOrOpen, // open the existing object, else create it zero-filled
    dbOpenExisting  // fail with ENOENT when the object does not exist
};

class dbSharedMemory {
public:
    dbSharedMemory()
        : base(nullptr), size(0), fd(-1), scope(dbProcessLocal), created(false), lent(false)
    {
        name[0] = '\0';
    }
    ~dbSharedMemory() { Close(); }
    dbSharedMemory(const dbSharedMemory&) = delete;
    dbSharedMemory& operator=(const dbSharedMemory&) = delete;

    // Maps the named section (a private anonymous block when name is null).
    // An existing section must have exactly the given size. Returns 0 or an
    // errno value; EINVAL for a bad name, EBADFD for a size mismatch.
    // Given an address, the section is mapped over the caller's reserved
    // range there, which stays the caller's: Close then leaves it mapped.
    int Open(const char* name, size_t size, dbKernelScope scope, bool readOnly,
             dbOpenDisposition disposition = dbCreateOrOpen, char* at = nullptr);
    void Close();

    bool IsOpen() const { return base != nullptr; }
    bool WasCreated() const { return created; }
    char* Base() const { return base; }
    size_t Size() const { return size; }

    // Size of the existing named section, or 0 when there is none.
    static size_t ExistingSize(const char* name, dbKernelScope scope);

private:
    char* base;
    size_t size;
    int fd;
    dbKernelScope scope;
    bool created;
    bool lent;      // mapped in a range its caller reserved
    char name[256];
};

struct dbSyncState;

// A counting semaphore, an event (manual or automatic reset) or a mutex
// created owned (a semaphore of maximum 1). Named objects are shared through
// dbSharedMemory; an unnamed one is private to its holder.
class dbKernelSync {
public:
    enum Kind { Semaphore, ManualEvent, AutoEvent };

    dbKernelSync() : state(nullptr) {}
    ~dbKernelSync() { Close(); }
    dbKernelSync(const dbKernelSync&) = delete;
    dbKernelSync& operator=(const dbKernelSync&) = delete;

    // Returns 0 or an errno value; the initial count applies only to a new object.
    int Open(const char* name, Kind kind, int initial, int maximum, dbKernelScope scope,
             dbOpenDisposition disposition = dbCreateOrOpen);
    void Close();
    bool IsOpen() const { return state != nullptr; }
    bool WasCreated() const { return memory.WasCreated(); }

    // Waits until the object is signalled (a semaphore count is taken, an
    // automatic event reset); timeoutMs < 0 waits without limit. False on timeout.
    bool Wait(int timeoutMs = -1);
    // Adds count to a semaphore (never beyond its maximum) or sets an event.
    void Release(int count = 1);
    void Reset();
    int Count() const;

private:
    dbSyncState* state;
    dbSharedMemory memory;
};
