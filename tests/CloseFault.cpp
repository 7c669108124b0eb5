#include "CloseFault.h"

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unistd.h>

extern "C" int __real_close(int fd);

namespace {

std::mutex theLock;
std::string theFolder; // empty when no fault is armed
int theFailed = 0;

bool InFolder(int fd)
{
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return false;
    return std::string(target, size_t(length)).compare(0, theFolder.size(), theFolder) == 0;
}

} // namespace

extern "C" int __wrap_close(int fd)
{
    bool fail = false;
    {
        std::lock_guard<std::mutex> guard(theLock);
        fail = !theFolder.empty() && InFolder(fd);
        if (fail)
            theFailed++;
    }
    const int result = __real_close(fd);
    if (!fail)
        return result;
    errno = EIO;
    return -1;
}

CloseFault::CloseFault(const std::string& folder)
{
    // Descriptors name their files by resolved paths.
    char resolved[PATH_MAX];
    const std::string real = realpath(folder.c_str(), resolved) ? resolved : folder;
    std::lock_guard<std::mutex> guard(theLock);
    theFolder = real + "/";
    theFailed = 0;
}

CloseFault::~CloseFault()
{
    std::lock_guard<std::mutex> guard(theLock);
    theFolder.clear();
}

int CloseFault::Failed() const
{
    std::lock_guard<std::mutex> guard(theLock);
    return theFailed;
}
