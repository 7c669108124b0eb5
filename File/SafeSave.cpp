#include "File/SafeSave.h"

#include "Pub/AtomicSave.h"
#include "Pub/XmlFile.h"

#include <cerrno>
#include <cstring>

std::string SaveXmlFile(const std::string& path, const std::function<void(CXmlFile&)>& body)
{
    int error = 0;
    errno = 0;
    const BOOL saved = SaveFileAtomically(path.c_str(), [&](const char* temporary) {
        CXmlFile xml;
        if (!xml.Open(temporary, XML_WRITE)) {
            error = errno ? errno : EIO;
            return FALSE;
        }
        body(xml);
        xml.Close();
        if (xml.WriteFailed()) {
            error = EIO;
            return FALSE;
        }
        return TRUE;
    });
    if (saved)
        return std::string();
    if (!error)
        error = errno ? errno : EIO;
    return std::strerror(error);
}
