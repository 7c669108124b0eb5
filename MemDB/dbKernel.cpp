#include "MemDB/dbKernel.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pthread.h>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t maxNameLength = 200;

// Sections of this process by name. Each holder maps the memfd itself, so a
// read-only holder gets a read-only view of the same pages.
struct LocalSection {
    int fd;
    size_t size;
    int holders;
};

std::mutex& registryLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, LocalSection>& registry()
{
    static std::map<std::string, LocalSection> sections;
    return sections;
}

bool validName(const char* name)
{
    size_t length = strlen(name);
    return length > 0 && length <= maxNameLength && strchr(name, '/') == nullptr;
}

std::string systemName(const char* name)
{
    return std::string("/vexal.") + name;
}

// A section that another holder has just created may not have its size yet.
size_t waitForSize(int fd)
{
    for (int attempt = 0; attempt < 2000; attempt++) {
        struct stat st;
        if (fstat(fd, &st) != 0)
            return 0;
        if (st.st_size > 0)
            return static_cast<size_t>(st.st_size);
        usleep(1000);
    }
    return 0;
}

} // namespace

int dbSharedMemory::Open(const char* sectionName, size_t sectionSize, dbKernelScope sectionScope,
                         bool readOnly, dbOpenDisposition disposition, char* at)
{
    Close();
    if (sectionSize == 0)
        return EINVAL;
    int prot = readOnly ? PROT_READ : PROT_READ | PROT_WRITE;
    int placement = at != nullptr ? MAP_FIXED : 0;
    scope = sectionScope;
    created = false;
    lent = at != nullptr;
    name[0] = '\0';

    if (sectionName == nullptr) {
        void* p = mmap(at, sectionSize, prot, MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE | placement,
                       -1, 0);
        if (p == MAP_FAILED)
            return errno;
        base = static_cast<char*>(p);
        size = sectionSize;
        created = true;
        return 0;
    }
    if (!validName(sectionName))
        return EINVAL;
    snprintf(name, sizeof name, "%s", sectionName);

    if (scope == dbProcessLocal) {
        std::lock_guard<std::mutex> guard(registryLock());
        auto& sections = registry();
        auto it = sections.find(name);
        if (it == sections.end()) {
            if (disposition == dbOpenExisting)
                return ENOENT;
            int memfd = memfd_create(name, MFD_CLOEXEC);
            if (memfd < 0)
                return errno;
            if (ftruncate(memfd, static_cast<off_t>(sectionSize)) != 0) {
                int error = errno;
                close(memfd);
                return error;
            }
            it = sections.emplace(name, LocalSection{memfd, sectionSize, 0}).first;
            created = true;
        } else if (it->second.size != sectionSize) {
            return EBADFD;
        }
        void* p = mmap(at, sectionSize, prot, MAP_SHARED | MAP_NORESERVE | placement, it->second.fd, 0);
        if (p == MAP_FAILED) {
            int error = errno;
            if (it->second.holders == 0) {
                close(it->second.fd);
                sections.erase(it);
            }
            created = false;
            return error;
        }
        it->second.holders++;
        base = static_cast<char*>(p);
        size = sectionSize;
        return 0;
    }

    std::string full = systemName(name);
    int handle = -1;
    if (disposition == dbCreateOrOpen) {
        handle = shm_open(full.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        if (handle >= 0) {
            created = true;
            if (ftruncate(handle, static_cast<off_t>(sectionSize)) != 0) {
                int error = errno;
                close(handle);
                shm_unlink(full.c_str());
                created = false;
                return error;
            }
        } else if (errno != EEXIST) {
            return errno;
        }
    }
    if (handle < 0) {
        handle = shm_open(full.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC, 0);
        if (handle < 0)
            return errno;
        if (waitForSize(handle) != sectionSize) {
            close(handle);
            return EBADFD;
        }
    }
    flock(handle, LOCK_SH);
    void* p = mmap(at, sectionSize, prot, MAP_SHARED | MAP_NORESERVE | placement, handle, 0);
    if (p == MAP_FAILED) {
        int error = errno;
        fd = handle;
        Close();
        return error;
    }
    fd = handle;
    base = static_cast<char*>(p);
    size = sectionSize;
    return 0;
}

void dbSharedMemory::Close()
{
    if (base != nullptr && !lent)
        munmap(base, size);
    lent = false;
    base = nullptr;
    size = 0;
    if (name[0] == '\0' || (scope == dbSystemWide && fd < 0)) {
        name[0] = '\0';
        return;
    }
    if (scope == dbProcessLocal) {
        std::lock_guard<std::mutex> guard(registryLock());
        auto& sections = registry();
        auto it = sections.find(name);
        if (it != sections.end() && --it->second.holders <= 0) {
            close(it->second.fd);
            sections.erase(it);
        }
    } else {
        // The last holder is the only one that can lock the section exclusively.
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            shm_unlink(systemName(name).c_str());
        close(fd);
        fd = -1;
    }
    name[0] = '\0';
}

size_t dbSharedMemory::ExistingSize(const char* sectionName, dbKernelScope sectionScope)
{
    if (sectionName == nullptr || !validName(sectionName))
        return 0;
    if (sectionScope == dbProcessLocal) {
        std::lock_guard<std::mutex> guard(registryLock());
        auto it = registry().find(sectionName);
        return it != registry().end() ? it->second.size : 0;
    }
    int handle = shm_open(systemName(sectionName).c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (handle < 0)
        return 0;
    struct stat st;
    size_t result = fstat(handle, &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
    close(handle);
    return result;
}

// Lives at the start of the object's section; ready is set last by the creator.
struct dbSyncState {
    std::atomic<uint32_t> ready;
    int32_t kind;
    int32_t count;
    int32_t maximum;
    pthread_mutex_t mutex;
    pthread_cond_t cond;
};

namespace {

const uint32_t syncReady = 0x53594e43;

void lockState(dbSyncState* state)
{
    // A holder that died inside the lock leaves it consistent: the counter is
    // changed in a single store.
    if (pthread_mutex_lock(&state->mutex) == EOWNERDEAD)
        pthread_mutex_consistent(&state->mutex);
}

} // namespace

int dbKernelSync::Open(const char* name, Kind kind, int initial, int maximum, dbKernelScope scope,
                       dbOpenDisposition disposition)
{
    Close();
    int error = memory.Open(name, sizeof(dbSyncState), scope, false, disposition);
    if (error != 0)
        return error;
    dbSyncState* s = reinterpret_cast<dbSyncState*>(memory.Base());
    if (memory.WasCreated()) {
        pthread_mutexattr_t mattr;
        pthread_mutexattr_init(&mattr);
        pthread_mutexattr_setpshared(&mattr, PTHREAD_PROCESS_SHARED);
        pthread_mutexattr_setrobust(&mattr, PTHREAD_MUTEX_ROBUST);
        pthread_mutex_init(&s->mutex, &mattr);
        pthread_mutexattr_destroy(&mattr);
        pthread_condattr_t cattr;
        pthread_condattr_init(&cattr);
        pthread_condattr_setpshared(&cattr, PTHREAD_PROCESS_SHARED);
        pthread_condattr_setclock(&cattr, CLOCK_MONOTONIC);
        pthread_cond_init(&s->cond, &cattr);
        pthread_condattr_destroy(&cattr);
        s->kind = kind;
        s->count = initial;
        s->maximum = maximum;
        s->ready.store(syncReady, std::memory_order_release);
    } else {
        int attempt = 0;
        while (s->ready.load(std::memory_order_acquire) != syncReady) {
            if (++attempt > 2000) {
                memory.Close();
                return ETIMEDOUT;
            }
            usleep(1000);
        }
    }
    state = s;
    return 0;
}

void dbKernelSync::Close()
{
    state = nullptr;
    memory.Close();
}

bool dbKernelSync::Wait(int timeoutMs)
{
    timespec deadline;
    if (timeoutMs >= 0) {
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += timeoutMs / 1000;
        deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000;
        if (deadline.tv_nsec >= 1000000000) {
            deadline.tv_sec++;
            deadline.tv_nsec -= 1000000000;
        }
    }
    lockState(state);
    while (state->count == 0) {
        int rc = timeoutMs < 0 ? pthread_cond_wait(&state->cond, &state->mutex)
                               : pthread_cond_timedwait(&state->cond, &state->mutex, &deadline);
        if (rc == EOWNERDEAD)
            pthread_mutex_consistent(&state->mutex);
        if (rc == ETIMEDOUT && state->count == 0) {
            pthread_mutex_unlock(&state->mutex);
            return false;
        }
    }
    if (state->kind == Semaphore)
        state->count--;
    else if (state->kind == AutoEvent)
        state->count = 0;
    pthread_mutex_unlock(&state->mutex);
    return true;
}

void dbKernelSync::Release(int count)
{
    if (count <= 0)
        return;
    lockState(state);
    if (state->kind == Semaphore) {
        int64_t next = static_cast<int64_t>(state->count) + count;
        state->count = static_cast<int32_t>(next > state->maximum ? state->maximum : next);
    } else {
        state->count = 1;
    }
    pthread_cond_broadcast(&state->cond);
    pthread_mutex_unlock(&state->mutex);
}

void dbKernelSync::Reset()
{
    lockState(state);
    state->count = 0;
    pthread_mutex_unlock(&state->mutex);
}

int dbKernelSync::Count() const
{
    lockState(state);
    int count = state->count;
    pthread_mutex_unlock(&state->mutex);
    return count;
}
