#include "Platform/File.h"

#include "Platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

const char* const kCauseText[] = {
    "no error",
    "unspecified error",
    "file not found",
    "bad path",
    "too many open files",
    "access denied",
    "invalid file",
    "cannot remove the current folder",
    "folder full",
    "bad seek",
    "hardware I/O error",
    "sharing violation",
    "lock violation",
    "disk full",
    "end of file",
};

int LastSeparator(const CString& path)
{
    const int slash = path.ReverseFind('/');
    const int back = path.ReverseFind('\\');
    return slash > back ? slash : back;
}

} // namespace

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
    const int index = cause >= 0 && cause <= endOfFile ? cause : genericException;
    m_message.Format("%s: %s", m_strFileName.IsEmpty() ? "file" : m_strFileName.GetString(),
                     kCauseText[index]);
}

int CFileException::OsErrorToCause(long osError)
{
    switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT: return diskFull;
    case ESPIPE:
    case EINVAL: return badSeek;
    case EIO: return hardIO;
    default: return genericException;
    }
}

CFile::CFile() = default;

CFile::CFile(const char* path, UINT openFlags)
{
    CFileException error;
    if (!Open(path, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

BOOL CFile::Open(const char* path, UINT openFlags, CFileException* error)
{
    if (m_fd >= 0)
        Abort();
    m_writeError = FALSE;
    int flags = O_CLOEXEC;
    switch (openFlags & 3) {
    case modeRead: flags |= O_RDONLY; break;
    case modeWrite: flags |= O_WRONLY; break;
    default: flags |= O_RDWR; break;
    }
    if (openFlags & modeCreate)
        flags |= (openFlags & modeNoTruncate) ? O_CREAT : (O_CREAT | O_TRUNC);
    int fd = -1;
    if (path && *path) {
        do
            fd = ::open(path, flags, 0666);
        while (fd < 0 && errno == EINTR);
    } else {
        errno = ENOENT;
    }
    if (fd >= 0) {
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(errno), errno, path);
        return FALSE;
    }
    m_fd = fd;
    SetFilePath(path);
    return TRUE;
}

void CFile::Close()
{
    if (m_fd >= 0 && ::close(m_fd) != 0)
        m_writeError = TRUE;
    m_fd = -1;
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_fd < 0 || !buffer)
        return 0;
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (m_fd < 0 || !buffer) {
        m_writeError = TRUE;
        return;
    }
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeError = TRUE;
            return;
        }
        done += UINT(n);
    }
}

void CFile::Flush()
{
    if (m_fd >= 0 && fsync(m_fd) != 0 && errno != EINVAL)
        m_writeError = TRUE;
}

LONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    if (m_fd < 0)
        return -1;
    const int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
    return lseek(m_fd, off_t(offset), whence);
}

LONGLONG CFile::GetPosition() const
{
    return m_fd < 0 ? -1 : lseek(m_fd, 0, SEEK_CUR);
}

LONGLONG CFile::GetLength() const
{
    struct stat st;
    return m_fd >= 0 && fstat(m_fd, &st) == 0 ? LONGLONG(st.st_size) : 0;
}

void CFile::SetLength(LONGLONG length)
{
    if (m_fd < 0 || ftruncate(m_fd, off_t(length)) != 0)
        m_writeError = TRUE;
}

void CFile::SetFilePath(const char* path)
{
    m_strFileName = path;
}

CString CFile::GetFileName() const
{
    return m_strFileName.Mid(LastSeparator(m_strFileName) + 1);
}

CString CFile::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

BOOL CFile::GetStatus(CFileStatus& status) const
{
    return GetStatus(m_strFileName, status);
}

BOOL CFile::GetStatus(const char* path, CFileStatus& status)
{
    struct stat st;
    if (!path || !*path || stat(path, &st) != 0)
        return FALSE;
    status.m_ctime = st.st_ctime;
    status.m_mtime = st.st_mtime;
    status.m_atime = st.st_atime;
    status.m_size = st.st_size;
    status.m_attribute = BYTE(GetFileAttributes(path) & 0x3F);
    char full[PATH_MAX];
    status.m_szFullName = realpath(path, full) ? full : path;
    return TRUE;
}

BOOL CFile::Rename(const char* oldName, const char* newName)
{
    return oldName && newName && std::rename(oldName, newName) == 0;
}

BOOL CFile::Remove(const char* path)
{
    return path && ::unlink(path) == 0;
}
