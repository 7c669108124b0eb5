#include "File/ChmWorkFolder.h"

#include "Platform/FileFind.h"
#include "Platform/FileSystem.h"
#include "Pub/Paths.h"

#include <sys/stat.h>

namespace {

// "/" and the components of path, "." dropped and ".." taking one away;
// separators "/" or "\".
std::string Normalized(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts)
        normal += "/" + part;
    return normal;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool IsEmptyFolder(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    CFileFind find;
    BOOL more = find.FindFile((path + "/*").c_str());
    while (more) {
        more = find.FindNextFile();
        if (!find.IsDots())
            return false;
    }
    return true;
}

// Makes every missing folder of path; false when one cannot be made.
bool MakeFolders(const std::string& path)
{
    for (size_t sep = path.find('/', 1);; sep = path.find('/', sep + 1)) {
        const std::string head = path.substr(0, sep);
        if (!Exists(head) && !CreateDirectory(head.c_str()))
            return false;
        if (sep == std::string::npos)
            return true;
    }
}

} // namespace

bool ChmWorkFolder::Prepare(const char* folder, const char* base)
{
    root_.clear();
    madeRoot_ = false;
    files_.clear();
    folders_.clear();
    if (!folder || !*folder)
        return false;
    std::string path = folder;
    if (path[0] != '/' && path[0] != '\\') {
        // A drive path names no folder here.
        if (PathIsAbsolute(folder) || !base || !*base)
            return false;
        path = std::string(base) + "/" + path;
    }
    const std::string normal = Normalized(path);
    if (normal.empty())
        return false;
    if (IsEmptyFolder(normal)) {
        root_ = normal;
        return true;
    }
    std::string candidate = normal;
    for (int n = 1; Exists(candidate); ++n)
        candidate = normal + "-" + std::to_string(n);
    if (!MakeFolders(candidate))
        return false;
    root_ = candidate;
    madeRoot_ = true;
    return true;
}

std::string ChmWorkFolder::Parent() const
{
    const size_t sep = root_.rfind('/');
    return sep == 0 ? std::string("/") : root_.substr(0, sep);
}

bool ChmWorkFolder::MakeFolder(const std::string& path)
{
    if (Exists(path))
        return true;
    if (!CreateDirectory(path.c_str()))
        return false;
    folders_.push_back(path);
    return true;
}

void ChmWorkFolder::RemoveMade()
{
    for (const std::string& file : files_)
        DeleteFile(file.c_str());
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
        RemoveDirectory(it->c_str());
    if (madeRoot_)
        RemoveDirectory(root_.c_str());
    files_.clear();
    folders_.clear();
}
