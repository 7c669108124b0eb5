#include "Platform/FileFind.h"

#include "Platform/FileSystem.h"
#include "Platform/TextConv.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool HasWildcard(const CString& s) { return s.FindOneOf("*?") >= 0; }

} // namespace

BOOL CFileFind::MatchName(const char* pattern, const char* name)
{
    if (!pattern || !name)
        return FALSE;
    if (std::string(pattern) == "*.*")
        return TRUE;
    // Greedy match with one backtrack point: the position after the last "*".
    // "?" and the backtracking step take whole characters.
    const char* star = nullptr;
    const char* resume = nullptr;
    auto nextChar = [](const char* p) { return p + MbCharLengthAt(p, int(std::strlen(p))); };
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?') {
            ++pattern;
            name = nextChar(name);
        } else if (*pattern && Lower(*pattern) == Lower(*name)) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = resume = nextChar(resume);
        } else {
            return FALSE;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == 0;
}

BOOL CFileFind::FindFile(const char* pattern, DWORD)
{
    Close();
    CString path(pattern && *pattern ? pattern : "*.*");
    path.Replace('\\', '/');
    const int slash = path.ReverseFind('/');
    const CString leaf = path.Mid(slash + 1);
    m_prefix = path.Left(slash + 1);
    const CString dir = slash < 0 ? CString(".") : (slash == 0 ? CString("/") : path.Left(slash));

    std::vector<CString> names;
    struct stat st;
    if (!HasWildcard(leaf)) {
        if (!leaf.IsEmpty() && lstat(path, &st) == 0)
            names.push_back(leaf);
    } else if (DIR* d = opendir(dir)) {
        while (const dirent* e = readdir(d))
            if (MatchName(leaf, e->d_name))
                names.emplace_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a < b; });
    for (const CString& name : names) {
        const CString full = m_prefix + name;
        // A link whose target is gone is still an entry (a plain file), so
        // that a folder walk can remove it.
        if (stat(full, &st) != 0 && lstat(full, &st) != 0)
            continue;
        const DWORD attributes = GetFileAttributes(full);
        m_entries.push_back({name, attributes == INVALID_FILE_ATTRIBUTES ? DWORD(FILE_ATTRIBUTE_NORMAL) : attributes,
                             LONGLONG(st.st_size), st.st_ctime, st.st_mtime});
    }
    return !m_entries.empty();
}

BOOL CFileFind::FindNextFile()
{
    if (m_entries.empty())
        return FALSE;
    if (m_current + 1 < int(m_entries.size()))
        ++m_current;
    return m_current + 1 < int(m_entries.size());
}

void CFileFind::Close()
{
    m_entries.clear();
    m_prefix.Empty();
    m_current = -1;
}

const CFileFind::Entry* CFileFind::Current() const
{
    return m_current >= 0 && m_current < int(m_entries.size()) ? &m_entries[size_t(m_current)] : nullptr;
}

CString CFileFind::GetFileName() const
{
    const Entry* e = Current();
    return e ? e->name : CString();
}

CString CFileFind::GetFilePath() const
{
    const Entry* e = Current();
    if (!e)
        return CString();
    return m_prefix + e->name;
}

CString CFileFind::GetRoot() const
{
    return m_prefix.GetLength() > 1 ? m_prefix.Left(m_prefix.GetLength() - 1) : m_prefix;
}

CString CFileFind::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

LONGLONG CFileFind::GetLength() const
{
    const Entry* e = Current();
    return e ? e->length : 0;
}

BOOL CFileFind::GetCreationTime(time_t& t) const
{
    const Entry* e = Current();
    if (e)
        t = e->created;
    return e != nullptr;
}

BOOL CFileFind::GetLastWriteTime(time_t& t) const
{
    const Entry* e = Current();
    if (e)
        t = e->modified;
    return e != nullptr;
}

BOOL CFileFind::IsDots() const
{
    const Entry* e = Current();
    return e && (e->name == "." || e->name == "..");
}

BOOL CFileFind::MatchesMask(DWORD mask) const
{
    const Entry* e = Current();
    return e && (e->attributes & mask) != 0;
}
