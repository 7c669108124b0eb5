// Throughput of the core file services: writing and reading a unit-sized XML
// file, and many short writes through the buffered file.
#include "Pub/BufferedFile.h"
#include "Pub/XmlFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& TempPath()
{
    static const std::string path = "/tmp/vexal-bench-" + std::to_string(getpid());
    return path;
}

void WriteUnit(const char* path, int elements)
{
    CXmlFile xml;
    xml.Open(path, XML_WRITE);
    xml.WriteHeader();
    xml.BeginElement("uml");
    xml.WriteAttribute("version", "UML2.0");
    for (int i = 0; i < elements; ++i) {
        xml.BeginElement("Class");
        xml.WriteAttribute("Name", "Customer & <Order>");
        xml.WriteAttribute("GUID", "0123456789ABCDEFabcdef");
        xml.WriteAttributeHex("ID", i);
        xml.WriteAttributeHex4("Rect", 1500, -2000, 4500, -3500);
        xml.WriteAttributeBool("Abstract", i % 2);
        xml.EndElement();
    }
    xml.EndElement();
    xml.Close();
}

void BM_XmlWrite(benchmark::State& state)
{
    const std::string path = TempPath() + ".xml";
    for (auto _ : state)
        WriteUnit(path.c_str(), int(state.range(0)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
}
BENCHMARK(BM_XmlWrite)->Arg(1000)->Arg(20000);

void BM_XmlRead(benchmark::State& state)
{
    const std::string path = TempPath() + ".xml";
    WriteUnit(path.c_str(), int(state.range(0)));
    for (auto _ : state) {
        CXmlFile xml;
        xml.Open(path.c_str(), XML_READ);
        int attributes = 0;
        while (xml.ReadNextNode())
            while (xml.ReadNextAttribute())
                ++attributes;
        benchmark::DoNotOptimize(attributes);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
}
BENCHMARK(BM_XmlRead)->Arg(1000)->Arg(20000);

void BM_BufferedSmallWrites(benchmark::State& state)
{
    const std::string path = TempPath() + ".htm";
    const std::string row = "<tr><td bgcolor='lightgrey'>Name</td><td>Customer</td></tr>\r\n";
    for (auto _ : state) {
        CBufferedFile file;
        file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        for (int i = 0; i < state.range(0); ++i)
            file.WriteString(row.c_str());
        file.Close();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * int64_t(row.size()));
    std::remove(path.c_str());
}
BENCHMARK(BM_BufferedSmallWrites)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
