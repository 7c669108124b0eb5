// Feeds arbitrary bytes to the XML reader as a file and reads every node and
// attribute. The reader must neither crash nor loop: each call that reports a
// node or an attribute consumes input, so their count is bounded by the size.
// Values never hold a zero byte, so their length is their string length.
#include "Pub/XmlFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/vexal-fuzz-xml-" + std::to_string(getpid()) + ".xml";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    CXmlFile xml;
    if (xml.Open(path.c_str(), XML_READ)) {
        const size_t limit = 4 * size + 16;
        size_t steps = 0;
        while (xml.ReadNextNode()) {
            if (++steps > limit)
                std::abort();
            if (std::strlen(xml.GetName()) >= size_t(CXmlFile::NameSize))
                std::abort();
            while (xml.ReadNextAttribute()) {
                if (++steps > limit)
                    std::abort();
                if (size_t(xml.GetValueLength()) != std::strlen(xml.GetValue()))
                    std::abort();
            }
        }
    }
    unlink(path.c_str());
    return 0;
}
