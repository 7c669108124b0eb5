// CFileFind: lists the entries of one folder that match a pattern.
// The pattern's last component may hold "*" and "?"; letters match without
// regard to case and "*.*" matches every name, as the stored scripts and
// paths expect. A folder listing includes "." and "..". Matches are taken in
// byte order of their names when FindFile runs.
// Protocol: FindFile, then FindNextFile before the first match can be read;
// FindNextFile is TRUE while further matches follow, and after it returned
// FALSE the last match is current.
#pragma once

#include "Platform/CString.h"
#include "Platform/Object.h"

#include <ctime>
#include <vector>

class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    ~CFileFind() override = default;

    BOOL FindFile(const char* pattern = nullptr, DWORD flags = 0);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    // The folder searched, as the pattern gave it; empty for the current folder.
    CString GetRoot() const;
    LONGLONG GetLength() const;
    BOOL GetCreationTime(time_t& t) const;
    BOOL GetLastWriteTime(time_t& t) const;

    BOOL IsDots() const;
    BOOL IsDirectory() const { return MatchesMask(0x10); }
    BOOL IsReadOnly() const { return MatchesMask(0x01); }
    BOOL IsHidden() const { return MatchesMask(0x02); }
    BOOL IsNormal() const { return MatchesMask(0x80); }
    // TRUE when the current match has any of the attribute bits in mask.
    BOOL MatchesMask(DWORD mask) const;

    // The wildcard test FindFile applies to each name.
    static BOOL MatchName(const char* pattern, const char* name);

private:
    struct Entry {
        CString name;
        DWORD attributes;
        LONGLONG length;
        time_t created;
        time_t modified;
    };
    const Entry* Current() const;

    CString m_prefix; // the pattern up to and including its last separator
    std::vector<Entry> m_entries;
    int m_current = -1;
};
