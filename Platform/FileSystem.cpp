#include "Platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// The path with "\" turned into "/"; empty for a missing path.
std::string Native(const char* path)
{
    std::string p = path ? path : "";
    for (char& c : p)
        if (c == '\\')
            c = '/';
    return p;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

} // namespace

BOOL DeleteFile(const char* path)
{
    const std::string p = Native(path);
    struct stat st;
    if (p.empty() || lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return FALSE;
    return unlink(p.c_str()) == 0;
}

BOOL MoveFile(const char* oldPath, const char* newPath)
{
    return MoveFileEx(oldPath, newPath, 0);
}

BOOL MoveFileEx(const char* oldPath, const char* newPath, DWORD flags)
{
    const std::string from = Native(oldPath);
    const std::string to = Native(newPath);
    if (from.empty() || to.empty() || !Exists(from))
        return FALSE;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && Exists(to))
        return FALSE;
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return TRUE;
    if (errno == EXDEV && (flags & MOVEFILE_COPY_ALLOWED))
        return CopyFile(from.c_str(), to.c_str(), FALSE) && DeleteFile(from.c_str());
    return FALSE;
}

BOOL CopyFile(const char* from, const char* to, BOOL failIfExists)
{
    const std::string src = Native(from);
    const std::string dst = Native(to);
    if (src.empty() || dst.empty())
        return FALSE;
    const int in = open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return FALSE;
    struct stat st;
    if (fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(in);
        return FALSE;
    }
    const int out = open(dst.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC),
                         st.st_mode & 0777);
    if (out < 0) {
        close(in);
        return FALSE;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            ok = w > 0;
            done += w > 0 ? w : 0;
        }
        if (!ok)
            break;
    }
    close(in);
    if (close(out) != 0)
        ok = false;
    return ok;
}

BOOL CreateDirectory(const char* path, void*)
{
    const std::string p = Native(path);
    return !p.empty() && mkdir(p.c_str(), 0777) == 0;
}

BOOL RemoveDirectory(const char* path)
{
    const std::string p = Native(path);
    return !p.empty() && rmdir(p.c_str()) == 0;
}

DWORD GetFileAttributes(const char* path)
{
    const std::string p = Native(path);
    struct stat st;
    if (p.empty() || stat(p.c_str(), &st) != 0)
        return INVALID_FILE_ATTRIBUTES;
    DWORD attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        attr |= FILE_ATTRIBUTE_READONLY;
    std::string name = p;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    name = name.substr(name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/') + 1);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        attr |= FILE_ATTRIBUTE_HIDDEN;
    return attr ? attr : DWORD(FILE_ATTRIBUTE_NORMAL);
}

BOOL SetFileAttributes(const char* path, DWORD attributes)
{
    const std::string p = Native(path);
    struct stat st;
    if (p.empty() || stat(p.c_str(), &st) != 0)
        return FALSE;
    mode_t mode = st.st_mode & 07777;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        mode &= mode_t(~(S_IWUSR | S_IWGRP | S_IWOTH));
    else
        mode |= S_IWUSR;
    return chmod(p.c_str(), mode) == 0;
}

DWORD GetCurrentDirectory(DWORD size, char* buffer)
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return 0;
    const DWORD len = DWORD(std::strlen(cwd));
    if (!buffer || size <= len) {
        if (buffer && size > 0)
            buffer[0] = 0;
        return len + 1;
    }
    std::memcpy(buffer, cwd, len + 1);
    return len;
}

BOOL SetCurrentDirectory(const char* path)
{
    const std::string p = Native(path);
    return !p.empty() && chdir(p.c_str()) == 0;
}

int _access(const char* path, int mode)
{
    const std::string p = Native(path);
    if (p.empty())
        return -1;
    int how = F_OK;
    if (mode & 2)
        how |= W_OK;
    if (mode & 4)
        how |= R_OK;
    return access(p.c_str(), how) == 0 ? 0 : -1;
}

int _mkdir(const char* path)
{
    return CreateDirectory(path) ? 0 : -1;
}

int _rmdir(const char* path)
{
    return RemoveDirectory(path) ? 0 : -1;
}

BOOL GetFileTimes(const char* path, time_t* creation, time_t* modification)
{
    const std::string p = Native(path);
    struct stat st;
    if (p.empty() || stat(p.c_str(), &st) != 0)
        return FALSE;
    if (creation)
        *creation = st.st_ctime;
    if (modification)
        *modification = st.st_mtime;
    return TRUE;
}

BOOL SetFileModificationTime(const char* path, time_t modification)
{
    const std::string p = Native(path);
    struct stat st;
    if (p.empty() || stat(p.c_str(), &st) != 0)
        return FALSE;
    struct timeval times[2];
    times[0].tv_sec = st.st_atime;
    times[0].tv_usec = 0;
    times[1].tv_sec = modification;
    times[1].tv_usec = 0;
    return utimes(p.c_str(), times) == 0;
}
