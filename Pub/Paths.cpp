#include "Pub/Paths.h"

#include "Platform/FileFind.h"
#include "Platform/FileSystem.h"

#include <cstring>

namespace {

CString Slashed(const char* path)
{
    CString s(path);
    s.Replace('\\', '/');
    return s;
}

int LastSeparator(const CString& path)
{
    return path.ReverseFind('/');
}

// Index of the extension dot within the file name of path, or -1.
int ExtensionDot(const CString& path)
{
    const int name = LastSeparator(path) + 1;
    const int dot = path.ReverseFind('.');
    return dot > name ? dot : -1;
}

bool HasDrive(const CString& path)
{
    return path.GetLength() >= 2 && path[1] == ':';
}

} // namespace

BOOL PathIsAbsolute(const char* path)
{
    const CString p(path);
    return !p.IsEmpty() && (p[0] == '/' || p[0] == '\\' || p.Find(':') >= 0);
}

CString PathJoin(const char* dir, const char* name)
{
    if (PathIsAbsolute(name))
        return Slashed(name);
    CString result = Slashed(dir);
    if (result.IsEmpty())
        return result;
    if (result[result.GetLength() - 1] != '/')
        result += '/';
    result += Slashed(name);
    return result;
}

CString PathDir(const char* path)
{
    const CString p = Slashed(path);
    const int sep = LastSeparator(p);
    return sep < 0 ? CString() : p.Left(sep);
}

CString PathTitle(const char* path)
{
    const CString p = Slashed(path);
    const int start = LastSeparator(p) + 1;
    const int dot = ExtensionDot(p);
    return dot < 0 ? p.Mid(start) : p.Mid(start, dot - start);
}

CString PathRelative(const char* base, const char* path)
{
    const CString b = Slashed(base);
    const CString p = Slashed(path);
    if (b.IsEmpty() || p.GetLength() <= b.GetLength())
        return p;
    const CString head = p.Left(b.GetLength());
    const bool same = HasDrive(b) ? head.CompareNoCase(b) == 0 : head == b;
    if (!same)
        return p;
    if (b[b.GetLength() - 1] == '/')
        return p.Mid(b.GetLength());
    // The base must end at a folder boundary: /Proj is no prefix of /Projects.
    if (p[b.GetLength()] != '/')
        return p;
    return p.Mid(b.GetLength() + 1);
}

CString PathExt(const char* path)
{
    const CString p = Slashed(path);
    const int dot = ExtensionDot(p);
    return dot < 0 ? CString() : p.Mid(dot + 1);
}

CString PathStripExt(const char* path)
{
    const CString p = Slashed(path);
    const int dot = ExtensionDot(p);
    return dot < 0 ? p : p.Left(dot);
}

CString PathFileName(const char* path)
{
    const CString p = Slashed(path);
    return p.Mid(LastSeparator(p) + 1);
}

CString CleanFileName(const char* name, const char* fallback)
{
    CString clean(name ? name : "");
    for (int i = 0; i < clean.GetLength(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(clean[i]);
        if (ch < 0x20 || ch == 0x7F || std::strchr("/\\\"*:<>?|", ch))
            clean.SetAt(i, '_');
    }
    if (clean.IsEmpty() || clean == "." || clean == "..")
        return CString(fallback ? fallback : "");
    return clean;
}

void DeleteDirTree(const char* dir)
{
    CString root = Slashed(dir);
    while (root.GetLength() > 1 && root[root.GetLength() - 1] == '/')
        root.Delete(root.GetLength() - 1);
    if (root.IsEmpty())
        return;
    // A symbolic link is removed, never followed.
    if ((GetFileAttributes(root) & FILE_ATTRIBUTE_DIRECTORY) && DeleteFile(root))
        return;
    CFileFind find;
    BOOL more = find.FindFile(root + "/*");
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots())
            continue;
        const CString entry = find.GetFilePath();
        if (find.IsReadOnly())
            SetFileAttributes(entry, FILE_ATTRIBUTE_NORMAL);
        if (find.IsDirectory() && !DeleteFile(entry))
            DeleteDirTree(entry);
        else
            DeleteFile(entry);
    }
    RemoveDirectory(root);
}
