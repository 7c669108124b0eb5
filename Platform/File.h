// CFile: an unbuffered binary file over a POSIX descriptor, and
// CFileException, thrown by the constructor that opens a file when the file
// cannot be opened. Open reports the same failure by its result instead.
//
// Read and write failures do not throw: Write keeps a sticky error flag
// (HasWriteError) so that a writer can find out, after Close, whether every
// byte arrived. Share modes are accepted but not enforced.
#pragma once

#include "Platform/CString.h"
#include "Platform/Object.h"
#include "Platform/Types.h"

#include <exception>
#include <ctime>

class CException : public CObject, public std::exception {
    DECLARE_DYNAMIC(CException)
public:
    const char* what() const noexcept override { return "CException"; }
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);
    const char* what() const noexcept override { return m_message.GetString(); }
    // The cause that an errno value stands for.
    static int OsErrorToCause(long osError);

    int m_cause;
    long m_lOsError;
    CString m_strFileName;

private:
    CString m_message;
};

struct CFileStatus {
    time_t m_ctime = 0; // status change time: the nearest POSIX has to creation
    time_t m_mtime = 0;
    time_t m_atime = 0;
    LONGLONG m_size = 0;
    BYTE m_attribute = 0;
    CString m_szFullName;
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute : BYTE {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens path; throws CFileException when it cannot be opened.
    CFile(const char* path, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE when the file cannot be opened; error (if given) then tells why.
    virtual BOOL Open(const char* path, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without reporting anything.
    void Abort();
    BOOL IsOpen() const { return m_fd >= 0; }

    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual void Flush();
    BOOL HasWriteError() const { return m_writeError; }

    LONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    LONGLONG SeekToEnd() { return Seek(0, end); }
    LONGLONG GetPosition() const;
    LONGLONG GetLength() const;
    void SetLength(LONGLONG length);

    virtual void SetFilePath(const char* path);
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;

    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(const char* path, CFileStatus& status);
    // Rename and Remove report failure by their result.
    static BOOL Rename(const char* oldName, const char* newName);
    static BOOL Remove(const char* path);

protected:
    int m_fd = -1;
    CString m_strFileName;
    BOOL m_writeError = FALSE;
};
