#include "File/ChmArchive.h"

#include <chm_lib.h>

namespace {

std::string ArchiveName(const std::string& topic)
{
    std::string name = topic.substr(0, topic.find('#'));
    if (name.empty() || name[0] != '/')
        name.insert(0, "/");
    return name;
}

int AddFile(chmFile*, chmUnitInfo* unit, void* context)
{
    const std::string path = unit->path;
    const bool internal = path.size() < 2 || path[1] == '#' || path[1] == '$' || path[0] == ':';
    if (!internal && path.back() != '/')
        static_cast<std::vector<std::string>*>(context)->push_back(path);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

ChmArchive::~ChmArchive()
{
    Close();
}

bool ChmArchive::Open(const std::string& path)
{
    Close();
    file_ = chm_open(path.c_str());
    if (file_)
        path_ = path;
    return file_ != nullptr;
}

void ChmArchive::Close()
{
    if (file_)
        chm_close(file_);
    file_ = nullptr;
    path_.clear();
}

std::vector<std::string> ChmArchive::List() const
{
    std::vector<std::string> files;
    if (file_)
        chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, AddFile, &files);
    return files;
}

bool ChmArchive::Contains(const std::string& topic) const
{
    return !Resolve(topic).empty();
}

std::string ChmArchive::Resolve(const std::string& topic) const
{
    chmUnitInfo unit;
    if (!file_ || chm_resolve_object(file_, ArchiveName(topic).c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::string();
    return unit.path;
}

bool ChmArchive::Read(const std::string& topic, std::string& bytes) const
{
    bytes.clear();
    chmUnitInfo unit;
    if (!file_ || chm_resolve_object(file_, ArchiveName(topic).c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return false;
    bytes.resize(static_cast<size_t>(unit.length));
    LONGUINT64 done = 0;
    while (done < unit.length) {
        const LONGINT64 got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(&bytes[done]), done,
                                                  static_cast<LONGINT64>(unit.length - done));
        if (got <= 0) {
            bytes.clear();
            return false;
        }
        done += static_cast<LONGUINT64>(got);
    }
    return true;
}
