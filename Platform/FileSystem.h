// File and folder calls: delete, move, copy, folders, attributes, the current
// folder, access tests and file times. Paths may use "\" as well as "/";
// both are taken as separators. Every call reports failure by its result.
#pragma once

#include "Platform/Types.h"

#include <ctime>

enum : DWORD {
    FILE_ATTRIBUTE_READONLY = 0x0001,
    FILE_ATTRIBUTE_HIDDEN = 0x0002,
    FILE_ATTRIBUTE_SYSTEM = 0x0004,
    FILE_ATTRIBUTE_DIRECTORY = 0x0010,
    FILE_ATTRIBUTE_ARCHIVE = 0x0020,
    FILE_ATTRIBUTE_NORMAL = 0x0080,
    FILE_ATTRIBUTE_TEMPORARY = 0x0100,
    INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF
};

enum : DWORD {
    MOVEFILE_REPLACE_EXISTING = 0x1,
    MOVEFILE_COPY_ALLOWED = 0x2
};

BOOL DeleteFile(const char* path);
// Fails when newPath exists.
BOOL MoveFile(const char* oldPath, const char* newPath);
BOOL MoveFileEx(const char* oldPath, const char* newPath, DWORD flags);
BOOL CopyFile(const char* from, const char* to, BOOL failIfExists);
BOOL CreateDirectory(const char* path, void* securityAttributes = nullptr);
BOOL RemoveDirectory(const char* path);

// Directory and read-only come from the file system, hidden from a leading
// "."; a file with none of them reads FILE_ATTRIBUTE_NORMAL.
DWORD GetFileAttributes(const char* path);
// Only the read-only bit can be changed; the other bits are accepted and ignored.
BOOL SetFileAttributes(const char* path, DWORD attributes);

// Copies the current folder into buffer (terminated) and returns its length;
// when it does not fit, returns the size needed (terminator included) and
// leaves buffer empty; 0 on failure.
DWORD GetCurrentDirectory(DWORD size, char* buffer);
BOOL SetCurrentDirectory(const char* path);

// 0 when path exists and allows mode: 0 existence, 2 writing, 4 reading,
// 6 both; else -1.
int _access(const char* path, int mode);
int _mkdir(const char* path);
int _rmdir(const char* path);

// Creation time (the status change time on POSIX) and modification time.
BOOL GetFileTimes(const char* path, time_t* creation, time_t* modification);
BOOL SetFileModificationTime(const char* path, time_t modification);
