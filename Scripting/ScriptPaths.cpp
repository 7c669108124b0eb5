#include "Scripting/ScriptPaths.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string Slashes(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':';
}

// The root of an absolute path with "/" separators: "/", "C:/" or "C:"; empty
// for a relative path.
std::string RootOf(const std::string& path)
{
    if (HasDrive(path))
        return path.size() >= 3 && path[2] == '/' ? path.substr(0, 3) : path.substr(0, 2);
    return !path.empty() && path[0] == '/' ? "/" : "";
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string CanonicalPath(const std::string& text, const std::string& currentDir)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    std::string path = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (path.front() == '|' || path.back() == '|')
        return path;
    static const std::string scheme = "file://";
    if (path.compare(0, scheme.size(), scheme) == 0)
        return CanonicalPath(path.substr(scheme.size()), currentDir);

    path = Slashes(path);
    if (RootOf(path).empty()) {
        std::string dir = Slashes(currentDir);
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        path = dir + path;
    }
    const std::string root = RootOf(path);
    std::vector<std::string> kept;
    size_t start = root.size();
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!kept.empty())
                kept.pop_back();
        } else if (!part.empty()) {
            kept.push_back(part);
        }
        start = end + 1;
    }
    std::string result = root;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0 || (!result.empty() && result.back() != '/'))
            result += '/';
        result += kept[i];
    }
    return result;
}

std::string PathLastComponent(const std::string& path)
{
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    size_t start = end;
    while (start > 0 && !IsSeparator(path[start - 1]))
        --start;
    return path.substr(start, end - start);
}

std::string PathFolder(const std::string& path)
{
    const std::string p = Slashes(path);
    const std::string root = RootOf(p);
    size_t end = p.size();
    while (end > root.size() && p[end - 1] == '/')
        --end;
    while (end > root.size() && p[end - 1] != '/')
        --end;
    while (end > root.size() && p[end - 1] == '/')
        --end;
    return p.substr(0, end);
}

std::string FileUrl(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char ch : path) {
        const unsigned char b = static_cast<unsigned char>(ch);
        const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                           b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
        if (plain) {
            url += ch;
        } else {
            url += '%';
            url += hex[b >> 4];
            url += hex[b & 15];
        }
    }
    return url;
}

bool MakeFolder(const std::string& path, std::string& failed)
{
    const std::string p = Slashes(path);
    if (p.empty()) {
        failed = p;
        return false;
    }
    if (mkdir(p.c_str(), 0777) == 0 || IsFolder(p))
        return true;
    for (size_t i = RootOf(p).size(); i < p.size(); ++i) {
        if (p[i] != '/' || p[i - 1] == '/')
            continue;
        const std::string folder = p.substr(0, i);
        if (!IsFolder(folder) && mkdir(folder.c_str(), 0777) != 0 && !IsFolder(folder)) {
            failed = folder;
            return false;
        }
    }
    if (mkdir(p.c_str(), 0777) != 0 && !IsFolder(p)) {
        failed = p;
        return false;
    }
    return true;
}

RemoveFailure RemovePath(const std::string& path)
{
    const std::string p = Slashes(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return rmdir(p.c_str()) == 0 || errno == ENOENT ? RemoveFailure::None : RemoveFailure::Folder;
    return unlink(p.c_str()) == 0 ? RemoveFailure::None : RemoveFailure::File;
}
