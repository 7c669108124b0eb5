// The data section that holds a storage image, and the plain file that an
// online backup writes.
//
// The first Open reserves address space for the largest image; every section
// opened after it is mapped at the start of that range, so the image's base
// address never moves while the file stays open. Opening the next section
// replaces the view in place: an address into the image keeps reading what
// the new section holds there, never unmapped memory.
#pragma once

#include "MemDB/dbKernel.h"

#include <cstddef>

class dbPagedFile {
public:
    dbPagedFile() : fd(-1), current(0), range(nullptr), base(nullptr), size(0), readOnly(false) {}
    ~dbPagedFile() { Close(); }
    dbPagedFile(const dbPagedFile&) = delete;
    dbPagedFile& operator=(const dbPagedFile&) = delete;

    // Creates or opens the named section and maps all of it, in place of the
    // section mapped before. An existing section keeps its contents; a new
    // one is zero-filled. Returns 0 or errno; on failure the section mapped
    // before stays mapped, and a file with none is closed. Callers serialise
    // the opens of one file.
    int Open(const char* name, bool readOnly, size_t size, dbKernelScope scope,
             dbOpenDisposition disposition = dbCreateOrOpen);
    // Creates or truncates a file for a backup. Returns 0 or errno.
    int CreateForBackup(const char* path, bool unbuffered);
    // Unmaps the section and closes the backup file: 0, or the errno of a
    // backup file whose close failed (its last writes may be lost).
    int Close();

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
    dbSharedMemory sections[2]; // the mapped section, and room to open its successor
    int current;
    char* range;             // reserved address space, nullptr when none
    char* base;
    size_t size;
    bool readOnly;
};
