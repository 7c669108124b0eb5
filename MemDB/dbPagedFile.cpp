#include "MemDB/dbPagedFile.h"

#include "MemDB/dbImage.h"
#include "MemDB/dbOs.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

int dbPagedFile::Open(const char* name, bool readOnlyView, size_t sectionSize, dbKernelScope scope,
                      dbOpenDisposition disposition)
{
    if (sectionSize > dbMaxImageSize) {
        Close();
        return EINVAL;
    }
    if (range == nullptr) {
        Close();
        void* p = mmap(nullptr, dbMaxImageSize, PROT_NONE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p == MAP_FAILED)
            return errno;
        range = static_cast<char*>(p);
    }
    dbSharedMemory& next = sections[1 - current];
    int error = next.Open(name, sectionSize, scope, readOnlyView, disposition, range);
    if (error != 0) {
        // Threads may be reading the section mapped before: it stays.
        if (!sections[current].IsOpen())
            Close();
        return error;
    }
    // The new view covers the old one; what it does not cover goes back to
    // the reservation.
    size_t previous = sections[current].Size();
    sections[current].Close();
    if (previous > sectionSize)
        mmap(range + sectionSize, previous - sectionSize, PROT_NONE,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED, -1, 0);
    current = 1 - current;
    base = range;
    size = sectionSize;
    readOnly = readOnlyView;
    return 0;
}

int dbPagedFile::CreateForBackup(const char* path, bool unbuffered)
{
    Close();
    int flags = O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC;
    fd = open(path, flags, 0644);
    if (fd < 0)
        return errno;
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (unbuffered)
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    return 0;
}

int dbPagedFile::Close()
{
    sections[0].Close();
    sections[1].Close();
    if (range != nullptr)
        munmap(range, dbMaxImageSize);
    range = nullptr;
    base = nullptr;
    size = 0;
    int error = 0;
    if (fd >= 0) {
        // A file system may refuse delayed writes only now.
        if (close(fd) != 0)
            error = errno;
        fd = -1;
    }
    return error;
}

int dbPagedFile::Write(const void* data, size_t length, size_t* written)
{
    size_t done = 0;
    const char* p = static_cast<const char*>(data);
    while (done < length) {
        ssize_t n = write(fd, p + done, length - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *written = done;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    *written = done;
    return 0;
}

bool dbPagedFile::WriteAll(const void* data, size_t length)
{
    size_t written;
    return Write(data, length, &written) == 0 && written == length;
}

int dbPagedFile::WriteAt(const void* data, size_t length, long position)
{
    size_t written = 0;
    int error = lseek(fd, position, SEEK_SET) < 0 ? errno : Write(data, length, &written);
    if (error != 0)
        dbTrace("Failed to save page to the disk, position=%ld, size=%ld, error=%d\n", position,
                static_cast<long>(length), error);
    return error;
}

int dbPagedFile::Read(void* data, size_t length, size_t* read)
{
    const size_t piece = 16777216;
    char* p = static_cast<char*>(data);
    size_t done = 0;
    while (done < length) {
        size_t want = length - done < piece ? length - done : piece;
        ssize_t n = ::read(fd, p + done, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *read = done;
            return errno;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    *read = done;
    return 0;
}
