// Saving and opening a project of 100,000 elements and 20,000 symbols on 200
// diagram pages in ten unit files below the model unit, against a bare walk
// of the same files with the XML reader.
//   build/bin/bench_project_open_save
// Targets: open under 2 s, save under 1 s, open within 4 times the walk.
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
const int kUnits = 10, kElementsPerUnit = 10000, kPagesPerUnit = 20;
// Each page shows ten packages, each holding the symbols of nine classes.
const int kGroupsPerPage = 10, kNestedPerGroup = 9;

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

int Insert(int owner, const char* type, const std::string& name)
{
    ModelT e;
    e.ID = e.SN = ++theNextElementId;
    e.FID = owner;
    e.Type = type;
    e.Name = name.c_str();
    char guid[GuidTextLength + 1];
    MakeGuidText(guid, sizeof guid, TRUE);
    e.GUID = guid;
    theModelDb.InsertRecord(&ModelT::TableInfo, &e);
    return e.ID;
}

int InsertSymbol(int page, int parent, const char* type, int x, int y, const std::string& text)
{
    SymbolT s;
    s.ID = ++theNextSymbolId;
    s.PID = page;
    s.FID = parent;
    s.Type = type;
    s.x1 = x;
    s.y1 = y;
    s.x2 = x + (parent ? 1500 : 16000);
    s.y2 = y + (parent ? 400 : 4000);
    s.Text = text.c_str();
    char sguid[GuidTextLength + 1];
    MakeGuidText(sguid, sizeof sguid, FALSE);
    s.SGUID = sguid;
    theModelDb.InsertRecord(&SymbolT::TableInfo, &s);
    return s.ID;
}

void InsertPageSymbols(int page)
{
    for (int g = 0; g < kGroupsPerPage; ++g) {
        const int group = InsertSymbol(page, 0, "Package", 1000, 1000 + g * 5000, "Group" + std::to_string(g));
        for (int k = 0; k < kNestedPerGroup; ++k)
            InsertSymbol(page, group, "Class", 1200 + k * 1700, 2000 + g * 5000, "Class" + std::to_string(k));
    }
}

// Ten units, each a package of diagrams with their pages and classes with
// attributes, 10,000 elements apiece.
void BuildModel(const std::string& dir)
{
    for (int u = 0; u < kUnits; ++u) {
        const int unit = Insert(theModelRootId, "Package", "Unit" + std::to_string(u));
        ProjectStore::SetUnitPath(unit, (dir + "unit" + std::to_string(u) + ".uml").c_str());
        int made = 1;
        const int diagram = Insert(unit, "Classdiagram", "Diagram");
        ++made;
        for (int p = 0; p < kPagesPerUnit; ++p, ++made)
            InsertPageSymbols(Insert(diagram, "Page", "Page" + std::to_string(p)));
        while (made < kElementsPerUnit) {
            const int cls = Insert(unit, "Class", "Class" + std::to_string(made));
            ++made;
            for (int a = 0; a < 9 && made < kElementsPerUnit; ++a, ++made)
                Insert(cls, "Attribute", "attribute" + std::to_string(a));
        }
    }
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
    BuildModel(dir);
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
