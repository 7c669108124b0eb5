// Saving and opening a project of 100,000 elements and 20,000 symbols on 200
// diagram pages in ten unit files below the model unit, against a bare walk
// of the same files with the XML reader.
//   build/bin/bench_project_open_save
// Targets: open under 2 s, save under 1 s, open within 4 times the walk.
#include "BenchModel.h"
#include "File/ModifiedUnits.h"
#include "File/ProjectStore.h"
#include "MemDB/db.h"
#include "MemDB/dbCursor.h"
#include "MemDB/dbQueryText.h"
#include "Pub/GuidText.h"
#include "Pub/ModuleDir.h"
#include "Pub/TextHelpers.h"
#include "Pub/XmlFile.h"
#include "UML/Model/Symbol.h"
#include "UML/Model/SymbolRegistry.h"
#include "UML/Symbols/SymbolClasses.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char kHeader[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

int CountSymbols()
{
    dbQueryText all;
    all.Append(dbFragText, "ID>0");
    dbTypedCursor<SymbolT> c(&SymbolT::TableInfo);
    return c.Select(all, dbCursorViewOnly);
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long Walk(const std::string& dir)
{
    long nodes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        CXmlFile xml;
        if (!xml.Open(entry.path().string().c_str(), XML_READ))
            continue;
        while (xml.ReadNextNode()) {
            ++nodes;
            while (xml.ReadNextAttribute())
                ++nodes;
        }
    }
    return nodes;
}

} // namespace

int main()
{
    MakeGuidText(theDbName, DbNameSize, FALSE);
    if (!MemDbOpen())
        return 1;
    const std::string home =
        (std::filesystem::temp_directory_path() / ("vexal-bench-" + std::string(theDbName))).string() + "/";
    const std::string dir = home + "P/";
    std::filesystem::create_directories(home + "cfg");
    std::filesystem::create_directories(dir);
    Write(home + "cfg/meta.xml", std::string(kHeader) +
                                     "<metamodel version=\"1\"><Syspackage/><Package/><Class/><Attribute/>"
                                     "<Classdiagram><Page/></Classdiagram><Page/></metamodel>\r\n");
    Write(home + "cfg/predefined.uml", std::string(kHeader) + "<uml version=\"UML2.0\"/>\r\n");
    SafeStrCopy(theModuleDir, home.c_str(), ModuleDirSize);
    if (!RegisterUmlSymbolClasses() || !LoadMetaModel())
        return 1;
    ProjectStore::InstallHooks();

    if (!ProjectStore::New((dir + "Bench.fup").c_str()))
        return 1;
    BenchModel::Build(dir);
    const int elements = theNextElementId, symbols = CountSymbols();
    auto start = std::chrono::steady_clock::now();
    FileFailures failures;
    const int saved = ProjectStore::Save(-1, &failures);
    const double save = Seconds(start);
    ProjectStore::Close();

    start = std::chrono::steady_clock::now();
    const BOOL opened = ProjectStore::Open((dir + "Bench.fup").c_str());
    const double open = Seconds(start);
    const int loaded = theNextElementId, loadedSymbols = CountSymbols();
    ProjectStore::Close();

    start = std::chrono::steady_clock::now();
    const long nodes = Walk(dir);
    const double walk = Seconds(start);

    std::printf("elements %d and symbols %d saved (%s), %d and %d opened (%s)\n", elements, symbols,
                saved ? "ok" : "failed", loaded, loadedSymbols, opened ? "ok" : "failed");
    std::printf("save %.3f s, open %.3f s, walk %.3f s (%ld nodes), open / walk %.2f\n", save, open, walk, nodes,
                open / walk);
    MemDbClose();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return saved && opened && loaded == elements && loadedSymbols == symbols ? 0 : 1;
}
