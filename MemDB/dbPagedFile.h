// The data section that holds a storage image, and the plain file that an
// online backup writes.
#pragma once

#include "MemDB/dbKernel.h"

#include <cstddef>

class dbPagedFile {
public:
    dbPagedFile() : fd(-1), base(nullptr), size(0), readOnly(false) {}
    ~dbPagedFile() { Close(); }
    dbPagedFile(const dbPagedFile&) = delete;
    dbPagedFile& operator=(const dbPagedFile&) = delete;

    // Creates or opens the named section and maps all of it. An existing
    // section keeps its contents; a new one is zero-filled. Returns 0 or errno.
    int Open(const char* name, bool readOnly, size_t size, dbKernelScope scope,
             dbOpenDisposition disposition = dbCreateOrOpen);
    // Creates or truncates a file for a backup. Returns 0 or errno.
    int CreateForBackup(const char* path, bool unbuffered);
    void Close();

    int Flush() { return 0; }
    int SetSize(size_t) { return 0; }

    // Backup-file writes; each returns 0 or errno.
    int Write(const void* data, size_t length, size_t* written);
    bool WriteAll(const void* data, size_t length);
    int WriteAt(const void* data, size_t length, long position);
    int Read(void* data, size_t length, size_t* read);

    char* Base() const { return base; }
    size_t Size() const { return size; }
    bool IsReadOnly() const { return readOnly; }
    bool IsOpen() const { return base != nullptr; }

private:
    int fd;                  // backup file, -1 when none
    dbSharedMemory section;
    char* base;
    size_t size;
    bool readOnly;
};
