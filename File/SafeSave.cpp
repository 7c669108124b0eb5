#include "File/SafeSave.h"

#include "Pub/Paths.h"
#include "Pub/XmlFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(int error)
{
    return std::strerror(error);
}

} // namespace

std::string SaveXmlFile(const std::string& path, const std::function<void(CXmlFile&)>& body)
{
    const CString dir = PathDir(path.c_str());
    std::string temp = (dir.GetLength() ? std::string(dir) + "/" : std::string()) + "." +
                       std::string(PathFileName(path.c_str())) + ".XXXXXX";
    const int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return Reason(errno);
    struct stat old;
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(fd, old.st_mode & 07777);
    close(fd);

    CXmlFile xml;
    if (!xml.Open(temp.c_str(), XML_WRITE)) {
        const int error = errno;
        unlink(temp.c_str());
        return Reason(error ? error : EIO);
    }
    body(xml);
    xml.Close();
    if (xml.WriteFailed()) {
        unlink(temp.c_str());
        return Reason(EIO);
    }
    const int sync = open(temp.c_str(), O_RDONLY);
    if (sync < 0 || fsync(sync) != 0) {
        const int error = errno;
        if (sync >= 0)
            close(sync);
        unlink(temp.c_str());
        return Reason(error);
    }
    close(sync);
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        return Reason(error);
    }
    return std::string();
}
