#include "Pub/AtomicSave.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name of its own beside path, created empty; -1 when none can be made.
int CreateTemporary(const std::string& path, std::string& temporary)
{
    std::random_device seed;
    for (int attempt = 0; attempt < 16; attempt++) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(seed()));
        temporary = path + suffix;
        const int fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Makes the rename itself durable; a file system without directory sync
// reports EINVAL, which is no failure.
bool SyncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    return close(fd) == 0 && synced;
}

} // namespace

BOOL SaveFileAtomically(const char* path, const std::function<BOOL(const char* temporaryPath)>& write)
{
    if (!path || !*path)
        return FALSE;
    const std::string target = path;
    std::string temporary;
    int fd = CreateTemporary(target, temporary);
    if (fd < 0)
        return FALSE;
    struct stat old;
    bool ok = stat(path, &old) != 0 || fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && write(temporary.c_str());
    // The descriptor names the file the writer filled: its sync covers them.
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        return FALSE;
    }
    return SyncFolderOf(target) ? TRUE : FALSE;
}
